#include "core/IntegerText.h"

#include <limits>

namespace {

int HexDigitValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  return -1;
}

}  // namespace

bool ReadInteger(const std::string& Text, std::int32_t& Value) {
  std::size_t I = 0;
  const std::size_t N = Text.size();
  while (I < N && Text[I] == ' ') ++I;
  bool Negative = false;
  if (I < N && (Text[I] == '+' || Text[I] == '-')) {
    Negative = Text[I] == '-';
    ++I;
  }
  int Base = 10;
  if (I < N && (Text[I] == '$' || Text[I] == 'x' || Text[I] == 'X')) {
    Base = 16;
    ++I;
  } else if (I + 1 < N && Text[I] == '0' && (Text[I + 1] == 'x' || Text[I + 1] == 'X')) {
    Base = 16;
    I += 2;
  }
  if (I >= N) return false;
  // Magnitude limit: 2^31 for a negative value, 2^31 - 1 otherwise.
  const std::uint64_t Limit =
      static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (Negative ? 1 : 0);
  std::uint64_t Magnitude = 0;
  for (; I < N; ++I) {
    const int Digit = Base == 16 ? HexDigitValue(Text[I])
                                 : (Text[I] >= '0' && Text[I] <= '9' ? Text[I] - '0' : -1);
    if (Digit < 0) return false;
    Magnitude = Magnitude * Base + Digit;
    if (Magnitude > Limit) return false;
  }
  Value = Negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(Magnitude))
                   : static_cast<std::int32_t>(Magnitude);
  return true;
}
