#include "platform/text/LogLines.h"
#include "platform/text/TextLines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::string_literals;
using Lines = std::vector<std::string>;

namespace {

Lines LinesOf(std::string_view text)
{
    Lines lines;
    for (const std::string_view line : TTextLines(text))
        lines.emplace_back(line);
    return lines;
}

}  // namespace

TEST(TextLines, LinesEndAtEachKindOfBreak)
{
    EXPECT_EQ(LinesOf(""), Lines{});
    EXPECT_EQ(LinesOf("\n"), Lines{""});
    EXPECT_EQ(LinesOf("\r\n"), Lines{""});
    EXPECT_EQ(LinesOf("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(LinesOf("a\r\rb\n\r\n"), (Lines{"a", "", "b", ""}));
    EXPECT_EQ(LinesOf("a\n\rb"), (Lines{"a", "", "b"}));  // LF CR is two breaks
    EXPECT_EQ(LinesOf("last\r\n"), Lines{"last"});
    EXPECT_EQ(LinesOf("last\r"), Lines{"last"});
}

TEST(TextLines, ANulByteEndsTheTextOnlyWhereTheFileSaysSo)
{
    const std::string bytes = "a\r\nb\0c\r\nd"s;
    EXPECT_EQ(LinesOf(TextBeforeNul(bytes)), (Lines{"a", "b"}));
    EXPECT_EQ(LinesOf(TextBeforeNul("\0a\nb"s)), Lines{});
    EXPECT_EQ(LinesOf(TextBeforeNul("no nul\n")), Lines{"no nul"});
    EXPECT_EQ(LinesOf(bytes), (Lines{"a", "b\0c"s, "d"}));
}

// Nothing is copied: a file of line breaks costs no more than its bytes, however many
// lines it has, and a huge line is walked once.
TEST(TextLines, LinesAreWalkedWhereTheyLie)
{
    std::string bytes(4 << 20, 'x');
    bytes += "\r\n";
    for (int i = 0; i < 300000; ++i)
        bytes += "AB12CD;12345\r\n";
    std::size_t count = 0;
    std::size_t next = 0;  // where the next line must start
    std::string_view last;
    for (const std::string_view line : TTextLines(bytes)) {
        ASSERT_EQ(line.data(), bytes.data() + next) << count;
        next += line.size() + 2;
        last = line;
        ++count;
    }
    EXPECT_EQ(count, 300001u);
    EXPECT_EQ(last, "AB12CD;12345");
    EXPECT_EQ(next, bytes.size());
}

namespace {

Lines LogLinesOf(std::string_view entry, size_t maxLength = kMaxLogLineLength)
{
    std::string text = "before\n";
    const size_t count = AppendLogLines(text, entry, maxLength);
    EXPECT_EQ(text.back(), '\n');
    Lines lines;
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(lines.front(), "before") << "appended to what was there";
    lines.erase(lines.begin());
    EXPECT_EQ(lines.size(), count);
    return lines;
}

}  // namespace

// An entry of a log is one line or more, as a text view shows it: every kind of break
// ends a line, the entry's end ends the last one.
TEST(TextLines, AnEntryOfALogIsCutIntoTheLinesAViewShows)
{
    EXPECT_EQ(LogLinesOf(""), Lines{""});
    EXPECT_EQ(LogLinesOf("< QVEVer1.10"), Lines{"< QVEVer1.10"});
    EXPECT_EQ(LogLinesOf("< U\rU\rU\r"), (Lines{"< U", "U", "U"}));
    EXPECT_EQ(LogLinesOf("< X\r\r"), (Lines{"< X", ""}));
    EXPECT_EQ(LogLinesOf("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(LogLinesOf("\r"), Lines{""});
    EXPECT_EQ(LogLinesOf("\r\r\n\n"), (Lines{"", "", ""}));

    // A bound on the length goes on in lines of their own, byte for byte.
    EXPECT_EQ(LogLinesOf("abcdefg", 3), (Lines{"abc", "def", "g"}));
    EXPECT_EQ(LogLinesOf("abcdef", 3), (Lines{"abc", "def"}));
    EXPECT_EQ(LogLinesOf("abc\rdefgh\r\n", 3), (Lines{"abc", "def", "gh"}));
    EXPECT_EQ(LogLinesOf("abc\r", 3), Lines{"abc"});
    EXPECT_EQ(LogLinesOf(std::string(2500, 'x')),
              (Lines{std::string(1024, 'x'), std::string(1024, 'x'), std::string(452, 'x')}));
}
