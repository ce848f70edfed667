#include "core/RandomIndex.h"

namespace {

// SplitMix64: each output depends on every bit of the state.
std::uint64_t SplitMix64(std::uint64_t& State) {
  std::uint64_t Z = (State += 0x9E3779B97F4A7C15ull);
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}

}  // namespace

std::uint32_t RandomIndex(std::uint32_t Seed, std::uint32_t Count, std::uint32_t Stream) {
  std::uint64_t State = static_cast<std::uint64_t>(Stream) << 32 | Seed;
  // Lemire's multiply-shift with rejection of the biased low range.
  const std::uint32_t Threshold = static_cast<std::uint32_t>(-Count) % Count;
  for (;;) {
    const std::uint32_t Draw = static_cast<std::uint32_t>(SplitMix64(State) >> 32);
    const std::uint64_t Product = static_cast<std::uint64_t>(Draw) * Count;
    if (static_cast<std::uint32_t>(Product) >= Threshold) return static_cast<std::uint32_t>(Product >> 32);
  }
}
