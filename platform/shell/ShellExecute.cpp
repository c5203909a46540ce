#include "platform/shell/ShellExecute.h"

#include "platform/signals/StartDispositions.h"

#include <QStandardPaths>
#include <QString>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The shell's failure codes that a caller may meet here.
constexpr intptr_t kFileNotFound = 2;
constexpr intptr_t kAccessDenied = 5;
constexpr intptr_t kNoAssociation = 31;
constexpr intptr_t kOutOfResources = 0;
constexpr intptr_t kStarted = 42;

thread_local int lastError = 0;
ConsoleLauncher launcherOverride;

std::string FindTerminalEmulator()
{
    for (const char* name : {"x-terminal-emulator", "xterm"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path.toStdString();
    }
    return {};
}

// Runs argv detached: the grandchild execs and is adopted by init, so no zombie is left
// behind; a failing exec sends its errno back through a pipe closed on a successful exec.
// It gets the signals this program ignores while it runs as this program got them.
int SpawnDetached(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    int pipeFd[2];
    if (pipe2(pipeFd, O_CLOEXEC) != 0)
        return errno;
    const pid_t child = fork();
    if (child < 0) {
        const int err = errno;
        close(pipeFd[0]);
        close(pipeFd[1]);
        return err;
    }
    if (child == 0) {
        // Only async-signal-safe calls between fork and exec.
        GiveStartDispositions();
        close(pipeFd[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            execv(args[0], args.data());
            const int err = errno;
            [[maybe_unused]] const ssize_t n = write(pipeFd[1], &err, sizeof err);
            _exit(127);
        }
        if (grandchild < 0) {
            const int err = errno;
            [[maybe_unused]] const ssize_t n = write(pipeFd[1], &err, sizeof err);
        }
        _exit(0);
    }
    close(pipeFd[1]);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    int err = 0;
    ssize_t n;
    do {
        n = read(pipeFd[0], &err, sizeof err);
    } while (n < 0 && errno == EINTR);
    close(pipeFd[0]);
    return n == static_cast<ssize_t>(sizeof err) ? err : 0;
}

int LaunchInTerminal(const std::vector<std::string>& command)
{
    const std::string terminal = FindTerminalEmulator();
    if (terminal.empty())
        return ENOENT;
    std::vector<std::string> argv{terminal, "-e"};
    argv.insert(argv.end(), command.begin(), command.end());
    return SpawnDetached(argv);
}

std::string ProgramName(const std::string& file)
{
    const size_t first = file.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    std::string name = file.substr(first, file.find_last_not_of(" \t") + 1 - first);
    if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".exe") == 0)
        name.resize(name.size() - 4);
    return name;
}

void SplitAtBlanks(const std::string& text, std::vector<std::string>& parts)
{
    size_t pos = 0;
    while ((pos = text.find_first_not_of(" \t", pos)) != std::string::npos) {
        const size_t end = text.find_first_of(" \t", pos);
        parts.push_back(text.substr(pos, end - pos));
        pos = end;
    }
}

intptr_t Failure(int err)
{
    lastError = err;
    switch (err) {
    case ENOENT:
        return kFileNotFound;
    case EACCES:
        return kAccessDenied;
    case EINVAL:
        return kNoAssociation;
    default:
        return kOutOfResources;
    }
}

}  // namespace

intptr_t ShellExecute(QWidget* /*owner*/, const std::string& operation, const std::string& file,
                      const std::string& parameters)
{
    if (operation != "open")
        return Failure(EINVAL);
    std::vector<std::string> command{ProgramName(file)};
    if (command.front().empty())
        return Failure(ENOENT);
    SplitAtBlanks(parameters, command);
    const int err = launcherOverride ? launcherOverride(command) : LaunchInTerminal(command);
    return err == 0 ? kStarted : Failure(err);
}

std::string LastErrorMessage()
{
    return std::strerror(lastError);
}

void SetConsoleLauncherForTesting(ConsoleLauncher launcher)
{
    launcherOverride = std::move(launcher);
}
