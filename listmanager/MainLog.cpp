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
    entryLines_.clear();
    const size_t count = AppendLogLines(entryLines_, entry);
    Hold(entryLines_, count);
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

void TMainLog::Hold(std::string_view lines, size_t count)
{
    while (count > 0) {
        if (held_.empty() || held_.back().lines == kSliceLines ||
            held_.back().text.size() + kMaxLogLineLength >= kPiece) {
            held_.emplace_back();
            held_.back().text.reserve(kPiece);
        }
        Piece& last = held_.back();
        // As many whole lines as the piece has room for (a line is at most
        // kMaxLogLineLength characters and its LF).
        size_t bytes = lines.size();
        size_t taken = count;
        const size_t roomLines = kSliceLines - last.lines;
        const size_t roomBytes = kPiece - last.text.size();
        if (count > roomLines || bytes > roomBytes) {
            bytes = 0;
            taken = 0;
            for (size_t i = 0; i < lines.size() && i < roomBytes && taken < roomLines; ++i)
                if (lines[i] == '\n') {
                    bytes = i + 1;
                    ++taken;
                }
        }
        last.text.append(lines.substr(0, bytes));
        last.lines += taken;
        heldBytes_ += bytes;
        heldLines_ += taken;
        lines.remove_prefix(bytes);
        count -= taken;
    }
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
