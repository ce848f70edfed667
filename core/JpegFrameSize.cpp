#include "core/JpegFrameSize.h"

#include "core/JpegSegments.h"

TJpegFrameSize JpegFrameSize(const std::uint8_t* Data, std::size_t Size) {
  TJpegFrameSize Found;
  ForEachJpegSegment(Data, Size, [&Found](const TJpegSegment& S) {
    const bool Frame = S.Marker >= 0xC0 && S.Marker <= 0xCF && S.Marker != 0xC4 && S.Marker != 0xC8 && S.Marker != 0xCC;
    if (!Frame) return false;
    // Precision, height, width.
    if (S.Size >= 5) {
      const std::uint32_t Height = static_cast<std::uint32_t>(S.Payload[1]) << 8 | S.Payload[2];
      const std::uint32_t Width = static_cast<std::uint32_t>(S.Payload[3]) << 8 | S.Payload[4];
      if (Width != 0 && Height != 0) Found = {Width, Height};
    }
    return true;
  });
  return Found;
}
