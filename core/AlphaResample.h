#pragma once
// Pictures with an alpha channel, drawn over what a destination already
// holds. Their pixels are premultiplied 0xAARRGGBB: each colour channel is
// already multiplied by the alpha in the high byte, as WIC's 32bppPBGRA
// format gives them. Portable.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/Pixels.h"
#include "core/Resample.h"
#include "core/RowSink.h"

// Puts Count premultiplied pixels Src over the pixels Dest holds: per colour
// channel, out = src + dest * (255 - alpha) / 255, rounded to nearest (and
// at most 255, should a colour exceed its alpha). The high byte of the
// result is 0. An alpha of 255 gives src exactly; an alpha of 0 with a
// colour of 0 leaves dest as it was.
void CompositeRow(const std::uint32_t* Src, std::uint32_t* Dest, int Count);

// TStreamResampler for premultiplied pixels: the alpha is area-averaged with
// the same weights as the colour channels (each by a TStreamResampler of its
// own, the alpha carried in the low byte of the second one), and the result
// is put over what Dest holds with CompositeRow once the last source row is
// in. A picture whose alpha is 255 everywhere therefore comes out exactly as
// TStreamResampler draws it. The resampled colour and alpha wait in buffers
// of Dest's size, kept from one picture to the next.
class TAlphaStreamResampler final : public TRowSink {
 public:
  TAlphaStreamResampler();
  ~TAlphaStreamResampler();
  TAlphaStreamResampler(const TAlphaStreamResampler&) = delete;
  TAlphaStreamResampler& operator=(const TAlphaStreamResampler&) = delete;

  // As TStreamResampler::Start. Dest holds what the picture goes over; it is
  // written only when the last source row is in. May raise std::bad_alloc.
  void Start(int SrcW, int SrcH, const TPixelView& Dest);
  int NextRows(std::uint32_t** Rows, int MaxRows) override;
  void RowsWritten(int Count) override;
  // Every destination row has been written.
  bool Finished() const { return Done; }

 private:
  TStreamResampler Colour, Alpha;
  std::vector<std::uint32_t> ColourOut, AlphaOut;
  TPixelView Dest;
  std::uint32_t* Handed[TStreamResampler::StripRows] = {};
  int HandedCount = 0;
  int SrcW = 0;
  bool Done = false;
};
