#include "tests/calculator/CalculatorWindow.h"

#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/FileSystem.h"
#include "platform/file/ProgramPath.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "calculator/Program.h"
#include "tests/support/ChildTest.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ForeignNames.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/UnreadableFile.h"
#include "tests/support/WhenModal.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <unistd.h>

using ::testing::ElementsAre;
using ui::Buttons;
using ui::MsgKind;

namespace {

const char* const FirstExitSettings =
    "[settings]\r\nmode=0\r\n"
    "[wg26]\r\ncolwidth0=100\r\ncolwidth1=120\r\ncolwidth2=0\r\ncolwidth3=0\r\n"
    "colwidth4=0\r\ncolwidth5=100\r\ncolwidth6=100\r\n"
    "[wg64]\r\ncolwidth0=120\r\ncolwidth1=160\r\ncolwidth2=0\r\n";

}  // namespace

TEST_F(CalculatorWindow, FirstStartShowsTheInitialColumnsAndFirstExitWritesThem)
{
    Open();
    EXPECT_FALSE(FileExists(SettingsFile()));
    EXPECT_EQ(form_->LV1->ColumnWidth(0), 100);
    EXPECT_EQ(form_->LV1->ColumnWidth(1), 120);
    EXPECT_EQ(form_->LV1->ColumnWidth(2), 0);
    EXPECT_EQ(form_->LV1->ColumnWidth(6), 100);
    EXPECT_EQ(form_->LV2->ColumnWidth(1), 160);
    EXPECT_EQ(form_->LV2->ColumnWidth(2), 0);
    Close();
    EXPECT_EQ(ReadFileBytes(SettingsFile()), FirstExitSettings);
}

TEST_F(CalculatorWindow, StoredPageAndWidthsComeBack)
{
    WriteFileReplacing(SettingsFile(),
                       "[settings]\nmode=1\n[wg26]\ncolwidth0=0\ncolwidth4=0x8C\ncolwidth1=-3\n"
                       "colwidth5=2147483647\n[wg64]\ncolwidth2=77\n");
    Open();
    EXPECT_EQ(form_->ActivePageIndex(), 1);
    EXPECT_EQ(form_->LV1->ColumnWidth(0), 0);
    EXPECT_EQ(form_->LV1->ColumnWidth(1), 0);
    EXPECT_EQ(form_->LV1->ColumnWidth(4), 140);
    EXPECT_EQ(form_->LV1->ColumnWidth(5), 10000) << "an absurd width is cut down";
    EXPECT_EQ(form_->LV2->ColumnWidth(2), 77);

    // A hidden plate column stays hidden (its entries are greyed) and is still saved.
    CalcPlates("hk 55 evb");
    form_->SetActivePageIndex(0);
    SaveAs(File("lv1.txt"));
    EXPECT_EQ(ReadFileBytes(File("lv1.txt")),
              "Number plate;Digest (truncated dec);Facility code;ID number\r\n"
              "HK55EVB;8441621;128;53013\r\n");
}

TEST_F(CalculatorWindow, WithoutAPageNothingIsSavedOrExplainedAndModeIsMinusOne)
{
    WriteFileReplacing(SettingsFile(), "[settings]\nmode=7\n");
    Open();
    EXPECT_EQ(form_->ActivePageIndex(), -1);
    CalcPlates("A");
    ui_.ExpectSaveFile(File("none.txt"));
    form_->mnuFileSave->trigger();
    EXPECT_FALSE(FileExists(File("none.txt")));
    Close();
    EXPECT_NE(ReadFileBytes(SettingsFile()).find("[settings]\r\nmode=-1\r\n"), std::string::npos);
}

TEST_F(CalculatorWindow, ClickingATabBringsBackAPage)
{
    WriteFileReplacing(SettingsFile(), "[settings]\nmode=2\n");
    Open();
    const int current = form_->PageControl1->currentIndex();
    emit form_->PageControl1->tabBar()->tabBarClicked(current);
    EXPECT_EQ(form_->ActivePageIndex(), current);
    EXPECT_TRUE(form_->PageControl1->currentWidget()->isVisible());
}

TEST_F(CalculatorWindow, SettingsFileOfAnyContentGivesTheDefaults)
{
    std::string garbage;
    for (int i = 0; i < 20000; ++i)
        garbage += static_cast<char>((i * 131 + 7) % 256);
    WriteFileReplacing(SettingsFile(), garbage + "\n[settings]\nmode=1x\n[wg26\ncolwidth0=9\n");
    Open();
    EXPECT_EQ(form_->ActivePageIndex(), 0);
    EXPECT_EQ(form_->LV1->ColumnWidth(0), 100);
    EXPECT_EQ(form_->LV1->ColumnWidth(2), 0);
}

TEST_F(CalculatorWindow, ResultFilesOfBothListsAsShown)
{
    Open();
    CalcPlates("hk 55 evb");
    SaveAs(File("wg26.txt"));
    EXPECT_EQ(ReadFileBytes(File("wg26.txt")),
              "Number plate;Wiegand 26-bit (hex);Facility code;ID number\r\n"
              "HK55EVB;0x3019E2A;128;53013\r\n");
    ASSERT_EQ(ui_.FileDialogs().size(), 1u);
    EXPECT_EQ(ui_.FileDialogs()[0].options.filter, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(ui_.FileDialogs()[0].options.defaultExt, "txt");
    EXPECT_FALSE(ui_.FileDialogs()[0].options.overwritePrompt);

    form_->SetActivePageIndex(1);
    SaveAs(File("wg26.txt"));  // replaced without a question
    EXPECT_EQ(ReadFileBytes(File("wg26.txt")),
              "Number plate;Wiegand 64-bit (raw)\r\nHK55EVB;0x600002191555EBDB\r\n");

    form_->mnuFileNew->trigger();
    SaveAs(File("empty.txt"));
    EXPECT_EQ(ReadFileBytes(File("empty.txt")), "Number plate;Wiegand 64-bit (raw)\r\n");
}

TEST_F(CalculatorWindow, AResultFileThatCannotBeCreatedIsReportedAndNotCalledSaved)
{
    Open();
    const std::string path = File("missing") + "/out.txt";
    ui_.ExpectSaveFile(path);
    ui_.ExpectMessageContaining(MsgKind::Error, "Cannot create file \"" + path + "\". ",
                                Buttons::OK);
    form_->mnuFileSave->trigger();

    // A file-size limit below the results is known before the first byte: the old file
    // stays whole and nothing is left beside it.
    CalcPlates("hk 55 evb\nAB12CD34EF56\nx1");
    WriteFileReplacing(File("old.txt"), "kept\r\n");
    const auto before = dir_.entries();
    FileSizeLimit limit(64);
    ui_.ExpectSaveFile(File("old.txt"));
    ui_.ExpectMessage(MsgKind::Error,
                      "Cannot create file \"" + File("old.txt") + "\". File too large",
                      Buttons::OK);
    form_->mnuFileSave->trigger();
    EXPECT_EQ(ReadFileBytes(File("old.txt")), "kept\r\n");
    EXPECT_EQ(dir_.entries(), before);
}

TEST_F(CalculatorWindow, ASavedFileReadBackAddsTheSamePlates)
{
    Open();
    for (int column = 2; column <= 4; ++column)
        form_->mnuShowHideColumnLV1Click(
            form_->findChild<QAction*>(QString("mnuShowHideLV1Column_%1").arg(column)));
    CalcPlates("x1\nhk 55 evb\nAB12CD34EF56\nA");
    form_->OnColumnClick(form_->LV1, 0);  // saved as displayed: Z to A
    SaveAs(File("all.txt"));

    form_->mnuFileNew->trigger();
    form_->EditPlates->setPlainText("discarded");
    ui_.ExpectOpenFile(File("all.txt"));
    form_->mnuFileOpen->trigger();
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("X1", "HK55EVB", "AB12CD34EF56", "A"));
    EXPECT_THAT(Plates(*form_->LV2), ElementsAre("X1", "HK55EVB", "AB12CD34EF56", "A"));
    EXPECT_TRUE(form_->EditPlates->toPlainText().isEmpty());
}

TEST_F(CalculatorWindow, PlateFilesOfAnyContentAreReadLineByLine)
{
    Open();
    std::string bytes = "ab1\r\ncd2\rEF3\n";
    bytes += std::string(1 << 20, 'Z') + "\n";      // a very long line is no plate
    bytes += "\x01\x02\xFF\xFEgh4\x80\n";           // binary around a plate
    bytes += std::string("ij5\0kl6\nmn7\0\n", 13);  // a NUL is a control character
    WriteFileReplacing(File("in.txt"), bytes);
    form_->LoadPlatesFromFile(File("in.txt"));
    EXPECT_THAT(Plates(*form_->LV1), ElementsAre("AB1", "CD2", "EF3", "GH4", "IJ5KL6", "MN7"));

    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += Format("P%d\n", i);
    WriteFileReplacing(File("many.txt"), many);
    form_->mnuFileNewClick();
    form_->LoadPlatesFromFile(File("many.txt"));
    ASSERT_EQ(form_->LV2->Count(), 100000);
    EXPECT_EQ(form_->LV2->Caption(99999), "P99999");
    EXPECT_EQ(form_->LV1->SelectedRows(), std::vector<int>{99999});
}

TEST_F(CalculatorWindow, APlateFileThatCannotBeOpenedChangesNothing)
{
    Open();
    CalcPlates("A");
    form_->EditPlates->setPlainText("kept");
    const std::string path = File("absent.txt");
    ui_.ExpectOpenFile(path);
    ui_.ExpectMessageContaining(MsgKind::Error, "Cannot open file \"" + path + "\". ", Buttons::OK);
    form_->mnuFileOpen->trigger();
    EXPECT_EQ(form_->EditPlates->toPlainText(), "kept");
    EXPECT_EQ(form_->LV1->Count(), 1);

    ui_.ExpectOpenFile(std::nullopt);
    form_->mnuFileOpen->trigger();
    EXPECT_EQ(form_->EditPlates->toPlainText(), "kept");
}

// A settings file that cannot be written, or that is there but cannot be read, is reported
// at exit and left as it is; it holds the view only, so the start says nothing of it.
TEST_F(CalculatorWindow, ASettingsFileThatCannotBeWrittenIsReportedAtExit)
{
    if (RanAsOrdinaryUser())
        return;
    SetProgramFileNameForTesting(File("missing") + "/Quantivo");
    Open();
    ui_.ExpectMessage(MsgKind::Error, "Unable to write to " + File("missing") + "/Quantivo.ini",
                      Buttons::OK);
    Close();

    SetProgramFileNameForTesting(File("Quantivo"));
    for (const TUnreadableFile& unreadable : UnreadableFiles(std::uint64_t{4} << 20)) {
        WriteFileReplacing(SettingsFile(), "[settings]\r\nmode=1\r\n");
        unreadable.make(SettingsFile());
        const auto before = FileIdentity(SettingsFile());
        Open();
        EXPECT_EQ(form_->ActivePageIndex(), 0) << unreadable.reason;
        ui_.ExpectMessage(MsgKind::Error, "Unable to write to " + SettingsFile(), Buttons::OK);
        Close();
        EXPECT_EQ(FileIdentity(SettingsFile()), before);
        std::filesystem::remove_all(SettingsFile());
    }
}

// Where the system does not tell the program's own file, the start and the exit say so, and
// no settings file is written anywhere.
TEST_F(CalculatorWindow, WithoutItsOwnFileTheCalculatorSaysSoAndWritesNothing)
{
    SetProgramFileNameForTesting("");
    SetProgramLinkForTesting(File("exe"));
    const std::string notFound = "Cannot find the program's own file. No such file or directory";
    ui_.ExpectMessage(MsgKind::Error, notFound, Buttons::OK);
    Open();
    EXPECT_EQ(form_->ActivePageIndex(), 0);
    ui_.ExpectMessage(MsgKind::Error, notFound, Buttons::OK);
    Close();
    SetProgramLinkForTesting("");
    EXPECT_EQ(dir_.entries(), std::vector<std::string>{});
}

// Names in any language, for the program's folder (the settings file) and for the plate
// and result files, reach the file system unchanged and the box as the person typed them;
// also with the program itself in a folder whose name is no UTF-8, started from another
// folder.
TEST_F(CalculatorWindow, FilesOfAnyNameInAFolderOfAnyName)
{
    const auto filesIn = [this](const std::string& folder, std::string_view piece) {
        WriteFileReplacing(folder + "/Quantivo.ini", "[settings]\r\nmode=1\r\n");
        Open();
        EXPECT_EQ(form_->ActivePageIndex(), 1) << folder;

        const std::string plates = folder + "/" + std::string(piece) + ".txt";
        WriteFileReplacing(plates, "hk 55 evb\r\n");
        ui_.ExpectOpenFile(plates);
        form_->mnuFileOpen->trigger();
        EXPECT_THAT(Plates(*form_->LV2), ElementsAre("HK55EVB"));

        const std::string results = folder + "/Ergebnis " + std::string(piece) + ".txt";
        ui_.ExpectSaveFile(results);
        ui_.ExpectMessageContaining(MsgKind::Information, "OK: file ", Buttons::OK);
        form_->mnuFileSave->trigger();
        EXPECT_EQ(ui_.Messages().back().shown,
                  QString::fromStdString("OK: file " + results + " saved"));
        EXPECT_EQ(ReadFileBytes(results),
                  "Number plate;Wiegand 64-bit (raw)\r\nHK55EVB;0x600002191555EBDB\r\n");

        form_->SetActivePageIndex(0);
        Close();
        EXPECT_NE(ReadFileBytes(folder + "/Quantivo.ini").find("mode=0\r\n"), std::string::npos);
    };
    if (InChildTest()) {
        SetProgramFileNameForTesting("");
        const std::filesystem::path folder = std::filesystem::path(ProgramFileName()).parent_path();
        ASSERT_EQ(folder.filename().string(), "prog_" + std::string(kInvalidUtf8Name));
        filesIn(folder.string(), kInvalidUtf8Name);
        return;
    }
    for (std::string_view piece : kForeignNames) {
        const std::string folder = File("prog_" + std::string(piece));
        std::filesystem::create_directory(folder);
        SetProgramFileNameForTesting(folder + "/Quantivo");
        filesIn(folder, piece);
    }
    ui_.VerifyDone();

    const std::string folder = File("prog_" + std::string(kInvalidUtf8Name));
    const std::string elsewhere = File("elsewhere");
    std::filesystem::create_directory(folder);
    std::filesystem::create_directory(elsewhere);
    RunInChildTest(folder + "/Quantivo", elsewhere);
    EXPECT_NE(ReadFileBytes(folder + "/Quantivo.ini").find("mode=0\r\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

// --- the end of a session: a log-out or shut-down (SIGTERM), a closed terminal (SIGHUP),
// Ctrl+C (SIGINT)

// Whatever window is open at the signal is closed as Escape would close it, and the program
// ends by its exit, which writes the settings file; its result is 0.
TEST_F(CalculatorWindow, TheSessionsEndWritesTheSettingsWhateverWindowIsOpen)
{
    if (!InChildTest())
        return RunInChildTest("", "");
    ui::SetCurrentUi(nullptr);
    const struct {
        const char* what;
        int signo;
        void (quantivo::TFormMain::*open)();
    } cases[] = {
        {"the help box", SIGTERM, &quantivo::TFormMain::Howtocalculate1Click},
        {"a file dialog", SIGHUP, &quantivo::TFormMain::mnuFileSaveClick},
        {"the about box", SIGINT, &quantivo::TFormMain::mnuAboutClick},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(SettingsFile());
        QTimer::singleShot(0, qApp, [&c] {
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* form = qobject_cast<quantivo::TFormMain*>(window)) {
                    WhenModal([&c](QWidget*) { ::kill(::getpid(), c.signo); });
                    (form->*c.open)();
                }
        });
        EXPECT_EQ(quantivo::RunProgram(), 0);
        EXPECT_EQ(ReadFileBytes(SettingsFile()), FirstExitSettings);
    }
}

#ifdef TAVRIN_QUANTIVO_FILE
// The real program, signalled from outside once its start-up has read the settings file:
// each signal ends it through its exit with the result 0, which writes the settings anew.
TEST_F(CalculatorWindow, EachSignalOfASessionsEndEndsTheProgramThroughItsExit)
{
    for (int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        const TempDir folder;
        const std::string settings = folder.file("Quantivo.ini");
        std::ofstream(settings, std::ios::binary) << "[settings]\r\nmode=1\r\n";
        ProgramRun program(TAVRIN_QUANTIVO_FILE, folder.path());
        program.SignalOnceRead("Quantivo.ini", signo);
        EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
        std::string expected = FirstExitSettings;
        expected.replace(expected.find("mode=0"), 6, "mode=1");
        EXPECT_EQ(ReadFileBytes(settings), expected);
    }
}

// Started as `Quantivo 2>&1 | tee log` in a terminal since closed: the line saying that the
// settings cannot be written (here a file-size limit below them) goes nowhere, and the
// program ends by its exit all the same instead of being killed by SIGPIPE.
TEST_F(CalculatorWindow, AClosedErrorPipeStopsNothing)
{
    const TempDir folder;
    const std::string settings = folder.file("Quantivo.ini");
    std::ofstream(settings, std::ios::binary) << "[settings]\r\nmode=1\r\n";
    ProgramRun program(TAVRIN_QUANTIVO_FILE, folder.path(), ProgramRun::TStart{16, {}, true});
    program.SignalOnceRead("Quantivo.ini", SIGTERM);
    EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
    EXPECT_EQ(ReadFileBytes(settings), "[settings]\r\nmode=1\r\n");
}
#endif
