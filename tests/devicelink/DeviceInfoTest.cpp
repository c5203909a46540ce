#include "DeviceLinkFixture.h"

#include "devicelink/TDeviceInfo.h"
#include "platform/net/ESocketError.h"
#include "platform/net/NetPorts.h"
#include "platform/text/LocaleSeparators.h"

using ui::Buttons;
using ui::MsgKind;
using ui::Result;
using Lines = std::vector<std::string>;

TEST(TDeviceInfo, RepliesAreReadByTheirPositions)
{
    const auto info = ReadDeviceInfo("Ver1.10", "00050800", "0");
    EXPECT_EQ(info.VersionText, "Ver1.10");
    EXPECT_EQ(info.Version, 110);
    EXPECT_EQ(info.Count, 5);
    EXPECT_EQ(info.Capacity, 2048);
    EXPECT_EQ(info.Free, 2043);
    EXPECT_EQ(info.Mode, 0);
    EXPECT_TRUE(info.ListModeEnabled);

    EXPECT_EQ(ReadDeviceInfo("Ver1.1.0", "", "").Version, 110);
    EXPECT_EQ(ReadDeviceInfo("Ver", "", "").Version, 0);
    EXPECT_EQ(ReadDeviceInfo("Ver1.10b", "", "").Version, 0);
    EXPECT_EQ(ReadDeviceInfo("", "", "").Mode, -1);
    EXPECT_EQ(ReadDeviceInfo("", "", " 4").Mode, 4);

    const auto shortCount = ReadDeviceInfo("", "00ff", "");
    EXPECT_EQ(shortCount.Count, 255);
    EXPECT_EQ(shortCount.Capacity, 0);
    const auto failureText = ReadDeviceInfo("", "no acknowledge received", "");
    EXPECT_EQ(failureText.Count, 0);
    EXPECT_EQ(failureText.Capacity, 0);
    EXPECT_EQ(ReadDeviceInfo("", "0 050800", "").Count, 0);
}

TEST(TDeviceInfo, ListModeNeedsModeZeroOrXlFromVersion110)
{
    EXPECT_TRUE(ReadDeviceInfo("Ver1.10", "", "4").ListModeEnabled);
    EXPECT_FALSE(ReadDeviceInfo("Ver1.09", "", "4").ListModeEnabled);
    EXPECT_FALSE(ReadDeviceInfo("Ver2.00", "", "2").ListModeEnabled);
    EXPECT_FALSE(ReadDeviceInfo("Ver2.00", "", "x").ListModeEnabled);
    EXPECT_TRUE(ReadDeviceInfo("", "", "0").ListModeEnabled);
}

TEST(TDeviceInfo, TheInfoTextUsesTheLocalesDecimalSeparator)
{
    SetLocaleSeparatorsForTesting(',', '.');
    const std::string head = "Device info:\r\rFirmware version: Ver1.10\r";
    EXPECT_EQ(DeviceInfoText(ReadDeviceInfo("Ver1.10", "00050800", "0")),
              head + "Match-list mode enabled - Used 5 of 2048 (0,2%)");
    EXPECT_EQ(DeviceInfoText(ReadDeviceInfo("Ver1.10", "FFFFFFFF", "4")),
              head + "Match-list XL mode enabled - Used 65535 of 65535 (100,0%)");
    EXPECT_EQ(DeviceInfoText(ReadDeviceInfo("Ver1.10", "00050000", "0")),
              head + "Match-list mode enabled - Used 5 of 0 (0,0%)");
    EXPECT_EQ(DeviceInfoText(ReadDeviceInfo("Ver1.10", "00050800", "2")),
              head + "Match-list mode not enabled (check dip-switches)");
    SetLocaleSeparatorsForTesting('\0', '\0');
}

class GetDeviceInfoCommand : public DeviceLinkFixture {};

TEST_F(GetDeviceInfoCommand, ShowsTheRecordAndDisconnects)
{
    SetLocaleSeparatorsForTesting('.', ',');
    device.SetList({{"A", 1}, {"B", 2}});
    ui.ExpectMessage(MsgKind::Information,
                     "Device info:\r\rFirmware version: Ver1.10\rMatch-list mode enabled - Used 2 "
                     "of 2048 (0.1%)",
                     Buttons::OK);
    commands.mnuHostInfoClick();
    EXPECT_EQ(device.Commands(), (Lines{"QVE", "QLS", "QTM"}));
    EXPECT_EQ(context.log.back(), "Disconnected.");
    EXPECT_EQ(ui.BusyDepth(), 0);
    SetLocaleSeparatorsForTesting('\0', '\0');
}

TEST_F(GetDeviceInfoCommand, ACancelledCommandStopsTheQuestions)
{
    device.AddRule(On("QLS", Act::Close));
    ui.ExpectMessage(MsgKind::Error, "Error: communication failure (no acknowledge received)",
                     Buttons::CancelRetryIgnore, Result::Cancel);
    ui.ExpectMessage(MsgKind::Error, "Error: failed to get device info", Buttons::OK);
    commands.mnuHostInfoClick();
    EXPECT_EQ(LoggedCommands(), (Lines{"QVE", "QLS"}));
    EXPECT_FALSE(Connection().TCP1().Connected());
}

TEST_F(GetDeviceInfoCommand, ASilentDeviceShowsAnEmptyVersionAndNoListMode)
{
    device.AddRule(On("", Act::Silent));
    ui.ExpectMessage(MsgKind::Information,
                     "Device info:\r\rFirmware version: \rMatch-list mode not enabled (check "
                     "dip-switches)",
                     Buttons::OK);
    commands.mnuHostInfoClick();
}

TEST_F(GetDeviceInfoCommand, AnUnreachableDeviceRaisesTheSocketError)
{
    PointAtAClosedPort();
    EXPECT_THROW(commands.mnuHostInfoClick(), ESocketError);
    EXPECT_FALSE(commands.Gate().Busy());
}
