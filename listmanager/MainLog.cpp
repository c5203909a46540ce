#include "listmanager/MainLog.h"

#include "platform/text/Cp1252.h"
#include "platform/toolkit/LogMemo.h"
#include "platform/ui/Guarded.h"

#include <QEvent>
#include <QPlainTextEdit>

#include <algorithm>

namespace pellicor {

TMainLog::TMainLog(QPlainTextEdit& memo) : QObject(&memo), memo_(memo)
{
    memo_.installEventFilter(this);
}

void TMainLog::Append(const std::string& line)
{
    if (held_.empty() || held_.back().size() + line.size() >= kPiece) {
        held_.emplace_back();
        held_.back().reserve(std::max(kPiece, line.size() + 1));
    }
    held_.back() += line;
    held_.back() += '\n';
    heldBytes_ += line.size() + 1;
    // The oldest pieces go as they would from the memo: whole lines, past the bound.
    while (heldBytes_ > static_cast<size_t>(kMaxLogChars) && held_.size() > 1) {
        heldBytes_ -= held_.front().size();
        held_.pop_front();
    }
}

void TMainLog::Show()
{
    if (held_.empty() || memo_.isHidden())
        return;
    // One append of many lines costs about what one of a single line does; each starts a
    // line of its own.
    for (std::string& piece : held_) {
        piece.pop_back();
        AppendToLog(memo_, ToQString(piece));
    }
    held_.clear();
    heldBytes_ = 0;
}

bool TMainLog::eventFilter(QObject* watched, QEvent* event)
{
    // The memo is shown as the debug view is switched on (even in a window not yet shown).
    if (watched == &memo_ && event->type() == QEvent::ShowToParent)
        ui::Guarded([this] { Show(); })();
    return false;
}

}  // namespace pellicor
