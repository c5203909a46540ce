#include "calculator/ViewSettings.h"

#include "platform/text/Errors.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"

#include "simulators/TempDir.h"

#include <gtest/gtest.h>

using namespace quantivo;

namespace {

class ViewSettingsFile : public ::testing::Test {
protected:
    std::string Path() const { return dir_.file("Quantivo.ini"); }
    void Write(const std::string& bytes) const { WriteFileReplacing(Path(), bytes); }

private:
    TempDir dir_;
};

void ExpectDefaults(const TViewSettings& s)
{
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.lv1Widths, (std::array<int32_t, 7>{100, 120, 0, 0, 0, 100, 100}));
    EXPECT_EQ(s.lv2Widths, (std::array<int32_t, 3>{120, 160, 0}));
}

}  // namespace

TEST_F(ViewSettingsFile, MissingFileGivesTheFirstStartAndIsNotCreated)
{
    ExpectDefaults(ReadViewSettings(Path()));
    EXPECT_FALSE(FileExists(Path()));
}

TEST_F(ViewSettingsFile, FirstExitWritesEveryKey)
{
    WriteViewSettings(Path(), TViewSettings{});
    EXPECT_EQ(ReadFileBytes(Path()),
              "[settings]\r\nmode=0\r\n"
              "[wg26]\r\ncolwidth0=100\r\ncolwidth1=120\r\ncolwidth2=0\r\ncolwidth3=0\r\n"
              "colwidth4=0\r\ncolwidth5=100\r\ncolwidth6=100\r\n"
              "[wg64]\r\ncolwidth0=120\r\ncolwidth1=160\r\ncolwidth2=0\r\n");
}

TEST_F(ViewSettingsFile, ValuesReadBackIncludingHexadecimalAndNoPage)
{
    Write("[settings]\nmode=-1\n[WG26]\ncolwidth2=0x12C\ncolwidth0=0\n[wg64]\nColWidth2=0X50\n");
    const TViewSettings s = ReadViewSettings(Path());
    EXPECT_EQ(s.mode, -1);
    EXPECT_EQ(s.lv1Widths, (std::array<int32_t, 7>{0, 120, 300, 0, 0, 100, 100}));
    EXPECT_EQ(s.lv2Widths, (std::array<int32_t, 3>{120, 160, 80}));
}

TEST_F(ViewSettingsFile, UnreadableValuesAndGarbageGiveTheDefaults)
{
    Write("[settings]\nmode=zero\n[wg26]\ncolwidth0=0x\ncolwidth1=12px\ncolwidth5=99999999999\n"
          "[wg64]\ncolwidth1=\n");
    ExpectDefaults(ReadViewSettings(Path()));

    std::string garbage(5000, '\0');
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>(i * 7919 % 256);
    Write(garbage + "\n[settings\n=mode=1\n[]\n");
    ExpectDefaults(ReadViewSettings(Path()));
}

TEST_F(ViewSettingsFile, AnUnwritableFileReportsItsName)
{
    const std::string path = Path() + "/missing/Quantivo.ini";
    try {
        WriteViewSettings(path, TViewSettings{});
        FAIL() << "no error";
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + path);
    }
}
