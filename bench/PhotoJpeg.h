#pragma once
// Shared by the benchmark programs: a 12-megapixel photo-like JPEG made in
// memory, and the references every figure is a ratio to, a bare full-size
// libjpeg decode of that file into a fresh buffer (what a loader that
// allocates its picture pays) and into a buffer reused across rounds (what
// the decoder alone costs). Header-only; portable.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "support/JpegEncoder.h"

namespace Bench {

using TClock = std::chrono::steady_clock;
using TBytes = std::vector<std::uint8_t>;

constexpr int PictureW = 4000, PictureH = 3000;

inline double MillisecondsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

inline double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

// A photo-like picture: lighting gradients, textures of several scales and
// sensor-like noise, so the file holds as much detail as a real photo.
inline TBytes MakePhotoRgb(int W, int H) {
  TBytes Rgb(static_cast<std::size_t>(W) * H * 3);
  std::mt19937 Rng(2024);
  std::normal_distribution<float> Noise(0.0f, 6.0f);
  for (int Y = 0; Y < H; ++Y) {
    for (int X = 0; X < W; ++X) {
      const float Light = 0.55f + 0.45f * std::sin(X * 0.0011f + 0.3f) * std::cos(Y * 0.0017f);
      const float Coarse = 40.0f * std::sin(X * 0.021f + 7.0f * std::sin(Y * 0.004f));
      const float Fine = 18.0f * std::sin((X + 2 * Y) * 0.37f) * std::sin(Y * 0.23f - X * 0.05f);
      const float Grain = Noise(Rng);
      const float Base[3] = {170.0f + Coarse, 120.0f + 0.6f * Coarse + Fine, 90.0f - 0.5f * Coarse};
      std::uint8_t* P = &Rgb[(static_cast<std::size_t>(Y) * W + X) * 3];
      for (int C = 0; C < 3; ++C) {
        const float V = Base[C] * Light + Fine * (C == 1 ? 0.3f : 1.0f) + Grain;
        P[C] = static_cast<std::uint8_t>(std::clamp(V, 0.0f, 255.0f));
      }
    }
  }
  return Rgb;
}

// Quality 90, 4:2:0 (libjpeg's default sampling).
inline TBytes CompressJpeg(const TBytes& Rgb, int W, int H) { return EncodeJpeg(Rgb, W, H, 3); }

// A bare full-size decode with libjpeg's defaults, straight into the rows of
// an RGB buffer: Rgb when it is given (it must be large enough; it is reused
// across rounds, so its pages are already mapped), else a buffer allocated
// for this decode, as a loader that allocates its picture does.
inline double TimeBareDecode(const TBytes& File, std::uint8_t* Rgb = nullptr) {
  const auto Start = TClock::now();
  jpeg_decompress_struct Info{};
  jpeg_error_mgr Error{};
  Info.err = jpeg_std_error(&Error);
  jpeg_create_decompress(&Info);
  jpeg_mem_src(&Info, File.data(), File.size());
  jpeg_read_header(&Info, TRUE);
  Info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&Info);
  const std::size_t RowBytes = static_cast<std::size_t>(Info.output_width) * 3;
  std::unique_ptr<std::uint8_t[]> Fresh;
  if (!Rgb) {
    Fresh.reset(new std::uint8_t[RowBytes * Info.output_height]);
    Rgb = Fresh.get();
  }
  JSAMPROW Rows[16];
  while (Info.output_scanline < Info.output_height) {
    const unsigned Count = std::min(16u, Info.output_height - Info.output_scanline);
    for (unsigned I = 0; I < Count; ++I) Rows[I] = &Rgb[(Info.output_scanline + I) * RowBytes];
    jpeg_read_scanlines(&Info, Rows, Count);
  }
  jpeg_finish_decompress(&Info);
  jpeg_destroy_decompress(&Info);
  volatile std::uint8_t Sink = Rgb[RowBytes * Info.output_height / 2];
  (void)Sink;
  return MillisecondsSince(Start);
}

// The photo-like test picture as a JPEG file, quality 90, 4:2:0; by default
// the 4000 x 3000 one.
inline TBytes MakePhotoJpeg(int W = PictureW, int H = PictureH) { return CompressJpeg(MakePhotoRgb(W, H), W, H); }

}  // namespace Bench
