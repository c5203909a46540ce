#include "netsetup/IPHelper.h"

#include "platform/net/Resolver.h"
#include "platform/net/TableResolver.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class IPHelperWithTable : public ::testing::Test {
protected:
    void SetUp() override { SetResolverForTesting(&table); }
    void TearDown() override { SetResolverForTesting(nullptr); }
    TableResolver table;
};

std::array<uint8_t, 8> Filled()
{
    return {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
}

}  // namespace

TEST_F(IPHelperWithTable, ReverseLookupKeepsTheShortName)
{
    table.AddReverse("10.0.0.7", "gate.plant.example");
    table.AddReverse("10.0.0.8", "plain");
    EXPECT_EQ(IPToHostName("10.0.0.7"), "gate");
    EXPECT_EQ(IPToHostName("10.0.0.8"), "plain");
    EXPECT_EQ(IPToHostName("10.0.0.9"), "");
    // Not an address at all: nothing is asked.
    EXPECT_EQ(IPToHostName("gate"), "");
    EXPECT_EQ(IPToHostName(""), "");
}

TEST_F(IPHelperWithTable, ForwardLookupGivesTheLastAddress)
{
    table.AddName("multi", {"10.0.0.1", "10.0.0.2", "10.0.0.3"});
    table.AddName("single", {"192.168.1.20"});
    EXPECT_EQ(HostNameToIP("multi"), "10.0.0.3");
    EXPECT_EQ(HostNameToIP("single"), "192.168.1.20");
    EXPECT_EQ(HostNameToIP("unknown"), "");
    EXPECT_EQ(HostNameToIP(""), "");
}

// Only the loopback names of this machine are looked up for real.
TEST(IPHelperSystem, ResolvesLocalhostBothWays)
{
    EXPECT_EQ(HostNameToIP("localhost"), "127.0.0.1");
    EXPECT_EQ(HostNameToIP("127.0.0.1"), "127.0.0.1");
    const std::string name = IPToHostName("127.0.0.1");
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find('.'), std::string::npos);
}

namespace {

// The token and what is left of the text.
std::pair<std::string, std::string> Cut(std::string text, char separator = '-')
{
    std::string token = FetchToken(text, separator);
    return {token, text};
}

}  // namespace

TEST(FetchToken, CutsAtTheFirstSeparator)
{
    using TokenAndRest = std::pair<std::string, std::string>;
    EXPECT_EQ(Cut("a-b-c"), TokenAndRest("a", "b-c"));
    EXPECT_EQ(Cut("abc"), TokenAndRest("abc", ""));
    EXPECT_EQ(Cut(""), TokenAndRest("", ""));
    EXPECT_EQ(Cut("-x"), TokenAndRest("", "x"));
    EXPECT_EQ(Cut("x-"), TokenAndRest("x", ""));
}

TEST(FetchToken, WorksOnLongTexts)
{
    const std::string head(300, 'a');
    const std::string tail(70000, 'b');
    EXPECT_EQ(Cut(head + ";" + tail, ';'), std::make_pair(head, tail));
    EXPECT_EQ(Cut(tail, ';'), std::make_pair(tail, std::string()));
}

TEST(MacTextToBytes, ReadsGroupsInOrder)
{
    auto bytes = Filled();
    ASSERT_EQ(MacTextToBytes("00-20-4A-0B-0C-0D", bytes), 6);
    EXPECT_EQ(bytes[0], 0x00);
    EXPECT_EQ(bytes[1], 0x20);
    EXPECT_EQ(bytes[2], 0x4A);
    EXPECT_EQ(bytes[5], 0x0D);
    EXPECT_EQ(bytes[6], 0xEE);  // past the count nothing is touched

    bytes = Filled();
    ASSERT_EQ(MacTextToBytes("00-20-4a", bytes), 3);
    EXPECT_EQ(bytes[2], 0x4A);

    // A wide group keeps its low byte.
    ASSERT_EQ(MacTextToBytes("1FF", bytes), 1);
    EXPECT_EQ(bytes[0], 0xFF);

    ASSERT_EQ(MacTextToBytes("01-02-03-04-05-06-07-08", bytes), 8);
    EXPECT_EQ(bytes[7], 0x08);
}

TEST(MacTextToBytes, MalformedTextGivesNoBytes)
{
    std::array<uint8_t, 8> bytes{};
    EXPECT_EQ(MacTextToBytes("", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00--20", bytes), 0);
    EXPECT_EQ(MacTextToBytes("-00", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00-2G", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00-$20", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00-0x20", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00- 20", bytes), 0);
    EXPECT_EQ(MacTextToBytes("00--", bytes), 0);
    EXPECT_EQ(MacTextToBytes("1-2-3-4-5-6-7-8-9", bytes), 0);
    // More digits than 32 bits hold.
    EXPECT_EQ(MacTextToBytes("123456789", bytes), 0);
}

TEST(MacTextToBytes, OverlongTextStaysInsideTheBuffer)
{
    std::array<uint8_t, 8> bytes{};
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "AB-";
    EXPECT_EQ(MacTextToBytes(many, bytes), 0);
    EXPECT_EQ(MacTextToBytes(std::string(100000, '0'), bytes), 1);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(MacTextToBytes(std::string(100000, 'F'), bytes), 0);
}
