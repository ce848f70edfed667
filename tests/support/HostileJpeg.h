#pragma once
// JPEG files made to cost a decoder as much as possible for their size, as
// an attacker would make them, and the small encoder they start from.
// Portable: libjpeg only.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "support/JpegEncoder.h"

using TJpegBytes = std::vector<std::uint8_t>;

// Rewrites the picture size in the frame header of a JPEG file.
void SetJpegSize(TJpegBytes& File, int W, int H);

// A progressive 4:4:4 file claiming W x H whose last scan, which codes no
// coefficient, is repeated until the file is TargetBytes long: thousands of
// empty scans, each a pass over the whole picture.
TJpegBytes ManyScansJpeg(int W, int H, std::size_t TargetBytes);

// A progressive file with its last scan repeated until it has Scans scans.
TJpegBytes WithScans(const TJpegBytes& Progressive, int Scans);

// A progressive 4:4:4 file claiming W x H, padded with comment segments to
// TargetBytes: almost no picture data behind a large file size.
TJpegBytes PaddedJpeg(int W, int H, std::size_t TargetBytes);
