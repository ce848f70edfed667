#include "core/CrossFade.h"

#include <algorithm>
#include <cstdint>

namespace {

// Each of the four bytes of A moved toward B by Weight / 256, rounded; two
// bytes at a time, each in its own 16-bit lane.
inline std::uint32_t Mix(std::uint32_t A, std::uint32_t B, std::uint32_t Weight) {
  const std::uint32_t Keep = 256 - Weight;
  const std::uint32_t Odd = (((A & 0x00FF00FF) * Keep + (B & 0x00FF00FF) * Weight + 0x00800080) >> 8) & 0x00FF00FF;
  const std::uint32_t Even = ((((A >> 8) & 0x00FF00FF) * Keep + ((B >> 8) & 0x00FF00FF) * Weight + 0x00800080)) & 0xFF00FF00;
  return Odd | Even;
}

}  // namespace

void TCrossFade::StepTo(const TPixelView& Shown, const TPixelView& Incoming, double Share) {
  Share = std::min(Share, 1.0);
  if (Share <= Reached) return;
  const int W = std::min(Shown.Width, Incoming.Width), H = std::min(Shown.Height, Incoming.Height);
  if (Share >= 1.0) {
    for (int Y = 0; Y < H; ++Y) std::copy(Incoming.Row(Y), Incoming.Row(Y) + W, Shown.Row(Y));
    Reached = 1.0;
    return;
  }
  // Of what still separates the shown mix from New, the part that takes the
  // mix from the share reached to the one asked for.
  const double Part = (Share - Reached) / (1.0 - Reached);
  const auto Weight = static_cast<std::uint32_t>(std::clamp(Part * 256.0 + 0.5, 0.0, 256.0));
  for (int Y = 0; Y < H; ++Y) {
    std::uint32_t* To = Shown.Row(Y);
    const std::uint32_t* From = Incoming.Row(Y);
    for (int X = 0; X < W; ++X) To[X] = Mix(To[X], From[X], Weight);
  }
  Reached = Share;
}
