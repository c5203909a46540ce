#pragma once

#include <QMainWindow>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TFieldEdit;
class TListView;

namespace quantivo {

// The calculator window: plates typed one at a time or many at once, their codes listed
// in LV1 (26-bit, from the SHA-1 digest) and LV2 (64-bit), sortable, with columns the
// person shows and hides. Controls carry their names as object names.
class TFormMain final : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TFormMain)

public:
    // Loads the settings file beside the program.
    explicit TFormMain(QWidget* parent = nullptr);
    // Writes the settings file beside the program; a failure is shown, never thrown.
    ~TFormMain() override;

    QWidget* Panel1 = nullptr;
    TFieldEdit* EditPlate = nullptr;
    QPushButton* btnCalc1 = nullptr;
    QWidget* Panel2 = nullptr;
    QLabel* Label2 = nullptr;
    QPlainTextEdit* EditPlates = nullptr;
    QPushButton* btnCalc2 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QWidget* tsWG26 = nullptr;
    QWidget* tsWG64 = nullptr;
    TListView* LV1 = nullptr;
    TListView* LV2 = nullptr;
    QMenu* PopGrid1 = nullptr;
    QMenu* PopGrid2 = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* N1 = nullptr;
    QAction* mnuExit = nullptr;
    QMenu* mnuView = nullptr;
    QMenu* mnuView1 = nullptr;
    QMenu* mnuView2 = nullptr;
    QAction* mnuViewMulti = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* Howtocalculate1 = nullptr;
    QAction* mnuAbout = nullptr;

    // -1: unsorted; false: descending.
    int32_t LV1SortColumn = -1;
    bool LV1SortAscending = false;
    int32_t LV2SortColumn = -1;
    bool LV2SortAscending = false;

    // The page on view: 0 tsWG26, 1 tsWG64, -1 none (a stored mode other than 0 or 1
    // leaves none until the person clicks a tab).
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);

    // True when the text was a plate and a row was added to each list.
    bool AddPlate(const std::string& text);
    void UpdatePanels();
    void UpdateShowHide();

    void FormCreate();
    void FormDestroy();
    void btnCalc1Click();
    // Focuses EditPlates afterwards only when sender is btnCalc2.
    void btnCalc2Click(QObject* sender);
    void mnuExitClick();
    void mnuAboutClick();
    void mnuViewMultiClick();
    void mnuShowHideColumnLV1Click(QAction* entry);
    void mnuShowHideColumnLV2Click(QAction* entry);
    void Howtocalculate1Click();
    void OnColumnClick(TListView* sender, int column);
    int OnCompare(TListView* sender, int rowA, int rowB) const;

    // Files (UMainFiles.cpp).
    void LoadViewSettings(const std::string& fileName);
    void SaveViewSettings(const std::string& fileName) const;
    void LoadPlatesFromFile(const std::string& fileName);
    void SaveListToFile(const TListView& list, const std::string& fileName) const;
    void mnuFileNewClick();
    void mnuFileOpenClick();
    void mnuFileSaveClick();

protected:
    // An Enter that no control used: a focused push button takes it, otherwise the
    // visible input panel's "Calc" (the multi-plate field keeps its Enter for new lines).
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The window layout (UMainLayout.cpp): controls, places, menus.
    void CreateLayout();
    void CreateColumnEntries(TListView* list, const char* name, QMenu* viewMenu, QMenu* popup,
                             void (TFormMain::*action)(QAction*));
    void ConnectHandlers();
    void ShowHideColumn(TListView* list, QAction* entry, int defaultWidthOffset);
    void UpdateColumnEntries(const TListView* list, QMenu* viewMenu, QMenu* popup);
    // The rows AddPlate added for one plate.
    struct PlateRows {
        int lv1;
        int lv2;
    };
    // AddPlate without the selection.
    std::optional<PlateRows> ListPlate(std::string_view text);
    void SelectRows(const PlateRows& rows);
    // Every line of text, in order, through AddPlate, as one update of the lists.
    void CalcLines(std::string_view text);

    // What a row sorts by in its list's sort column: the value of a numeric column, the
    // text of any other.
    struct TSortKey {
        int64_t number = 0;
        std::string text;
    };
    TSortKey SortKey(const TListView* list, int row) const;
    int CompareSortKeys(const TListView* list, const TSortKey& a, const TSortKey& b) const;

    bool noActivePage_ = false;
};

}  // namespace quantivo
