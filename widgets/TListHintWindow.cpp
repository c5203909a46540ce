#include "widgets/TListHintWindow.h"

#include <QEvent>
#include <QListWidget>
#include <QToolTip>

TListHintWindow::TListHintWindow(QWidget* owner)
    : QFrame(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      list_(new QListWidget(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setPalette(QToolTip::palette());
    setFont(QToolTip::font());
    list_->setObjectName(QStringLiteral("LookupList"));
    list_->setFrameStyle(QFrame::NoFrame);
    list_->setUniformItemSizes(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setFocusPolicy(Qt::StrongFocus);
    resize(0, 0);
    hide();
}

void TListHintWindow::changeEvent(QEvent* e)
{
    QFrame::changeEvent(e);
    if (e->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        list_->setFocus(Qt::ActiveWindowFocusReason);
    else
        hide();
}

void TListHintWindow::resizeEvent(QResizeEvent* e)
{
    QFrame::resizeEvent(e);
    list_->setGeometry(contentsRect());
}
