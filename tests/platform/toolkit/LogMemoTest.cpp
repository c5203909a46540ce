#include "platform/toolkit/LogMemo.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

qsizetype Characters(const QPlainTextEdit& memo)
{
    return memo.document()->characterCount() - 1;  // without the closing paragraph mark
}

}  // namespace

TEST(LogMemo, TheNewestWholeLinesAreKeptUpToTheBound)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
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
}

TEST(LogMemo, ALineLongerThanTheBoundIsKeptWholeAndAlone)
{
    QPlainTextEdit memo;
    SetUpLogMemo(memo);
    AppendToLog(memo, "Connected.", 100);
    AppendToLog(memo, QString(150, 'x'), 100);
    EXPECT_EQ(memo.toPlainText(), QString(150, 'x'));
    AppendToLog(memo, "Disconnected.", 100);
    EXPECT_EQ(memo.toPlainText(), "Disconnected.");
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
