#pragma once

#include <QDialog>
#include <string>

class QComboBox;
class QLabel;
class QListView;
class QPushButton;
class QSpinBox;
class QTableWidget;
class TImportLinesModel;

// File > Import: the person picks the first line, the field separator and the quote
// character of a delimited text file and sees at once how its lines will split into plate
// and id-number. Created once and kept for the whole run.
class TFormImport final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormImport)

public:
    explicit TFormImport(QWidget* parent = nullptr);
    ~TFormImport() override;

    // Fills the dialog from the arguments and the file and shows it modally. On OK the
    // choices are written back and true is returned; otherwise nothing changes. A separator
    // or quote character that is not in the choice lists stays unless one is chosen.
    // Raises EFOpenError when the file cannot be read.
    bool ShowImportDialog(const std::string& fileName, int& firstLine, char& delimiter,
                          char& quoteChar);
    void FillPreview();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormResize();
    void DoUpdateGrid();
    void LB1Click();

    int FirstLine() const;
    char ChosenDelimiter() const;
    char ChosenQuote() const;

    QWidget* PanelTop;
    QLabel* lblRow1;
    QSpinBox* EditRow1;
    QLabel* lblDelim;
    QComboBox* EditDelim;
    QLabel* lblQuote;
    QComboBox* EditQuote;
    QLabel* PanelTitle;
    QWidget* PanelMain;
    QListView* LB1;
    QTableWidget* SG1;
    QWidget* PanelBottom;
    QPushButton* btnOK;
    QPushButton* btnCancel;

    // The file's lines, shown by LB1 and split by the preview.
    TImportLinesModel* lines_;
    // What the preview uses while a list shows no choice: the program's own characters.
    char delimiter_ = ';';
    char quoteChar_ = '"';
};
