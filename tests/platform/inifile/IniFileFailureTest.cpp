#include "platform/inifile/IniFile.h"
#include "platform/text/Errors.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/text/TextLines.h"
#include "tests/support/FileFaults.h"
#include "tests/support/FileSizeLimit.h"
#include "simulators/TempDir.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <functional>
#include <random>
#include <sys/stat.h>

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

void ExpectWriteRefused(const std::function<void()>& write, const std::string& fileName)
{
    try {
        write();
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + fileName);
    }
}

}  // namespace

// Permissions stop nothing for root, so the failures come from the paths themselves.
TEST(IniFileFailure, AFolderThatCannotHoldTheFileRefusesEveryWrite)
{
    TempDir dir;
    WriteFileReplacing(dir.file("plain"), "not a folder");
    const std::string name = dir.file("plain/Pellicor.ini");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadString("options", "delimiter", "59"), "59");
    ExpectWriteRefused([&] { ini.WriteString("options", "delimiter", "59"); }, name);
    ExpectWriteRefused([&] { ini.WriteInteger("options", "delimiter", 59); }, name);
    ini.BeginUpdate();
    ini.WriteString("hostlist", "a", "b");
    ExpectWriteRefused([&] { ini.EndUpdate(); }, name);
    EXPECT_EQ(dir.entries(), Lines{"plain"});
}

TEST(IniFileFailure, AFolderInThePlaceOfTheFileIsLeftAlone)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.ini");
    std::filesystem::create_directory(name);
    WriteFileReplacing(dir.file("Pellicor.ini/inside"), "kept");
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadSection("hostlist"), Lines{});
    ExpectWriteRefused([&] { ini.WriteString("s", "k", "v"); }, name);
    ExpectWriteRefused([&] { ini.EraseSection("s"); }, name);
    ini.BeginUpdate();
    ExpectWriteRefused([&] { ini.WriteString("s", "k", "v"); }, name);
    ini.EndUpdate();
    EXPECT_EQ(ReadFileBytes(dir.file("Pellicor.ini/inside")), "kept");
    EXPECT_EQ(dir.entries(), Lines{"Pellicor.ini"});
}

// A FIFO in the file's place would hold the program at its first read.
TEST(IniFileFailure, ASpecialFileInThePlaceOfTheFileIsLeftAlone)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.ini");
    ASSERT_EQ(::mkfifo(name.c_str(), 0666), 0);
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger("options", "delimiter", 59), 59);
    ExpectWriteRefused([&] { ini.WriteInteger("options", "delimiter", 59); }, name);
    EXPECT_TRUE(std::filesystem::is_fifo(name));
}

// No settings file grows to megabytes; one that has is no such file, and is neither read
// (each of its lines would cost its place) nor replaced.
TEST(IniFileFailure, AFileAboveTheBoundIsNeitherReadNorReplaced)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.ini");
    const std::string big = "[options]\r\ndelimiter=44\r\n" + std::string(4 << 20, '\n');
    WriteFileReplacing(name, big);
    TIniFile ini(name);
    EXPECT_EQ(ini.ReadInteger("options", "delimiter", 59), 59);
    ExpectWriteRefused([&] { ini.WriteInteger("options", "delimiter", 59); }, name);
    EXPECT_EQ(ReadFileBytes(name), big);

    // Nor does a write make a file that the next run could not read.
    const std::string nearly = "[hostlist]\r\n1=" + std::string((4 << 20) - 100, 'h') + "\r\n";
    WriteFileReplacing(name, nearly);
    TIniFile growing(name);
    growing.WriteString("hostlist", "2", std::string(50, 'h'));
    ExpectWriteRefused([&] { growing.WriteString("hostlist", "3", std::string(50, 'h')); }, name);
    EXPECT_EQ(ReadFileBytes(name).size(), nearly.size() + 54);
    EXPECT_FALSE(TIniFile(name).ValueExists("hostlist", "3"));
}

// Where the file is written in place (a second name) and even its old bytes cannot be
// written back, the box names the whole copy of them that the writer kept.
TEST(IniFileFailure, AWriteStoppedHalfWayLeavesTheOldFileAndReadsShowTheDisk)
{
    TempDir dir;
    const std::string name = dir.file("Pellicor.ini");
    const std::string old = "[options]\r\ndelimiter=59\r\n";
    WriteFileReplacing(name, old);
    TIniFile ini(name);
    ASSERT_EQ(ini.ReadString("options", "delimiter", ""), "59");
    {
        FileSizeLimit limit(old.size() + 10);
        ExpectWriteRefused([&] { ini.WriteString("options", "quotechar", std::string(100, 'q')); },
                           name);
        ExpectWriteRefused([&] { ini.WriteString("options", "delimiter", std::string(100, '9')); },
                           name);
    }
    EXPECT_EQ(ReadFileBytes(name), old);
    EXPECT_EQ(dir.entries(), Lines{"Pellicor.ini"});
    // What could not be written is not taken for what the file holds.
    EXPECT_FALSE(ini.ValueExists("options", "quotechar"));
    EXPECT_EQ(ini.ReadString("options", "delimiter", ""), "59");

    std::filesystem::create_hard_link(name, dir.file("other.ini"));
    std::string message;
    try {
        FileFaults faults;
        faults.FailWritesAt(10, EIO, INT_MAX);
        ini.WriteString("options", "quotechar", "34");
    } catch (const EError& e) {
        message = e.what();
    }
    const Lines entries = dir.entries();
    ASSERT_EQ(entries.size(), 3u) << "a copy of the old bytes beside the file";
    const std::string copy = dir.file(entries[1]);  // Pellicor.ini.~<process>.<count>.old
    EXPECT_EQ(message, "Unable to write to " + name + "; its old content is kept whole in " + copy);
    EXPECT_EQ(ReadFileBytes(copy), old);
}

TEST(IniFileFailure, AnyContentReadsAndSurvivesAWrite)
{
    TempDir dir;
    const std::string name = dir.file("odd.ini");
    std::mt19937 random(1234);
    std::string noise;
    for (int i = 0; i < 20000; ++i)
        noise += static_cast<char>(random() & 0xFF);
    const std::string garbage =
        "[\r\n]\r\n[unclosed\r\n=\r\n==\r\n===x\r\n[]\r\n[a]]\r\nk\0ey=v\0al\r\n"s +
        std::string(1 << 20, 'L') + "\r\n" + noise;
    WriteFileReplacing(name, garbage);

    TIniFile ini(name);
    ini.ReadSectionValues("");
    ini.ReadSection("a]");
    ini.ReadString("unclosed", "k", "");
    ini.WriteString("added", "key", "value");

    // The old lines are all still there, only their line breaks are CR LF now.
    std::string expected;
    for (const std::string_view line : TTextLines(garbage)) {
        expected += line;
        expected += "\r\n";
    }
    EXPECT_EQ(ReadFileBytes(name), expected + "[added]\r\nkey=value\r\n");
    EXPECT_EQ(TIniFile(name).ReadString("added", "key", ""), "value");
    EXPECT_EQ(TIniFile(name).ReadString("a]", "k\0ey"s, ""), "v\0al"s);
}
