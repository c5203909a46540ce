#include "DeviceLinkFixture.h"

#include "devicelink/TTransferBlock.h"
#include "platform/net/NetPorts.h"
#include "platform/net/TableResolver.h"

#include <algorithm>
#include <chrono>

using namespace std::chrono_literals;
using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

namespace {

const std::string kNoAck = "Error: communication failure (no acknowledge received)";

}  // namespace

class CommandExchange : public DeviceLinkFixture {};

TEST_F(CommandExchange, TheReplyIsWhatFollowsTheFirstEchoOnItsLine)
{
    device.AddRule(On("QLS", Act::Raw, "xxQLS00050800QLS\r\n"));
    Connect();
    std::string reply;
    EXPECT_TRUE(Connection().SendCommand("QLS", reply, 1000));
    EXPECT_EQ(reply, "00050800QLS");
    EXPECT_EQ(context.log, (Lines{"> QLS", "< xxQLS00050800QLS"}));
}

TEST_F(CommandExchange, LinesBeforeTheEchoAreLoggedAndSkipped)
{
    device.AddRule(On("QVE", Act::Before, "READY\r\n\r\nqve lower case\r\n"));
    Connect();
    std::string reply;
    EXPECT_TRUE(Connection().SendCommand("QVE", reply, 1000));
    EXPECT_EQ(reply, "Ver1.10");
    EXPECT_EQ(context.log, (Lines{"> QVE", "< READY", "< ", "< qve lower case", "< QVEVer1.10"}));
}

TEST_F(CommandExchange, LineEndsAndEveryByteValueArriveAsSent)
{
    device.AddRule(On("QTM", Act::Raw, "QTM0\n", 1));
    device.AddRule(On("QTM", Act::Raw, "QTM0\r\r\n", 1));
    device.AddRule(On("QTM", Act::Raw, std::string("QTM\0\x80\xFF=\r\n", 9), 1));
    Connect();
    std::string reply;
    ASSERT_TRUE(Connection().SendCommand("QTM", reply, 1000));
    EXPECT_EQ(reply, "0");
    ASSERT_TRUE(Connection().SendCommand("QTM", reply, 1000));
    EXPECT_EQ(reply, "0\r");
    ASSERT_TRUE(Connection().SendCommand("QTM", reply, 1000));
    EXPECT_EQ(reply, std::string("\0\x80\xFF=", 4));
    // A command with bytes above 7F goes out as those bytes.
    ASSERT_TRUE(Connection().SendCommand("SLS\xC4\xE4=000000000001", reply, 1000));
    EXPECT_EQ(device.Commands().back(), "SLS\xC4\xE4=000000000001");
}

TEST_F(CommandExchange, ASilentDeviceIsASuccessWithAnEmptyReplyAfterOneSecond)
{
    device.AddRule(On("QVE", Act::Silent));
    Connect();
    std::string reply = "old";
    const auto start = Clock::now();
    EXPECT_TRUE(Connection().SendCommand("QVE", reply, 1000));
    const auto took = Clock::now() - start;
    EXPECT_EQ(reply, "");
    EXPECT_GE(took, 950ms);
    EXPECT_LT(took, 2500ms);
    EXPECT_EQ(context.log, (Lines{"> QVE", "< "}));
}

TEST_F(CommandExchange, HalfALineThenSilenceTimesOutAndTheHalfIsReadNextTime)
{
    device.AddRule(On("QVE", Act::Raw, "QV", 1));
    Connect();
    std::string reply;
    EXPECT_TRUE(Connection().SendCommand("QVE", reply, 200));
    EXPECT_EQ(reply, "");
    // The late half line is read first by the next command, and skipped.
    EXPECT_TRUE(Connection().SendCommand("QVE", reply, 200));
    EXPECT_EQ(reply, "Ver1.10");
    EXPECT_EQ(context.log, (Lines{"> QVE", "< ", "> QVE", "< QVQVEVer1.10"}));
}

TEST_F(CommandExchange, AClosedConnectionOffersCancelRetryAndIgnore)
{
    device.AddRule(On("QVE", Act::Close));
    Connect();
    std::string reply;

    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Ignore);
    EXPECT_TRUE(Connection().SendCommand("QVE", reply, 1000));
    EXPECT_EQ(reply, "no acknowledge received");

    // The connection is gone: a retry fails the same way until the person gives up.
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Retry);
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Cancel);
    EXPECT_FALSE(Connection().SendCommand("QLS", reply, 1000));
    EXPECT_EQ(reply, "no acknowledge received");
    EXPECT_EQ(context.log, (Lines{"> QVE", "> QLS", "> QLS"}));
}

TEST_F(CommandExchange, TheFailureTextIsTheLastLineReadWhenItHasMoreThanOneCharacter)
{
    auto closing = [](const std::string& bytes) {
        auto rule = On("CLS", Act::Raw, bytes, 1);
        rule.closeAfter = true;
        return rule;
    };
    device.AddRule(closing("busy, try later\r\n"));
    Connect();
    std::string reply;
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (busy, try later)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    EXPECT_FALSE(Connection().SendCommand("CLS", reply, 1000));
    EXPECT_EQ(reply, "busy, try later");

    Connection().DisconnectDevice();
    device.AddRule(closing("x\r\n"));
    Connect();
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Cancel);
    EXPECT_FALSE(Connection().SendCommand("CLS", reply, 1000));
    EXPECT_EQ(reply, "no acknowledge received");
}

TEST_F(CommandExchange, RetrySendsTheCommandAgain)
{
    device.AddRule(On("QLS", Act::Raw, std::string(20000, 'x') + "\r\n", 1));
    Connect();
    std::string reply;
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Retry);
    EXPECT_TRUE(Connection().SendCommand("QLS", reply, 1000));
    EXPECT_EQ(reply, "00000800");
    EXPECT_EQ(device.Commands(), (Lines{"QLS", "QLS"}));
}

TEST_F(CommandExchange, AnEndlessLineFailsAtItsLimitWithoutWaiting)
{
    device.AddRule(On("QVE", Act::Raw, std::string(1 << 20, 'y')));
    Connect();
    std::string reply;
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Cancel);
    const auto start = Clock::now();
    EXPECT_FALSE(Connection().SendCommand("QVE", reply, 1000));
    EXPECT_LT(Clock::now() - start, 2000ms);
}

TEST_F(CommandExchange, ADeviceThatNeverEchoesCannotHoldTheWindowPastTheDeadline)
{
    // Lines without the echo, and then single bytes, each well within the read time-out;
    // the attempt may last ten times its time-out.
    std::string noise;
    for (int i = 0; i < 100; ++i)
        noise += "noise\r\n";
    auto lines = On("QVE", Act::Slow, noise, 1);
    lines.pieceSize = 7;
    lines.pieceDelayMs = 40;
    auto bytes = On("QLS", Act::Slow, std::string(100, 'b'), 1);
    bytes.pieceDelayMs = 60;
    device.AddRule(lines);
    device.AddRule(bytes);
    Connect();
    std::string reply;

    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (noise)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    auto start = Clock::now();
    EXPECT_FALSE(Connection().SendCommand("QVE", reply, 200));
    auto took = Clock::now() - start;
    EXPECT_GE(took, 1990ms);
    EXPECT_LT(took, 3500ms);

    Connection().DisconnectDevice();
    Connect();
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Cancel);
    start = Clock::now();
    EXPECT_FALSE(Connection().SendCommand("QLS", reply, 200));
    took = Clock::now() - start;
    EXPECT_GE(took, 1990ms);
    EXPECT_LT(took, 3500ms);
}

TEST_F(CommandExchange, ABlockIsLoggedByteByByteWithItsReply)
{
    Connect();
    auto block = TTransferBlock::Make(0);
    block.SetRecord(0, "A", 0xFF);
    block.Seal();
    EXPECT_TRUE(Connection().SendBlock(block.Bytes(), sizeof block, 1000));
    const uint8_t eot = 0x04;
    EXPECT_TRUE(Connection().SendBlock(&eot, 1, 1000));
    ASSERT_EQ(context.log.size(), 4u);
    EXPECT_EQ(context.log[0].substr(0, 3 + 3 * 5), "> #01 00 FF 41 00 ");
    EXPECT_EQ(context.log[0].size(), 3 + 3 * 260u);
    EXPECT_EQ(context.log[0].back(), ' ');
    EXPECT_EQ(context.log[1], "< #06");
    EXPECT_EQ(context.log[2], "> #04 ");
    EXPECT_EQ(context.log[3], "< #06");
}

TEST_F(CommandExchange, AFailedBlockNamesItsReasonAndRetrySendsTheSameBlock)
{
    const uint8_t eot = 0x04;
    struct Case {
        DeviceSimulator::BlockRule rule;
        std::string reason;
    };
    for (const auto& [rule, reason] :
         {Case{OnBlock(-1, BlockAct::Reply, 0x15, 1), "no acknowledge"},
          Case{OnBlock(-1, BlockAct::Reply, 0x19, 1), "memory full"},
          Case{OnBlock(-1, BlockAct::Reply, 0x00, 1), "no answer"},
          Case{OnBlock(-1, BlockAct::Reply, 0x41, 1), "unexpected reply"},
          Case{OnBlock(-1, BlockAct::Silent, 0x06, 1), "no answer"}}) {
        DeviceSimulator fresh;
        fresh.AddRule(rule);
        SetDevicePortForTesting(fresh.Port());
        Connect();
        ui.ExpectMessage(MsgKind::Error, "Error: communication failure: " + reason,
                         Buttons::CancelRetry, Result::Retry);
        EXPECT_TRUE(Connection().SendBlock(&eot, 1, 300)) << reason;
        EXPECT_EQ(fresh.Blocks(), (Lines{"\x04", "\x04"})) << reason;
        EXPECT_EQ(std::count(context.log.begin(), context.log.end(), "> #04 "), 2) << reason;
        Connection().DisconnectDevice();
    }
}

TEST_F(CommandExchange, CancelEndsTheBlockAsAFailureAndAClosedDeviceHasNoAnswer)
{
    device.AddRule(OnBlock(0, BlockAct::Close));
    Connect();
    const uint8_t eot = 0x04;
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure: no answer",
                     Buttons::CancelRetry, Result::Cancel);
    EXPECT_FALSE(Connection().SendBlock(&eot, 1, 1000));
    EXPECT_EQ(context.log, (Lines{"> #04 "}));
}

TEST_F(CommandExchange, ConnectTrimsTheHostAndResolvesOnlyNames)
{
    EXPECT_TRUE(Connection().ConnectDevice("  127.0.0.1 \t"));
    EXPECT_EQ(context.log, (Lines{"Connecting to 127.0.0.1.", "Connected."}));
    // While open, any host gives the open connection.
    EXPECT_TRUE(Connection().ConnectDevice("elsewhere"));
    EXPECT_EQ(context.log.size(), 2u);
    Connection().DisconnectDevice();
    Connection().DisconnectDevice();
    EXPECT_EQ(context.log,
              (Lines{"Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected."}));

    TableResolver resolver;
    resolver.AddName("device-a", {"127.0.0.1"});
    SetResolverForTesting(&resolver);
    context.log.clear();
    EXPECT_TRUE(Connection().ConnectDevice("device-a"));
    EXPECT_EQ(context.log,
              (Lines{"Resolving hostname device-a.", "Connecting to 127.0.0.1.", "Connected."}));
    SetResolverForTesting(nullptr);
}

TEST_F(CommandExchange, ExchangesWithoutAConnectionFailThroughTheirBoxes)
{
    std::string reply;
    ui.ExpectMessage(MsgKind::Error, kNoAck, Buttons::CancelRetryIgnore, Result::Cancel);
    EXPECT_FALSE(Connection().SendCommand("QVE", reply, 1000));
    const uint8_t eot = 0x04;
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure: no answer",
                     Buttons::CancelRetry, Result::Cancel);
    EXPECT_FALSE(Connection().SendBlock(&eot, 1, 1000));
}
