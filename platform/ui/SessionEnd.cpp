#include "platform/ui/SessionEnd.h"

#include "platform/ui/EndOfSessionUi.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>
#include <utility>

namespace ui {

namespace {

constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The pipe's writing end, for the handler; -1 while no SessionEnd is there.
volatile sig_atomic_t wakeFd = -1;
bool ending = false;

// Runs on whatever thread the signal lands on: only async-signal-safe calls.
void OnEndSignal(int signo)
{
    const int savedErrno = errno;
    // The next signal of ending takes its default action: the program ends at once.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int s : kEndSignals)
        ::sigaction(s, &byDefault, nullptr);
    const char byte = static_cast<char>(signo);
    if (::write(wakeFd, &byte, 1) < 0) {
        // The pipe holds a byte already: the end is on its way.
    }
    errno = savedErrno;
}

}  // namespace

SessionEnd::SessionEnd()
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    wakeFd = pipe_[1];
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
        }
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
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &oldFileSizeAction_);
    qApp->installEventFilter(this);
}

SessionEnd::~SessionEnd()
{
    if (pipe_[0] < 0)
        return;
    for (size_t i = 0; i < std::size(kEndSignals); ++i)
        ::sigaction(kEndSignals[i], &oldEndActions_[i], nullptr);
    ::sigaction(SIGXFSZ, &oldFileSizeAction_, nullptr);
    wakeFd = -1;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
    if (endUi_)
        SetCurrentUi(&endUi_->Replaced());
    ending = false;
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
    return ending;
}

}  // namespace ui
