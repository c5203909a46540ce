// A list file as Open, Import and the start-up load read it, and the save of what was
// loaded: with the separators and quote characters the import dialog offers, every row
// saved comes back as it was, in its order. Other characters, which only a settings file
// edited by hand can give, are read without the round trip.
#include "fuzz/support/Fuzz.h"
#include "matchlist/ListFileText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::array<char, 4> kDelimiters{';', ',', '\t', ' '};
constexpr std::array<char, 2> kQuotes{'"', '\''};

template <std::size_t N> char Choose(FuzzedDataProvider& input, const std::array<char, N>& offered)
{
    const auto pick = input.ConsumeIntegral<uint8_t>();
    return pick < N ? offered[pick] : static_cast<char>(pick);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const char delimiter = Choose(input, kDelimiters);
    const char quote = Choose(input, kQuotes);
    const int firstLine = input.ConsumeIntegralInRange(-1, 3);
    const int64_t maxId = input.ConsumeBool() ? 0 : input.ConsumeIntegral<int64_t>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::vector<TPlateRow> rows = ParseListFileText(text, firstLine, delimiter, quote, maxId);
    const bool offered =
        std::find(kDelimiters.begin(), kDelimiters.end(), delimiter) != kDelimiters.end() &&
        std::find(kQuotes.begin(), kQuotes.end(), quote) != kQuotes.end();
    if (!offered)
        return 0;
    const std::string saved = BuildListFileText(
        static_cast<int>(rows.size()), [&](int row) { return rows[static_cast<std::size_t>(row)]; },
        TSpecialEntries{}, delimiter, quote);
    fuzz::Require(ParseListFileText(saved, 1, delimiter, quote, maxId) == rows,
                  "every row saved comes back as it was");
    return 0;
}
