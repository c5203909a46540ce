#include "platform/jpeg/JpegDecoder.h"

#include "platform/jpeg/EJPEG.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf escape;
};

// The decoder's failures come back here by longjmp; a C++ exception must not unwind
// through the library's C frames.
[[noreturn]] void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->escape, 1);
}

void OutputMessage(j_common_ptr)
{
}

// Each scan of a progressive picture walks the whole picture again, so a few bytes per
// scan could keep the decoder busy for minutes.
void LimitScans(j_common_ptr cinfo)
{
    const int scan = reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number;
    if (scan > kMaxJpegScans)
        ERREXIT1(cinfo, JERR_BAD_SCAN_SCRIPT, scan);
}

// Kept free of objects with destructors: the longjmp skips this frame's locals.
// Returns 0 on success, else the decoder's message code.
int Decode(jpeg_decompress_struct& cinfo, ErrorManager& errors, jpeg_progress_mgr& progress,
           std::span<const unsigned char> data, QImage& image)
{
    if (setjmp(errors.escape) != 0)
        return errors.pub.msg_code;

    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    // Refused before the decoder or the picture allocates anything for it.
    if (static_cast<int64_t>(cinfo.image_width) * cinfo.image_height > kMaxJpegPixels)
        ERREXIT1(&cinfo, JERR_IMAGE_TOO_BIG, static_cast<int>(kMaxJpegPixels));
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);

    image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                   QImage::Format_RGB888);
    if (image.isNull())
        ERREXIT1(&cinfo, JERR_OUT_OF_MEMORY, 0);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return 0;
}

}  // namespace

QImage DecodeJpeg(std::span<const unsigned char> data)
{
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.output_message = OutputMessage;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;

    QImage image;
    const int code = Decode(cinfo, errors, progress, data, image);
    jpeg_destroy_decompress(&cinfo);
    if (code != 0)
        throw EJPEG(code);
    return image;
}
