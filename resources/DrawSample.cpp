// Draws the sample picture that stands in for a group without pictures: a
// mountain lake at sunset, 800 x 600, written as a 24-bit BMP file with the
// project's own BMP writer. A host program run by the build:
//   DrawSample OUTPUT.bmp
// The drawing is deterministic: the same file on every build.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "core/BmpCodec.h"

namespace {

constexpr int Width = 800;
constexpr int Height = 600;
constexpr double Horizon = 0.64 * Height;  // the lake's far shore
constexpr double SunX = 0.70 * Width;
constexpr double SunY = Horizon - 0.30 * Height;
constexpr double SunRadius = 0.055 * Height;

struct TColour {
  double R, G, B;
};

TColour Mix(TColour A, TColour B, double T) {
  T = T < 0 ? 0 : (T > 1 ? 1 : T);
  return {A.R + (B.R - A.R) * T, A.G + (B.G - A.G) * T, A.B + (B.B - A.B) * T};
}

// A smooth pseudo-random value in [0, 1] along one axis (value noise).
double Hash(int N, int Seed) {
  std::uint32_t H = static_cast<std::uint32_t>(N) * 374761393u + static_cast<std::uint32_t>(Seed) * 668265263u;
  H = (H ^ (H >> 13)) * 1274126177u;
  return ((H ^ (H >> 16)) & 0xFFFFFF) / double(0xFFFFFF);
}

double Noise(double X, int Seed) {
  const int I = static_cast<int>(std::floor(X));
  const double F = X - I, S = F * F * (3 - 2 * F);
  return Hash(I, Seed) * (1 - S) + Hash(I + 1, Seed) * S;
}

// A ridge line: the height above the horizon of a mountain range at X.
double Ridge(double X, double Base, double Amplitude, double Scale, int Seed) {
  double Sum = 0, Weight = 1, Total = 0, Frequency = 1 / Scale;
  for (int Octave = 0; Octave < 5; ++Octave) {
    Sum += Weight * Noise(X * Frequency, Seed + Octave * 17);
    Total += Weight;
    Weight *= 0.5;
    Frequency *= 2.1;
  }
  return Base + Amplitude * Sum / Total;
}

// The sky above the horizon at height Y (0 at the top), with the sun's glow.
TColour Sky(double X, double Y) {
  const double T = Y / Horizon;
  const TColour Night{22, 24, 70}, Violet{96, 48, 120}, Rose{214, 92, 96}, Amber{250, 170, 90}, Pale{255, 226, 160};
  TColour C = T < 0.35 ? Mix(Night, Violet, T / 0.35)
                       : T < 0.65 ? Mix(Violet, Rose, (T - 0.35) / 0.3)
                                  : T < 0.88 ? Mix(Rose, Amber, (T - 0.65) / 0.23) : Mix(Amber, Pale, (T - 0.88) / 0.12);
  const double D = std::hypot(X - SunX, (Y - SunY) * 1.15);
  const double Glow = std::exp(-D / (0.22 * Height)) * 0.85;
  C = Mix(C, TColour{255, 214, 150}, Glow);
  if (D < SunRadius) C = Mix(TColour{255, 250, 225}, TColour{255, 226, 170}, D / SunRadius);
  // A few stars where the sky is still dark.
  const int Cell = static_cast<int>(X) / 7 + 1000 * (static_cast<int>(Y) / 7);
  if (T < 0.4 && Hash(Cell, 3) > 0.985 && static_cast<int>(X) % 7 == 3 && static_cast<int>(Y) % 7 == 3)
    C = Mix(C, TColour{255, 255, 240}, (0.4 - T) / 0.4);
  return C;
}

// The landscape above the horizon: sky, then three mountain ranges, nearer
// ones darker and less veiled by the evening haze.
TColour Land(double X, double Y) {
  struct TRange {
    double Base, Amplitude, Scale;
    int Seed;
    TColour Colour;
    double Haze;
  };
  const TRange Ranges[] = {
      {0.08 * Height, 0.17 * Height, 260, 11, {96, 58, 112}, 0.35},
      {0.04 * Height, 0.16 * Height, 170, 29, {52, 40, 82}, 0.30},
      {0.00 * Height, 0.09 * Height, 90, 47, {24, 26, 48}, 0.08},
  };
  TColour C = Sky(X, Y);
  for (const TRange& R : Ranges) {
    const double Top = Horizon - Ridge(X, R.Base, R.Amplitude, R.Scale, R.Seed);
    if (Y >= Top) {
      const TColour Veiled = Mix(R.Colour, Sky(X, Horizon - 1), R.Haze);
      // Sunlit edges: a little lighter right below the ridge line.
      C = Mix(Veiled, Mix(Veiled, TColour{255, 180, 120}, 0.35), 1 - (Y - Top) / 6);
      if (Y - Top > 6) C = Veiled;
    }
  }
  return C;
}

TColour Pixel(double X, double Y) {
  if (Y < Horizon) return Land(X, Y);
  // The lake: the landscape mirrored in rippling water, darker with depth.
  const double Depth = (Y - Horizon) / (Height - Horizon);
  const double Ripple = std::sin(Y * 0.9 + std::sin(X * 0.05) * 2) * (1 + 5 * Depth);
  const double MirrorY = Horizon - (Y - Horizon) * 1.0 - 1;
  TColour C = Land(X + Ripple, MirrorY < 0 ? 0 : MirrorY);
  C = Mix(C, TColour{16, 28, 58}, 0.25 + 0.45 * Depth);
  // A glittering path of sunlight across the water.
  const double Path = std::exp(-std::fabs(X + Ripple * 2 - SunX) / (8 + 60 * Depth));
  if (std::sin(Y * 1.7 + X * 0.3) > 0.2) C = Mix(C, TColour{255, 220, 160}, Path * 0.8);
  return C;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: DrawSample OUTPUT.bmp\n");
    return 2;
  }
  TPixelBuffer Picture(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      // Four samples per pixel smooth the ridge lines and the sun's rim.
      double R = 0, G = 0, B = 0;
      for (int S = 0; S < 4; ++S) {
        const TColour C = Pixel(X + 0.25 + 0.5 * (S % 2), Y + 0.25 + 0.5 * (S / 2));
        R += C.R, G += C.G, B += C.B;
      }
      auto Channel = [](double V) { return static_cast<int>(V / 4 < 0 ? 0 : (V / 4 > 255 ? 255 : V / 4 + 0.5)); };
      Picture.Data[static_cast<std::size_t>(Y) * Width + X] = MakePixel(Channel(R), Channel(G), Channel(B));
    }
  const std::vector<std::uint8_t> File = EncodeBmp(Picture.View(), 24);
  std::FILE* Out = std::fopen(argv[1], "wb");
  if (!Out || std::fwrite(File.data(), 1, File.size(), Out) != File.size() || std::fclose(Out) != 0) {
    std::fprintf(stderr, "DrawSample: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
