#pragma once

#include <QDialog>

class QLabel;
class TVersionInfo;

// The about box of both programs: the picture with the product name and "Version: " and
// the product version from the program file's version block. Created once at start and
// shown modally (ui::CurrentUi().ShowModal(*FormAbout)) as often as asked; a click on the
// picture or a label, or any character key, closes it.
class TFormAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormAbout)

public:
    // Raises EError when the program file's version block cannot be read.
    explicit TFormAbout(QWidget* parent = nullptr);

    TVersionInfo* VersionInfo = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lblProductVersion = nullptr;
    QLabel* lblProductName = nullptr;

    void FormCreate();
    void CloseClick(QObject* sender);
    void FormKeyPress();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window layout (UAboutLayout.cpp): controls, places, fonts, picture, links.
    void CreateLayout();
};

// Created by each program at start, as its second window.
extern TFormAbout* FormAbout;
