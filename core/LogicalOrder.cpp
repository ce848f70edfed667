#include "core/LogicalOrder.h"

#include <cstddef>
#include <cstdint>

namespace {

// Units sort by class first; a name that has ended sorts before all of them.
enum TClass { Period, Number, Other };

struct TUnit {
  TClass Class;
  std::string_view Digits;  // a number's digits without its leading zeros
  std::size_t Zeros;        // a number's leading zeros
  std::uint32_t Weight;     // an other character's place
};

// Simple case folding (to lower case) of the scripts the order folds.
std::uint32_t Folded(std::uint32_t C) {
  if (C >= 'A' && C <= 'Z') return C + 0x20;
  if (C < 0xB5) return C;
  if (C == 0xB5) return 0x3BC;  // micro sign: Greek mu
  if ((C >= 0xC0 && C <= 0xDE && C != 0xD7)) return C + 0x20;
  if (C >= 0x100 && C <= 0x17F) {
    if (C == 0x178) return 0xFF;
    if (C == 0x17F) return 's';
    const bool EvenUpper = C <= 0x12F || (C >= 0x132 && C <= 0x137) || (C >= 0x14A && C <= 0x177);
    const bool OddUpper = (C >= 0x139 && C <= 0x148) || (C >= 0x179 && C <= 0x17E);
    if ((EvenUpper && C % 2 == 0) || (OddUpper && C % 2 == 1)) return C + 1;
    return C;
  }
  if (C == 0x386) return 0x3AC;
  if (C >= 0x388 && C <= 0x38A) return C + 0x25;
  if (C == 0x38C) return 0x3CC;
  if (C == 0x38E || C == 0x38F) return C + 0x3F;
  if (C >= 0x391 && C <= 0x3AB && C != 0x3A2) return C + 0x20;
  if (C == 0x3C2) return 0x3C3;  // final sigma
  if (C >= 0x400 && C <= 0x40F) return C + 0x50;
  if (C >= 0x410 && C <= 0x42F) return C + 0x20;
  return C;
}

// The place of a character: ASCII symbols, blanks and controls by their code,
// then the letters, then every other code point, then bytes that are not
// UTF-8.
constexpr std::uint32_t LetterBase = 0x80;
constexpr std::uint32_t BeyondAsciiBase = 0x100;
constexpr std::uint32_t InvalidByteBase = BeyondAsciiBase + 0x110000;

std::uint32_t CharacterWeight(std::uint32_t CodePoint) {
  const std::uint32_t C = Folded(CodePoint);
  if (C >= 'a' && C <= 'z') return LetterBase + (C - 'a');
  return C < 0x80 ? C : BeyondAsciiBase + C;
}

bool IsDigit(char C) { return C >= '0' && C <= '9'; }
bool IsContinuation(unsigned char B) { return (B & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of Text and its
// code point; 0 when it is not one (overlong, a surrogate, past U+10FFFF,
// cut short or a stray continuation byte).
std::size_t DecodeUtf8(std::string_view Text, std::uint32_t& CodePoint) {
  const auto B0 = static_cast<unsigned char>(Text[0]);
  std::size_t Length;
  unsigned char Low = 0x80, High = 0xBF;  // the range of the second byte
  if (B0 >= 0xC2 && B0 <= 0xDF) {
    Length = 2;
    CodePoint = B0 & 0x1F;
  } else if (B0 >= 0xE0 && B0 <= 0xEF) {
    Length = 3;
    CodePoint = B0 & 0x0F;
    if (B0 == 0xE0) Low = 0xA0;
    if (B0 == 0xED) High = 0x9F;
  } else if (B0 >= 0xF0 && B0 <= 0xF4) {
    Length = 4;
    CodePoint = B0 & 0x07;
    if (B0 == 0xF0) Low = 0x90;
    if (B0 == 0xF4) High = 0x8F;
  } else {
    return 0;
  }
  if (Text.size() < Length) return 0;
  const auto B1 = static_cast<unsigned char>(Text[1]);
  if (B1 < Low || B1 > High) return 0;
  for (std::size_t I = 1; I < Length; ++I) {
    const auto B = static_cast<unsigned char>(Text[I]);
    if (!IsContinuation(B)) return 0;
    CodePoint = CodePoint << 6 | (B & 0x3F);
  }
  return Length;
}

// Reads a name's units one at a time.
class TUnitReader {
 public:
  explicit TUnitReader(std::string_view Name) : Rest(Name) {}

  bool Next(TUnit& Unit) {
    if (Rest.empty()) return false;
    const char First = Rest[0];
    if (First == '.') {
      Unit.Class = Period;
      Rest.remove_prefix(1);
    } else if (IsDigit(First)) {
      std::size_t Zeros = 0, End = 0;
      while (End < Rest.size() && IsDigit(Rest[End])) ++End;
      while (Zeros < End - 1 && Rest[Zeros] == '0') ++Zeros;  // a run of zeros keeps one, its value
      Unit.Class = Number;
      Unit.Zeros = Zeros;
      Unit.Digits = Rest.substr(Zeros, End - Zeros);
      Rest.remove_prefix(End);
    } else {
      const auto B0 = static_cast<unsigned char>(First);
      std::uint32_t CodePoint = B0;
      std::size_t Length = B0 < 0x80 ? 1 : DecodeUtf8(Rest, CodePoint);
      Unit.Class = Other;
      if (Length == 0) {
        Unit.Weight = InvalidByteBase + B0;
        Length = 1;
      } else {
        Unit.Weight = CharacterWeight(CodePoint);
      }
      Rest.remove_prefix(Length);
    }
    return true;
  }

 private:
  std::string_view Rest;
};

int Sign(int Value) { return (Value > 0) - (Value < 0); }

int CompareUnits(const TUnit& A, const TUnit& B) {
  if (A.Class != B.Class) return A.Class < B.Class ? -1 : 1;
  if (A.Class == Number) {
    if (A.Digits.size() != B.Digits.size()) return A.Digits.size() < B.Digits.size() ? -1 : 1;
    return Sign(A.Digits.compare(B.Digits));
  }
  if (A.Class == Other && A.Weight != B.Weight) return A.Weight < B.Weight ? -1 : 1;
  return 0;
}

}  // namespace

int CompareLogical(std::string_view A, std::string_view B) {
  TUnitReader ReadA(A), ReadB(B);
  int ByZeros = 0;  // the first difference in leading zeros: more zeros first
  for (;;) {
    TUnit UnitA, UnitB;
    const bool HasA = ReadA.Next(UnitA), HasB = ReadB.Next(UnitB);
    if (!HasA || !HasB) return HasA ? 1 : (HasB ? -1 : ByZeros);
    if (const int Order = CompareUnits(UnitA, UnitB); Order != 0) return Order;
    if (ByZeros == 0 && UnitA.Class == Number && UnitA.Zeros != UnitB.Zeros) ByZeros = UnitA.Zeros > UnitB.Zeros ? -1 : 1;
  }
}
