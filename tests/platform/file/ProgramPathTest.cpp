#include "platform/file/ProgramPath.h"
#include "platform/text/Errors.h"
#include "tests/support/ChildTest.h"
#include "tests/support/ForeignNames.h"
#include "simulators/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A folder name that Windows-1252 cannot hold, and bytes that are no UTF-8 at all.
const std::string kProgramFolder = "prog_" + std::string(kForeignNames[0]) + " " +
                                   std::string(kForeignNames[2]) + "_" +
                                   std::string(kInvalidUtf8Name);

}  // namespace

// The real name is the system's own, byte for byte; where the system does not tell it, that
// is an error, never a name in the current folder.
TEST(ProgramPath, RealNameUnlessATestPointsElsewhere)
{
    const std::string real = ProgramFileName();
    EXPECT_EQ(real, fs::read_symlink("/proc/self/exe").string());
    SetProgramFileNameForTesting("/tmp/t/Pellicor");
    EXPECT_EQ(ProgramFileName(), "/tmp/t/Pellicor");
    SetProgramFileNameForTesting("");
    EXPECT_EQ(ProgramFileName(), real);

    TempDir dir;
    SetProgramLinkForTesting(dir.file("exe"));
    EXPECT_EQ(RunningProgramFileName(), "");
    try {
        ProgramFileName();
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot find the program's own file. No such file or directory");
    }

    // An update replaces the program file while it runs: its files stay where they were.
    fs::create_symlink(dir.file("Pellicor"), dir.file("exe"));
    EXPECT_EQ(ProgramFileName(), dir.file("Pellicor"));
    fs::remove(dir.file("exe"));
    fs::create_symlink(dir.file("Pellicor (deleted)"), dir.file("exe"));
    EXPECT_EQ(ProgramFileName(), dir.file("Pellicor"));
    SetProgramLinkForTesting("");
    EXPECT_EQ(ProgramFileName(), real);
}

// Run by this very program from a folder whose name is no system text (the files beside the
// program are named after it).
TEST(ProgramPath, RealNameInAFolderOfAnyLanguage)
{
    if (InChildTest()) {
        const fs::path program = ProgramFileName();
        EXPECT_EQ(program.parent_path().filename().string(), kProgramFolder);
        EXPECT_EQ(program.filename().string(), "test_platform_file");
        return;
    }
    TempDir dir;
    const std::string folder = dir.file(kProgramFolder);
    fs::create_directory(folder);
    RunInChildTest(folder + "/test_platform_file", "");
}

// A test that drops to the user nobody, started (as root) from a folder nobody cannot
// reach, is skipped and names that folder; the folder the test runs in counts only where
// the child has to enter it, and a test whose folders nobody reaches runs as nobody.
TEST(ProgramPath, AnOrdinaryUserTestOutOfNobodysReachIsSkippedSayingWhy)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "only root drops to an ordinary user";
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string closed = dir.file("closed");
    const std::string open = dir.file("open");
    fs::create_directory(closed);
    fs::create_directory(open);
    ASSERT_EQ(::chmod(closed.c_str(), 0700), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0755), 0);
    const std::string inClosed = closed + "/test_platform_file";
    const std::string inOpen = open + "/test_platform_file";
    PlaceProgram(inClosed);
    PlaceProgram(inOpen);
    const std::string stoppedByClosed = "the user nobody cannot reach " + closed + " (";
    EXPECT_EQ(WhyNobodyCannotStart(inOpen, open), "");
    EXPECT_EQ(WhyNobodyCannotStart(inOpen, ""), "");
    EXPECT_EQ(WhyNobodyCannotStart(inClosed, open).find(stoppedByClosed), 0u);
    EXPECT_EQ(WhyNobodyCannotStart(inOpen, closed).find(stoppedByClosed), 0u);
    EXPECT_EQ(WhyNobodyCannotStart(inOpen, closed + "/missing").find(stoppedByClosed), 0u);

    for (const auto& [program, current, skipped] :
         {std::tuple{inClosed, open, true}, {inOpen, closed, false}}) {
        SCOPED_TRACE(program + " run in " + current);
        QProcess run;
        run.setProgram(QString::fromStdString(program));
        run.setArguments(
            {"--gtest_filter=File.AFolderThatTakesNoTemporaryFileHasTheFileWrittenInPlace"});
        run.setWorkingDirectory(QString::fromStdString(current));
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start();
        ASSERT_TRUE(run.waitForFinished(300000)) << run.errorString().toStdString();
        const std::string output = run.readAll().toStdString();
        EXPECT_EQ(run.exitCode(), 0) << output;
        EXPECT_NE(output.find(skipped ? "[  SKIPPED ] 1 test" : "[  PASSED  ] 1 test."),
                  std::string::npos)
            << output;
        if (skipped) {
            EXPECT_NE(output.find(stoppedByClosed), std::string::npos) << output;
        }
    }
}
