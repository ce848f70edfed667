#include "core/AlphaResample.h"

#include <algorithm>

namespace {

// round(X / 255) for X in [0, 255 * 255].
inline std::uint32_t DivideBy255(std::uint32_t X) {
  X += 128;
  return (X + (X >> 8)) >> 8;
}

}  // namespace

void CompositeRow(const std::uint32_t* Src, std::uint32_t* Dest, int Count) {
  for (int I = 0; I < Count; ++I) {
    const std::uint32_t S = Src[I];
    const std::uint32_t Alpha = S >> 24;
    if (Alpha == 255) {
      Dest[I] = S & 0x00FFFFFF;
      continue;
    }
    const std::uint32_t D = Dest[I];
    const std::uint32_t Rest = 255 - Alpha;
    std::uint32_t Out = 0;
    for (int Shift = 0; Shift <= 16; Shift += 8) {
      const std::uint32_t C = ((S >> Shift) & 0xFF) + DivideBy255(((D >> Shift) & 0xFF) * Rest);
      Out |= std::min(C, 255u) << Shift;
    }
    Dest[I] = Out;
  }
}

TAlphaStreamResampler::TAlphaStreamResampler() = default;
TAlphaStreamResampler::~TAlphaStreamResampler() = default;

void TAlphaStreamResampler::Start(int SrcW, int SrcH, const TPixelView& Dest) {
  Done = false;
  HandedCount = 0;
  this->SrcW = SrcW;
  this->Dest = Dest;
  const bool Empty = SrcW <= 0 || SrcH <= 0 || !Dest.Pixels || Dest.Width <= 0 || Dest.Height <= 0;
  const std::size_t Pixels = Empty ? 0 : static_cast<std::size_t>(Dest.Width) * Dest.Height;
  if (ColourOut.size() < Pixels) {
    ColourOut.clear();
    AlphaOut.clear();
    ColourOut.shrink_to_fit();
    AlphaOut.shrink_to_fit();
    ColourOut.resize(Pixels);
    AlphaOut.resize(Pixels);
  }
  Colour.Start(SrcW, SrcH, TPixelView{ColourOut.data(), Dest.Width, Dest.Height, Dest.Width});
  Alpha.Start(SrcW, SrcH, TPixelView{AlphaOut.data(), Dest.Width, Dest.Height, Dest.Width});
  if (Empty) this->Dest = TPixelView();
}

int TAlphaStreamResampler::NextRows(std::uint32_t** Rows, int MaxRows) {
  HandedCount = Colour.NextRows(Rows, std::min(MaxRows, TStreamResampler::StripRows));
  std::copy_n(Rows, HandedCount, Handed);
  return HandedCount;
}

void TAlphaStreamResampler::RowsWritten(int Count) {
  Count = std::clamp(Count, 0, HandedCount);
  HandedCount = 0;
  if (Count == 0 || Done) return;
  // The alpha of each pixel as the low byte of a pixel of its own: the
  // resampler averages it as it averages a blue channel.
  std::uint32_t* AlphaRows[TStreamResampler::StripRows];
  const int AlphaCount = Alpha.NextRows(AlphaRows, Count);
  for (int R = 0; R < AlphaCount; ++R)
    for (int X = 0; X < SrcW; ++X) AlphaRows[R][X] = Handed[R][X] >> 24;
  Alpha.RowsWritten(AlphaCount);
  Colour.RowsWritten(Count);
  if (!Colour.Finished() || !Alpha.Finished()) return;
  for (int Y = 0; Y < Dest.Height; ++Y) {
    std::uint32_t* Row = ColourOut.data() + static_cast<std::size_t>(Y) * Dest.Width;
    const std::uint32_t* A = AlphaOut.data() + static_cast<std::size_t>(Y) * Dest.Width;
    for (int X = 0; X < Dest.Width; ++X) Row[X] = (Row[X] & 0x00FFFFFF) | (A[X] & 0xFF) << 24;
    CompositeRow(Row, Dest.Row(Y), Dest.Width);
  }
  Done = true;
}
