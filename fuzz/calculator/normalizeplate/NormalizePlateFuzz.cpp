// The lines of a plate file as the calculator takes them: each is cleaned to a plate of
// 0-9 and A-Z, at most 16 characters, and the plate's codes and cells are computed.
#include "calculator/NormalizePlate.h"
#include "calculator/PlateCodes.h"
#include "calculator/UWG64.h"
#include "fuzz/support/Fuzz.h"
#include "platform/text/TextLines.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const std::string_view line :
         TTextLines(std::string_view(reinterpret_cast<const char*>(data), size))) {
        quantivo::Wiegand64Code(line);
        const auto plate = quantivo::NormalizePlate(line);
        if (!plate)
            continue;
        fuzz::Require(!plate->empty() && plate->size() <= 16 &&
                          plate->find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ") ==
                              std::string::npos,
                      "a cleaned plate is 1 to 16 of 0-9 and A-Z");
        const quantivo::TPlateCodes codes = quantivo::ComputePlateCodes(*plate);
        fuzz::Require(quantivo::LV1CellTexts(codes)[0] == *plate &&
                          quantivo::LV2CellTexts(codes)[0] == *plate,
                      "a row shows its plate first");
    }
    return 0;
}
