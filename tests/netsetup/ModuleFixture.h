#pragma once

#include "simulators/DatagramFlood.h"
#include "simulators/ModuleSimulator.h"
#include "tests/support/ScriptedUi.h"
#include "netsetup/LantronixConfig.h"
#include "platform/net/TableResolver.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Forwards to the script and counts the message pumps: the search pumps once per poll. It
// can make a pump fail, standing in for a socket failure in the middle of a search, or
// take time, as a window repainting does.
class CountingUi final : public ui::Ui {
public:
    explicit CountingUi(ScriptedUi& script);
    ~CountingUi() override;
    CountingUi(const CountingUi&) = delete;
    CountingUi& operator=(const CountingUi&) = delete;

    int Pumps() const { return static_cast<int>(pumpTimes_.size()); }
    // When each pump came.
    const std::vector<std::chrono::steady_clock::time_point>& PumpTimes() const
    {
        return pumpTimes_;
    }
    void FailPumps() { failPumps_ = true; }
    void SlowPumps(std::chrono::milliseconds delay) { pumpDelay_ = delay; }
    // Runs at each pump from now on.
    void OnPump(std::function<void()> action) { onPump_ = std::move(action); }

    ui::Result MessageBox(ui::MsgKind kind, const std::string& text, ui::Buttons buttons) override;
    bool InputBox(const std::string& caption, const std::string& prompt,
                  std::string& value) override;
    std::optional<std::string> OpenFile(const ui::FileDialogOptions& options) override;
    std::optional<std::string> SaveFile(const ui::FileDialogOptions& options) override;
    int ShowModal(QWidget& window) override;
    void ProcessMessages() override;
    void SetBusyCursor(bool busy) override;

private:
    ScriptedUi& script_;
    std::vector<std::chrono::steady_clock::time_point> pumpTimes_;
    bool failPumps_ = false;
    std::chrono::milliseconds pumpDelay_{0};
    std::function<void()> onPump_;
};

// Answers from the table and counts the reverse look-ups.
class CountingResolver final : public Resolver {
public:
    explicit CountingResolver(TableResolver& table) : table_(table) {}

    int ReverseLookups() const { return reverseLookups_; }

    std::optional<HostEntry> GetHostByName(std::string_view name) override;
    std::optional<HostEntry> GetHostByAddr(InAddr address) override;

private:
    TableResolver& table_;
    int reverseLookups_ = 0;
};

// Points the configuration port and the broadcast at a loopback address.
void PointConfigServiceAt(const std::string& address, uint16_t port);

// Sends a stray datagram `times` over from a loopback address to the configuration
// service's socket, as modules answering late or twice would.
void SendStray(TLantronixConfig& config, const std::vector<uint8_t>& bytes, int times = 1,
               const std::string& from = "127.0.0.1");

// A search reply (F7, 30 bytes) naming the MAC address 00-00-00-00-00-lastMacByte.
std::vector<uint8_t> SearchReply(uint8_t lastMacByte);

// Peers (by default four, on 127.0.0.10 to 127.0.0.13) sending datagram to the configuration
// service's socket without pause, until the flood is destroyed; they have filled the
// socket's queue when it returns.
std::unique_ptr<DatagramFlood> FloodConfigSocket(
    TLantronixConfig& config, const std::vector<uint8_t>& datagram,
    std::vector<std::string> peers = DatagramFlood::Options().peerAddresses);

// Three searches (timeout 1000 ms), each answered by `modules` modules behind one sender
// (options' address and port) at random times over 0.9 s: every one is listed in every run,
// once, and the search ends about a second after the last reply (sooner by each 100 ms
// without a reply before it, which use up the budget as well). aim points the search at the
// sender once it is bound.
void SearchModulesAnsweringSpread(TLantronixConfig& config, const ModuleSimulator::Options& options,
                                  int modules,
                                  const std::function<void(const ModuleSimulator&)>& aim);

// One simulated module on 127.0.0.2 (its own address, so that its answers show a sender
// other than this side), reached by the configuration service through the seams; names
// come from a table, boxes from a script.
class ModuleFixture : public ::testing::Test {
protected:
    static constexpr const char* kModuleIp = "127.0.0.2";
    static constexpr const char* kOtherModuleIp = "127.0.0.3";

    void SetUp() override;
    void TearDown() override;

    // A datagram as the module received it.
    static std::vector<uint8_t> Bytes(std::initializer_list<int> bytes);
    // A second module, on kOtherModuleIp and the first one's port, that answers after
    // replyDelay.
    std::unique_ptr<ModuleSimulator> OtherModule(std::chrono::milliseconds replyDelay) const;

    ScriptedUi script;
    CountingUi pumps{script};
    TableResolver names;
    CountingResolver resolver{names};
    std::unique_ptr<ModuleSimulator> module;
    TLantronixConfig config;
};
