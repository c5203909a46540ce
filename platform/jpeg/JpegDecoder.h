#pragma once

#include <QImage>

#include <span>

// Decodes a JPEG picture held in memory. Raises EJPEG when the decoder cannot read it.
// Warnings (a picture cut short, for one) are not failures: the decoder fills in the rest,
// as it always has.
QImage DecodeJpeg(std::span<const unsigned char> data);
