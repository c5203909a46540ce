#include "netsetup/DeviceRows.h"

#include "platform/net/Resolver.h"
#include "platform/net/TableResolver.h"
#include "platform/toolkit/TListView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class DeviceRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetResolverForTesting(&table);
        for (const char* caption : {" ", "ip-address", "hostname", "mac-address"})
            hosts.AddColumn(caption, 100);
    }
    void TearDown() override { SetResolverForTesting(nullptr); }

    // number | ip-address | hostname | mac-address
    std::vector<std::string> Row(int row) const
    {
        std::vector<std::string> texts;
        for (int column = 0; column < 4; ++column)
            texts.push_back(GetColumnText(hosts, row, column));
        return texts;
    }

    TableResolver table;
    TListView hosts;
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(DeviceRows, NameThatTrimsToNothingAddsNoRow)
{
    AddHost(hosts, "   ", "10.0.0.1");
    AddHost(hosts, "", "");
    AddHost(hosts, "\t\r\n", "");
    EXPECT_EQ(hosts.Count(), 0);
}

TEST_F(DeviceRows, GivenAddressIsTakenAsPassedWithoutLookUp)
{
    table.AddName("gate", {"10.9.9.9"});
    AddHost(hosts, "  gate  ", "10.0.0.1");
    AddHost(hosts, "gate", " ");
    EXPECT_EQ(Row(0), (Texts{"1", "10.0.0.1", "  gate  ", ""}));
    // Any text counts as an address once it is not empty.
    EXPECT_EQ(Row(1), (Texts{"2", " ", "gate", ""}));
}

TEST_F(DeviceRows, NameIsResolvedWhenTheAddressIsMissing)
{
    table.AddName("gate", {"10.0.0.1", "10.0.0.2"});
    AddHost(hosts, " gate ", "");
    AddHost(hosts, "unknown", "");
    EXPECT_EQ(Row(0), (Texts{"1", "10.0.0.2", "gate", ""}));
    EXPECT_EQ(Row(1), (Texts{"2", "", "unknown", ""}));
    // A row without an address is reached by its hostname.
    EXPECT_EQ(TargetHost(hosts, 0), "10.0.0.2");
    EXPECT_EQ(TargetHost(hosts, 1), "unknown");

    const std::string longName(5000, 'h');
    AddHost(hosts, longName, "");
    EXPECT_EQ(Row(2), (Texts{"3", "", longName, ""}));
}

TEST_F(DeviceRows, AddressAsNameIsLookedUpBackwards)
{
    table.AddReverse("10.0.0.8", "reader.plant.example");
    AddHost(hosts, "10.0.0.7", "");
    AddHost(hosts, " 10.0.0.8 ", "");
    EXPECT_EQ(Row(0), (Texts{"1", "10.0.0.7", "10.0.0.7", ""}));
    EXPECT_EQ(Row(1), (Texts{"2", "10.0.0.8", "reader", ""}));
}

TEST_F(DeviceRows, NumbersAreFixedWhenTheRowIsAdded)
{
    AddHost(hosts, "a", "10.0.0.1");
    AddHost(hosts, "b", "10.0.0.2");
    hosts.DeleteRows({0});
    AddHost(hosts, "c", "10.0.0.3");
    EXPECT_EQ(GetColumnText(hosts, 0, 0), "2");
    EXPECT_EQ(GetColumnText(hosts, 1, 0), "2");
}

TEST(DeviceRowsSystem, LoopbackAddressGetsItsName)
{
    TListView hosts;
    AddHost(hosts, "127.0.0.1", "");
    AddHost(hosts, "localhost", "");
    ASSERT_EQ(hosts.Count(), 2);
    EXPECT_EQ(GetColumnText(hosts, 0, 1), "127.0.0.1");
    EXPECT_FALSE(GetColumnText(hosts, 0, 2).empty());
    EXPECT_NE(GetColumnText(hosts, 0, 2), "127.0.0.1");
    EXPECT_EQ(GetColumnText(hosts, 1, 1), "127.0.0.1");
    EXPECT_EQ(GetColumnText(hosts, 1, 2), "localhost");
}
