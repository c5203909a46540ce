#pragma once

#include <QObject>

#include <csignal>
#include <memory>

class QSocketNotifier;
class TWriteSignalsIgnored;

namespace ui {

class EndOfSessionUi;

// How the end of a desktop session ends the program: through its normal exit, so the
// files it writes at every exit are written. The ends are SIGTERM (a log-out, a
// shut-down), SIGHUP (a closed terminal), SIGINT (Ctrl+C) and the session manager's
// request to end (which Qt delivers as a spontaneous Quit event). From then on nobody is
// at the screen: each modal window open is closed as Escape would close it, every message
// loop ends, and what the exit shows goes to the standard error instead of waiting for a
// person (EndOfSessionUi). A command that lets messages through runs to its end first,
// unless it asks SessionEnding() and stops. The signals change no signal's disposition:
// one that follows (systemd's SIGHUP right after its SIGTERM, a second Ctrl+C), in any
// order and at any gap, changes nothing, and once the session has ended the handlers stay
// to the end of the run. A signal the program was started with ignored (nohup, a
// background job) stays ignored.
// It also makes a write past the file-size limit fail with EFBIG, reported like a full
// disk, instead of killing the program with SIGXFSZ, and a write to a pipe whose reader has
// gone (standard error piped to `tee` in a closed terminal) fail with EPIPE instead of
// killing it with SIGPIPE (TWriteSignalsIgnored; the programs' main ignores both already,
// before Qt may write its first line).
// One per program, made after the QApplication and before the windows, kept until they are
// gone: the signal handlers reach it through one pipe.
class SessionEnd final : public QObject {
public:
    SessionEnd();
    ~SessionEnd() override;
    Q_DISABLE_COPY_MOVE(SessionEnd)

    // The message loop until it ends (the main window closed, or the session ended); at
    // once when the session ended before it ran (during the start-up's own boxes).
    int Exec();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void End();

    std::unique_ptr<QSocketNotifier> notifier_;
    std::unique_ptr<EndOfSessionUi> endUi_;
    struct sigaction oldEndActions_[3]{};
    std::unique_ptr<TWriteSignalsIgnored> writeSignalsIgnored_;
};

// True once the session's end has begun: a window then closes without asking anything.
// True from the moment an end signal comes, also while a command blocks the message loop.
bool SessionEnding();

}  // namespace ui
