#include "platform/shell/ShellExecute.h"

#include "platform/signals/StartDispositions.h"
#include "simulators/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

std::string ReadText(const std::string& file)
{
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

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

// A program started from here is given SIGPIPE and SIGXFSZ as this program was started
// with, not as it ignores them while it runs (an ignored signal stays ignored across
// exec). The terminal is a stand-in on the PATH that writes down its ignored signals.
TEST(ShellExecuteChild, GetsTheWriteSignalsAsTheProgramWasStartedWith)
{
    const TempDir folder;
    const std::string report = folder.file("ignored"),
                      terminal = folder.file("x-terminal-emulator");
    std::ofstream(terminal) << "#!/bin/sh\nsed -n 's/^SigIgn:\\t//p' /proc/$$/status >'" << report
                            << ".new' && mv '" << report << ".new' '" << report << "'\n";
    std::filesystem::permissions(terminal, std::filesystem::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (folder.path() + ":" + path).c_str(), 1);
    for (bool pipeIgnoredAtStart : {false, true}) {
        std::filesystem::remove(report);
        ::signal(SIGPIPE, pipeIgnoredAtStart ? SIG_IGN : SIG_DFL);
        {
            TWriteSignalsIgnored whileRunning;
            EXPECT_GT(ShellExecute(nullptr, "open", "ping.exe", "127.0.0.1"), 32);
        }
        for (int waited = 0; waited < 10000 && !std::filesystem::exists(report); waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        uint64_t ignored = ~uint64_t{0};
        std::istringstream(ReadText(report)) >> std::hex >> ignored;
        EXPECT_EQ((ignored >> (SIGPIPE - 1)) & 1, pipeIgnoredAtStart ? 1u : 0u) << ignored;
        EXPECT_EQ((ignored >> (SIGXFSZ - 1)) & 1, 0u) << ignored;
    }
    ::signal(SIGPIPE, SIG_DFL);
    ::setenv("PATH", path.c_str(), 1);
}

}  // namespace
