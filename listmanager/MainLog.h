#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace pellicor {

// The communication log in Memo1, the debug view. Each entry is cut into the lines the memo
// shows for it (platform/text/LogLines.h: a lone CR ends a line, a long line goes on in lines
// of its own), and lines are held until Show puts them into the memo; while the debug view is
// off they wait until it is switched on, so a hidden log costs no text layout however long a
// command's log grows. Held or shown, the log keeps its newest
// lines up to the log memo's bounds (platform/toolkit/LogMemo.h), and only those ever go
// into the memo.
//
// The memo takes at most one slice of lines at a time, the oldest held: laying out a large
// held log at once would keep the window from answering for as long. Show puts in one slice
// and the rest follows a slice at a time from the event loop, each a slice interval after the
// last. Lines that newer held lines push out of the log never go in at all: a device that
// sends lines faster than the memo takes them costs the window no more than one slice per
// interval, and the memo then starts again from the oldest line held, so that the log is
// always one run of lines.
class TMainLog final : public QObject {
    Q_OBJECT

public:
    TMainLog(QPlainTextEdit& memo, std::chrono::milliseconds sliceInterval);
    Q_DISABLE_COPY_MOVE(TMainLog)

    // Held lines, each followed by a line break, in pieces of at most this many bytes and
    // kSliceLines lines: a long log is then neither copied as it grows nor allocated line by
    // line.
    static constexpr size_t kPiece = 64 * 1024;
    // The most one slice holds (whole pieces; at least one).
    static constexpr size_t kSliceBytes = 16 * kPiece;
    static constexpr size_t kSliceLines = 4096;

    void Append(const std::string& entry);
    // Puts the oldest held slice into the memo, unless it is hidden.
    void Show();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Piece {
        std::string text;
        size_t lines = 0;
    };

    // Holds `count` lines, each followed by LF.
    void Hold(std::string_view lines, size_t count);

    QPlainTextEdit& memo_;
    std::deque<Piece> held_;
    size_t heldBytes_ = 0;
    size_t heldLines_ = 0;
    // Held lines were let go before they were shown: the memo's lines are older than a gap.
    bool gap_ = false;
    QTimer nextSlice_;
    // The lines of the entry being appended; kept to keep its room.
    std::string entryLines_;
};

}  // namespace pellicor
