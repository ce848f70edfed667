#pragma once
// A picture of random pixels, high bytes included, the same for the same
// seed. Portable.
#include <cstdint>
#include <random>

#include "core/Pixels.h"

inline TPixelBuffer RandomPicture(int W, int H, std::uint32_t Seed) {
  TPixelBuffer Picture(W, H);
  std::mt19937 Rng(Seed);
  for (std::uint32_t& P : Picture.Data) P = Rng();
  return Picture;
}
