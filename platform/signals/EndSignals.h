#pragma once

#include <csignal>

// The signals that end a session: SIGTERM (a log-out or shut-down), SIGHUP (a closed
// terminal), SIGINT (Ctrl+C).
inline constexpr int kEndSignals[] = {SIGTERM, SIGHUP, SIGINT};

// Holds the signals that end a session blocked in this thread for its life, so that none
// stops the write of a file half way: one that comes meanwhile is delivered when the guard
// goes, with the file whole or given back. Where another thread does not block them, a signal sent to the
// process may be handled there meanwhile; its handler must then leave the write to end.
class EndSignalsHeld final {
public:
    EndSignalsHeld();
    ~EndSignalsHeld();
    EndSignalsHeld(const EndSignalsHeld&) = delete;
    EndSignalsHeld& operator=(const EndSignalsHeld&) = delete;

private:
    sigset_t old_{};
};
