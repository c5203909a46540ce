#include "platform/toolkit/ListRowModel.h"

#include "platform/text/Cp1252.h"
#include "platform/text/Errors.h"
#include "platform/text/Format.h"

#include <utility>

ListRowModel::ListRowModel(QObject* parent) : QAbstractTableModel(parent)
{
}

int ListRowModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : announced_;
}

int ListRowModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount();
}

QVariant ListRowModel::data(const QModelIndex& index, int role) const
{
    // While frozen the view may still ask for rows it knows of that have gone.
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= Count()) {
        return {};
    }
    const Row& row = rows_[static_cast<size_t>(index.row())];
    const auto sub = static_cast<size_t>(index.column() - 1);
    if (index.column() == 0) {
        return ToQString(row.caption);
    }
    return sub < row.subItems.size() ? ToQString(row.subItems[sub]) : QString();
}

QVariant ListRowModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount()) {
        return {};
    }
    return ToQString(columns_[static_cast<size_t>(section)]);
}

Qt::ItemFlags ListRowModel::flags(const QModelIndex& index) const
{
    if (!index.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled |
           Qt::ItemNeverHasChildren;
}

void ListRowModel::AddColumn(std::string caption)
{
    const int column = ColumnCount();
    beginInsertColumns({}, column, column);
    columns_.push_back(std::move(caption));
    endInsertColumns();
}

const std::string& ListRowModel::ColumnCaption(int column) const
{
    if (column < 0 || column >= ColumnCount()) {
        throw EError(Format("List index out of bounds (%d)", column));
    }
    return columns_[static_cast<size_t>(column)];
}

void ListRowModel::SetColumnCaption(int column, std::string caption)
{
    ColumnCaption(column);
    columns_[static_cast<size_t>(column)] = std::move(caption);
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ListRowModel::CheckRow(int row) const
{
    if (row < 0 || row >= Count()) {
        throw EError(Format("List index out of bounds (%d)", row));
    }
}

const ListRowModel::Row& ListRowModel::At(int row) const
{
    CheckRow(row);
    return rows_[static_cast<size_t>(row)];
}

void ListRowModel::RowChanged(int row, int column)
{
    if (!Frozen() && row < announced_) {
        const QModelIndex cell = index(row, column);
        emit dataChanged(cell, cell, {Qt::DisplayRole});
    }
}

void ListRowModel::SetCaption(int row, std::string caption)
{
    CheckRow(row);
    rows_[static_cast<size_t>(row)].caption = std::move(caption);
    RowChanged(row, 0);
}

void ListRowModel::SetSubItem(int row, int index, std::string text)
{
    CheckRow(row);
    if (index < 0) {
        throw EError(Format("List index out of bounds (%d)", index));
    }
    auto& subItems = rows_[static_cast<size_t>(row)].subItems;
    if (static_cast<size_t>(index) >= subItems.size()) {
        subItems.resize(static_cast<size_t>(index) + 1);
    }
    subItems[static_cast<size_t>(index)] = std::move(text);
    RowChanged(row, index + 1);
}

int ListRowModel::Append(std::string caption, std::vector<std::string> subItems)
{
    const int row = Count();
    if (Frozen()) {
        rows_.push_back({std::move(caption), std::move(subItems), false});
        resetPending_ = true;
        return row;
    }
    beginInsertRows({}, row, row);
    rows_.push_back({std::move(caption), std::move(subItems), false});
    announced_ = Count();
    endInsertRows();
    return row;
}

void ListRowModel::ResetOrDefer()
{
    if (Frozen()) {
        resetPending_ = true;
        return;
    }
    beginResetModel();
    announced_ = Count();
    endResetModel();
}

void ListRowModel::Remove(const std::vector<int>& rows)
{
    if (rows.empty()) {
        return;
    }
    size_t next = 0;  // next entry of rows to drop
    size_t kept = 0;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (next < rows.size() && static_cast<size_t>(rows[next]) == i) {
            ++next;
            if (rows_[i].selected) {
                --selCount_;
            }
            continue;
        }
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
        }
        ++kept;
    }
    rows_.resize(kept);
    ResetOrDefer();
}

void ListRowModel::RemoveAll()
{
    rows_.clear();
    selCount_ = 0;
    ResetOrDefer();
}

void ListRowModel::Reorder(const std::vector<int>& order)
{
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    for (int from : order) {
        sorted.push_back(std::move(rows_[static_cast<size_t>(from)]));
    }
    rows_ = std::move(sorted);
    ResetOrDefer();
}

bool ListRowModel::IsSelected(int row) const
{
    return row >= 0 && row < Count() && rows_[static_cast<size_t>(row)].selected;
}

bool ListRowModel::SetSelected(int row, bool selected)
{
    CheckRow(row);
    bool& flag = rows_[static_cast<size_t>(row)].selected;
    if (flag == selected) {
        return false;
    }
    flag = selected;
    selCount_ += selected ? 1 : -1;
    return true;
}

void ListRowModel::Freeze()
{
    ++frozen_;
}

bool ListRowModel::Thaw()
{
    if (frozen_ == 0 || --frozen_ > 0 || !resetPending_) {
        return false;
    }
    resetPending_ = false;
    ResetOrDefer();
    return true;
}
