#include "platform/toolkit/TAlign.h"

#include "platform/toolkit/TAlignLayout.h"

#include <QWidget>

namespace {

// The layout that places control, or nullptr for a window or a control that another kind
// of layout places.
TAlignLayout* PlacerOf(QWidget* control)
{
    return control->isWindow() ? nullptr : TAlignLayout::Of(control->parentWidget());
}

}  // namespace

void SetBounds(QWidget* control, int left, int top, int width, int height)
{
    if (TAlignLayout* layout = PlacerOf(control)) {
        layout->SetBounds(control, QRect(left, top, width, height));
    } else {
        control->setGeometry(left, top, width, height);
    }
}

void SetWidth(QWidget* control, int width)
{
    if (TAlignLayout* layout = PlacerOf(control)) {
        layout->SetWidth(control, width);
    } else {
        control->resize(width, control->height());
    }
}

void SetHeight(QWidget* control, int height)
{
    if (TAlignLayout* layout = PlacerOf(control)) {
        layout->SetHeight(control, height);
    } else {
        control->resize(control->width(), height);
    }
}

void SetAlign(QWidget* control, TAlign align)
{
    if (TAlignLayout* layout = PlacerOf(control)) {
        layout->SetAlign(control, align);
    }
}

void SetAnchors(QWidget* control, TAnchors anchors)
{
    if (TAlignLayout* layout = PlacerOf(control)) {
        layout->SetAnchors(control, anchors);
    }
}

void SetBorderWidth(QWidget* parent, int width)
{
    if (TAlignLayout* layout = TAlignLayout::Of(parent)) {
        layout->SetBorderWidth(width);
    }
}
