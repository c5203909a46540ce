#pragma once

#include <QImage>

#include <cstdint>
#include <span>

// The largest picture decoded, in pixels: far beyond any about box, and small enough that
// a header claiming more (a few bytes can claim gigabytes) takes no memory.
inline constexpr int64_t kMaxJpegPixels = 16 * 1024 * 1024;

// Decodes a JPEG picture held in memory. Raises EJPEG when the decoder cannot read it, and
// with the decoder's JERR_IMAGE_TOO_BIG for a picture above kMaxJpegPixels.
// Warnings (a picture cut short, for one) are not failures: the decoder fills in the rest,
// as it always has.
QImage DecodeJpeg(std::span<const unsigned char> data);
