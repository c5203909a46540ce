// Sending and receiving a full device list against the simulated device on loopback, and
// the cost of one command exchange beside a bare socket doing the same exchange.
#include "devicelink/IDeviceCommandContext.h"
#include "devicelink/ReceiveMatchList.h"
#include "devicelink/SendMatchList.h"
#include "devicelink/TDeviceConnection.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/ui/Ui.h"
#include "simulators/ThrowingUi.h"
#include "simulators/DeviceSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

constexpr int kFullList = 65535;

class BenchContext final : public IDeviceCommandContext {
public:
    std::vector<std::pair<std::string, std::string>> rows;
    size_t logLines = 0;

    int PlateCount() const override { return static_cast<int>(rows.size()); }
    std::string PlateText(int row) const override { return rows[row].first; }
    std::string IdNumberText(int row) const override { return rows[row].second; }
    bool SpecialChecked(TSpecialEntry) const override { return false; }
    std::string SpecialText(TSpecialEntry) const override { return {}; }
    void SetSpecial(TSpecialEntry, bool, const std::string&) override {}
    void AddPlateEntry(const std::string& plate, const std::string& idText) override
    {
        rows.emplace_back(plate, idText);
    }
    void ClearMatchList() override { rows.clear(); }
    uint64_t EncodeWiegand(std::string_view idText) const override
    {
        return static_cast<uint64_t>(StrToInt64Def(idText, 0));
    }
    int64_t DecodeWiegand(std::string_view hexText) const override
    {
        return StrToInt64Def(std::string("$").append(hexText), 0);
    }
    std::vector<std::string> SelectedDeviceHosts() const override { return {"127.0.0.1"}; }
    void ProgressStart(int) override {}
    void ProgressPosition(int) override {}
    void ProgressHide() override {}
    void AppendLog(const std::string&) override { ++logLines; }
    void UpdateUI() override {}
    void HoldOffInput(bool) override {}
};

struct Setup {
    Setup() : device(Options())
    {
        ui::SetCurrentUi(&silent);
        SetDevicePortForTesting(device.Port());
    }
    ~Setup()
    {
        SetDevicePortForTesting(0);
        ui::SetCurrentUi(nullptr);
    }
    static DeviceSimulator::Options Options()
    {
        DeviceSimulator::Options options;
        options.capacity = kFullList;
        return options;
    }
    ThrowingUi silent;
    DeviceSimulator device;
    BenchContext context;
    TDeviceConnection connection{[this](const std::string& line) { context.AppendLog(line); }};
};

std::vector<DeviceSimulator::Entry> FullList()
{
    std::vector<DeviceSimulator::Entry> list;
    for (int i = 0; i < kFullList; ++i)
        list.push_back({Format("P%.6d", i), static_cast<uint64_t>(i + 1)});
    return list;
}

void BM_SendFullList(benchmark::State& state)
{
    Setup setup;
    for (int i = 0; i < kFullList; ++i)
        setup.context.rows.emplace_back(Format("P%.6d", i), Format("%d", i + 1));
    for (auto _ : state) {
        state.PauseTiming();
        setup.device.SetList({});
        state.ResumeTiming();
        SendMatchListToSelected(setup.connection, setup.context);
    }
    if (setup.device.List().size() != kFullList)
        state.SkipWithError("the device does not hold the list");
}
BENCHMARK(BM_SendFullList)->Unit(benchmark::kMillisecond);

void BM_ReceiveFullList(benchmark::State& state)
{
    Setup setup;
    setup.device.SetList(FullList());
    for (auto _ : state)
        ReceiveMatchList(setup.connection, setup.context);
    if (setup.context.rows.size() != kFullList)
        state.SkipWithError("the list did not arrive");
}
BENCHMARK(BM_ReceiveFullList)->Unit(benchmark::kMillisecond);

void BM_CommandExchange(benchmark::State& state)
{
    Setup setup;
    setup.connection.ConnectDevice("127.0.0.1");
    std::string reply;
    for (auto _ : state)
        setup.connection.SendCommand("QVE", reply, 1000);
    setup.connection.DisconnectDevice();
}
BENCHMARK(BM_CommandExchange)->Unit(benchmark::kMicrosecond);

// The same exchange over a bare blocking socket: the floor the client is measured against.
void BM_BareSocketExchange(benchmark::State& state)
{
    Setup setup;
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(setup.device.Port());
    peer.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        state.SkipWithError("connect failed");
        ::close(fd);
        return;
    }
    std::string buffer;
    char chunk[4096];
    for (auto _ : state) {
        ::send(fd, "QVE\r\n", 5, MSG_NOSIGNAL);
        size_t lf;
        while ((lf = buffer.find('\n')) == std::string::npos) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0)
                break;
            buffer.append(chunk, static_cast<size_t>(n));
        }
        buffer.erase(0, lf == std::string::npos ? buffer.size() : lf + 1);
    }
    ::close(fd);
}
BENCHMARK(BM_BareSocketExchange)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
