#pragma once

#include <QtGlobal>

class QPlainTextEdit;
class QString;

// A memo that shows a log. Text is only ever appended, and the memo keeps the newest whole
// lines up to two bounds: a device or peer that never stops sending would otherwise grow the
// log until the machine runs out of memory. A line costs the text document far more than its
// characters (hundreds of bytes for a short one), so lines are bounded as well as
// characters. Both bounds are far above what a session of normal commands writes (a full
// receive with the debug view on logs 131,078 lines, about 5 MB), so only a flood ever
// loses its oldest lines. Lines are counted as the document counts them: what goes in has
// been cut into lines by AppendLogLines (platform/text/LogLines.h) and holds no CR.
constexpr qsizetype kMaxLogChars = qsizetype{16} << 20;
constexpr int kMaxLogLines = 1 << 18;

// Bounds the memo at kMaxLogLines lines and keeps no undo steps: an append would be one
// more copy of the log, and Ctrl+Z would take received lines away again. Watches where the
// person scrolls, which AppendToLog needs: every log memo is set up with this first.
void SetUpLogMemo(QPlainTextEdit& memo);

// Whether the lines appended follow the memo's last line, or lines between them were let go.
enum class TLogRun { Continues, AfterGap };

// Appends lines (separated by '\n'), which start a line of their own. Only what the log
// keeps goes in: the newest of the lines within maxChars characters and the memo's line
// bound (the newest line always, whole, however long), after the memo's oldest lines have
// made room for them. The memo thus never takes in, lays out or holds more than it keeps.
// The log is always one run of lines, its newest: when lines before these were let go (a
// gap, or the bounds keep only the newest of these), none of the memo's lines stay.
// A view at the log's end, where the person left it or never scrolled away from, follows
// the end whatever the lines' widths and the view's height; one the person scrolled up
// keeps showing the lines it showed, or the oldest line kept where those went.
void AppendToLog(QPlainTextEdit& memo, const QString& lines, qsizetype maxChars = kMaxLogChars,
                 TLogRun run = TLogRun::Continues);
