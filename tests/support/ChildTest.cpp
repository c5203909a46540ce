#include "tests/support/ChildTest.h"

#include "simulators/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* const kChildMark = "TAVRIN_CHILD_TEST";
constexpr uid_t kNobody = 65534;

}  // namespace

bool InChildTest()
{
    return std::getenv(kChildMark) != nullptr;
}

namespace {

ChildTestEnd RunChild(const std::string& programFile, const std::string& workingFolder,
                      bool ordinaryUser)
{
    std::string program = fs::read_symlink("/proc/self/exe").string();
    const TempDir links;
    if (!programFile.empty()) {
        std::error_code linked;
        fs::create_hard_link(program, programFile, linked);
        if (linked)
            fs::copy_file(program, programFile);
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
        if (asNobody &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(126);
    });
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start();
    ChildTestEnd end;
    if (!child.waitForFinished(300000)) {
        ADD_FAILURE() << "the child did not end";
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
