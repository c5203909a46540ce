#pragma once

#include <QStyledItemDelegate>

class TListView;

// Paints the rows of a TListView. A row the owner draws is painted whole, as the owner's
// row drawing has it: the row's rectangle across all columns filled flat with the
// owner's background, then every text in the owner's text colour, 4 pixels into its
// column and not clipped to it; nothing of the style (selection, hover, focus frame) is
// drawn over it. Other rows are drawn cell by cell the standard way. Grid lines, when
// on, edge every cell.
class ListRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT

public:
    // How far into its column an owner-drawn text starts.
    static constexpr int kTextIndent = 4;

    explicit ListRowDelegate(TListView& view);
    Q_DISABLE_COPY_MOVE(ListRowDelegate)

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

    // The whole row; false (nothing painted) when the list has no owner drawing or the
    // owner's hook failed: the row is then drawn the standard way.
    bool PaintOwnerDrawnRow(QPainter* painter, const QStyleOptionViewItem& option, int row) const;

private:
    void PaintGridLines(QPainter* painter, const QRect& cell, const QPalette& palette) const;

    TListView& view_;
};
