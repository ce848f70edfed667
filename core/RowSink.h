#pragma once
// A receiver of a picture's rows, a strip at a time from the top: a decoder
// asks where its next rows go, writes them, and says how many it wrote.
// Portable.
#include <cstdint>

#include "core/Pixels.h"

class TRowSink {
 public:
  // Points Rows[0 .. n) at where the next n rows go (n at most MaxRows), each
  // at least as wide as the picture, and returns n. A sink returns at least 1
  // while the picture has rows left, or 0 to stop the producer early (it
  // then reports failure). Must not throw.
  virtual int NextRows(std::uint32_t** Rows, int MaxRows) = 0;
  // The first Count of the rows last handed out have been written. Must not
  // throw.
  virtual void RowsWritten(int Count) = 0;

 protected:
  ~TRowSink() = default;
};

// Writes the rows straight into a view of the picture's own size.
class TViewRows final : public TRowSink {
 public:
  explicit TViewRows(const TPixelView& View) : View(View) {}
  int NextRows(std::uint32_t** Rows, int MaxRows) override {
    int Count = 0;
    for (; Count < MaxRows && Next + Count < View.Height; ++Count) Rows[Count] = View.Row(Next + Count);
    return Count;
  }
  void RowsWritten(int Count) override { Next += Count; }

 private:
  TPixelView View;
  int Next = 0;
};
