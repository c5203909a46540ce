#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// Format-style helper with the system's meanings of its format strings:
//   %d %u       decimal of any integer argument (64-bit arguments are 64-bit); %u and %x
//               show a negative value as its two's-complement pattern
//   %s          text (std::string, std::string_view or const char*); %.5s cuts to 5 bytes
//   %x %X       upper-case hexadecimal, of the argument's own width (negative values as
//               their two's-complement pattern); %.12x pads with zeros to 12 digits
//   %.1f        fixed decimals with the locale's decimal separator (%f alone: 2 decimals)
//   %c          one character given as an integer (char); %% a percent sign
// Flags '-' and '0' and a field width are honoured as printf does. A conversion without
// an argument, or an argument of the wrong kind, raises EError (a programming fault);
// arguments left over are ignored.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Float, Text };

    template <typename T>
    requires std::is_integral_v<T> FormatArg(T v)  // NOLINT: implicit by design
    {
        if constexpr (std::is_same_v<T, bool>) {
            kind_ = Kind::Unsigned;
            u_ = v ? 1 : 0;
        } else if constexpr (std::is_signed_v<T>) {
            kind_ = Kind::Signed;
            s_ = v;
            bits_ = sizeof(T) * 8;
        } else {
            kind_ = Kind::Unsigned;
            u_ = v;
            bits_ = sizeof(T) * 8;
        }
    }
    FormatArg(double v) : kind_(Kind::Float), f_(v) {}
    FormatArg(const std::string& v) : kind_(Kind::Text), text_(v) {}
    FormatArg(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatArg(const char* v) : kind_(Kind::Text), text_(v ? v : "") {}

    Kind kind() const { return kind_; }
    int64_t asSigned() const { return s_; }
    uint64_t asUnsigned() const { return u_; }
    double asFloat() const { return f_; }
    std::string_view asText() const { return text_; }
    int bits() const { return bits_; }

private:
    Kind kind_;
    int64_t s_ = 0;
    uint64_t u_ = 0;
    double f_ = 0;
    std::string_view text_;
    int bits_ = 64;
};

std::string FormatV(std::string_view format, const std::vector<FormatArg>& args);

template <typename... A> std::string Format(std::string_view format, const A&... args)
{
    return FormatV(format, std::vector<FormatArg>{FormatArg(args)...});
}
