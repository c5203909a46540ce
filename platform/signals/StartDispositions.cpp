#include "platform/signals/StartDispositions.h"

#include <csignal>
#include <cstddef>
#include <iterator>

namespace {

constexpr int kWriteSignals[] = {SIGPIPE, SIGXFSZ};

// What they were before the program ignored them; read by a child after fork.
struct sigaction startActions[std::size(kWriteSignals)]{};
int ignoring = 0;

}  // namespace

TWriteSignalsIgnored::TWriteSignalsIgnored()
{
    if (ignoring++ > 0)
        return;
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (size_t i = 0; i < std::size(kWriteSignals); ++i)
        ::sigaction(kWriteSignals[i], &ignore, &startActions[i]);
}

TWriteSignalsIgnored::~TWriteSignalsIgnored()
{
    if (ignoring == 1)
        GiveStartDispositions();
    --ignoring;
}

void GiveStartDispositions()
{
    if (ignoring == 0)
        return;
    for (size_t i = 0; i < std::size(kWriteSignals); ++i)
        ::sigaction(kWriteSignals[i], &startActions[i], nullptr);
}
