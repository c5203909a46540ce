#include "tests/support/ProgramRun.h"

#include <QProcessEnvironment>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Far beyond a start-up or an exit of these programs, also under the sanitizers.
constexpr int kTimeoutMs = 60000;

}  // namespace

ProgramRun::ProgramRun(const std::string& programFile, const std::string& folder,
                       const TStart& start)
{
    const fs::path program = fs::path(folder) / fs::path(programFile).filename();
    std::error_code linked;
    fs::create_hard_link(programFile, program, linked);
    if (linked)
        fs::copy_file(programFile, program);
    watch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ::inotify_add_watch(watch_, folder.c_str(), IN_CLOSE_NOWRITE);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    // Into a closed error pipe, Qt's own line at start-up (no runtime folder) is written too.
    if (start.errorsToClosedPipe)
        environment.remove("XDG_RUNTIME_DIR");
    else
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtimeFolder_.path()));
    process_.setProcessEnvironment(environment);
    process_.setProgram(QString::fromStdString(program.string()));
    process_.setWorkingDirectory(QString::fromStdString(folder));
    int errorPipe[2] = {-1, -1};
    if (start.errorsToClosedPipe) {
        if (::pipe2(errorPipe, O_CLOEXEC) != 0)
            ADD_FAILURE() << "no pipe for the standard error";
        process_.setStandardErrorFile(QString("/dev/fd/%1").arg(errorPipe[1]));
    }
    process_.setChildProcessModifier([start] {
        // Only what is safe between fork and exec.
        for (int signo : {SIGTERM, SIGHUP, SIGINT, SIGXFSZ, SIGPIPE})
            ::signal(signo, SIG_DFL);
        for (int signo : start.ignoredSignals)
            ::signal(signo, SIG_IGN);
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = start.fileSizeLimit;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    process_.start();
    process_.waitForStarted(kTimeoutMs);
    // The reader goes before the program has written anything.
    for (int end : errorPipe)
        if (end >= 0)
            ::close(end);
}

ProgramRun::~ProgramRun()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(kTimeoutMs);
    }
    ::close(watch_);
}

bool ProgramRun::WaitUntilRead(const std::string& name)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kTimeoutMs);
    for (;;) {
        alignas(inotify_event) std::array<char, 4096> buffer{};
        ssize_t length = 0;
        while ((length = ::read(watch_, buffer.data(), buffer.size())) > 0)
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                if (event->len > 0 && name == event->name)
                    return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || process_.state() == QProcess::NotRunning ||
            process_.waitForFinished(0))
            return false;
        // Waits a little at a time, so a program that ends meanwhile is noticed.
        pollfd ready{watch_, POLLIN, 0};
        ::poll(&ready, 1, static_cast<int>(std::min<long>(left.count(), 100)));
    }
}

void ProgramRun::SignalOnceRead(const std::string& name, int signo)
{
    ASSERT_TRUE(WaitUntilRead(name)) << Ending();
    Signal(signo);
    ASSERT_TRUE(WaitForEnd()) << Ending();
}

void ProgramRun::Signal(int signo)
{
    ::kill(static_cast<pid_t>(process_.processId()), signo);
}

bool ProgramRun::WaitForEnd()
{
    const bool ended = process_.waitForFinished(kTimeoutMs);
    errors_ += process_.readAllStandardError().toStdString();
    return ended;
}

int ProgramRun::ExitCode() const
{
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

int ProgramRun::EndingSignal() const
{
    // A program ended by a signal leaves that signal's number as its exit code.
    return process_.exitStatus() == QProcess::CrashExit ? process_.exitCode() : 0;
}

std::string ProgramRun::Errors()
{
    errors_ += process_.readAllStandardError().toStdString();
    return errors_;
}

std::string ProgramRun::Ending()
{
    return "exit code " + std::to_string(ExitCode()) + ", ended by signal " +
           std::to_string(EndingSignal()) + "\n" + Errors();
}
