#pragma once
// Uniform random indexes from a 32-bit clock seed. Portable.
#include <cstdint>

// A uniformly distributed integer in [0, Count), Count > 0, drawn from a
// generator seeded with Seed. Seeds that differ only in their low bits (clock
// readings taken moments apart) give independent draws: the seed is mixed
// through a full-avalanche function before use, and the bound is applied by
// rejection, without modulo bias. Stream fills the generator's upper 32 bits
// of state, so draws of different streams from one seed are unrelated and a
// single clock reading serves several draws.
std::uint32_t RandomIndex(std::uint32_t Seed, std::uint32_t Count, std::uint32_t Stream = 0);
