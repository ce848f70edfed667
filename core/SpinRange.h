#pragma once
// The number rules of a spin edit: its range, clamping, reading and the
// characters that may be typed into it. Portable.
#include <cstdint>
#include <string>

// A spin edit's range: equal bounds mean none.
struct TSpinRange {
  std::int32_t Min = 0;
  std::int32_t Max = 0;
  bool Bounded() const { return Min != Max; }
  // Value pulled to the nearer bound when outside a bounded range.
  std::int32_t Clamp(std::int64_t Value) const;
  // The integer in Text, or Min when the text is no integer.
  std::int32_t Read(const std::string& Text) const;
};

// Whether a typed character may enter a spin edit: digits, the decimal
// separator, plus and minus, and control characters (backspace, paste...).
bool SpinEditAccepts(char Typed, char DecimalSeparator);
