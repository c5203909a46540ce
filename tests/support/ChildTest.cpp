#include "tests/support/ChildTest.h"

#include "simulators/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kChildMark = "TAVRIN_CHILD_TEST";
constexpr uid_t kNobody = 65534;

// Drops a forked child to the user nobody for good.
bool BecomeNobody()
{
    return ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
}

// Whether the user nobody may search path (a folder, and every folder on the way) or run it
// (a file): asked of a child that has become nobody, since root may do anything.
bool NobodyMay(const fs::path& path)
{
    const std::string name = path.string();
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(BecomeNobody() && ::access(name.c_str(), X_OK) == 0 ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// The first of the folders on the way to path, or path itself, that stops nobody; empty
// when none does.
fs::path WhereNobodyStops(const fs::path& path)
{
    if (NobodyMay(path))
        return {};
    fs::path way;
    for (const fs::path& part : path) {
        way /= part;
        if (!NobodyMay(way))
            return way;
    }
    return path;
}

}  // namespace

std::string WhyNobodyCannotStart(const std::string& program, const std::string& workingFolder)
{
    fs::path stop = WhereNobodyStops(program);
    if (stop.empty() && !workingFolder.empty())
        stop = WhereNobodyStops(workingFolder);
    if (stop.empty())
        return {};
    return "the user nobody cannot reach " + stop.string() +
           " (the test program and the folder it works in must be reachable by others: every "
           "folder on the way searchable, chmod o+x), so a test as an ordinary user cannot run "
           "from here";
}

bool InChildTest()
{
    return std::getenv(kChildMark) != nullptr;
}

void PlaceProgram(const std::string& programFile)
{
    const fs::path program = fs::read_symlink("/proc/self/exe");
    std::error_code linked;
    fs::create_hard_link(program, programFile, linked);
    if (linked)
        fs::copy_file(program, programFile);
}

namespace {

ChildTestEnd RunChild(const std::string& programFile, const std::string& workingFolder,
                      bool ordinaryUser)
{
    std::string program = fs::read_symlink("/proc/self/exe").string();
    const TempDir links;
    if (!programFile.empty()) {
        PlaceProgram(programFile);
        // A QString carries no name that is no UTF-8: the child starts through a link of a
        // plain name, and its own file is still the one the link names.
        program = links.file("program");
        fs::create_symlink(programFile, program);
    }
    QProcess child;
    child.setProgram(QString::fromStdString(program));
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    child.setArguments(
        {QString("--gtest_filter=%1.%2").arg(test->test_suite_name(), test->name())});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(kChildMark, "1");
    child.setProcessEnvironment(environment);
    child.setWorkingDirectory(QString::fromStdString(workingFolder));
    const bool asNobody = ordinaryUser && ::geteuid() == 0;
    child.setChildProcessModifier([asNobody] {
        for (int signo : {SIGTERM, SIGHUP, SIGINT})
            ::signal(signo, SIG_DFL);
        if (asNobody && !BecomeNobody())
            ::_exit(126);
    });
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start();
    ChildTestEnd end;
    if (!child.waitForFinished(300000)) {
        ADD_FAILURE() << "the child did not end: " << child.errorString().toStdString();
        return end;
    }
    end.output = child.readAll().toStdString();
    // A child ended by a signal leaves that signal's number as its exit code.
    if (child.exitStatus() == QProcess::NormalExit)
        end.exitCode = child.exitCode();
    else
        end.signal = child.exitCode();
    return end;
}

}  // namespace

void RunInChildTest(const std::string& programFile, const std::string& workingFolder,
                    bool ordinaryUser)
{
    if (ordinaryUser && ::geteuid() == 0) {
        // A program still to be placed is judged by the folder it goes to.
        const std::string program = programFile.empty()
                                        ? fs::read_symlink("/proc/self/exe").string()
                                        : fs::path(programFile).parent_path().string();
        if (const std::string why = WhyNobodyCannotStart(program, workingFolder); !why.empty())
            GTEST_SKIP() << why;
    }
    const ChildTestEnd end = RunChild(programFile, workingFolder, ordinaryUser);
    EXPECT_EQ(end.exitCode, 0) << "ended by signal " << end.signal << "\n" << end.output;
    // A child that may not do what the test needs (say, mount) skips it here too.
    if (const std::size_t skip = end.output.find("Skipped\n");
        skip != std::string::npos && end.output.find("[  SKIPPED ] 1 test") != std::string::npos) {
        GTEST_SKIP() << end.output.substr(skip);
    }
    EXPECT_NE(end.output.find("[  PASSED  ] 1 test."), std::string::npos) << end.output;
}

ChildTestEnd RunChildTest()
{
    return RunChild("", "", false);
}

bool RanAsOrdinaryUser()
{
    if (InChildTest() || ::geteuid() != 0)
        return false;
    RunInChildTest("", "", true);
    return true;
}
