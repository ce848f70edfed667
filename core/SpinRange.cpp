#include "core/SpinRange.h"

#include <limits>

#include "core/IntegerText.h"

namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();

}  // namespace

std::int32_t TSpinRange::Clamp(std::int64_t Value) const {
  if (Bounded()) {
    if (Value < Min) return Min;
    if (Value > Max) return Max;
  }
  if (Value > Int32Max) return static_cast<std::int32_t>(Int32Max);
  if (Value < Int32Min) return static_cast<std::int32_t>(Int32Min);
  return static_cast<std::int32_t>(Value);
}

std::int32_t TSpinRange::Read(const std::string& Text) const {
  std::int32_t Value = 0;
  return ReadInteger(Text, Value) ? Value : Min;
}

bool SpinEditAccepts(char Typed, char DecimalSeparator) {
  const auto C = static_cast<unsigned char>(Typed);
  return C < 0x20 || (C >= '0' && C <= '9') || Typed == DecimalSeparator || Typed == '+' || Typed == '-';
}
