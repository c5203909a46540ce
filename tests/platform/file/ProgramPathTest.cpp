#include "platform/file/ProgramPath.h"
#include "platform/text/Errors.h"
#include "tests/support/ChildTest.h"
#include "tests/support/ForeignNames.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

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
