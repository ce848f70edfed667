#pragma once
// 32-bit pixels as a DIB section holds them: one std::uint32_t per pixel,
// 0x00RRGGBB (bytes B, G, R, 0 in memory), rows top-down. Portable.
//
// The high byte is not part of the colour, as for GDI: code that composes
// pixels writes 0 there, but a decoder may leave another value (the JPEG
// decoder leaves libjpeg's 0xFF rather than spend a pass over the picture),
// so every reader ignores it (PixelRgb, PixelR/G/B; the resampler and the BMP
// writer do).
#include <cstddef>
#include <cstdint>
#include <vector>

// A non-owning view of a rectangle of pixels. Stride is in pixels and may be
// larger than Width, so a view can name a sub-rectangle of a bigger image.
struct TPixelView {
  std::uint32_t* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t Stride = 0;

  std::uint32_t* Row(int Y) const { return Pixels + Y * Stride; }
  TPixelView Sub(int X, int Y, int W, int H) const {
    return TPixelView{Pixels + Y * Stride + X, W, H, Stride};
  }
};

// An owning, tightly packed pixel image; used by portable code and tests.
struct TPixelBuffer {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Data;

  TPixelBuffer() = default;
  TPixelBuffer(int W, int H, std::uint32_t Fill = 0x00FFFFFF)
      : Width(W), Height(H), Data(static_cast<std::size_t>(W) * H, Fill) {}
  TPixelView View() { return TPixelView{Data.data(), Width, Height, Width}; }
  std::uint32_t At(int X, int Y) const { return Data[static_cast<std::size_t>(Y) * Width + X]; }
};

constexpr std::uint32_t MakePixel(int R, int G, int B) {
  return (static_cast<std::uint32_t>(R) << 16) | (static_cast<std::uint32_t>(G) << 8) |
         static_cast<std::uint32_t>(B);
}
constexpr std::uint32_t PixelRgb(std::uint32_t P) { return P & 0x00FFFFFF; }
constexpr int PixelR(std::uint32_t P) { return (P >> 16) & 0xFF; }
constexpr int PixelG(std::uint32_t P) { return (P >> 8) & 0xFF; }
constexpr int PixelB(std::uint32_t P) { return P & 0xFF; }
