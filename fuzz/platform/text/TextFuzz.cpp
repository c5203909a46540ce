// The integer reading rule, trimming, case folding, the Windows-1252 and UTF-16
// conversions, line splitting and the cutting of a peer's text into log lines, on any bytes, with the properties the rest of the system
// builds on.
#include "fuzz/support/Fuzz.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/LogLines.h"
#include "platform/text/TextCase.h"
#include "platform/text/TextLines.h"
#include "platform/text/Utf16.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using fuzz::Require;

namespace {

// Where each line starts in the text, and its length.
using TLines = std::vector<std::pair<std::size_t, std::size_t>>;

TLines LinesOf(const TTextLines& lines, std::string_view text)
{
    TLines found;
    for (const std::string_view line : lines)
        found.emplace_back(static_cast<std::size_t>(line.data() - text.data()), line.size());
    return found;
}

// A line ends at CR, LF or CR LF; a last line without a line break counts; a final line
// break starts no other.
TLines ReferenceLines(std::string_view text)
{
    TLines lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.emplace_back(start, i - start);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.emplace_back(start, text.size() - start);
    return lines;
}

// The lines a log shows for an entry: the text's lines (an empty entry is one empty line),
// each cut every maxLength characters, each followed by LF.
std::pair<std::string, std::size_t> ReferenceLogLines(std::string_view entry,
                                                      std::size_t maxLength)
{
    TLines lines = ReferenceLines(entry);
    if (lines.empty())
        lines.emplace_back(0, 0);
    std::string shown;
    std::size_t count = 0;
    for (const auto& [start, length] : lines) {
        std::size_t done = 0;
        do {
            const std::size_t piece = std::min(maxLength, length - done);
            shown.append(entry.substr(start + done, piece)).push_back('\n');
            ++count;
            done += piece;
        } while (done < length);
    }
    return {shown, count};
}

}  // namespace

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

    Require(LinesOf(TTextLines(bytes), bytes) == ReferenceLines(bytes),
            "the lines are those of a plain walk of the bytes");
    // A small bound from the input, so lines of any length meet it; what the log held before
    // stays as it was.
    const std::size_t maxLength = size == 0 ? 1 : 1 + data[0] % 16;
    std::string log = "held\n";
    const std::size_t count = AppendLogLines(log, bytes, maxLength);
    const auto [shown, expected] = ReferenceLogLines(bytes, maxLength);
    Require(log == "held\n" + shown && count == expected,
            "a peer's text shows as its lines, each cut at the bound, every byte kept");

    std::size_t nul = 0;
    while (nul < size && bytes[nul] != '\0')
        ++nul;
    Require(TextBeforeNul(bytes) == std::string_view(bytes).substr(0, nul),
            "the text before a NUL ends at the first NUL");
    return 0;
}
