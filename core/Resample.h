#pragma once
// Area-averaging resampler: the whole source picture into the whole
// destination rectangle. Portable (no platform calls), separable, fixed point.
//
// Per axis:
//  - shrinking (destination side < source side) and equal sides: each
//    destination pixel is the area-weighted mean of the source pixels its
//    footprint covers, with weights proportional to the exact overlap;
//  - enlarging: bilinear interpolation between the two nearest source pixel
//    centres; pixels beyond the edge replicate the edge pixel.
// The weights of every destination pixel sum to exactly the fixed-point unit,
// so a constant picture stays constant.
//
// Precision: the overlap weights are held exactly when the reduced fraction
// source/destination has a denominator of at most 256 vertically and 16384
// horizontally (integer shrink factors up to 256 included); otherwise they
// are rounded to 1/4096 (vertically) and 1/16384 (horizontally) of a
// destination pixel, and the intermediate vertical means to 1/256 of a level.
// The one final rounding is half up: with exact weights, every destination
// channel is floor(exact weighted mean + 1/2). Shrinking by an integer factor
// therefore gives exactly the rounded block mean.
//
// Pixels are 0x00RRGGBB; the high byte of source pixels is ignored and that of
// destination pixels is written 0.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/Pixels.h"
#include "core/RowSink.h"

// Resamples all of Src into all of Dest. Src is only read. Dest may be a
// sub-rectangle of a larger image (its Stride); pixels outside it are not
// touched. Src and Dest must not overlap. A source or destination with a side
// of 0 or less does nothing. Uses SSE2 where the target has it.
void Resample(const TPixelView& Src, const TPixelView& Dest);

// The portable path of Resample: the same results bit for bit, without SIMD.
void ResampleScalar(const TPixelView& Src, const TPixelView& Dest);

// The same resampling as Resample, bit for bit, fed with the source a strip
// of rows at a time from the top (a row sink for a decoder), so that the
// whole source never has to be in memory. It keeps only the source rows that
// destination rows still need, in a ring of at most (largest number of
// source rows one destination row takes) + StripRows rows, and writes each
// destination row as soon as its last source row is in.
//
// The ring is kept from one picture to the next and grows only when a
// picture needs more, so a slide show of like pictures allocates nothing new
// for it.
class TStreamResampler final : public TRowSink {
 public:
  // The most rows that NextRows hands out at once.
  static constexpr int StripRows = 16;

  TStreamResampler();
  ~TStreamResampler();
  TStreamResampler(const TStreamResampler&) = delete;
  TStreamResampler& operator=(const TStreamResampler&) = delete;

  // Prepares the resampling of a SrcW x SrcH source into all of Dest (which
  // may be a sub-rectangle of a larger image; nothing outside it is written).
  // With a side of 0 or less there is nothing to do: NextRows hands out no
  // rows. May raise std::bad_alloc; nothing is written before the rows come.
  void Start(int SrcW, int SrcH, const TPixelView& Dest);
  int NextRows(std::uint32_t** Rows, int MaxRows) override;
  void RowsWritten(int Count) override;
  // Every destination row has been written.
  bool Finished() const;
  // Bytes the resampler holds: the ring of source rows (kept at its largest
  // size so far) and the current picture's per-row scratch.
  std::size_t BufferBytes() const;

 private:
  struct TState;
  std::unique_ptr<TState> State;
  std::vector<std::uint32_t> Ring;
};
