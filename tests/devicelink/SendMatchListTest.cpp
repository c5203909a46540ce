#include "DeviceLinkFixture.h"

#include "platform/net/ESocketError.h"
#include "platform/net/NetPorts.h"

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using Lines = std::vector<std::string>;
using Entries = std::vector<DeviceSimulator::Entry>;

namespace {

const Lines kInfo{"QVE", "QLS", "QTM"};

Lines Concat(Lines a, const Lines& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

uint8_t Sum(const std::string& bytes)
{
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(bytes[i]));
    return sum;
}

Entries StoredPlates(int n)
{
    Entries entries;
    for (int i = 0; i < n; ++i)
        entries.push_back({"OLD" + std::to_string(i), 1});
    return entries;
}

}  // namespace

class SendMatchListTest : public DeviceLinkFixture {
protected:
    void ExpectRestored()
    {
        EXPECT_EQ(ui.BusyDepth(), 0);
        EXPECT_FALSE(context.progressShown);
        EXPECT_FALSE(Connection().TCP1().Connected());
        // Every command let the window go again.
        ASSERT_FALSE(context.holdOffs.empty());
        EXPECT_EQ(context.holdOffs.size() % 2, 0u);
        EXPECT_FALSE(context.holdOffs.back());
    }
};

TEST_F(SendMatchListTest, FewerThanFourPlatesGoAsLinesWithWholePlates)
{
    context.rows = {{"ABCDEFGHIJKL", "5"}, {"ab-12 3", "$1F"}, {"Z\xE4", "7"}};
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(),
              Concat(kInfo, {"CLS", "SLSABCDEFGHIJKL=000000000005", "SLSab-12 3=00000000001F",
                             "SLSZ\xE4=000000000007", "QLS"}));
    EXPECT_EQ(device.List(), (Entries{{"ABCDEFGHIJKL", 5}, {"ab-12 3", 31}, {"Z\xE4", 7}}));
    EXPECT_TRUE(device.Blocks().empty());
    EXPECT_EQ(context.progressMax, 3);
    EXPECT_EQ(context.progressHighest, 3);
    EXPECT_EQ(context.log.front(), "Connecting to 127.0.0.1.");
    EXPECT_EQ(
        LogFrom("> CLS"),
        (Lines{"> CLS", "< CLS", "> SLSABCDEFGHIJKL=000000000005", "< SLSABCDEFGHIJKL=000000000005",
               "> SLSab-12 3=00000000001F", "< SLSab-12 3=00000000001F", "> SLSZ\xE4=000000000007",
               "< SLSZ\xE4=000000000007", "> QLS", "< QLS00030800", "Disconnecting.",
               "Disconnected."}));
    ExpectRestored();
}

TEST_F(SendMatchListTest, FourPlatesGoAsOneBlockWithTwelveEmptyRecordsAndTheClosingByte)
{
    context.rows = {{"ABCDEFGHIJKL", "5"}, {"AB1", "0"}, {"C", "281474976710655"}, {"D", "1"}};
    commands.btnSendClick();
    const auto blocks = device.Blocks();
    ASSERT_EQ(blocks.size(), 2u);
    const std::string& block = blocks[0];
    ASSERT_EQ(block.size(), 260u);
    EXPECT_EQ(block.substr(0, 3), Bytes({0x01, 0x00, 0xFF}));
    EXPECT_EQ(block.substr(3, 16), std::string("ABCDEFGHIJ\0\0\0\0\0\x05", 16));
    EXPECT_EQ(block.substr(19, 16), std::string("AB1\0\0\0\0\0\0\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(block.substr(35, 16), std::string("C\0\0\0\0\0\0\0\0\0\xFF\xFF\xFF\xFF\xFF\xFF", 16));
    EXPECT_EQ(block.substr(51, 16), std::string("D\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x01", 16));
    EXPECT_EQ(block.substr(67, 12 * 16), std::string(12 * 16, '\xFF'));
    EXPECT_EQ(static_cast<uint8_t>(block[259]), Sum(block));
    EXPECT_EQ(blocks[1], "\x04");
    EXPECT_EQ(device.Commands(), Concat(kInfo, {"CLS", "QLS"}));
    EXPECT_EQ(device.List().size(), 4u);  // the frame value 0 is written too
    EXPECT_EQ(context.progressHighest, 4);
    ExpectRestored();
}

TEST_F(SendMatchListTest, TwentyPlatesFillBlockZeroAndPartOfBlockOne)
{
    context.SetPlates(20);
    commands.btnSendClick();
    const auto blocks = device.Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].substr(0, 3), Bytes({0x01, 0x00, 0xFF}));
    EXPECT_EQ(blocks[1].substr(0, 3), Bytes({0x01, 0x01, 0xFE}));
    EXPECT_EQ(blocks[1].substr(3, 3), "P16");
    EXPECT_EQ(blocks[1].substr(3 + 3 * 16, 3), "P19");
    EXPECT_EQ(blocks[1].substr(3 + 4 * 16, 12 * 16), std::string(12 * 16, '\xFF'));
    EXPECT_EQ(blocks[2], "\x04");
    EXPECT_EQ(device.List().size(), 20u);
    EXPECT_EQ(device.List()[19], (DeviceSimulator::Entry{"P19", 20}));
    // Two blocks advance by 32, and the bar stops at its maximum.
    EXPECT_EQ(context.progressMax, 20);
    EXPECT_EQ(context.progressHighest, 20);
    ExpectRestored();
}

TEST_F(SendMatchListTest, BlockNumbersWrapAfter255)
{
    DeviceSimulator::Options options;
    options.capacity = 65535;
    DeviceSimulator big(options);
    SetDevicePortForTesting(big.Port());
    context.SetPlates(257 * 16 + 1);
    commands.btnSendClick();
    const auto blocks = big.Blocks();
    ASSERT_EQ(blocks.size(), 259u);
    EXPECT_EQ(blocks[255].substr(1, 2), Bytes({0xFF, 0x00}));
    EXPECT_EQ(blocks[256].substr(1, 2), Bytes({0x00, 0xFF}));
    EXPECT_EQ(blocks[257].substr(1, 2), Bytes({0x01, 0xFE}));
    EXPECT_EQ(big.List().size(), 257u * 16 + 1);
    EXPECT_EQ(big.Commands().back(), "QLS");
}

TEST_F(SendMatchListTest, ALineWithFrameValueZeroIsSkippedAndTheCountCheckSaysSo)
{
    context.rows = {{"A", "1"}, {"B", "0"}, {"C", "junk"}};
    ui.ExpectMessage(MsgKind::Error,
                     "Host 127.0.0.1:\rtransmit match-list failed (transferred 1 of 3 plates)",
                     Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(), Concat(kInfo, {"CLS", "SLSA=000000000001", "QLS"}));
    EXPECT_EQ(context.progressHighest, 3);
    ExpectRestored();
}

TEST_F(SendMatchListTest, SpecialEntriesFollowInTheirOrderEvenWithAnEmptyField)
{
    context.SetPlates(1);
    context.special(TSpecialEntry::NoMatch) = {true, ""};
    context.special(TSpecialEntry::NoRead) = {true, "9"};
    context.special(TSpecialEntry::NoPlate) = {true, "10"};
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(),
              Concat(kInfo, {"CLS", "SLSP0=000000000001", "SNF000000000000",
                             "SLSNOREAD=000000000009", "SLSNOPLATE=00000000000A", "QLS"}));
    EXPECT_EQ(device.List(), (Entries{{"P0", 1}, {"NOREAD", 9}, {"NOPLATE", 10}}));
}

TEST_F(SendMatchListTest, TheCapacityLessTheCheckedSpecialsMustHoldThePlates)
{
    DeviceSimulator::Options options;
    options.capacity = 100;
    DeviceSimulator small(options);
    SetDevicePortForTesting(small.Port());
    small.SetList(StoredPlates(3));
    context.SetPlates(99);
    context.special(TSpecialEntry::NoRead) = {true, "1"};
    context.special(TSpecialEntry::NoPlate) = {true, "2"};
    context.hosts = {"127.0.0.1", "127.0.0.2"};
    auto second = SecondDevice();
    ui.ExpectMessage(MsgKind::Error, "Host 127.0.0.1:\rMatch-list too long (max. 98 plates)",
                     Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(small.Commands(), kInfo);
    EXPECT_EQ(small.List(), StoredPlates(3));
    EXPECT_TRUE(second->Commands().empty());
    ExpectRestored();

    // With one special fewer the same list fits.
    context.special(TSpecialEntry::NoPlate).checked = false;
    context.hosts = {"127.0.0.1"};
    ui.ExpectMessage(
        MsgKind::Confirmation,
        "Host 127.0.0.1:\rClick Yes to confirm overwrite match-list.\r\rAdded 96 plates.",
        Buttons::YesNo, Result::Yes);
    commands.btnSendClick();
    EXPECT_EQ(small.List().size(), 100u);
}

TEST_F(SendMatchListTest, TheOverwriteQuestionTellsWhatChanges)
{
    device.SetList(StoredPlates(10));
    const std::string ask = "Host 127.0.0.1:\rClick Yes to confirm overwrite match-list.";
    context.SetPlates(7);
    ui.ExpectMessage(MsgKind::Confirmation, ask + "\r\rDelete 3 plates !!!", Buttons::YesNo,
                     Result::No);
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(), kInfo);  // No: the device is not touched
    EXPECT_EQ(device.List(), StoredPlates(10));

    context.SetPlates(12);
    ui.ExpectMessage(MsgKind::Confirmation, ask + "\r\rAdded 2 plates.", Buttons::YesNo,
                     Result::No);
    commands.btnSendClick();

    context.SetPlates(10);
    ui.ExpectMessage(MsgKind::Confirmation, ask, Buttons::YesNo, Result::Yes);
    commands.btnSendClick();
    EXPECT_EQ(device.List().front(), (DeviceSimulator::Entry{"P0", 1}));

    // An empty list still asks, clears the device and passes the count check with 0.
    context.rows.clear();
    context.special(TSpecialEntry::NoRead) = {true, "3"};
    ui.ExpectMessage(MsgKind::Confirmation, ask + "\r\rDelete 10 plates !!!", Buttons::YesNo,
                     Result::Yes);
    commands.btnSendClick();
    EXPECT_EQ(device.List(), (Entries{{"NOREAD", 3}}));
    EXPECT_EQ(context.progressMax, 0);
    ExpectRestored();
}

TEST_F(SendMatchListTest, TheModeWarningGoesOnWithOkAndStopsEveryDeviceWithCancel)
{
    DeviceSimulator::Options options;
    options.version = "Ver1.09";
    options.mode = 4;
    DeviceSimulator old(options);
    SetDevicePortForTesting(old.Port());
    options.bindAddress = "127.0.0.2";
    options.port = old.Port();
    DeviceSimulator second(options);
    context.SetPlates(2);
    context.hosts = {"127.0.0.1", "127.0.0.2"};

    ui.ExpectMessage(MsgKind::Warning,
                     "Host 127.0.0.1:\rMatch-list mode not enabled (check dip-switches)",
                     Buttons::OKCancel, Result::Cancel);
    commands.btnSendClick();
    EXPECT_EQ(old.Commands(), kInfo);
    EXPECT_TRUE(second.Commands().empty());
    EXPECT_EQ(second.Connections(), 0);

    ui.ExpectMessage(MsgKind::Warning,
                     "Host 127.0.0.1:\rMatch-list mode not enabled (check dip-switches)",
                     Buttons::OKCancel, Result::OK);
    ui.ExpectMessage(MsgKind::Warning,
                     "Host 127.0.0.2:\rMatch-list mode not enabled (check dip-switches)",
                     Buttons::OKCancel, Result::OK);
    commands.btnSendClick();
    EXPECT_EQ(old.List().size(), 2u);
    EXPECT_EQ(second.List().size(), 2u);
    // The bar runs over both devices without a reset.
    EXPECT_EQ(context.progressMax, 4);
    EXPECT_EQ(context.progressHighest, 4);
    ExpectRestored();
}

TEST_F(SendMatchListTest, AFailedBlockStopsTheTransferButStillClosesIt)
{
    device.AddRule(OnBlock(1, BlockAct::Reply, 0x19));
    context.SetPlates(40);
    context.special(TSpecialEntry::NoMatch) = {true, "1"};
    context.hosts = {"127.0.0.1", "127.0.0.2"};
    auto second = SecondDevice();
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure: memory full",
                     Buttons::CancelRetry, Result::Cancel);
    ui.ExpectMessage(MsgKind::Error, "Error: transmit match-list failed", Buttons::OK);
    commands.btnSendClick();
    const auto blocks = device.Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[1].substr(1, 1), Bytes({0x01}));
    EXPECT_EQ(blocks[2], "\x04");
    EXPECT_EQ(device.Commands(), Concat(kInfo, {"CLS"}));  // no specials, no count
    EXPECT_EQ(device.List().size(), 16u);                  // what was stored stays
    EXPECT_TRUE(second->Commands().empty());
    EXPECT_EQ(context.progressHighest, 16);
    ExpectRestored();
}

TEST_F(SendMatchListTest, RetrySendsTheRefusedBlockAgain)
{
    device.AddRule(OnBlock(0, BlockAct::Reply, 0x15, 1));
    context.SetPlates(4);
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure: no acknowledge",
                     Buttons::CancelRetry, Result::Retry);
    commands.btnSendClick();
    const auto blocks = device.Blocks();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], blocks[1]);
    EXPECT_EQ(device.List().size(), 4u);
    EXPECT_EQ(std::count_if(context.log.begin(), context.log.end(),
                            [](const std::string& l) { return l.rfind("> #01 00 FF ", 0) == 0; }),
              2);
}

TEST_F(SendMatchListTest, AFailedLineOrSpecialEntryEndsTheSend)
{
    context.SetPlates(2);
    auto closeAtSecondLine = On("SLSP1", Act::Close);
    device.AddRule(closeAtSecondLine);
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Error, "Error: transmit match-list failed", Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(),
              Concat(kInfo, {"CLS", "SLSP0=000000000001", "SLSP1=000000000002"}));
    ExpectRestored();

    // Ignore counts as success: the send goes on to the count check.
    DeviceSimulator other;
    SetDevicePortForTesting(other.Port());
    other.AddRule(On("SNF", Act::Close));
    context.special(TSpecialEntry::NoMatch) = {true, "4"};
    context.special(TSpecialEntry::NoRead) = {true, "5"};
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Ignore);
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Error, "Error: transmit match-list failed", Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(other.Commands(), Concat(kInfo, {"CLS", "SLSP0=000000000001", "SLSP1=000000000002",
                                               "SNF000000000004"}));
}

TEST_F(SendMatchListTest, AWrongCountIsReported)
{
    device.SetCountOffset(1);
    context.SetPlates(4);
    ui.ExpectMessage(
        MsgKind::Confirmation,
        "Host 127.0.0.1:\rClick Yes to confirm overwrite match-list.\r\rAdded 3 plates.",
        Buttons::YesNo, Result::Yes);
    ui.ExpectMessage(MsgKind::Error,
                     "Host 127.0.0.1:\rtransmit match-list failed (transferred 5 of 4 plates)",
                     Buttons::OK);
    commands.btnSendClick();
    ExpectRestored();
}

TEST_F(SendMatchListTest, ASilentDeviceReportsNoCapacity)
{
    device.AddRule(On("", Act::Silent));
    context.SetPlates(3);
    ui.ExpectMessage(MsgKind::Error, "Host 127.0.0.1:\rMatch-list too long (max. 0 plates)",
                     Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(LogFrom("> QVE"), (Lines{"> QVE", "< ", "> QLS", "< ", "> QTM", "< ",
                                       "Disconnecting.", "Disconnected."}));
    ExpectRestored();
}

TEST_F(SendMatchListTest, AnUnreachableDeviceRaisesTheSocketErrorAndRestoresTheWindow)
{
    PointAtAClosedPort();
    context.SetPlates(5);
    context.hosts = {"127.0.0.1", "127.0.0.2"};
    auto second = SecondDevice();
    EXPECT_THROW(commands.btnSendClick(), ESocketError);
    EXPECT_TRUE(second->Commands().empty());
    EXPECT_FALSE(commands.Gate().Busy());
    ExpectRestored();
}

TEST_F(SendMatchListTest, TheWiegandFormatOnScreenGivesTheFrameValues)
{
    context.wiegand = TWiegandFormat{};  // 26 bits, facility code 8 bits value 1, parity
    context.rows = {{"A", "1"}, {"B", " 12345 "}};
    context.special(TSpecialEntry::NoMatch) = {true, "1"};
    commands.btnSendClick();
    EXPECT_EQ(device.Commands(), Concat(kInfo, {"CLS", "SLSA=000006020002", "SLSB=000006026073",
                                                "SNF000006020002", "QLS"}));
}

TEST_F(SendMatchListTest, ACancelledCommandStopsThisAndEveryLaterDeviceWithoutMoreBoxes)
{
    context.SetPlates(5);
    context.hosts = {"127.0.0.1", "127.0.0.2"};
    auto second = SecondDevice();
    struct Case {
        std::string prefix;
        int skip;
        Lines sent;
    };
    for (const auto& [prefix, skip, sent] :
         {Case{"QLS", 0, {"QVE", "QLS"}}, Case{"CLS", 0, Concat(kInfo, {"CLS"})},
          Case{"QLS", 1, Concat(kInfo, {"CLS", "QLS"})}}) {
        DeviceSimulator first;
        SetDevicePortForTesting(first.Port());
        auto rule = On(prefix, Act::Close);
        rule.skip = skip;
        first.AddRule(rule);
        ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                         Buttons::CancelRetryIgnore, Result::Cancel);
        commands.btnSendClick();
        EXPECT_EQ(first.Commands(), sent) << prefix;
        EXPECT_TRUE(second->Commands().empty()) << prefix;
        ExpectRestored();
    }
}

TEST_F(SendMatchListTest, AnAckForABlockNeverSentShiftsTheRepliesAndTheCountCheckCatchesIt)
{
    device.AddRule(On("CLS", Act::Raw, "CLS\r\n\x06"));
    device.AddRule(OnBlock(1, BlockAct::Reply, 0x15, 1));
    context.SetPlates(20);
    // Block 1 was refused, but its answer is read for the closing byte.
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure: no acknowledge",
                     Buttons::CancelRetry, Result::Cancel);
    ui.ExpectMessage(MsgKind::Error,
                     "Host 127.0.0.1:\rtransmit match-list failed (transferred 16 of 20 plates)",
                     Buttons::OK);
    commands.btnSendClick();
    EXPECT_EQ(device.List().size(), 16u);
    ExpectRestored();
}
