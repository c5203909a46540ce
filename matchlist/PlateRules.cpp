#include "matchlist/PlateRules.h"

#include "platform/text/IntegerReading.h"
#include "platform/text/TextCase.h"

namespace {

bool IsPlateCharacter(unsigned char ch)
{
    if ((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z'))
        return true;
    // Windows-1252 lower-case a, e, i, o, u with diaeresis; their capitals are refused.
    return ch == 0xE4 || ch == 0xEB || ch == 0xEF || ch == 0xF6 || ch == 0xFC;
}

}  // namespace

bool IsValidPlate(std::string_view plate)
{
    // Characters below "0" (blanks, "-", ".", "/" ...) are ignored wherever they stand,
    // which also covers trimming; a-z count as their capitals.
    bool any = false;
    for (const char c : plate) {
        const auto ch = static_cast<unsigned char>(c);
        if (ch < '0')
            continue;
        if (!IsPlateCharacter(ch))
            return false;
        any = true;
    }
    return any;
}

int64_t ReadIdNumber(std::string_view idText)
{
    return StrToInt64Def(Trim(idText), 0);
}

bool IsValidIdNumber(std::string_view idText, int64_t maxId)
{
    const int64_t value = ReadIdNumber(idText);
    return value > 0 && (maxId <= 0 || value <= maxId);
}
