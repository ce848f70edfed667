// Times the preparation of one saver frame from a JPEG against bare libjpeg
// decodes of the same file, alternating the paths round by round, and
// reports the medians, their ratios, the bytes of picture buffers each path
// allocates, and the resampler's throughput.
//
// (a) today's preparation: TJpegDecoder header and decode into a freshly
//     allocated full-size 32-bit picture, FitImage into the frame (keep
//     aspect, factor 1.0), fill the frame with the background colour,
//     resample the picture centred into it;
// (b) the new preparation, as the loader does it: header, FitImage on the
//     full size, fill, then the picture decoded at a reduced DCT scale where
//     that covers the drawn size and streamed through the resampler straight
//     into the frame; the resampler lives across rounds, the decoder is new
//     for each picture, as in the loader;
// (c) reference: libjpeg with its default settings decoding the same file to
//     a freshly allocated full-size 24-bit RGB buffer;
// (d) reference: the same decode into a buffer reused across rounds, what
//     the decoder costs with memory out of the picture.
// The frame, like a saver window's, lives across rounds. Cases: a 1920 x
// 1080 picture on a 1920 x 1080 frame, the 12-megapixel one on 2560 x 1440
// (drawn too close to the half size to decode at it) and on 1920 x 1080. The
// last line is the new preparation over the reused-buffer decode for the
// 12-megapixel picture on a 1920 x 1080 frame. Argument: the number of
// rounds (default 21).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "bench/PhotoJpeg.h"
#include "core/FitImage.h"
#include "core/FittedJpeg.h"
#include "core/JpegDecoder.h"
#include "core/Pixels.h"
#include "core/Resample.h"

namespace {

using namespace Bench;

constexpr int FrameW = 1920, FrameH = 1080;
int Rounds = 21;  // set from the argument
constexpr std::uint32_t Background = 0x00203040;

TPixelView DrawnArea(TPixelBuffer& Frame, int W, int H) {
  int DrawW = W, DrawH = H;
  FitImage(Frame.Width, Frame.Height, true, 1.0, DrawW, DrawH);
  return Frame.View().Sub((Frame.Width - DrawW) / 2, (Frame.Height - DrawH) / 2, DrawW, DrawH);
}

// (a): returns the time in milliseconds.
double TimeTodaysPreparation(const TBytes& File, TPixelBuffer& Frame) {
  const auto Start = TClock::now();
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  const int W = Decoder.Width(), H = Decoder.Height();
  std::unique_ptr<std::uint32_t[]> Pixels(new std::uint32_t[static_cast<std::size_t>(W) * H]);
  const TPixelView Picture{Pixels.get(), W, H, W};
  if (!Decoder.Decode(Picture)) std::abort();
  const TPixelView Target = DrawnArea(Frame, W, H);
  std::fill(Frame.Data.begin(), Frame.Data.end(), Background);
  Resample(Picture, Target);
  return MillisecondsSince(Start);
}

// (b): returns the time in milliseconds.
double TimeNewPreparation(const TBytes& File, TPixelBuffer& Frame, TStreamResampler& Resampler) {
  const auto Start = TClock::now();
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  const TPixelView Target = DrawnArea(Frame, Decoder.Width(), Decoder.Height());
  std::fill(Frame.Data.begin(), Frame.Data.end(), Background);
  if (!DecodeJpegInto(Decoder, Target, Resampler)) std::abort();
  return MillisecondsSince(Start);
}

double ResamplerMegapixelsPerSecond(const TBytes& File, TPixelBuffer& Frame) {
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  TPixelBuffer Picture(Decoder.Width(), Decoder.Height());
  if (!Decoder.Decode(Picture.View())) std::abort();
  const TPixelView Target = DrawnArea(Frame, Picture.Width, Picture.Height);
  std::vector<double> Times;
  for (int I = 0; I < Rounds; ++I) {
    const auto Start = TClock::now();
    Resample(Picture.View(), Target);
    Times.push_back(MillisecondsSince(Start));
  }
  const double Megapixels = static_cast<double>(Picture.Width) * Picture.Height / 1e6;
  std::printf("resample %dx%d -> %dx%d: median %.2f ms\n", Picture.Width, Picture.Height, Target.Width,
              Target.Height, Median(Times));
  return Megapixels / (Median(Times) / 1000.0);
}

struct TFigures {
  double Today, New, BareFresh, BareReused;
  double NewOverReused;
};

TFigures Measure(const TBytes& File, int W, int H, TPixelBuffer& Frame) {
  std::printf("picture %dx%d, JPEG 4:2:0 quality 90, %zu bytes, frame %dx%d\n", W, H, File.size(), Frame.Width,
              Frame.Height);
  std::vector<std::uint8_t> Reused(static_cast<std::size_t>(W) * H * 3);
  TStreamResampler Resampler;
  // Warm-up of every path (and the first touch of the reused buffers).
  TimeTodaysPreparation(File, Frame);
  TimeNewPreparation(File, Frame, Resampler);
  TimeBareDecode(File);
  TimeBareDecode(File, Reused.data());
  std::vector<double> Today, New, Fresh, Bare, Ratios;
  for (int I = 0; I < Rounds; ++I) {
    Today.push_back(TimeTodaysPreparation(File, Frame));
    New.push_back(TimeNewPreparation(File, Frame, Resampler));
    Fresh.push_back(TimeBareDecode(File));
    Bare.push_back(TimeBareDecode(File, Reused.data()));
    Ratios.push_back(New.back() / Bare.back());
  }
  TFigures F{Median(Today), Median(New), Median(Fresh), Median(Bare), Median(Ratios)};
  const TPixelView Target = DrawnArea(Frame, W, H);
  int SW = 0, SH = 0;
  TJpegDecoder Decoder;
  if (!Decoder.ReadHeader(File.data(), File.size())) std::abort();
  const int Eighths = JpegScaleFor(Decoder, Target.Width, Target.Height);
  Decoder.ScaledSize(Eighths, SW, SH);
  const bool Direct = SW == Target.Width && SH == Target.Height;
  std::printf("  drawn at %dx%d; decoded at %d/8 = %dx%d%s\n", Target.Width, Target.Height, Eighths, SW, SH,
              Direct ? ", straight into the frame" : ", streamed through the resampler");
  std::printf("  (a) today's preparation:                 median %7.2f ms  picture buffers %10zu bytes\n",
              F.Today, static_cast<std::size_t>(W) * H * 4);
  std::printf("  (b) new preparation:                     median %7.2f ms  picture buffers %10zu bytes\n", F.New,
              Direct ? std::size_t{0} : Resampler.BufferBytes());
  std::printf("  (c) bare decode, fresh buffer:           median %7.2f ms  picture buffers %10zu bytes\n",
              F.BareFresh, static_cast<std::size_t>(W) * H * 3);
  std::printf("  (d) bare decode, reused buffer:          median %7.2f ms  (buffer of %zu bytes reused)\n",
              F.BareReused, Reused.size());
  std::printf("  fitted picture: %zu bytes (written into the frame)\n",
              static_cast<std::size_t>(Target.Width) * Target.Height * 4);
  std::printf("  ratios: a/c %.3f, b/c %.3f, a/d %.3f, b/d %.3f (median of rounds)\n", F.Today / F.BareFresh,
              F.New / F.BareFresh, F.Today / F.BareReused, F.NewOverReused);
  return F;
}

}  // namespace

int main(int Argc, char** Argv) {
  if (Argc > 1) Rounds = std::max(1, std::atoi(Argv[1]));
  TPixelBuffer Frame(FrameW, FrameH, Background);
  std::printf("rounds: %d\n", Rounds);
  const TFigures Screen = Measure(MakePhotoJpeg(FrameW, FrameH), FrameW, FrameH, Frame);
  std::printf("ratio for a %dx%d JPEG on a %dx%d frame, b/d: %.3f (target <= 1.2)\n", FrameW, FrameH, FrameW,
              FrameH, Screen.NewOverReused);
  const TBytes File = MakePhotoJpeg();
  // Drawn at 1920 x 1440, too close to the half size (2000 x 1500) for it:
  // decoded at full size, still streamed.
  TPixelBuffer Large(2560, 1440, Background);
  Measure(File, PictureW, PictureH, Large);
  const TFigures Photo = Measure(File, PictureW, PictureH, Frame);
  std::printf("resampler throughput: %.0f source megapixels per second\n",
              ResamplerMegapixelsPerSecond(File, Frame));
  std::printf("ratio: %.3f (new preparation over the reused-buffer bare decode, target <= 1.0)\n",
              Photo.NewOverReused);
  return 0;
}
