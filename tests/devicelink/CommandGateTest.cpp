#include "DeviceLinkFixture.h"

#include <QCoreApplication>
#include <QTimer>

using Lines = std::vector<std::string>;

class CommandGateTest : public DeviceLinkFixture {};

TEST_F(CommandGateTest, CommandsStartedWhileOneRunsDoNothingAndACloseWaits)
{
    device.SetList({{"A", 1}, {"B", 2}});
    context.SetPlates(5);
    bool closed = false;
    bool busySeen = false;
    // Runs inside the receive, when it lets window messages through.
    QTimer::singleShot(0, [&] {
        busySeen = commands.Gate().Busy();
        commands.btnSendClick();
        commands.mnuHostInfoClick();
        commands.btnReceiveClick();
        commands.Gate().WhenIdle([&] { closed = true; });
    });
    commands.btnReceiveClick();
    EXPECT_TRUE(busySeen);
    EXPECT_EQ(device.Commands(), (Lines{"QLS", "QLI0000", "QLI0001", "QNF"}));
    EXPECT_EQ(context.clearCount, 1);
    EXPECT_EQ(context.holdOffs, (std::vector<bool>{true, false}));
    // The deferred close runs from the event loop, after the command's handler returned.
    EXPECT_FALSE(closed);
    QCoreApplication::processEvents();
    EXPECT_TRUE(closed);
}

TEST_F(CommandGateTest, AnActionWhileIdleRunsAtOnce)
{
    bool ran = false;
    commands.Gate().WhenIdle([&] { ran = true; });
    EXPECT_TRUE(ran);
}
