#include "widgets/FieldEditText.h"

#include "platform/text/Cp1252.h"
#include "platform/text/IntegerReading.h"
#include "platform/text/LocaleSeparators.h"
#include "platform/text/TextCase.h"

#include <QString>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexLetter(char c)
{
    return (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

bool IsWordBreak(char c)
{
    return c == ' ' || c == '\'' || c == ',' || c == '-' || c == '.';
}

// One character through Qt's case mapping, keeping one character per character.
template <typename Map> char MapCase(char ch, Map map)
{
    const QString mapped = map(QString(QChar(Cp1252ToUnicode(static_cast<unsigned char>(ch)))));
    if (mapped.isEmpty())
        return ch;
    const int code = UnicodeToCp1252(mapped[0].unicode());
    return code < 0 ? ch : static_cast<char>(code);
}

// Puts the locale's separators into a C-locale number text ("1234.5").
std::string Localise(const std::string& plain, bool thousands)
{
    const auto point = plain.find('.');
    std::string integer = plain.substr(0, point);
    std::string fraction = point == std::string::npos ? "" : plain.substr(point + 1);
    std::string sign;
    if (!integer.empty() && integer[0] == '-') {
        sign = "-";
        integer.erase(0, 1);
    }
    if (thousands) {
        for (int i = static_cast<int>(integer.size()) - 3; i > 0; i -= 3)
            integer.insert(static_cast<size_t>(i), 1, ThousandSeparator());
    }
    std::string result = sign + integer;
    if (point != std::string::npos)
        result += DecimalSeparator() + fraction;
    return result;
}

}  // namespace

char LowerChar(char ch)
{
    return LowerAsciiChar(ch);
}

std::string MixedCase(std::string_view s)
{
    std::string r(s);
    const int n = static_cast<int>(s.size());
    bool cap = true;
    // i is 1-based, as the rules count it.
    for (int i = 1; i <= n; ++i) {
        const char c = s[static_cast<size_t>(i - 1)];
        char& out = r[static_cast<size_t>(i - 1)];
        if (IsWordBreak(c)) {
            cap = true;
        } else if (cap) {
            out = UpperAsciiChar(c);
            cap = false;
        } else {
            out = LowerChar(c);
        }
        const auto ends = [&](std::string_view what) {
            const int len = static_cast<int>(what.size());
            return i >= len && std::string_view(r).substr(static_cast<size_t>(i - len),
                                                          static_cast<size_t>(len)) == what;
        };
        const auto mc = r.find(" Mc");
        if ((i == 2 && ends("Mc")) ||
            (i > 2 && mc != std::string::npos && static_cast<int>(mc) == i - 3) ||
            (i > n - 3 && (ends(" I") || ends(" II"))))
            cap = true;
    }
    return r;
}

uint8_t DetectTextType(std::string_view s)
{
    const char decimal = DecimalSeparator();
    const char thousand = ThousandSeparator();
    bool isInt = !s.empty();
    bool isNum = !s.empty();
    bool isHex = !s.empty();
    int decimals = 0;
    int minuses = 0;
    int lastThousand = -1;
    for (int i = 1; i <= static_cast<int>(s.size()); ++i) {
        const char c = s[static_cast<size_t>(i - 1)];
        if (c != '-' && !IsDigit(c))
            isInt = false;
        if (c != ',' && c != '-' && c != '.' && !IsDigit(c))
            isNum = false;
        if (c != '-' && !IsDigit(c) && !IsHexLetter(c))
            isHex = false;
        if (c == thousand) {
            if (i - lastThousand < 3)
                isNum = false;
            lastThousand = i;
        }
        if (c == decimal)
            ++decimals;
        if (c == '-')
            ++minuses;
    }
    uint8_t result = ttOther;
    if (isHex && !isInt)
        result = ttHexadecimal;
    if (isInt)
        result = ttInteger;
    else if (isNum)
        result = ttNumber;
    if (minuses > 1 || decimals > 1)
        result = ttOther;
    return result;
}

std::string StripThousandSeparators(std::string_view s)
{
    const char thousand = ThousandSeparator();
    std::string r;
    r.reserve(s.size());
    for (const char c : s)
        if (c != thousand)
            r += c;
    return r;
}

int HexDigitValue(char ch)
{
    return std::max(HexDigit(ch), 0);
}

int32_t HexToInt(std::string_view s)
{
    uint32_t sum = 0;
    uint32_t weight = 1;  // becomes 0 after eight characters: 16^8 wraps
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        sum += static_cast<uint32_t>(HexDigitValue(*it)) * weight;
        weight *= 16;
    }
    return static_cast<int32_t>(sum);
}

int32_t ValInt(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    // Accumulated as the 32-bit register would hold it; the range check stops the
    // reading before a digit that would certainly overflow.
    uint32_t value = 0;
    bool complete = true;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        const bool digit = hex ? (IsDigit(c) || IsHexLetter(c)) : IsDigit(c);
        if (!digit || value > (hex ? 0x0FFFFFFFu : 0x0CCCCCCCu)) {
            complete = false;
            break;
        }
        value = hex ? value * 16 + static_cast<uint32_t>(HexDigitValue(c))
                    : value * 10 + static_cast<uint32_t>(c - '0');
    }
    if (complete && negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

char UpperCaseChar(char ch)
{
    return MapCase(ch, [](const QString& t) { return t.toUpper(); });
}

char LowerCaseChar(char ch)
{
    return MapCase(ch, [](const QString& t) { return t.toLower(); });
}

std::string UpperCaseLocale(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = UpperCaseChar(c);
    return r;
}

std::string LowerCaseLocale(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = LowerCaseChar(c);
    return r;
}

double TextToFloatValue(std::string_view s)
{
    const char decimal = DecimalSeparator();
    std::string plain;
    for (const char c : StripThousandSeparators(s)) {
        if (c == '.' && decimal != '.')
            return 0;
        plain += c == decimal ? '.' : c;
    }
    size_t begin = plain.find_first_not_of(' ');
    const size_t end = plain.find_last_not_of(' ');
    if (begin == std::string::npos)
        return 0;
    if (plain[begin] == '+')
        ++begin;
    // Only a plain decimal number reads: no "inf", "nan" or hexadecimal floats.
    const char first = begin <= end ? plain[begin] : '\0';
    const char second = begin + 1 <= end ? plain[begin + 1] : '\0';
    if (!IsDigit(first) && first != '.' && !(first == '-' && (IsDigit(second) || second == '.')))
        return 0;
    double value = 0;
    const char* from = plain.data() + begin;
    const char* to = plain.data() + end + 1;
    const auto [ptr, ec] = std::from_chars(from, to, value);
    if (ec != std::errc() || ptr != to)
        return 0;
    return value;
}

std::string FormatFixed(double value, int decimals, bool thousands)
{
    if (!std::isfinite(value))
        return "0";
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 60), value);
    return Localise(buffer, thousands);
}

std::string FormatGeneral(double value)
{
    if (!std::isfinite(value))
        return "0";
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return Localise(buffer, false);
}
