#include "platform/signals/EndSignals.h"

#include <pthread.h>

EndSignalsHeld::EndSignalsHeld()
{
    sigset_t ends;
    ::sigemptyset(&ends);
    for (const int signo : kEndSignals)
        ::sigaddset(&ends, signo);
    ::pthread_sigmask(SIG_BLOCK, &ends, &old_);
}

EndSignalsHeld::~EndSignalsHeld()
{
    ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
}
