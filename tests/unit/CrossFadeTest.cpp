// The in-place cross-fade: each step leaves the mix its share asks for,
// whatever steps came before, and the last leaves the new picture exactly.
#include "core/CrossFade.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The largest difference of one byte between the pixels and the mix of Old
// and New at Share.
int DistanceFromMix(const TPixelBuffer& Pixels, std::uint32_t Old, std::uint32_t New, double Share) {
  int Worst = 0;
  for (std::uint32_t P : Pixels.Data)
    for (int Shift = 0; Shift < 32; Shift += 8) {
      const double Want = ((Old >> Shift) & 0xFF) * (1 - Share) + ((New >> Shift) & 0xFF) * Share;
      Worst = std::max(Worst, static_cast<int>(std::abs(static_cast<int>((P >> Shift) & 0xFF) - Want) + 0.5));
    }
  return Worst;
}

TEST(CrossFade, EveryStepLeavesTheMixOfItsShareAndTheLastTheNewPicture) {
  // Bytes far apart in every channel, the high byte too, so that a carry
  // from one byte into the next would show.
  const std::uint32_t Old = 0x10FF2003, New = 0xF000E0FE;
  for (int Steps : {1, 2, 7, 30}) {
    TPixelBuffer Shown(5, 3, Old), Incoming(5, 3, New);
    TCrossFade Fade;
    for (int Step = 1; Step <= Steps; ++Step) {
      const double Share = static_cast<double>(Step) / Steps;
      Fade.StepTo(Shown.View(), Incoming.View(), Share);
      EXPECT_LE(DistanceFromMix(Shown, Old, New, Share), 2) << Steps << " steps, step " << Step;
    }
    EXPECT_EQ(Shown.Data, Incoming.Data) << Steps << " steps";
    EXPECT_EQ(Fade.Share(), 1.0);
  }
}

TEST(CrossFade, HalfWayShowsBothAndAShareNotAboveTheLastChangesNothing) {
  TPixelBuffer Shown(4, 4, MakePixel(200, 0, 0)), Incoming(4, 4, MakePixel(0, 0, 200));
  TCrossFade Fade;
  Fade.StepTo(Shown.View(), Incoming.View(), 0.5);
  EXPECT_EQ(PixelRgb(Shown.At(2, 2)), MakePixel(100, 0, 100));
  const auto Half = Shown.Data;
  Fade.StepTo(Shown.View(), Incoming.View(), 0.5);
  Fade.StepTo(Shown.View(), Incoming.View(), 0.25);
  EXPECT_EQ(Shown.Data, Half);
  Fade.Restart();
  Fade.StepTo(Shown.View(), Incoming.View(), 1.5);
  EXPECT_EQ(Shown.Data, Incoming.Data) << "a share past the end is the end";
}

TEST(CrossFade, OnlyTheCommonAreaOfViewsOfDifferentSizesIsTouched) {
  TPixelBuffer Shown(6, 4, 0), Incoming(4, 6, 0x00FFFFFF);
  TCrossFade Fade;
  Fade.StepTo(Shown.View(), Incoming.View(), 1.0);
  EXPECT_EQ(Shown.At(3, 3), 0x00FFFFFFu);
  EXPECT_EQ(Shown.At(4, 0), 0u);
  EXPECT_EQ(Incoming.At(0, 5), 0x00FFFFFFu);
}

}  // namespace
