#include "tests/netsetup/ModuleFixture.h"

#include "platform/net/ESocketError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <thread>

namespace {

using Misbehaviour = ModuleSimulator::Misbehaviour;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// Two polls: the one right after the broadcast comes before any reply can, the second
// finds what came during the sleep between them.
constexpr int kShortSearch = 200;
constexpr std::array<uint8_t, 6> kMac{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0x0D};

ModuleSimulator::Record Pattern()
{
    ModuleSimulator::Record record;
    std::iota(record.begin(), record.end(), uint8_t{0x80});
    return record;
}

// --- search ---------------------------------------------------------------------------

class Search : public ModuleFixture {};

TEST_F(Search, FindsTheModuleWithItsAddressShortNameAndMac)
{
    names.AddReverse(kModuleIp, "module-a.plant.example");
    config.SearchDevices(1000);

    EXPECT_EQ(module->Received(),
              std::vector<std::vector<uint8_t>>{Bytes({0x00, 0x00, 0x00, 0xF6})});
    ASSERT_EQ(config.DeviceCount, 1);
    ASSERT_EQ(config.Devices.size(), 1u);
    const TDeviceEntry& entry = config.Devices[0];
    EXPECT_EQ(entry.Name, "module-a");
    EXPECT_EQ(entry.IP, (std::array<uint8_t, 4>{127, 0, 0, 2}));
    // The simulator fills the unused bytes 4 to 23 of its reply; they do not matter.
    EXPECT_EQ(entry.MAC, kMac);
}

TEST_F(Search, ReverseNameIsEmptyWithoutEntryAndCutTo64Characters)
{
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices[0].Name, "");

    names.AddReverse(kModuleIp, std::string(70, 'n') + ".example");
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices[0].Name, std::string(64, 'n'));
}

TEST_F(Search, OnlyQuietWaitsUseUpTheBudgetOfTimeoutOver100)
{
    module->SetMisbehaviour(Misbehaviour::Silent);
    for (const auto& [timeout, polls] :
         {std::pair{-5, 1}, {0, 1}, {50, 1}, {99, 1}, {100, 1}, {250, 2}, {1000, 10}}) {
        const int before = pumps.Pumps();
        const auto start = Clock::now();
        config.SearchDevices(timeout);
        EXPECT_EQ(pumps.Pumps() - before, polls) << "timeout " << timeout;
        EXPECT_GE(Clock::now() - start, milliseconds(100 * polls)) << "timeout " << timeout;
        EXPECT_EQ(config.DeviceCount, 0);
    }

    // A module answering twice: one entry; a poll after each wait a copy ended, still ten
    // quiet waits.
    module->SetMisbehaviour(Misbehaviour::Twice);
    const int before = pumps.Pumps();
    config.SearchDevices(1000);
    EXPECT_GE(pumps.Pumps() - before, 10);
    EXPECT_LE(pumps.Pumps() - before, 12);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices.size(), 1u);
}

// After a poll that finds nothing the search waits as long as it would sleep, but a reply
// that comes meanwhile is read at once.
TEST_F(Search, AReplyDuringTheWaitAfterAnEmptyPollIsReadAtOnce)
{
    ModuleSimulator::Options options;
    options.bindAddress = kOtherModuleIp;
    options.replyDelay = milliseconds(20);
    ModuleSimulator late(options);
    PointConfigServiceAt(kOtherModuleIp, late.Port());
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    // The first poll, right after the broadcast and before the reply, the second with it
    // (a sleep would put it 100 ms later), then the last empty one.
    const auto& polls = pumps.PumpTimes();
    ASSERT_EQ(polls.size(), 3u);
    EXPECT_LT(polls[1] - polls[0], milliseconds(70));
}

// Modules behind one address answer at random times over 0.9 s: only a wait that no reply
// ends uses up the budget, so the search takes in every one.
TEST_F(Search, ModulesAnsweringSpreadOverASecondAreAllListed)
{
    ModuleSimulator::Options options;
    options.bindAddress = kOtherModuleIp;
    SearchModulesAnsweringSpread(config, options, 20, [](const ModuleSimulator& sender) {
        PointConfigServiceAt(sender.Address(), sender.Port());
    });
}

// A module that never stops answering is listed once and then let into the socket no more:
// the search ends as after one reply. A peer that begins during the search to answer as a
// new module in every poll holds it, no longer than ten times its time-out, and is looked up
// once.
TEST_F(Search, ANeverEndingAnswerEndsAsOneReplyAndNewModulesEndAtTenTimesTheTimeout)
{
    names.AddReverse(kModuleIp, "module-a");
    // Each poll takes a millisecond, so the flood never leaves the socket empty.
    pumps.SlowPumps(milliseconds(1));
    module->SetMisbehaviour(Misbehaviour::Flood);
    constexpr int kTimeout = 300;
    auto start = Clock::now();
    config.SearchDevices(kTimeout);
    auto took = Clock::now() - start;
    module->SetMisbehaviour(Misbehaviour::None);
    // The first empty poll waits only until the reply comes.
    EXPECT_GE(took, milliseconds(kTimeout - 100));
    EXPECT_LT(took, milliseconds(kTimeout + 500));
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices.size(), 1u);
    EXPECT_EQ(config.Devices[0].Name, "module-a");

    // From the first poll on, a new module every 200 microseconds, many in each poll of
    // 20 ms.
    pumps.SlowPumps(milliseconds(20));
    module->SetMisbehaviour(Misbehaviour::Silent);
    DatagramFlood::Options options;
    options.peerAddresses = {kOtherModuleIp};
    options.targetPort = config.UDP1.LocalPort();
    options.datagram = SearchReply(0);
    options.countInLastBytes = true;
    options.interval = std::chrono::microseconds(200);
    std::unique_ptr<DatagramFlood> newModules;
    pumps.OnPump([&] {
        if (!newModules)
            newModules = std::make_unique<DatagramFlood>(options);
    });
    const int lookups = resolver.ReverseLookups();
    start = Clock::now();
    config.SearchDevices(kTimeout);
    took = Clock::now() - start;
    newModules.reset();
    EXPECT_GE(took, milliseconds(10 * kTimeout - 100));
    EXPECT_LT(took, milliseconds(10 * kTimeout + 500));
    EXPECT_GT(config.DeviceCount, 1000);
    EXPECT_EQ(config.DeviceCount, static_cast<int>(config.Devices.size()));
    EXPECT_EQ(resolver.ReverseLookups() - lookups, 1);
}

// Peers flood the socket at full rate from before each search, with search replies or with
// datagrams a search does not take: four on addresses of their own, one at 127.0.0.5 beside
// three live modules behind that address (a sender answering for several MAC addresses).
// Each peer that keeps answering is listed once, as any module that answered, and then kept
// out by address and MAC: every live module is listed too, once, each sender costs one
// look-up, and the search ends about a second after the last reply, as on a quiet network.
TEST_F(Search, AModuleThatKeepsAnsweringIsListedOnceAndHidesNoModuleAtItsAddress)
{
    constexpr const char* kShared = "127.0.0.5";
    ModuleSimulator::Options options;
    options.bindAddress = kShared;
    options.behind = {{{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0x0E}, milliseconds(0)},
                      {{0x00, 0x20, 0x4A, 0x0B, 0x0C, 0x0F}, milliseconds(0)}};
    ModuleSimulator live(options);
    PointConfigServiceAt(kShared, live.Port());
    names.AddReverse(kShared, "module-a");
    const std::vector<std::string> peers{kShared, "127.0.0.10", "127.0.0.11", "127.0.0.12",
                                         "127.0.0.13"};
    for (const auto& datagram : {SearchReply(0xEE), Bytes({0, 0, 0, 0xFB})}) {
        const bool answering = datagram[3] == 0xF7;
        const auto flood = FloodConfigSocket(config, datagram, peers);
        for (int run = 0; run < 3; ++run) {
            SCOPED_TRACE("type " + std::to_string(datagram[3]) + ", run " + std::to_string(run));
            const int lookups = resolver.ReverseLookups();
            const auto start = Clock::now();
            config.SearchDevices(1000);
            const auto took = Clock::now() - start;
            const auto listed = [&](const std::string& ip, uint8_t lastMacByte) {
                return std::count_if(
                    config.Devices.begin(), config.Devices.end(), [&](const TDeviceEntry& entry) {
                        return entry.IP == TLantronixConfig::IPTextToBytes(ip) &&
                               entry.MAC[5] == lastMacByte;
                    });
            };
            for (const uint8_t mac : {0x0D, 0x0E, 0x0F})
                EXPECT_EQ(listed(kShared, mac), 1) << "the live module " << int(mac);
            for (const std::string& peer : peers)
                EXPECT_EQ(listed(peer, 0xEE), answering ? 1 : 0) << peer;
            EXPECT_EQ(resolver.ReverseLookups() - lookups, answering ? 5 : 1);
            EXPECT_LT(took, milliseconds(1500));
            ASSERT_EQ(config.DeviceCount, answering ? 8 : 3);
            EXPECT_EQ(config.Devices.back().Name, "module-a");
        }
    }
}

// The socket lives for the whole run: what was queued before a search, late replies to an
// earlier one included, counts for none.
TEST_F(Search, AReplyTooLateForItsSearchCountsForNoLaterSearch)
{
    module->SetMisbehaviour(Misbehaviour::Late, 1);  // about 1.3 s after the request
    config.SearchDevices(1000);
    EXPECT_EQ(config.DeviceCount, 0);  // the budget ran out first

    std::this_thread::sleep_for(ModuleSimulator::kLateDelay);
    module->SetMisbehaviour(Misbehaviour::Silent);
    config.SearchDevices(kShortSearch);
    EXPECT_EQ(config.DeviceCount, 0);
}

// More stray datagrams than the socket's queue holds, queued before the search: the live
// module's reply still finds room and is listed, the strays are not.
TEST_F(Search, StrayDatagramsQueuedBeforeTheSearchDoNotHideTheLiveModule)
{
    const int strays = static_cast<int>(config.UDP1.QueueCapacity()) + 100;
    SendStray(config, Bytes({0, 0, 0, 0xFB}), strays);
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices[0].IP, (std::array<uint8_t, 4>{127, 0, 0, 2}));

    // Search replies of a module that answers no more.
    SendStray(config, SearchReply(0x0E), strays, kOtherModuleIp);
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices[0].IP, (std::array<uint8_t, 4>{127, 0, 0, 2}));
    EXPECT_EQ(config.Devices[0].MAC, kMac);
}

TEST_F(Search, DropsRepliesThatDoNotFitAndEmptiesTheLastResults)
{
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    for (auto misbehaviour : {Misbehaviour::Short, Misbehaviour::WrongType,
                              Misbehaviour::WrongPrefix, Misbehaviour::Silent}) {
        module->SetMisbehaviour(misbehaviour);
        config.SearchDevices(kShortSearch);
        EXPECT_EQ(config.DeviceCount, 0) << static_cast<int>(misbehaviour);
        EXPECT_TRUE(config.Devices.empty());
    }
}

TEST_F(Search, ALongDatagramIsCutToTheBufferAndStillAccepted)
{
    module->SetMisbehaviour(Misbehaviour::Long);  // 300 bytes
    config.SearchDevices(kShortSearch);
    ASSERT_EQ(config.DeviceCount, 1);
    EXPECT_EQ(config.Devices[0].IP, (std::array<uint8_t, 4>{127, 0, 0, 2}));
    EXPECT_EQ(config.Devices[0].MAC, kMac);
}

// --- reading and writing the setup record ---------------------------------------------

class SetupRecord : public ModuleFixture {};

TEST_F(SetupRecord, ReadsTheRecordByNameOrAddress)
{
    module->SetRecord(Pattern());
    TSetupRecord record{};
    ASSERT_TRUE(config.GetSetupRecord(kModuleIp, record));
    EXPECT_EQ(record, Pattern());
    EXPECT_EQ(module->Received(),
              std::vector<std::vector<uint8_t>>{Bytes({0x00, 0x00, 0x00, 0xF8})});
    EXPECT_EQ(config.RecvLength, 124);

    names.AddName("module-a", {kModuleIp});
    record = {};
    EXPECT_TRUE(config.GetSetupRecord("module-a", record));
    EXPECT_EQ(record, Pattern());
}

TEST_F(SetupRecord, DatagramsQueuedBeforeTheReadAreDroppedAndALongReplyIsTaken)
{
    module->SetRecord(Pattern());
    // A stray search reply and a record from elsewhere, queued before the request.
    SendStray(config, SearchReply(0));
    std::vector<uint8_t> foreignRecord(124, 0x33);
    foreignRecord[0] = foreignRecord[1] = foreignRecord[2] = 0;
    foreignRecord[3] = 0xF9;
    SendStray(config, foreignRecord);
    TSetupRecord record{};
    ASSERT_TRUE(config.GetSetupRecord(kModuleIp, record));
    EXPECT_EQ(record, Pattern());

    // 300 bytes: the record is read from the start, the rest is not looked at.
    module->SetMisbehaviour(Misbehaviour::Long, 1);
    record = {};
    ASSERT_TRUE(config.GetSetupRecord(kModuleIp, record));
    EXPECT_EQ(record, Pattern());
}

TEST_F(SetupRecord, AReplyThatDoesNotFitIsDroppedAndTheReadGivesUpAfterOneSecond)
{
    // Short: 123 bytes.
    for (auto misbehaviour :
         {Misbehaviour::Short, Misbehaviour::WrongType, Misbehaviour::WrongPrefix}) {
        module->SetMisbehaviour(misbehaviour, 1);
        TSetupRecord record{};
        const auto start = Clock::now();
        EXPECT_FALSE(config.GetSetupRecord(kModuleIp, record)) << static_cast<int>(misbehaviour);
        EXPECT_GE(Clock::now() - start, milliseconds(950)) << static_cast<int>(misbehaviour);
        EXPECT_EQ(record, TSetupRecord{});
    }
}

TEST_F(SetupRecord, ALateOrRepeatedReplyCountsForNoLaterExchange)
{
    module->SetRecord(Pattern());
    TSetupRecord record{};
    // The second copy of a reply sent twice is dropped before the write goes out.
    module->SetMisbehaviour(Misbehaviour::Twice, 1);
    ASSERT_TRUE(config.GetSetupRecord(kModuleIp, record));
    EXPECT_TRUE(config.SetSetupRecord(kModuleIp, record, true));
    EXPECT_EQ(config.RecvLength, 4);

    module->SetMisbehaviour(Misbehaviour::Late, 1);
    const auto start = Clock::now();
    EXPECT_FALSE(config.GetSetupRecord(kModuleIp, record));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, milliseconds(950));
    EXPECT_LT(took, milliseconds(1500));
    EXPECT_EQ(config.RecvLength, 0);
    // The late record is queued now; the write still waits for its own confirmation.
    std::this_thread::sleep_for(milliseconds(400));
    EXPECT_TRUE(config.SetSetupRecord(kModuleIp, record, true));
    EXPECT_EQ(config.RecvLength, 4);

    // A late confirmation does not confirm the next write.
    module->SetMisbehaviour(Misbehaviour::Late, 1);
    EXPECT_FALSE(config.SetSetupRecord(kModuleIp, record, false));
    std::this_thread::sleep_for(milliseconds(400));
    module->SetMisbehaviour(Misbehaviour::Silent, 1);
    EXPECT_FALSE(config.SetSetupRecord(kModuleIp, record, false));
}

// The drain before a request takes what is queued then, not a flood's worth: with peers
// flooding the socket (records and confirmations of other modules), each request still goes
// out within its time-out and its own reply is read.
TEST_F(SetupRecord, AFloodKeepsNeitherTheRequestFromGoingOutNorItsReplyFromBeingRead)
{
    module->SetRecord(Pattern());
    std::vector<uint8_t> foreignRecord(124, 0x33);
    foreignRecord[0] = foreignRecord[1] = foreignRecord[2] = 0;
    foreignRecord[3] = 0xF9;
    for (const auto& datagram : {foreignRecord, Bytes({0, 0, 0, 0xFB})}) {
        const auto flood = FloodConfigSocket(config, datagram);
        for (int run = 0; run < 5; ++run) {
            // The peers fill the queue again between the exchanges.
            std::this_thread::sleep_for(milliseconds(50));
            TSetupRecord record{};
            const auto start = Clock::now();
            EXPECT_TRUE(config.GetSetupRecord(kModuleIp, record)) << "run " << run;
            EXPECT_EQ(record, Pattern());
            EXPECT_TRUE(config.SetSetupRecord(kModuleIp, Pattern(), true)) << "run " << run;
            EXPECT_LT(Clock::now() - start, milliseconds(2000)) << "run " << run;
        }
    }
    EXPECT_EQ(module->Received().size(), 20u);
}

TEST_F(SetupRecord, AReplyFromAnotherModuleIsNotTakenForTheOneAsked)
{
    const auto other = OtherModule(milliseconds(500));
    ModuleSimulator::Record otherRecord;
    otherRecord.fill(0x33);
    other->SetRecord(otherRecord);
    module->SetRecord(Pattern());

    module->SetMisbehaviour(Misbehaviour::Late, 1);
    TSetupRecord record{};
    EXPECT_FALSE(config.GetSetupRecord(kModuleIp, record));
    // The first module's record arrives while the other one is asked, before its answer.
    ASSERT_TRUE(config.GetSetupRecord(kOtherModuleIp, record));
    EXPECT_EQ(record, otherRecord);
}

TEST_F(SetupRecord, NameThatDoesNotResolveFailsTheReadAndRaisesFromTheWrite)
{
    TSetupRecord record{};
    EXPECT_FALSE(config.GetSetupRecord("no-such-module", record));
    EXPECT_THROW(config.SetSetupRecord("no-such-module", record, false), ESocketError);
    EXPECT_TRUE(module->Received().empty());
}

TEST_F(SetupRecord, WriteSendsTheWholeRecordWithItsTypeAndWantsFB)
{
    const TSetupRecord record = Pattern();
    ASSERT_TRUE(config.SetSetupRecord(kModuleIp, record, true));
    ASSERT_TRUE(config.SetSetupRecord(kModuleIp, record, false));
    const auto received = module->Received();
    ASSERT_EQ(received.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(received[i].size(), 124u);
        EXPECT_EQ(std::vector(received[i].begin(), received[i].begin() + 4),
                  Bytes({0, 0, 0, i == 0 ? 0xFD : 0xFA}));
        EXPECT_TRUE(std::equal(record.begin(), record.end(), received[i].begin() + 4));
    }
    EXPECT_EQ(module->GetRecord(), Pattern());

    for (auto misbehaviour : {Misbehaviour::Short, Misbehaviour::WrongType,
                              Misbehaviour::WrongPrefix, Misbehaviour::Silent}) {
        module->SetMisbehaviour(misbehaviour, 1);
        EXPECT_FALSE(config.SetSetupRecord(kModuleIp, record, false))
            << static_cast<int>(misbehaviour);
    }
}

// --- address assignment by MAC --------------------------------------------------------

class IPSetup : public ModuleFixture {};

TEST_F(IPSetup, BroadcastsTheDatagramByteForByte)
{
    config.SendIPSetup("192.168.1.20", "00-20-4A-0B-0C-0D");
    ASSERT_TRUE(module->WaitForReceived(1, milliseconds(1000)));
    EXPECT_EQ(module->Received()[0],
              Bytes({0x00, 0x00, 0x00, 0xFC, 'I',  'P',  '-',  'S',  'E',  'T',
                     'U',  'P',  0x00, 0x00, 0x0C, 0x0D, 0xC0, 0xA8, 0x01, 0x14}));
    // The module named by its MAC takes the address.
    const auto record = module->GetRecord();
    EXPECT_EQ(std::vector(record.begin(), record.begin() + 4), Bytes({192, 168, 1, 20}));
}

TEST_F(IPSetup, SevenOrEightGroupsUseTheFifthAndSixth)
{
    config.SendIPSetup("0.0.0.0", "1-2-3-4-5-6-7-8");
    ASSERT_TRUE(module->WaitForReceived(1, milliseconds(1000)));
    const auto datagram = module->Received()[0];
    EXPECT_EQ(std::vector(datagram.begin() + 14, datagram.end()), Bytes({5, 6, 0, 0, 0, 0}));
}

TEST_F(IPSetup, MacOfFewerThanSixGroupsIsRefusedAndNothingSent)
{
    for (const char* mac :
         {"00-20-4A-0B-0C", "", "00-20-4A--0C-0D", "00-20-4A-0B-0C-ZZ", "1-2-3-4-5-6-7-8-9"}) {
        script.ExpectMessage(ui::MsgKind::Error, "Error: MAC address is required to assign ip",
                             ui::Buttons::OK);
        config.SendIPSetup("192.168.1.20", mac);
    }
    EXPECT_FALSE(module->WaitForReceived(1, milliseconds(200)));
}

TEST(IPTextToBytes, DottedOrderAndAllOnesForNoAddress)
{
    using Bytes4 = std::array<uint8_t, 4>;
    EXPECT_EQ(TLantronixConfig::IPTextToBytes("192.168.1.20"), (Bytes4{0xC0, 0xA8, 1, 0x14}));
    // Each part as the address boxes hold it: decimal, also with a leading 0.
    EXPECT_EQ(TLantronixConfig::IPTextToBytes("010.0.0.08"), (Bytes4{10, 0, 0, 8}));
    for (const char* text : {"no address", "", "1.2.3.256", "1.2.3.4.", "1.2.3. 7", "0x7f.0.0.1"})
        EXPECT_EQ(TLantronixConfig::IPTextToBytes(text), (Bytes4{0xFF, 0xFF, 0xFF, 0xFF})) << text;
}

}  // namespace
