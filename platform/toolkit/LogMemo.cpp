#include "platform/toolkit/LogMemo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void SetUpLogMemo(QPlainTextEdit& memo)
{
    memo.setUndoRedoEnabled(false);
}

void AppendToLog(QPlainTextEdit& memo, const QString& lines, qsizetype maxChars)
{
    memo.appendPlainText(lines);
    QTextDocument& document = *memo.document();
    // The count holds the document's closing paragraph mark too.
    const qsizetype count = document.characterCount() - 1;
    if (count <= maxChars)
        return;
    const int drop = static_cast<int>(count - maxChars / 4 * 3);
    QTextBlock first = document.findBlock(drop);
    if (first.position() < drop)
        first = first.next();
    // The newest line stays whole even when it alone is longer than what is kept: the log
    // never shows part of a line.
    if (!first.isValid())
        first = document.lastBlock();
    QTextCursor cursor(&document);
    cursor.setPosition(first.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}
