#include "platform/inifile/IniFile.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    void Given(const std::string& bytes) { WriteFileReplacing(name_, bytes); }
    std::string OnDisk() const { return ReadFileBytes(name_); }

    TempDir dir_;
    std::string name_ = dir_.file("Pellicor.ini");
    TIniFile ini_{name_};
};

}  // namespace

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndReadingCreatesNothing)
{
    EXPECT_EQ(ini_.ReadString("options", "delimiter", "def"), "def");
    EXPECT_EQ(ini_.ReadInteger("options", "delimiter", 59), 59);
    EXPECT_EQ(ini_.ReadSection("hostlist"), Lines{});
    EXPECT_EQ(ini_.ReadSectionValues("hostlist"), Lines{});
    EXPECT_FALSE(ini_.SectionExists("options"));
    EXPECT_FALSE(ini_.ValueExists("options", "delimiter"));
    EXPECT_FALSE(FileExists(name_));
}

TEST_F(IniFileTest, WritesBuildSectionsInTheOrderTheyCameWithCrLfLines)
{
    ini_.WriteInteger("options", "delimiter", 59);
    ini_.WriteInteger("options", "quotechar", 34);
    ini_.WriteInteger("wiegand", "bitlen", 26);
    ini_.WriteInteger("wiegand", "fc_enable", 1);
    ini_.WriteString("hostlist", "gate-1", "127.0.0.5");
    ini_.WriteString("hostlist", "127.0.0.9", "");
    EXPECT_EQ(OnDisk(), "[options]\r\ndelimiter=59\r\nquotechar=34\r\n"
                        "[wiegand]\r\nbitlen=26\r\nfc_enable=1\r\n"
                        "[hostlist]\r\ngate-1=127.0.0.5\r\n127.0.0.9=\r\n");
    EXPECT_EQ(ini_.ReadSection("hostlist"), (Lines{"gate-1", "127.0.0.9"}));
    EXPECT_EQ(ini_.ReadString("hostlist", "127.0.0.9", "def"), "");
}

TEST_F(IniFileTest, NamesMatchWithoutCaseOrSurroundingBlanks)
{
    Given("  [ Options ]  \r\n  Delimiter =  9 \r\n[\xE4]\r\nk=lower\r\n");
    EXPECT_EQ(ini_.ReadString("options", "delimiter", ""), "9");
    EXPECT_EQ(ini_.ReadString(" OPTIONS ", "\tDELIMITER ", ""), "9");
    EXPECT_EQ(ini_.ReadString("\xC4", "k", "none"), "none");  // only a-z fold
    ini_.WriteInteger("OPTIONS", "DELIMITER", 44);
    EXPECT_EQ(OnDisk(), "  [ Options ]  \r\nDelimiter=44\r\n[\xE4]\r\nk=lower\r\n");
}

TEST_F(IniFileTest, ChangesKeepEveryOtherLineByteForByte)
{
    Given("; made by hand\n[options]\n  delimiter = 59 ; semicolon\n\n"
          "[wiegand]\nbitlen=26\n\n\n[tail]\nx=1");
    ini_.WriteString("options", "quotechar", "34");
    ini_.WriteString("wiegand", "bitlen", "34");
    ini_.WriteString("wiegand", "fc_len", "8");
    ini_.WriteString("new", "k", "v");
    EXPECT_EQ(OnDisk(),
              "; made by hand\r\n[options]\r\n  delimiter = 59 ; semicolon\r\nquotechar=34\r\n\r\n"
              "[wiegand]\r\nbitlen=34\r\nfc_len=8\r\n\r\n\r\n[tail]\r\nx=1\r\n[new]\r\nk=v\r\n");
    // Blanks around a written value are dropped as on reading.
    ini_.WriteString("tail", " x ", "  2  ");
    EXPECT_EQ(ini_.ReadSectionValues("tail"), Lines{"x=2"});
}

TEST_F(IniFileTest, TheFirstOfDuplicateKeysAndSectionsWins)
{
    Given("[a]\r\nk=1\r\nK=2\r\n[A]\r\nk=3\r\nonly=4\r\n");
    EXPECT_EQ(ini_.ReadString("a", "k", ""), "1");
    EXPECT_EQ(ini_.ReadString("a", "only", "none"), "none");
    EXPECT_EQ(ini_.ReadSection("a"), (Lines{"k", "K"}));
    ini_.WriteString("a", "k", "9");
    EXPECT_EQ(OnDisk(), "[a]\r\nk=9\r\nK=2\r\n[A]\r\nk=3\r\nonly=4\r\n");
}

TEST_F(IniFileTest, OnePairOfSurroundingQuotesIsDroppedOnReading)
{
    Given("[q]\r\nd=\"a b\"\r\ns='x'\r\nmixed=\"a'\r\none=\"\r\ninner=a\"b\"\r\nempty=\"\"\r\n");
    EXPECT_EQ(ini_.ReadString("q", "d", ""), "a b");
    EXPECT_EQ(ini_.ReadString("q", "s", ""), "x");
    EXPECT_EQ(ini_.ReadString("q", "mixed", ""), "\"a'");
    EXPECT_EQ(ini_.ReadString("q", "one", ""), "\"");
    EXPECT_EQ(ini_.ReadString("q", "inner", ""), "a\"b\"");
    EXPECT_EQ(ini_.ReadString("q", "empty", "def"), "");
    EXPECT_EQ(ini_.ReadSectionValues("q")[0], "d=\"a b\"");
}

TEST_F(IniFileTest, AReadGivesAtMost2047Characters)
{
    for (std::size_t length : {0, 2000, 2046, 2047, 2048, 5000}) {
        const std::string value(length, 'v');
        ini_.WriteString("s", "k", value);
        EXPECT_EQ(ini_.ReadString("s", "k", "def"), value.substr(0, 2047)) << length;
    }
}

TEST_F(IniFileTest, IntegersFollowTheReadingRuleAtThirtyTwoBits)
{
    Given("[w]\r\nhex=0x1A\r\ndollar=$FFFFFFFF\r\nbad=abc\r\nbig=2147483648\r\nblank= 12 \r\n"
          "empty=\r\n");
    EXPECT_EQ(ini_.ReadInteger("w", "hex", 0), 26);
    EXPECT_EQ(ini_.ReadInteger("w", "dollar", 0), -1);
    EXPECT_EQ(ini_.ReadInteger("w", "bad", 26), 26);
    EXPECT_EQ(ini_.ReadInteger("w", "big", 7), 7);
    EXPECT_EQ(ini_.ReadInteger("w", "blank", 0), 12);
    EXPECT_EQ(ini_.ReadInteger("w", "empty", 5), 5);
    ini_.WriteInteger("w", "neg", -2147483647 - 1);
    EXPECT_EQ(ini_.ReadString("w", "neg", ""), "-2147483648");
}

TEST_F(IniFileTest, SectionLinesComeInFileOrderWithoutBlanksAndComments)
{
    Given(
        "top=1\r\n[hostlist]\r\n\r\nb = 2\r\n;comment=x\r\nloose line\r\na=\r\n=odd\r\n[next]\r\n");
    EXPECT_EQ(ini_.ReadSectionValues("hostlist"), (Lines{"b=2", "loose line", "a=", "=odd"}));
    EXPECT_EQ(ini_.ReadSection("hostlist"), (Lines{"b", "a", ""}));
    EXPECT_TRUE(ini_.ValueExists("hostlist", "A"));
    EXPECT_FALSE(ini_.ValueExists("hostlist", "loose line"));
    // Lines before the first section belong to none.
    EXPECT_EQ(ini_.ReadString("", "top", "none"), "none");
    EXPECT_TRUE(ini_.SectionExists("hostlist"));
    EXPECT_FALSE(ini_.SectionExists("next"));  // a header alone holds no key
}

TEST_F(IniFileTest, ErasingASectionTakesEveryCopyAndItsLinesOnly)
{
    Given("[options]\r\nd=1\r\n[platelist]\r\n1=x\r\n[hostlist]\r\nh=1\r\n[PLATELIST]\r\n2=y\r\n");
    ini_.EraseSection("platelist");
    ini_.EraseSection("absent");
    EXPECT_EQ(OnDisk(), "[options]\r\nd=1\r\n[hostlist]\r\nh=1\r\n");
    ini_.EraseSection("hostlist");
    EXPECT_EQ(OnDisk(), "[options]\r\nd=1\r\n");

    TempDir other;
    TIniFile fresh(other.file("none.ini"));
    fresh.EraseSection("platelist");
    EXPECT_FALSE(FileExists(other.file("none.ini")));
}

TEST_F(IniFileTest, AnEmptySectionStandsAsItsHeading)
{
    Given("[options]\r\nd=1\r\n");
    ini_.AddSection("hostlist");
    EXPECT_EQ(OnDisk(), "[options]\r\nd=1\r\n[hostlist]\r\n");
    ini_.AddSection("HOSTLIST");
    ini_.AddSection("options");
    EXPECT_EQ(OnDisk(), "[options]\r\nd=1\r\n[hostlist]\r\n");
    ini_.WriteString("hostlist", "gate", "10.0.0.1");
    EXPECT_EQ(OnDisk(), "[options]\r\nd=1\r\n[hostlist]\r\ngate=10.0.0.1\r\n");
}

// A value (or name) ends at its first line break: what follows could otherwise write a
// line of its own, another key among them.
TEST_F(IniFileTest, AWrittenLineNeverBreaksIntoMore)
{
    ini_.WriteString("Edits", "EditB", "mine");
    ini_.WriteString("Edits", "EditA", "first\r\nEditB=injected");
    ini_.WriteString("Edits", "EditC", "one\rEditD=x\n[other]");
    ini_.WriteString("Edits", "Edit\nE", "e");
    ini_.WriteString("Sec\r\n[Edits]", "EditF", "f");
    EXPECT_EQ(OnDisk(), "[Edits]\r\nEditB=mine\r\nEditA=first\r\nEditC=one\r\nEdit=e\r\n"
                        "[Sec]\r\nEditF=f\r\n");
    EXPECT_EQ(ini_.ReadString("Edits", "EditB", "?"), "mine");
    EXPECT_EQ(ini_.ReadString("Edits", "EditD", "?"), "?");
}

TEST_F(IniFileTest, BytesAreKeptAsTheyAre)
{
    const std::string value = "\x80\xE4\xFF\x01 x";
    ini_.WriteString("\xC4", "\x9F", value);
    EXPECT_EQ(ini_.ReadString("\xC4", "\x9F", ""), value);
    EXPECT_EQ(OnDisk(), "[\xC4]\r\n\x9F=" + value + "\r\n");
}

TEST_F(IniFileTest, ChangesMadeByAnotherWriterAreSeen)
{
    ini_.WriteString("s", "k", "1");
    TIniFile other(name_);
    EXPECT_EQ(other.ReadString("s", "k", ""), "1");
    other.WriteString("s", "k", "22");
    EXPECT_EQ(ini_.ReadString("s", "k", ""), "22");
    Given("[s]\r\nk=333\r\n");
    EXPECT_EQ(ini_.ReadString("s", "k", ""), "333");
}

TEST_F(IniFileTest, ABatchWritesTheFileOnceAtItsEnd)
{
    ini_.WriteString("options", "delimiter", "59");
    const std::string before = OnDisk();
    ini_.BeginUpdate();
    ini_.EraseSection("hostlist");
    ini_.BeginUpdate();
    Lines expected;
    for (int i = 0; i < 3000; ++i) {
        const std::string host = "host" + std::to_string(i);
        ini_.WriteString("hostlist", host, "127.0.0.1");
        expected.push_back(host);
    }
    ini_.EndUpdate();
    EXPECT_EQ(OnDisk(), before);  // the outer batch is still open
    EXPECT_EQ(ini_.ReadString("hostlist", "host2999", ""), "127.0.0.1");
    ini_.EndUpdate();

    TIniFile reader(name_);
    EXPECT_EQ(reader.ReadSection("hostlist"), expected);
    EXPECT_EQ(reader.ReadString("hostlist", "HOST1500", ""), "127.0.0.1");
    EXPECT_EQ(reader.ReadString("options", "delimiter", ""), "59");
}

TEST_F(IniFileTest, ABatchLeftOpenByAnErrorIsStillWritten)
{
    {
        TIniFile ini(name_);
        ini.BeginUpdate();
        ini.WriteString("s", "k", "v");
    }
    EXPECT_EQ(OnDisk(), "[s]\r\nk=v\r\n");
}
