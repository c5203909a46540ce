// The integer reading rule, trimming, case folding, the Windows-1252 and UTF-16
// conversions and line splitting, on any bytes, with the properties the rest of the system
// builds on.
#include "fuzz/support/Fuzz.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"
#include "platform/text/TextLines.h"
#include "platform/text/Utf16.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    if (const auto value = ReadInt64(bytes))
        Require(ReadInt64(Format("%d", *value)) == value, "a 64-bit value reads from its text");
    if (const auto value = ReadInt32(bytes)) {
        Require(ReadInt32(Format("%d", *value)) == value, "a 32-bit value reads from its text");
        Require(ReadInt64(bytes).has_value(), "what reads at 32 bits reads at 64");
    }

    Require(ToCp1252(ToQString(bytes)) == bytes, "every byte survives a widget's text");
    Require(ToCp1252(FromUtf16Le(std::span(data, size))).size() <= size / 2,
            "UTF-16 text has at most one character per unit");

    const std::string trimmed = Trim(bytes);
    Require(Trim(trimmed) == trimmed && TrimLeft(TrimRight(bytes)) == trimmed,
            "trimming drops the blank ends and nothing else");
    Require(SameTextAscii(UpperCaseAscii(bytes), LowerCaseAscii(bytes)),
            "case folding keeps the text the same without case");

    std::size_t kept = 0;
    const char* after = bytes.data();
    for (const std::string_view line : TTextLines(bytes)) {
        Require(line.find_first_of("\r\n") == std::string_view::npos,
                "a line holds no line break");
        Require(line.data() >= after && line.data() + line.size() <= bytes.data() + size,
                "lines lie in the text, in order");
        after = line.data() + line.size();
        kept += line.size();
    }
    std::size_t cut = 0;
    for (const std::string_view line : TTextLines(TextBeforeNul(bytes)))
        cut += line.size();
    Require(cut <= kept && kept <= size, "lines hold the text's bytes at most once");
    return 0;
}
