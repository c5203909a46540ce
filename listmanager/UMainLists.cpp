// The two list views of the main window: sorting, row drawing, plate selection, keys,
// the device pop-up and dragging a device onto the plate list; and the match-list
// commands of the Plates menu and the Add button.
#include "listmanager/UMain.h"

#include "matchlist/MatchList.h"
#include "matchlist/PlateRules.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/Ui.h"
#include "widgets/FieldEdit.h"

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QPushButton>

#include <algorithm>
#include <optional>

namespace pellicor {

namespace {

constexpr TColor kPlateSelectedColor = 0xFFCC99;
constexpr TColor kHostSelectedColor = 0x64FF64;

// A numeric column's value: a decimal integer in the 32-bit range, anything else 0.
int32_t NumericCellValue(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    if (i == text.size())
        return 0;
    for (size_t k = i; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return 0;
    return ReadInt32(text).value_or(0);
}

}  // namespace

void TFormMain::BindLists()
{
    using ui::Guarded;
    for (TListView* list : {PlateList1, HostList1}) {
        connect(list, &TListView::ColumnClick, this,
                Guarded([this, list](int column) { DoColumnClick(*list, column); }));
        connect(list, &TListView::KeyUp, this,
                Guarded([this, list](int key, Qt::KeyboardModifiers, bool autoRepeat) {
                    OnKeyUp(*list, key, autoRepeat);
                }));
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        QMenu* popup = list == PlateList1 ? PopupMenu1 : PopupMenu2;
        connect(list, &QWidget::customContextMenuRequested, this, Guarded([list, popup](QPoint at) {
                    popup->popup(list->viewport()->mapToGlobal(at));
                }));
    }
    PlateList1->SetOnDrawItem([](int, bool selected) {
        return TRowColors{selected ? kPlateSelectedColor : clWindow, clWindowText};
    });
    HostList1->SetOnDrawItem([](int, bool selected) {
        return TRowColors{selected ? kHostSelectedColor : clWindow, clWindowText};
    });
    connect(PlateList1, &TListView::SelectItems, this,
            Guarded([this](const std::vector<TSelectChange>& changes) { OnSelectPlate(changes); }));
    connect(PlateList1, &TListView::Exit, this, Guarded([this] { PlateList1Exit(); }));
    PlateList1->SetOnDragOver(
        [this](QObject* source, QPoint) { return PlateList1DragOver(source); });
    connect(HostList1, &TListView::Click, this, Guarded([this] { DoUpdateUI(); }));
    connect(HostList1, &TListView::DblClick, this, Guarded([this] { HostList1DblClick(); }));

    connect(btnAdd, &QPushButton::clicked, this, Guarded([this] { btnAddClick(); }));
    connect(mnuPlateDeleteSelection, &QAction::triggered, this,
            Guarded([this] { mnuPlateDeleteSelectionClick(); }));
    connect(mnuPlateDeleteDuplicates, &QAction::triggered, this,
            Guarded([this] { mnuPlateDeleteDuplicatesClick(); }));
    connect(mnuGenerateDummyList, &QAction::triggered, this,
            Guarded([this] { mnuGenerateDummyListClick(); }));
}

// --- sorting

void TFormMain::DoColumnClick(TListView& list, int column)
{
    int32_t& sortColumn = &list == PlateList1 ? PlateSortColumn : HostSortColumn;
    bool& ascending = &list == PlateList1 ? PlateSortAscending : HostSortAscending;
    if (column == sortColumn) {
        ascending = !ascending;
    } else {
        sortColumn = column;
        ascending = false;
    }
    list.CustomSort([this, &list](int a, int b) { return DoCompare(list, a, b); });
}

int TFormMain::DoCompare(const TListView& list, int a, int b) const
{
    const bool plates = &list == PlateList1;
    const int column = plates ? PlateSortColumn : HostSortColumn;
    if (column < 0)
        return 0;
    const std::string ta = GetColumnText(list, a, column);
    const std::string tb = GetColumnText(list, b, column);
    const bool numeric = column == 0 || (plates && column == 2);
    int result;
    if (numeric) {
        // The difference of the two values; its sign, taken at 64 bits, never wraps.
        const int64_t difference = int64_t{NumericCellValue(ta)} - NumericCellValue(tb);
        result = difference < 0 ? -1 : difference > 0 ? 1 : 0;
    } else {
        result = CompareTextAscii(ta, tb);
    }
    const bool ascending = plates ? PlateSortAscending : HostSortAscending;
    return ascending ? result : -result;
}

// --- selection, focus, keys, drag

// Each changed row's plate and id-number go into the two fields in turn, and the window is
// refreshed. Of many rows changed at once (Shift+End over the whole list) only the first
// whose text differs from a field and the last can change that field: the rows between
// would only run its change event (Modified, a refresh) again. So each field takes those
// two, and one refresh ends the change.
void TFormMain::OnSelectPlate(const std::vector<TSelectChange>& changes)
{
    const auto passRowTexts = [this, &changes](TFieldEdit& field, int column) {
        const std::string before = field.Text();
        const auto differs = std::find_if(changes.begin(), changes.end(), [&](const auto& change) {
            return GetColumnText(*PlateList1, change.row, column) != before;
        });
        if (differs != changes.end())
            field.SetText(GetColumnText(*PlateList1, differs->row, column));
        field.SetText(GetColumnText(*PlateList1, changes.back().row, column));
    };
    passRowTexts(*EditPlate, 1);
    passRowTexts(*EditNumber, 2);
    UpdateUI();
}

void TFormMain::PlateList1Exit()
{
    PlateList1->ClearSelection();
    UpdateUI();
}

void TFormMain::OnKeyUp(TListView& list, int key, bool autoRepeat)
{
    // A held key repeats its release: one press deletes once.
    const bool deleteKey = key == Qt::Key_Delete && !autoRepeat;
    if (&list == PlateList1) {
        if (deleteKey)
            mnuPlateDeleteSelectionClick();
        return;
    }
    if (deleteKey)
        HostList1->DeleteRows(HostList1->SelectedRows());
    UpdateUI();
}

void TFormMain::HostList1DblClick()
{
    PopupMenu2->popup(QCursor::pos());
}

bool TFormMain::PlateList1DragOver(QObject* source) const
{
    // Receive would decode every frame wrongly under an invalid format: a drop is taken
    // only when Receive itself could run.
    return source == HostList1 && HostList1->SelCount() == 1 && WiegandFormatValid();
}

// --- match-list commands

void TFormMain::btnAddClick()
{
    const std::string plate = EditPlate->Text();
    if (!IsValidPlate(plate)) {
        EditPlate->setFocus();
        return;
    }
    const std::string idText = EditNumber->Text();
    if (!IsValidIdNumber(idText, MaxId)) {
        EditNumber->setFocus();
        return;
    }
    AddPlateEntry(*this, plate, idText, true);
    EditPlate->SetText("");
    EditNumber->SetText("");
    EditPlate->setFocus();
    UpdateUI();
}

void TFormMain::mnuPlateDeleteSelectionClick()
{
    if (PlateList1->SelCount() > 0) {
        PlateList1->DeleteRows(PlateList1->SelectedRows());
        Modified = true;
    }
    UpdateUI();
}

void TFormMain::mnuPlateDeleteDuplicatesClick()
{
    DeleteDuplicatePlates(*this);
    UpdateUI();
}

void TFormMain::mnuGenerateDummyListClick()
{
    std::string answer;
    if (!ui::CurrentUi().InputBox(QApplication::applicationDisplayName().toStdString(),
                                  "number of plates", answer))
        return;
    const int32_t count = StrToIntDef(answer, 0);
    if (count <= 0)
        return;
    ClearMatchList(*this);
    PlateList1->BeginUpdate();
    std::string plate;
    std::string idText;
    for (int32_t i = 0; i < count; ++i) {
        dummyPlates_.Next(plate, idText);
        AddPlateEntry(*this, plate, idText, false);
    }
    PlateList1->EndUpdate();
    UpdateUI();
}

}  // namespace pellicor
