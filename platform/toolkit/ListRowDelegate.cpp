#include "platform/toolkit/ListRowDelegate.h"

#include "platform/toolkit/ListRowModel.h"
#include "platform/toolkit/TListView.h"

#include <QHeaderView>
#include <QPainter>

ListRowDelegate::ListRowDelegate(TListView& view) : QStyledItemDelegate(&view), view_(view)
{
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    PaintGridLines(painter, option.rect, option.palette);
}

void ListRowDelegate::PaintGridLines(QPainter* painter, const QRect& cell,
                                     const QPalette& palette) const
{
    if (!view_.gridLines_)
        return;
    painter->save();
    painter->setPen(palette.color(QPalette::Midlight));
    painter->drawLine(cell.topRight(), cell.bottomRight());
    painter->drawLine(cell.bottomLeft(), cell.bottomRight());
    painter->restore();
}

bool ListRowDelegate::PaintOwnerDrawnRow(QPainter* painter, const QStyleOptionViewItem& option,
                                         int row) const
{
    if (!view_.drawItem_)
        return false;
    TRowColors colors{};
    try {
        colors = view_.drawItem_(row, view_.rows_->IsSelected(row));
    } catch (...) {
        // A box from inside painting would only bring the next paint; draw plainly.
        return false;
    }
    const QHeaderView* header = view_.header();
    const int top = option.rect.top();
    const int height = option.rect.height();
    // The row's rectangle runs across the columns, from the first one's left edge.
    const QRect bounds(header->sectionViewportPosition(0), top, header->length(), height);
    painter->save();
    painter->fillRect(bounds, ColorToQColor(colors.background));
    for (int column = 0; column < header->count(); ++column) {
        if (!header->isSectionHidden(column))
            PaintGridLines(painter,
                           QRect(header->sectionViewportPosition(column), top,
                                 header->sectionSize(column), height),
                           option.palette);
    }
    painter->setPen(ColorToQColor(colors.text));
    painter->setFont(option.font);
    for (int column = 0; column < header->count(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QRect at(header->sectionViewportPosition(column) + kTextIndent, top, bounds.width(),
                       height);
        painter->drawText(at, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextDontClip,
                          view_.model()->index(row, column).data().toString());
    }
    painter->restore();
    return true;
}
