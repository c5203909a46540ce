#include "tests/support/ChildTest.h"

#include "simulators/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

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

void RunInChildTest(const std::string& programFile, const std::string& workingFolder,
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
    if (ordinaryUser && ::geteuid() == 0) {
        if (const std::string why = WhyNobodyCannotStart(program, workingFolder); !why.empty())
            GTEST_SKIP() << why;
        child.setChildProcessModifier([] {
            if (!BecomeNobody())
                ::_exit(126);
        });
    }
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start();
    ASSERT_TRUE(child.waitForFinished(300000)) << child.errorString().toStdString();
    const std::string output = child.readAll().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output;
    EXPECT_NE(output.find("[  PASSED  ] 1 test."), std::string::npos) << output;
}

bool RanAsOrdinaryUser()
{
    if (InChildTest() || ::geteuid() != 0)
        return false;
    RunInChildTest("", "", true);
    return true;
}
