#include "core/Orientation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

// Side of the square tiles of a transposing copy: a tile's source and
// destination rows (2 x 16 KiB) stay in the first-level cache.
constexpr int TileSide = 64;

int Checked(int Orientation) { return Orientation >= 1 && Orientation <= 8 ? Orientation : 1; }

}  // namespace

bool SwapsAxes(int Orientation) { return Checked(Orientation) >= 5; }

TPixelPoint StoredPixel(int Orientation, int StoredW, int StoredH, int X, int Y) {
  const int Right = StoredW - 1, Bottom = StoredH - 1;
  switch (Checked(Orientation)) {
    case 2: return {Right - X, Y};
    case 3: return {Right - X, Bottom - Y};
    case 4: return {X, Bottom - Y};
    case 5: return {Y, X};
    case 6: return {Y, Bottom - X};
    case 7: return {Right - Y, Bottom - X};
    case 8: return {Right - Y, X};
    default: return {X, Y};
  }
}

void OrientPixels(const TPixelView& Stored, const TPixelView& Upright, int Orientation) {
  Orientation = Checked(Orientation);
  const int W = Upright.Width, H = Upright.Height;
  const bool Swap = SwapsAxes(Orientation);
  if (W <= 0 || H <= 0 || W != (Swap ? Stored.Height : Stored.Width) || H != (Swap ? Stored.Width : Stored.Height))
    return;

  if (!Swap) {
    const bool FlipRows = Orientation == 3 || Orientation == 4;
    const bool MirrorRows = Orientation == 2 || Orientation == 3;
    for (int Y = 0; Y < H; ++Y) {
      const std::uint32_t* Source = Stored.Row(FlipRows ? H - 1 - Y : Y);
      if (MirrorRows)
        std::reverse_copy(Source, Source + W, Upright.Row(Y));
      else
        std::copy(Source, Source + W, Upright.Row(Y));
    }
    return;
  }

  // Upright rows run along stored columns: one step right in the upright
  // picture is a stored row up or down, one step down a stored column left or
  // right. Offsets are taken from the stored pixel of upright (0, 0).
  const TPixelPoint Origin = StoredPixel(Orientation, Stored.Width, Stored.Height, 0, 0);
  const std::uint32_t* Base = Stored.Row(Origin.Y) + Origin.X;
  const std::ptrdiff_t StepX = Orientation == 5 || Orientation == 8 ? Stored.Stride : -Stored.Stride;
  const std::ptrdiff_t StepY = Orientation == 5 || Orientation == 6 ? 1 : -1;
  for (int Y0 = 0; Y0 < H; Y0 += TileSide) {
    const int Y1 = std::min(Y0 + TileSide, H);
    for (int X0 = 0; X0 < W; X0 += TileSide) {
      const int Count = std::min(TileSide, W - X0);
      for (int Y = Y0; Y < Y1; ++Y) {
        const std::uint32_t* Source = Base + Y * StepY + X0 * StepX;
        std::uint32_t* Dest = Upright.Row(Y) + X0;
        for (int I = 0; I < Count; ++I) Dest[I] = Source[I * StepX];
      }
    }
  }
}
