#include "platform/toolkit/LogMemo.h"

#include "tests/support/LogHighWater.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

qsizetype Characters(const QPlainTextEdit& memo)
{
    return memo.document()->characterCount() - 1;  // without the closing paragraph mark
}

QStringList Numbers(int from, int to)
{
    QStringList numbers;
    for (int i = from; i < to; ++i)
        numbers << QString::number(i);
    return numbers;
}

// The memo's lines are the numbers up to `last`, at least `least` of them.
void ExpectNumbersUpTo(const QPlainTextEdit& memo, int last, int least)
{
    const QStringList lines = memo.toPlainText().split('\n');
    EXPECT_GE(lines.size(), least);
    EXPECT_EQ(
        lines.join('\n').toStdString(),
        Numbers(last + 1 - static_cast<int>(lines.size()), last + 1).join('\n').toStdString());
}

}  // namespace

// Only what survives the bound goes in: the document never holds more than it keeps.
TEST(LogMemo, TheNewestWholeLinesAreKeptUpToTheBound)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    const LogHighWater most(memo);
    constexpr qsizetype kBound = 1000;
    for (int i = 0; i < 500; ++i)
        AppendToLog(memo, QStringLiteral("line %1").arg(i), kBound);
    EXPECT_LE(Characters(memo), kBound);
    EXPECT_GE(Characters(memo), kBound / 2);
    EXPECT_EQ(memo.document()->lastBlock().text(), "line 499");
    // Whatever is kept is the log's end, line for line, from the start of a line.
    const QStringList lines = memo.toPlainText().split('\n');
    const int first = 500 - static_cast<int>(lines.size());
    for (int i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], QStringLiteral("line %1").arg(first + i));

    // Several lines at once count as what they are.
    AppendToLog(memo, QString(300, 'a') + '\n' + QString(300, 'b'), kBound);
    EXPECT_LE(Characters(memo), kBound);
    EXPECT_EQ(memo.document()->lastBlock().text(), QString(300, 'b'));
    EXPECT_EQ(memo.document()->lastBlock().previous().text(), QString(300, 'a'));

    // More at once than the bound keeps: its newest lines alone.
    AppendToLog(memo, Numbers(0, 400).join('\n'), kBound);
    EXPECT_EQ(memo.toPlainText().toStdString(), Numbers(400 - 250, 400).join('\n').toStdString());
    EXPECT_LE(most.characters, kBound);

    // The log is always one run of lines: where a batch's older lines were left out, or lines
    // before it were let go, none of the memo's lines stay, however much room is left.
    AppendToLog(memo, "old", kBound);
    AppendToLog(memo, "b1\n" + QString(100, 'x') + "\nc1", 100);
    EXPECT_EQ(memo.toPlainText().toStdString(), "c1");
    AppendToLog(memo, "c2", kBound);
    AppendToLog(memo, "e1\ne2", kBound, TLogRun::AfterGap);
    EXPECT_EQ(memo.toPlainText().toStdString(), "e1\ne2");
}

TEST(LogMemo, TheNewestLinesAreKeptUpToTheLineBoundAndTheViewFollowsThem)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    memo.setMaximumBlockCount(100);
    memo.resize(200, 100);
    memo.show();
    const LogHighWater most(memo);
    for (int i = 0; i < 150; ++i)
        AppendToLog(memo, QString::number(i));
    ExpectNumbersUpTo(memo, 149, 75);
    // A batch of which only the newest hundred lines survive, then one that takes some of
    // the lines before it along.
    AppendToLog(memo, Numbers(150, 400).join('\n'));
    EXPECT_EQ(memo.toPlainText().toStdString(), Numbers(300, 400).join('\n').toStdString());
    AppendToLog(memo, Numbers(400, 430).join('\n'));
    ExpectNumbersUpTo(memo, 429, 75);
    EXPECT_EQ(most.lines, 100);
    EXPECT_EQ(memo.verticalScrollBar()->value(), memo.verticalScrollBar()->maximum());
    EXPECT_GT(memo.verticalScrollBar()->maximum(), 0);

    // The character bound still holds with the line bound, whichever comes first.
    AppendToLog(memo, QString(40, 'x') + '\n' + QString(40, 'y'), 100);
    EXPECT_LE(Characters(memo), 100);
    EXPECT_TRUE(memo.toPlainText().endsWith(QString(40, 'x') + '\n' + QString(40, 'y')));
}

// A trim lets the oldest lines go while the person reads the log scrolled up: the view
// keeps the lines it showed, or shows the oldest line kept where those went. A view at the
// log's end stays at the end.
TEST(LogMemo, ATrimKeepsTheLinesAViewScrolledUpShows)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    memo.setLineWrapMode(QPlainTextEdit::NoWrap);
    memo.setMaximumBlockCount(100);
    memo.resize(200, 100);
    memo.show();
    QScrollBar& bar = *memo.verticalScrollBar();
    const auto shownFirst = [&memo] {
        return memo.cursorForPosition(QPoint(0, 0)).block().text().toStdString();
    };
    AppendToLog(memo, Numbers(0, 90).join('\n'));

    struct Step {
        int scrollTo;   // -1: the end
        int from, to;   // the numbers appended
        QString run;    // the lines then kept
        QString shown;  // the first line shown after the append
        TLogRun gap = TLogRun::Continues;
    };
    // 90 lines and 30 more pass the bound of 100: down to 75, 45 go. Line 60 stays and is
    // still shown; line 40 went, and the oldest kept (45) is shown. After a gap, the first
    // line appended.
    for (const Step& step : {Step{60, 90, 120, "45..119", "60"}, Step{4, 120, 150, "75..149", "75"},
                             Step{-1, 150, 180, "105..179", ""},
                             Step{20, 500, 510, "500..509", "500", TLogRun::AfterGap}}) {
        bar.setValue(step.scrollTo < 0 ? bar.maximum() : step.scrollTo);
        ASSERT_EQ(bar.value() == bar.maximum(), step.scrollTo < 0);
        AppendToLog(memo, Numbers(step.from, step.to).join('\n'), kMaxLogChars, step.gap);
        const QStringList run = step.run.split("..");
        EXPECT_EQ(memo.toPlainText().toStdString(),
                  Numbers(run[0].toInt(), run[1].toInt() + 1).join('\n').toStdString());
        if (step.scrollTo < 0)
            EXPECT_EQ(bar.value(), bar.maximum()) << "a view at the end stays there";
        else
            EXPECT_EQ(shownFirst(), step.shown.toStdString());
    }
}

// With the debug view on, a full receive logs each exchange's command and answer, 65,537
// exchanges, and the connection's four lines: all of it stays.
TEST(LogMemo, AFullReceivesLogIsKeptWhole)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    EXPECT_EQ(memo.maximumBlockCount(), kMaxLogLines);
    const QString time = QStringLiteral("12:00:00:000 ");
    AppendToLog(memo, time + "Connecting to 192.168.100.200.\n" + time + "Connected.");
    constexpr int kExchanges = 65537;
    for (int i = 0; i < kExchanges; i += 1000) {
        QStringList batch;
        for (int j = i; j < std::min(i + 1000, kExchanges); ++j)
            batch << time + QString::asprintf("> QLI%.4X", j)
                  << time + QString::asprintf("< QLI%.4XPLATE%.6d=%.12X", j, j, j);
        AppendToLog(memo, batch.join('\n'));
    }
    AppendToLog(memo, time + "Disconnecting.\n" + time + "Disconnected.");
    EXPECT_EQ(memo.document()->blockCount(), 2 * kExchanges + 4);
    EXPECT_EQ(memo.document()->firstBlock().text(), time + "Connecting to 192.168.100.200.");
}

// The bound and the undo setting stay whatever the log had to let go of.
TEST(LogMemo, ALineLongerThanTheBoundIsKeptWholeAndAlone)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    AppendToLog(memo, "Connected.", 100);
    AppendToLog(memo, QString(150, 'x'), 100);
    EXPECT_EQ(memo.toPlainText(), QString(150, 'x'));
    AppendToLog(memo, "Disconnected.", 100);
    EXPECT_EQ(memo.toPlainText(), "Disconnected.");
    AppendToLog(memo, "a\n" + QString(120, 'y'), 100);
    EXPECT_EQ(memo.toPlainText(), QString(120, 'y'));
    EXPECT_EQ(memo.maximumBlockCount(), kMaxLogLines);
    EXPECT_FALSE(memo.document()->isUndoAvailable());
}

TEST(LogMemo, AppendsLeaveNothingToUndo)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    AppendToLog(memo, "< QVEVer1.10");
    EXPECT_FALSE(memo.document()->isUndoAvailable());
    memo.undo();
    EXPECT_EQ(memo.toPlainText(), "< QVEVer1.10");
}
