#include "platform/text/Errors.h"
#include "platform/text/FileName.h"
#include "platform/file/InputFile.h"
#include "tests/support/ForeignNames.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

// The format is system text; only its "%s" places are file names or the system's texts.
TEST(FileName, MessagesShowTheNameAsTypedAndTheRestAsSystemText)
{
    const std::string name = "/tmp/" + std::string(kForeignNames[2]) + ".txt";
    EXPECT_EQ(FileMessage("Cannot open file \"%s\". %s", {name, "Not a regular file"}),
              Utf8("Cannot open file \"" + name + "\". Not a regular file"));
    EXPECT_EQ(FileMessage("\xE4 100%% %s", {kForeignNames[0]}),
              Utf8("\xC3\xA4 100% Daten_\xC3\xA4"));
    EXPECT_EQ(FileMessage("%s and %s", {"a"}), "a and ");
    EXPECT_EQ(FileMessage("tail %", {"a"}), "tail %");
}

TEST(FileName, AnErrorThatNamesAFileShowsItAsTyped)
{
    TempDir dir;
    for (std::string_view piece : kForeignNames) {
        const std::string name = dir.file(std::string(piece) + ".lst");
        try {
            ReadFileBytes(name);
            FAIL() << "no error";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(ShownText(e),
                      Utf8("Cannot open file \"" + name + "\". No such file or directory"));
        }
    }
    // A plain failure is shown as its system text; its what() stays that text.
    EXPECT_EQ(ShownText(EError("Socket Error # 111\r\n\xE4")),
              Utf8("Socket Error # 111\r\n\xC3\xA4"));
    EXPECT_EQ(ShownText(std::runtime_error("\x80")), Utf8("\xE2\x82\xAC"));
    EXPECT_STREQ(EError(Utf8("\xD1\x8F \xC3\xA4")).what(), "? \xE4");
}
