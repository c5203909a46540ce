#include "netsetup/AssignIP.h"
#include "netsetup/UIP.h"

#include "tests/netsetup/ModuleFixture.h"
#include "platform/text/Cp1252.h"
#include "platform/toolkit/TColor.h"
#include "widgets/FieldEdit.h"

#include <QApplication>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SubnetMask, HostBitsGiveTheMaskAndZeroTakesTheAddressClass)
{
    EXPECT_EQ(HostBitsToMask(8, "10.1.2.3"), "255.255.255.0");
    EXPECT_EQ(HostBitsToMask(16, ""), "255.255.0.0");
    EXPECT_EQ(HostBitsToMask(24, ""), "255.0.0.0");
    EXPECT_EQ(HostBitsToMask(32, ""), "0.0.0.0");
    EXPECT_EQ(HostBitsToMask(0, "10.1.2.3"), "255.0.0.0");
    EXPECT_EQ(HostBitsToMask(0, "172.16.0.1"), "255.255.0.0");
    EXPECT_EQ(HostBitsToMask(0, "192.168.1.20"), "255.255.255.0");
    EXPECT_EQ(HostBitsToMask(0, "127.0.0.1"), "0.0.0.0");
    EXPECT_EQ(HostBitsToMask(0, "230.1.1.1"), "0.0.0.0");
    // Above 32 counts as unknown too; a text without a leading digit is class 0.
    EXPECT_EQ(HostBitsToMask(40, "192.168.1.20"), "255.255.255.0");
    EXPECT_EQ(HostBitsToMask(0, "reader-3"), "0.0.0.0");
}

TEST(SubnetMask, MaskGivesTheLowZeroBitsUpTo24)
{
    EXPECT_EQ(MaskToHostBits("255.255.255.0"), 8);
    EXPECT_EQ(MaskToHostBits("255.0.0.0"), 24);
    EXPECT_EQ(MaskToHostBits("254.0.0.0"), 0);
    EXPECT_EQ(MaskToHostBits("0.0.0.0"), 0);
    EXPECT_EQ(MaskToHostBits("255.255.255.255"), 0);
    EXPECT_EQ(MaskToHostBits("255.0.255.0"), 8);
    EXPECT_EQ(MaskToHostBits("no mask"), 0);
}

class AssignIPDialog : public ::testing::Test {
protected:
    TFieldEdit* Box(const std::string& name) const
    {
        return form.findChild<TFieldEdit*>(QString::fromStdString(name));
    }
    std::vector<std::string> Texts(const std::string& row, int count) const
    {
        std::vector<std::string> texts;
        for (int i = 1; i <= count; ++i)
            texts.push_back(Box(row + std::to_string(i))->Text());
        return texts;
    }
    void Click(const char* name) const { form.findChild<QPushButton*>(name)->click(); }
    QRadioButton* Radio(const char* name) const { return form.findChild<QRadioButton*>(name); }
    // Runs the dialog, driving it with drive, then pressing the button named close.
    void Expect(std::function<void(QWidget&)> drive, const char* close = "btnOK")
    {
        scripted.ExpectModal([this, drive, close](QWidget& window) {
            window.show();
            drive(window);
            Click(close);
            window.hide();
            return static_cast<QDialog&>(window).result();
        });
    }

    ScriptedUi scripted;
    TFormIP form;
};

TEST_F(AssignIPDialog, FixedAddressWithMaskFillsTheBoxesAndReturnsWhatWasTyped)
{
    std::string ip = "192.168.1.20", mask = "255.255.255.0", gw = "192.168.1.1", mac;
    Expect([&](QWidget&) {
        EXPECT_EQ(Texts("EditIP", 4), (std::vector<std::string>{"192", "168", "1", "20"}));
        EXPECT_EQ(Texts("EditNM", 4), (std::vector<std::string>{"255", "255", "255", "0"}));
        EXPECT_EQ(Texts("EditGW", 4), (std::vector<std::string>{"192", "168", "1", "1"}));
        EXPECT_TRUE(Box("EditIP1")->Enabled());
        EXPECT_TRUE(Box("EditGW4")->isVisible());
        EXPECT_EQ(Box("EditIP2")->LabelCaption(), ".");
        // No MAC on the row: the last three bytes are asked for behind the fixed ones.
        EXPECT_TRUE(form.findChild<QGroupBox*>("PanelMAC")->isVisible());
        EXPECT_EQ(Texts("EditMAC", 6), (std::vector<std::string>{"00", "20", "4A", "", "", ""}));
        EXPECT_FALSE(Box("EditMAC3")->Enabled());
        EXPECT_EQ(Box("EditMAC3")->Color(), 0xF0F0F0u);

        // Digits only, and the focus moves on after the third digit (MAC: the second).
        Box("EditIP4")->setFocus();
        Box("EditIP4")->selectAll();
        QTest::keyClicks(Box("EditIP4"), "2x15");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Box("EditNM1")->hasFocus(); }, 2000));
        Box("EditMAC4")->setFocus();
        QTest::keyClicks(Box("EditMAC4"), "0xB");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Box("EditMAC5")->hasFocus(); }, 2000));
        QTest::keyClicks(Box("EditMAC5"), "0C");
        EXPECT_TRUE(QTest::qWaitFor([&] { return Box("EditMAC6")->hasFocus(); }, 2000));
        QTest::keyClicks(Box("EditMAC6"), "0D");
    });
    EXPECT_TRUE(form.ShowAssignIPDialog(false, ip, mask, gw, mac));
    EXPECT_EQ(ip, "192.168.1.215");
    EXPECT_EQ(mask, "255.255.255.0");
    EXPECT_EQ(gw, "192.168.1.1");
    EXPECT_EQ(mac, "00-20-4A-0B-0C-0D");
}

TEST_F(AssignIPDialog, AutomaticWithoutMaskHidesTheMaskAndGivesZeroAddress)
{
    std::string ip = "10.0.0.7", mask, gw = "kept", mac = "00-20-4A-0B-0C-0D";
    Expect([&](QWidget&) {
        EXPECT_TRUE(Radio("chkAutoIP")->isChecked());
        EXPECT_FALSE(Box("EditIP1")->Enabled());
        EXPECT_FALSE(Box("EditNM1")->isVisible());
        EXPECT_FALSE(Box("EditGW1")->isVisible());
        EXPECT_FALSE(form.findChild<QGroupBox*>("PanelMAC")->isVisible());
        // Choosing a fixed address enables the boxes at once, and back.
        Radio("chkFixedIP")->click();
        EXPECT_TRUE(Box("EditIP1")->Enabled());
        Radio("chkAutoIP")->click();
        EXPECT_FALSE(Box("EditIP1")->Enabled());
    });
    EXPECT_TRUE(form.ShowAssignIPDialog(true, ip, mask, gw, mac));
    EXPECT_EQ(ip, "0.0.0.0");
    EXPECT_EQ(mask, "");
    EXPECT_EQ(gw, "kept");
    EXPECT_EQ(mac, "00-20-4A-0B-0C-0D");
}

TEST_F(AssignIPDialog, CancelKeepsTheArgumentsAndBoxesKeepWhatTheLastUseLeft)
{
    std::string ip = "10.0.0.7", mask = "255.0.0.0", gw = "10.0.0.1", mac = "x";
    Expect([&](QWidget&) {}, "btnCancel");
    EXPECT_FALSE(form.ShowAssignIPDialog(false, ip, mask, gw, mac));
    EXPECT_EQ(ip, "10.0.0.7");
    EXPECT_EQ(mask, "255.0.0.0");

    // Fewer parts than boxes: the rest keep their text. A blank ends a part too.
    std::string shortIp = "172.16 9";
    Expect(
        [&](QWidget&) {
            EXPECT_EQ(Texts("EditIP", 4), (std::vector<std::string>{"172", "16", "9", "7"}));
        },
        "btnCancel");
    EXPECT_FALSE(form.ShowAssignIPDialog(false, shortIp, mask, gw, mac));
}

TEST_F(AssignIPDialog, ErrorMarkFollowsTheTextOfABoxInUse)
{
    Radio("chkFixedIP")->click();
    Box("EditIP1")->SetText("256");
    EXPECT_TRUE(Box("EditIP1")->ErrorState());
    Box("EditIP1")->SetText("255");
    EXPECT_FALSE(Box("EditIP1")->ErrorState());
    bool valid = true;
    form.OnValidateDecimal(*Box("EditIP1"), "", valid);
    EXPECT_FALSE(valid);

    // OK refused for "256"; the next use fills "127" into a box that automatic assignment
    // disables: no error colour is left behind, then or when the box is enabled again.
    std::string ip = "10.0.0.7", mask = "255.0.0.0", gw = "10.0.0.1", mac = "x";
    Expect(
        [&](QWidget& window) {
            Box("EditIP1")->SetText("256");
            scripted.ExpectMessage(ui::MsgKind::Error, "Error: \"256\" is no number from 0 to 255",
                                   ui::Buttons::OK);
            Click("btnOK");
            EXPECT_TRUE(window.isVisible());
            EXPECT_EQ(form.focusWidget(), Box("EditIP1"));
            EXPECT_EQ(Box("EditIP1")->Color(), 0x0000FFu);
        },
        "btnCancel");
    EXPECT_FALSE(form.ShowAssignIPDialog(false, ip, mask, gw, mac));

    std::string next = "127.0.0.2", noMask;
    Expect(
        [&](QWidget&) {
            EXPECT_EQ(Box("EditIP1")->Text(), "127");
            EXPECT_FALSE(Box("EditIP1")->ErrorState());
            EXPECT_EQ(Box("EditIP1")->Color(), 0xF0F0F0u);
            Radio("chkFixedIP")->click();
            EXPECT_FALSE(Box("EditIP1")->ErrorState());
            EXPECT_EQ(Box("EditIP1")->Color(), clWindow);
        },
        "btnCancel");
    EXPECT_FALSE(form.ShowAssignIPDialog(true, next, noMask, gw, mac));
}

// The command against a simulated module. The row's hostname names the module (on the
// loopback); its ip-address is what the dialog shows and what the mask class comes from.
class AssignIPCommand : public ModuleFixture {
protected:
    void SetUp() override
    {
        ModuleFixture::SetUp();
        names.AddName("reader-3", {kModuleIp});
        ModuleSimulator::Record record{};
        record[0] = 10;  // a fixed address
        record[6] = 0;
        record[12] = 192, record[13] = 168, record[14] = 1, record[15] = 1;
        record[40] = 0x5A;  // a byte the system gives no meaning: it must come back unchanged
        module->SetRecord(record);
    }
    TFieldEdit* Box(const std::string& name) const
    {
        return form.findChild<TFieldEdit*>(QString::fromStdString(name));
    }
    void Answer(std::function<void(QWidget&)> drive, int result = QDialog::Accepted)
    {
        script.ExpectModal([drive, result](QWidget& window) {
            drive(window);
            return result;
        });
    }
    std::vector<uint8_t> LastReceived() const { return module->Received().back(); }

    TFormIP form;
};

TEST_F(AssignIPCommand, RecordWrittenBackWithTheMaskOfTheAddressClass)
{
    Answer([&](QWidget&) {
        EXPECT_EQ(Box("EditNM4")->Text(), "0");
        EXPECT_EQ(Box("EditGW4")->Text(), "1");
        EXPECT_FALSE(form.findChild<QGroupBox*>("PanelMAC")->isVisibleTo(&form));
    });
    script.ExpectMessage(ui::MsgKind::Information, "OK, setup done (device reboots)",
                         ui::Buttons::OK);
    AssignIP(form, config, "reader-3", "192.168.1.20", "");
    const auto written = LastReceived();
    ASSERT_EQ(written.size(), 124u);
    EXPECT_EQ(written[3], 0xFD);
    const auto record = module->GetRecord();
    EXPECT_EQ(std::vector<uint8_t>(record.begin(), record.begin() + 4),
              (std::vector<uint8_t>{192, 168, 1, 20}));
    EXPECT_EQ(record[6], 8);
    EXPECT_EQ(record[12], 192);
    EXPECT_EQ(record[40], 0x5A);
}

TEST_F(AssignIPCommand, AWriteTheModuleDoesNotConfirmIsReported)
{
    module->SetMisbehaviour(ModuleSimulator::Misbehaviour::Silent, 1, 1);  // the write's reply
    Answer([](QWidget&) {});
    script.ExpectMessage(ui::MsgKind::Error, "Error: failed to setup config in reader-3",
                         ui::Buttons::OK);
    AssignIP(form, config, "reader-3", "192.168.1.20", "");
    EXPECT_EQ(module->Received().size(), 2u);
    EXPECT_EQ(module->GetRecord()[3], 20);  // stored, only the confirmation is missing
}

TEST_F(AssignIPCommand, FixedZeroAddressIsTreatedAsAutomatic)
{
    Answer([&](QWidget&) {
        form.findChild<QRadioButton*>("chkFixedIP")->click();
        for (const char* name : {"EditIP1", "EditIP2", "EditIP3"})
            Box(name)->SetText("0");
        Box("EditIP4")->SetText("000");
    });
    script.ExpectMessage(ui::MsgKind::Information, "OK, setup done (device reboots)",
                         ui::Buttons::OK);
    AssignIP(form, config, "reader-3", "192.168.1.20", "");
    const auto record = module->GetRecord();
    for (size_t i : {0u, 1u, 2u, 3u, 6u, 12u, 13u, 14u, 15u})
        EXPECT_EQ(record[i], 0) << "byte " << i;
}

// Every address box, on both paths, is a decimal number from 0 to 255: OK is refused for
// anything else, and what it accepts is read as decimal ("010" is 10, "08" is 8).
class AddressBoxes : public AssignIPCommand {
protected:
    static constexpr const char* kRowNames[] = {"EditIP", "EditNM", "EditGW"};

    // Runs Assign IP on the row with the box holding text and OK pressed: closed when the
    // text is accepted, else refused for that text and then cancelled.
    void Run(const std::string& hostname, const std::string& box, const std::string& text,
             bool refused)
    {
        script.ExpectModal([this, box, text, refused](QWidget& window) {
            window.show();
            form.findChild<QRadioButton*>("chkFixedIP")->click();
            // Past the numeric filter (" 7" is "0" to it), as an input method can.
            Box(box)->QLineEdit::setText(ToQString(text));
            if (refused) {
                script.ExpectMessage(ui::MsgKind::Error,
                                     "Error: \"" + text + "\" is no number from 0 to 255",
                                     ui::Buttons::OK);
                form.findChild<QPushButton*>("btnOK")->click();
                EXPECT_TRUE(window.isVisible()) << box << " " << text;
                EXPECT_EQ(form.focusWidget(), Box(box)) << box << " " << text;
                form.findChild<QPushButton*>("btnCancel")->click();
            } else {
                form.findChild<QPushButton*>("btnOK")->click();
            }
            window.hide();
            return static_cast<QDialog&>(window).result();
        });
        if (!refused && hostname == "reader-3")
            script.ExpectMessage(ui::MsgKind::Information, "OK, setup done (device reboots)",
                                 ui::Buttons::OK);
        AssignIP(form, config, hostname, "192.168.1.20", "00-20-4A-0B-0C-0D");
    }
};

TEST_F(AddressBoxes, RecordPathRefusesAnythingButADecimalOctetAndWritesNothing)
{
    for (const char* row : kRowNames)
        for (int i = 1; i <= 4; ++i)
            for (const char* text : {"256", "", " 7"})
                Run("reader-3", row + std::to_string(i), text, true);
    for (const auto& datagram : module->Received())
        EXPECT_EQ(datagram, Bytes({0, 0, 0, 0xF8}));
}

TEST_F(AddressBoxes, RecordPathReadsEveryBoxAsDecimal)
{
    for (const auto& [text, value] : {std::pair{"010", 10}, {"08", 8}}) {
        for (int i = 0; i < 4; ++i) {
            Run("reader-3", "EditIP" + std::to_string(i + 1), text, false);
            EXPECT_EQ(module->GetRecord()[i], value) << "EditIP" << i + 1 << " " << text;
            Run("reader-3", "EditGW" + std::to_string(i + 1), text, false);
            EXPECT_EQ(module->GetRecord()[12 + i], value) << "EditGW" << i + 1 << " " << text;
        }
    }
    // The mask 255.255.255.10 has one zero bit at its low end, 255.255.255.8 three.
    Box("EditNM1")->SetText("255");
    for (const auto& [text, hostBits] : {std::pair{"010", 1}, {"08", 3}}) {
        Run("reader-3", "EditNM4", text, false);
        EXPECT_EQ(module->GetRecord()[6], hostBits) << text;
    }
}

TEST_F(AddressBoxes, IPSetupPathRefusesAndReadsTheAddressBoxesAlike)
{
    // The host name does not resolve, so the record cannot be read: the IP-SETUP path.
    Box("EditNM1")->SetText("256");  // hidden on this path: it does not count
    for (int i = 1; i <= 4; ++i)
        for (const char* text : {"256", "", " 7"})
            Run("ghost", "EditIP" + std::to_string(i), text, true);
    EXPECT_FALSE(module->WaitForReceived(1, std::chrono::milliseconds(100)));

    for (const auto& [text, value] : {std::pair{"010", 10}, {"08", 8}}) {
        for (int i = 0; i < 4; ++i) {
            const size_t before = module->Received().size();
            Run("ghost", "EditIP" + std::to_string(i + 1), text, false);
            ASSERT_TRUE(module->WaitForReceived(before + 1, std::chrono::milliseconds(1000)));
            const auto datagram = module->Received().back();
            ASSERT_EQ(datagram.size(), 20u);
            EXPECT_EQ(datagram[16 + i], value) << "EditIP" << i + 1 << " " << text;
        }
    }
}

TEST_F(AssignIPCommand, CancelOnTheRecordPathSendsNothing)
{
    Answer([](QWidget&) {}, QDialog::Rejected);
    AssignIP(form, config, "", kModuleIp, "");
    ASSERT_EQ(module->Received().size(), 1u);
    EXPECT_EQ(module->Received().front()[3], 0xF8);  // the read, targeted by the ip-address
}

TEST_F(AssignIPCommand, UnreadableRecordAssignsByMacWithTheRowsMac)
{
    module->SetMisbehaviour(ModuleSimulator::Misbehaviour::Silent);
    Answer([&](QWidget&) {
        EXPECT_TRUE(form.findChild<QRadioButton*>("chkAutoIP")->isChecked());
        EXPECT_FALSE(Box("EditNM1")->isVisibleTo(&form));
        EXPECT_FALSE(form.findChild<QGroupBox*>("PanelMAC")->isVisibleTo(&form));
        form.findChild<QRadioButton*>("chkFixedIP")->click();
    });
    AssignIP(form, config, "reader-3", "192.168.1.20", "00-20-4A-0B-0C-0D");
    ASSERT_TRUE(module->WaitForReceived(2, std::chrono::milliseconds(2000)));
    EXPECT_EQ(LastReceived(), Bytes({0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                     'U', 'P', 0, 0,    0x0C, 0x0D, 192, 168, 1,   20}));
}

TEST_F(AssignIPCommand, UnreadableRecordOfAHandAddedRowAsksForTheMac)
{
    module->SetMisbehaviour(ModuleSimulator::Misbehaviour::Silent);
    Answer([&](QWidget&) {
        EXPECT_TRUE(form.findChild<QGroupBox*>("PanelMAC")->isVisibleTo(&form));
        Box("EditMAC4")->SetText("0b");
        Box("EditMAC5")->SetText("0c");
        Box("EditMAC6")->SetText("0e");
    });
    AssignIP(form, config, "reader-3", "", "");
    ASSERT_TRUE(module->WaitForReceived(2, std::chrono::milliseconds(2000)));
    EXPECT_EQ(LastReceived(), Bytes({0,   0,   0, 0xFC, 'I',  'P',  '-', 'S', 'E', 'T',
                                     'U', 'P', 0, 0,    0x0C, 0x0E, 0,   0,   0,   0}));

    // The MAC boxes left empty: nothing goes out.
    Answer([&](QWidget&) {});
    script.ExpectMessage(ui::MsgKind::Error, "Error: MAC address is required to assign ip",
                         ui::Buttons::OK);
    AssignIP(form, config, "reader-3", "", "");
    QTest::qWait(100);
    EXPECT_EQ(module->Received().size(), 3u);  // read, IP-SETUP, read
}

}  // namespace
