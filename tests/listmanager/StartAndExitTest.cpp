// Start-up with the list file beside the program, the close question and the exit.
#include "tests/listmanager/DeviceWindowFixture.h"

#include "platform/file/InputFile.h"
#include "platform/file/ProgramPath.h"
#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/ChildTest.h"
#include "tests/support/FileFaults.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/MountedImage.h"
#include "widgets/FieldEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QProgressBar>
#include <QStatusBar>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using RowList = std::vector<std::pair<std::string, std::string>>;

TEST_F(ListManagerTest, FirstStartHasDefaultsAndAnEmptyList)
{
    auto& f = Start();
    EXPECT_EQ(f.PlateList1->Count(), 0);
    EXPECT_FALSE(f.Modified);
    EXPECT_EQ(f.Delimiter, ';');
    EXPECT_EQ(f.QuoteChar, '"');
    EXPECT_EQ(f.UserMode, 0);
    EXPECT_EQ(f.PlateSortColumn, -1);
    EXPECT_TRUE(f.ProgressBar1->isHidden());
    EXPECT_EQ(f.ProgressBar1->parentWidget(), f.StatusBar1);
    EXPECT_EQ(f.StatusBar1->currentMessage().toStdString(), "Wiegand 26-bit FC1");
    ASSERT_EQ(f.PlateList1->ColumnCount(), 3);
    EXPECT_EQ(f.PlateList1->ColumnCaption(1), "number plate");
    EXPECT_EQ(f.PlateList1->ColumnCaption(2), "wiegand id-number");
    EXPECT_EQ(f.PlateList1->ColumnWidth(0), 35);
}

TEST_F(ListManagerTest, StartLoadsTheListFileAndItsSpecialEntries)
{
    WriteFile("Pellicor.lst", "AB12;5\r\nbad plate!;7\r\nCD34;0\r\nNOREAD;77\r\nEF56;9");
    auto& f = Start();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "5"}, {"EF56", "9"}}));
    EXPECT_EQ(GetColumnText(*f.PlateList1, 1, 0), "2");
    EXPECT_TRUE(f.chkNoRead->isChecked());
    EXPECT_EQ(f.EditNoRead->Text(), "77");
    EXPECT_FALSE(f.Modified);
}

TEST_F(ListManagerTest, StartDoesNotBoundIdNumbersByTheWiegandFormat)
{
    // Above the 16 id bits of the default format: kept at start-up.
    WriteFile("Pellicor.lst", "AB12;70000\r\n");
    auto& f = Start();
    EXPECT_EQ(PlateRows(), (RowList{{"AB12", "70000"}}));
    EXPECT_EQ(f.MaxId, 65535);
}

TEST_F(ListManagerTest, UnreadableListFileAtStartIsReportedAndKeptAtExit)
{
    // Opens but fails on reading, even for root.
    std::filesystem::create_symlink("/proc/self/mem", ListFile());
    ui.ExpectMessageContaining(MsgKind::Error, "Cannot open file \"" + ListFile() + "\".",
                               Buttons::OK);
    auto& f = Start();
    EXPECT_EQ(f.PlateList1->Count(), 0);
    Destroy();
    EXPECT_TRUE(std::filesystem::is_symlink(ListFile()));
    ui.VerifyDone();
}

// A FIFO named as the list file neither holds the start nor gets replaced at exit; rows
// added meanwhile do not go without a word: the close says so first, and Cancel keeps the
// window open for Save as.
TEST_F(ListManagerTest, ASpecialListFileIsRefusedAtStartAndTheCloseSaysTheChangesStayUnwritten)
{
    ASSERT_EQ(::mkfifo(ListFile().c_str(), 0666), 0);
    const std::string refused = "Cannot open file \"" + ListFile() + "\". Not a regular file";
    ui.ExpectMessage(MsgKind::Error, refused, Buttons::OK);
    auto& f = Start();
    f.show();
    EXPECT_TRUE(f.close()) << "nothing changed: nothing to say";

    f.show();
    f.PlateList1->AddRow("1", {"AB12", "5"});
    f.Modified = true;
    const std::string unwritten = "Error: the changes will not be written to " + ListFile() +
                                  " at exit, since it could not be read at start:\r" + refused;
    ui.ExpectMessage(MsgKind::Error, unwritten, Buttons::OK);
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::Cancel);
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.Modified);
    ui.ExpectMessage(MsgKind::Error, unwritten, Buttons::OK);
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::No);
    EXPECT_TRUE(f.close());
    Destroy();
    struct stat info {};
    EXPECT_EQ(::lstat(ListFile().c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    ui.VerifyDone();
}

// A list file made read-only is refused at exit as an in-place write would be, and so is
// Save as onto a read-only file; both stay as they were.
TEST_F(ListManagerTest, AReadOnlyListFileIsNotReplaced)
{
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    WriteFile("other.txt", "kept\r\n");
    for (const std::string& name : {ListFile(), dir.file("other.txt")})
        ASSERT_EQ(::chmod(name.c_str(), 0444), 0);
    auto& f = Start();
    f.PlateList1->AddRow("2", {"CD34", "6"});
    f.Modified = true;
    ui.ExpectSaveFile(dir.file("other.txt"));
    EXPECT_THROW(f.mnuFileSaveClick(), EFCreateError);
    EXPECT_TRUE(f.Modified);
    ui.ExpectMessage(MsgKind::Error, "Cannot create file \"" + ListFile() + "\". Permission denied",
                     Buttons::OK);
    Destroy();
    EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\n");
    EXPECT_EQ(ReadFile("other.txt"), "kept\r\n");
    ui.VerifyDone();
}

// Every name of the list file sees the new list, a second (hard) link included.
TEST_F(ListManagerTest, ExitWritesTheListFileAndSaysSo)
{
    WriteFile("Pellicor.lst", "CD34;6\r\n");
    std::filesystem::create_hard_link(ListFile(), dir.file("other.lst"));
    Start();
    form->PlateList1->AddRow("1", {"AB 12", "5"});
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    EXPECT_EQ(ReadFile("Pellicor.lst"), "CD34;6\r\n\"AB 12\";5\r\n");
    EXPECT_EQ(ReadFile("other.lst"), ReadFile("Pellicor.lst"));
    ui.VerifyDone();
}

// Where the system does not tell the program's own file, the start says so and no file is
// written anywhere; the close says first that the changes stay unwritten.
TEST_F(ListManagerTest, WithoutItsOwnFileTheProgramSaysSoAndWritesNothing)
{
    SetProgramFileNameForTesting("");
    SetProgramLinkForTesting(dir.file("exe"));
    const std::string notFound = "Cannot find the program's own file. No such file or directory";
    ui.ExpectMessage(MsgKind::Error, notFound, Buttons::OK);
    Start().PlateList1->AddRow("1", {"AB12", "5"});
    form->Modified = true;
    form->show();
    ui.ExpectMessage(MsgKind::Error, "Error: the changes will not be written at exit:\r" + notFound,
                     Buttons::OK);
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::No);
    EXPECT_TRUE(form->close());
    ui.ExpectMessage(MsgKind::Error, notFound, Buttons::OK);
    Destroy();
    SetProgramLinkForTesting("");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{});
}

TEST_F(ListManagerTest, ExitThatCannotWriteKeepsTheOldListFile)
{
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    Start();
    // A folder where the temporary file would go makes every write fail.
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    form->PlateList1->Clear();
    std::filesystem::remove(ListFile());
    std::filesystem::create_directory(ListFile());
    ui.ExpectMessageContaining(MsgKind::Error, "Cannot create file", Buttons::OK);
    Destroy();
    EXPECT_TRUE(std::filesystem::is_directory(ListFile()));
    ui.VerifyDone();
}

// A file-size limit below the files is a refusal like a full disk, known before the first
// byte: File > Save as and both files at exit say so, and every old file stays whole with
// nothing beside it. The close says it first, of the list file replaced or written in place
// (a second name); Cancel keeps the window open.
TEST_F(ListManagerTest, AFileSizeLimitIsRefusedAndKeepsEveryFile)
{
    const std::string settings = "[options]\r\ndelimiter=59\r\n";
    WriteFile("Pellicor.ini", settings);
    WriteFile("Pellicor.lst", "AB12;5\r\n");
    WriteFile("saved.txt", "kept\r\n");
    Start();
    for (int row = 0; row < 400; ++row)
        form->PlateList1->AddRow(std::to_string(row + 1), {"CD" + std::to_string(row), "7"});
    form->Modified = true;
    form->show();
    const auto tooLarge = [this](const std::string& name) {
        return "Cannot create file \"" + dir.file(name) + "\". File too large";
    };
    {
        FileSizeLimit limit(2048);
        ui.ExpectSaveFile(dir.file("saved.txt"));
        try {
            form->mnuFileSaveClick();
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()), tooLarge("saved.txt"));
        }
        EXPECT_TRUE(form->Modified);
        for (const bool linked : {false, true}) {
            if (linked)
                std::filesystem::create_hard_link(ListFile(), dir.file("other.lst"));
            ui.ExpectMessage(MsgKind::Error,
                             "Error: the changes will not be written to " + ListFile() +
                                 " at exit, since it cannot be written:\r" +
                                 tooLarge("Pellicor.lst"),
                             Buttons::OK);
            ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel,
                             Result::Cancel);
            EXPECT_FALSE(form->close()) << linked;
        }
    }
    {
        FileSizeLimit limit(16);
        ui.ExpectMessage(MsgKind::Error, "Unable to write to " + dir.file("Pellicor.ini"),
                         Buttons::OK);
        ui.ExpectMessage(MsgKind::Error, tooLarge("Pellicor.lst"), Buttons::OK);
        Destroy();
    }
    EXPECT_EQ(ReadFile("Pellicor.ini"), settings);
    EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\n");
    EXPECT_EQ(ReadFile("saved.txt"), "kept\r\n");
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"Pellicor.ini", "Pellicor.lst", "other.lst", "saved.txt"}));
    ui.VerifyDone();
}

// A list with a second name is written in place at exit, with all the write puts on the file
// system counted before its first byte. On a file system without fallocate (ext2) that works
// as anywhere. On a copy-on-write one (btrfs) the new list needs its whole length free: with
// room for it but not for the copy of the old list beside it (65,000 rows, 887,784 bytes
// with LF written back as 952,784 with CR LF, some 1,084 KB free), the copy goes to the home
// folder on another file system and the list is written; where the home and temporary
// folders lie on the same full file system, the exit refuses before the first byte and both
// names keep the old list whole. On one that overwrites in place (ext4) a list that shrinks
// needs no room of its own: 25,494 bytes written back as 3,500 with 2 KB free.
TEST_F(ListManagerTest, AListOfTwoNamesIsWrittenOrKeptWholeOnEveryFileSystem)
{
    if (RanWithOwnMounts())
        return;
    std::string lf, crlf, shrinking, shrunk;
    for (int row = 0; row < 65000; ++row) {
        lf += Format("AB%d;%d\n", row, row + 1);
        crlf += Format("AB%d;%d\r\n", row, row + 1);
    }
    for (int row = 0; row < 250; ++row)
        shrunk += Format("PLT%04d;%d\r\n", row, 1000 + row);
    shrinking = shrunk;
    for (int line = 0; line < 1571; ++line)
        shrinking += "bad plate!;7\r\n";
    const TempDir elsewhere;
    const struct {
        const char* type;
        int megabytes;
        const char* options;
        const std::string& old;
        const std::string& written;
        unsigned long long free;  // 0: as made
        bool homeOnImage;
        bool saved;
    } cases[] = {
        {"ext2", 16, "", lf, crlf, 0, false, true},
        {"btrfs", 128, "", lf, crlf, 1084 * 1024, true, false},
        {"btrfs", 128, "", lf, crlf, 1084 * 1024, false, true},
        {"ext4", 16, "-m 0", shrinking, shrunk, 2048, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + (c.homeOnImage ? ", home on it" : ""));
        const MountedImage image(c.type, c.megabytes, c.options);
        if (!image.Failure().empty())
            GTEST_SKIP() << image.Failure();
        SetProgramFileNameForTesting(image.path() + "/Pellicor");
        const std::string list = image.path() + "/Pellicor.lst";
        const std::string other = image.path() + "/other.lst";
        std::ofstream(list, std::ios::binary) << c.old;
        std::filesystem::create_hard_link(list, other);
        const std::string home = c.homeOnImage ? image.path() + "/home" : elsewhere.path();
        std::filesystem::create_directory(home);
        const ScopedVariable homeFolder("HOME", home), temporaryFolder("TMPDIR", home);
        if (c.free) {
            image.FillUpTo(c.free);
            // Never room for the new list and a copy of the old one beside it.
            EXPECT_LE(image.FreeBytes(), c.free + 4096);
            EXPECT_LT(image.FreeBytes(), c.written.size() + c.old.size());
        }
        Start();
        if (c.saved)
            ui.ExpectMessage(MsgKind::Information, "File saved " + list, Buttons::OK);
        else
            ui.ExpectMessage(MsgKind::Error,
                             "Cannot create file \"" + list + "\". No space left on device",
                             Buttons::OK);
        Destroy();
        form.reset();
        const std::string& expected = c.saved ? c.written : c.old;
        EXPECT_TRUE(ReadFileBytes(list) == expected) << ReadFileBytes(list).size();
        EXPECT_TRUE(ReadFileBytes(other) == expected);
        EXPECT_TRUE(std::filesystem::is_empty(home)) << "a copy left in the home folder";
        ui.VerifyDone();
    }
}

// A list file that the exit could not write is found out before the window closes: the
// close says so first, with the reason the write would give, and Cancel keeps the window
// open for Save as. As an ordinary user, for whom permissions hold.
TEST_F(ListManagerTest, AListFileThatCannotBeWrittenIsNamedBeforeTheWindowCloses)
{
    if (RanAsOrdinaryUser())
        return;
    const std::string folder = dir.file("app"), moved = dir.file("moved");
    const std::string list = folder + "/Pellicor.lst";
    const std::vector<std::pair<std::string, std::function<void()>>> cases{
        {"Permission denied", [&] { ::chmod(list.c_str(), 0444); }},
        {"Is a directory",
         [&] {
             std::filesystem::remove(list);
             std::filesystem::create_directory(list);
         }},
        {"No such file or directory", [&] { std::filesystem::rename(folder, moved); }},
    };
    for (const auto& [reason, make] : cases) {
        std::filesystem::create_directory(folder);
        SetProgramFileNameForTesting(folder + "/Pellicor");
        std::ofstream(list, std::ios::binary) << "AB12;5\r\n";
        Start().PlateList1->AddRow("2", {"CD34", "6"});
        form->Modified = true;
        form->show();
        make();
        const std::string refused = "Cannot create file \"" + list + "\". " + reason;
        ui.ExpectMessage(MsgKind::Error,
                         "Error: the changes will not be written to " + list +
                             " at exit, since it cannot be written:\r" + refused,
                         Buttons::OK);
        ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel,
                         Result::Cancel);
        EXPECT_FALSE(form->close()) << reason;
        ui.ExpectSaveFile(dir.file("saved.txt"));
        ui.ExpectMessage(MsgKind::Information, "File saved " + dir.file("saved.txt"), Buttons::OK);
        form->mnuFileSaveClick();
        EXPECT_TRUE(form->close()) << "saved: nothing more to say";
        if (reason == "No such file or directory")
            ui.ExpectMessage(MsgKind::Error, "Unable to write to " + folder + "/Pellicor.ini",
                             Buttons::OK);
        ui.ExpectMessage(MsgKind::Error, refused, Buttons::OK);
        Destroy();
        form.reset();
        EXPECT_EQ(ReadFile("saved.txt"), "AB12;5\r\nCD34;6\r\n");
        ui.VerifyDone();
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(moved);
    }
}

// In a folder where everybody may add files but none may rename over another's (sticky, as
// /tmp is), a list file of another user that the person may write is written in place at
// exit, and stays that user's.
TEST_F(ListManagerTest, AListOfAnotherUserInAStickyFolderIsWrittenInPlace)
{
    if (!InChildTest()) {
        if (::geteuid() != 0)
            GTEST_SKIP() << "only root can lend a list file to another user";
        WriteFile("Pellicor.lst", "AB12;5\r\n");
        ASSERT_EQ(::chmod(ListFile().c_str(), 0666), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 01777), 0);
        struct stat info {};
        ASSERT_EQ(::stat(ListFile().c_str(), &info), 0);
        const ino_t inode = info.st_ino;
        RunInChildTest("", dir.path(), true);
        EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\nCD34;6\r\n");
        ASSERT_EQ(::stat(ListFile().c_str(), &info), 0);
        EXPECT_EQ(info.st_ino, inode);
        EXPECT_EQ(info.st_uid, 0u);
        return;
    }
    SetProgramFileNameForTesting(std::filesystem::current_path().string() + "/Pellicor");
    const std::string list = std::filesystem::current_path().string() + "/Pellicor.lst";
    Start().PlateList1->AddRow("2", {"CD34", "6"});
    form->Modified = true;
    form->show();
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::No);
    EXPECT_TRUE(form->close());
    ui.ExpectMessage(MsgKind::Information, "File saved " + list, Buttons::OK);
    Destroy();
    ui.VerifyDone();
}

// A list file whose mode sets its group on what is made in its folder (set-group-id, 02770)
// keeps that mode when the exit writes it, replaced or in place (a second name): a write by
// an ordinary user has the system clear that bit, so the mode is given again after the
// bytes. As an ordinary user, whom the system clears it for.
TEST_F(ListManagerTest, AListFileKeepsItsSetGroupIdModeAtExit)
{
    if (RanAsOrdinaryUser())
        return;
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "in place" : "replaced");
        WriteFile("Pellicor.lst", "AB12;5\r\n");
        ASSERT_EQ(::chmod(ListFile().c_str(), 02770), 0);
        if (linked)
            std::filesystem::create_hard_link(ListFile(), dir.file("other.lst"));
        Start().PlateList1->AddRow("2", {"CD34", "6"});
        ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
        Destroy();
        form.reset();
        EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\nCD34;6\r\n");
        struct stat info {};
        ASSERT_EQ(::stat(ListFile().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, 02770u);
        std::filesystem::remove(dir.file("other.lst"));
        ui.VerifyDone();
    }
}

TEST_F(ListManagerTest, CloseQuestionPaths)
{
    Start();
    form->show();
    form->Modified = false;
    EXPECT_TRUE(form->close()) << "unmodified: closes without a question";

    form->show();
    form->Modified = true;
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->Modified);

    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::None);
    EXPECT_FALSE(form->close()) << "a box closed without a button counts as Cancel";

    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::Yes);
    ui.ExpectSaveFile(std::nullopt);
    EXPECT_FALSE(form->close()) << "cancelling the save dialog counts as Cancel";
    EXPECT_TRUE(form->Modified);

    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::No);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(form->Modified);
    ui.VerifyDone();
}

TEST_F(ListManagerTest, CloseQuestionYesSavesToTheChosenFile)
{
    Start();
    form->PlateList1->AddRow("1", {"AB12", "5"});
    form->Modified = true;
    form->show();
    const std::string chosen = dir.file("mine.txt");
    ui.ExpectMessage(MsgKind::Confirmation, kCloseQuestion, Buttons::YesNoCancel, Result::Yes);
    ui.ExpectSaveFile(chosen);
    ui.ExpectMessage(MsgKind::Information, "File saved " + chosen, Buttons::OK);
    EXPECT_TRUE(form->close());
    EXPECT_FALSE(form->Modified);
    EXPECT_EQ(ReadFile("mine.txt"), "AB12;5\r\n");
    ASSERT_FALSE(ui.FileDialogs().empty());
    const auto& options = ui.FileDialogs().back().options;
    EXPECT_EQ(options.filter, "Text files (*.txt)|*.txt|All files (*.*)|*.*");
    EXPECT_EQ(options.defaultExt, ".txt");
    EXPECT_TRUE(options.overwritePrompt);
    // Then the exit writes the list file beside the program as well.
    ui.ExpectMessage(MsgKind::Information, "File saved " + ListFile(), Buttons::OK);
    Destroy();
    ui.VerifyDone();
}

TEST_F(ListManagerTest, WindowIsTitledAndImportFormatInfoIsExact)
{
    QApplication::setApplicationDisplayName("Tavrin List");
    auto& f = Start();
    EXPECT_EQ(f.windowTitle().toStdString(), "Tavrin List");
    ui.ExpectMessage(MsgKind::Information,
                     "Import file format:\r\rImport files must be text files. Each line "
                     "contains a number plate \rand a wiegand id-number separated with a "
                     "semicolon (\";\").\r\rFor example:\r   ZLSZ17;1\r   AB99YZ;22\r   "
                     "HK55EVB;333",
                     Buttons::OK);
    f.mnuFileInfoClick();
    ui.VerifyDone();
}

TEST_F(ListManagerTest, ResizeSharesTheWidthBetweenTheSidePanels)
{
    auto& f = Start();
    f.resize(801, 600);
    f.show();
    QApplication::processEvents();
    const int w = f.centralWidget()->width() - 25;
    EXPECT_EQ(f.PanelLeft->width(), w / 2);
    EXPECT_EQ(f.PanelRight->width(), w / 2);
    const int left = f.PanelLeft->width();
    f.resize(110, 600);
    QApplication::processEvents();
    EXPECT_EQ(f.PanelLeft->width(), left) << "below 100 pixels the panels keep their widths";
}
