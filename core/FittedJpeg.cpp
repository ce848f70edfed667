#include "core/FittedJpeg.h"

#include <algorithm>

int JpegScaleFor(const TJpegDecoder& Decoder, int W, int H) {
  for (int Eighths = 1; Eighths < 8; Eighths *= 2) {
    int SW = 0, SH = 0;
    Decoder.ScaledSize(Eighths, SW, SH);
    const bool Exact = SW == W && SH == H;
    const bool Margin = 4ll * SW >= 5ll * W && 4ll * SH >= 5ll * H;
    if (Exact || Margin) return Eighths;
  }
  return 8;
}

bool DecodeJpegInto(TJpegDecoder& Decoder, const TPixelView& Dest, TStreamResampler& Resampler) {
  const int Eighths = JpegScaleFor(Decoder, Dest.Width, Dest.Height);
  int W = 0, H = 0;
  Decoder.ScaledSize(Eighths, W, H);
  bool Decoded = false;
  if (W == Dest.Width && H == Dest.Height) {
    TViewRows Rows(Dest);
    Decoded = Decoder.Decode(Eighths, Rows);
  } else {
    Resampler.Start(W, H, Dest);
    Decoded = Decoder.Decode(Eighths, Resampler);
  }
  if (!Decoded)
    for (int Y = 0; Y < Dest.Height; ++Y) std::fill_n(Dest.Row(Y), Dest.Width, 0x00FFFFFFu);
  return Decoded;
}
