#include "platform/toolkit/ListRowDelegate.h"

#include "platform/toolkit/ListRowModel.h"
#include "platform/toolkit/TListView.h"

#include <QPainter>

ListRowDelegate::ListRowDelegate(TListView& view) : QStyledItemDelegate(&view), view_(view)
{
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const
{
    if (!view_.drawItem_ || !PaintOwnerDrawn(painter, option, index)) {
        QStyledItemDelegate::paint(painter, option, index);
    }
    if (view_.gridLines_) {
        painter->save();
        painter->setPen(option.palette.color(QPalette::Midlight));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
}

bool ListRowDelegate::PaintOwnerDrawn(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const
{
    TRowColors colors{};
    try {
        colors = view_.drawItem_(index.row(), view_.rows_->IsSelected(index.row()));
    } catch (...) {
        // A box from inside painting would only bring the next paint; draw plainly.
        return false;
    }
    painter->save();
    painter->fillRect(option.rect, ColorToQColor(colors.background));
    painter->setPen(ColorToQColor(colors.text));
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(4, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                      index.data().toString());
    painter->restore();
    return true;
}
