// Times the preparation of one saver frame from a 12-megapixel JPEG against a
// bare libjpeg decode of the same file, alternating the two, and reports the
// medians, their ratio and the resampler's throughput.
//
// (a) preparation: TJpegDecoder header and decode into a full-size 32-bit
//     picture, FitImage into 1920 x 1080 (keep aspect, factor 1.0), fill the
//     frame with the background colour, resample the picture centred into it;
// (b) reference: libjpeg with its default settings decoding the same file to
//     a full-size 24-bit RGB buffer.
// Both allocate their full-size buffer in every round, as a loader does; the
// frame, like a saver window's, lives across rounds.

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include <jpeglib.h>

#include "platform/JpegDecoder.h"
#include "platform/Pixels.h"
#include "platform/Resample.h"
#include "settings/FitImage.h"

namespace {

using TClock = std::chrono::steady_clock;
using TBytes = std::vector<std::uint8_t>;

constexpr int PictureW = 4000, PictureH = 3000;
constexpr int FrameW = 1920, FrameH = 1080;
constexpr int Rounds = 21;
constexpr std::uint32_t Background = 0x00203040;

double MillisecondsSince(TClock::time_point Start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  return Values[Values.size() / 2];
}

// A photo-like picture: lighting gradients, textures of several scales and
// sensor-like noise, so the file holds as much detail as a real photo.
TBytes MakePhotoRgb() {
  TBytes Rgb(static_cast<std::size_t>(PictureW) * PictureH * 3);
  std::mt19937 Rng(2024);
  std::normal_distribution<float> Noise(0.0f, 6.0f);
  for (int Y = 0; Y < PictureH; ++Y) {
    for (int X = 0; X < PictureW; ++X) {
      const float Light = 0.55f + 0.45f * std::sin(X * 0.0011f + 0.3f) * std::cos(Y * 0.0017f);
      const float Coarse = 40.0f * std::sin(X * 0.021f + 7.0f * std::sin(Y * 0.004f));
      const float Fine = 18.0f * std::sin((X + 2 * Y) * 0.37f) * std::sin(Y * 0.23f - X * 0.05f);
      const float Grain = Noise(Rng);
      const float Base[3] = {170.0f + Coarse, 120.0f + 0.6f * Coarse + Fine, 90.0f - 0.5f * Coarse};
      std::uint8_t* P = &Rgb[(static_cast<std::size_t>(Y) * PictureW + X) * 3];
      for (int C = 0; C < 3; ++C) {
        const float V = Base[C] * Light + Fine * (C == 1 ? 0.3f : 1.0f) + Grain;
        P[C] = static_cast<std::uint8_t>(std::clamp(V, 0.0f, 255.0f));
      }
    }
  }
  return Rgb;
}

// Quality 90, 4:2:0 (libjpeg's default sampling).
TBytes CompressJpeg(const TBytes& Rgb) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Error{};
  Info.err = jpeg_std_error(&Error);
  jpeg_create_compress(&Info);
  unsigned char* Out = nullptr;
  unsigned long OutSize = 0;
  jpeg_mem_dest(&Info, &Out, &OutSize);
  Info.image_width = PictureW;
  Info.image_height = PictureH;
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, 90, TRUE);
  jpeg_start_compress(&Info, TRUE);
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Row = const_cast<JSAMPROW>(&Rgb[static_cast<std::size_t>(Info.next_scanline) * PictureW * 3]);
    jpeg_write_scanlines(&Info, &Row, 1);
  }
  jpeg_finish_compress(&Info);
  TBytes File(Out, Out + OutSize);
  jpeg_destroy_compress(&Info);
  std::free(Out);
  return File;
}

// (a): returns the time in milliseconds.
double TimePreparation(const TBytes& File, TPixelBuffer& Frame) {
  const auto Start = TClock::now();
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  const int W = Decoder.Width(), H = Decoder.Height();
  std::unique_ptr<std::uint32_t[]> Pixels(new std::uint32_t[static_cast<std::size_t>(W) * H]);
  const TPixelView Picture{Pixels.get(), W, H, W};
  if (!Decoder.Decode(Picture)) std::abort();
  int DrawW = W, DrawH = H;
  FitImage(Frame.Width, Frame.Height, true, 1.0, DrawW, DrawH);
  std::fill(Frame.Data.begin(), Frame.Data.end(), Background);
  Resample(Picture, Frame.View().Sub((Frame.Width - DrawW) / 2, (Frame.Height - DrawH) / 2, DrawW, DrawH));
  return MillisecondsSince(Start);
}

// (b): a bare full-size decode with libjpeg's defaults, straight into the
// rows of an RGB buffer.
double TimeBareDecode(const TBytes& File) {
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
  std::unique_ptr<std::uint8_t[]> Rgb(new std::uint8_t[RowBytes * Info.output_height]);
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

double ResamplerMegapixelsPerSecond(const TBytes& File, TPixelBuffer& Frame) {
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  TPixelBuffer Picture(Decoder.Width(), Decoder.Height());
  if (!Decoder.Decode(Picture.View())) std::abort();
  int DrawW = Picture.Width, DrawH = Picture.Height;
  FitImage(Frame.Width, Frame.Height, true, 1.0, DrawW, DrawH);
  const TPixelView Target = Frame.View().Sub((Frame.Width - DrawW) / 2, (Frame.Height - DrawH) / 2, DrawW, DrawH);
  std::vector<double> Times;
  for (int I = 0; I < Rounds; ++I) {
    const auto Start = TClock::now();
    Resample(Picture.View(), Target);
    Times.push_back(MillisecondsSince(Start));
  }
  const double Megapixels = static_cast<double>(Picture.Width) * Picture.Height / 1e6;
  std::printf("resample %dx%d -> %dx%d: median %.2f ms\n", Picture.Width, Picture.Height, DrawW, DrawH,
              Median(Times));
  return Megapixels / (Median(Times) / 1000.0);
}

}  // namespace

int main() {
  const TBytes File = CompressJpeg(MakePhotoRgb());
  std::printf("picture %dx%d, JPEG 4:2:0 quality 90, %zu bytes\n", PictureW, PictureH, File.size());
  TPixelBuffer Frame(FrameW, FrameH, Background);

  TimePreparation(File, Frame);  // warm-up of both paths
  TimeBareDecode(File);
  std::vector<double> Prepare, Bare, Ratios;
  for (int I = 0; I < Rounds; ++I) {
    const double A = TimePreparation(File, Frame);
    const double B = TimeBareDecode(File);
    Prepare.push_back(A);
    Bare.push_back(B);
    Ratios.push_back(A / B);
  }
  std::printf("rounds: %d\n", Rounds);
  std::printf("(a) preparation of a %dx%d frame: median %.2f ms\n", FrameW, FrameH, Median(Prepare));
  std::printf("(b) bare libjpeg RGB decode:      median %.2f ms\n", Median(Bare));
  std::printf("ratio a/b: %.3f (target <= 1.25)\n", Median(Ratios));
  std::printf("resampler throughput: %.0f source megapixels per second\n",
              ResamplerMegapixelsPerSecond(File, Frame));
  return 0;
}
