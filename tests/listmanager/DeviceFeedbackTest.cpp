// The window shows a command's entries, progress and log lines in batches; what it shows
// at the end is what showing each at once showed: rows, order, log lines, boxes, Modified.
#include "tests/listmanager/DeviceWindowFixture.h"

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
    // command's start.
    void Receive(bool debugView)
    {
        auto& f = StartWithDevice();
        f.show();
        FillPlates(5);
        f.Modified = false;
        mostLog.emplace(*f.Memo1);
        if (debugView)
            f.btnDebugClick();
        f.btnReceive->click();
        if (!debugView)
            f.btnDebugClick();
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
        std::string bytes;
        for (int i = 0; i < flood.lines; ++i)
            bytes += flood.line + "\r\n";
        DeviceSimulator::CommandRule rule;
        rule.prefix = "QLI";
        rule.action = DeviceSimulator::CommandRule::Action::Before;
        rule.bytes = bytes;
        rule.times = flood.answers;
        device.AddRule(rule);

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
