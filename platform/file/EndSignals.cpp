#include "platform/file/EndSignals.h"

#include <initializer_list>
#include <pthread.h>

EndSignalsHeld::EndSignalsHeld()
{
    sigset_t ends;
    ::sigemptyset(&ends);
    for (const int signo : {SIGTERM, SIGHUP, SIGINT})
        ::sigaddset(&ends, signo);
    ::pthread_sigmask(SIG_BLOCK, &ends, &old_);
}

EndSignalsHeld::~EndSignalsHeld()
{
    ::pthread_sigmask(SIG_SETMASK, &old_, nullptr);
}
