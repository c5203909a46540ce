#pragma once

#include <QtGlobal>

class QPlainTextEdit;
class QString;

// A memo that shows a log. Text is only ever appended, and the memo keeps the newest
// lines up to a bound: a device or peer that never stops sending would otherwise grow the
// log until the machine runs out of memory. Far above what a session of normal commands
// writes (a full receive logs about 5 MB), so only a flood ever loses its oldest lines.
constexpr qsizetype kMaxLogChars = qsizetype{16} << 20;

// Keeps no undo steps: an append would be one more copy of the log, and Ctrl+Z would take
// received lines away again.
void SetUpLogMemo(QPlainTextEdit& memo);

// Appends lines, which start a line of their own. Past maxChars characters the oldest
// whole lines go, down to three quarters of it, so that trimming comes once per quarter
// of the bound appended rather than with every line.
void AppendToLog(QPlainTextEdit& memo, const QString& lines, qsizetype maxChars = kMaxLogChars);
