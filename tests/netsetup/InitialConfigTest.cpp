#include "tests/netsetup/DeviceHostFake.h"
#include "tests/netsetup/ModuleFixture.h"
#include "netsetup/InitialConfig.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using Misbehaviour = ModuleSimulator::Misbehaviour;
using std::chrono::milliseconds;

// The fixed configuration as the module holds it once set up: offset, value.
const std::vector<std::pair<size_t, uint8_t>> kConfigured = {
    {16, 0x4C}, {17, 0x08}, {18, 0x00}, {20, 0x11}, {21, 0x27},
    {28, 0xC0}, {32, 0x0A}, {33, 0x00}, {34, 0xF0}, {35, 0x20}};

TSetupRecord Configured(uint8_t fill)
{
    TSetupRecord record;
    record.fill(fill);
    for (const auto& [offset, value] : kConfigured)
        record[offset] = value;
    return record;
}

TEST(ApplyInitialConfig, SetsTheFixedBytesAndLeavesEveryOtherAsItWas)
{
    TSetupRecord record;
    record.fill(0x77);
    EXPECT_TRUE(ApplyInitialConfig(record));
    EXPECT_EQ(record, Configured(0x77));

    EXPECT_FALSE(ApplyInitialConfig(record));
    EXPECT_EQ(record, Configured(0x77));

    // Only the data port's high byte differs.
    record[21] = 0x28;
    EXPECT_TRUE(ApplyInitialConfig(record));
    EXPECT_EQ(record, Configured(0x77));
}

TEST(ApplyInitialConfig, SetIfChangedNeverClearsChanged)
{
    bool changed = true;
    uint8_t byte = 5;
    uint16_t word = 10001;
    SetByteIfChanged(byte, 5, changed);
    SetWordIfChanged(word, 10001, changed);
    EXPECT_TRUE(changed);
    changed = false;
    SetWordIfChanged(word, 10002, changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(word, 10002);
}

class InitializeConfigCommand : public ModuleFixture {
protected:
    void SelectRow(const std::string& ip, const std::string& hostname)
    {
        window.AddTypedRow(ip, hostname);
        window.hosts.SetSelected(window.hosts.Count() - 1, true);
    }

    DeviceHostFake window;
};

TEST_F(InitializeConfigCommand, ModuleAlreadySetUpGetsNoWrite)
{
    module->SetRecord(Configured(0x33));
    SelectRow(kModuleIp, "module-a");
    script.ExpectMessage(ui::MsgKind::Information, "OK, initialization done (no update)",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
    EXPECT_EQ(module->Received().size(), 1u);  // the read alone
}

TEST_F(InitializeConfigCommand, DifferingRecordIsWrittenWholeWithTypeFA)
{
    TSetupRecord record = Configured(0x33);
    record[21] = 0x00;
    module->SetRecord(record);
    SelectRow(kModuleIp, "module-a");
    script.ExpectMessage(ui::MsgKind::Information, "OK, initialization done (device reboots)",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
    const auto received = module->Received();
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1][3], 0xFA);
    EXPECT_EQ(module->GetRecord(), Configured(0x33));
}

TEST_F(InitializeConfigCommand, ReadOrWriteFailureNamesTheTarget)
{
    SelectRow(kModuleIp, "module-a");
    module->SetMisbehaviour(Misbehaviour::Silent, 1);
    script.ExpectMessage(ui::MsgKind::Error, "Error: failed to setup config in 127.0.0.2",
                         ui::Buttons::OK);
    InitializeConfig(window, config);

    // The write is not confirmed.
    module->SetMisbehaviour(Misbehaviour::WrongType, 1, 1);
    script.ExpectMessage(ui::MsgKind::Error, "Error: failed to setup config in 127.0.0.2",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
    EXPECT_EQ(module->Received().size(), 3u);
}

TEST_F(InitializeConfigCommand, ALateRecordOfAnotherModuleIsNotWrittenIntoThisOne)
{
    const auto other = OtherModule(milliseconds(0));
    TSetupRecord first = Configured(0x11);
    first[0] = 10, first[3] = 1;  // the first module's address
    first[21] = 0;
    module->SetRecord(first);
    TSetupRecord second = Configured(0x22);
    second[0] = 10, second[3] = 2;
    second[21] = 0;
    other->SetRecord(second);

    SelectRow(kModuleIp, "module-a");
    module->SetMisbehaviour(Misbehaviour::Late, 1);
    script.ExpectMessage(ui::MsgKind::Error, "Error: failed to setup config in 127.0.0.2",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
    std::this_thread::sleep_for(milliseconds(400));  // its record is queued by now

    window.hosts.SetSelected(0, false);
    SelectRow(kOtherModuleIp, "module-b");
    script.ExpectMessage(ui::MsgKind::Information, "OK, initialization done (device reboots)",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
    second[21] = 0x27;
    EXPECT_EQ(other->GetRecord(), second);
    EXPECT_EQ(module->GetRecord(), first);
}

TEST_F(InitializeConfigCommand, RowWithoutAddressIsTargetedByItsHostname)
{
    SelectRow("", "ghost");
    script.ExpectMessage(ui::MsgKind::Error, "Error: failed to setup config in ghost",
                         ui::Buttons::OK);
    InitializeConfig(window, config);

    names.AddName("ghost", {kModuleIp});
    module->SetRecord(Configured(0));
    script.ExpectMessage(ui::MsgKind::Information, "OK, initialization done (no update)",
                         ui::Buttons::OK);
    InitializeConfig(window, config);
}

TEST_F(InitializeConfigCommand, NothingWithoutASelectedRow)
{
    window.AddTypedRow(kModuleIp, "module-a");
    InitializeConfig(window, config);
    EXPECT_FALSE(module->WaitForReceived(1, milliseconds(100)));
}

}  // namespace
