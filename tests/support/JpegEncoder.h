#pragma once
// The one JPEG encoder of the tests, benchmarks and seed corpora: libjpeg's,
// with the few settings they vary. Portable.
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <vector>

#include <jpeglib.h>

struct TJpegOptions {
  J_COLOR_SPACE InSpace = JCS_UNKNOWN;    // JCS_UNKNOWN: RGB for 3 components, grey for 1
  J_COLOR_SPACE FileSpace = JCS_UNKNOWN;  // JCS_UNKNOWN: the library's default
  int Quality = 90;
  bool Progressive = false;
  int RestartInterval = 0;  // in MCUs
  bool FullChroma = false;  // 4:4:4 instead of the library's 4:2:0
  bool AdobeMarker = true;  // only consulted for CMYK and YCCK files
};

// Compresses W x H samples of Components bytes each, rows top-down.
std::vector<std::uint8_t> EncodeJpeg(const std::vector<std::uint8_t>& Samples, int W, int H, int Components,
                                     const TJpegOptions& Options = {});
