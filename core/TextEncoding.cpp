#include "core/TextEncoding.h"

#include <cstdint>

namespace {

constexpr char32_t Replacement = 0xFFFD;

// One sequence read from the front of a text: its code point (U+FFFD when
// invalid) and the bytes it takes, at least one.
struct TSequence {
  char32_t CodePoint;
  std::size_t Length;
  bool Valid;
};

// Reads the sequence at Text[Pos] (Pos < Text.size()) by the table of
// well-formed UTF-8: the lead byte fixes the length and the range of the
// second byte, which is what rules out overlong forms, surrogates and values
// above U+10FFFF; every later byte is 80 to BF.
TSequence ReadSequence(std::string_view Text, std::size_t Pos) {
  const auto Byte = [&Text](std::size_t I) { return static_cast<std::uint8_t>(Text[I]); };
  const std::uint8_t Lead = Byte(Pos);
  if (Lead < 0x80) return {Lead, 1, true};
  std::size_t Length;
  std::uint8_t Low = 0x80, High = 0xBF;
  char32_t Value;
  if (Lead >= 0xC2 && Lead <= 0xDF) {
    Length = 2;
    Value = Lead & 0x1F;
  } else if (Lead >= 0xE0 && Lead <= 0xEF) {
    Length = 3;
    Value = Lead & 0x0F;
    if (Lead == 0xE0) Low = 0xA0;   // below: overlong
    if (Lead == 0xED) High = 0x9F;  // above: a surrogate
  } else if (Lead >= 0xF0 && Lead <= 0xF4) {
    Length = 4;
    Value = Lead & 0x07;
    if (Lead == 0xF0) Low = 0x90;   // below: overlong
    if (Lead == 0xF4) High = 0x8F;  // above: past U+10FFFF
  } else {
    return {Replacement, 1, false};  // a continuation byte, C0, C1 or F5 to FF
  }
  for (std::size_t I = 1; I < Length; ++I) {
    if (Pos + I >= Text.size()) return {Replacement, I, false};
    const std::uint8_t Next = Byte(Pos + I);
    if (Next < Low || Next > High) return {Replacement, I, false};
    Value = Value << 6 | (Next & 0x3F);
    Low = 0x80;
    High = 0xBF;
  }
  return {Value, Length, true};
}

void AppendUtf8(std::string& Out, char32_t C) {
  if (C < 0x80) {
    Out += static_cast<char>(C);
  } else if (C < 0x800) {
    Out += static_cast<char>(0xC0 | C >> 6);
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else if (C < 0x10000) {
    Out += static_cast<char>(0xE0 | C >> 12);
    Out += static_cast<char>(0x80 | (C >> 6 & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | C >> 18);
    Out += static_cast<char>(0x80 | (C >> 12 & 0x3F));
    Out += static_cast<char>(0x80 | (C >> 6 & 0x3F));
    Out += static_cast<char>(0x80 | (C & 0x3F));
  }
}

bool IsHighSurrogate(char16_t C) { return C >= 0xD800 && C <= 0xDBFF; }
bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

}  // namespace

std::u16string Utf8ToUtf16(std::string_view Utf8) {
  std::u16string Out;
  Out.reserve(Utf8.size());
  for (std::size_t Pos = 0; Pos < Utf8.size();) {
    const TSequence S = ReadSequence(Utf8, Pos);
    Pos += S.Length;
    if (S.CodePoint < 0x10000) {
      Out += static_cast<char16_t>(S.CodePoint);
    } else {
      Out += static_cast<char16_t>(0xD800 + ((S.CodePoint - 0x10000) >> 10));
      Out += static_cast<char16_t>(0xDC00 + (S.CodePoint & 0x3FF));
    }
  }
  return Out;
}

std::string Utf16ToUtf8(std::u16string_view Utf16) {
  std::string Out;
  Out.reserve(Utf16.size());
  for (std::size_t I = 0; I < Utf16.size(); ++I) {
    const char16_t C = Utf16[I];
    if (IsHighSurrogate(C) && I + 1 < Utf16.size() && IsLowSurrogate(Utf16[I + 1])) {
      AppendUtf8(Out, 0x10000 + ((static_cast<char32_t>(C) - 0xD800) << 10) + (Utf16[I + 1] - 0xDC00));
      ++I;
    } else if (IsHighSurrogate(C) || IsLowSurrogate(C)) {
      AppendUtf8(Out, Replacement);
    } else {
      AppendUtf8(Out, C);
    }
  }
  return Out;
}

bool IsValidUtf8(std::string_view Text) {
  for (std::size_t Pos = 0; Pos < Text.size();) {
    const TSequence S = ReadSequence(Text, Pos);
    if (!S.Valid) return false;
    Pos += S.Length;
  }
  return true;
}

bool IsAscii(std::string_view Text) {
  for (const char C : Text)
    if (static_cast<std::uint8_t>(C) >= 0x80) return false;
  return true;
}

std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes) {
  if (Text.size() <= MaxBytes) return Text;
  std::size_t End = 0;
  while (End < MaxBytes) {
    const std::size_t Next = End + ReadSequence(Text, End).Length;
    if (Next > MaxBytes) break;
    End = Next;
  }
  return Text.substr(0, End);
}
