// The edit control's text routines on pasted and dropped text, with the locale's
// separators of the common locales: case forms keep a character per character, and a
// value read is written back as a number text.
#include "fuzz/support/Fuzz.h"
#include "platform/text/LocaleSeparators.h"
#include "widgets/FieldEditText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    static constexpr char kSeparators[][2] = {{'.', ','}, {',', '.'}, {',', ' '}, {'.', '\''}};
    const auto& separators = kSeparators[input.ConsumeIntegralInRange<std::size_t>(0, 3)];
    SetLocaleSeparatorsForTesting(separators[0], separators[1]);
    const int decimals = input.ConsumeIntegralInRange(-2, 70);
    const std::string text = input.ConsumeRemainingBytesAsString();

    Require(MixedCase(text).size() == text.size() && UpperCaseLocale(text).size() == text.size() &&
                LowerCaseLocale(text).size() == text.size(),
            "case forms keep a character per character");
    DetectTextType(text);
    HexToInt(text);
    ValInt(text);
    const double value = TextToFloatValue(StripThousandSeparators(text));
    Require(std::isfinite(value), "a value read is a number");
    Require(!FormatFixed(value, decimals, true).empty() && !FormatGeneral(value).empty(),
            "a value is written as a number text");
    return 0;
}
