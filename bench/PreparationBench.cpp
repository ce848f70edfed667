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
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/PhotoJpeg.h"
#include "platform/JpegDecoder.h"
#include "platform/Pixels.h"
#include "platform/Resample.h"
#include "settings/FitImage.h"

namespace {

using namespace Bench;

constexpr int FrameW = 1920, FrameH = 1080;
constexpr int Rounds = 21;
constexpr std::uint32_t Background = 0x00203040;

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
  const TBytes File = MakePhotoJpeg();
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
