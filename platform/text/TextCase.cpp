#include "platform/text/TextCase.h"

char UpperAsciiChar(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

char LowerAsciiChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

namespace {

bool IsBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view WithoutLeadingBlanks(std::string_view text)
{
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    return text.substr(first);
}

std::string_view WithoutTrailingBlanks(std::string_view text)
{
    std::size_t end = text.size();
    while (end > 0 && IsBlank(text[end - 1]))
        --end;
    return text.substr(0, end);
}

}  // namespace

std::string TrimLeft(std::string_view text)
{
    return std::string(WithoutLeadingBlanks(text));
}

std::string TrimRight(std::string_view text)
{
    return std::string(WithoutTrailingBlanks(text));
}

std::string Trim(std::string_view text)
{
    return std::string(WithoutTrailingBlanks(WithoutLeadingBlanks(text)));
}

std::string UpperCaseAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = UpperAsciiChar(c);
    return result;
}

std::string LowerCaseAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = LowerAsciiChar(c);
    return result;
}

int CompareTextAscii(std::string_view a, std::string_view b)
{
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(UpperAsciiChar(a[i]));
        const auto cb = static_cast<unsigned char>(UpperAsciiChar(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameTextAscii(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && CompareTextAscii(a, b) == 0;
}
