#include "platform/ui/SessionEnd.h"

#include "platform/signals/EndSignals.h"
#include "platform/signals/StartDispositions.h"
#include "platform/ui/EndOfSessionUi.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#include <utility>

namespace ui {

namespace {

// From the handlers to the event loop. Made once and kept open for the whole run: a signal
// that comes while the program is on its way out still finds it.
int wakePipe[2] = {-1, -1};
std::atomic<bool> endSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "read and written by a signal handler");
bool ending = false;

// Runs on whatever thread the signal lands on: only async-signal-safe calls. It changes no
// signal's disposition: the ends of a session come in pairs (systemd's SIGHUP at once
// after its SIGTERM, Ctrl+C pressed twice), and the second must not end the program
// inside its exit.
void OnEndSignal(int signo)
{
    const int savedErrno = errno;
    endSignalled.store(true, std::memory_order_relaxed);
    const char byte = static_cast<char>(signo);
    if (::write(wakePipe[1], &byte, 1) < 0) {
        // The pipe is full: the end is on its way.
    }
    errno = savedErrno;
}

void DrainWakePipe()
{
    char bytes[16];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
    }
}

}  // namespace

SessionEnd::SessionEnd()
{
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    // Signals that came after an earlier session had ended (its handlers stay) end no
    // session of this one.
    DrainWakePipe();
    endSignalled = false;
    notifier_ = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        DrainWakePipe();
        End();
    });
    struct sigaction onEnd {};
    onEnd.sa_handler = OnEndSignal;
    sigemptyset(&onEnd.sa_mask);
    onEnd.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kEndSignals); ++i) {
        ::sigaction(kEndSignals[i], nullptr, &oldEndActions_[i]);
        if (oldEndActions_[i].sa_handler != SIG_IGN)
            ::sigaction(kEndSignals[i], &onEnd, nullptr);
    }
    writeSignalsIgnored_ = std::make_unique<TWriteSignalsIgnored>();
    qApp->installEventFilter(this);
}

SessionEnd::~SessionEnd()
{
    if (!notifier_)
        return;
    // Once the session has ended, the program is on its way out through its exit: the
    // handlers stay to the end of the run, so a late signal cannot end it otherwise.
    if (!SessionEnding())
        for (size_t i = 0; i < std::size(kEndSignals); ++i)
            ::sigaction(kEndSignals[i], &oldEndActions_[i], nullptr);
    writeSignalsIgnored_.reset();
    notifier_.reset();
    if (endUi_)
        SetCurrentUi(&endUi_->Replaced());
    ending = false;
    endSignalled = false;
}

int SessionEnd::Exec()
{
    return ending ? 0 : QApplication::exec();
}

bool SessionEnd::eventFilter(QObject* watched, QEvent* event)
{
    // The window system's request to end (the session manager's "die" at a log-out) comes
    // as a spontaneous Quit, which would otherwise close each window in turn and so ask the
    // close question of nobody. The Quit that follows the last window's close is posted by
    // Qt itself, not spontaneous. (QCoreApplication::quit() comes the spontaneous way in
    // Qt 6 too; the programs never call it.)
    if (watched == qApp && event->type() == QEvent::Quit && event->spontaneous()) {
        End();
        return true;
    }
    return false;
}

void SessionEnd::End()
{
    if (std::exchange(ending, true))
        return;
    endUi_ = std::make_unique<EndOfSessionUi>(CurrentUi());
    SetCurrentUi(endUi_.get());
    // Innermost first, each as its close box would: a box gives its Escape answer, a
    // dialog is rejected. One that will not close is hidden, which ends its loop as well.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (QApplication::activeModalWidget() == modal)
            modal->hide();
        if (QApplication::activeModalWidget() == modal)
            break;
    }
    // Every loop running now ends once the code it runs returns to it; one started from
    // here on returns at once.
    QCoreApplication::exit(0);
}

bool SessionEnding()
{
    return ending || endSignalled.load(std::memory_order_relaxed);
}

}  // namespace ui
