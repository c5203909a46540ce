#include "calculator/NormalizePlate.h"

#include "platform/text/TextCase.h"

namespace quantivo {

namespace {

constexpr size_t MaxPlateLength = 16;

}  // namespace

std::optional<std::string> NormalizePlate(std::string_view text)
{
    text = text.substr(0, text.find(';'));
    std::string plate;
    for (char ch : text) {
        ch = UpperAsciiChar(ch);
        if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z')) {
            // A very long line must not grow a long copy: it is rejected anyway.
            if (plate.size() == MaxPlateLength)
                return std::nullopt;
            plate += ch;
        }
    }
    if (plate.empty() || plate == "NUMBERPLATE")
        return std::nullopt;
    return plate;
}

}  // namespace quantivo
