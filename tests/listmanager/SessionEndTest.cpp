// The end of a session: a log-out or shut-down (SIGTERM, and at once SIGHUP after it), a
// closed terminal (SIGHUP), Ctrl+C (SIGINT, maybe twice).
#include "tests/listmanager/DeviceWindowFixture.h"

#include "listmanager/Program.h"
#include "platform/file/InputFile.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/toolkit/TListView.h"
#include "simulators/ModuleSimulator.h"
#include "tests/support/ChildTest.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/WhenModal.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>
#include <vector>
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

// At the session's end a device command that only reads from the device stops at its next
// exchange and the program ends within 2 s of the signal (SIGTERM, 2 s into the command):
// a receive of 1,000 entries answered in 20 ms each, getting the device info from a device
// whose lines come a byte each 200 ms. The exit writes the list from before the receive
// and shows nothing of the command; a close asked for meanwhile asks nothing. A send goes
// on to its end, since stopping it would leave the device holding part of a list.
TEST_F(ListManagerTest, TheSessionsEndStopsACommandThatOnlyReadsFromTheDevice)
{
    if (!InChildTest())
        return RunInChildTest("", "");
    using Clock = std::chrono::steady_clock;
    std::string before;
    for (int i = 1; i <= 41; ++i)
        before += Format("K%d;%d\r\n", i, i);
    std::vector<DeviceSimulator::Entry> deviceList;
    for (int i = 0; i < 1000; ++i)
        deviceList.push_back({Format("R%d", i), DeviceFrame(i + 1)});
    using Rule = DeviceSimulator::CommandRule;
    const auto slowly = [](const char* prefix, size_t pieceSize, int pieceDelayMs) {
        return Rule{prefix, Rule::Action::Slow, "", 0, -1, pieceSize, pieceDelayMs, false};
    };
    const struct {
        const char* what;
        Rule rule;
        std::function<void(pellicor::TFormMain&)> start;
        // The entries the device holds before the command and after it.
        long storedBefore;
        size_t storedAfter;
        // A second device is selected too: a Send begins none after the session's end.
        bool toBoth;
    } cases[] = {
        {"receive", slowly("QLI", 13, 20), [](auto& f) { f.btnReceive->click(); }, 1000, 1000,
         false},
        {"device info", slowly("Q", 1, 200), [](auto& f) { f.mnuHostInfo->trigger(); }, 1000, 1000,
         false},
        {"send", slowly("CLS", 1, 600), [](auto& f) { f.btnSend->click(); }, 0, 41, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile("Pellicor.lst", before);
        DeviceSimulator device;
        device.SetList({deviceList.begin(), deviceList.begin() + c.storedBefore});
        device.AddRule(c.rule);
        SetDevicePortForTesting(device.Port());
        DeviceSimulator::Options at2;
        at2.bindAddress = "127.0.0.2";
        at2.port = device.Port();
        DeviceSimulator second(at2);
        Clock::time_point signalled;
        std::thread signaller;
        const auto [result, errors] = RunTavrinList([&](pellicor::TFormMain& f) {
            f.HostList1->AddRow("1", {device.Address(), "", ""});
            f.HostList1->AddRow("2", {second.Address(), "", ""});
            f.HostList1->SetSelected(0, true);
            f.HostList1->SetSelected(1, c.toBoth);
            f.UpdateUI();
            f.Modified = true;
            QTimer::singleShot(1000, &f, [&f] { f.close(); });
            signaller = std::thread([&signalled] {
                std::this_thread::sleep_for(std::chrono::seconds(2));
                signalled = Clock::now();
                SignalSelf(SIGTERM);
            });
            c.start(f);
        });
        const auto ended = Clock::now();
        signaller.join();
        EXPECT_EQ(result, 0);
        EXPECT_LT(ended - signalled, std::chrono::seconds(2));
        const std::string list = ReadFile("Pellicor.lst");
        EXPECT_TRUE(list == before) << list.substr(0, 60);
        EXPECT_EQ(device.List().size(), c.storedAfter);
        EXPECT_TRUE(second.Commands().empty()) << second.Commands().front();
        for (const char* shown :
             {"upload aborted", "Device info", "failed", "Changes have been made"})
            EXPECT_EQ(errors.find(shown), std::string::npos) << errors;
    }

    // A search whose modules keep answering as new ones, 50 ms apart for four seconds, stops
    // too; the device rows from before it are the ones the exit writes.
    ModuleSimulator::Options answering;
    answering.bindAddress = "127.0.0.4";
    for (uint8_t i = 1; i <= 80; ++i)
        answering.behind.push_back(
            {{0x00, 0x20, 0x4A, 0x00, 0x00, i}, std::chrono::milliseconds(50 * i)});
    const ModuleSimulator modules(answering);
    SetBroadcastAddressForTesting(*DottedAddress(modules.Address()));
    SetConfigPortForTesting(modules.Port());
    WriteFile("Pellicor.ini", "[hostlist]\r\nold=10.0.0.9\r\n");
    Clock::time_point signalled;
    std::thread signaller;
    const int searched = RunTavrinList([&](pellicor::TFormMain& f) {
                             signaller = std::thread([&signalled] {
                                 std::this_thread::sleep_for(std::chrono::seconds(1));
                                 signalled = Clock::now();
                                 SignalSelf(SIGTERM);
                             });
                             f.btnHostSearch->click();
                         }).first;
    const auto searchEnded = Clock::now();
    signaller.join();
    EXPECT_EQ(searched, 0);
    EXPECT_LT(searchEnded - signalled, std::chrono::seconds(2));
    const std::string settings = ReadFile("Pellicor.ini");
    EXPECT_NE(settings.find("10.0.0.9"), std::string::npos) << settings;
    EXPECT_EQ(settings.find("127.0.0.4"), std::string::npos) << settings;
    SetConfigPortForTesting(0);
    SetBroadcastAddressForTesting(*DottedAddress("127.0.0.1"));

    DeviceSimulator device;
    SetDevicePortForTesting(device.Port());
    // The device hangs up instead of answering: the failure box is up when the signal
    // comes. Its Cancel ends the command; a Retry would show the box again.
    DeviceSimulator::CommandRule hangUp;
    hangUp.action = DeviceSimulator::CommandRule::Action::Close;
    device.AddRule(hangUp);
    const auto [result, errors] = RunTavrinList([&](pellicor::TFormMain& f) {
        f.HostList1->ClearSelection();
        f.HostList1->AddRow("1", {device.Address(), "", ""});
        f.HostList1->SetSelected(f.HostList1->Count() - 1, true);
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
// whole. The limit counts the new list only: an old list above it with a second name takes
// a new list below it (the lines the start could not take are gone), and nothing is written
// past the limit.
TEST_F(ListManagerTest, AnExitPastTheFileSizeLimitKeepsTheProgramAndTheOldList)
{
    std::string old;
    for (int i = 1; i <= 400; ++i)
        old += Format("P%d;%d\r\n", i, i);
    std::string badLines;
    for (int i = 1; i <= 400; ++i)
        badLines += "bad plate!;7\r\n";
    for (const bool fits : {false, true}) {
        const TempDir folder;
        const std::string list = folder.file("Pellicor.lst");
        const std::string before = fits ? "AB12;5\r\n" + badLines : old + "bad plate!;7\r\n";
        std::ofstream(list, std::ios::binary) << before;
        if (fits)
            std::filesystem::create_hard_link(list, folder.file("other.lst"));
        ProgramRun program(TAVRIN_PELLICOR_FILE, folder.path(), 2048);
        program.SignalOnceRead("Pellicor.lst", SIGTERM);
        EXPECT_EQ(program.ExitCode(), 0) << program.Ending();
        EXPECT_TRUE(ReadFileBytes(list) == (fits ? "AB12;5\r\n" : before)) << program.Errors();
    }
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
