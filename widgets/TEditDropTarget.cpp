#include "widgets/TEditDropTarget.h"

#include "widgets/FieldEdit.h"

namespace {

QPoint ScreenPoint(ole::POINTL p)
{
    return {p.x, p.y};
}

}  // namespace

void TEditDropTarget::DragMouseMove(ole::POINTL point, bool& allow)
{
    allow = true;
    if (ownerEdit_)
        ownerEdit_->UpdateDropCaret(ScreenPoint(point));
}

ole::HRESULT TEditDropTarget::DragLeave()
{
    if (ownerEdit_)
        ownerEdit_->ClearDropCaret();
    return ole::S_OK;
}

void TEditDropTarget::DropText(ole::POINTL point, const std::string& text)
{
    if (ownerEdit_ &&
        ownerEdit_->DropTextAt(ScreenPoint(point), text, (DropKeyState() & ole::MK_CONTROL) != 0))
        Taken();
}
