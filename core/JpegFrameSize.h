#pragma once
// The pixel size a JPEG file records in its frame header (SOF0 to SOF15 but
// DHT, JPG and DAC), found by walking its markers from SOI up to the first
// scan, never into entropy-coded data. Portable; nothing is allocated; every
// read stays inside the bytes given, so the head of a file is enough.
#include <cstddef>
#include <cstdint>

struct TJpegFrameSize {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
};

// The size as stored (before any Exif turn); zero width and height when the
// bytes hold no frame header before the first scan, or one of zero width or
// height, or break off before it.
TJpegFrameSize JpegFrameSize(const std::uint8_t* Data, std::size_t Size);
