// File names in any language, from the program's folder and from the dialogs, reach the
// file system unchanged and the boxes as the person typed them.
#include "tests/listmanager/ListManagerFixture.h"

#include "matchlist/UImport.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/ChildTest.h"
#include "tests/support/ForeignNames.h"

#include <QLabel>
#include <QPushButton>

#include <filesystem>

using ui::Buttons;
using ui::MsgKind;
using RowList = std::vector<std::pair<std::string, std::string>>;

namespace {

QString Utf8(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace

// Also with the program itself in a folder whose name is no UTF-8, started from another
// folder: its own name comes from the system as bytes.
TEST_F(ListManagerTest, StartAndExitInAFolderOfAnyLanguage)
{
    const auto startAndExit = [this](const std::string& folder) {
        WriteFileReplacing(folder + "/Pellicor.ini", "[options]\r\ndelimiter=44\r\n");
        WriteFileReplacing(folder + "/Pellicor.lst", "AB12,5\r\n");
        auto& f = Start();
        EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}})) << folder;
        WriteFileReplacing(folder + "/opened.txt", "CD34,6\r\n");
        ui.ExpectOpenFile(folder + "/opened.txt");
        f.mnuFileOpenClick();
        ui.ExpectSaveFile(folder + "/saved.txt");
        ui.ExpectMessageContaining(MsgKind::Information, "File saved ", Buttons::OK);
        f.mnuFileSaveClick();
        EXPECT_EQ(ReadFileBytes(folder + "/saved.txt"), "CD34,6\r\n");
        f.PlateList1->AddRow("2", {"EF56", "7"});
        ui.ExpectMessageContaining(MsgKind::Information, "File saved ", Buttons::OK);
        Destroy();
        EXPECT_EQ(ui.Messages().back().shown, Utf8("File saved " + folder + "/Pellicor.lst"));
        EXPECT_EQ(ReadFileBytes(folder + "/Pellicor.lst"), "CD34,6\r\nEF56,7\r\n");
        EXPECT_NE(ReadFileBytes(folder + "/Pellicor.ini").find("delimiter=44"), std::string::npos);
        form.reset();
    };
    if (InChildTest()) {
        SetProgramFileNameForTesting("");
        const std::filesystem::path folder = std::filesystem::path(ProgramFileName()).parent_path();
        ASSERT_EQ(folder.filename().string(), "prog_" + std::string(kInvalidUtf8Name));
        startAndExit(folder.string());
        return;
    }
    for (std::string_view piece : kForeignNames) {
        const std::string folder = dir.file("prog_" + std::string(piece));
        std::filesystem::create_directory(folder);
        SetProgramFileNameForTesting(folder + "/Pellicor");
        startAndExit(folder);
    }
    const std::string folder = dir.file("prog_" + std::string(kInvalidUtf8Name));
    const std::string elsewhere = dir.file("elsewhere");
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(elsewhere);
    RunInChildTest(folder + "/Pellicor", elsewhere);
    EXPECT_EQ(ReadFileBytes(folder + "/Pellicor.lst"), "CD34,6\r\nEF56,7\r\n");
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

TEST_F(ListManagerTest, OpenSaveAsAndImportTakeNamesInAnyLanguage)
{
    auto& f = Start();
    TFormImport importDialog(&f);
    pellicor::FormImport = &importDialog;
    for (std::string_view piece : kForeignNames) {
        const std::string opened = dir.file(std::string(piece) + ".txt");
        WriteFileReplacing(opened, "AB12;5\r\n");
        ui.ExpectOpenFile(opened);
        f.mnuFileOpenClick();
        EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}})) << opened;

        const std::string saved = dir.file("Liste " + std::string(piece) + ".txt");
        ui.ExpectSaveFile(saved);
        ui.ExpectMessageContaining(MsgKind::Information, "File saved ", Buttons::OK);
        f.mnuFileSaveClick();
        EXPECT_EQ(ui.Messages().back().shown, Utf8("File saved " + saved));
        EXPECT_EQ(ReadFileBytes(saved), "AB12;5\r\n");

        f.PlateList1->Clear();
        QString title;
        ui.ExpectOpenFile(saved);
        ui.ExpectModal([&title](QWidget& window) {
            title = window.findChild<QLabel*>("PanelTitle")->text();
            window.findChild<QPushButton*>("btnOK")->click();
            return static_cast<QDialog&>(window).result();
        });
        f.mnuFileImportClick();
        EXPECT_EQ(title, Utf8("Example from file: " + saved + " :"));
        EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}}));
    }
    pellicor::FormImport = nullptr;
    ui.VerifyDone();
}
