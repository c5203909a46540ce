#include "platform/toolkit/TListView.h"

#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/toolkit/ListDragData.h"
#include "platform/toolkit/ListRowDelegate.h"
#include "platform/toolkit/ListRowModel.h"
#include "platform/toolkit/ListSort.h"
#include "platform/ui/Guarded.h"

#include <QDrag>
#include <QDropEvent>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>

#include <algorithm>
#include <utility>

namespace {

const std::string kEmpty;

// The list the dragged rows come from; for other data whatever Qt names as the source.
QObject* DragSourceOf(const QDropEvent& event)
{
    QObject* source = RowDragSource(event.mimeData());
    return source != nullptr ? source : event.source();
}

}  // namespace

TListView::TListView(QWidget* parent) : QTreeView(parent), rows_(new ListRowModel(this))
{
    setModel(rows_);
    setItemDelegate(new ListRowDelegate(*this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDropIndicatorShown(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setHighlightSections(false);
    connect(header(), &QHeaderView::sectionClicked, this, &TListView::ColumnClick);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            ui::Guarded([this](const QItemSelection& selected, const QItemSelection& deselected) {
                OnViewSelectionChanged(selected, deselected);
            }));
}

TListView::~TListView() = default;

void TListView::AddColumn(const std::string& caption, int width)
{
    rows_->AddColumn(caption);
    SetColumnWidth(rows_->ColumnCount() - 1, width);
}

int TListView::ColumnCount() const
{
    return rows_->ColumnCount();
}

std::string TListView::ColumnCaption(int column) const
{
    return rows_->ColumnCaption(column);
}

void TListView::SetColumnCaption(int column, const std::string& caption)
{
    rows_->SetColumnCaption(column, caption);
}

int TListView::ColumnWidth(int column) const
{
    rows_->ColumnCaption(column);  // the range check
    return header()->isSectionHidden(column) ? 0 : header()->sectionSize(column);
}

void TListView::SetColumnWidth(int column, int width)
{
    rows_->ColumnCaption(column);
    // Qt keeps a minimum section width, so width 0 can only be had by hiding.
    if (width < 1) {
        header()->setSectionHidden(column, true);
        return;
    }
    header()->setSectionHidden(column, false);
    header()->resizeSection(column, width);
}

int TListView::Count() const
{
    return rows_->Count();
}

int TListView::AddRow(const std::string& caption, std::vector<std::string> subItems)
{
    return rows_->Append(caption, std::move(subItems));
}

const std::string& TListView::Caption(int row) const
{
    return rows_->At(row).caption;
}

void TListView::SetCaption(int row, const std::string& caption)
{
    rows_->SetCaption(row, caption);
}

int TListView::SubItemCount(int row) const
{
    return static_cast<int>(rows_->At(row).subItems.size());
}

const std::string& TListView::SubItem(int row, int index) const
{
    const auto& subItems = rows_->At(row).subItems;
    return index >= 0 && static_cast<size_t>(index) < subItems.size()
               ? subItems[static_cast<size_t>(index)]
               : kEmpty;
}

void TListView::SetSubItem(int row, int index, const std::string& text)
{
    rows_->SetSubItem(row, index, text);
}

void TListView::DeleteRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty()) {
        return;
    }
    if (rows.front() < 0 || rows.back() >= Count()) {
        throw EError(
            Format("List index out of bounds (%d)", rows.front() < 0 ? rows.front() : rows.back()));
    }
    int current = currentIndex().row();
    if (std::binary_search(rows.begin(), rows.end(), current)) {
        current = -1;
    } else if (current >= 0) {
        current -=
            static_cast<int>(std::lower_bound(rows.begin(), rows.end(), current) - rows.begin());
    }
    ChangeRows(current, [this, &rows] { rows_->Remove(rows); });
}

void TListView::Clear()
{
    ChangeRows(-1, [this] { rows_->RemoveAll(); });
}

void TListView::CustomSort(const std::function<int(int, int)>& compare)
{
    const std::vector<int> order = SortedOrder(Count(), compare);
    int current = -1;
    if (const int old = currentIndex().row(); old >= 0) {
        current = static_cast<int>(std::find(order.begin(), order.end(), old) - order.begin());
    }
    ChangeRows(current, [this, &order] { rows_->Reorder(order); });
}

void TListView::ChangeRows(int currentRow, const std::function<void()>& change)
{
    const int scroll = verticalScrollBar()->value();
    {
        const QScopedValueRollback<bool> quiet(syncing_, true);
        change();
    }
    RestoreView(currentRow, scroll);
}

void TListView::BeginUpdate()
{
    if (updateDepth_++ == 0) {
        setUpdatesEnabled(false);
    }
    rows_->Freeze();
}

void TListView::EndUpdate()
{
    if (updateDepth_ == 0) {
        return;
    }
    const int current = currentIndex().row();
    const int scroll = verticalScrollBar()->value();
    bool reset = false;
    {
        const QScopedValueRollback<bool> quiet(syncing_, true);
        reset = rows_->Thaw();
    }
    if (--updateDepth_ > 0) {
        return;
    }
    if (reset || viewSelectionStale_) {
        RestoreView(current < Count() ? current : -1, scroll);
    }
    setUpdatesEnabled(true);
}

void TListView::RestoreView(int currentRow, int scroll)
{
    if (rows_->Frozen()) {
        viewSelectionStale_ = true;
        return;
    }
    viewSelectionStale_ = false;
    QItemSelection selection;
    const int lastColumn = std::max(0, ColumnCount() - 1);
    for (int row = 0; row < Count();) {
        if (!rows_->IsSelected(row)) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < Count() && rows_->IsSelected(row)) {
            ++row;
        }
        selection.select(rows_->index(first, 0), rows_->index(row - 1, lastColumn));
    }
    {
        const QScopedValueRollback<bool> quiet(syncing_, true);
        // Clearing first spares Qt comparing the old ranges with the new ones one by one.
        selectionModel()->clearSelection();
        selectionModel()->select(selection, QItemSelectionModel::Select);
        if (currentRow >= 0) {
            selectionModel()->setCurrentIndex(rows_->index(currentRow, 0),
                                              QItemSelectionModel::NoUpdate);
        }
    }
    // The scroll range follows the new rows only after a relayout.
    executeDelayedItemsLayout();
    updateGeometries();
    verticalScrollBar()->setValue(scroll);
}

void TListView::MakeVisible(int row)
{
    rows_->At(row);
    if (!rows_->Frozen()) {
        scrollTo(rows_->index(row, 0), QAbstractItemView::EnsureVisible);
    }
}

void TListView::SetMultiSelect(bool multiSelect)
{
    setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
}

bool TListView::MultiSelect() const
{
    return selectionMode() != QAbstractItemView::SingleSelection;
}

bool TListView::Selected(int row) const
{
    return rows_->At(row).selected;
}

void TListView::SelectInView(int first, int last, bool selected, bool clearOthers)
{
    if (rows_->Frozen()) {
        viewSelectionStale_ = true;
        return;
    }
    const bool allRows = first == 0 && last == Count() - 1;
    const QScopedValueRollback<bool> quiet(syncing_, true);
    // Clearing at once, rather than through a range, spares Qt comparing the old ranges
    // with the new ones one by one (slow after a scattered selection).
    if (clearOthers || allRows) {
        selectionModel()->clearSelection();
    }
    if (selected || !allRows) {
        selectionModel()->select(QItemSelection(rows_->index(first, 0),
                                                rows_->index(last, std::max(0, ColumnCount() - 1))),
                                 selected ? QItemSelectionModel::Select
                                          : QItemSelectionModel::Deselect);
    }
}

void TListView::SetSelected(int row, bool selected)
{
    rows_->At(row);
    std::vector<TSelectChange> changes;
    const bool clearOthers = selected && !MultiSelect();
    if (clearOthers) {
        for (int other : SelectedRows()) {
            if (other != row && rows_->SetSelected(other, false)) {
                changes.push_back({other, false});
            }
        }
    }
    if (rows_->SetSelected(row, selected)) {
        changes.push_back({row, selected});
    }
    SelectInView(row, row, selected, clearOthers);
    EmitChanges(changes);
}

void TListView::SelectAll()
{
    std::vector<TSelectChange> changes;
    for (int row = 0; row < Count(); ++row) {
        if (rows_->SetSelected(row, true)) {
            changes.push_back({row, true});
        }
    }
    if (Count() > 0) {
        SelectInView(0, Count() - 1, true, false);
    }
    EmitChanges(changes);
}

void TListView::ClearSelection()
{
    std::vector<TSelectChange> changes;
    for (int row : SelectedRows()) {
        rows_->SetSelected(row, false);
        changes.push_back({row, false});
    }
    if (Count() > 0) {
        SelectInView(0, Count() - 1, false, false);
    }
    EmitChanges(changes);
}

int TListView::SelCount() const
{
    return rows_->SelCount();
}

int TListView::FirstSelected() const
{
    if (SelCount() == 0) {
        return -1;
    }
    for (int row = 0; row < Count(); ++row) {
        if (rows_->IsSelected(row)) {
            return row;
        }
    }
    return -1;
}

std::vector<int> TListView::SelectedRows() const
{
    std::vector<int> selected;
    selected.reserve(static_cast<size_t>(SelCount()));
    for (int row = 0; row < Count() && static_cast<int>(selected.size()) < SelCount(); ++row) {
        if (rows_->IsSelected(row)) {
            selected.push_back(row);
        }
    }
    return selected;
}

void TListView::EmitChanges(const std::vector<TSelectChange>& changes)
{
    if (!changes.empty()) {
        emit SelectItems(changes);
    }
}

void TListView::OnViewSelectionChanged(const QItemSelection& selected,
                                       const QItemSelection& deselected)
{
    if (syncing_) {
        return;
    }
    if (rows_->Frozen()) {
        // The view's rows are out of date; the end of the update puts its selection back.
        viewSelectionStale_ = true;
        return;
    }
    std::vector<TSelectChange> changes;
    auto apply = [this, &changes](const QItemSelection& ranges, bool state) {
        for (const QItemSelectionRange& range : ranges) {
            for (int row = range.top(); row <= range.bottom() && row < Count(); ++row) {
                if (rows_->SetSelected(row, state)) {
                    changes.push_back({row, state});
                }
            }
        }
    };
    apply(deselected, false);
    apply(selected, true);
    EmitChanges(changes);
}

void TListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const
{
    // The owner draws whole rows, so a text may run on into the next column.
    const auto* rows = qobject_cast<const ListRowDelegate*>(itemDelegate());
    if (rows == nullptr || !rows->PaintOwnerDrawnRow(painter, option, index.row()))
        QTreeView::drawRow(painter, option, index);
}

void TListView::SetOnDrawItem(DrawItemHook hook)
{
    drawItem_ = std::move(hook);
    viewport()->update();
}

void TListView::SetGridLines(bool gridLines)
{
    gridLines_ = gridLines;
    viewport()->update();
}

void TListView::SetDragSource(bool dragSource)
{
    setDragEnabled(dragSource);
}

void TListView::SetOnDragOver(DragOverHook hook)
{
    dragOver_ = std::move(hook);
    setAcceptDrops(static_cast<bool>(dragOver_));
    viewport()->setAcceptDrops(static_cast<bool>(dragOver_));
}

void TListView::keyPressEvent(QKeyEvent* event)
{
    // The list has no select-all key: selecting 65,535 rows by accident would also run
    // the owner's selection handler for each.
    if (event->matches(QKeySequence::SelectAll)) {
        event->ignore();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void TListView::keyReleaseEvent(QKeyEvent* event)
{
    emit KeyUp(event->key(), event->modifiers(), event->isAutoRepeat());
    QTreeView::keyReleaseEvent(event);
}

void TListView::mouseReleaseEvent(QMouseEvent* event)
{
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        emit Click();
    }
}

void TListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTreeView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void TListView::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) {
        emit Exit();
    }
}

void TListView::startDrag(Qt::DropActions /*supportedActions*/)
{
    if (SelCount() == 0) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(MakeRowDragData(*this));
    drag->exec(Qt::CopyAction);
}

bool TListView::AcceptsDrag(QDropEvent* event)
{
    if (!dragOver_) {
        return false;
    }
    try {
        return dragOver_(DragSourceOf(*event), event->position().toPoint());
    } catch (const std::exception& e) {
        ui::HandleException(e);
    } catch (...) {
        ui::HandleUnknownException();
    }
    return false;
}

void TListView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void TListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (AcceptsDrag(event)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void TListView::dropEvent(QDropEvent* event)
{
    if (!AcceptsDrag(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    const QPointer<QObject> source = DragSourceOf(*event);
    // The command a drop starts may run long and show boxes: let the drop finish first.
    QMetaObject::invokeMethod(
        this,
        [this, source, position = event->position().toPoint()] {
            emit DragDrop(source.data(), position);
        },
        Qt::QueuedConnection);
}

std::string GetColumnText(const TListView& view, int row, int column)
{
    if (column < 0) {
        return {};
    }
    return column == 0 ? view.Caption(row) : view.SubItem(row, column - 1);
}
