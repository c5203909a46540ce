#pragma once

#include <QStyledItemDelegate>

class TListView;

// Paints the cells of a TListView: the owner's colours when it draws the rows itself,
// and the grid lines when they are on.
class ListRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ListRowDelegate(TListView& view);
    Q_DISABLE_COPY_MOVE(ListRowDelegate)

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    // False when the owner's hook failed; the cell is then drawn the standard way.
    bool PaintOwnerDrawn(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const;

    TListView& view_;
};
