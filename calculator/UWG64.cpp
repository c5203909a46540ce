#include "calculator/UWG64.h"

#include "platform/text/TextCase.h"

#include <string>

namespace quantivo {

namespace {

constexpr size_t MaxCharacters = 10;
constexpr uint64_t Header = 0x6000000000000000ull;

uint64_t CharacterGroup(char ch)
{
    if (ch >= '0' && ch <= '9')
        return static_cast<uint64_t>(ch - 32);
    if (ch >= 'A' && ch <= 'Z')
        return static_cast<uint64_t>(ch - 39);
    return 0x3F;
}

}  // namespace

uint64_t Wiegand64Code(std::string_view text)
{
    std::string used = UpperCaseAscii(Trim(text));
    if (used.size() > MaxCharacters)
        used.resize(MaxCharacters);
    uint64_t code = 0;
    for (char ch : used)
        code = (code << 6) | CharacterGroup(ch);
    return code | Header;
}

}  // namespace quantivo
