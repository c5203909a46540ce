// The settings file beside the program at start and at exit.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/toolkit/TListView.h"
#include "tests/support/ChildTest.h"
#include "tests/support/FileAccess.h"
#include "tests/support/UnreadableFile.h"
#include "widgets/FieldEdit.h"

#include <QCheckBox>

#include <filesystem>
#include <sys/stat.h>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;

TEST_F(ListManagerTest, StartTakesFormatSeparatorAndDevicesFromTheSettingsFile)
{
    WriteFile("Pellicor.ini",
              "[options]\r\ndelimiter=44\r\n[wiegand]\r\nbitlen=34\r\nfc_enable=0\r\n"
              "[hostlist]\r\ndevice1=127.0.0.1\r\n");
    WriteFile("Pellicor.lst", "AB12,5\r\n");
    auto& f = Start();
    EXPECT_EQ(f.Delimiter, ',');
    EXPECT_EQ(f.EditWiegandLen->Text(), "34");
    EXPECT_FALSE(f.chkWiegandFCEnable->isChecked());
    ASSERT_EQ(f.HostList1->Count(), 1);
    EXPECT_EQ(GetColumnText(*f.HostList1, 0, 1), "127.0.0.1");
    EXPECT_EQ(GetColumnText(*f.HostList1, 0, 2), "device1");
    EXPECT_EQ(f.PlateList1->Count(), 1) << "the list file is read with the stored separator";
    EXPECT_FALSE(f.Modified);
}

// A settings file that is there but cannot be read is named at start with the reader's
// reason. The list's separator and quote character are then unknown, so the list file
// counts as unread: the close says so, Save as still works, and the exit replaces neither.
TEST_F(ListManagerTest, AnUnreadableSettingsFileIsNamedAtStartAndBothFilesAreKept)
{
    if (RanAsOrdinaryUser())
        return;
    const std::string list = "AB12,5\r\n'CD 34',6\r\n", settings = dir.file("Pellicor.ini");
    for (const TUnreadableFile& unreadable : UnreadableFiles(std::uint64_t{4} << 20)) {
        WriteFile("Pellicor.ini", "[options]\r\ndelimiter=44\r\nquotechar=39\r\n");
        WriteFile("Pellicor.lst", list);
        unreadable.make(settings);
        const auto before = FileIdentity(settings);
        const std::string refused = "Cannot open file \"" + settings + "\". " + unreadable.reason;
        ui.ExpectMessage(MsgKind::Error, refused, Buttons::OK);
        Start().PlateList1->AddRow("1", {"EF56", "7"});
        form->Modified = true;
        form->show();
        ui.ExpectMessage(MsgKind::Error,
                         "Error: the changes will not be written to " + ListFile() +
                             " at exit, since it could not be read at start:\r" + refused,
                         Buttons::OK);
        ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::Yes);
        ui.ExpectSaveFile(dir.file("saved.txt"));
        ui.ExpectMessage(MsgKind::Information, "File saved " + dir.file("saved.txt"), Buttons::OK);
        EXPECT_TRUE(form->close());
        ui.ExpectMessage(MsgKind::Error, "Unable to write to " + settings, Buttons::OK);
        Destroy();
        EXPECT_EQ(ReadFile("Pellicor.lst"), list) << unreadable.reason;
        EXPECT_EQ(ReadFile("saved.txt"), "EF56;7\r\n");
        EXPECT_EQ(FileIdentity(settings), before);
        std::filesystem::remove_all(settings);
    }
}

TEST_F(ListManagerTest, ExitWritesBothFilesAndTheListEvenWhenTheSettingsFail)
{
    Start();
    form->PlateList1->AddRow("1", {"AB12", "5"});
    std::filesystem::create_directory(dir.file("Pellicor.ini"));
    ui.ExpectMessageContaining(MsgKind::Error, "Unable to write to", Buttons::OK);
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\n");
    ui.VerifyDone();
}

TEST_F(ListManagerTest, FirstExitCreatesTheSettingsFile)
{
    Start();
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    const std::string settings = ReadFile("Pellicor.ini");
    EXPECT_NE(settings.find("[wiegand]"), std::string::npos) << settings;
    EXPECT_EQ(ReadFile("Pellicor.lst"), "");
    ui.VerifyDone();
}

// Who may reach the files stays as it was across the exit: an ACL (owner rw, user 1234 rw,
// owning group none) and a user attribute on both files are still there, the group still
// shut out.
TEST_F(ListManagerTest, ExitKeepsWhoMayReachTheFiles)
{
    const std::string acl = "user::rw-,user:1234:rw-,group::---,mask::rw-,other::---";
    WriteFile("Pellicor.ini", "[options]\r\ndelimiter=59\r\n");
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    for (const std::string& name : {dir.file("Pellicor.ini"), ListFile()})
        if (!SetAcl(name, acl) || !SetAttribute(name, "user.origin", "site 4"))
            GTEST_SKIP() << "the temporary folder's file system takes no ACL or user attribute";
    Start().PlateList1->AddRow("2", {"CD34", "6"});
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\nCD34;6\r\n");
    for (const std::string& name : {dir.file("Pellicor.ini"), ListFile()}) {
        EXPECT_EQ(AclText(name), acl) << name;
        EXPECT_EQ(Attribute(name, "user.origin"), "site 4") << name;
        struct stat info {};
        ASSERT_EQ(::stat(name.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 0660u) << name;
    }
    ui.VerifyDone();
}
