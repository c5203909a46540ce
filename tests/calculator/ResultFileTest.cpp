#include "calculator/ResultFile.h"

#include <gtest/gtest.h>

using namespace quantivo;

namespace {

TResultTable Table(std::vector<int> widths, int rows)
{
    return {{"Number plate", "Middle", "Last"}, std::move(widths), rows, [](int row, int column) {
                return std::to_string(row) + char('a' + column);
            }};
}

}  // namespace

TEST(ResultFileText, HiddenColumnsAreLeftOutButColumnZeroAlwaysStays)
{
    EXPECT_EQ(ResultFileText(Table({0, 0, 5}, 2)), "Number plate;Last\r\n0a;0c\r\n1a;1c\r\n");
    EXPECT_EQ(ResultFileText(Table({10, 3, 0}, 1)), "Number plate;Middle\r\n0a;0b\r\n");
}

TEST(ResultFileText, AnEmptyListGivesTheHeaderAlone)
{
    EXPECT_EQ(ResultFileText(Table({1, 1, 1}, 0)), "Number plate;Middle;Last\r\n");
}
