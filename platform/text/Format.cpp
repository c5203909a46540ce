#include "platform/text/Format.h"

#include "platform/text/Errors.h"
#include "platform/text/LocaleSeparators.h"
#include "platform/text/TextCase.h"

#include <charconv>

namespace {

struct Directive {
    bool leftAlign = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    char conversion = 0;
};

[[noreturn]] void Fail(std::string_view format, const std::string& why)
{
    throw EError("Format \"" + std::string(format) + "\": " + why);
}

int ReadNumber(std::string_view format, std::size_t& i)
{
    int n = 0;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') {
        if (n > 100000)
            Fail(format, "field width out of range");
        n = n * 10 + (format[i] - '0');
        ++i;
    }
    return n;
}

// The value as an unsigned pattern of the argument's own width, so -1 of an int is FFFFFFFF.
uint64_t Pattern(const FormatArg& arg)
{
    if (arg.kind() == FormatArg::Kind::Unsigned)
        return arg.asUnsigned();
    const auto u = static_cast<uint64_t>(arg.asSigned());
    return arg.bits() >= 64 ? u : u & ((uint64_t{1} << arg.bits()) - 1);
}

std::string UnsignedDigits(uint64_t value, int base)
{
    char buffer[24];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, base).ptr;
    return UpperCaseAscii(std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
}

// Sign and digits kept apart so that zero padding goes between them.
struct Number {
    std::string sign;
    std::string digits;
};

Number Integer(const Directive& directive, const FormatArg& arg)
{
    Number n;
    switch (directive.conversion) {
    case 'd':
        if (arg.kind() == FormatArg::Kind::Signed && arg.asSigned() < 0) {
            n.sign = "-";
            n.digits = UnsignedDigits(~static_cast<uint64_t>(arg.asSigned()) + 1, 10);
        } else {
            n.digits = UnsignedDigits(Pattern(arg), 10);
        }
        break;
    case 'u':
        n.digits = UnsignedDigits(Pattern(arg), 10);
        break;
    default:
        n.digits = UnsignedDigits(Pattern(arg), 16);
        break;
    }
    if (directive.precision >= 0 && n.digits.size() < static_cast<std::size_t>(directive.precision))
        n.digits.insert(0, static_cast<std::size_t>(directive.precision) - n.digits.size(), '0');
    return n;
}

Number Fixed(const Directive& directive, double value)
{
    // Two decimals when none are given, as the system's own format routine does.
    const int precision = directive.precision >= 0 ? directive.precision : 2;
    // to_chars, unlike printf, ignores the C locale that QApplication sets up.
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, precision);
    if (result.ec != std::errc())
        return {"", std::string(1, '?')};
    Number n;
    std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    if (!text.empty() && text[0] == '-') {
        n.sign = "-";
        text.remove_prefix(1);
    }
    n.digits = text;
    for (char& c : n.digits) {
        if (c == '.')
            c = DecimalSeparator();
    }
    return n;
}

void Pad(std::string& out, const Directive& directive, const std::string& sign,
         const std::string& body, bool zeroPadAllowed)
{
    const std::size_t length = sign.size() + body.size();
    const std::size_t fill =
        directive.width > 0 && static_cast<std::size_t>(directive.width) > length
            ? static_cast<std::size_t>(directive.width) - length
            : 0;
    if (directive.leftAlign) {
        out += sign;
        out += body;
        out.append(fill, ' ');
    } else if (directive.zeroPad && zeroPadAllowed) {
        out += sign;
        out.append(fill, '0');
        out += body;
    } else {
        out.append(fill, ' ');
        out += sign;
        out += body;
    }
}

bool IsInteger(const FormatArg& arg)
{
    return arg.kind() == FormatArg::Kind::Signed || arg.kind() == FormatArg::Kind::Unsigned;
}

void Convert(std::string& out, std::string_view format, const Directive& directive,
             const FormatArg& arg)
{
    switch (directive.conversion) {
    case 'd':
    case 'u':
    case 'x':
    case 'X': {
        if (!IsInteger(arg))
            Fail(format, std::string("%") + directive.conversion + " needs an integer");
        const Number n = Integer(directive, arg);
        // As printf: a precision sets the digits, so '0' no longer pads.
        Pad(out, directive, n.sign, n.digits, directive.precision < 0);
        break;
    }
    case 'f': {
        if (arg.kind() != FormatArg::Kind::Float)
            Fail(format, "%f needs a floating-point value");
        const Number n = Fixed(directive, arg.asFloat());
        Pad(out, directive, n.sign, n.digits, true);
        break;
    }
    case 's': {
        if (arg.kind() != FormatArg::Kind::Text)
            Fail(format, "%s needs a text");
        std::string_view text = arg.asText();
        if (directive.precision >= 0 && text.size() > static_cast<std::size_t>(directive.precision))
            text = text.substr(0, static_cast<std::size_t>(directive.precision));
        Pad(out, directive, "", std::string(text), false);
        break;
    }
    case 'c':
        if (!IsInteger(arg))
            Fail(format, "%c needs a character");
        Pad(out, directive, "", std::string(1, static_cast<char>(Pattern(arg))), false);
        break;
    default:
        Fail(format, std::string("unknown conversion %") + directive.conversion);
    }
}

}  // namespace

std::string FormatV(std::string_view format, const std::vector<FormatArg>& args)
{
    std::string out;
    out.reserve(format.size() + 16);
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        ++i;
        if (i < format.size() && format[i] == '%') {
            out += '%';
            continue;
        }
        Directive directive;
        for (; i < format.size() && (format[i] == '-' || format[i] == '0'); ++i) {
            if (format[i] == '-')
                directive.leftAlign = true;
            else
                directive.zeroPad = true;
        }
        directive.width = ReadNumber(format, i);
        if (i < format.size() && format[i] == '.') {
            ++i;
            directive.precision = ReadNumber(format, i);
        }
        if (i >= format.size())
            Fail(format, "incomplete conversion at the end");
        directive.conversion = format[i];
        if (next >= args.size())
            Fail(format, std::string("no argument for %") + directive.conversion);
        Convert(out, format, directive, args[next++]);
    }
    return out;
}
