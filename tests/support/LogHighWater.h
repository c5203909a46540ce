#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

// The most lines and characters (without the closing paragraph mark) a log memo's document
// held after any change since the watch began: what the log ever took in and laid out, not
// only what it ends with.
class LogHighWater final : public QObject {
public:
    explicit LogHighWater(const QPlainTextEdit& memo)
    {
        const QTextDocument* document = memo.document();
        connect(document, &QTextDocument::contentsChanged, this, [this, document] {
            lines = std::max(lines, document->blockCount());
            characters = std::max<qsizetype>(characters, document->characterCount() - 1);
        });
    }

    int lines = 0;
    qsizetype characters = 0;
};
