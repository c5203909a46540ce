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
    if (held_.empty() || held_.back().text.size() + line.size() >= kPiece) {
        held_.emplace_back();
        held_.back().text.reserve(std::max(kPiece, line.size() + 1));
    }
    Piece& last = held_.back();
    last.text += line;
    last.text += '\n';
    ++last.lines;
    heldBytes_ += line.size() + 1;
    ++heldLines_;
    // The oldest piece goes once the lines after it fill the log on their own: nothing of it
    // would be kept. What is held is thus at most one piece more than the log keeps.
    while (held_.size() > 1 &&
           (heldBytes_ - held_.front().text.size() > static_cast<size_t>(kMaxLogChars) ||
            heldLines_ - held_.front().lines >= static_cast<size_t>(kMaxLogLines))) {
        heldBytes_ -= held_.front().text.size();
        heldLines_ -= held_.front().lines;
        held_.pop_front();
    }
    // A device that floods the log fills a batch long before the next is due: shown at
    // once, no batch keeps the window from answering for long.
    if (heldBytes_ >= kBatchBytes || heldLines_ >= kBatchLines)
        Show();
}

void TMainLog::Show()
{
    if (held_.empty() || memo_.isHidden())
        return;
    // All held lines in one append: the memo lays out only the lines it shows, once for
    // the batch rather than once per piece.
    QString lines;
    lines.reserve(static_cast<qsizetype>(heldBytes_));
    for (const Piece& piece : held_)
        lines += ToQString(piece.text);
    lines.chop(1);
    held_.clear();
    heldBytes_ = 0;
    heldLines_ = 0;
    AppendToLog(memo_, lines);
}

bool TMainLog::eventFilter(QObject* watched, QEvent* event)
{
    // The memo is shown as the debug view is switched on (even in a window not yet shown).
    if (watched == &memo_ && event->type() == QEvent::ShowToParent)
        ui::Guarded([this] { Show(); })();
    return false;
}

}  // namespace pellicor
