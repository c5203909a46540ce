#include "platform/toolkit/LogMemo.h"

#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// Whether the view follows the log's end: the person's choice, made where they last
// scrolled. The scroll bar's value cannot tell it: a horizontal scroll bar that appears for
// a wide line, or a smaller window, makes the view shorter and leaves the value short of
// the new maximum while the view is still meant to be at the end.
class LogEnd final : public QObject {
public:
    explicit LogEnd(QPlainTextEdit& memo);

    static LogEnd& Of(const QPlainTextEdit& memo);

    bool follows = true;
    // Set while an append moves the view: those moves are not the person's.
    bool appending = false;
};

constexpr char kLogEndName[] = "LogEnd";

LogEnd::LogEnd(QPlainTextEdit& memo) : QObject(&memo)
{
    setObjectName(kLogEndName);
    QScrollBar& bar = *memo.verticalScrollBar();
    connect(&bar, &QScrollBar::valueChanged, this, [this, &bar](int value) {
        if (!appending)
            follows = value == bar.maximum();
    });
    // A view at the end stays there as the view's height or the log's length changes,
    // also where the change is laid out after the append that made it.
    connect(&bar, &QScrollBar::rangeChanged, this, [this, &bar](int, int maximum) {
        if (follows)
            bar.setValue(maximum);
    });
}

LogEnd& LogEnd::Of(const QPlainTextEdit& memo)
{
    // Made by SetUpLogMemo, which every log memo is set up with.
    return *static_cast<LogEnd*>(memo.findChild<QObject*>(kLogEndName, Qt::FindDirectChildrenOnly));
}

// The newest whole lines of a text: where they start and how many they are.
struct NewestLines {
    qsizetype start = 0;
    int count = 0;
};

// The newest whole lines of `lines` within maxChars characters and maxLines lines (0: no
// line bound); the newest line always, however long.
NewestLines NewestLinesWithin(const QString& lines, qsizetype maxChars, int maxLines)
{
    NewestLines newest{lines.lastIndexOf(u'\n') + 1, 1};
    while (newest.start > 0 && (maxLines == 0 || newest.count < maxLines)) {
        // The line before ends at newest.start - 1; an empty one when that is position 0.
        const qsizetype previous =
            newest.start >= 2 ? lines.lastIndexOf(u'\n', newest.start - 2) + 1 : 0;
        if (lines.size() - previous > maxChars)
            break;
        newest = {previous, newest.count + 1};
    }
    return newest;
}

// Lets every line of the memo go; gives how many there were.
int DropAll(QPlainTextEdit& memo)
{
    const int blocks = memo.document()->isEmpty() ? 0 : memo.document()->blockCount();
    memo.clear();
    return blocks;
}

// Lets the memo's oldest lines go when `lines` new lines of `chars` characters would take it
// past a bound: down to three quarters of both, so that trimming comes once per quarter of a
// bound appended rather than with every append (each trim can make the document copy all
// of its text). Gives the number of lines let go.
int MakeRoom(QPlainTextEdit& memo, qsizetype chars, int lines, qsizetype maxChars)
{
    QTextDocument& document = *memo.document();
    if (document.isEmpty())
        return 0;
    const int maxLines = document.maximumBlockCount();
    const int blocks = document.blockCount();
    // The count holds the document's closing paragraph mark, which stands for the line
    // break that the new lines begin with.
    const qsizetype total = document.characterCount() + chars;
    if (total <= maxChars && (maxLines == 0 || blocks + lines <= maxLines))
        return 0;
    int drop = maxLines > 0 ? blocks + lines - maxLines / 4 * 3 : 0;
    const qsizetype excess = total - maxChars / 4 * 3;
    if (excess > document.characterCount())
        drop = blocks;
    else if (excess > 0)
        drop = std::max(drop, document.findBlock(static_cast<int>(excess - 1)).blockNumber() + 1);
    if (drop >= blocks)
        return DropAll(memo);
    if (drop > 0) {
        // Selected by position inside an edit block, the lines go without being laid out
        // first (moving over them block by block, as the document's own line bound does,
        // would lay out each).
        QTextCursor cursor(&document);
        cursor.beginEditBlock();
        cursor.setPosition(document.findBlockByNumber(drop).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.endEditBlock();
    }
    return std::max(drop, 0);
}

}  // namespace

void SetUpLogMemo(QPlainTextEdit& memo)
{
    memo.setUndoRedoEnabled(false);
    memo.setMaximumBlockCount(kMaxLogLines);
    new LogEnd(memo);
}

void AppendToLog(QPlainTextEdit& memo, const QString& lines, qsizetype maxChars, TLogRun run)
{
    const NewestLines newest = NewestLinesWithin(lines, maxChars, memo.maximumBlockCount());
    // The vertical position is the first line shown (the memo does not wrap lines).
    QScrollBar& bar = *memo.verticalScrollBar();
    const int top = bar.value();
    LogEnd& end = LogEnd::Of(memo);
    const QScopedValueRollback<bool> appending(end.appending, true);
    const int dropped = run == TLogRun::AfterGap || newest.start > 0
                            ? DropAll(memo)
                            : MakeRoom(memo, lines.size() - newest.start, newest.count, maxChars);
    memo.appendPlainText(newest.start == 0 ? lines : lines.sliced(newest.start));
    // A trim leaves the position a line number, now of a later line: lowered by the lines
    // let go, it shows the same lines again. The memo's own append scrolls to the end where
    // it takes the last line to be in sight: a view scrolled up goes back to its place.
    bar.setValue(end.follows ? bar.maximum() : std::max(0, top - dropped));
}
