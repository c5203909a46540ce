#include "netsetup/ULantronix.h"

#include "tests/support/ScriptedUi.h"
#include "simulators/TelnetBytes.h"
#include "simulators/TelnetPeer.h"
#include "simulators/TempDir.h"
#include "tests/support/LogHighWater.h"
#include "platform/net/ESocketError.h"
#include "platform/net/NetPorts.h"
#include "platform/net/TableResolver.h"
#include "platform/shell/ShellExecute.h"
#include "platform/text/Cp1252.h"
#include "platform/toolkit/LogMemo.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace std::string_literals;

using namespace telnet_bytes;

// A port on 127.0.0.1 where nothing listens.
uint16_t ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

class TerminalTest : public ::testing::Test {
protected:
    std::vector<std::string> Log() const
    {
        std::vector<std::string> lines;
        const QString text = Memo()->toPlainText();
        if (!text.isEmpty())
            for (const QString& line : text.split(QLatin1Char('\n')))
                lines.push_back(ToCp1252(line));
        return lines;
    }
    bool Logged(const std::string& line) const
    {
        const auto log = Log();
        return std::find(log.begin(), log.end(), line) != log.end();
    }
    QPlainTextEdit* Memo() const { return form.findChild<QPlainTextEdit*>("Memo1"); }
    QLineEdit* Edit() const { return form.findChild<QLineEdit*>("Edit1"); }

    // Opens the terminal on the peer; drive runs while the window is up.
    void Session(const std::function<void(QWidget&)>& drive, const std::string& host = "127.0.0.1")
    {
        scripted.ExpectModal([&](QWidget& window) {
            window.show();
            drive(window);
            window.hide();
            return 0;
        });
        form.OpenTerminal(host, peer.Port());
    }
    bool WaitFor(const std::function<bool()>& condition)
    {
        return QTest::qWaitFor(condition, 5000);
    }

    ScriptedUi scripted;
    TelnetPeer peer;
    TFormLantronix form;
};

TEST_F(TerminalTest, TypedLineGoesOutUpperCasedAndTrimmedAndBothWaysAreLogged)
{
    Session([&](QWidget&) {
        ASSERT_TRUE(WaitFor([&] { return peer.TerminalType() == "dumb"; }));
        QTest::keyClicks(Edit(), "  qve ");
        QTest::keyClick(Edit(), Qt::Key_Return);  // Enter presses the default button
        ASSERT_TRUE(WaitFor([&] { return !peer.Lines().empty(); }));
        EXPECT_EQ(peer.Lines().front(), "QVE");
        // The whole line is selected so that the next typing replaces it.
        EXPECT_EQ(Edit()->selectedText(), Edit()->text());
        peer.Send("  Ver1.10\r\n");
        ASSERT_TRUE(WaitFor([&] { return Logged("< Ver1.10"); }));
    });
    EXPECT_EQ(Log(), (std::vector<std::string>{"Connecting to 127.0.0.1.", "Connected.", "> QVE",
                                               "< Ver1.10", "Disconnecting.", "Disconnected."}));
    EXPECT_TRUE(WaitFor([&] { return peer.Closed() == 1; }));
    EXPECT_FALSE(form.Telnet1.Connected());
}

// Send with the focus, like the input line, takes Enter: the line goes out once.
TEST_F(TerminalTest, EnterOnTheFocusedSendButtonSendsTheLineOnce)
{
    Session([&](QWidget& window) {
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QTest::keyClicks(Edit(), "qls");
        auto* send = window.findChild<QPushButton*>("btnSend");
        send->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_TRUE(WaitFor([&] { return !peer.Lines().empty(); }));
        QTest::qWait(50);
        EXPECT_EQ(peer.Lines(), std::vector<std::string>{"QLS"});
        EXPECT_EQ(QApplication::focusWidget(), send);
    });
    const auto log = Log();
    EXPECT_EQ(std::count(log.begin(), log.end(), "> QLS"), 1);
}

TEST_F(TerminalTest, BytesAbove7FAreSentAsTheyAreAndLineEndChunksLogAnEmptyEntry)
{
    Session([&](QWidget&) {
        Edit()->setText(ToQString("qv\xE9\xFF"));
        form.btnSendClick();
        // Unescaped: the device's service reads raw bytes.
        EXPECT_TRUE(
            WaitFor([&] { return peer.Received().find("QV\xE9\xFF\r\n") != std::string::npos; }));
        peer.Send("\r\n");
        ASSERT_TRUE(WaitFor([&] { return Logged("< "); }));
    });
    EXPECT_TRUE(Logged("> QV\xE9\xFF"));
}

TEST_F(TerminalTest, EchoAndEndOfRecordAreAcceptedOthersRefusedAndTheTerminalTypeIsDumb)
{
    Session([&](QWidget&) {
        ASSERT_TRUE(WaitFor([&] { return peer.TerminalType() == "dumb"; }));
        const std::string opening =
            Op(WILL, 24) + Op(DO, 1) + IAC + SB + "\x18" + "\x00"s + "dumb" + IAC + SE;
        EXPECT_EQ(peer.Received(), opening);

        // (DO TERMINAL-TYPE was in the opening: another would make the peer ask again.)
        // WILL ECHO repeats the opening's, WONT 5 and DONT 7 name options already off:
        // none of them changes anything, so none is answered.
        peer.Send(Op(WILL, 1) + Op(WILL, 25) + Op(WILL, 3) + Op(WONT, 5) + Op(DO, 1) + Op(DO, 31) +
                  Op(DONT, 7) +
                  // a terminal-type request split across two reads
                  IAC + SB + "\x18");
        QTest::qWait(100);
        peer.Send("\x01"s + IAC + SE + "tail");
        EXPECT_TRUE(WaitFor([&] { return Logged("< tail"); }));
        const std::string answers = Op(DO, 25) + Op(DONT, 3) + Op(WILL, 1) + Op(WONT, 31) + IAC +
                                    SB + "\x18" + "\x00"s + "dumb" + IAC + SE;
        EXPECT_TRUE(WaitFor([&] { return peer.Received().size() >= (opening + answers).size(); }));
        EXPECT_EQ(peer.Received(), opening + answers);
    });
}

TEST(TerminalNegotiation, APeerThatAnswersEveryCommandComesToRestAndDataStillShows)
{
    ScriptedUi scripted;
    TelnetPeer peer(TelnetPeer::TRole::Mirror);
    TFormLantronix form;
    scripted.ExpectModal([&](QWidget&) {
        // Besides the opening's DO 24 and WILL 1: an option already off and two refusals.
        peer.Send(Op(WONT, 5) + Op(DO, 31) + Op(WILL, 3));
        std::string seen;
        const bool resting = QTest::qWaitFor(
            [&] {
                QTest::qWait(200);
                const std::string before = std::exchange(seen, peer.Received());
                return !before.empty() && before == seen;
            },
            5000);
        EXPECT_TRUE(resting);
        // WILL 24, DO 1, WONT 24 (after the mirror's DONT 24), WONT 31 and DONT 3.
        EXPECT_EQ(seen.size(), 15u);
        peer.Send("hello\r\n");
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return form.findChild<QPlainTextEdit*>("Memo1")->toPlainText().contains("< hello");
            },
            5000));
        return 0;
    });
    form.OpenTerminal("127.0.0.1", peer.Port());
}

TEST_F(TerminalTest, DataAroundTelnetCommandsIsCutIntoChunksAndEscapesUndone)
{
    Session([&](QWidget&) {
        peer.Send("AB" + IAC + EOR + "CD" + IAC + SB + "\x1F\x01\x02" + IAC + IAC + IAC + SE + "E" +
                  IAC + "\xF1" + "F" + IAC + IAC + "G");
        ASSERT_TRUE(WaitFor([&] { return Logged("< EF\xFFG"); }));
    });
    const auto log = Log();
    // A record end and a sub-negotiation each end a chunk; the other sub-negotiation and
    // the NOP go unanswered and leave no trace.
    EXPECT_EQ(std::vector<std::string>(log.begin() + 2, log.end() - 2),
              (std::vector<std::string>{"< AB", "< CD", "< EF\xFFG"}));
    EXPECT_EQ(peer.Received().find(IAC + SB + "\x1F"), std::string::npos);
}

TEST_F(TerminalTest, ClosingWhileTheDeviceFloodsTheConnectionReturnsAtOnce)
{
    Session([&](QWidget&) {
        peer.Flood(std::string(2000, 'x') + "\r\n");
        ASSERT_TRUE(WaitFor([&] { return Log().size() > 20; }));
    });
    EXPECT_FALSE(form.Telnet1.Connected());
    EXPECT_EQ(Log().back(), "Disconnected.");
    EXPECT_TRUE(WaitFor([&] { return peer.Closed() == 1; }));
}

// A device that never stops sending keeps the terminal's log at its bounds: long lines
// reach the character bound, short ones the line bound. The newest lines stay, the oldest
// go, and the log never takes in more than it keeps.
TEST_F(TerminalTest, ADeviceThatNeverStopsSendingKeepsTheLogAtItsBound)
{
    const LogHighWater most(*Memo());
    Session([&](QWidget&) {
        const QTextDocument& log = *Memo()->document();
        peer.Flood(std::string(2000, 'x') + "\r\n");
        // The first line goes once the bound is passed.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return log.firstBlock().text().startsWith("Connect") == false; }, 120000));
        EXPECT_LE(log.characterCount() - 1, kMaxLogChars);
        EXPECT_GT(log.characterCount() - 1, kMaxLogChars / 2);
        EXPECT_LE(most.characters, kMaxLogChars);

        // Each short line costs the log far more than its characters.
        peer.Flood("x\r\n");
        ASSERT_TRUE(QTest::qWaitFor([&] { return log.firstBlock().text().size() < 10; }, 60000));
        EXPECT_GE(log.blockCount(), kMaxLogLines / 4 * 3);
        EXPECT_LE(most.lines, kMaxLogLines);
        EXPECT_LE(most.characters, kMaxLogChars);
        peer.StopFlood();
    });
    EXPECT_EQ(Log().back(), "Disconnected.");
}

// The log follows its end as the person makes the window smaller, which leaves the scroll
// position short of its new maximum; a view the person scrolled up stays there until they
// scroll back to the end.
TEST_F(TerminalTest, TheLogFollowsItsEndWhateverTheViewsHeightUnlessScrolledUp)
{
    const auto showsTheLastLine = [this] {
        const QRect last = Memo()->cursorRect(QTextCursor(Memo()->document()->lastBlock()));
        return last.top() >= 0 && last.bottom() < Memo()->viewport()->height();
    };
    int sent = 0;
    // The peer's next lines, waited for until shown.
    const auto receive = [&](int lines) {
        std::string bytes;
        for (const int end = sent + lines; sent < end;)
            bytes += "line " + std::to_string(++sent) + "\r\n";
        peer.Send(bytes);
        ASSERT_TRUE(
            WaitFor([&] { return Log().back().ends_with("line " + std::to_string(sent)); }));
    };
    Session([&](QWidget& window) {
        QScrollBar& bar = *Memo()->verticalScrollBar();
        receive(100);
        EXPECT_TRUE(showsTheLastLine());
        window.resize(window.width(), window.height() - 100);
        receive(1);
        EXPECT_TRUE(showsTheLastLine()) << "after the window was made smaller";

        bar.setValue(20);
        const int top = Memo()->cursorForPosition(QPoint(0, 0)).blockNumber();
        receive(100);
        window.resize(window.width(), window.height() + 50);
        receive(1);
        EXPECT_EQ(Memo()->cursorForPosition(QPoint(0, 0)).blockNumber(), top);
        bar.setValue(bar.maximum());
        receive(100);
        EXPECT_TRUE(showsTheLastLine()) << "once scrolled back to the end";
    });
}

// A peer that never sends a line break: each chunk is an entry of tens of thousands of
// characters, shown in lines of a bounded length that hold every byte in order. Lone CRs
// end lines as CR LF does.
TEST_F(TerminalTest, APeerWithoutLineBreaksShowsEveryByteInLinesOfBoundedLength)
{
    std::string sent;
    for (int i = 0; i < 300000; ++i)
        sent += static_cast<char>('a' + i % 26);
    size_t shownBytes = 0;
    Session([&](QWidget&) {
        peer.Send(sent);
        ASSERT_TRUE(WaitFor([&] {
            shownBytes = 0;
            for (const std::string& line : Log())
                shownBytes += line.size();
            return shownBytes >= sent.size();
        }));
        peer.Send("x\ry\r\rz\r\n");
        ASSERT_TRUE(WaitFor([&] { return Logged("z"); }));
    });
    const auto log = Log();
    ASSERT_GT(log.size(), 8u);
    std::string shown;
    size_t longest = 0;
    for (auto line = log.begin() + 2; line != log.end() - 6; ++line) {
        longest = std::max(longest, line->size());
        shown += line->rfind("< ", 0) == 0 ? line->substr(2) : *line;
    }
    EXPECT_LE(longest, 1024u);
    EXPECT_TRUE(shown == sent) << shown.size() << " bytes shown of " << sent.size();
    EXPECT_EQ(std::vector<std::string>(log.end() - 6, log.end()),
              (std::vector<std::string>{"< x", "y", "", "z", "Disconnecting.", "Disconnected."}));
}

TEST_F(TerminalTest, DeviceClosingEndsTheConnectionAndALaterSendFailsUnlogged)
{
    Session([&](QWidget&) {
        ASSERT_TRUE(WaitFor([&] { return peer.Connections() == 1; }));
        peer.CloseConnection();
        ASSERT_TRUE(WaitFor([&] { return !form.Telnet1.Connected(); }));
        EXPECT_EQ(Log().back(), "Disconnected.");
        Edit()->setText("QVE");
        scripted.ExpectMessage(ui::MsgKind::Error, "Not Connected", ui::Buttons::OK);
        form.findChild<QPushButton*>("btnSend")->click();
    });
    EXPECT_FALSE(Logged("> QVE"));
}

TEST_F(TerminalTest, FailedConnectShowsNoWindowAndRaisesTheSocketError)
{
    try {
        form.OpenTerminal("127.0.0.1", ClosedPort());
        FAIL() << "connect should fail";
    } catch (const ESocketError& e) {
        EXPECT_EQ(std::string(e.what()), "Socket Error # " + std::to_string(ECONNREFUSED) + "\r\n" +
                                             std::strerror(ECONNREFUSED));
    }
    EXPECT_TRUE(scripted.Modals().empty());
    EXPECT_EQ(Log(), std::vector<std::string>{"Connecting to 127.0.0.1."});
}

TEST_F(TerminalTest, AHostNameThatDoesNotResolveShowsNoWindowAndRaises)
{
    TableResolver table;
    SetResolverForTesting(&table);
    EXPECT_THROW(form.OpenTerminal("no-such-device", peer.Port()), ESocketError);
    SetResolverForTesting(nullptr);
    EXPECT_TRUE(scripted.Modals().empty());
    EXPECT_EQ(Log(), std::vector<std::string>{"Resolving hostname no-such-device."});
    EXPECT_EQ(peer.Connections(), 0);
}

TEST_F(TerminalTest, SecondSessionKeepsTheFirstOnesLinesAbove)
{
    Session([&](QWidget&) {});
    form.Telnet1.Connect();  // a connection left open is closed before the next one
    Session([&](QWidget&) {});
    EXPECT_EQ(Log(),
              (std::vector<std::string>{
                  "Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected.",
                  "Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected.",
                  "Connecting to 127.0.0.1.", "Connected.", "Disconnecting.", "Disconnected."}));
    EXPECT_TRUE(WaitFor([&] { return peer.Closed() == 3; }));
}

TEST_F(TerminalTest, TerminalCommandUsesTheDevicePortAndResolvesAHostName)
{
    TableResolver table;
    table.AddName("reader-3", {"127.0.0.1"});
    SetResolverForTesting(&table);
    SetDevicePortForTesting(peer.Port());
    scripted.ExpectModal([&](QWidget&) {
        EXPECT_TRUE(WaitFor([&] { return peer.Connections() == 1; }));
        return 0;
    });
    RunTerminal(form, "reader-3");
    SetDevicePortForTesting(0);
    SetResolverForTesting(nullptr);
    EXPECT_EQ(Log().front(), "Resolving hostname reader-3.");
}

TEST_F(TerminalTest, EscapeLeavesTheWindowOpen)
{
    Session([&](QWidget& window) {
        QTest::keyClick(&window, Qt::Key_Escape);
        EXPECT_TRUE(window.isVisible());
    });
}

class OutsideProgramsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetConsoleLauncherForTesting([this](const std::vector<std::string>& command) {
            commands.push_back(command);
            return answer;
        });
    }
    void TearDown() override { SetConsoleLauncherForTesting({}); }

    ScriptedUi scripted;
    std::vector<std::vector<std::string>> commands;
    int answer = 0;
};

TEST_F(OutsideProgramsTest, PingAndTelnetRunAgainstTheTargetHost)
{
    RunPing(nullptr, "reader-3");
    RunTelnet(nullptr, "10.0.0.7");
    EXPECT_EQ(commands, (std::vector<std::vector<std::string>>{{"ping", "reader-3"},
                                                               {"telnet", "10.0.0.7", "9999"}}));
}

// Ping and telnet on one host, each failing to start for err.
void ExpectPingAndTelnetToFail(ScriptedUi& scripted, int err)
{
    scripted.ExpectMessage(ui::MsgKind::Error, std::strerror(err), ui::Buttons::OK);
    RunPing(nullptr, "reader-3");
    scripted.ExpectMessage(ui::MsgKind::Error,
                           "Error: failed to execute telnet.exe\r"s + std::strerror(err),
                           ui::Buttons::OK);
    RunTelnet(nullptr, "reader-3");
}

TEST_F(OutsideProgramsTest, FailureToStartShowsTheSystemsText)
{
    answer = ENOENT;
    ExpectPingAndTelnetToFail(scripted, ENOENT);
}

TEST(OutsidePrograms, NoTerminalEmulatorToRunThemInShowsTheSystemsText)
{
    // The real launcher, with a search path where no terminal emulator can be found.
    const TempDir empty;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QByteArray::fromStdString(empty.path()));
    const bool noTerminal = QStandardPaths::findExecutable("x-terminal-emulator").isEmpty() &&
                            QStandardPaths::findExecutable("xterm").isEmpty();
    if (noTerminal) {
        ScriptedUi scripted;
        ExpectPingAndTelnetToFail(scripted, ENOENT);
    }
    qputenv("PATH", path);
    EXPECT_TRUE(noTerminal) << "a terminal emulator was found outside PATH; nothing was run";
}

}  // namespace
