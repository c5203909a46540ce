#include "platform/net/InetAddress.h"
#include "platform/net/TableResolver.h"

#include <gtest/gtest.h>

namespace {

std::string Parsed(std::string_view text)
{
    const auto address = InetAddr(text);
    return address ? InetNtoa(*address) : "none";
}

std::string Dotted(std::string_view text)
{
    const auto address = DottedAddress(text);
    return address ? InetNtoa(*address) : "none";
}

}  // namespace

TEST(InetAddress, InetAddrReadsTheSystemsNumberForms)
{
    EXPECT_EQ(Parsed("192.168.0.5"), "192.168.0.5");
    EXPECT_EQ(Parsed("255.255.255.255"), "255.255.255.255");
    EXPECT_EQ(Parsed("0x7f.1"), "127.0.0.1");   // hexadecimal, last part fills 3 bytes
    EXPECT_EQ(Parsed("010.0.0.1"), "8.0.0.1");  // octal
    EXPECT_EQ(Parsed("1.2.3"), "1.2.0.3");
    EXPECT_EQ(Parsed("3232235525"), "192.168.0.5");  // one part: the whole address
    EXPECT_EQ(Parsed("1.2.65535"), "1.2.255.255");
}

TEST(InetAddress, InetAddrRefusesWhatIsNoAddress)
{
    for (const char* text :
         {"", "1.2.3.4.5", "256.1.1.1", "1.2.3.256", "1..2.3", "1.2.3.4 ", " 1.2.3.4", "08.1.1.1",
          "0x.1.1.1", "host", "1.2.3.4x", "1.2.65536", "4294967296"})
        EXPECT_EQ(Parsed(text), "none") << text;
}

TEST(InetAddress, DottedAddressTakesOnlyFourDecimalParts)
{
    EXPECT_EQ(Dotted("192.168.0.5"), "192.168.0.5");
    EXPECT_EQ(Dotted("010.000.000.001"), "10.0.0.1");
    for (const char* text :
         {"0x7f.0.0.1", "1.2.3", "1.2.3.4.5", "256.0.0.1", "1.2.3.0001", "1.2.3.", "device-a", ""})
        EXPECT_EQ(Dotted(text), "none") << text;
}

TEST(InetAddress, DecimalOctetIsOneToThreeDecimalDigitsUpTo255)
{
    for (const auto& [text, value] :
         {std::pair{"0", 0}, {"7", 7}, {"010", 10}, {"08", 8}, {"255", 255}, {"000", 0}})
        EXPECT_EQ(DecimalOctet(text), std::optional<uint8_t>(value)) << text;
    for (const char* text : {"", "256", " 7", "7 ", "-1", "+1", "0x1", "0010", "1.0"})
        EXPECT_EQ(DecimalOctet(text), std::nullopt) << text;
}

TEST(InetAddress, TableResolverAnswersFromItsTableOnly)
{
    TableResolver resolver;
    resolver.AddName("device-a", {"127.0.0.1", "127.0.0.2"});
    resolver.AddReverse("127.0.0.1", "device-a.example.lan");
    SetResolverForTesting(&resolver);

    const auto byName = GetHostByName("device-a");
    ASSERT_TRUE(byName);
    ASSERT_EQ(byName->addresses.size(), 2u);
    EXPECT_EQ(InetNtoa(byName->addresses.back()), "127.0.0.2");
    EXPECT_FALSE(GetHostByName("device-b"));
    const auto numeric = GetHostByName("127.0.0.9");
    ASSERT_TRUE(numeric);
    EXPECT_EQ(InetNtoa(numeric->addresses.front()), "127.0.0.9");

    const auto byAddress = GetHostByAddr(*InetAddr("127.0.0.1"));
    ASSERT_TRUE(byAddress);
    EXPECT_EQ(byAddress->name, "device-a.example.lan");
    EXPECT_FALSE(GetHostByAddr(*InetAddr("127.0.0.3")));
    SetResolverForTesting(nullptr);
}
