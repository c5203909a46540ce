#include "platform/text/Errors.h"
#include "platform/text/TextFile.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempDir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace std::string_literals;
namespace fs = std::filesystem;

namespace {

void ExpectOpenError(const std::string& name, const std::string& reason)
{
    try {
        ReadFileBytes(name);
        ADD_FAILURE() << "no error for " << name;
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + name + "\". " + reason);
    }
}

std::string AllBytes()
{
    std::string bytes;
    for (int b = 0; b < 256; ++b)
        bytes += static_cast<char>(b);
    return bytes;
}

}  // namespace

TEST(TextFile, BytesComeBackExactlyAsWritten)
{
    TempDir dir;
    const std::string name = dir.file("data.lst");
    const std::string bytes = AllBytes() + "\r\n\0tail"s;
    WriteFileReplacing(name, bytes);
    EXPECT_EQ(ReadFileBytes(name), bytes);
    WriteFileReplacing(name, "");
    EXPECT_EQ(ReadFileBytes(name), "");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"data.lst"});
}

TEST(TextFile, ReadFailuresNameTheFileAndTheReason)
{
    TempDir dir;
    const std::string missing = dir.file("missing.lst");
    try {
        ReadFileBytes(missing);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot open file \"" + missing + "\". No such file or directory");
    }
    ExpectOpenError(dir.path(), "Is a directory");
}

// Nothing is opened or read before the name is known to be a regular file, so no special
// file can hold the program or fill its memory.
TEST(TextFile, OnlyRegularFilesAreRead)
{
    TempDir dir;
    const std::string fifo = dir.file("Pellicor.lst");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    ExpectOpenError(fifo, "Not a regular file");
    fs::create_symlink("/dev/zero", dir.file("zero.lst"));
    ExpectOpenError(dir.file("zero.lst"), "Not a regular file");
}

TEST(TextFile, ReadsStopAtTheBound)
{
    TempDir dir;
    const std::string big = dir.file("big.lst");
    WriteFileReplacing(big, "x");
    ASSERT_EQ(::truncate(big.c_str(), kMaxReadBytes + 1), 0);  // sparse: no disk, no time
    ExpectOpenError(big, "File too large");

    // The parts a reader asks for lie inside the file and the bound, or come back as none.
    const TInputFile file(big);
    EXPECT_EQ(file.Size(), kMaxReadBytes + 1);
    EXPECT_EQ(file.ReadAt(kMaxReadBytes, 1), std::string(1, '\0'));
    EXPECT_EQ(file.ReadAt(kMaxReadBytes + 1, 1), std::nullopt);
    EXPECT_EQ(file.ReadAt(0, kMaxReadBytes + 1), std::nullopt);
    EXPECT_EQ(file.ReadAt(UINT64_MAX, 2), std::nullopt);
}

TEST(TextFile, ReplacingKeepsTheOldFilesPermissions)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.ini");
    WriteFileReplacing(name, "old");
    ASSERT_EQ(::chmod(name.c_str(), 0640), 0);
    WriteFileReplacing(name, "new");
    struct stat info {};
    ASSERT_EQ(::stat(name.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(name), "new");
}

TEST(TextFile, AFileThatCannotBeCreatedLeavesNothingBehind)
{
    TempDir dir;
    // Permissions stop nothing for root, so the failures come from the paths themselves.
    WriteFileReplacing(dir.file("plain"), "x");
    const std::string underFile = dir.file("plain/Pellicor.lst");
    try {
        WriteFileReplacing(underFile, "data");
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create file \"" + underFile + "\". Not a directory");
    }

    std::filesystem::create_directory(dir.file("folder"));
    WriteFileReplacing(dir.file("folder/inside"), "kept");
    EXPECT_THROW(WriteFileReplacing(dir.file("folder"), "data"), EFCreateError);
    EXPECT_EQ(ReadFileBytes(dir.file("folder/inside")), "kept");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"folder", "plain"}));
}

TEST(TextFile, AWriteStoppedHalfWayLeavesTheOldFileAsItWas)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.lst");
    WriteFileReplacing(name, "old content");
    try {
        FileSizeLimit limit(1000);
        WriteFileReplacing(name, std::string(5000, 'x'));
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(std::string(e.what()), "Stream write error");
    }
    EXPECT_EQ(ReadFileBytes(name), "old content");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"Pellicor.lst"});
}

TEST(TextFile, LinesEndAtEachKindOfBreak)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(SplitLines(""), Lines{});
    EXPECT_EQ(SplitLines("\n"), Lines{""});
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\rb\n\r\n"), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two breaks
    EXPECT_EQ(SplitLines("last\r\n"), Lines{"last"});
}

TEST(TextFile, ANulByteEndsTheTextUnlessKeptOnPurpose)
{
    using Lines = std::vector<std::string>;
    const std::string bytes = "a\r\nb\0c\r\nd"s;
    EXPECT_EQ(SplitLines(bytes), (Lines{"a", "b"}));
    EXPECT_EQ(SplitLines("\0a\nb"s), Lines{});
    EXPECT_EQ(SplitLinesKeepingNul(bytes), (Lines{"a", "b\0c"s, "d"}));
}

TEST(TextFile, HugeLinesAndManyLinesSplitInOnePass)
{
    std::string bytes(4 << 20, 'x');
    bytes += "\r\n";
    for (int i = 0; i < 300000; ++i)
        bytes += "AB12CD;12345\r\n";
    const auto lines = SplitLines(bytes);
    ASSERT_EQ(lines.size(), 300001u);
    EXPECT_EQ(lines[0].size(), std::size_t{4 << 20});
    EXPECT_EQ(lines.back(), "AB12CD;12345");
}

TEST(TextFile, ExistenceIsForFilesNotFolders)
{
    TempDir dir;
    WriteFileReplacing(dir.file("a"), "");
    EXPECT_TRUE(FileExists(dir.file("a")));
    EXPECT_FALSE(FileExists(dir.file("b")));
    EXPECT_FALSE(FileExists(dir.path()));
}

TEST(TextFile, TheExtensionIsWhatFollowsTheLastDotOfTheName)
{
    EXPECT_EQ(ChangeFileExt("/opt/app/Pellicor", ".ini"), "/opt/app/Pellicor.ini");
    EXPECT_EQ(ChangeFileExt("/opt/app/Pellicor.exe", ".ini"), "/opt/app/Pellicor.ini");
    EXPECT_EQ(ChangeFileExt("/opt/app.d/Pellicor", ".lst"), "/opt/app.d/Pellicor.lst");
    EXPECT_EQ(ChangeFileExt("list.tar.gz", ".lst"), "list.tar.lst");
    EXPECT_EQ(ChangeFileExt("a.b", ""), "a");
}
