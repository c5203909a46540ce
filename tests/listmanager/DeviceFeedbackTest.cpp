// The window shows a command's entries, progress and log lines in batches; what it shows
// at the end is what showing each at once showed: rows, order, log lines, boxes, Modified.
#include "tests/listmanager/DeviceWindowFixture.h"

#include "listmanager/MainLog.h"
#include "platform/text/Format.h"
#include "platform/toolkit/LogMemo.h"
#include "platform/toolkit/TListView.h"
#include "tests/support/LogHighWater.h"
#include "widgets/FieldEdit.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace {

using Lines = std::vector<std::string>;
using RowList = std::vector<std::pair<std::string, std::string>>;

constexpr int kEntries = 3000;

std::string FrameHex(int id)
{
    return Format("%.12x", DeviceFrame(id));
}

class DeviceFeedbackTest : public DeviceWindowTest {
protected:
    // A list long enough for a receive to last several of the window's batches; NOREAD
    // among the entries, a no-match value.
    DeviceFeedbackTest()
    {
        std::vector<DeviceSimulator::Entry> list;
        for (int i = 0; i < kEntries; ++i)
            list.push_back({i == 50 ? "NOREAD" : Format("R%d", i), DeviceFrame(i + 1)});
        device.SetList(list);
        device.SetCountSpecials(true);
        device.SetNoMatch(DeviceFrame(7));
    }

    // Receives over a list of five plates, in a shown window; watches the log from the
    // command's start, and waits until the debug view shows all of it.
    void Receive(bool debugView, int maxLogLines = kMaxLogLines)
    {
        auto& f = StartWithDevice();
        f.show();
        f.Memo1->setMaximumBlockCount(maxLogLines);
        FillPlates(5);
        f.Modified = false;
        mostLog.emplace(*f.Memo1);
        if (debugView)
            f.btnDebugClick();
        f.btnReceive->click();
        if (!debugView)
            f.btnDebugClick();
        ASSERT_TRUE(QTest::qWaitFor(
            [&f] { return f.Memo1->document()->lastBlock().text().endsWith("Disconnected."); },
            30000));
        // The memo never took in more than one slice at a time.
        EXPECT_LE(mostLog->linesAdded, static_cast<int>(pellicor::TMainLog::kSliceLines));
    }

    // Before each of the next `answers` answers to commands that begin with the prefix, the
    // device sends `lines` unasked lines: the line and CR LF.
    void SendBefore(const std::string& prefix, const std::string& line, int lines, int answers)
    {
        DeviceSimulator::CommandRule rule;
        rule.prefix = prefix;
        rule.action = DeviceSimulator::CommandRule::Action::Before;
        for (int i = 0; i < lines; ++i)
            rule.bytes += line + "\r\n";
        rule.times = answers;
        device.AddRule(rule);
    }

    // The memo's lines, each without its time where it has one (the lines an entry's own
    // line breaks start have none).
    Lines ShownLines() const
    {
        Lines lines;
        for (const QString& line : form->Memo1->toPlainText().split('\n')) {
            const bool timed = line.size() >= 13 && line[2] == ':' && line[12] == ' ';
            lines.push_back((timed ? line.mid(13) : line).toStdString());
        }
        return lines;
    }

    void ExpectReceived() const
    {
        const auto& f = *form;
        RowList rows;
        for (int i = 0; i < kEntries; ++i)
            if (i != 50)
                rows.emplace_back(Format("R%d", i), std::to_string(i + 1));
        EXPECT_EQ(PlateRows(), rows);
        ASSERT_EQ(f.PlateList1->model()->rowCount(), kEntries - 1) << "every row is in the view";
        EXPECT_EQ(f.PlateList1->Caption(kEntries - 2), std::to_string(kEntries - 1));
        EXPECT_TRUE(f.PlateList1->updatesEnabled());
        EXPECT_TRUE(f.chkNoRead->isChecked());
        EXPECT_EQ(f.EditNoRead->Text(), "51");
        EXPECT_EQ(f.EditNoMatch->Text(), "7");
        EXPECT_TRUE(f.Modified);
        EXPECT_EQ(f.PlateCount, kEntries - 1);
        EXPECT_TRUE(f.ProgressBar1->isHidden());
        EXPECT_EQ(f.ProgressBar1->value(), kEntries - 1) << "the last entry's position";
        EXPECT_TRUE(f.PanelLeft->isEnabled());

        Lines log{"Connecting to 127.0.0.1.", "Connected.", "> QLS",
                  Format("< QLS%.4x0800", kEntries)};
        for (int i = 0; i < kEntries; ++i) {
            const std::string plate = i == 50 ? "NOREAD" : Format("R%d", i);
            log.push_back(Format("> QLI%.4x", i));
            log.push_back(Format("< QLI%.4x%s=%s", i, plate, FrameHex(i + 1)));
        }
        for (const std::string& line :
             {std::string("> QNF"), "< QNF" + FrameHex(7), std::string("Disconnecting."),
              std::string("Disconnected.")})
            log.push_back(line);
        EXPECT_EQ(LogLines(), log);
    }

    std::optional<LogHighWater> mostLog;
};

TEST_F(DeviceFeedbackTest, AReceiveEndsWithEveryEntryShownInOrderAndTheWholeLog)
{
    Receive(true);
    ExpectReceived();
    ui.VerifyDone();
}

TEST_F(DeviceFeedbackTest, AReceiveWithTheDebugViewOffEndsTheSameOnceTheViewIsOn)
{
    Receive(false);
    ExpectReceived();
    ui.VerifyDone();
}

TEST_F(DeviceFeedbackTest, ASendEndsWithTheDeviceFullTheBarAtItsEndAndTheListUnchanged)
{
    for (const int plates : {3, 100}) {
        device.SetList({});
        auto& f = StartWithDevice();
        f.show();
        FillPlates(plates);
        f.Modified = false;
        f.btnDebugClick();
        const RowList before = PlateRows();
        f.btnSend->click();
        ui.VerifyDone();
        EXPECT_EQ(device.List().size(), static_cast<size_t>(plates));
        EXPECT_EQ(PlateRows(), before);
        EXPECT_FALSE(f.Modified);
        EXPECT_TRUE(f.ProgressBar1->isHidden());
        EXPECT_EQ(f.ProgressBar1->maximum(), plates);
        EXPECT_EQ(f.ProgressBar1->value(), plates) << "the last plate's position";
        const Lines log = LogLines();
        ASSERT_GE(log.size(), 4u);
        EXPECT_EQ(Lines(log.end() - 4, log.end()), (Lines{"> QLS", Format("< QLS%.4x0800", plates),
                                                          "Disconnecting.", "Disconnected."}));
        // Lines: a command and its answer per plate; blocks: one per 16 plates, then 04.
        const auto sent = std::count_if(log.begin(), log.end(), [](const std::string& line) {
            return line.rfind("> SLS", 0) == 0 || line.rfind("> #01 ", 0) == 0;
        });
        EXPECT_EQ(sent, plates < 4 ? plates : (plates + 15) / 16);
        EXPECT_EQ(std::count(log.begin(), log.end(), "> #04 "), plates < 4 ? 0 : 1);
    }
}

// A device's line that holds lone CRs is shown as the memo counts it: each CR ends a line
// (the line's own end closes the last), wherever the device's pieces and the window's
// batches end. A flood of such lines keeps the log within its line bound.
TEST_F(DeviceFeedbackTest, LoneCRsEndLinesWhereverReadsAndBatchesEnd)
{
    // The first answer comes in pieces of 5 bytes, 50 ms apart: a CR LF split across two
    // reads, and a line ending in CR that is the last of a batch. A line too long to show
    // in one (1,024 characters, the time included) goes on in lines of its own.
    DeviceSimulator::CommandRule pieces;
    pieces.prefix = "QLI0000";
    pieces.action = DeviceSimulator::CommandRule::Action::Slow;
    pieces.bytes = "A\rB\r\r\nC\r\r\r\nQLI0000R0=" + FrameHex(1) + "\r\n";
    pieces.pieceSize = 5;
    pieces.pieceDelayMs = 50;
    pieces.times = 1;
    device.AddRule(pieces);
    SendBefore("QLI0001", std::string(2500, 'L'), 1, 1);
    Receive(true);
    const Lines shown = ShownLines();
    const auto first = std::find(shown.begin(), shown.end(), "> QLI0000");
    ASSERT_GE(std::distance(first, shown.end()), 11);
    EXPECT_EQ(Lines(first, first + 11),
              (Lines{"> QLI0000", "< A", "B", "< C", "", "< QLI0000R0=" + FrameHex(1), "> QLI0001",
                     "< " + std::string(1009, 'L'), std::string(1024, 'L'), std::string(467, 'L'),
                     "< QLI0001R1=" + FrameHex(2)}));

    // 100 lines in each line of the device, 10,500 before each of 30 answers.
    std::string line;
    for (int i = 0; i < 100; ++i)
        line += "n\r";
    SendBefore("QLI", line, 105, 30);
    Receive(true);
    ui.VerifyDone();
    EXPECT_EQ(form->PlateCount, kEntries - 1);
    EXPECT_LE(mostLog->lines, kMaxLogLines);
    const Lines log = ShownLines();
    EXPECT_GE(log.size(), static_cast<size_t>(kMaxLogLines / 4 * 3));
    const auto last = std::find(log.begin(), log.end(), Format("> QLI%.4x", 29));
    ASSERT_GT(log.end() - last, 105 * 100);
    EXPECT_EQ(Lines(last + 1, last + 3), (Lines{"< n", "n"}));
    EXPECT_EQ(Lines(last + 100, last + 102), (Lines{"n", "< n"}));
    EXPECT_EQ(last[1 + 105 * 100], Format("< QLI%.4xR29=%s", 29, FrameHex(30)));
}

// The person scrolls the log up during a flood: each trim keeps the line they read at the
// top of the view, or the oldest line kept where that line went; a view at the end stays
// at the end.
TEST_F(DeviceFeedbackTest, ATrimKeepsTheLinesThePersonReads)
{
    SendBefore("QLI", "n", 1000, 60);
    // Where the person scrolls, one place for each trim (-1: the end); a cursor marks the
    // line scrolled to: it moves with the text, and to the first line when its own goes.
    const std::vector<int> scrolls{10000, 100, -1};
    size_t step = 0;
    bool watching = false;
    bool trimmed = false;
    QTextCursor marked;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QPlainTextEdit* memo = form ? form->Memo1 : nullptr;
        if (!memo || step == scrolls.size() || memo->document()->blockCount() < 12000)
            return;
        QScrollBar& bar = *memo->verticalScrollBar();
        if (!watching) {
            watching = true;
            QObject::connect(memo->document(), &QTextDocument::contentsChange, memo,
                             [&](int from, int removed) { trimmed |= from == 0 && removed > 0; });
        } else {
            if (scrolls[step] < 0) {
                EXPECT_EQ(bar.value(), bar.maximum());
            } else {
                EXPECT_EQ(memo->cursorForPosition(QPoint(0, 0)).blockNumber(),
                          marked.blockNumber());
            }
            if (!trimmed)
                return;
            if (scrolls[step] == 10000) {
                EXPECT_TRUE(marked.blockNumber() > 0 && marked.blockNumber() < 10000);
            } else if (scrolls[step] == 100) {
                EXPECT_EQ(marked.blockNumber(), 0);
            }
            if (++step == scrolls.size())
                return;
        }
        trimmed = false;
        bar.setValue(scrolls[step] < 0 ? bar.maximum() : scrolls[step]);
        marked = QTextCursor(memo->document()->findBlockByNumber(bar.value()));
    });
    watch.start();
    Receive(true, 20000);
    EXPECT_EQ(step, scrolls.size()) << "a trim after each scroll";
    ui.VerifyDone();
}

// A wide line (a block sent, a device's unasked line) brings the horizontal scroll bar,
// which makes the view a line shorter and leaves the scroll position short of its new
// maximum: a view at the log's end still follows the end, and one the person scrolled up
// stays where they left it.
TEST_F(DeviceFeedbackTest, TheViewFollowsTheEndPastWideLinesAndStaysWhereThePersonScrolled)
{
    const auto showsTheLastLine = [this] {
        const QPlainTextEdit& memo = *form->Memo1;
        const QRect last = memo.cursorRect(QTextCursor(memo.document()->lastBlock()));
        return last.top() >= 0 && last.bottom() < memo.viewport()->height();
    };
    // A Send of 40 plates, its blocks logged as lines of about 790 characters, then a
    // Receive of 300 entries on the same window.
    device.SetList({});
    auto& f = StartWithDevice();
    f.show();
    f.btnDebugClick();
    FillPlates(40);
    f.btnSend->click();
    std::vector<DeviceSimulator::Entry> entries;
    for (int i = 0; i < 300; ++i)
        entries.push_back({Format("R%d", i), DeviceFrame(i + 1)});
    device.SetList(entries);
    f.btnReceive->click();
    ASSERT_TRUE(QTest::qWaitFor(
        [&f] {
            return f.Memo1->document()->lastBlock().previous().previous().text().contains("QNF");
        },
        30000));
    ui.VerifyDone();
    EXPECT_EQ(f.PlateCount, 300);
    EXPECT_GT(f.Memo1->horizontalScrollBar()->maximum(), 0) << "the lines are wider than the view";
    EXPECT_TRUE(showsTheLastLine());

    // A device that sends a 200-character line before each of its first 60 answers; midway
    // the person scrolls up.
    SendBefore("QLI", std::string(200, 'u'), 1, 60);
    bool followed = false;
    int scrolledTo = -1;
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QPlainTextEdit* memo = form ? form->Memo1 : nullptr;
        if (!memo || !memo->isVisible() || memo->document()->blockCount() < 120)
            return;
        followed = showsTheLastLine();
        memo->verticalScrollBar()->setValue(100);
        scrolledTo = memo->cursorForPosition(QPoint(0, 0)).blockNumber();
        watch.stop();
    });
    watch.start();
    Receive(true);
    ui.VerifyDone();
    EXPECT_EQ(form->PlateCount, 300);
    EXPECT_TRUE(followed) << "the view followed the end before the person scrolled";
    EXPECT_GT(form->Memo1->document()->blockCount(), 600);
    EXPECT_EQ(form->Memo1->cursorForPosition(QPoint(0, 0)).blockNumber(), scrolledTo)
        << "the view stays where the person scrolled";
}

// A device that sends lines the program never asked for, before its first answers, fills
// the log far beyond a normal receive's: long lines pass the character bound, short ones
// the line bound. The log keeps its newest whole lines within both, held while the debug
// view is off and shown once it is on; shown as they come or at once, only what the log
// keeps ever goes into it. The entries all arrive.
TEST_F(DeviceFeedbackTest, AFloodingDevicesLogKeepsItsNewestLinesUpToTheBound)
{
    struct Flood {
        std::string line;
        int lines;    // before each answer
        int answers;  // so flooded, from the first
        bool debugView;
    };
    const std::string longLine(100, 'n');
    for (const Flood& flood : {Flood{longLine, 7000, 25, false}, Flood{longLine, 7000, 25, true},
                               Flood{"n", kMaxLogLines / 25 + 1, 25, true}}) {
        SendBefore("QLI", flood.line, flood.lines, flood.answers);

        Receive(flood.debugView);
        const auto& f = *form;
        EXPECT_EQ(f.PlateCount, kEntries - 1);
        EXPECT_EQ(f.PlateList1->Caption(kEntries - 2), std::to_string(kEntries - 1));
        ui.VerifyDone();

        EXPECT_LE(mostLog->characters, kMaxLogChars);
        EXPECT_LE(mostLog->lines, kMaxLogLines);
        const Lines log = LogLines();
        ASSERT_GT(log.size(), 4u);
        EXPECT_EQ(log.front(), "< " + flood.line) << "whole lines only";
        EXPECT_EQ(Lines(log.end() - 4, log.end()),
                  (Lines{"> QNF", "< QNF" + FrameHex(7), "Disconnecting.", "Disconnected."}));
        EXPECT_EQ(log[log.size() - 6], Format("> QLI%.4x", kEntries - 1));
    }
    // The short lines filled the log up to its line bound, and only those.
    EXPECT_GE(mostLog->lines, kMaxLogLines / 4 * 3);
    EXPECT_LT(mostLog->characters, kMaxLogChars / 2);
}

}  // namespace
