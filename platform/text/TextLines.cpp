#include "platform/text/TextLines.h"

#include <algorithm>

namespace {

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

}  // namespace

TTextLines::Iterator::Iterator(std::string_view text) : rest_(text), atEnd_(false)
{
    ++*this;
}

TTextLines::Iterator& TTextLines::Iterator::operator++()
{
    if (rest_.empty()) {
        atEnd_ = true;
        return *this;
    }
    const auto length =
        static_cast<std::size_t>(std::find_if(rest_.begin(), rest_.end(), IsLineBreak) - rest_.begin());
    line_ = rest_.substr(0, length);
    std::size_t next = length;
    if (next < rest_.size())
        next += rest_.substr(next, 2) == "\r\n" ? 2 : 1;
    rest_.remove_prefix(next);
    return *this;
}

std::string_view TextBeforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}
