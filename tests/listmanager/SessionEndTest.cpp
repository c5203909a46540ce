// The end of a session: a log-out or shut-down (SIGTERM, and at once SIGHUP after it), a
// closed terminal (SIGHUP), Ctrl+C (SIGINT, maybe twice).
#include "tests/listmanager/DeviceWindowFixture.h"

#include "devicelink/TCommandGate.h"
#include "devicelink/TDeviceCommands.h"
#include "listmanager/Program.h"
#include "platform/file/InputFile.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/ChildTest.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WhenModal.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

// Tavrin List run as the program runs it, with the real boxes and windows; `during` runs
// once, in the message loop, when the main window is up. Gives the program's result and
// what it wrote to the standard error.
std::pair<int, std::string> RunTavrinList(std::function<void(pellicor::TFormMain&)> during)
{
    ui::SetCurrentUi(nullptr);
    QTimer::singleShot(0, qApp, [during = std::move(during)] { during(*pellicor::FormMain); });
    // A program that does not end fails the test instead of keeping it.
    QTimer stop;
    stop.setSingleShot(true);
    QObject::connect(&stop, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    stop.start(60000);
    testing::internal::CaptureStderr();
    const int result = pellicor::RunProgram();
    return {result, testing::internal::GetCapturedStderr()};
}

void SignalSelf(int signo)
{
    ::kill(::getpid(), signo);
}

// Sends signo to this process once a modal window is up.
void SignalWhenModal(int signo)
{
    WhenModal([signo](QWidget*) { SignalSelf(signo); });
}

// Runs act on each modal window in turn, then signals on the next one.
void AnswerModalsThenSignal(std::vector<std::function<void(QWidget*)>> acts, int signo)
{
    if (acts.empty())
        return SignalWhenModal(signo);
    WhenModal([acts, signo](QWidget* modal) mutable {
        const auto act = acts.front();
        acts.erase(acts.begin());
        act(modal);
        AnswerModalsThenSignal(std::move(acts), signo);
    });
}

void ClickButton(QWidget* box, QMessageBox::StandardButton button)
{
    qobject_cast<QMessageBox*>(box)->button(button)->click();
}

void ChooseFile(QWidget* dialog, const std::string& file)
{
    auto* fileDialog = qobject_cast<QFileDialog*>(dialog);
    fileDialog->selectFile(QString::fromStdString(file));
    static_cast<QDialog*>(fileDialog)->accept();  // as its Open button does
}

// A device whose list comes slowly, entry by entry, so that receiving it lasts a while.
void ListSlowly(DeviceSimulator& device, int entries)
{
    std::vector<DeviceSimulator::Entry> list;
    for (int i = 0; i < entries; ++i)
        list.push_back({Format("R%d", i), DeviceFrame(i + 1)});
    device.SetList(list);
    DeviceSimulator::CommandRule slow;
    slow.prefix = "QLI";
    slow.action = DeviceSimulator::CommandRule::Action::Slow;
    slow.pieceSize = 4;
    slow.pieceDelayMs = 10;
    device.AddRule(slow);
}

bool Sent(const DeviceSimulator& device, const std::string& prefix)
{
    const auto commands = device.Commands();
    return std::any_of(commands.begin(), commands.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
}

}  // namespace

// Before any change of this run could be lost, the program ends by its exit: the settings
// and the list as they are now are written beside it, the exit's boxes go to the standard
// error, nobody is asked whether to save, and the program's result is 0. Whatever window
// is open when the signal comes is closed as Escape would close it.
TEST_F(ListManagerTest, TheSessionsEndWritesBothFilesWhateverWindowIsOpen)
{
    if (!InChildTest())
        return RunInChildTest("", "");
    QApplication::setApplicationDisplayName("Tavrin List");
    DeviceSimulator terminalPeer;
    SetDevicePortForTesting(terminalPeer.Port());
    WriteFile("import.txt", "CD34;6\r\n");
    const std::string import = dir.file("import.txt");
    using Acts = std::vector<std::function<void(QWidget*)>>;
    const struct {
        const char* what;
        int signo;
        // What the person does in the windows before the last one, which is open at the
        // signal; none: the signal comes with no window but the main one.
        std::optional<Acts> acts;
        std::function<void(pellicor::TFormMain&)> open;
    } cases[] = {
        {"nothing", SIGTERM, std::nullopt, [](auto&) { SignalSelf(SIGTERM); }},
        {"an information box", SIGHUP, Acts{}, [](auto& f) { f.mnuFileInfo->trigger(); }},
        {"the close question", SIGINT, Acts{}, [](auto& f) { f.mnuExit->trigger(); }},
        {"the save dialog after Yes to the close question", SIGTERM,
         Acts{[](QWidget* box) { ClickButton(box, QMessageBox::Yes); }},
         [](auto& f) { f.mnuExit->trigger(); }},
        {"a file dialog", SIGHUP, Acts{}, [](auto& f) { f.mnuFileOpen->trigger(); }},
        {"the import dialog", SIGINT,
         Acts{[import](QWidget* dialog) { ChooseFile(dialog, import); }},
         [](auto& f) { f.mnuFileImport->trigger(); }},
        {"the about box", SIGTERM, Acts{}, [](auto& f) { f.mnuAbout->trigger(); }},
        {"the terminal window", SIGHUP, Acts{},
         [](auto& f) {
             f.HostList1->SetSelected(0, true);
             f.UpdateUI();
             f.mnuHostTerminal->trigger();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const char* file : {"Pellicor.ini", "Pellicor.lst"})
            std::filesystem::remove(dir.file(file));
        const auto [result, errors] = RunTavrinList([&](pellicor::TFormMain& f) {
            f.PlateList1->AddRow("1", {"AB12", "5"});
            f.HostList1->AddRow("1", {"127.0.0.1", "", ""});
            f.UpdateUI();
            f.Modified = true;
            if (c.acts)
                AnswerModalsThenSignal(*c.acts, c.signo);
            c.open(f);
        });
        EXPECT_EQ(result, 0);
        EXPECT_EQ(ReadFile("Pellicor.lst"), "AB12;5\r\n");
        EXPECT_NE(ReadFile("Pellicor.ini").find("127.0.0.1"), std::string::npos);
        EXPECT_NE(errors.find("Tavrin List: File saved " + ListFile() + "\n"), std::string::npos)
            << errors;
        EXPECT_EQ(errors.find("Changes have been made"), std::string::npos) << errors;
    }
    SetDevicePortForTesting(0);
}

// A device command that lets messages through runs to its end before the exit, which then
// writes what it received; a box it shows at the end is answered as Escape would (Cancel:
// no retry). A close the person asked for meanwhile asks nothing either.
TEST_F(ListManagerTest, TheSessionsEndWaitsForTheDeviceCommandAndAnswersItsBoxes)
{
    if (!InChildTest())
        return RunInChildTest("", "");
    DeviceSimulator device;
    SetDevicePortForTesting(device.Port());
    ListSlowly(device, 20);
    auto [result, errors] = RunTavrinList([&](pellicor::TFormMain& f) {
        f.HostList1->AddRow("1", {device.Address(), "", ""});
        f.PlateList1->AddRow("1", {"AB12", "5"});
        f.UpdateUI();
        f.Modified = true;
        auto* watch = new QTimer(&f);
        QObject::connect(watch, &QTimer::timeout, watch, [&device, &f, watch] {
            if (!Sent(device, "QLI"))
                return;
            watch->stop();
            SignalSelf(SIGTERM);
            f.close();
        });
        watch->start(5);
        f.btnReceive->click();
    });
    EXPECT_EQ(result, 0);
    const std::string list = ReadFile("Pellicor.lst");
    EXPECT_EQ(list.substr(0, 7), "R0;1\r\nR");
    EXPECT_NE(list.find("R19;20\r\n"), std::string::npos) << list;
    EXPECT_EQ(errors.find("Changes have been made"), std::string::npos) << errors;

    // The device hangs up instead of answering: the failure box is up when the signal
    // comes. Its Cancel ends the command; a Retry would show the box again.
    DeviceSimulator::CommandRule hangUp;
    hangUp.action = DeviceSimulator::CommandRule::Action::Close;
    device.AddRule(hangUp);
    std::tie(result, errors) = RunTavrinList([&](pellicor::TFormMain& f) {
        f.HostList1->AddRow("1", {device.Address(), "", ""});
        f.UpdateUI();
        SignalWhenModal(SIGTERM);
        f.btnReceive->click();
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(errors.find("communication failure"), std::string::npos) << errors;
    EXPECT_NE(errors.find("File saved " + ListFile()), std::string::npos) << errors;
    SetDevicePortForTesting(0);
}

#ifdef TAVRIN_PELLICOR_FILE
// The real program, signalled from outside once its start-up has read the list file: each
// signal ends it through its exit with the result 0; the list file is written anew (the
// line it could not take is gone) and the settings file is made.
TEST_F(ListManagerTest, EachSignalOfASessionsEndEndsTheProgramThroughItsExit)
{
    for (int signo : {SIGTERM, SIGHUP, SIGINT}) {
        SCOPED_TRACE(signo);
        const TempDir folder;
        const std::string list = folder.file("Pellicor.lst");
        std::ofstream(list, std::ios::binary) << "AB12;5\r\nbad plate!;7\r\n";
        ProgramRun program(TAVRIN_PELLICOR_FILE, folder.path());
        program.SignalOnceRead("Pellicor.lst", signo);
        EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
        EXPECT_EQ(ReadFileBytes(list), "AB12;5\r\n");
        EXPECT_TRUE(std::filesystem::exists(folder.file("Pellicor.ini")));
        EXPECT_NE(program.Errors().find("Tavrin List: File saved " + list + "\n"),
                  std::string::npos)
            << program.Errors();
    }
}

// Under a file-size limit below the list's size the exit cannot write the list: the
// program says so and ends with 0 instead of being killed (SIGXFSZ), and the old list is
// whole.
TEST_F(ListManagerTest, AnExitPastTheFileSizeLimitKeepsTheProgramAndTheOldList)
{
    const TempDir folder;
    const std::string list = folder.file("Pellicor.lst");
    std::string old;
    for (int i = 1; i <= 400; ++i)
        old += Format("P%d;%d\r\n", i, i);
    old += "bad plate!;7\r\n";
    std::ofstream(list, std::ios::binary) << old;
    ProgramRun program(TAVRIN_PELLICOR_FILE, folder.path(), 2048);
    program.SignalOnceRead("Pellicor.lst", SIGTERM);
    EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
    EXPECT_EQ(ReadFileBytes(list), old);
}

// Started as `Pellicor 2>&1 | tee log` in a terminal since closed: the line saying that
// the settings cannot be written (here a file-size limit below them, not below the list)
// goes nowhere, and the exit goes on to write the list instead of the program being killed
// by SIGPIPE.
TEST_F(ListManagerTest, AClosedErrorPipeStopsNothing)
{
    const TempDir folder;
    const std::string list = folder.file("Pellicor.lst");
    const std::string settings = folder.file("Pellicor.ini");
    std::ofstream(list, std::ios::binary) << "\"AB12\";5\r\n";
    std::string devices = "[hostlist]\r\n";
    for (int i = 1; i <= 200; ++i)
        devices += Format("device%d=127.0.0.%d\r\n", i, i);
    std::ofstream(settings, std::ios::binary) << devices;
    ProgramRun program(TAVRIN_PELLICOR_FILE, folder.path(), ProgramRun::TStart{2048, {}, true});
    program.SignalOnceRead("Pellicor.lst", SIGTERM);
    EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
    EXPECT_EQ(ReadFileBytes(list), "AB12;5\r\n");
    EXPECT_EQ(ReadFileBytes(settings), devices);
}

// The ends of a session come in pairs: systemd ends the processes of a session with SIGTERM
// and at once SIGHUP, a person presses Ctrl+C twice, `nohup` starts a program with SIGHUP
// ignored. However close together they come, in either order, the exit goes on: a list of
// 65,000 plates and the settings are written whole, nothing is left beside them and the
// result is 0. A list with a second name is written in place (its new text shorter, its
// plates no longer quoted), and both names hold the whole new list.
TEST_F(ListManagerTest, ARepeatedSignalChangesNothing)
{
    std::string quoted, plain;
    for (int i = 1; i <= 65000; ++i) {
        quoted += Format("\"AB%d\";%d\r\n", i, i);
        plain += Format("AB%d;%d\r\n", i, i);
    }
    const struct {
        std::vector<int> ignoredAtStart;
        int first, second, gapMs;
        bool secondName;
    } cases[] = {
        {{}, SIGTERM, SIGHUP, 0, false},       {{}, SIGTERM, SIGHUP, 3, false},
        {{}, SIGTERM, SIGHUP, 100, false},     {{}, SIGHUP, SIGTERM, 3, false},
        {{SIGHUP}, SIGTERM, SIGHUP, 3, false}, {{}, SIGINT, SIGINT, 0, true},
        {{}, SIGINT, SIGINT, 3, true},         {{}, SIGINT, SIGINT, 100, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Format("signal %d, then %d after %d ms; %d ignored at start; second name %d",
                            c.first, c.second, c.gapMs,
                            c.ignoredAtStart.empty() ? 0 : c.ignoredAtStart.front(),
                            c.secondName ? 1 : 0));
        const TempDir folder;
        const std::string list = folder.file("Pellicor.lst");
        const std::string secondName = folder.file("kept.lst");
        std::ofstream(list, std::ios::binary) << quoted;
        std::vector<std::string> names{"Pellicor", "Pellicor.ini", "Pellicor.lst"};
        if (c.secondName) {
            std::filesystem::create_hard_link(list, secondName);
            names.push_back("kept.lst");
        }
        ProgramRun program(TAVRIN_PELLICOR_FILE, folder.path(),
                           ProgramRun::TStart{RLIM_INFINITY, c.ignoredAtStart, false});
        ASSERT_TRUE(program.WaitUntilRead("Pellicor.lst")) << program.Ending();
        program.Signal(c.first);
        std::this_thread::sleep_for(std::chrono::milliseconds(c.gapMs));
        program.Signal(c.second);
        ASSERT_TRUE(program.WaitForEnd()) << program.Ending();
        EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
        EXPECT_TRUE(ReadFileBytes(list) == plain) << ReadFileBytes(list).size() << " bytes";
        if (c.secondName) {
            EXPECT_TRUE(ReadFileBytes(secondName) == plain);
        }
        const std::string settings = folder.file("Pellicor.ini");
        EXPECT_TRUE(std::filesystem::exists(settings) &&
                    ReadFileBytes(settings).find("[wiegand]") != std::string::npos);
        EXPECT_EQ(folder.entries(), names);
    }
}
#endif
