#pragma once

#include <QAbstractTableModel>

#include <string>
#include <vector>

// The rows of one TListView: caption, sub-items and selection flag per row, in the view's
// order. The flags are the truth about the selection (the view's selection model is
// brought in line with them); the count of selected rows is kept as they change.
//
// Between Freeze and the last Thaw, row changes are not announced to the view: what the
// view knows stays as it was and one reset brings it up to date at the end, so loading
// or deleting tens of thousands of rows costs one relayout instead of one per row.
class ListRowModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    struct Row {
        std::string caption;
        std::vector<std::string> subItems;
        bool selected = false;
    };

    explicit ListRowModel(QObject* parent);
    Q_DISABLE_COPY_MOVE(ListRowModel)

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void AddColumn(std::string caption);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }
    // Both raise EError for a column that does not exist.
    const std::string& ColumnCaption(int column) const;
    void SetColumnCaption(int column, std::string caption);

    int Count() const { return static_cast<int>(rows_.size()); }
    // Raises EError "List index out of bounds (%d)" for a row that does not exist.
    const Row& At(int row) const;
    void SetCaption(int row, std::string caption);
    void SetSubItem(int row, int index, std::string text);
    int Append(std::string caption, std::vector<std::string> subItems);
    // rows: ascending, without repeats, all existing.
    void Remove(const std::vector<int>& rows);
    void RemoveAll();
    // Row i of the new order is row order[i] of the old one.
    void Reorder(const std::vector<int>& order);

    // The selection flag; false for a row that does not exist.
    bool IsSelected(int row) const;
    // True when the flag changed.
    bool SetSelected(int row, bool selected);
    int SelCount() const { return selCount_; }

    void Freeze();
    // True when the last Thaw reset the view.
    bool Thaw();
    bool Frozen() const { return frozen_ > 0; }

private:
    void CheckRow(int row) const;
    void ResetOrDefer();
    void RowChanged(int row, int column);

    std::vector<std::string> columns_;
    std::vector<Row> rows_;
    // The row count the view was last told about.
    int announced_ = 0;
    int selCount_ = 0;
    int frozen_ = 0;
    bool resetPending_ = false;
};
