#include "platform/text/Cp1252.h"

#include <array>

namespace {

// 80-9F are the only codes whose characters differ from Latin-1. The five codes the code
// page leaves undefined map to the control characters of the same number, so that every
// byte survives a trip through a widget and back.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool IsHighSurrogate(char16_t ch)
{
    return ch >= 0xD800 && ch <= 0xDBFF;
}
bool IsLowSurrogate(char16_t ch)
{
    return ch >= 0xDC00 && ch <= 0xDFFF;
}

}  // namespace

char16_t Cp1252ToUnicode(unsigned char code)
{
    if (code >= 0x80 && code <= 0x9F)
        return kHigh[code - 0x80];
    return code;
}

int UnicodeToCp1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (std::size_t i = 0; i < kHigh.size(); ++i) {
        if (kHigh[i] == ch)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QString ToQString(std::string_view cp1252)
{
    QString result;
    result.reserve(static_cast<qsizetype>(cp1252.size()));
    for (char c : cp1252)
        result.append(QChar(Cp1252ToUnicode(static_cast<unsigned char>(c))));
    return result;
}

std::string ToCp1252(const QString& text)
{
    std::string result;
    result.reserve(static_cast<std::size_t>(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        // A character outside the basic plane is one character, so one '?'.
        if (IsHighSurrogate(ch) && i + 1 < text.size() && IsLowSurrogate(text[i + 1].unicode())) {
            result += '?';
            ++i;
            continue;
        }
        const int code = UnicodeToCp1252(ch);
        result += code < 0 ? '?' : static_cast<char>(code);
    }
    return result;
}
