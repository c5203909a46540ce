// Open and Save as, and what a failing file does to the list.
#include "tests/listmanager/ListManagerFixture.h"

#include "matchlist/UImport.h"
#include "platform/text/Errors.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/FileSizeLimit.h"
#include "widgets/FieldEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

#include <filesystem>

using ui::Buttons;
using ui::MsgKind;
using RowList = std::vector<std::pair<std::string, std::string>>;

TEST_F(ListManagerTest, OpenReplacesTheListWithoutAQuestion)
{
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    WriteFile("other.txt", "header;line\rXY 1;0x10\nNOMATCH;3\r\n\r\nZZ9;2");
    auto& f = Start();
    f.Modified = true;
    ui.ExpectOpenFile(dir.file("other.txt"));
    f.mnuFileOpenClick();
    EXPECT_EQ(PlateRows(), (RowList{{"XY", "1"}, {"ZZ9", "2"}}));
    EXPECT_TRUE(f.chkNoMatch->isChecked());
    EXPECT_EQ(f.EditNoMatch->Text(), "3");
    EXPECT_FALSE(f.Modified);
    const auto& options = ui.FileDialogs().back().options;
    EXPECT_TRUE(options.fileMustExist);
    EXPECT_TRUE(options.pathMustExist);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, OpenBoundsIdNumbersByTheFormatOnScreen)
{
    WriteFile("other.txt", "AB12;65535\r\nCD34;65536\r\n");
    auto& f = Start();
    ui.ExpectOpenFile(dir.file("other.txt"));
    f.mnuFileOpenClick();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "65535"}}));
}

TEST_F(ListManagerTest, OpenThatCannotReadKeepsTheList)
{
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    std::filesystem::create_symlink("/proc/self/mem", dir.file("unreadable.txt"));
    auto& f = Start();
    f.Modified = true;
    ui.ExpectOpenFile(dir.file("unreadable.txt"));
    EXPECT_THROW(f.mnuFileOpenClick(), EError);
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}}));
    EXPECT_TRUE(f.Modified);
}

TEST_F(ListManagerTest, CancelledDialogsChangeNothing)
{
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    auto& f = Start();
    ui.ExpectOpenFile(std::nullopt);
    f.mnuFileOpenClick();
    f.Modified = true;
    ui.ExpectSaveFile(std::nullopt);
    f.mnuFileSaveClick();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}}));
    EXPECT_TRUE(f.Modified);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, SaveAndOpenRoundTripKeepsEveryPlateExactly)
{
    auto& f = Start();
    f.Delimiter = ',';
    const RowList plates{{"AB 12", "5"},
                         {"A,B", "6"},
                         {"Q\"UOTE", "7"},
                         {"\xE4\xF6\xFC"
                          "1",
                          "8"},
                         {"\"LEAD", "$1F"},
                         {"TAB\tX", " 9 "}};
    for (const auto& [plate, id] : plates)
        f.PlateList1->AddRow("1", {plate, id});
    f.SetSpecial(0, true, "77");
    f.SetSpecial(2, true, "");
    const std::string file = dir.file("round.txt");
    ui.ExpectSaveFile(file);
    ui.ExpectMessage(MsgKind::Information, "File saved " + file, Buttons::OK);
    f.mnuFileSaveClick();
    EXPECT_FALSE(f.Modified);

    f.PlateList1->Clear();
    f.SetSpecial(0, false, "");
    ui.ExpectOpenFile(file);
    f.mnuFileOpenClick();
    EXPECT_EQ(PlateRows(), plates);
    EXPECT_TRUE(f.chkNoMatch->isChecked());
    EXPECT_EQ(f.EditNoMatch->Text(), "77");
    EXPECT_FALSE(f.chkNoPlate->isChecked()) << "an empty special entry does not come back";
    ui.VerifyDone();
}

TEST_F(ListManagerTest, SaveThatCannotCreateTheFileShowsNoSuccess)
{
    auto& f = Start();
    f.PlateList1->AddRow("1", {"AB12", "5"});
    f.Modified = true;
    WriteFile("plain", "x");
    ui.ExpectSaveFile(dir.file("plain") + "/list.txt");
    EXPECT_THROW(f.mnuFileSaveClick(), EError);
    EXPECT_TRUE(f.Modified);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, SaveThatRunsOutOfSpaceKeepsTheOldFile)
{
    auto& f = Start();
    for (int i = 0; i < 2000; ++i)
        f.PlateList1->AddRow("1", {"PLATE" + std::to_string(i), std::to_string(i + 1)});
    WriteFile("old.txt", "OLD1;1\r\n");
    ui.ExpectSaveFile(dir.file("old.txt"));
    {
        FileSizeLimit limit(1000);
        EXPECT_THROW(f.mnuFileSaveClick(), EError);
    }
    EXPECT_EQ(ReadFile("old.txt"), "OLD1;1\r\n");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"old.txt"})
        << "no temporary file is left behind";
    ui.VerifyDone();
}

TEST_F(ListManagerTest, ImportLoadsFromTheChosenLineWithTheChosenCharacters)
{
    WriteFile("Pellicor.lst", "OLD1;1\r\n");
    WriteFile("foreign.csv", "plate,number\r\nAB12,5\r\nCD34,6\r\n");
    auto& f = Start();
    TFormImport importDialog(&f);
    pellicor::FormImport = &importDialog;
    f.Modified = true;
    ui.ExpectOpenFile(dir.file("foreign.csv"));
    ui.ExpectModal([](QWidget& window) {
        window.findChild<QSpinBox*>("EditRow1")->setValue(2);
        auto* delimiter = window.findChild<QComboBox*>("EditDelim");
        delimiter->setCurrentIndex(delimiter->findText(", <comma>"));
        window.findChild<QPushButton*>("btnOK")->click();
        return static_cast<QDialog&>(window).result();
    });
    f.mnuFileImportClick();
    pellicor::FormImport = nullptr;
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}, {"CD34", "6"}}));
    EXPECT_EQ(f.Delimiter, ',') << "the chosen separator stays in force";
    EXPECT_FALSE(f.Modified);
    ui.VerifyDone();
}
