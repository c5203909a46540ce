#pragma once

#include <iterator>
#include <string_view>

// The lines of a text, walked where they lie: nothing is copied or kept, so a line that
// is skipped costs nothing beyond the text. A line ends at CR, LF or CR LF; a last line
// without a line break is kept; a final line break does not start another line.
//     for (std::string_view line : TTextLines(text)) ...
class TTextLines final {
public:
    class Iterator final {
    public:
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        explicit Iterator(std::string_view text);

        std::string_view operator*() const { return line_; }
        Iterator& operator++();
        void operator++(int) { ++*this; }
        bool operator==(std::default_sentinel_t) const { return atEnd_; }

    private:
        std::string_view rest_;  // the text after the current line and its line break
        std::string_view line_;
        bool atEnd_ = true;
    };

    explicit TTextLines(std::string_view text) : text_(text) {}

    Iterator begin() const { return Iterator(text_); }
    std::default_sentinel_t end() const { return {}; }

private:
    std::string_view text_;
};

// The text up to its first NUL byte (all of it when there is none), for readers that take
// a NUL as the end of the text.
std::string_view TextBeforeNul(std::string_view text);
