// Pictures as the about box decodes them: any bytes decode or raise the decoder's error,
// and no picture above the decoder's size bound is decoded.
#include "fuzz/support/Fuzz.h"
#include "platform/jpeg/EJPEG.h"
#include "platform/jpeg/JpegDecoder.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const QImage image = DecodeJpeg({data, size});
        fuzz::Require(static_cast<int64_t>(image.width()) * image.height() <= kMaxJpegPixels,
                      "no picture above the bound is decoded");
    } catch (const EJPEG&) {
    }
    return 0;
}
