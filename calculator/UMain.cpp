#include "calculator/UMain.h"

#include "about/UAbout.h"
#include "calculator/HelpTexts.h"
#include "calculator/ListColumns.h"
#include "calculator/NormalizePlate.h"
#include "calculator/PlateCodes.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"
#include "platform/file/FileSystem.h"
#include "platform/file/ProgramPath.h"
#include "platform/text/TextLines.h"
#include "platform/toolkit/DefaultButton.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Ui.h"
#include "widgets/FieldEdit.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace quantivo {

namespace {

std::string SettingsFileName()
{
    return ChangeFileExt(ProgramFileName(), ".ini");
}

// Keeps the lists from redrawing until a batch of rows is in.
class ListUpdate final {
public:
    explicit ListUpdate(std::initializer_list<TListView*> lists) : lists_(lists)
    {
        for (TListView* list : lists_)
            list->BeginUpdate();
    }
    ~ListUpdate()
    {
        for (TListView* list : lists_)
            list->EndUpdate();
    }
    ListUpdate(const ListUpdate&) = delete;
    ListUpdate& operator=(const ListUpdate&) = delete;

private:
    std::vector<TListView*> lists_;
};

template <size_t N> int AppendRow(TListView* list, std::array<std::string, N> cells)
{
    return list->AddRow(std::move(cells[0]), {std::make_move_iterator(cells.begin() + 1),
                                              std::make_move_iterator(cells.end())});
}

void FocusIfPossible(QWidget* control)
{
    if (control->isVisible() && control->isEnabled())
        control->setFocus();
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QMainWindow(parent)
{
    CreateLayout();
    ConnectHandlers();
    FormCreate();
}

TFormMain::~TFormMain()
{
    ui::Guarded([this] { FormDestroy(); })();
}

void TFormMain::ConnectHandlers()
{
    connect(btnCalc1, &QPushButton::clicked, this, ui::Guarded([this](bool) { btnCalc1Click(); }));
    connect(btnCalc2, &QPushButton::clicked, this,
            ui::Guarded([this](bool) { btnCalc2Click(btnCalc2); }));
    connect(mnuFileNew, &QAction::triggered, this,
            ui::Guarded([this](bool) { mnuFileNewClick(); }));
    connect(mnuFileOpen, &QAction::triggered, this,
            ui::Guarded([this](bool) { mnuFileOpenClick(); }));
    connect(mnuFileSave, &QAction::triggered, this,
            ui::Guarded([this](bool) { mnuFileSaveClick(); }));
    connect(mnuExit, &QAction::triggered, this, ui::Guarded([this](bool) { mnuExitClick(); }));
    // The menu has turned the check mark already; the handler turns it itself.
    connect(mnuViewMulti, &QAction::triggered, this, ui::Guarded([this](bool checked) {
                mnuViewMulti->setChecked(!checked);
                mnuViewMultiClick();
            }));
    connect(Howtocalculate1, &QAction::triggered, this,
            ui::Guarded([this](bool) { Howtocalculate1Click(); }));
    connect(mnuAbout, &QAction::triggered, this, ui::Guarded([this](bool) { mnuAboutClick(); }));
    for (QMenu* menu : {mnuView, PopGrid1, PopGrid2})
        connect(menu, &QMenu::aboutToShow, this, ui::Guarded([this] { UpdateShowHide(); }));

    for (auto [list, popup] : {std::pair{LV1, PopGrid1}, std::pair{LV2, PopGrid2}}) {
        connect(list, &TListView::ColumnClick, this,
                ui::Guarded([this, list = list](int column) { OnColumnClick(list, column); }));
        for (QWidget* area : {static_cast<QWidget*>(list), static_cast<QWidget*>(list->header())})
            connect(area, &QWidget::customContextMenuRequested, this,
                    ui::Guarded([area, popup = popup](const QPoint& pos) {
                        popup->popup(area->mapToGlobal(pos));
                    }));
    }

    // Clicking the tab of the page on view also brings back a page that none was.
    connect(PageControl1->tabBar(), &QTabBar::tabBarClicked, this, ui::Guarded([this](int index) {
                if (index >= 0)
                    SetActivePageIndex(index);
            }));
    connect(PageControl1, &QTabWidget::currentChanged, this,
            ui::Guarded([this](int) { SetActivePageIndex(PageControl1->currentIndex()); }));
}

void TFormMain::FormCreate()
{
    setWindowTitle(QGuiApplication::applicationDisplayName());
    LV1SortColumn = -1;
    LV1SortAscending = false;
    LV2SortColumn = -1;
    LV2SortAscending = false;
    CreateColumnEntries(LV1, "LV1", mnuView1, PopGrid1, &TFormMain::mnuShowHideColumnLV1Click);
    CreateColumnEntries(LV2, "LV2", mnuView2, PopGrid2, &TFormMain::mnuShowHideColumnLV2Click);
    // Only the view is lost where the program's own file is unknown: the window comes all
    // the same.
    ui::Guarded([this] { LoadViewSettings(SettingsFileName()); })();
    UpdatePanels();
}

void TFormMain::FormDestroy()
{
    SaveViewSettings(SettingsFileName());
}

void TFormMain::CreateColumnEntries(TListView* list, const char* name, QMenu* viewMenu,
                                    QMenu* popup, void (TFormMain::*action)(QAction*))
{
    for (int column = 0; column < list->ColumnCount(); ++column) {
        for (auto [menu, prefix] : {std::pair{viewMenu, "mnu"}, std::pair{popup, "pop"}}) {
            QAction* entry = menu->addAction(ToQString(list->ColumnCaption(column)));
            entry->setObjectName(ToQString(Format("%sShowHide%sColumn_%d", prefix, name, column)));
            entry->setData(column);  // the entry's tag
            entry->setEnabled(column > 0);
            entry->setCheckable(true);
            entry->setChecked(list->ColumnWidth(column) > 0);
            connect(entry, &QAction::triggered, this,
                    ui::Guarded([this, entry, action](bool) { (this->*action)(entry); }));
        }
    }
}

int TFormMain::ActivePageIndex() const
{
    return noActivePage_ ? -1 : PageControl1->currentIndex();
}

void TFormMain::SetActivePageIndex(int index)
{
    // A tab widget always shows a page; "no page" hides the current one's content.
    noActivePage_ = index < 0 || index >= PageControl1->count();
    if (noActivePage_) {
        PageControl1->currentWidget()->hide();
        return;
    }
    PageControl1->setCurrentIndex(index);
    PageControl1->currentWidget()->show();
}

bool TFormMain::AddPlate(const std::string& text)
{
    const std::optional<PlateRows> rows = ListPlate(text);
    if (rows)
        SelectRows(*rows);
    return rows.has_value();
}

std::optional<TFormMain::PlateRows> TFormMain::ListPlate(std::string_view text)
{
    const std::optional<std::string> plate = NormalizePlate(text);
    if (!plate)
        return std::nullopt;
    const TPlateCodes codes = ComputePlateCodes(*plate);
    return PlateRows{AppendRow(LV1, LV1CellTexts(codes)), AppendRow(LV2, LV2CellTexts(codes))};
}

void TFormMain::SelectRows(const PlateRows& rows)
{
    LV1->SetSelected(rows.lv1, true);
    LV2->SetSelected(rows.lv2, true);
}

void TFormMain::CalcLines(std::string_view text)
{
    // Each plate's rows end up selected in turn, so only the last ones stay selected:
    // selecting them once at the end keeps a long file from costing a selection per row.
    const ListUpdate update{LV1, LV2};
    std::optional<PlateRows> last;
    for (const std::string_view line : TTextLines(text)) {
        if (auto rows = ListPlate(line))
            last = rows;
    }
    if (last)
        SelectRows(*last);
}

void TFormMain::btnCalc1Click()
{
    if (AddPlate(EditPlate->Text()))
        EditPlate->SetText("");
    FocusIfPossible(EditPlate);
}

void TFormMain::btnCalc2Click(QObject* sender)
{
    CalcLines(TextBeforeNul(ToCp1252(EditPlates->toPlainText())));
    EditPlates->clear();
    if (sender == btnCalc2)
        FocusIfPossible(EditPlates);
}

void TFormMain::keyPressEvent(QKeyEvent* event)
{
    // Only the shown input panel's "Calc" is visible, so it is the one pressed.
    if (PressButtonForEnter(*this, *event, {btnCalc1, btnCalc2}))
        return;
    QMainWindow::keyPressEvent(event);
}

void TFormMain::mnuExitClick()
{
    close();
}

void TFormMain::mnuAboutClick()
{
    if (FormAbout)
        ui::CurrentUi().ShowModal(*FormAbout);
}

void TFormMain::mnuViewMultiClick()
{
    mnuViewMulti->setChecked(!mnuViewMulti->isChecked());
    UpdatePanels();
}

void TFormMain::UpdatePanels()
{
    Panel1->setVisible(!mnuViewMulti->isChecked());
    Panel2->setVisible(mnuViewMulti->isChecked());
}

void TFormMain::UpdateShowHide()
{
    mnuView1->menuAction()->setVisible(ActivePageIndex() == 0);
    mnuView2->menuAction()->setVisible(ActivePageIndex() == 1);
    UpdateColumnEntries(LV1, mnuView1, PopGrid1);
    UpdateColumnEntries(LV2, mnuView2, PopGrid2);
}

void TFormMain::UpdateColumnEntries(const TListView* list, QMenu* viewMenu, QMenu* popup)
{
    for (QMenu* menu : {viewMenu, popup}) {
        for (QAction* entry : menu->actions()) {
            entry->setVisible(true);
            entry->setChecked(list->ColumnWidth(entry->data().toInt()) > 0);
        }
    }
}

void TFormMain::ShowHideColumn(TListView* list, QAction* entry, int defaultWidthOffset)
{
    const int column = entry->data().toInt();
    list->SetColumnWidth(column, list->ColumnWidth(column) >= 1
                                     ? 0
                                     : DefaultColumnWidths[defaultWidthOffset + column]);
}

void TFormMain::mnuShowHideColumnLV1Click(QAction* entry)
{
    ShowHideColumn(LV1, entry, 0);
}

void TFormMain::mnuShowHideColumnLV2Click(QAction* entry)
{
    ShowHideColumn(LV2, entry, LV2DefaultWidthOffset);
}

void TFormMain::Howtocalculate1Click()
{
    switch (ActivePageIndex()) {
    case 0:
        ui::ShowMessage(ui::MsgKind::Information, WG26HelpText);
        break;
    case 1:
        ui::ShowMessage(ui::MsgKind::Information, WG64HelpText);
        break;
    default:
        break;
    }
}

void TFormMain::OnColumnClick(TListView* sender, int column)
{
    int32_t& sortColumn = sender == LV1 ? LV1SortColumn : LV2SortColumn;
    bool& ascending = sender == LV1 ? LV1SortAscending : LV2SortAscending;
    if (column == sortColumn) {
        ascending = !ascending;
    } else {
        sortColumn = column;
        ascending = false;
    }
    // Each row's key is read once, not once per comparison: a list of 100,000 rows
    // would otherwise read and convert its cells millions of times.
    std::vector<TSortKey> keys;
    keys.reserve(static_cast<size_t>(sender->Count()));
    for (int row = 0; row < sender->Count(); ++row)
        keys.push_back(SortKey(sender, row));
    sender->CustomSort([&](int a, int b) { return CompareSortKeys(sender, keys[a], keys[b]); });
}

int TFormMain::OnCompare(TListView* sender, int rowA, int rowB) const
{
    return CompareSortKeys(sender, SortKey(sender, rowA), SortKey(sender, rowB));
}

TFormMain::TSortKey TFormMain::SortKey(const TListView* list, int row) const
{
    const int column = list == LV1 ? LV1SortColumn : LV2SortColumn;
    if (column < 0)
        return {};
    const bool numeric = list == LV1 ? column < LV1ColumnCount && LV1NumericColumns[column]
                                     : column < LV2ColumnCount && LV2NumericColumns[column];
    std::string text = GetColumnText(*list, row, column);
    if (numeric)
        return {StrToInt64Def(text, 0), {}};
    return {0, std::move(text)};
}

int TFormMain::CompareSortKeys(const TListView* list, const TSortKey& a, const TSortKey& b) const
{
    // Unsorted lists and numeric columns leave the texts empty.
    const int result =
        a.number != b.number ? (a.number < b.number ? -1 : 1) : CompareTextAscii(a.text, b.text);
    return (list == LV1 ? LV1SortAscending : LV2SortAscending) ? result : -result;
}

}  // namespace quantivo
