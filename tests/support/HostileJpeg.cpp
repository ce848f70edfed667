#include "support/HostileJpeg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>


namespace {

// The offset of the first marker Marker (0xFF, Marker) at or after From.
std::size_t FindMarker(const TJpegBytes& File, std::uint8_t Marker, std::size_t From = 2) {
  for (std::size_t P = From; P + 1 < File.size(); ++P)
    if (File[P] == 0xFF && File[P + 1] == Marker) return P;
  throw std::runtime_error("marker not found");
}

TJpegBytes FlatProgressive() {
  return EncodeJpeg(std::vector<std::uint8_t>(16 * 16 * 3, 128), 16, 16, 3, {.Progressive = true, .FullChroma = true});
}

}  // namespace

void SetJpegSize(TJpegBytes& File, int W, int H) {
  std::size_t P = 2;
  while (!(File[P] == 0xFF && (File[P + 1] == 0xC0 || File[P + 1] == 0xC1 || File[P + 1] == 0xC2))) ++P;
  File[P + 5] = static_cast<std::uint8_t>(H >> 8);
  File[P + 6] = static_cast<std::uint8_t>(H);
  File[P + 7] = static_cast<std::uint8_t>(W >> 8);
  File[P + 8] = static_cast<std::uint8_t>(W);
}

namespace {

// Repeats the last scan of File (from its scan header to the end of image)
// while More(the file so far, its scan count) answers true.
template <typename F>
TJpegBytes RepeatLastScan(const TJpegBytes& File, F&& More) {
  // (Entropy-coded data never holds 0xFF 0xDA: its 0xFF bytes are stuffed.)
  std::size_t Last = FindMarker(File, 0xDA);
  int Scans = 1;
  for (std::size_t P = Last + 2; P + 1 < File.size(); ++P)
    if (File[P] == 0xFF && File[P + 1] == 0xDA) Last = P, ++Scans;
  const std::size_t End = File.size() - 2;
  const TJpegBytes Scan(File.begin() + static_cast<std::ptrdiff_t>(Last), File.begin() + static_cast<std::ptrdiff_t>(End));
  TJpegBytes Out(File.begin(), File.begin() + static_cast<std::ptrdiff_t>(End));
  while (More(Out.size() + Scan.size() + 2, Scans + 1)) {
    Out.insert(Out.end(), Scan.begin(), Scan.end());
    ++Scans;
  }
  Out.push_back(0xFF);
  Out.push_back(0xD9);
  return Out;
}

}  // namespace

TJpegBytes ManyScansJpeg(int W, int H, std::size_t TargetBytes) {
  TJpegBytes Flat = FlatProgressive();
  SetJpegSize(Flat, W, H);
  return RepeatLastScan(Flat, [TargetBytes](std::size_t Size, int) { return Size <= TargetBytes; });
}

TJpegBytes WithScans(const TJpegBytes& Progressive, int Scans) {
  return RepeatLastScan(Progressive, [Scans](std::size_t, int Count) { return Count <= Scans; });
}

TJpegBytes PaddedJpeg(int W, int H, std::size_t TargetBytes) {
  TJpegBytes Flat = FlatProgressive();
  SetJpegSize(Flat, W, H);
  TJpegBytes File(Flat.begin(), Flat.begin() + 2);
  std::size_t Left = TargetBytes > Flat.size() ? TargetBytes - Flat.size() : 0;
  while (Left >= 4) {
    const std::size_t Length = std::min<std::size_t>(Left - 2, 65535);  // the length counts itself
    File.push_back(0xFF);
    File.push_back(0xFE);
    File.push_back(static_cast<std::uint8_t>(Length >> 8));
    File.push_back(static_cast<std::uint8_t>(Length));
    File.insert(File.end(), Length - 2, ' ');
    Left -= Length + 2;
  }
  File.insert(File.end(), Flat.begin() + 2, Flat.end());
  return File;
}
