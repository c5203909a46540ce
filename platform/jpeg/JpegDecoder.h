#pragma once

#include <QImage>

#include <cstdint>
#include <span>

// The largest picture decoded, in pixels: far beyond any about box, and small enough that
// a header claiming more (a few bytes can claim gigabytes) takes no memory.
inline constexpr int64_t kMaxJpegPixels = 16 * 1024 * 1024;
// The most scans read: encoders write about ten.
inline constexpr int kMaxJpegScans = 100;

// Decodes a JPEG picture held in memory. Raises EJPEG when the decoder cannot read it, with
// the decoder's JERR_IMAGE_TOO_BIG for a picture above kMaxJpegPixels and its
// JERR_BAD_SCAN_SCRIPT for one of more than kMaxJpegScans scans.
// Warnings (a picture cut short, for one) are not failures: the decoder fills in the rest,
// as it always has.
QImage DecodeJpeg(std::span<const unsigned char> data);
