#pragma once

// SIGPIPE (a write to a pipe whose reader has gone: standard error piped to `tee` in a
// terminal since closed) and SIGXFSZ (a write past the file-size limit) kill the program
// unless ignored; ignored, the write fails with EPIPE or EFBIG, which the program reports
// and gets past. An ignored signal stays ignored across exec, so a program started from
// here is given both as this program was started with.

// Ignores both while it lives; gives back what they were when it goes. They nest: the
// outermost one, made first thing in main (before Qt may write its first line), tells what
// the program was started with; one inside it changes nothing.
class TWriteSignalsIgnored final {
public:
    TWriteSignalsIgnored();
    ~TWriteSignalsIgnored();
    TWriteSignalsIgnored(const TWriteSignalsIgnored&) = delete;
    TWriteSignalsIgnored& operator=(const TWriteSignalsIgnored&) = delete;
};

// In a child process between fork and exec (async-signal-safe): both signals as this
// program had them before a TWriteSignalsIgnored ignored them.
void GiveStartDispositions();
