#include "core/Resample.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

// Two passes per destination row: a vertical pass combines source rows into
// one intermediate row of 16-bit channel values, a horizontal pass combines
// intermediate pixels into destination pixels and divides by the product of
// both axes' units with one exact rounding.
//
// Value ranges (they bound every integer below):
//  - vertical weights sum to UnitY (<= 256 when exact, else 4096); the
//    vertical sum A = sum(w * p) <= 255 * UnitY is reduced by Shift (0, or 4
//    for 4096) to A16 <= 65280 and stored biased, as the int16 A16 - 32768;
//  - horizontal weights sum to UnitX <= 16384; the biased horizontal sum
//    sum(w * (A16 - 32768)) lies within +-2^29;
//  - Denominator = (UnitY >> Shift) * UnitX <= 2^22, and the numerator
//    n = sum(w * A16) + Denominator / 2 < 256 * Denominator.
// All sums are exact integers, so the SIMD and scalar paths agree bit for bit
// whatever order they add in.

namespace {

constexpr int VerticalExactLimit = 256;
constexpr int VerticalUnit = 4096;  // reduced by VerticalShift to 256
constexpr int VerticalShift = 4;
constexpr int HorizontalUnit = 16384;
constexpr int Bias = 32768;
constexpr int Channels = 3;  // B, G, R; the fourth byte is ignored

// Weights of one axis: destination index d takes Taps[d] source indices from
// First[d] on, weighted by Weights[Begin[d] ...]; every destination's weights
// sum to Unit.
struct TAxisWeights {
  int Unit = 0;
  int MaxTaps = 0;
  std::vector<int> First, Taps, Begin, Weights;

  void Start(int From) {
    First.push_back(From);
    Begin.push_back(static_cast<int>(Weights.size()));
  }
  void Add(std::int64_t Weight) { Weights.push_back(static_cast<int>(Weight)); }
  void Finish() {
    Taps.push_back(static_cast<int>(Weights.size()) - Begin.back());
    MaxTaps = std::max(MaxTaps, Taps.back());
  }
};

// Area weights for Dst <= Src. In units where a source pixel is Dst/g long
// and a destination pixel Src/g (g = gcd), every overlap is a whole number
// and a destination pixel's overlaps sum to Src/g. That sum is the unit when
// it is at most ExactLimit; otherwise the cumulative overlaps are rounded to
// ApproxUnit, so that the weights still sum to the unit exactly.
TAxisWeights MakeAreaWeights(int Src, int Dst, int ExactLimit, int ApproxUnit) {
  TAxisWeights Axis;
  const std::int64_t G = std::gcd(Src, Dst);
  const std::int64_t SrcLen = Dst / G;  // one source pixel
  const std::int64_t DstLen = Src / G;  // one destination pixel
  const bool Exact = DstLen <= ExactLimit;
  Axis.Unit = Exact ? static_cast<int>(DstLen) : ApproxUnit;
  for (int D = 0; D < Dst; ++D) {
    const std::int64_t Lo = D * DstLen, Hi = Lo + DstLen;
    const int First = static_cast<int>(Lo / SrcLen);
    const int Last = static_cast<int>((Hi - 1) / SrcLen);
    Axis.Start(First);
    std::int64_t Covered = 0;
    for (int I = First; I <= Last; ++I) {
      const std::int64_t Overlap =
          std::min<std::int64_t>((I + 1) * SrcLen, Hi) - std::max<std::int64_t>(I * SrcLen, Lo);
      if (Exact) {
        Axis.Add(Overlap);
      } else {
        const std::int64_t From = (Covered * ApproxUnit + DstLen / 2) / DstLen;
        Covered += Overlap;
        Axis.Add((Covered * ApproxUnit + DstLen / 2) / DstLen - From);
      }
    }
    Axis.Finish();
  }
  return Axis;
}

// Bilinear weights for Dst > Src: the centre of destination pixel d lies at
// source position ((2d + 1) * Src - Dst) / (2 * Dst), measured between pixel
// centres; positions outside the first or last centre take the edge pixel.
TAxisWeights MakeBilinearWeights(int Src, int Dst, int Unit) {
  TAxisWeights Axis;
  Axis.Unit = Unit;
  const std::int64_t Den = 2 * static_cast<std::int64_t>(Dst);
  for (int D = 0; D < Dst; ++D) {
    const std::int64_t Num = (2 * static_cast<std::int64_t>(D) + 1) * Src - Dst;
    int First = 0;
    std::int64_t Far = 0;  // weight of First + 1
    if (Num > 0) {
      First = static_cast<int>(Num / Den);
      Far = (Num % Den * Unit + Den / 2) / Den;
    }
    if (First >= Src - 1) {
      First = Src - 1;
      Far = 0;
    }
    Axis.Start(First);
    Axis.Add(Unit - Far);
    if (Far > 0) Axis.Add(Far);
    Axis.Finish();
  }
  return Axis;
}

TAxisWeights MakeAxisWeights(int Src, int Dst, int ExactLimit, int ApproxUnit) {
  return Dst <= Src ? MakeAreaWeights(Src, Dst, ExactLimit, ApproxUnit)
                    : MakeBilinearWeights(Src, Dst, ApproxUnit);
}

// floor(n / Denominator) for every n < 256 * Denominator, as
// (n * Multiplier) >> Shift with 2^Shift >= 256 * Denominator^2 and
// Multiplier = ceil(2^Shift / Denominator): the error n * (Multiplier *
// Denominator - 2^Shift) / 2^Shift stays below 1 / Denominator. With
// Denominator <= 2^22 the multiplier fits 32 bits and the product 64 bits.
struct TDivider {
  std::uint32_t Multiplier = 0;
  int Shift = 0;
  explicit TDivider(std::uint32_t Denominator) {
    const std::uint64_t Bound = 256ull * Denominator * Denominator;
    while ((1ull << Shift) < Bound) ++Shift;
    Multiplier = static_cast<std::uint32_t>(((1ull << Shift) + Denominator - 1) / Denominator);
  }
  std::uint32_t Divide(std::uint32_t N) const {
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(N) * Multiplier) >> Shift);
  }
};

// Everything one call needs, set up once: weights, the final division and
// per-row scratch.
struct TPlan {
  TAxisWeights X, Y;
  int Shift = 0;            // applied to the vertical sums
  std::int32_t Offset = 0;  // added to a biased horizontal sum: unbias + half
  TDivider Divider{1};
  std::vector<const std::uint8_t*> Rows;  // source rows of one destination row

  TPlan(int SrcW, int SrcH, int DstW, int DstH)
      : X(MakeAxisWeights(SrcW, DstW, HorizontalUnit, HorizontalUnit)),
        Y(MakeAxisWeights(SrcH, DstH, VerticalExactLimit, VerticalUnit)) {
    Shift = Y.Unit > VerticalExactLimit ? VerticalShift : 0;
    const std::uint32_t Denominator = static_cast<std::uint32_t>(Y.Unit >> Shift) * X.Unit;
    Offset = static_cast<std::int32_t>(Bias * X.Unit + Denominator / 2);
    Divider = TDivider(Denominator);
    Rows.resize(Y.MaxTaps);
  }

  // Points Rows at the source rows of destination row D; returns their count.
  int GatherRows(const TPixelView& Src, int D) {
    for (int T = 0; T < Y.Taps[D]; ++T)
      Rows[T] = reinterpret_cast<const std::uint8_t*>(Src.Row(Y.First[D] + T));
    return Y.Taps[D];
  }

  // A vertical sum as the stored, biased 16-bit value.
  std::int16_t Reduce(std::int32_t Sum) const {
    const std::int32_t Rounded = Shift ? (Sum + (1 << (Shift - 1))) >> Shift : Sum;
    return static_cast<std::int16_t>(Rounded - Bias);
  }
};

// Vertical pass for pixels [FromX, ToX) of destination row D into Out, four
// int16 per pixel (the fourth unused).
void VerticalPixelsScalar(const TPlan& Plan, int D, int FromX, int ToX, std::int16_t* Out) {
  const int* Weights = Plan.Y.Weights.data() + Plan.Y.Begin[D];
  for (int X = FromX; X < ToX; ++X)
    for (int C = 0; C < Channels; ++C) {
      std::int32_t Sum = 0;
      for (int T = 0; T < Plan.Y.Taps[D]; ++T) Sum += Weights[T] * Plan.Rows[T][4 * X + C];
      Out[4 * (X - FromX) + C] = Plan.Reduce(Sum);
    }
}

std::uint32_t HorizontalPixelScalar(const TPlan& Plan, const std::int16_t* Mid, int D) {
  const std::int16_t* Src = Mid + 4 * static_cast<std::ptrdiff_t>(Plan.X.First[D]);
  const int* Weights = Plan.X.Weights.data() + Plan.X.Begin[D];
  std::uint32_t Pixel = 0;
  for (int C = 0; C < Channels; ++C) {
    std::int32_t Sum = 0;
    for (int T = 0; T < Plan.X.Taps[D]; ++T) Sum += Weights[T] * Src[4 * T + C];
    Pixel |= Plan.Divider.Divide(static_cast<std::uint32_t>(Sum + Plan.Offset)) << (8 * C);
  }
  return Pixel;
}

// Makes destination rows one at a time from the source rows in Plan.Rows.
class TScalarKernel {
 public:
  TScalarKernel(int SrcW, int SrcH, int DstW, int DstH)
      : Plan(SrcW, SrcH, DstW, DstH), SrcW(SrcW), DstW(DstW), Mid(4 * static_cast<std::size_t>(SrcW)) {}
  TPlan Plan;
  void Row(int D, std::uint32_t* Out) {
    VerticalPixelsScalar(Plan, D, 0, SrcW, Mid.data());
    for (int X = 0; X < DstW; ++X) Out[X] = HorizontalPixelScalar(Plan, Mid.data(), X);
  }
  std::size_t ScratchBytes() const { return Mid.size() * sizeof(std::int16_t); }

 private:
  int SrcW, DstW;
  std::vector<std::int16_t> Mid;
};

#ifdef __SSE2__

// An array of __m128i on the heap, aligned by hand: 32-bit Windows heaps
// align to 8 bytes only, whatever the allocator assumes. Starts zeroed.
class TVectorArray {
 public:
  explicit TVectorArray(std::size_t Count) : Storage(16 * Count + 15, 0) {
    const auto Address = reinterpret_cast<std::uintptr_t>(Storage.data());
    First = reinterpret_cast<__m128i*>((Address + 15) & ~static_cast<std::uintptr_t>(15));
  }
  __m128i* Data() const { return First; }

 private:
  std::vector<unsigned char> Storage;
  __m128i* First;
};

inline __m128i Load(const void* P) { return _mm_loadu_si128(static_cast<const __m128i*>(P)); }

// Vertical pass with exact area weights (unit <= 256): 16-bit products and
// sums cannot overflow. The rows between the first and the last tap are
// covered in full, so they share one weight: they are summed first and
// multiplied once.
void VerticalRowExact(const TPlan& Plan, int Taps, const int* Weights, int Width, std::int16_t* Out) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i BiasV = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i WFirst = _mm_set1_epi16(static_cast<short>(Weights[0]));
  const __m128i WLast = _mm_set1_epi16(static_cast<short>(Weights[Taps - 1]));
  const __m128i WInner = _mm_set1_epi16(static_cast<short>(Taps > 2 ? Weights[1] : 0));
  const std::uint8_t* First = Plan.Rows[0];
  const std::uint8_t* Last = Plan.Rows[Taps - 1];
  const std::uint8_t* const* Inner = Plan.Rows.data() + 1;
  const int InnerCount = Taps > 2 ? Taps - 2 : 0;
  for (int X = 0; X + 4 <= Width; X += 4) {
    const __m128i F = Load(First + 4 * X);
    __m128i Lo = _mm_mullo_epi16(_mm_unpacklo_epi8(F, Zero), WFirst);
    __m128i Hi = _mm_mullo_epi16(_mm_unpackhi_epi8(F, Zero), WFirst);
    if (Taps > 1) {
      const __m128i L = Load(Last + 4 * X);
      Lo = _mm_add_epi16(Lo, _mm_mullo_epi16(_mm_unpacklo_epi8(L, Zero), WLast));
      Hi = _mm_add_epi16(Hi, _mm_mullo_epi16(_mm_unpackhi_epi8(L, Zero), WLast));
    }
    if (InnerCount > 0) {
      __m128i SumLo = Zero, SumHi = Zero;
      for (int T = 0; T < InnerCount; ++T) {
        const __m128i P = Load(Inner[T] + 4 * X);
        SumLo = _mm_add_epi16(SumLo, _mm_unpacklo_epi8(P, Zero));
        SumHi = _mm_add_epi16(SumHi, _mm_unpackhi_epi8(P, Zero));
      }
      Lo = _mm_add_epi16(Lo, _mm_mullo_epi16(SumLo, WInner));
      Hi = _mm_add_epi16(Hi, _mm_mullo_epi16(SumHi, WInner));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * X), _mm_xor_si128(Lo, BiasV));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * X + 8), _mm_xor_si128(Hi, BiasV));
  }
}

// Vertical pass with rounded weights (unit 4096): 32-bit sums from pairs of
// rows, reduced by Shift. WeightPairs[k] holds the weights of taps 2k and
// 2k + 1 in every 32-bit lane.
void VerticalRowRounded(const TPlan& Plan, int Taps, const __m128i* WeightPairs, int Width,
                        std::int16_t* Out) {
  const __m128i Zero = _mm_setzero_si128();
  const __m128i Round = _mm_set1_epi32(1 << (Plan.Shift - 1));
  const __m128i ShiftCount = _mm_cvtsi32_si128(Plan.Shift);
  const __m128i BiasV = _mm_set1_epi32(Bias);
  auto Reduce = [&](__m128i Acc) {
    return _mm_sub_epi32(_mm_sra_epi32(_mm_add_epi32(Acc, Round), ShiftCount), BiasV);
  };
  for (int X = 0; X + 4 <= Width; X += 4) {
    __m128i Acc0 = Zero, Acc1 = Zero, Acc2 = Zero, Acc3 = Zero;
    for (int T = 0; T < Taps; T += 2) {
      const __m128i W = WeightPairs[T / 2];
      const __m128i A = Load(Plan.Rows[T] + 4 * X);
      const __m128i B = T + 1 < Taps ? Load(Plan.Rows[T + 1] + 4 * X) : Zero;
      const __m128i ALo = _mm_unpacklo_epi8(A, Zero), AHi = _mm_unpackhi_epi8(A, Zero);
      const __m128i BLo = _mm_unpacklo_epi8(B, Zero), BHi = _mm_unpackhi_epi8(B, Zero);
      Acc0 = _mm_add_epi32(Acc0, _mm_madd_epi16(_mm_unpacklo_epi16(ALo, BLo), W));
      Acc1 = _mm_add_epi32(Acc1, _mm_madd_epi16(_mm_unpackhi_epi16(ALo, BLo), W));
      Acc2 = _mm_add_epi32(Acc2, _mm_madd_epi16(_mm_unpacklo_epi16(AHi, BHi), W));
      Acc3 = _mm_add_epi32(Acc3, _mm_madd_epi16(_mm_unpackhi_epi16(AHi, BHi), W));
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * X), _mm_packs_epi32(Reduce(Acc0), Reduce(Acc1)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(Out + 4 * X + 8), _mm_packs_epi32(Reduce(Acc2), Reduce(Acc3)));
  }
}

// The horizontal pass over one intermediate row. Every destination pixel
// takes Pairs pairs of neighbouring pixels (shorter runs padded with zero
// weights); Weights[d * Pairs + k] holds pair k's two weights in every 32-bit
// lane.
template <int FixedPairs>
void HorizontalRow(const TPlan& Plan, const std::int16_t* Mid, const __m128i* Weights, int Pairs,
                   std::uint32_t* Out, int Width) {
  if constexpr (FixedPairs > 0) Pairs = FixedPairs;
  const __m128i Offset = _mm_set1_epi32(Plan.Offset);
  const __m128i Multiplier = _mm_set1_epi32(static_cast<int>(Plan.Divider.Multiplier));
  const __m128i ShiftCount = _mm_cvtsi32_si128(Plan.Divider.Shift);
  const __m128i Mask = _mm_set1_epi32(0x00FFFFFF);
  const int* First = Plan.X.First.data();
  auto Pixel = [&](int D) {
    const std::int16_t* Src = Mid + 4 * static_cast<std::ptrdiff_t>(First[D]);
    const __m128i* W = Weights + static_cast<std::ptrdiff_t>(D) * Pairs;
    __m128i Acc = _mm_setzero_si128();
    for (int K = 0; K < Pairs; ++K) {
      // Two neighbouring pixels, interleaved per channel to meet the weights.
      const __m128i V = Load(Src + 8 * K);
      Acc = _mm_add_epi32(Acc, _mm_madd_epi16(_mm_unpacklo_epi16(V, _mm_srli_si128(V, 8)), W[K]));
    }
    // Lanes B, G, R, X: divide each by the denominator.
    const __m128i N = _mm_add_epi32(Acc, Offset);
    const __m128i Even = _mm_srl_epi64(_mm_mul_epu32(N, Multiplier), ShiftCount);
    const __m128i Odd = _mm_srl_epi64(_mm_mul_epu32(_mm_srli_epi64(N, 32), Multiplier), ShiftCount);
    return _mm_or_si128(Even, _mm_slli_epi64(Odd, 32));
  };
  int D = 0;
  for (; D + 1 < Width; D += 2) {
    const __m128i Two = _mm_packus_epi16(_mm_packs_epi32(Pixel(D), Pixel(D + 1)), _mm_setzero_si128());
    _mm_storel_epi64(reinterpret_cast<__m128i*>(Out + D), _mm_and_si128(Two, Mask));
  }
  if (D < Width) {
    const __m128i One = _mm_packus_epi16(_mm_packs_epi32(Pixel(D), Pixel(D)), _mm_setzero_si128());
    Out[D] = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_and_si128(One, Mask)));
  }
}

class TSse2Kernel {
 public:
  TSse2Kernel(int SrcW, int SrcH, int DstW, int DstH)
      : Plan(SrcW, SrcH, DstW, DstH),
        SrcW(SrcW),
        DstW(DstW),
        Pairs((Plan.X.MaxTaps + 1) / 2),
        HWeightStore(static_cast<std::size_t>(DstW) * Pairs),
        VWeightStore((Plan.Y.MaxTaps + 1) / 2),
        // The intermediate row, with room for the pixels that zero-weighted
        // padding pairs reach; what they hold never counts.
        Mid(4 * (static_cast<std::size_t>(SrcW) + 2 * Pairs + 2), 0),
        Done(SrcW & ~3) {
    __m128i* HWeights = HWeightStore.Data();
    for (int D = 0; D < DstW; ++D) {
      const int* W = Plan.X.Weights.data() + Plan.X.Begin[D];
      for (int K = 0; K < Pairs; ++K) {
        const int Even = 2 * K < Plan.X.Taps[D] ? W[2 * K] : 0;
        const int Odd = 2 * K + 1 < Plan.X.Taps[D] ? W[2 * K + 1] : 0;
        HWeights[static_cast<std::size_t>(D) * Pairs + K] = _mm_set1_epi32(Even | Odd << 16);
      }
    }
  }
  TPlan Plan;

  void Row(int D, std::uint32_t* Out) {
    const int Taps = Plan.Y.Taps[D];
    const int* W = Plan.Y.Weights.data() + Plan.Y.Begin[D];
    if (Plan.Shift == 0) {
      VerticalRowExact(Plan, Taps, W, SrcW, Mid.data());
    } else {
      __m128i* VWeightPairs = VWeightStore.Data();
      for (int T = 0; T < Taps; T += 2)
        VWeightPairs[T / 2] = _mm_set1_epi32(W[T] | (T + 1 < Taps ? W[T + 1] << 16 : 0));
      VerticalRowRounded(Plan, Taps, VWeightPairs, SrcW, Mid.data());
    }
    VerticalPixelsScalar(Plan, D, Done, SrcW, Mid.data() + 4 * static_cast<std::size_t>(Done));
    const __m128i* HWeights = HWeightStore.Data();
    switch (Pairs) {
      case 1: HorizontalRow<1>(Plan, Mid.data(), HWeights, Pairs, Out, DstW); break;
      case 2: HorizontalRow<2>(Plan, Mid.data(), HWeights, Pairs, Out, DstW); break;
      case 3: HorizontalRow<3>(Plan, Mid.data(), HWeights, Pairs, Out, DstW); break;
      default: HorizontalRow<0>(Plan, Mid.data(), HWeights, Pairs, Out, DstW); break;
    }
  }
  std::size_t ScratchBytes() const {
    return 16 * (static_cast<std::size_t>(DstW) * Pairs + (Plan.Y.MaxTaps + 1) / 2) +
           Mid.size() * sizeof(std::int16_t);
  }

 private:
  int SrcW, DstW, Pairs;
  TVectorArray HWeightStore, VWeightStore;
  std::vector<std::int16_t> Mid;
  int Done;
};

#endif

#ifdef __SSE2__
using TKernel = TSse2Kernel;
#else
using TKernel = TScalarKernel;
#endif

bool IsEmpty(const TPixelView& View) {
  return View.Pixels == nullptr || View.Width <= 0 || View.Height <= 0;
}

// Bottom to top: a picture just decoded top to bottom still has its last
// rows in the cache.
template <typename TAnyKernel>
void RunWhole(const TPixelView& Src, const TPixelView& Dest) {
  TAnyKernel Kernel(Src.Width, Src.Height, Dest.Width, Dest.Height);
  for (int D = Dest.Height - 1; D >= 0; --D) {
    Kernel.Plan.GatherRows(Src, D);
    Kernel.Row(D, Dest.Row(D));
  }
}

}  // namespace

void Resample(const TPixelView& Src, const TPixelView& Dest) {
  if (IsEmpty(Src) || IsEmpty(Dest)) return;
  RunWhole<TKernel>(Src, Dest);
}

void ResampleScalar(const TPixelView& Src, const TPixelView& Dest) {
  if (IsEmpty(Src) || IsEmpty(Dest)) return;
  RunWhole<TScalarKernel>(Src, Dest);
}

// The source rows live in a ring of Slots rows: source row J in slot
// J % Slots. Destination rows are made top to bottom, each as soon as its
// last source row is in. First[] never decreases along the destination, so
// while destination row D waits, its first row is later than NextSource -
// MaxTaps: the rows still needed and one strip of new rows fit in MaxTaps +
// StripRows slots.
struct TStreamResampler::TState {
  TKernel Kernel;
  TPixelView Dest;
  int SrcW, SrcH, Slots;
  int NextSource = 0, NextDest = 0;
  TState(int SrcW, int SrcH, const TPixelView& Dest)
      : Kernel(SrcW, SrcH, Dest.Width, Dest.Height),
        Dest(Dest),
        SrcW(SrcW),
        SrcH(SrcH),
        Slots(Kernel.Plan.Y.MaxTaps + StripRows) {}
};

TStreamResampler::TStreamResampler() = default;
TStreamResampler::~TStreamResampler() = default;

void TStreamResampler::Start(int SrcW, int SrcH, const TPixelView& Dest) {
  State.reset();
  if (SrcW <= 0 || SrcH <= 0 || IsEmpty(Dest)) return;
  State = std::make_unique<TState>(SrcW, SrcH, Dest);
  const std::size_t Need = static_cast<std::size_t>(SrcW) * State->Slots;
  if (Ring.size() < Need) {
    Ring.clear();
    Ring.shrink_to_fit();
    Ring.resize(Need);
  }
}

int TStreamResampler::NextRows(std::uint32_t** Rows, int MaxRows) {
  if (!State) return 0;
  const int Count = std::min({MaxRows, StripRows, State->SrcH - State->NextSource});
  for (int I = 0; I < Count; ++I) {
    const int Slot = (State->NextSource + I) % State->Slots;
    Rows[I] = Ring.data() + static_cast<std::size_t>(Slot) * State->SrcW;
  }
  return std::max(Count, 0);
}

void TStreamResampler::RowsWritten(int Count) {
  if (!State) return;
  TState& S = *State;
  S.NextSource = std::min(S.NextSource + std::max(Count, 0), S.SrcH);
  TPlan& Plan = S.Kernel.Plan;
  while (S.NextDest < S.Dest.Height && Plan.Y.First[S.NextDest] + Plan.Y.Taps[S.NextDest] <= S.NextSource) {
    const int First = Plan.Y.First[S.NextDest];
    for (int T = 0; T < Plan.Y.Taps[S.NextDest]; ++T) {
      const int Slot = (First + T) % S.Slots;
      Plan.Rows[T] = reinterpret_cast<const std::uint8_t*>(Ring.data() + static_cast<std::size_t>(Slot) * S.SrcW);
    }
    S.Kernel.Row(S.NextDest, S.Dest.Row(S.NextDest));
    ++S.NextDest;
  }
}

bool TStreamResampler::Finished() const { return State && State->NextDest == State->Dest.Height; }

std::size_t TStreamResampler::BufferBytes() const {
  return Ring.size() * sizeof(std::uint32_t) + (State ? State->Kernel.ScratchBytes() : 0);
}
