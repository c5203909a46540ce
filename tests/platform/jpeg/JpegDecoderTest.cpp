#include "platform/jpeg/EJPEG.h"
#include "platform/jpeg/JpegDecoder.h"
#include "platform/file/InputFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <utility>

#include <jpeglib.h>
// After jpeglib.h, which it builds on.
#include <jerror.h>

namespace {

std::string Picture()
{
    return ReadFileBytes(TAVRIN_RESOURCES_DIR "/About.jpg");
}

std::span<const unsigned char> Bytes(const std::string& s)
{
    return {reinterpret_cast<const unsigned char*>(s.data()), s.size()};
}

// The decoder's error code, or -1 when the bytes decode.
int ErrorCode(const std::string& bytes)
{
    try {
        DecodeJpeg(Bytes(bytes));
        return -1;
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.what(), "JPEG error #" + std::to_string(e.Code()));
        return e.Code();
    }
}

unsigned Byte(const std::string& picture, std::size_t at)
{
    return static_cast<unsigned char>(picture.at(at));
}

// Where the first segment after the start marker whose marker is wanted begins (at its FF).
template <typename Wanted> std::size_t SegmentAt(const std::string& picture, Wanted wanted)
{
    std::size_t at = 2;
    while (!wanted(Byte(picture, at + 1)))
        at += 2 + (Byte(picture, at + 2) << 8 | Byte(picture, at + 3));
    return at;
}

// The picture with the size in its frame header replaced.
std::string Resized(std::string picture, int width, int height)
{
    const std::size_t at =
        SegmentAt(picture, [](unsigned marker) { return marker >= 0xC0 && marker <= 0xC2; });
    picture[at + 5] = static_cast<char>(height >> 8);
    picture[at + 6] = static_cast<char>(height);
    picture[at + 7] = static_cast<char>(width >> 8);
    picture[at + 8] = static_cast<char>(width);
    return picture;
}

// Where the picture's first scan begins (its start-of-scan segment) and where its data
// begins, after that segment.
std::pair<std::size_t, std::size_t> FirstScan(const std::string& picture)
{
    const std::size_t at = SegmentAt(picture, [](unsigned marker) { return marker == 0xDA; });
    return {at, at + 2 + (Byte(picture, at + 2) << 8 | Byte(picture, at + 3))};
}

// A small progressive grey picture whose last scan is repeated until it has `scans` scans.
std::string ProgressiveWithScans(int scans)
{
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16, 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    const int written = c.num_scans;
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    const std::string picture(reinterpret_cast<const char*>(out), size);
    std::free(out);

    const std::size_t lastScan = picture.rfind("\xFF\xDA");
    const std::string end = "\xFF\xD9";
    std::string repeated = picture.substr(0, picture.size() - end.size());
    for (int n = written; n < scans; ++n)
        repeated += picture.substr(lastScan, picture.size() - end.size() - lastScan);
    return repeated + end;
}

}  // namespace

TEST(JpegDecoder, AboutPictureIsAColourPicture)
{
    const QImage image = DecodeJpeg(Bytes(Picture()));
    ASSERT_EQ(image.size(), QSize(400, 300));
    // The circle at the top right is orange, far from grey.
    const QColor sun = image.pixelColor(330, 42);
    EXPECT_GT(sun.red() - sun.blue(), 60);
    // The labels' band is dark.
    EXPECT_LT(qGray(image.pixel(200, 140)), 80);
}

TEST(JpegDecoder, UnreadablePicturesGiveTheDecodersError)
{
    EXPECT_EQ(ErrorCode(""), JERR_INPUT_EMPTY);
    EXPECT_EQ(ErrorCode("GIF89a, not a JPEG picture"), JERR_NO_SOI);
    EXPECT_EQ(ErrorCode(Picture().substr(0, 120)), JERR_NO_IMAGE);
    try {
        DecodeJpeg(Bytes("BM"));
        FAIL() << "no error";
    } catch (const EJPEG& e) {
        EXPECT_EQ(std::string(e.what()), "JPEG error #" + std::to_string(JERR_NO_SOI));
    }
}

// A header may claim any size: above 16 megapixels the picture is refused before anything
// is allocated for it; up to there it is decoded (the missing data filled in).
TEST(JpegDecoder, PicturesAboveTheBoundAreRefused)
{
    const std::string picture = Picture();
    EXPECT_EQ(ErrorCode(Resized(picture, 65500, 65500)), JERR_IMAGE_TOO_BIG);
    EXPECT_EQ(ErrorCode(Resized(picture, 4097, 4096)), JERR_IMAGE_TOO_BIG);
    EXPECT_EQ(DecodeJpeg(Bytes(Resized(picture, 4096, 4096))).size(), QSize(4096, 4096));
}

// Every scan walks the whole picture again: a picture of more scans than any encoder writes
// is refused rather than keep the decoder busy for minutes.
TEST(JpegDecoder, PicturesOfTooManyScansAreRefused)
{
    EXPECT_EQ(DecodeJpeg(Bytes(ProgressiveWithScans(kMaxJpegScans))).size(), QSize(16, 16));
    EXPECT_EQ(ErrorCode(ProgressiveWithScans(kMaxJpegScans + 1)), JERR_BAD_SCAN_SCRIPT);
}

// A picture cut before its first scan is refused with the decoder's error; cut anywhere in
// the scan's data, it decodes whole, the missing data filled in. (Bit flips anywhere:
// fuzz_platform_jpeg.)
TEST(JpegDecoder, PictureCutBeforeItsScanIsRefusedAndCutInItsDataIsFilledIn)
{
    const std::string picture = Picture();
    const auto [scan, data] = FirstScan(picture);
    std::mt19937 random(11);
    for (std::size_t size = 0; size < picture.size(); size += 1 + random() % 400) {
        SCOPED_TRACE(size);
        const std::string cut = picture.substr(0, size);
        if (size <= scan) {
            EXPECT_GT(ErrorCode(cut), 0);
        } else if (size >= data) {
            EXPECT_EQ(DecodeJpeg(Bytes(cut)).size(), QSize(400, 300));
        }
    }
    EXPECT_GT(ErrorCode(picture.substr(0, scan)), 0);
    EXPECT_EQ(DecodeJpeg(Bytes(picture.substr(0, data))).size(), QSize(400, 300));
}
