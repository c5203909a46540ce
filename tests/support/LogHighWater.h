#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>

// The most lines and characters (without the closing paragraph mark) a log memo's document
// held after any change since the watch began: what the log ever took in and laid out, not
// only what it ends with. Also the most lines one change added (an append, after the trim
// that made room for it).
class LogHighWater final : public QObject {
public:
    explicit LogHighWater(const QPlainTextEdit& memo)
    {
        const QTextDocument* document = memo.document();
        connect(document, &QTextDocument::contentsChanged, this, [this, document] {
            const int now = document->blockCount();
            lines = std::max(lines, now);
            characters = std::max<qsizetype>(characters, document->characterCount() - 1);
            linesAdded = std::max(linesAdded, now - last_);
            last_ = now;
        });
        last_ = document->blockCount();
    }

    int lines = 0;
    qsizetype characters = 0;
    int linesAdded = 0;

private:
    int last_ = 0;
};
