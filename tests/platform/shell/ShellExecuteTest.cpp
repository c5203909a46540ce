#include "platform/shell/ShellExecute.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Command = std::vector<std::string>;

// Records what would run in the terminal and answers with a chosen errno, so that no
// program is ever started.
class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetConsoleLauncherForTesting([this](const Command& command) {
            commands.push_back(command);
            return answer;
        });
    }
    void TearDown() override { SetConsoleLauncherForTesting({}); }

    std::vector<Command> commands;
    int answer = 0;
};

TEST_F(ShellExecuteTest, ConsoleProgramRunsWithoutExeEndingAndWithItsParametersSplit)
{
    EXPECT_GT(ShellExecute(nullptr, "open", "ping.exe", "10.0.0.7"), 32);
    // The name of the telnet command ends in a blank; the port follows the host.
    EXPECT_GT(ShellExecute(nullptr, "open", "telnet.exe ", "reader-3 9999"), 32);
    EXPECT_GT(ShellExecute(nullptr, "open", "PING.EXE", ""), 32);
    EXPECT_GT(ShellExecute(nullptr, "open", "tool", "  a \t b  "), 32);
    EXPECT_EQ(
        commands,
        (std::vector<Command>{
            {"ping", "10.0.0.7"}, {"telnet", "reader-3", "9999"}, {"PING"}, {"tool", "a", "b"}}));
}

TEST_F(ShellExecuteTest, FailureGivesACodeOf32OrLessAndTheSystemsText)
{
    answer = ENOENT;
    EXPECT_LE(ShellExecute(nullptr, "open", "ping.exe", "host"), 32);
    EXPECT_EQ(LastErrorMessage(), std::strerror(ENOENT));

    answer = EACCES;
    EXPECT_LE(ShellExecute(nullptr, "open", "ping.exe", "host"), 32);
    EXPECT_EQ(LastErrorMessage(), std::strerror(EACCES));
}

TEST_F(ShellExecuteTest, NothingStartsForAnotherVerbOrAnEmptyProgramName)
{
    EXPECT_LE(ShellExecute(nullptr, "print", "ping.exe", "host"), 32);
    EXPECT_LE(ShellExecute(nullptr, "open", "  ", "host"), 32);
    EXPECT_EQ(LastErrorMessage(), std::strerror(ENOENT));
    EXPECT_TRUE(commands.empty());
}

}  // namespace
