#pragma once

#include "platform/toolkit/TColor.h"

#include <QTreeView>

#include <functional>
#include <string>
#include <vector>

class ListRowModel;

// A row whose selection changed, and whether it is selected now.
struct TSelectChange {
    int row;
    bool selected;
    bool operator==(const TSelectChange&) const = default;
};

// The colours the owner chooses for one row it draws.
struct TRowColors {
    TColor background;
    TColor text;
};

// A report-style list view: rows of a caption and sub-items (Windows-1252 text) under
// columns with captions and widths. Rows are addressed by their index in the current
// order (a sort changes it). Every list of the programs is read-only and selects whole
// rows. It stays quick at 65,535 rows: deleting many rows, sorting and clearing cost one
// relayout, and between BeginUpdate and EndUpdate adding rows does too.
//
// The list control tells its owner of every row whose selection changes, by the person or
// by code: one SelectItems per change lists each such row in order, so a change of many
// rows at once (Shift+End, select all) reaches the owner once. Deleting rows signals
// nothing.
class TListView final : public QTreeView {
    Q_OBJECT

public:
    explicit TListView(QWidget* parent = nullptr);
    ~TListView() override;
    Q_DISABLE_COPY_MOVE(TListView)

    // Columns. A width below 1 hides the column (ColumnWidth then reads 0).
    void AddColumn(const std::string& caption, int width);
    int ColumnCount() const;
    std::string ColumnCaption(int column) const;
    void SetColumnCaption(int column, const std::string& caption);
    int ColumnWidth(int column) const;
    void SetColumnWidth(int column, int width);

    // Rows. A row index that does not exist raises EError "List index out of bounds (%d)".
    int Count() const;
    // Appends a row; gives its index.
    int AddRow(const std::string& caption, std::vector<std::string> subItems = {});
    const std::string& Caption(int row) const;
    void SetCaption(int row, const std::string& caption);
    int SubItemCount(int row) const;
    // Empty text for a sub-item the row does not have.
    const std::string& SubItem(int row, int index) const;
    // Writing past the last sub-item adds empty ones up to it.
    void SetSubItem(int row, int index, const std::string& text);
    // Deletes the rows (indexes in any order; repeats allowed); the rest keep their order.
    void DeleteRows(std::vector<int> rows);
    void Clear();
    // Stable sort of all rows by compare(rowA, rowB): negative puts rowA first. The rows
    // keep their indexes while compare runs, so it may read them (GetColumnText).
    // Selection moves with the rows.
    void CustomSort(const std::function<int(int, int)>& compare);
    // Repaint and row announcements wait until the matching EndUpdate; pairs nest.
    void BeginUpdate();
    void EndUpdate();
    // Scrolls so that the row is fully in view.
    void MakeVisible(int row);

    // Selection.
    void SetMultiSelect(bool multiSelect);
    bool MultiSelect() const;
    bool Selected(int row) const;
    // In a single-select list selecting a row deselects the other.
    void SetSelected(int row, bool selected);
    void SelectAll();
    void ClearSelection();
    int SelCount() const;
    // -1 when no row is selected.
    int FirstSelected() const;
    // In the current order.
    std::vector<int> SelectedRows() const;

    // Owner drawing: with a hook set every row is filled flat with the hook's background
    // and its texts written in the hook's text colour, 4 pixels into each column and not
    // clipped to it.
    using DrawItemHook = std::function<TRowColors(int row, bool selected)>;
    void SetOnDrawItem(DrawItemHook hook);
    void SetGridLines(bool gridLines);
    bool GridLines() const { return gridLines_; }

    // Drag and drop of rows. A drag source starts dragging its selected rows when the mouse
    // moves with the button held. With a drag-over hook set the list is a drop target:
    // the hook decides whether a drag is accepted (source: the dragging TListView, or
    // another object or nothing for drags from elsewhere); an accepted drop is announced
    // by DragDrop after the drop event has returned.
    void SetDragSource(bool dragSource);
    using DragOverHook = std::function<bool(QObject* source, QPoint position)>;
    void SetOnDragOver(DragOverHook hook);

signals:
    void ColumnClick(int column);
    void SelectItems(const std::vector<TSelectChange>& changes);
    void KeyUp(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    void Click();
    // Also on empty space below the rows.
    void DblClick();
    // The input focus went to another control of the window (not to a menu, a box or
    // another window).
    void Exit();
    void DragDrop(QObject* source, QPoint position);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class ListRowDelegate;

    // Runs a change that resets the rows, then restores the view around currentRow.
    void ChangeRows(int currentRow, const std::function<void()>& change);
    void OnViewSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    // Brings the view's selection, current row and scroll position in line after the
    // rows were reset.
    void RestoreView(int currentRow, int scroll);
    void SelectInView(int first, int last, bool selected, bool clearOthers);
    void EmitChanges(const std::vector<TSelectChange>& changes);
    bool AcceptsDrag(QDropEvent* event);

    ListRowModel* rows_;
    DrawItemHook drawItem_;
    DragOverHook dragOver_;
    bool gridLines_ = false;
    // Set while the toolkit itself changes the view's selection.
    bool syncing_ = false;
    // The view's selection lags behind the rows' flags (changed during an update).
    bool viewSelectionStale_ = false;
    int updateDepth_ = 0;
};

// The text of a row in a column: column 0 the caption, column n sub-item n - 1 when the
// row has that many, otherwise (and for a negative column) empty text.
std::string GetColumnText(const TListView& view, int row, int column);
