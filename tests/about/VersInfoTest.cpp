#include "about/VersInfo.h"
#include "platform/text/Errors.h"
#include "platform/versionres/VersionNode.h"
#include "platform/versionres/VersionReader.h"
#include "tests/platform/versionres/ElfImage.h"

#include <QFrame>
#include <QLabel>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

using versionres::VersionNode;

namespace {

// Controls of the kinds the links meet: one with "Caption", one with "Text" only, one with
// both (Caption wins).
class CaptionWidget final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
public:
    QString caption = "design";
};
class TextWidget final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Text MEMBER text)
public:
    QString text = "design";
};
class BothWidget final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(QString Text MEMBER text)
public:
    QString caption = "design";
    QString text = "design";
};

// A program file holding the block.
std::string FileWithBlock(const VersionNode& root)
{
    return WriteTestFile(
        MakeElfImage({{versionres::kVersionSectionName, versionres::SerializeVersionNode(root)}}));
}

VersionNode StringTable(const std::string& name)
{
    return {"StringFileInfo", true, "", {{name, true, "", {{"ProductName", true, "Other", {}}}}}};
}

VersionNode Translation(const std::string& bytes)
{
    return {"VarFileInfo", true, "", {{"Translation", false, bytes, {}}}};
}

}  // namespace

// This test program carries the list manager's block (see CMakeLists.txt).
TEST(TVersionInfo, ReadsTheRunningProgramsBlock)
{
    TVersionInfo info(nullptr);
    EXPECT_EQ(info.GetKey("ProductName"), "Tavrin List");
    EXPECT_EQ(info.GetKey("FileDescription"), "Tavrin List");
    EXPECT_EQ(info.GetKeyByIndex(3), "1.13.0.0");
    EXPECT_EQ(info.GetKeyByIndex(8), "1.13");
    EXPECT_EQ(info.GetKeyByIndex(1), "");  // no CompanyName in the block
    EXPECT_EQ(info.GetKeyByIndex(0), "");
    EXPECT_EQ(info.GetKeyByIndex(9), "");
}

TEST(TVersionInfo, EachKindOfControlReceivesItsValue)
{
    TVersionInfo info(nullptr);
    QLabel label("design");
    CaptionWidget caption;
    TextWidget text;
    BothWidget both;
    QFrame neither;
    info.SetCtlProductName(&caption);
    info.SetCtlProductVersion(&text);
    info.SetCtlFileVersion(&both);
    info.SetCtlFileDescription(&label);
    info.SetCtlCompanyName(&neither);
    EXPECT_EQ(caption.caption, "Tavrin List");
    EXPECT_EQ(text.text, "1.13");
    EXPECT_EQ(both.caption, "1.13.0.0");
    EXPECT_EQ(both.text, "design");
    EXPECT_EQ(label.text(), "Tavrin List");
    EXPECT_TRUE(neither.dynamicPropertyNames().isEmpty());
    TVersionInfo::SetControlText(nullptr, "x");
}

TEST(TVersionInfo, LinksByIndex)
{
    TVersionInfo info(nullptr);
    QLabel a, b;
    info.SetCtl(7, &a);
    EXPECT_EQ(info.CtlProductName(), &a);
    EXPECT_EQ(info.GetCtl(7), &a);
    info.SetCtl(0, &b);
    info.SetCtl(9, &b);
    EXPECT_EQ(info.GetCtl(0), nullptr);
    EXPECT_EQ(info.GetCtl(9), nullptr);
    for (int i = 1; i <= 8; ++i)
        EXPECT_EQ(info.GetCtl(i), i == 7 ? &a : nullptr) << i;
    EXPECT_TRUE(b.text().isEmpty());
}

TEST(TVersionInfo, ControlThatGoesAwayClearsEveryLinkToIt)
{
    TVersionInfo info(nullptr);
    auto twice = std::make_unique<QLabel>();
    QLabel other;
    info.SetCtlProductName(twice.get());
    info.SetCtlProductVersion(twice.get());
    info.SetCtlFileVersion(&other);
    twice.reset();
    EXPECT_EQ(info.CtlProductName(), nullptr);
    EXPECT_EQ(info.CtlProductVersion(), nullptr);
    EXPECT_EQ(info.CtlFileVersion(), &other);
    other.clear();
    info.UpdateControls();
    EXPECT_EQ(other.text(), "1.13.0.0");

    // Told of a removal, the links let go even of a control that lives on.
    info.SetCtlInternalName(&other);
    info.Notification(&other, TVersionInfo::TOperation::Insert);
    EXPECT_EQ(info.CtlInternalName(), &other);
    info.Notification(&other, TVersionInfo::TOperation::Remove);
    EXPECT_EQ(info.CtlInternalName(), nullptr);
    EXPECT_EQ(info.CtlFileVersion(), nullptr);
}

TEST(TVersionInfo, FileWithoutBlockLeavesTheDesignTexts)
{
    TVersionInfo info(nullptr);
    for (const std::string& file :
         {WriteTestFile("no program file"), WriteTestFile(MakeElfImage({{".text", "code"}})),
          std::string("/nonexistent/Pellicor")}) {
        info.LoadFile(file);
        QLabel label("ProductName");
        info.SetCtlProductName(&label);
        EXPECT_EQ(label.text(), "ProductName") << file;
        EXPECT_EQ(info.GetKey("ProductName"), "") << file;
        info.SetCtlProductName(nullptr);
    }
}

TEST(TVersionInfo, BlockWithoutUsableTranslationGivesEmptyValues)
{
    TVersionInfo info(nullptr);
    QLabel label("ProductName");
    info.SetCtlProductName(&label);
    const VersionNode noTranslation{"VS_VERSION_INFO", false, "", {StringTable("041304E4")}};
    const VersionNode shortTranslation{
        "VS_VERSION_INFO", false, "", {StringTable("041304E4"), Translation("\x13\x04")}};
    for (const VersionNode& root : {noTranslation, shortTranslation}) {
        label.setText("ProductName");
        info.LoadFile(FileWithBlock(root));
        EXPECT_EQ(info.GetKey("ProductName"), "");
        EXPECT_EQ(label.text(), "");
    }

    // The first translation chooses the table.
    const VersionNode english{
        "VS_VERSION_INFO",
        false,
        "",
        {StringTable("040904B0"), Translation("\x09\x04\xB0\x04\x13\x04\xE4\x04")}};
    info.LoadFile(FileWithBlock(english));
    EXPECT_EQ(label.text(), "Other");
}

TEST(TVersionInfo, UnreadableBlockRaisesTheError)
{
    std::string block = versionres::SerializeVersionNode({"VS_VERSION_INFO", false, "", {}});
    block[0] = 0x7F;  // the outer length points past the block
    const std::string file =
        WriteTestFile(MakeElfImage({{versionres::kVersionSectionName, block}}));
    TVersionInfo info(nullptr);
    QLabel label("ProductName");
    info.SetCtlProductName(&label);
    try {
        info.LoadFile(file);
        FAIL() << "no error";
    } catch (const EError& e) {
        EXPECT_EQ(e.what(), "Cannot retrieve Version Information for " + file);
    }
    EXPECT_EQ(info.GetKey("ProductName"), "");
    EXPECT_EQ(label.text(), "Tavrin List");
}

// The programs' own files, where this tree builds them.
TEST(TVersionInfo, ProgramFiles)
{
    const std::vector<std::array<std::string, 3>> programs = {
#ifdef TAVRIN_PELLICOR_FILE
        {TAVRIN_PELLICOR_FILE, "Tavrin List", "1.13"},
#endif
#ifdef TAVRIN_QUANTIVO_FILE
        {TAVRIN_QUANTIVO_FILE, "Tavrin Calculator", "1.7"},
#endif
    };
    if (programs.empty())
        GTEST_SKIP() << "no program is built in this tree";
    for (const auto& [file, name, version] : programs) {
        TVersionInfo info(nullptr);
        info.LoadFile(file);
        EXPECT_EQ(info.GetKey("ProductName"), name) << file;
        EXPECT_EQ(info.GetKey("ProductVersion"), version) << file;
    }
}

#include "VersInfoTest.moc"
