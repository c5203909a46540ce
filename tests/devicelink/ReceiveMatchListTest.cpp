#include "DeviceLinkFixture.h"

#include "platform/net/ESocketError.h"
#include "platform/net/NetPorts.h"
#include "platform/text/Format.h"

#include <chrono>

using namespace std::chrono_literals;
using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using Lines = std::vector<std::string>;
using Rows = std::vector<FakeDeviceContext::Row>;
using Clock = std::chrono::steady_clock;

class ReceiveMatchListTest : public DeviceLinkFixture {
protected:
    ReceiveMatchListTest()
    {
        // Something to lose: a receive always starts from an empty list.
        context.rows = {{"KEEP", "1"}};
        context.special(TSpecialEntry::NoPlate) = {true, "3"};
    }
    // clears: 1 when the device's list replaced the one before, 0 when that was kept.
    void ExpectRestored(int clears = 1)
    {
        EXPECT_EQ(context.clearCount, clears);
        EXPECT_EQ(context.updateUICount, 1);
        EXPECT_EQ(ui.BusyDepth(), 0);
        EXPECT_FALSE(context.progressShown);
        EXPECT_FALSE(Connection().TCP1().Connected());
    }
};

TEST_F(ReceiveMatchListTest, EntriesAndSpecialsArriveInTheDevicesOrder)
{
    device.SetCountSpecials(true);
    device.SetList({{"A1", 1}, {"NOREAD", 9}, {"B2", 0x1F}});
    device.SetNoMatch(7);
    commands.btnReceiveClick();
    EXPECT_EQ(device.Commands(), (Lines{"QLS", "QLI0000", "QLI0001", "QLI0002", "QNF"}));
    EXPECT_EQ(context.rows, (Rows{{"A1", "1"}, {"B2", "31"}}));
    EXPECT_TRUE(context.special(TSpecialEntry::NoRead).checked);
    EXPECT_EQ(context.special(TSpecialEntry::NoRead).text, "9");
    EXPECT_EQ(context.special(TSpecialEntry::NoMatch).text, "7");
    EXPECT_FALSE(context.special(TSpecialEntry::NoPlate).checked);
    EXPECT_EQ(context.progressMax, 3);
    EXPECT_EQ(context.progressHighest, 2);
    EXPECT_EQ(LogFrom("> QLI0001"), (Lines{"> QLI0001", "< QLI0001NOREAD=000000000009", "> QLI0002",
                                           "< QLI0002B2=00000000001F", "> QNF", "< QNF000000000007",
                                           "Disconnecting.", "Disconnected."}));
    ExpectRestored();
}

TEST_F(ReceiveMatchListTest, IndexesAreFourUpperCaseHexDigits)
{
    std::vector<DeviceSimulator::Entry> list;
    for (int i = 0; i < 11; ++i)
        list.push_back({Format("P%d", i), static_cast<uint64_t>(i + 1)});
    device.SetList(list);
    commands.btnReceiveClick();
    EXPECT_EQ(device.Commands()[11], "QLI000A");
    EXPECT_EQ(context.rows.size(), 11u);
    // No no-match value: the special entry stays as the clear left it.
    EXPECT_FALSE(context.special(TSpecialEntry::NoMatch).checked);
}

TEST_F(ReceiveMatchListTest, RepliesWithoutAPlateOrAValueAreSkipped)
{
    device.SetList(std::vector<DeviceSimulator::Entry>(6, {"X", 1}));
    device.AddRule(On("QLI0000", Act::Raw, "QLI0000NOEQUALS\r\n"));
    device.AddRule(On("QLI0001", Act::Raw, "QLI0001=5\r\n"));
    device.AddRule(On("QLI0002", Act::Raw, "QLI0002AB=CD=5\r\n"));
    device.AddRule(On("QLI0003", Act::Raw, "QLI0003Z=000000000000\r\n"));
    device.AddRule(On("QLI0004", Act::Raw, std::string("QLI0004\x80\0=1F\r\n", 14)));
    device.AddRule(On("QNF", Act::Raw, "QNFnot hex\r\n"));
    commands.btnReceiveClick();
    EXPECT_EQ(context.rows, (Rows{{std::string("\x80\0", 2), "31"}, {"X", "1"}}));
    EXPECT_FALSE(context.special(TSpecialEntry::NoMatch).checked);
    ExpectRestored();
}

TEST_F(ReceiveMatchListTest, ACancelledEntryAbortsTheUploadAndKeepsWhatCame)
{
    device.SetList({{"A", 1}, {"B", 2}, {"C", 3}});
    device.AddRule(On("QLI0001", Act::Close));
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Warning, "Warning: upload aborted", Buttons::OK);
    commands.btnReceiveClick();
    EXPECT_EQ(device.Commands(), (Lines{"QLS", "QLI0000", "QLI0001"}));
    EXPECT_EQ(context.rows, (Rows{{"A", "1"}}));
    ExpectRestored();
}

TEST_F(ReceiveMatchListTest, ACancelledNoMatchAbortsTooAndItsFailureTextAddsNothing)
{
    device.SetList({{"A", 1}});
    device.SetNoMatch(5);
    device.AddRule(On("QNF", Act::Close));
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Warning, "Warning: upload aborted", Buttons::OK);
    commands.btnReceiveClick();
    EXPECT_EQ(context.rows, (Rows{{"A", "1"}}));
    EXPECT_FALSE(context.special(TSpecialEntry::NoMatch).checked);
    ExpectRestored();
}

TEST_F(ReceiveMatchListTest, ADeviceThatDoesNotAnswerItsCountLeavesTheListAsItWas)
{
    const Rows before = context.rows;
    // Silent: the count times out after a second; nothing more is asked.
    device.AddRule(On("QLS", Act::Silent, {}, 1));
    const auto start = Clock::now();
    commands.btnReceiveClick();
    const auto took = Clock::now() - start;
    EXPECT_GE(took, 900ms);
    EXPECT_LT(took, 3000ms);
    EXPECT_EQ(device.Commands(), (Lines{"QLS"}));
    EXPECT_EQ(context.rows, before);
    EXPECT_TRUE(context.special(TSpecialEntry::NoPlate).checked);
    ExpectRestored(0);

    // Closed on the count, and the failure given up (Cancel) or passed over (Ignore).
    for (const Result answer : {Result::Cancel, Result::Ignore}) {
        device.AddRule(On("QLS", Act::Close, {}, 1));
        ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                         Buttons::CancelRetryIgnore, answer);
        commands.btnReceiveClick();
        ui.VerifyDone();
        EXPECT_EQ(context.rows, before);
        EXPECT_EQ(context.clearCount, 0);
    }

    // A device that answers it holds nothing does replace the list.
    commands.btnReceiveClick();
    EXPECT_TRUE(context.rows.empty());
    EXPECT_FALSE(context.special(TSpecialEntry::NoPlate).checked);
    EXPECT_EQ(context.clearCount, 1);
}

TEST_F(ReceiveMatchListTest, ASilentEntryIsSkipped)
{
    device.SetList({{"A", 1}, {"B", 2}});
    device.AddRule(On("QLI0000", Act::Silent));
    commands.btnReceiveClick();
    EXPECT_EQ(context.rows, (Rows{{"B", "2"}}));
}

TEST_F(ReceiveMatchListTest, ADeviceThatFallsSilentMidListEndsTheUploadAfterThreeEntries)
{
    std::vector<DeviceSimulator::Entry> list;
    for (int i = 0; i < 1000; ++i)
        list.push_back({Format("P%d", i), 1});
    device.SetList(list);
    device.AddRule(On("QLI0001", Act::Raw, "QLI0001\r\n"));  // an answer, though empty
    auto silence = On("QLI", Act::Silent);
    silence.skip = 1;  // QLI0000; QLI0001 is taken by the rule above
    device.AddRule(silence);
    ui.ExpectMessage(MsgKind::Warning, "Warning: upload aborted", Buttons::OK);
    const auto start = Clock::now();
    commands.btnReceiveClick();
    EXPECT_LT(Clock::now() - start, 6000ms);
    EXPECT_EQ(context.rows, (Rows{{"P0", "1"}}));
    EXPECT_EQ(device.Commands().size(), 6u) << "QLS, then QLI0000 to QLI0004";
    ExpectRestored();
    ui.VerifyDone();
}

TEST_F(ReceiveMatchListTest, AnUnreachableDeviceLeavesTheListAsItWasAndARefreshedWindow)
{
    const Rows before = context.rows;
    PointAtAClosedPort();
    EXPECT_THROW(commands.btnReceiveClick(), ESocketError);
    EXPECT_EQ(context.rows, before);
    EXPECT_TRUE(context.special(TSpecialEntry::NoPlate).checked);
    EXPECT_FALSE(commands.Gate().Busy());
    ExpectRestored(0);
}

TEST_F(ReceiveMatchListTest, GarbageFromTheDeviceNeverBecomesAnEntry)
{
    device.SetList({{"A", 1}, {"B", 2}, {"C", 3}});
    // A stray line of bytes 80-FF and NULs, a line without the echo, a huge line.
    device.AddRule(On("QLI0000", Act::Raw, std::string("\xFF\xFE\0\x80=12\r\nQLI0000A=1\r\n", 21)));
    device.AddRule(On("QLI0001", Act::Raw, std::string(70000, 'z') + "=1\r\n"));
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Ignore);
    commands.btnReceiveClick();
    EXPECT_EQ(context.rows, (Rows{{"A", "1"}, {"C", "3"}}));
    ExpectRestored();
}

// At the session's end nobody is there to wait for a device's list: the receive stops at
// its next exchange, without a box, and the list is the one from before it (special
// entries as they stood), whether the end cut it short or came only with its last answer.
TEST_F(ReceiveMatchListTest, TheSessionsEndStopsItAndTheListFromBeforeStays)
{
    device.SetList({{"A1", 1}, {"B2", 2}, {"C3", 3}, {"D4", 4}});
    device.SetNoMatch(7);
    context.special(TSpecialEntry::NoMatch) = {false, "12"};
    context.special(TSpecialEntry::NoRead) = {true, ""};
    const struct {
        const char* signalAt;
        Lines sent;
    } cases[] = {
        {"> QLI0001", {"QLS", "QLI0000", "QLI0001"}},
        {"< QNF", {"QLS", "QLI0000", "QLI0001", "QLI0002", "QLI0003", "QNF"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.signalAt);
        context.log.clear();
        EXPECT_EQ(EndTheSessionDuring([this] { commands.btnReceiveClick(); }, c.signalAt), "");
        EXPECT_EQ(LoggedCommands(), c.sent);
        EXPECT_EQ(context.rows, (Rows{{"KEEP", "1"}}));
        EXPECT_EQ(context.special(TSpecialEntry::NoMatch).text, "12");
        EXPECT_FALSE(context.special(TSpecialEntry::NoMatch).checked);
        EXPECT_TRUE(context.special(TSpecialEntry::NoRead).checked);
        EXPECT_TRUE(context.special(TSpecialEntry::NoPlate).checked);
        EXPECT_EQ(context.special(TSpecialEntry::NoPlate).text, "3");
        EXPECT_FALSE(Connection().TCP1().Connected());
    }
}

TEST_F(ReceiveMatchListTest, TheWiegandFormatOnScreenTurnsFramesBackIntoIdNumbers)
{
    context.wiegand = TWiegandFormat{};  // 26 bits, facility code 8 bits value 1, parity
    device.SetList({{"A", 0x6020002}, {"B", 0x6026073}});
    device.SetNoMatch(0x6020002);
    commands.btnReceiveClick();
    EXPECT_EQ(context.rows, (Rows{{"A", "1"}, {"B", "12345"}}));
    EXPECT_EQ(context.special(TSpecialEntry::NoMatch).text, "1");
}
