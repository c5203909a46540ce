#include "platform/net/TTelnetParser.h"
#include "simulators/TelnetBytes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using TOutput = TTelnetParser::TOutput;
using TKind = TOutput::TKind;

using namespace telnet_bytes;

// Only the answers, joined, of one run.
std::string Answers(const std::vector<TOutput>& outputs)
{
    std::string answers;
    for (const TOutput& output : outputs)
        if (output.kind == TKind::Answer)
            answers += output.bytes;
    return answers;
}

TEST(TelnetNegotiation, OnlyACommandThatChangesAnOptionIsAnswered)
{
    TTelnetParser parser;
    // This side's options: the terminal type is offered once; a repeat is no change.
    EXPECT_EQ(Answers(parser.Process(Op(DO, 24))), Op(WILL, 24));
    EXPECT_EQ(Answers(parser.Process(Op(DO, 24))), "");
    EXPECT_EQ(Answers(parser.Process(Op(DONT, 24))), Op(WONT, 24));
    EXPECT_EQ(Answers(parser.Process(Op(DONT, 24))), "");
    // The peer's options: ECHO accepted once, switched off once.
    EXPECT_EQ(Answers(parser.Process(Op(WILL, 1))), Op(DO, 1));
    EXPECT_EQ(Answers(parser.Process(Op(WILL, 1))), "");
    EXPECT_EQ(Answers(parser.Process(Op(WONT, 1))), Op(DONT, 1));
    EXPECT_EQ(Answers(parser.Process(Op(WONT, 1) + Op(WONT, 5) + Op(DONT, 7))), "");
    // A refused request stays refused, and is answered each time it is made.
    EXPECT_EQ(Answers(parser.Process(Op(WILL, 3) + Op(WILL, 3))), Op(DONT, 3) + Op(DONT, 3));
    EXPECT_EQ(Answers(parser.Process(Op(DO, 31))), Op(WONT, 31));

    // A new connection starts with every option off.
    parser.Process(Op(DO, 1) + Op(WILL, 25));
    parser.Reset();
    EXPECT_EQ(Answers(parser.Process(Op(DO, 1) + Op(WILL, 25))), Op(WILL, 1) + Op(DO, 25));
}

TEST(TelnetNegotiation, TwoSidesAnsweringEachOtherComeToRest)
{
    // The other side is a parser like this one; each gets what the other answered.
    TTelnetParser terminal;
    TTelnetParser other;
    std::string toTerminal = Op(DO, 24) + Op(WILL, 1) + Op(WONT, 5) + Op(DO, 31) + Op(WILL, 3);
    int exchanges = 0;
    while (!toTerminal.empty() && exchanges < 100) {
        const std::string toOther = Answers(terminal.Process(toTerminal));
        toTerminal = Answers(other.Process(toOther));
        ++exchanges;
    }
    EXPECT_TRUE(toTerminal.empty());
    EXPECT_LE(exchanges, 3);
}

// (fuzz_platform_net_telnet checks that what an open subnegotiation holds stays in its bound.)
TEST(TelnetSubNegotiation, AnOverlongSubNegotiationGivesNothingAndDataFollowsItsEnd)
{
    TTelnetParser parser;
    EXPECT_EQ(parser.Process("A"s + IAC + SB + "\x1F"), (std::vector<TOutput>{{TKind::Data, "A"}}));
    const std::string block(64 * 1024, 'x');
    for (int i = 0; i < 32; ++i)
        EXPECT_TRUE(parser.Process(block).empty());

    // Past the bound the excess is dropped, an escaped 255 (IAC IAC) and what follows it
    // as well; plain data follows the closing IAC SE.
    EXPECT_EQ(parser.Process(IAC + IAC + "x" + IAC + SE + "tail"),
              (std::vector<TOutput>{{TKind::Data, "tail"}}));
}

TEST(TelnetSubNegotiation, TerminalTypeRequestIsAnsweredWithTheEscapedTypeAlsoWhenOverlong)
{
    TTelnetParser parser;
    const std::string is = IAC + SB + "\x18" + "\x00"s + "dumb" + IAC + SE;
    EXPECT_EQ(Answers(parser.Process(IAC + SB + "\x18\x01" + IAC + SE)), is);
    const std::string overlong = IAC + SB + "\x18\x01" + std::string(100000, 'y') + IAC + SE;
    EXPECT_EQ(Answers(parser.Process(overlong)), is);
    // Any other sub-negotiation goes unanswered and leaves no data.
    EXPECT_TRUE(parser.Process(IAC + SB + "\x18" + "\x00"s + "vt100" + IAC + SE).empty());

    // A 255 in the type is doubled, so that the peer does not take it for IAC.
    parser.SetTerminalType("a" + IAC + "b");
    EXPECT_EQ(Answers(parser.Process(IAC + SB + "\x18\x01" + IAC + SE)),
              IAC + SB + "\x18" + "\x00"s + "a" + IAC + IAC + "b" + IAC + SE);
}

}  // namespace
