// What the person waits for with a device's full list of 65,535 plates in the real main
// window (offscreen), against the simulated device on 127.0.0.1: receive, send, start-up,
// exit, Shift+End, sorting, Delete duplicates and Clear. Each window figure that has one is
// measured in the same run beside the bare figure it is held against: the same command
// exchanges over a bare socket (receive, send), the list file read or written without a
// window (start-up, exit). Also the two logs under peers that never stop sending: the
// window's peak memory and its longest pause; and the device search with modules answering
// over half a second or under peers flooding its socket, beside the plain search. Run by hand; bench/README.md gives the commands and the figures.
#include "devicelink/TDeviceCommands.h"
#include "devicelink/TTransferBlock.h"
#include "listmanager/UMain.h"
#include "netsetup/ULantronix.h"
#include "matchlist/ListFileText.h"
#include "matchlist/Wiegand.h"
#include "netsetup/DeviceRows.h"
#include "platform/net/InetAddress.h"
#include "platform/net/NetPorts.h"
#include "platform/net/Resolver.h"
#include "platform/net/TableResolver.h"
#include "platform/net/TUdpSocket.h"
#include "platform/text/Format.h"
#include "platform/file/InputFile.h"
#include "platform/file/ReplaceFile.h"
#include "platform/file/ProgramPath.h"
#include "platform/toolkit/TListView.h"
#include "platform/ui/Ui.h"
#include "simulators/DatagramFlood.h"
#include "simulators/DeviceSimulator.h"
#include "simulators/LoopbackNamespace.h"
#include "simulators/ModuleSimulator.h"
#include "simulators/TelnetPeer.h"
#include "simulators/TempDir.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kFullList = 65535;

// Answers every box at once (Yes to a question, OK otherwise) and records it; lets window
// events through as the real one does, so the window's own work is what is measured.
class BenchUi final : public ui::Ui {
public:
    ui::Result MessageBox(ui::MsgKind, const std::string& text, ui::Buttons buttons) override
    {
        boxes.push_back(text);
        return buttons == ui::Buttons::YesNo || buttons == ui::Buttons::YesNoCancel
                   ? ui::Result::Yes
                   : answer.value_or(ui::Result::OK);
    }
    bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
    std::optional<std::string> OpenFile(const ui::FileDialogOptions&) override { return {}; }
    std::optional<std::string> SaveFile(const ui::FileDialogOptions&) override { return {}; }
    int ShowModal(QWidget& window) override
    {
        if (modal)
            modal(window);
        return 0;
    }
    void ProcessMessages() override { QCoreApplication::processEvents(); }
    void SetBusyCursor(bool busy) override
    {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

    std::vector<std::string> boxes;
    // What a modal window does while it is up; nothing when empty.
    std::function<void(QWidget&)> modal;
    // The answer to a box without Yes and No, when set (OK otherwise).
    std::optional<ui::Result> answer;
};

BenchUi& TheUi()
{
    static BenchUi benchUi;
    return benchUi;
}

// Ends the benchmark with an error unless the boxes shown since the last call are these.
void ExpectBoxes(benchmark::State& state, const std::vector<std::string>& expected)
{
    auto& shown = TheUi().boxes;
    if (shown != expected)
        state.SkipWithError(
            ("unexpected boxes: " + (shown.empty() ? "none" : shown.front())).c_str());
    shown.clear();
}

std::string PlateOf(int i)
{
    return Format("P%.6d", i);
}

std::string IdOf(int i)
{
    return Format("%d", i + 1);
}

DeviceSimulator::Options FullDevice()
{
    DeviceSimulator::Options options;
    options.capacity = kFullList;
    return options;
}

// The device's list as the window sends it under the default Wiegand format.
std::vector<DeviceSimulator::Entry> FullDeviceList()
{
    std::vector<DeviceSimulator::Entry> list;
    for (int i = 0; i < kFullList; ++i)
        list.push_back({PlateOf(i), EncodeWiegand(TWiegandFormat{}, IdOf(i))});
    return list;
}

// Lets the window paint what a command left; the person sees the command's end then.
void Settle()
{
    QCoreApplication::processEvents();
}

// The files beside the program live in a fresh folder; the device answers on loopback.
struct Setting {
    Setting() : device(FullDevice())
    {
        SetProgramFileNameForTesting(folder.file("Pellicor"));
        SetDevicePortForTesting(device.Port());
    }
    ~Setting()
    {
        SetDevicePortForTesting(0);
        SetProgramFileNameForTesting("");
    }
    Setting(const Setting&) = delete;
    Setting& operator=(const Setting&) = delete;

    std::unique_ptr<pellicor::TFormMain> StartWindow()
    {
        auto form = std::make_unique<pellicor::TFormMain>();
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            throw std::runtime_error("the window was not shown");
        Settle();
        return form;
    }

    TempDir folder;
    DeviceSimulator device;
};

// Fills the plate list with that many rows; with duplicates, every plate 65 times over.
void Fill(pellicor::TFormMain& form, int rows, bool duplicates = false)
{
    TListView& list = *form.PlateList1;
    list.Clear();
    list.BeginUpdate();
    for (int i = 0; i < rows; ++i)
        list.AddRow(Format("%d", i + 1), {PlateOf(duplicates ? i % 1000 : i), IdOf(i)});
    list.EndUpdate();
    form.UpdateUI();
    Settle();
}

// A shown main window with one device row for the device.
struct Window : Setting {
    Window() : form(StartWindow())
    {
        form->HostList1->AddRow("1", {device.Address(), "", ""});
        form->UpdateUI();
        Settle();
    }

    std::unique_ptr<pellicor::TFormMain> form;
};

// A blocking socket to the device, as bare as an exchange can be.
class BareSocket final {
public:
    explicit BareSocket(uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(port);
        peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (fd_ < 0 || ::connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0)
            throw std::runtime_error("connect failed");
    }
    ~BareSocket() { ::close(fd_); }
    BareSocket(const BareSocket&) = delete;
    BareSocket& operator=(const BareSocket&) = delete;

    // Sends the bytes and reads up to the first LF (a line), or one byte.
    void Exchange(const std::string& bytes, bool line)
    {
        ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        for (;;) {
            if (const size_t lf = buffer_.find('\n'); line && lf != std::string::npos) {
                buffer_.erase(0, lf + 1);
                return;
            }
            if (!line && !buffer_.empty()) {
                buffer_.erase(0, 1);
                return;
            }
            char chunk[4096];
            const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
            if (n <= 0)
                throw std::runtime_error("the device closed the connection");
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

// --- receive

void BM_WindowReceive(benchmark::State& state)
{
    Window w;
    w.device.SetList(FullDeviceList());
    if (state.range(0) != 0) {
        w.form->SetUserMode(1);
        w.form->btnDebugClick();
        Settle();
    }
    for (auto _ : state) {
        w.form->btnReceive->click();
        Settle();
        state.PauseTiming();
        // Every receive starts from the same, empty log.
        w.form->Memo1->clear();
        state.ResumeTiming();
    }
    if (w.form->PlateList1->Count() != kFullList)
        state.SkipWithError("the list did not arrive");
    ExpectBoxes(state, {});
}
BENCHMARK(BM_WindowReceive)
    ->ArgName("debugView")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_BareReceiveExchanges(benchmark::State& state)
{
    DeviceSimulator device(FullDevice());
    device.SetList(FullDeviceList());
    std::vector<std::string> commands{"QLS\r\n"};
    for (int i = 0; i < kFullList; ++i)
        commands.push_back(Format("QLI%.4x\r\n", i));
    commands.push_back("QNF\r\n");
    for (auto _ : state) {
        BareSocket socket(device.Port());
        for (const auto& command : commands)
            socket.Exchange(command, true);
    }
}
BENCHMARK(BM_BareReceiveExchanges)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- send

void BM_WindowSend(benchmark::State& state)
{
    Window w;
    Fill(*w.form, kFullList);
    for (auto _ : state) {
        state.PauseTiming();
        // An empty device asks nothing before it is overwritten.
        w.device.SetList({});
        state.ResumeTiming();
        w.form->btnSend->click();
        Settle();
    }
    if (w.device.List().size() != kFullList)
        state.SkipWithError("the device does not hold the list");
    ExpectBoxes(state, {});
}
BENCHMARK(BM_WindowSend)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareSendBlocks(benchmark::State& state)
{
    DeviceSimulator device(FullDevice());
    std::vector<std::string> blocks;
    for (int row = 0, number = 0; row < kFullList; ++number) {
        auto block = TTransferBlock::Make(number);
        for (int i = 0; i < TTransferBlock::kRecords && row < kFullList; ++i, ++row)
            block.SetRecord(i, PlateOf(row), EncodeWiegand(TWiegandFormat{}, IdOf(row)));
        block.Seal();
        blocks.emplace_back(reinterpret_cast<const char*>(block.Bytes()), sizeof block);
    }
    for (auto _ : state) {
        BareSocket socket(device.Port());
        for (const char* command : {"QVE\r\n", "QLS\r\n", "QTM\r\n", "CLS\r\n"})
            socket.Exchange(command, true);
        for (const auto& block : blocks)
            socket.Exchange(block, false);
        socket.Exchange("\x04", false);
        socket.Exchange("QLS\r\n", true);
    }
    if (device.List().size() != kFullList)
        state.SkipWithError("the device does not hold the list");
}
BENCHMARK(BM_BareSendBlocks)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- start-up and exit

// The list file and the settings beside the program, as an exit with the full list left
// them.
void WriteFullFiles(Setting& setting)
{
    auto form = setting.StartWindow();
    Fill(*form, kFullList);
    form->FormDestroy();
    TheUi().boxes.clear();
}

void BM_WindowStartUp(benchmark::State& state)
{
    Setting setting;
    WriteFullFiles(setting);
    for (auto _ : state) {
        auto form = setting.StartWindow();
        state.PauseTiming();
        if (form->PlateList1->Count() != kFullList)
            state.SkipWithError("the list was not loaded");
        form.reset();
        state.ResumeTiming();
    }
    ExpectBoxes(state, {});
}
BENCHMARK(BM_WindowStartUp)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareLoad(benchmark::State& state)
{
    Setting setting;
    WriteFullFiles(setting);
    const std::string file = setting.folder.file("Pellicor.lst");
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseListFileText(ReadFileBytes(file), 1, ';', '"', 0));
}
BENCHMARK(BM_BareLoad)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowExit(benchmark::State& state)
{
    Setting setting;
    WriteFullFiles(setting);
    for (auto _ : state) {
        state.PauseTiming();
        auto form = setting.StartWindow();
        state.ResumeTiming();
        form->mnuExit->trigger();
        Settle();
        form->FormDestroy();
        form.reset();
    }
    std::vector<std::string> saved(state.iterations(),
                                   "File saved " + setting.folder.file("Pellicor.lst"));
    ExpectBoxes(state, saved);
}
BENCHMARK(BM_WindowExit)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BareSave(benchmark::State& state)
{
    Setting setting;
    const std::string file = setting.folder.file("Pellicor.lst");
    std::vector<TPlateRow> rows;
    for (int i = 0; i < kFullList; ++i)
        rows.push_back({PlateOf(i), IdOf(i)});
    for (auto _ : state)
        WriteFileReplacing(file, BuildListFileText(
                                     kFullList,
                                     [&rows](int row) { return rows[static_cast<size_t>(row)]; },
                                     {}, ';', '"'));
}
BENCHMARK(BM_BareSave)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the list's own commands

void BM_WindowShiftEnd(benchmark::State& state)
{
    Window w;
    const int rows = static_cast<int>(state.range(0));
    Fill(*w.form, rows);
    TListView& list = *w.form->PlateList1;
    list.setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        QTest::keyClick(&list, Qt::Key_Home);
        Settle();
        state.ResumeTiming();
        QTest::keyClick(&list, Qt::Key_End, Qt::ShiftModifier);
        Settle();
    }
    if (list.SelCount() != rows)
        state.SkipWithError("not every row was selected");
}
BENCHMARK(BM_WindowShiftEnd)
    ->ArgName("rows")
    ->Arg(kFullList)
    ->Arg(70000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_WindowSort(benchmark::State& state)
{
    Window w;
    Fill(*w.form, kFullList);
    QHeaderView& header = *w.form->PlateList1->header();
    const int column = static_cast<int>(state.range(0));
    const QPoint at(header.sectionViewportPosition(column) + 5, header.height() / 2);
    for (auto _ : state) {
        QTest::mouseClick(header.viewport(), Qt::LeftButton, {}, at);
        Settle();
    }
}
BENCHMARK(BM_WindowSort)
    ->ArgName("column")
    ->DenseRange(0, 2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A command of the Plates menu on the full list, refilled before each run (changed, so that
// Clear asks first), to its last paint.
void TimeListCommand(benchmark::State& state, QAction* pellicor::TFormMain::*command,
                     bool duplicates, int rowsLeft, const std::string& box)
{
    Window w;
    for (auto _ : state) {
        state.PauseTiming();
        Fill(*w.form, kFullList, duplicates);
        w.form->Modified = true;
        state.ResumeTiming();
        ((*w.form).*command)->trigger();
        Settle();
    }
    if (w.form->PlateList1->Count() != rowsLeft)
        state.SkipWithError("the command left other rows");
    ExpectBoxes(state, std::vector<std::string>(state.iterations(), box));
}

void BM_WindowDeleteDuplicates(benchmark::State& state)
{
    TimeListCommand(state, &pellicor::TFormMain::mnuPlateDeleteDuplicates, true, 1000,
                    "Deleted 64535 plates");
}
BENCHMARK(BM_WindowDeleteDuplicates)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowClear(benchmark::State& state)
{
    TimeListCommand(state, &pellicor::TFormMain::mnuPlateClearList, false, 0, "Clear match-list ?");
}
BENCHMARK(BM_WindowClear)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- the logs under a peer that never stops sending

// The longest time the window went without serving its events, from a timer every 10 ms,
// and the peak memory of the process from the start of the measure.
class WindowMeter final {
public:
    WindowMeter()
    {
        // Resets the peak resident size, so that VmHWM is this measure's own.
        std::ofstream("/proc/self/clear_refs") << "5";
        startKb_ = StatusKb("VmRSS:");
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Turn(); });
        last_ = Clock::now();
        timer_.start();
    }

    // Also what the log kept at the end.
    void Report(benchmark::State& state, const QPlainTextEdit& log)
    {
        Turn();
        state.counters["start_MB"] = static_cast<double>(startKb_) / 1024;
        state.counters["peak_MB"] = static_cast<double>(StatusKb("VmHWM:")) / 1024;
        state.counters["longest_pause_ms"] = static_cast<double>(longest_.count());
        state.counters["pauses_over_250ms"] = over_;
        state.counters["log_lines"] = log.document()->blockCount();
        state.counters["log_MB"] =
            static_cast<double>(log.document()->characterCount()) / (1 << 20);
    }

private:
    using Clock = std::chrono::steady_clock;

    static long StatusKb(const std::string& key)
    {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind(key, 0) == 0)
                return std::stol(line.substr(key.size()));
        return 0;
    }

    void Turn()
    {
        const auto now = Clock::now();
        const auto gap = std::chrono::duration_cast<std::chrono::milliseconds>(now - last_);
        longest_ = std::max(longest_, gap);
        over_ += gap > std::chrono::milliseconds(250) ? 1 : 0;
        last_ = now;
    }

    QTimer timer_;
    Clock::time_point last_;
    std::chrono::milliseconds longest_{0};
    int over_ = 0;
    long startKb_ = 0;
};

// The terminal window open on a peer that sends the chunk again and again for `seconds`.
void TerminalFlood(benchmark::State& state, const std::string& chunk)
{
    Window w;
    TFormLantronix terminal(w.form.get());
    TelnetPeer peer;
    const auto seconds = std::chrono::seconds(state.range(0));
    for (auto _ : state) {
        WindowMeter meter;
        TheUi().modal = [&](QWidget& window) {
            window.show();
            peer.Flood(chunk);
            QTest::qWait(static_cast<int>(std::chrono::milliseconds(seconds).count()));
            peer.StopFlood();
            window.hide();
        };
        terminal.OpenTerminal("127.0.0.1", peer.Port());
        TheUi().modal = {};
        meter.Report(state, *terminal.findChild<QPlainTextEdit*>("Memo1"));
    }
    ExpectBoxes(state, {});
}

// Each flood runs once, in real time.
void OnceInRealTime(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

// "x" CR LF in segments of their own.
void BM_TerminalFlood(benchmark::State& state)
{
    TerminalFlood(state, "x\r\n");
}
BENCHMARK(BM_TerminalFlood)
    ->ArgName("seconds")
    ->Arg(60)
    ->Arg(30)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The same with a peer that never sends a line break: "x" without end, read in chunks of up
// to 64 KiB.
void BM_TerminalFloodWithoutLineBreaks(benchmark::State& state)
{
    TerminalFlood(state, std::string(4096, 'x'));
}
BENCHMARK(BM_TerminalFloodWithoutLineBreaks)->ArgName("seconds")->Arg(30)->Apply(OnceInRealTime);

// The device holds the first `entries` entries of the full list.
void HoldEntries(DeviceSimulator& device, int entries)
{
    std::vector<DeviceSimulator::Entry> list(FullDeviceList());
    list.resize(static_cast<size_t>(entries));
    device.SetList(list);
}

// Before each answer to QLI the device sends `count` unasked lines: the line and CR LF.
void SendUnaskedLines(DeviceSimulator& device, int64_t count, const std::string& line)
{
    DeviceSimulator::CommandRule rule;
    rule.prefix = "QLI";
    rule.action = DeviceSimulator::CommandRule::Action::Before;
    for (int64_t i = 0; i < count; ++i)
        rule.bytes += line + "\r\n";
    device.AddRule(rule);
}

// Lets the window show the rest of the communication log: it ends with that line once all
// of it is shown.
void WaitForWholeLog(benchmark::State& state, const pellicor::TFormMain& form,
                     const QString& ending = "Disconnected.")
{
    if (!QTest::qWaitFor(
            [&] { return form.Memo1->document()->lastBlock().text().endsWith(ending); }, 60000))
        state.SkipWithError("the log was not shown");
    Settle();
}

// A receive of `entries` entries from a device that sends `lines` unasked lines of `length`
// characters before each answer, with the debug view shown from the start or switched on
// after the receive; measured until the window has shown the whole log.
void BM_ReceiveUnaskedLines(benchmark::State& state)
{
    Window w;
    const auto entries = static_cast<int>(state.range(0));
    HoldEntries(w.device, entries);
    SendUnaskedLines(w.device, state.range(1),
                     std::string(static_cast<size_t>(state.range(2)), 'x'));
    w.form->SetUserMode(1);
    const bool shownFromStart = state.range(3) != 0;
    if (shownFromStart)
        w.form->btnDebugClick();
    Settle();
    for (auto _ : state) {
        WindowMeter meter;
        w.form->btnReceive->click();
        Settle();
        if (!shownFromStart)
            w.form->btnDebugClick();
        WaitForWholeLog(state, *w.form);
        meter.Report(state, *w.form->Memo1);
    }
    if (w.form->PlateList1->Count() != entries)
        state.SkipWithError("the list did not arrive");
    ExpectBoxes(state, {});
}
BENCHMARK(BM_ReceiveUnaskedLines)
    ->ArgNames({"entries", "lines", "length", "shownFromStart"})
    ->Args({1000, 5000, 1, 1})
    ->Args({1000, 20, 16000, 1})
    ->Args({1000, 200, 80, 1})
    ->Args({1000, 200, 80, 0})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The entries a receive of the full list reads in 25 s with the debug view shown, from a
// device that sends 20 unasked lines of 16,000 bytes before each answer: "U" again and
// again, or "U" CR again and again. The receive is then cancelled.
void BM_ReceiveLinesWithLoneCRs(benchmark::State& state)
{
    constexpr auto kReceiving = std::chrono::seconds(25);
    Window w;
    w.device.SetList(FullDeviceList());
    std::string line;
    while (line.size() < 16000)
        line += state.range(0) != 0 ? "U\r" : "U";
    SendUnaskedLines(w.device, 20, line);
    w.form->SetUserMode(1);
    w.form->btnDebugClick();
    Settle();
    for (auto _ : state) {
        WindowMeter meter;
        const auto start = std::chrono::steady_clock::now();
        double entries = 0;
        QTimer::singleShot(kReceiving, [&] {
            const auto commands = w.device.Commands();
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            entries = static_cast<double>(std::count_if(commands.begin(), commands.end(),
                                                        [](const std::string& command) {
                                                            return command.rfind("QLI", 0) == 0;
                                                        })) *
                      std::chrono::duration<double>(kReceiving).count() / seconds;
            // The next exchange fails, and its box is answered Cancel.
            TheUi().answer = ui::Result::Cancel;
            w.form->DeviceCommands().Connection().DisconnectDevice();
        });
        w.form->btnReceive->click();
        TheUi().answer.reset();
        // The cancelled command's log ends with its last attempt: a line marks the end.
        w.form->DeviceCommands().Connection().LogLine("end of the receive");
        WaitForWholeLog(state, *w.form, "end of the receive");
        meter.Report(state, *w.form->Memo1);
        state.counters["entries_in_25s"] = entries;
    }
    TheUi().boxes.clear();
}
BENCHMARK(BM_ReceiveLinesWithLoneCRs)->ArgName("loneCRs")->Arg(0)->Arg(1)->Apply(OnceInRealTime);

// --- the device search under a flood

// The loopback's UDP counters of this network namespace (/proc/net/snmp).
struct UdpCounters {
    double queued = 0;     // let into a socket's queue (InDatagrams)
    double dropped = 0;    // kept out by a socket's filter or a full queue (InErrors)
    double queueFull = 0;  // of those, for a full queue (RcvbufErrors)

    static UdpCounters Now()
    {
        std::ifstream snmp("/proc/net/snmp");
        std::vector<std::string> names;
        for (std::string line; std::getline(snmp, line);) {
            if (line.rfind("Udp: ", 0) != 0)
                continue;
            std::istringstream fields(line.substr(5));
            if (names.empty()) {
                for (std::string name; fields >> name;)
                    names.push_back(name);
                continue;
            }
            UdpCounters counters;
            for (const std::string& name : names) {
                double value = 0;
                fields >> value;
                if (name == "InDatagrams")
                    counters.queued = value;
                else if (name == "InErrors")
                    counters.dropped = value;
                else if (name == "RcvbufErrors")
                    counters.queueFull = value;
            }
            return counters;
        }
        return {};
    }
};

// The peers' search replies: a locally administered MAC address, no module's.
std::vector<uint8_t> FloodReply()
{
    std::vector<uint8_t> reply(30, 0);
    reply[3] = 0xF7;
    reply[24] = 0x02;
    return reply;
}

// Starts `peers` peers flooding port at full rate and lets them fill the queue; none
// for 0.
std::unique_ptr<DatagramFlood> StartFlood(int64_t peers, uint16_t port)
{
    if (peers == 0)
        return nullptr;
    DatagramFlood::Options options;
    options.peerAddresses.resize(static_cast<std::size_t>(peers));
    for (int64_t i = 0; i < peers; ++i)
        options.peerAddresses[static_cast<std::size_t>(i)] = Format("127.0.0.%d", 10 + i);
    options.targetPort = port;
    options.datagram = FloodReply();
    auto flood = std::make_unique<DatagramFlood>(options);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return flood;
}

// Search with the button in the real window while `modules` modules answer the real
// broadcast, at random times within `spread_ms` (drawn from a fixed seed), and `peers` peers
// flood the configuration socket with search replies at full rate from before the search:
// the modules listed, the rows, the search's length beside when the last module answered,
// the window's longest pause, and the datagrams the peers sent per second beside those let
// into the socket's queue (all of which the search reads), kept out by its filter, and
// dropped for a full queue. Only inside tests/support/in-netns: the search broadcasts.
void BM_Search(benchmark::State& state)
{
    if (!InLoopbackOnlyNamespace()) {
        state.SkipWithError("run under tests/support/in-netns: the search broadcasts");
        return;
    }
    TableResolver names;
    SetResolverForTesting(&names);
    const auto options = ModuleSimulator::AnsweringSpread(
        ModuleSimulator::AnsweringBroadcasts(0), static_cast<int>(state.range(0)) - 1,
        std::chrono::milliseconds(state.range(1)), 1);
    auto last = options.replyDelay;
    std::vector<std::string> macs{MacText(options.mac)};
    for (const auto& [mac, delay] : options.behind) {
        macs.push_back(MacText(mac));
        last = std::max(last, delay);
    }
    std::sort(macs.begin(), macs.end());
    const ModuleSimulator modules(options);
    SetBroadcastAddressForTesting(0);
    SetConfigPortForTesting(0);
    {
        Window w;
        TFormLantronix lantronix(w.form.get());
        pellicor::FormLantronix = &lantronix;
        const auto flood = StartFlood(state.range(2), lantronix.Config.UDP1.LocalPort());
        for (auto _ : state) {
            WindowMeter meter;
            const UdpCounters before = UdpCounters::Now();
            const double sentBefore = flood ? static_cast<double>(flood->Sent()) : 0;
            const auto start = std::chrono::steady_clock::now();
            w.form->btnHostSearch->click();
            Settle();
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const UdpCounters after = UdpCounters::Now();
            meter.Report(state, *w.form->Memo1);
            int found = 0;
            for (int row = 0; row < w.form->HostList1->Count(); ++row)
                if (std::binary_search(macs.begin(), macs.end(),
                                       GetColumnText(*w.form->HostList1, row, 3)))
                    ++found;
            state.counters["modules_found"] = found;
            state.counters["rows"] = w.form->HostList1->Count();
            state.counters["search_s"] = seconds;
            state.counters["last_reply_s"] = std::chrono::duration<double>(last).count();
            state.counters["sent_per_s"] =
                ((flood ? static_cast<double>(flood->Sent()) : 0) - sentBefore) / seconds;
            state.counters["queued_per_s"] = (after.queued - before.queued) / seconds;
            state.counters["kept_out_per_s"] =
                (after.dropped - after.queueFull - before.dropped + before.queueFull) / seconds;
            state.counters["queue_full_per_s"] = (after.queueFull - before.queueFull) / seconds;
        }
        pellicor::FormLantronix = nullptr;
    }
    SetConfigPortForTesting(0);
    SetBroadcastAddressForTesting(*DottedAddress("127.0.0.1"));
    SetResolverForTesting(nullptr);
    ExpectBoxes(state, {});
}
// The plain search (three modules answering at once), 300 modules answering over 0.5 s,
// and the three beside four flooding peers, in one run.
BENCHMARK(BM_Search)
    ->ArgNames({"modules", "spread_ms", "peers"})
    ->Args({3, 0, 0})
    ->Args({300, 500, 0})
    ->Args({3, 0, 4})
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The bare limit beside it: how fast this process reads the same peers' datagrams from a
// socket that lets them all in, in the batches the search reads, for `seconds`.
void BM_BareReadUnderFlood(benchmark::State& state)
{
    TUdpSocket socket(TLantronixConfig::kReceiveQueueBytes, TLantronixConfig::kRecvBufferSize);
    const auto flood = StartFlood(state.range(0), socket.LocalPort());
    for (auto _ : state) {
        const UdpCounters before = UdpCounters::Now();
        const double sentBefore = static_cast<double>(flood->Sent());
        double read = 0;
        const auto start = std::chrono::steady_clock::now();
        const auto end = start + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < end)
            read += static_cast<double>(socket.ReceiveQueued([](const TUdpDatagram&) {}));
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const UdpCounters after = UdpCounters::Now();
        state.counters["sent_per_s"] = (static_cast<double>(flood->Sent()) - sentBefore) / seconds;
        state.counters["read_per_s"] = read / seconds;
        state.counters["queue_full_per_s"] = (after.queueFull - before.queueFull) / seconds;
    }
}
BENCHMARK(BM_BareReadUnderFlood)
    ->ArgName("peers")
    ->Arg(4)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Tavrin List");
    ui::SetCurrentUi(&TheUi());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ui::SetCurrentUi(nullptr);
    return 0;
}
