#include "platform/inifile/IniFile.h"
#include "platform/registry/Registry.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/ProgramPath.h"
#include "simulators/TempDir.h"
#include "widgets/FieldEdit.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

class FieldEditPersistenceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetProgramFileNameForTesting(dir.file("Pellicor"));
        SetRegistryFileNameForTesting(dir.file("registry"));
    }
    void TearDown() override
    {
        SetProgramFileNameForTesting({});
        SetRegistryFileNameForTesting({});
    }

    // An edit in its window as a stored form builds it, persistence set before Loaded.
    // The edit stores its text when the window goes.
    struct HeldEdit {
        std::unique_ptr<QWidget> window;
        TFieldEdit* edit;
        TFieldEdit* operator->() const { return edit; }
    };
    // The edit still loading: Loaded is the caller's.
    HeldEdit Prepare(TPersistenceLocation where, const std::string& key,
                     const std::string& suffix = {})
    {
        auto window = std::make_unique<QWidget>();
        auto* edit = new TFieldEdit(window.get());
        edit->BeginLoad();
        edit->setObjectName("EditName");
        edit->SetSuffix(suffix);
        edit->Persistence().Enable = true;
        edit->Persistence().Key = key;
        edit->Persistence().Section = "Edits";
        edit->Persistence().Location = where;
        return {std::move(window), edit};
    }
    HeldEdit Make(TPersistenceLocation where, const std::string& key,
                  const std::string& suffix = {})
    {
        HeldEdit held = Prepare(where, key, suffix);
        held->Loaded();
        return held;
    }

    TempDir dir;
};

}  // namespace

TEST_F(FieldEditPersistenceTest, DisabledTouchesNothing)
{
    {
        auto edit = std::make_unique<TFieldEdit>();
        edit->BeginLoad();
        edit->setObjectName("EditName");
        edit->Loaded();
        edit->SetText("x");
    }
    EXPECT_TRUE(dir.entries().empty());
}

// The whole window text is kept (suffix included) and comes back as it was, without
// the edit type's rules; with no Key the file is the settings file beside the program.
TEST_F(FieldEditPersistenceTest, IniFileRoundTrip)
{
    {
        auto edit = Make(TPersistenceLocation::plInifile, "", " bits");
        edit->SetText("26");
        EXPECT_EQ(edit->Persistence().Key, dir.file("Pellicor.ini"));
    }
    EXPECT_EQ(TIniFile(dir.file("Pellicor.ini")).ReadString("Edits", "EditName", "?"), "26 bits");
    auto edit = Make(TPersistenceLocation::plInifile, "", " bits");
    EXPECT_EQ(edit->text(), "26 bits");  // the stored value is the whole window text
    EXPECT_EQ(edit->Text(), "26");
    edit->Persistence().Enable = false;
}

// The text is kept when the window that holds the edit goes, from any level above it,
// and never when the edit is freed on its own while its window lives on.
TEST_F(FieldEditPersistenceTest, StoredOnlyWhenTheHoldingWindowGoes)
{
    const std::string file = dir.file("my.ini");
    const auto stored = [&] { return TIniFile(file).ReadString("Edits", "EditName", "?"); };
    auto alone = Make(TPersistenceLocation::plInifile, file);
    alone->SetText("freed alone");
    delete alone.edit;
    alone.window.reset();
    EXPECT_EQ(stored(), "?");

    auto window = std::make_unique<QWidget>();
    auto* panel = new QWidget(window.get());
    auto moved = Make(TPersistenceLocation::plInifile, file);
    moved->setParent(panel);
    moved->SetText("with its window");
    moved.window.reset();
    EXPECT_EQ(stored(), "?") << "the edit's first window no longer holds it";
    window.reset();
    EXPECT_EQ(stored(), "with its window");
}

// "@" stands for nothing stored; an empty value is restored as empty; reads are cut
// at 2047 characters.
TEST_F(FieldEditPersistenceTest, StoredValuesThatAreSpecial)
{
    const std::string file = dir.file("my.ini");
    TIniFile ini(file);
    ini.WriteString("Edits", "EditName", "@");
    auto edit = std::make_unique<TFieldEdit>();
    edit->SetText("keep");
    edit->BeginLoad();
    edit->setObjectName("EditName");
    edit->Persistence().Enable = true;
    edit->Persistence().Key = file;
    edit->Persistence().Section = "Edits";
    edit->Loaded();
    EXPECT_EQ(edit->text(), "keep");
    edit->Persistence().Enable = false;

    ini.WriteString("Edits", "EditName", "");
    auto empty = Make(TPersistenceLocation::plInifile, file);
    EXPECT_EQ(empty->text(), "");
    empty->Persistence().Enable = false;

    ini.WriteString("Edits", "EditName", std::string(3000, 'x'));
    auto longer = Make(TPersistenceLocation::plInifile, file);
    EXPECT_EQ(longer->text().size(), 2047);
    longer->Persistence().Enable = false;
}

TEST_F(FieldEditPersistenceTest, RegistryRoundTrip)
{
    {
        auto edit = Make(TPersistenceLocation::plRegistry, "Software\\Tavrin");
        edit->SetText("stored");
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("Software\\Tavrin\\Edits", false));
    EXPECT_EQ(reg.ReadString("EditName"), "stored");
    auto edit = Make(TPersistenceLocation::plRegistry, "Software\\Tavrin");
    EXPECT_EQ(edit->text(), "stored");
    edit->Persistence().Enable = false;

    // With no Key the section sits right below the current user.
    {
        auto root = Make(TPersistenceLocation::plRegistry, "");
        root->SetText("top");
    }
    TRegistry top;
    ASSERT_TRUE(top.OpenKey("Edits", false));
    EXPECT_EQ(top.ReadString("EditName"), "top");
}

// A registry value that is not a string stops the loading with the system's text.
TEST_F(FieldEditPersistenceTest, RegistryValueOfOtherType)
{
    WriteFileReplacing(dir.file("registry"), "K\tK\\Edits\nV\tK\\Edits\tEditName\tREG_BINARY\t1\n");
    auto edit = Prepare(TPersistenceLocation::plRegistry, "K");
    try {
        edit->Loaded();
        FAIL();
    } catch (const EError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'EditName'");
    }
    edit->Persistence().Enable = false;
}

// A stored text ends at its first line break, so a pasted "first\r\nEditB=injected" can
// never write another edit's key.
TEST_F(FieldEditPersistenceTest, AStoredTextNeverWritesAnotherKey)
{
    const std::string file = dir.file("my.ini");
    {
        auto edit = Make(TPersistenceLocation::plInifile, file);
        edit->SetText("first\r\nEditB=injected\r\n[Other]");
    }
    EXPECT_EQ(ReadFileBytes(file), "[Edits]\r\nEditName=first\r\n");
    EXPECT_EQ(TIniFile(file).ReadString("Edits", "EditB", "@"), "@");
}
