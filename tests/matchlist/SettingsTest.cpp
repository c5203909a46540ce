#include "matchlist/Settings.h"

#include "matchlist/ISettingsHost.h"
#include "netsetup/DeviceRows.h"
#include "platform/net/Resolver.h"
#include "platform/net/TableResolver.h"
#include "platform/text/Errors.h"
#include "platform/file/InputFile.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/FileSizeLimit.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// The window's side: plain fields, the device list, and a record of the Wiegand controls
// in the order they were set. Every change marks the window modified, as its change
// events do.
class FakeSettingsHost final : public ISettingsHost {
public:
    FakeSettingsHost()
    {
        for (const char* caption : {" ", "ip-address", "hostname", "mac-address"})
            hosts.AddColumn(caption, 100);
    }

    char ListDelimiter() const override { return delimiter; }
    void SetListDelimiter(char c) override { delimiter = c; }
    char ListQuoteChar() const override { return quote; }
    void SetListQuoteChar(char c) override { quote = c; }

    int32_t WiegandValue(TWiegandControl control) const override
    {
        return wiegand[static_cast<int>(control)];
    }
    void SetWiegandValue(TWiegandControl control, int32_t value) override
    {
        if (failOn == control)
            throw EError("control failed");
        const bool checkBox =
            control == TWiegandControl::FCEnable || control == TWiegandControl::AddParity;
        wiegand[static_cast<int>(control)] = checkBox ? value != 0 : value;
        setOrder.push_back(control);
        modified = true;
    }

    TListView& HostList() override { return hosts; }
    void SetModified(bool m) override { modified = m; }

    int32_t Value(TWiegandControl control) const { return WiegandValue(control); }
    std::vector<std::string> Row(int row) const
    {
        return {GetColumnText(hosts, row, 0), GetColumnText(hosts, row, 1),
                GetColumnText(hosts, row, 2), GetColumnText(hosts, row, 3)};
    }

    char delimiter = ';';
    char quote = '"';
    // Len, FCEnable, FCLen, FCVal, AddParity as the form starts them.
    std::array<int32_t, 5> wiegand{26, 1, 8, 1, 1};
    std::vector<TWiegandControl> setOrder;
    std::optional<TWiegandControl> failOn;
    bool modified = true;
    TListView hosts;
};

using Texts = std::vector<std::string>;
using W = TWiegandControl;

class Settings : public ::testing::Test {
protected:
    void SetUp() override { SetResolverForTesting(&table); }
    void TearDown() override { SetResolverForTesting(nullptr); }

    void WriteIni(const std::string& bytes) const
    {
        std::ofstream(fileName, std::ios::binary) << bytes;
    }
    // Loads the bytes into a fresh host.
    FakeSettingsHost& Load(const std::string& bytes)
    {
        WriteIni(bytes);
        LoadSettings(host, fileName);
        return host;
    }

    TempDir dir;
    const std::string fileName = dir.file("Pellicor.ini");
    TableResolver table;
    FakeSettingsHost host;
};

}  // namespace

TEST_F(Settings, DefaultSaveWritesTheKnownFile)
{
    AddHost(host.hosts, "gate", "10.0.0.1");
    // A search result whose address has no reverse entry: the address is the key.
    host.hosts.AddRow("2", {"10.0.0.9", "", "00-20-4A-0B-0C-0D"});
    SaveSettings(host, fileName);
    EXPECT_EQ(ReadFileBytes(fileName),
              "[options]\r\ndelimiter=59\r\nquotechar=34\r\n"
              "[wiegand]\r\nbitlen=26\r\nfc_enable=1\r\nfc_len=8\r\nfc_val=1\r\n"
              "parity_enable=1\r\n"
              "[hostlist]\r\ngate=10.0.0.1\r\n10.0.0.9=10.0.0.9\r\n");
    EXPECT_EQ(dir.entries(), Texts{"Pellicor.ini"});

    // Without device rows the device section stands empty.
    host.hosts.Clear();
    SaveSettings(host, fileName);
    EXPECT_EQ(ReadFileBytes(fileName),
              "[options]\r\ndelimiter=59\r\nquotechar=34\r\n"
              "[wiegand]\r\nbitlen=26\r\nfc_enable=1\r\nfc_len=8\r\nfc_val=1\r\n"
              "parity_enable=1\r\n"
              "[hostlist]\r\n");
}

TEST_F(Settings, MissingFileGivesTheDefaultsInOrder)
{
    host.delimiter = ',';
    host.quote = '\'';
    host.wiegand = {37, 0, 3, 4, 0};
    LoadSettings(host, fileName);
    EXPECT_EQ(host.delimiter, ';');
    EXPECT_EQ(host.quote, '"');
    EXPECT_EQ(host.wiegand, (std::array<int32_t, 5>{26, 1, 8, 1, 1}));
    EXPECT_EQ(host.setOrder,
              (std::vector<W>{W::Len, W::FCEnable, W::FCLen, W::FCVal, W::AddParity}));
    EXPECT_EQ(host.hosts.Count(), 0);
    EXPECT_FALSE(host.modified);
}

TEST_F(Settings, SeparatorAndQuoteFallBackOutsideOneTo255AndForLineBreaks)
{
    const auto read = [this](const std::string& options) {
        FakeSettingsHost fresh;
        WriteIni("[options]\r\n" + options);
        LoadSettings(fresh, fileName);
        return std::string{fresh.delimiter, fresh.quote};
    };
    EXPECT_EQ(read("quotechar=0\r\n"), ";\"");
    EXPECT_EQ(read("quotechar=59\r\ndelimiter=9\r\n"), "\t;");
    EXPECT_EQ(read("delimiter=255\r\nquotechar=1\r\n"), "\xFF\x01");
    EXPECT_EQ(read("delimiter=256\r\nquotechar=-34\r\n"), ";\"");
    EXPECT_EQ(read("delimiter=$2C\r\nquotechar=0x27\r\n"), ",'");
    EXPECT_EQ(read("delimiter=\r\nquotechar=4294967330\r\n"), ";\"");
    EXPECT_EQ(read("Delimiter = 124 \r\n"), "|\"");
    // A line break would split every saved line that needs it; its neighbours are fine.
    EXPECT_EQ(read("delimiter=13\r\nquotechar=$0A\r\n"), ";\"");
    EXPECT_EQ(read("delimiter=10\r\nquotechar=13\r\n"), ";\"");
    EXPECT_EQ(read("delimiter=12\r\nquotechar=14\r\n"), "\x0C\x0E");

    // Codes above 127 are stored as their unsigned value.
    host.delimiter = '\xE4';
    WriteIni("");
    SaveSettings(host, fileName);
    EXPECT_NE(ReadFileBytes(fileName).find("delimiter=228\r\n"), std::string::npos);
    host.delimiter = ';';
    LoadSettings(host, fileName);
    EXPECT_EQ(host.delimiter, '\xE4');
}

TEST_F(Settings, WiegandValuesAndTheirFallbacks)
{
    Load("[wiegand]\r\nbitlen=abc\r\nfc_enable=1\r\nfc_len=0\r\nfc_val=-3\r\nparity_enable=0\r\n");
    EXPECT_EQ(host.Value(W::Len), 26);
    // No bits, no facility code; switched off after its value is set, before parity.
    EXPECT_EQ(host.Value(W::FCEnable), 0);
    EXPECT_EQ(host.Value(W::FCLen), 0);
    EXPECT_EQ(host.Value(W::FCVal), -3);
    EXPECT_EQ(host.Value(W::AddParity), 0);
    EXPECT_EQ(host.setOrder,
              (std::vector<W>{W::Len, W::FCEnable, W::FCLen, W::FCVal, W::FCEnable, W::AddParity}));

    host.setOrder.clear();
    Load("[WIEGAND]\r\nbitlen=0x1A\r\nfc_enable=7\r\nfc_len=-2\r\nbitlen=40\r\n");
    EXPECT_EQ(host.Value(W::Len), 26);  // the first of two keys counts
    EXPECT_EQ(host.Value(W::FCEnable), 0);
    EXPECT_EQ(host.Value(W::FCLen), -2);
    EXPECT_EQ(host.setOrder.size(), 6u);

    Load("[wiegand]\r\nbitlen=99999999999\r\nfc_enable=abc\r\nfc_len=$FFFFFFFF\r\n"
         "fc_val=" +
         std::string(2000, '7') + "\r\nparity_enable=\r\n");
    EXPECT_EQ(host.Value(W::Len), 26);
    EXPECT_EQ(host.Value(W::FCEnable), 0);  // fc_len reads -1
    EXPECT_EQ(host.Value(W::FCLen), -1);
    EXPECT_EQ(host.Value(W::FCVal), 1);
    EXPECT_EQ(host.Value(W::AddParity), 1);
}

TEST_F(Settings, StoredDevicesComeBackResolved)
{
    table.AddName("gate", {"10.0.0.1", "10.0.0.2"});
    table.AddReverse("10.0.0.7", "reader.plant.example");
    Load("[hostlist]\r\n"
         "gate=\r\n"
         "10.0.0.7=\r\n"
         "10.0.0.8=\r\n"
         "unknown=\r\n"
         "kept = 192.168.1.5 \r\n"
         "   =10.0.0.3\r\n");
    ASSERT_EQ(host.hosts.Count(), 5);
    EXPECT_EQ(host.Row(0), (Texts{"1", "10.0.0.2", "gate", ""}));
    EXPECT_EQ(host.Row(1), (Texts{"2", "10.0.0.7", "reader", ""}));
    EXPECT_EQ(host.Row(2), (Texts{"3", "10.0.0.8", "10.0.0.8", ""}));
    EXPECT_EQ(host.Row(3), (Texts{"4", "", "unknown", ""}));
    EXPECT_EQ(host.Row(4), (Texts{"5", "192.168.1.5", "kept", ""}));
    EXPECT_FALSE(host.modified);
}

TEST_F(Settings, SaveReplacesTheDeviceSectionAndDropsThePlateList)
{
    WriteIni("; kept\r\n[platelist]\r\nAB12CD=1\r\n[hostlist]\r\nold=10.0.0.99\r\n"
             "[PlateList]\r\nXY=2\r\n[other]\r\nx=1\r\n");
    AddHost(host.hosts, "a", "10.0.0.1");
    AddHost(host.hosts, "b", "10.0.0.2");
    AddHost(host.hosts, "A", "10.0.0.3");  // the same key: the later row's value wins
    SaveSettings(host, fileName);
    const std::string bytes = ReadFileBytes(fileName);
    EXPECT_EQ(bytes.find("platelist"), std::string::npos);
    EXPECT_EQ(bytes.find("PlateList"), std::string::npos);
    EXPECT_EQ(bytes.find("old="), std::string::npos);
    EXPECT_NE(bytes.find("; kept\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[other]\r\nx=1\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("[hostlist]\r\na=10.0.0.3\r\nb=10.0.0.2\r\n"), std::string::npos);

    FakeSettingsHost again;
    LoadSettings(again, fileName);
    ASSERT_EQ(again.hosts.Count(), 2);
    EXPECT_EQ(again.Row(0), (Texts{"1", "10.0.0.3", "a", ""}));
}

TEST_F(Settings, GarbageLoadsWithDefaults)
{
    std::string bytes = "no section here\r\n=\r\n[\r\n]]]\r\n[options\r\ndelimiter\r\n";
    bytes += std::string("\0\0\x01", 3) + "\r\n[options]\r\ndelimiter=" + std::string(2000, 'x');
    bytes += "\r\nquotechar=" + std::string(2000, '9') + "\n\r[wiegand]\rbitlen==26\r\n";
    bytes += "[hostlist]\r\n" + std::string(2000, 'h') + "=\r\n;comment=10.0.0.1\r\nlonely\r\n";
    Load(bytes);
    EXPECT_EQ(host.delimiter, ';');
    EXPECT_EQ(host.quote, '"');
    EXPECT_EQ(host.wiegand, (std::array<int32_t, 5>{26, 1, 8, 1, 1}));
    ASSERT_EQ(host.hosts.Count(), 1);
    EXPECT_EQ(host.Row(0), (Texts{"1", "", std::string(2000, 'h'), ""}));
    EXPECT_FALSE(host.modified);
}

TEST_F(Settings, ModifiedIsClearedWhenAStepFails)
{
    host.failOn = W::FCLen;
    WriteIni("[hostlist]\r\ngate=10.0.0.1\r\n");
    EXPECT_THROW(LoadSettings(host, fileName), EError);
    EXPECT_FALSE(host.modified);
    EXPECT_EQ(host.hosts.Count(), 0);
}

TEST_F(Settings, UnwritableFileIsReportedAndLeftAsItWas)
{
    const std::string nowhere = dir.file("missing/Pellicor.ini");
    try {
        SaveSettings(host, nowhere);
        FAIL() << "the save went through";
    } catch (const EError& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + nowhere);
    }

    const std::string old = "[options]\r\ndelimiter=44\r\n";
    WriteIni(old);
    for (int i = 0; i < 50; ++i)
        AddHost(host.hosts, "device" + std::to_string(i), "10.0.0.1");
    {
        const FileSizeLimit limit(old.size() + 40);
        EXPECT_THROW(SaveSettings(host, fileName), EError);
    }
    EXPECT_EQ(ReadFileBytes(fileName), old);
    EXPECT_EQ(dir.entries(), Texts{"Pellicor.ini"});
}

TEST_F(Settings, ThousandsOfDevicesRoundTripQuickly)
{
    constexpr int kDevices = 5000;
    for (int i = 0; i < kDevices; ++i)
        host.hosts.AddRow(std::to_string(i + 1),
                          {"10.1." + std::to_string(i / 256) + "." + std::to_string(i % 256),
                           i % 2 ? "dev" + std::to_string(i) : "", ""});
    const auto start = std::chrono::steady_clock::now();
    SaveSettings(host, fileName);
    FakeSettingsHost again;
    LoadSettings(again, fileName);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // One rewrite of the file per key takes about 5 s here; one rewrite in all under 0.1 s,
    // so the bound leaves room for sanitizer builds and a busy machine.
    EXPECT_LT(elapsed, std::chrono::seconds(3));

    ASSERT_EQ(again.hosts.Count(), kDevices);
    for (int i : {0, 1, 2, 4998, 4999}) {
        const std::string ip = GetColumnText(host.hosts, i, 1);
        const std::string name = GetColumnText(host.hosts, i, 2);
        EXPECT_EQ(again.Row(i), (Texts{std::to_string(i + 1), ip, name.empty() ? ip : name, ""}));
    }
}
