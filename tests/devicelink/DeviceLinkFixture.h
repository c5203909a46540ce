#pragma once

#include "FakeDeviceContext.h"
#include "devicelink/TDeviceCommands.h"
#include "simulators/DeviceSimulator.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

// One simulated device on 127.0.0.1, the main window's side faked, boxes scripted.
class DeviceLinkFixture : public ::testing::Test {
protected:
    DeviceLinkFixture();
    ~DeviceLinkFixture() override;

    TDeviceConnection& Connection() { return commands.Connection(); }
    // Connects to the simulator and forgets the log lines of the connect.
    void Connect();
    // The log lines from the first that begins with `from` on.
    std::vector<std::string> LogFrom(const std::string& from) const;
    // What the log shows sent ("> " lines), which the device may not have taken in yet.
    std::vector<std::string> LoggedCommands() const;
    // Points the device port where nothing listens, so every connect is refused.
    void PointAtAClosedPort();
    // A second device on 127.0.0.2 at the same port (the port seam is one for all).
    std::unique_ptr<DeviceSimulator> SecondDevice();
    // Runs command in the message loop of a session that ends (SIGTERM) once the log has a
    // line beginning with signalAt; what was written to the standard error meanwhile.
    std::string EndTheSessionDuring(const std::function<void()>& command,
                                    const std::string& signalAt);

    ScriptedUi ui;
    DeviceSimulator device;
    FakeDeviceContext context;
    TDeviceCommands commands{context};
};

using Act = DeviceSimulator::CommandRule::Action;
using BlockAct = DeviceSimulator::BlockRule::Action;

// A rule for the commands beginning with prefix; times -1 for every one of them.
DeviceSimulator::CommandRule On(std::string prefix, Act action, std::string bytes = {},
                                int times = -1);
// A rule for block number index of the connection (-1: every block).
DeviceSimulator::BlockRule OnBlock(int index, BlockAct action, uint8_t reply = 0x06,
                                   int times = -1);

// The blocks a test expects, as raw bytes.
std::string Bytes(std::initializer_list<int> values);
