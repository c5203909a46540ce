#include "platform/versionres/VersionSource.h"

#include "platform/text/Errors.h"
#include "platform/text/Format.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"
#include "platform/text/TextLines.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace versionres {
namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedStrucVersion = 0x00010000;
constexpr uint32_t kFileFlagsMask = 0x3F;
constexpr uint32_t kOsWindows32 = 0x00000004;
constexpr uint32_t kFileTypeApp = 0x00000001;

using VersionNumber = std::array<uint16_t, 4>;

[[noreturn]] void Fail(std::size_t lineNo, const std::string& why)
{
    throw EError(Format("Version source line %d: %s", lineNo, why));
}

std::optional<uint32_t> ReadHexWord(const std::string& text)
{
    if (text.size() != 4)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

// "1.13" -> 1.13.0.0; up to four dotted numbers of 0..65535.
std::optional<VersionNumber> ReadVersionNumber(const std::string& text)
{
    VersionNumber number{};
    std::size_t part = 0;
    std::size_t pos = 0;
    while (true) {
        std::size_t end = pos;
        uint32_t value = 0;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
            value = value * 10 + static_cast<uint32_t>(text[end] - '0');
            if (value > UINT16_MAX)
                return std::nullopt;
            ++end;
        }
        if (end == pos || part == number.size())
            return std::nullopt;
        number[part++] = static_cast<uint16_t>(value);
        if (end == text.size())
            return number;
        if (text[end] != '.')
            return std::nullopt;
        pos = end + 1;
    }
}

void AppendDword(std::string& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// VS_FIXEDFILEINFO: thirteen 32-bit fields.
std::string FixedFileInfo(const VersionNumber& file, const VersionNumber& product)
{
    std::string out;
    AppendDword(out, kFixedSignature);
    AppendDword(out, kFixedStrucVersion);
    AppendDword(out, (uint32_t{file[0]} << 16) | file[1]);
    AppendDword(out, (uint32_t{file[2]} << 16) | file[3]);
    AppendDword(out, (uint32_t{product[0]} << 16) | product[1]);
    AppendDword(out, (uint32_t{product[2]} << 16) | product[3]);
    AppendDword(out, kFileFlagsMask);
    AppendDword(out, 0);  // flags: a release build
    AppendDword(out, kOsWindows32);
    AppendDword(out, kFileTypeApp);
    AppendDword(out, 0);  // subtype
    AppendDword(out, 0);  // date, high
    AppendDword(out, 0);  // date, low
    return out;
}

}  // namespace

VersionNode ParseVersionSource(const std::string& source)
{
    std::optional<std::pair<uint32_t, uint32_t>> translation;
    std::optional<VersionNumber> fileVersion;
    std::optional<VersionNumber> productVersion;
    std::vector<VersionNode> strings;

    std::size_t lineNo = 0;
    for (const std::string_view text : TTextLines(TextBeforeNul(source))) {
        ++lineNo;
        const std::string line = Trim(text);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            Fail(lineNo, "Key=Value expected");
        const std::string key = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (key.empty())
            Fail(lineNo, "key missing");

        if (key == "Translation") {
            const std::size_t blank = value.find(' ');
            const auto language = ReadHexWord(value.substr(0, blank));
            const auto codePage =
                blank == std::string::npos ? std::nullopt : ReadHexWord(Trim(value.substr(blank)));
            if (!language || !codePage)
                Fail(lineNo, "Translation needs a language and a code page, as 0413 04E4");
            translation.emplace(*language, *codePage);
            continue;
        }
        if (key == "FileVersion" && !(fileVersion = ReadVersionNumber(value)))
            Fail(lineNo, "FileVersion needs up to four numbers, as 1.13.0.0");
        if (key == "ProductVersion" && !(productVersion = ReadVersionNumber(value)))
            Fail(lineNo, "ProductVersion needs up to four numbers, as 1.13");
        strings.push_back({key, true, value, {}});
    }
    if (!translation || !fileVersion || !productVersion)
        Fail(lineNo, "Translation, FileVersion and ProductVersion are required");

    const auto [language, codePage] = *translation;
    std::string translationValue;
    AppendDword(translationValue, language | (codePage << 16));

    VersionNode table{Format("%.4x%.4x", language, codePage), true, "", std::move(strings)};
    VersionNode stringFileInfo{"StringFileInfo", true, "", {std::move(table)}};
    VersionNode var{"Translation", false, translationValue, {}};
    VersionNode varFileInfo{"VarFileInfo", true, "", {std::move(var)}};
    return {"VS_VERSION_INFO",
            false,
            FixedFileInfo(*fileVersion, *productVersion),
            {std::move(stringFileInfo), std::move(varFileInfo)}};
}

}  // namespace versionres
