// TFieldEdit: OLE drag and drop of text, as drop target and as drag source.
#include "widgets/FieldEdit.h"

#include "platform/ole/DragDrop.h"
#include "platform/text/Cp1252.h"
#include "widgets/FieldEditDD.h"
#include "widgets/TEditDropTarget.h"

#include <QMouseEvent>

void TFieldEdit::SetOleDropTarget(bool value)
{
    oleDropTarget_ = value;
    if (value) {
        // A second registration would be refused and forget the one that stands.
        if (dropTargetRegistered_)
            return;
        const ole::ComPtr<TEditDropTarget> target(new TEditDropTarget(this));
        dropTargetRegistered_ = ole::RegisterDragDrop(this, target.get()) == ole::S_OK;
    } else if (dropTargetRegistered_) {
        ole::RevokeDragDrop(this);
        dropTargetRegistered_ = false;
    }
}

void TFieldEdit::UpdateDropCaret(QPoint screenPoint)
{
    const int i = CharFromPos(mapFromGlobal(screenPoint));
    // An empty edit has no character to stand at: the caret goes to the corner.
    const QPoint q = QLineEdit::text().isEmpty() ? QPoint(0, 0) : PosFromChar(i);
    if (q != dropCaretPos_) {
        InvalidateDropCaret(dropCaretPos_);
        InvalidateDropCaret(q);
        dropCaretPos_ = q;
    }
}

void TFieldEdit::ClearDropCaret()
{
    const QPoint old = dropCaretPos_;
    dropCaretPos_ = QPoint(-1, -1);
    InvalidateDropCaret(old);
}

void TFieldEdit::InvalidateDropCaret(QPoint p)
{
    if (p.x() == -1 || p.y() == -1)
        return;
    update(QRect(p, QSize(1, QFontMetrics(font()).height())).adjusted(-1, -1, 1, 1));
}

void TFieldEdit::MoveCaretToCursor(QPoint screenPoint)
{
    SetSel(CharFromPos(mapFromGlobal(screenPoint)), 0);
    // The text goes between Prefix and Suffix, never into them.
    KeepCaretInEditable();
}

bool TFieldEdit::DropTextAt(QPoint screenPoint, const std::string& text, bool ctrlDown)
{
    std::string t = text.substr(0, text.find('\r'));
    t = t.substr(0, t.find('\n'));
    if (ownDragActive_) {
        // Dropped back into the dragged selection: the text stays as it is.
        const int i = CharFromPos(mapFromGlobal(screenPoint));
        if (SelLength() > 0 && SelStart() <= i && i <= SelStart() + SelLength()) {
            ClearDropCaret();
            return false;
        }
        if (!ctrlDown)
            del();
    }
    ClearDropCaret();
    MoveCaretToCursor(screenPoint);
    insert(ToQString(t));
    update();
    return true;
}

int TFieldEdit::GetTextWidth() const
{
    return QFontMetrics(font()).horizontalAdvance(ToQString(Text()));
}

void TFieldEdit::StartDrag()
{
    const std::string s = ToCp1252(selectedText());
    ownDragActive_ = true;
    uint32_t effect = ole::DROPEFFECT_NONE;
    const ole::HRESULT r = StartOleDrag(s, "", ole::DROPEFFECT_COPY | ole::DROPEFFECT_MOVE, effect);
    ownDragActive_ = false;
    // Only a target that took the text as a move lets it go here.
    if (r == ole::DRAGDROP_S_DROP && effect == ole::DROPEFFECT_MOVE) {
        if (SelLength() > 0)
            del();
        ClearDropCaret();
        update();
    }
    dragPending_ = false;
}
