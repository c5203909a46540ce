#include "platform/file/ProgramPath.h"
#include "tests/support/ForeignNames.h"
#include "simulators/TempDir.h"

#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

// The real name is the system's own, byte for byte.
TEST(ProgramPath, RealNameUnlessATestPointsElsewhere)
{
    const std::string real = ProgramFileName();
    EXPECT_EQ(real, fs::read_symlink("/proc/self/exe").string());
    SetProgramFileNameForTesting("/tmp/t/Pellicor");
    EXPECT_EQ(ProgramFileName(), "/tmp/t/Pellicor");
    SetProgramFileNameForTesting("");
    EXPECT_EQ(ProgramFileName(), real);
}

// The test above, run by this very program from a folder whose name Windows-1252 cannot
// hold (the files beside the program are named after it).
TEST(ProgramPath, RealNameInAFolderOfAnyLanguage)
{
    TempDir dir;
    const std::string folder =
        dir.file("prog_" + std::string(kForeignNames[0]) + " " + std::string(kForeignNames[2]));
    fs::create_directory(folder);
    const std::string program = folder + "/test_platform_file";
    std::error_code linked;
    fs::create_hard_link(fs::read_symlink("/proc/self/exe"), program, linked);
    if (linked)
        fs::copy_file(fs::read_symlink("/proc/self/exe"), program);

    QProcess child;
    child.setProgram(QString::fromStdString(program));
    child.setArguments({"--gtest_filter=ProgramPath.RealNameUnlessATestPointsElsewhere"});
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start();
    ASSERT_TRUE(child.waitForFinished(60000));
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains("[  PASSED  ] 1 test.")) << output.toStdString();
}
