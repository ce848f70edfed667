#include "core/Orientation.h"
#include "support/RandomPicture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace {

TPixelBuffer Oriented(TPixelBuffer& Stored, int Orientation) {
  TPixelBuffer Upright = SwapsAxes(Orientation) ? TPixelBuffer(Stored.Height, Stored.Width, 0)
                                                : TPixelBuffer(Stored.Width, Stored.Height, 0);
  OrientPixels(Stored.View(), Upright.View(), Orientation);
  return Upright;
}

// Pixels that are letters, rows separated by '/'.
std::string Spelled(const TPixelBuffer& Picture) {
  std::string S;
  for (int Y = 0; Y < Picture.Height; ++Y) {
    if (Y > 0) S += '/';
    for (int X = 0; X < Picture.Width; ++X) S += static_cast<char>(Picture.At(X, Y));
  }
  return S;
}

TEST(Orientation, TurnsAndMirrorsASmallPictureAsEachValueSays) {
  // Stored:  a b c
  //          d e f
  const struct {
    int Orientation;
    const char* Upright;
  } Cases[] = {
      {1, "abc/def"},  {2, "cba/fed"},    {3, "fed/cba"},    {4, "def/abc"},    {5, "ad/be/cf"}, {6, "da/eb/fc"},
      {7, "fc/eb/da"}, {8, "cf/be/ad"},   {0, "abc/def"},    {9, "abc/def"},    {-6, "abc/def"},
  };
  TPixelBuffer Stored(3, 2);
  for (int I = 0; I < 6; ++I) Stored.Data[I] = static_cast<std::uint32_t>('a' + I);
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Orientation);
    const TPixelBuffer Upright = Oriented(Stored, C.Orientation);
    EXPECT_EQ(Spelled(Upright), C.Upright);
    EXPECT_EQ(SwapsAxes(C.Orientation), Upright.Width == 2);

    TPixelBuffer Mapped(Upright.Width, Upright.Height);
    for (int Y = 0; Y < Upright.Height; ++Y)
      for (int X = 0; X < Upright.Width; ++X) {
        const TPixelPoint P = StoredPixel(C.Orientation, 3, 2, X, Y);
        Mapped.Data[static_cast<std::size_t>(Y) * Mapped.Width + X] = Stored.At(P.X, P.Y);
      }
    EXPECT_EQ(Spelled(Mapped), C.Upright);
  }
}

// Sizes below, at and across the tile size, odd and one pixel thin.
const std::pair<int, int> Sizes[] = {{67, 45}, {45, 67}, {64, 64}, {129, 65}, {1, 1}, {1, 130}, {130, 1}};

TEST(Orientation, TheInverseOrientationGivesBackTheStoredPicture) {
  const int Inverse[9] = {0, 1, 2, 3, 4, 5, 8, 7, 6};
  for (const auto& [W, H] : Sizes)
    for (int O = 1; O <= 8; ++O) {
      TPixelBuffer Stored = RandomPicture(W, H, static_cast<std::uint32_t>(W * 10 + O));
      TPixelBuffer Upright = Oriented(Stored, O);
      EXPECT_EQ(Oriented(Upright, Inverse[O]).Data, Stored.Data) << W << "x" << H << ", " << O;
    }
}

TEST(Orientation, ComposesAsTurnsAndMirrorsDo) {
  const struct {
    std::vector<int> Steps;
    int Same;
  } Cases[] = {
      {{6, 6}, 3}, {{8, 8}, 3}, {{6, 6, 6, 6}, 1}, {{2, 4}, 3}, {{5, 3}, 7}, {{5, 6}, 2}, {{2, 8}, 5}, {{8, 2}, 7},
  };
  for (const auto& [W, H] : Sizes)
    for (const auto& C : Cases) {
      TPixelBuffer Stored = RandomPicture(W, H, static_cast<std::uint32_t>(H));
      TPixelBuffer Picture = Stored;
      for (int O : C.Steps) Picture = Oriented(Picture, O);
      const TPixelBuffer Once = Oriented(Stored, C.Same);
      EXPECT_EQ(Picture.Width, Once.Width);
      EXPECT_EQ(Picture.Data, Once.Data) << W << "x" << H << ", " << C.Same;
    }
}

// Views inside larger images: every upright pixel is the stored pixel that
// StoredPixel names, and nothing around the upright view is written. An
// upright view of the wrong size is left alone.
TEST(Orientation, WritesExactlyTheUprightView) {
  constexpr std::uint32_t Guard = 0xA5C3E1F0;
  for (const auto& [W, H] : Sizes)
    for (int O = 1; O <= 8; ++O) {
      TPixelBuffer Image = RandomPicture(W + 5, H + 3, static_cast<std::uint32_t>(O));
      const TPixelView Stored = Image.View().Sub(2, 1, W, H);
      const int UW = SwapsAxes(O) ? H : W, UH = SwapsAxes(O) ? W : H;
      TPixelBuffer Frame(UW + 7, UH + 4, Guard);
      OrientPixels(Stored, Frame.View().Sub(3, 2, UW, UH), O);
      for (int Y = 0; Y < UH + 4; ++Y)
        for (int X = 0; X < UW + 7; ++X) {
          const bool Inside = X >= 3 && Y >= 2 && X < UW + 3 && Y < UH + 2;
          std::uint32_t Expected = Guard;
          if (Inside) {
            const TPixelPoint P = StoredPixel(O, W, H, X - 3, Y - 2);
            Expected = Stored.Row(P.Y)[P.X];
          }
          ASSERT_EQ(Frame.At(X, Y), Expected) << W << "x" << H << ", " << O << " at " << X << "," << Y;
        }

      TPixelBuffer Wrong(UW + 1, UH, Guard);
      OrientPixels(Stored, Wrong.View(), O);
      EXPECT_EQ(Wrong.Data, std::vector<std::uint32_t>(Wrong.Data.size(), Guard));
    }
}

}  // namespace
