// The settings file beside the program at start and at exit.
#include "tests/listmanager/ListManagerFixture.h"

#include "platform/toolkit/TListView.h"
#include "widgets/FieldEdit.h"

#include <QCheckBox>

#include <filesystem>

using ui::Buttons;
using ui::MsgKind;

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
