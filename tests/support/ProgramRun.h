#pragma once

#include "simulators/TempDir.h"

#include <QProcess>

#include <string>
#include <sys/resource.h>
#include <vector>

// One of the project's programs run as a person runs it: from its own file linked (or
// copied) into a folder, so the files beside it land there; offscreen; with the signals
// of ending and those a write raises at their defaults whatever the test runner ignores,
// and, if asked, started as a person may start it otherwise (TStart).
class ProgramRun final {
public:
    struct TStart {
        rlim_t fileSizeLimit = RLIM_INFINITY;
        // Ignored from the start, as `nohup` starts a program with SIGHUP ignored.
        std::vector<int> ignoredSignals;
        // Its standard error a pipe whose reader has gone, as `2>&1 | tee log` in a
        // terminal that was closed: Errors() then has nothing. Qt's line about the missing
        // runtime folder goes there first, before any window.
        bool errorsToClosedPipe = false;
    };

    // programFile is linked into folder under its own name and started from there. Reads
    // of the files in folder are watched from before the start.
    ProgramRun(const std::string& programFile, const std::string& folder, const TStart& start);
    ProgramRun(const std::string& programFile, const std::string& folder,
               rlim_t fileSizeLimit = RLIM_INFINITY)
        : ProgramRun(programFile, folder, TStart{fileSizeLimit, {}, false})
    {
    }
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // Waits until the program has opened `name` in the folder and closed it again without
    // writing: how a test knows the start-up has read its file and reached as far as that.
    // False after the time-out or when the program ended first.
    bool WaitUntilRead(const std::string& name);
    void Signal(int signo);
    // False when the program has not ended within the time-out.
    bool WaitForEnd();
    // Signals the program once it has read `name` and waits for its end; either wait that
    // fails fails the test.
    void SignalOnceRead(const std::string& name, int signo);
    // After the end: the exit status, or -1 when a signal ended the program.
    int ExitCode() const;
    // After the end: the signal that ended the program, or 0 when it exited.
    int EndingSignal() const;
    // What the program wrote to the standard error.
    std::string Errors();
    // How it ended and what it wrote there, for a failing test's message.
    std::string Ending();

private:
    // Qt's runtime folder, which a person's session has: without one Qt says so on the
    // standard error.
    TempDir runtimeFolder_;
    QProcess process_;
    int watch_ = -1;
    std::string errors_;
};
