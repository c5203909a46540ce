#pragma once

#include <QObject>

#include <cstddef>
#include <deque>
#include <string>

class QPlainTextEdit;

namespace pellicor {

// The communication log in Memo1, the debug view. Lines are held and go into the memo
// together when Show runs, or as soon as a batch's worth is held; while the debug view is
// off they wait until it is switched on, so a hidden log costs no text layout however long
// a command's log grows. Held or shown, the log keeps its newest lines up to the log memo's
// bounds (platform/toolkit/LogMemo.h), and only those ever go into the memo.
class TMainLog final : public QObject {
    Q_OBJECT

public:
    explicit TMainLog(QPlainTextEdit& memo);
    Q_DISABLE_COPY_MOVE(TMainLog)

    void Append(const std::string& line);
    // Puts the held lines into the memo, unless it is hidden.
    void Show();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Held lines, each followed by a line break, in pieces of about this many bytes: a long
    // log is then neither copied as it grows nor allocated line by line.
    static constexpr size_t kPiece = 64 * 1024;
    // The most a batch holds (far more than a normal command logs between two batches).
    static constexpr size_t kBatchBytes = 16 * kPiece;
    static constexpr size_t kBatchLines = 16 * 1024;

    struct Piece {
        std::string text;
        size_t lines = 0;
    };

    QPlainTextEdit& memo_;
    std::deque<Piece> held_;
    size_t heldBytes_ = 0;
    size_t heldLines_ = 0;
};

}  // namespace pellicor
