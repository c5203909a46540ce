#include "platform/signals/StartDispositions.h"

#include <csignal>
#include <cstddef>
#include <iterator>

namespace {

constexpr int kWriteSignals[] = {SIGPIPE, SIGXFSZ};

// What they were before the program ignored them; read by a child after fork.
struct sigaction startActions[std::size(kWriteSignals)]{};
bool ignoring = false;

}  // namespace

TWriteSignalsIgnored::TWriteSignalsIgnored()
{
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    for (size_t i = 0; i < std::size(kWriteSignals); ++i)
        ::sigaction(kWriteSignals[i], &ignore, &startActions[i]);
    ignoring = true;
}

TWriteSignalsIgnored::~TWriteSignalsIgnored()
{
    GiveStartDispositions();
    ignoring = false;
}

void GiveStartDispositions()
{
    if (!ignoring)
        return;
    for (size_t i = 0; i < std::size(kWriteSignals); ++i)
        ::sigaction(kWriteSignals[i], &startActions[i], nullptr);
}
