#include "calculator/PlateCodes.h"

#include "calculator/UWG26.h"
#include "calculator/UWG64.h"
#include "platform/text/Format.h"

namespace quantivo {

TPlateCodes ComputePlateCodes(const std::string& cleanedPlate)
{
    TPlateCodes codes;
    codes.plate = cleanedPlate;
    SHA1Digest(cleanedPlate, codes.digest);
    codes.truncatedDigest = codes.digest[4] & 0xFFFFFF;
    codes.facilityCode = codes.truncatedDigest >> 16;
    codes.idNumber = codes.truncatedDigest & 0xFFFF;
    codes.frame26 = Wiegand26Frame(codes.truncatedDigest);
    codes.code64 = Wiegand64Code(cleanedPlate);
    return codes;
}

std::array<std::string, LV1ColumnCount> LV1CellTexts(const TPlateCodes& codes)
{
    const TSHA1Digest& h = codes.digest;
    return {codes.plate,
            Format("0x%.7x", codes.frame26),
            Format("0x%.8x %.8x %.8x %.8x %.8x", h[0], h[1], h[2], h[3], h[4]),
            Format("0x%.6x", codes.truncatedDigest),
            Format("%d", codes.truncatedDigest),
            Format("%d", codes.facilityCode),
            Format("%d", codes.idNumber)};
}

std::array<std::string, LV2ColumnCount> LV2CellTexts(const TPlateCodes& codes)
{
    // The code's bit 63 is always 0, so it reads the same as a signed 64-bit integer.
    return {codes.plate, Format("0x%.16x", codes.code64),
            Format("%d", static_cast<int64_t>(codes.code64))};
}

}  // namespace quantivo
