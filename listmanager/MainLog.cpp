#include "listmanager/MainLog.h"

#include "platform/text/Cp1252.h"
#include "platform/text/LogLines.h"
#include "platform/toolkit/LogMemo.h"
#include "platform/ui/Guarded.h"

#include <QEvent>
#include <QPlainTextEdit>

#include <utility>

namespace pellicor {

TMainLog::TMainLog(QPlainTextEdit& memo, std::chrono::milliseconds sliceInterval)
    : QObject(&memo), memo_(memo)
{
    memo_.installEventFilter(this);
    nextSlice_.setSingleShot(true);
    nextSlice_.setInterval(sliceInterval);
    connect(&nextSlice_, &QTimer::timeout, this, ui::Guarded([this] { Show(); }));
}

void TMainLog::Append(const std::string& entry)
{
    ForEachLogLine(entry, 0, [this](std::string_view line) { Hold(line); });
    // The oldest piece goes once the lines after it fill the log on their own: nothing of it
    // would be kept, nor anything the memo holds. What is held is thus at most one piece
    // more than the log keeps.
    while (held_.size() > 1 &&
           (heldBytes_ - held_.front().text.size() > static_cast<size_t>(kMaxLogChars) ||
            heldLines_ - held_.front().lines >= static_cast<size_t>(kMaxLogLines))) {
        heldBytes_ -= held_.front().text.size();
        heldLines_ -= held_.front().lines;
        held_.pop_front();
        gap_ = true;
    }
}

void TMainLog::Hold(std::string_view line)
{
    if (held_.empty() || held_.back().lines == kSliceLines ||
        held_.back().text.size() + line.size() >= kPiece)
        held_.emplace_back();
    Piece& last = held_.back();
    last.text += line;
    last.text += '\n';
    ++last.lines;
    heldBytes_ += line.size() + 1;
    ++heldLines_;
}

void TMainLog::Show()
{
    if (held_.empty() || memo_.isHidden())
        return;
    // The slice's pieces in one append: the memo lays out only the lines it shows, once
    // for the slice rather than once per piece.
    QString lines;
    size_t bytes = 0;
    size_t count = 0;
    while (!held_.empty() && (count == 0 || (bytes + held_.front().text.size() <= kSliceBytes &&
                                             count + held_.front().lines <= kSliceLines))) {
        Piece& piece = held_.front();
        lines += ToQString(piece.text);
        bytes += piece.text.size();
        count += piece.lines;
        heldBytes_ -= piece.text.size();
        heldLines_ -= piece.lines;
        held_.pop_front();
    }
    lines.chop(1);
    AppendToLog(memo_, lines, kMaxLogChars,
                std::exchange(gap_, false) ? TLogRun::AfterGap : TLogRun::Continues);
    if (!held_.empty())
        nextSlice_.start();
}

bool TMainLog::eventFilter(QObject* watched, QEvent* event)
{
    // The memo is shown as the debug view is switched on (even in a window not yet shown).
    if (watched == &memo_ && event->type() == QEvent::ShowToParent)
        ui::Guarded([this] { Show(); })();
    return false;
}

}  // namespace pellicor
