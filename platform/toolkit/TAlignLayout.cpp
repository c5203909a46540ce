#include "platform/toolkit/TAlignLayout.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

// Hidden on purpose, as opposed to not yet shown because the window is not.
bool TakesRoom(const QWidget* widget)
{
    return !(widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

}  // namespace

TAlignLayout::TAlignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSizeConstraint(QLayout::SetNoConstraint);
    parent->installEventFilter(this);
}

TAlignLayout::~TAlignLayout()
{
    for (Entry& entry : entries_) {
        delete entry.item;
    }
}

TAlignLayout* TAlignLayout::Of(QWidget* parent)
{
    if (parent == nullptr) {
        return nullptr;
    }
    if (parent->layout() != nullptr) {
        return qobject_cast<TAlignLayout*>(parent->layout());
    }
    return new TAlignLayout(parent);
}

QSize TAlignLayout::ClientSize() const
{
    const QMargins m = contentsMargins();
    const QSize size = parentWidget()->size();
    return {std::max(0, size.width() - m.left() - m.right()),
            std::max(0, size.height() - m.top() - m.bottom())};
}

void TAlignLayout::KeepGaps(Entry& entry) const
{
    const QSize client = ClientSize();
    entry.rightGap = client.width() - (entry.bounds.x() + entry.bounds.width());
    entry.bottomGap = client.height() - (entry.bounds.y() + entry.bounds.height());
}

TAlignLayout::Entry& TAlignLayout::EntryOf(QWidget* control)
{
    for (Entry& entry : entries_) {
        if (entry.item->widget() == control) {
            return entry;
        }
    }
    addChildWidget(control);
    const QMargins m = contentsMargins();
    Entry entry;
    entry.item = new QWidgetItem(control);
    entry.bounds = control->geometry().translated(-m.left(), -m.top());
    KeepGaps(entry);
    entries_.push_back(entry);
    return entries_.back();
}

void TAlignLayout::SetBounds(QWidget* control, const QRect& bounds)
{
    Entry& entry = EntryOf(control);
    entry.bounds = bounds;
    KeepGaps(entry);
    Realign();
}

QRect TAlignLayout::Anchored(const Entry& entry, QSize client)
{
    QRect r = entry.bounds;
    if (entry.anchors & akRight) {
        if (entry.anchors & akLeft) {
            r.setWidth(client.width() - r.x() - entry.rightGap);
        } else {
            r.moveLeft(client.width() - r.width() - entry.rightGap);
        }
    }
    if (entry.anchors & akBottom) {
        if (entry.anchors & akTop) {
            r.setHeight(client.height() - r.y() - entry.bottomGap);
        } else {
            r.moveTop(client.height() - r.height() - entry.bottomGap);
        }
    }
    return r;
}

// Where the control stands now: an anchored control has moved or stretched with the
// parent since it was placed.
QRect TAlignLayout::CurrentBounds(QWidget* control)
{
    const Entry& entry = EntryOf(control);
    return entry.align == TAlign::alNone ? Anchored(entry, ClientSize()) : entry.bounds;
}

void TAlignLayout::SetWidth(QWidget* control, int width)
{
    const QRect bounds = CurrentBounds(control);
    SetBounds(control, QRect(bounds.topLeft(), QSize(width, bounds.height())));
}

void TAlignLayout::SetHeight(QWidget* control, int height)
{
    const QRect bounds = CurrentBounds(control);
    SetBounds(control, QRect(bounds.topLeft(), QSize(bounds.width(), height)));
}

void TAlignLayout::SetAlign(QWidget* control, TAlign align)
{
    EntryOf(control).align = align;
    Realign();
}

void TAlignLayout::SetAnchors(QWidget* control, TAnchors anchors)
{
    Entry& entry = EntryOf(control);
    entry.anchors = anchors;
    KeepGaps(entry);
    Realign();
}

void TAlignLayout::SetBorderWidth(int width)
{
    setContentsMargins(width, width, width, width);
    for (Entry& entry : entries_) {
        KeepGaps(entry);
    }
    Realign();
}

void TAlignLayout::Realign()
{
    if (realigning_ || parentWidget() == nullptr) {
        return;
    }
    realigning_ = true;
    const QMargins m = contentsMargins();
    const QSize client = ClientSize();
    // What the docked controls have left: [left, right) x [top, bottom).
    int left = 0;
    int top = 0;
    int right = client.width();
    int bottom = client.height();
    auto place = [&m](QWidget* widget, int x, int y, int w, int h) {
        widget->setGeometry(x + m.left(), y + m.top(), std::max(0, w), std::max(0, h));
    };
    for (TAlign kind :
         {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
        for (const Entry& entry : entries_) {
            QWidget* widget = entry.item->widget();
            if (entry.align != kind || !TakesRoom(widget)) {
                continue;
            }
            const int w = entry.bounds.width();
            const int h = entry.bounds.height();
            switch (kind) {
            case TAlign::alTop:
                place(widget, left, top, right - left, h);
                top += h;
                break;
            case TAlign::alBottom:
                place(widget, left, bottom - h, right - left, h);
                bottom -= h;
                break;
            case TAlign::alLeft:
                place(widget, left, top, w, bottom - top);
                left += w;
                break;
            case TAlign::alRight:
                place(widget, right - w, top, w, bottom - top);
                right -= w;
                break;
            default:
                place(widget, left, top, right - left, bottom - top);
                break;
            }
        }
    }
    for (const Entry& entry : entries_) {
        if (entry.align != TAlign::alNone) {
            continue;
        }
        const QRect r = Anchored(entry, client);
        place(entry.item->widget(), r.x(), r.y(), r.width(), r.height());
    }
    realigning_ = false;
}

void TAlignLayout::addItem(QLayoutItem* item)
{
    Entry entry;
    entry.item = item;
    entries_.push_back(entry);
    Realign();
}

QLayoutItem* TAlignLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? entries_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* TAlignLayout::takeAt(int index)
{
    if (index < 0 || index >= count()) {
        return nullptr;
    }
    QLayoutItem* item = entries_[static_cast<size_t>(index)].item;
    entries_.erase(entries_.begin() + index);
    return item;
}

int TAlignLayout::count() const
{
    return static_cast<int>(entries_.size());
}

QSize TAlignLayout::sizeHint() const
{
    // The placement comes from the sizes the form gives, not from the controls' wishes.
    return parentWidget() != nullptr ? parentWidget()->size() : QSize();
}

QSize TAlignLayout::minimumSize() const
{
    return {0, 0};
}

Qt::Orientations TAlignLayout::expandingDirections() const
{
    return Qt::Horizontal | Qt::Vertical;
}

void TAlignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Realign();
}

void TAlignLayout::invalidate()
{
    QLayout::invalidate();
    Realign();
}

bool TAlignLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        Realign();
    }
    return QLayout::eventFilter(watched, event);
}
