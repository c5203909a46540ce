#include "matchlist/ListFileText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Fields = std::vector<std::string>;

Fields Split(std::string_view line, char d = ';', char q = '"')
{
    return SplitFields(line, d, q);
}

std::string Build(const std::vector<TPlateRow>& rows, const TSpecialEntries& specials = {},
                  char d = ';', char q = '"')
{
    return BuildListFileText(
        static_cast<int>(rows.size()), [&](int i) { return rows[static_cast<size_t>(i)]; },
        specials, d, q);
}

std::vector<TPlateRow> Parse(const std::string& bytes, int firstLine = 1, int64_t maxId = 0)
{
    return ParseListFileText(bytes, firstLine, ';', '"', maxId);
}

}  // namespace

TEST(ListFileText, SplittingRule)
{
    EXPECT_EQ(Split("AB 12;5"), (Fields{"AB", "12", "5"}));
    EXPECT_EQ(Split("\"AB 12\";5"), (Fields{"AB 12", "5"}));
    EXPECT_EQ(Split("\"A\"\"B\";5"), (Fields{"A\"B", "5"}));
    EXPECT_EQ(Split(";5"), (Fields{"", "5"}));
    EXPECT_EQ(Split("5;"), (Fields{"5", ""}));
    EXPECT_EQ(Split("a;;b"), (Fields{"a", "", "b"}));
    EXPECT_EQ(Split("  a ;  b  "), (Fields{"a", "b"}));
    EXPECT_EQ(Split("\"AB\"CD;5"), (Fields{"AB", "CD", "5"}));
    EXPECT_EQ(Split(""), Fields{});
    EXPECT_EQ(Split(" \t\x01 "), Fields{});
    EXPECT_EQ(Split("AB12\t5", '\t'), (Fields{"AB12", "5"}));
}

TEST(ListFileText, UnterminatedQuoteAndNul)
{
    EXPECT_EQ(Split("\"AB 12;5"), Fields{"AB 12;5"});
    EXPECT_EQ(Split("x;\"AB\"\""), (Fields{"x", "AB\""}));
    EXPECT_EQ(Split("\""), Fields{""});
    EXPECT_EQ(Split(std::string("AB\0CD;5", 7)), Fields{"AB"});
    EXPECT_EQ(Split(std::string("\"AB\0\";5", 7)), Fields{"AB"});
}

TEST(ListFileText, SeparatorEqualToQuoteCharacter)
{
    // A field that begins with the character is read as quoted; plain plates still work.
    EXPECT_EQ(Split("AB12;5", ';', ';'), (Fields{"AB12", "5"}));
    EXPECT_EQ(Split(";AB;", ';', ';'), Fields{"AB"});
    EXPECT_EQ(JoinFields({"AB12", "5"}, ';', ';'), "AB12;5");
    EXPECT_EQ(ParseListFileText("AB12;5\r\n", 1, ';', ';', 0),
              (std::vector<TPlateRow>{{"AB12", "5"}}));
}

TEST(ListFileText, JoinAndSplitRoundTrip)
{
    const std::vector<Fields> cases = {
        {"AB 12", "5"},        {"A;B", "7"},        {"\"Q\"", "\"\""}, {"\xE4\xFC\xFF\x80", "9"},
        {"tab\there", "\x01"}, {" lead", "trail "},
    };
    for (const Fields& fields : cases) {
        for (const auto& [d, q] :
             {std::pair{';', '"'}, std::pair{'\t', '\''}, std::pair{',', '"'}}) {
            const std::string line = JoinFields(fields, d, q);
            EXPECT_EQ(SplitFields(line, d, q), fields) << line;
        }
    }
    // Empty fields come back only with a separator that is not itself a blank.
    for (const Fields& fields : {Fields{"", "5"}, Fields{"5", ""}, Fields{"a", "", ""}})
        EXPECT_EQ(Split(JoinFields(fields, ';', '"')), fields);
    EXPECT_EQ(JoinFields({"AB 12", "5"}, ';', '"'), "\"AB 12\";5");
    EXPECT_EQ(JoinFields({"A\"B", "5"}, ';', '"'), "\"A\"\"B\";5");
}

TEST(ListFileText, MegabyteLines)
{
    std::string plate;
    for (int i = 0; i < 200000; ++i)
        plate += "A\"; ";
    const std::string line = JoinFields({plate, "1"}, ';', '"');
    EXPECT_EQ(Split(line), (Fields{plate, "1"}));

    std::string many;
    for (int i = 0; i < 500000; ++i)
        many += "ab;";
    const Fields fields = Split(many);
    ASSERT_EQ(fields.size(), 500001u);
    EXPECT_EQ(fields.front(), "ab");
    EXPECT_EQ(fields.back(), "");

    const std::string open = "\"" + std::string(1 << 20, 'x');
    EXPECT_EQ(Split(open), Fields{std::string(1 << 20, 'x')});
}

TEST(ListFileText, BuildsLinesWithSpecialEntries)
{
    EXPECT_EQ(Build({}), "");

    TSpecialEntries specials;
    specials[0] = {true, "77"};
    specials[1] = {false, "5"};
    specials[2] = {true, ""};
    EXPECT_EQ(Build({{"AB 12", "5"}, {"CD34", "0x10"}}, specials),
              "\"AB 12\";5\r\nCD34;0x10\r\nNOMATCH;77\r\nNOPLATE;\r\n");
    // A NUL in a row must not end the file's text for the rows after it.
    EXPECT_EQ(Parse(Build({{std::string("AB\0CD", 5), "1"}, {"EF", "2"}})),
              (std::vector<TPlateRow>{{"AB", "1"}, {"EF", "2"}}));
    // The separator in force is used for the special lines too.
    specials[2].checked = false;
    EXPECT_EQ(Build({}, specials, '\t'), "NOMATCH\t77\r\n");
}

TEST(ListFileText, ParsesValidEntriesFromTheFirstLine)
{
    const std::string file = "plate;id\r\n"
                             "AB12;5;extra\r\n"
                             "bad:plate;6\n"
                             "CD34;0\r"
                             "AB 12;7\r\n"
                             "\r\n"
                             "NOMATCH;77\r\n"
                             "NOREAD;\r\n"
                             "EF56;$1F";
    const std::vector<TPlateRow> all = {
        {"AB12", "5"}, {"AB", "12"}, {"NOMATCH", "77"}, {"EF56", "$1F"}};
    EXPECT_EQ(Parse(file, 1), all);
    EXPECT_EQ(Parse(file, 0), all);
    EXPECT_EQ(Parse(file, 2), all);
    EXPECT_EQ(Parse(file, 3), (std::vector<TPlateRow>(all.begin() + 1, all.end())));
    EXPECT_TRUE(Parse(file, 10).empty());
    EXPECT_TRUE(Parse(file, 1000000).empty());
    // The id-numbers are held against the bound given.
    EXPECT_EQ(Parse(file, 1, 20), (std::vector<TPlateRow>{{"AB12", "5"}, {"AB", "12"}}));
    // A NUL byte ends the text.
    EXPECT_EQ(Parse(std::string("AB12;5\r\n\0CD34;6\r\n", 17)),
              (std::vector<TPlateRow>{{"AB12", "5"}}));
}

TEST(ListFileText, FullListRoundTrip)
{
    std::vector<TPlateRow> rows;
    for (int i = 0; i < 65535; ++i)
        rows.push_back(
            {"P " + std::to_string(i) + (i % 3 == 0 ? " \"\xE4-" : ""), std::to_string(i + 1)});
    TSpecialEntries specials;
    specials[1] = {true, "65535"};
    std::vector<TPlateRow> expected = rows;
    expected.push_back({"NOREAD", "65535"});
    EXPECT_EQ(Parse(Build(rows, specials)), expected);
}
