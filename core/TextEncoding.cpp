#include "core/TextEncoding.h"

namespace {

// The code point of the sequence at Text[I], and its length; 0 for an
// invalid or incomplete sequence.
char32_t Decode(std::string_view Text, std::size_t I, std::size_t& Length) {
  const auto Byte = [&](std::size_t K) { return static_cast<unsigned char>(Text[K]); };
  const unsigned char B = Byte(I);
  Length = 1;
  if (B < 0x80) return B;
  std::size_t N;
  char32_t C, Min;
  if (B >= 0xC2 && B <= 0xDF) N = 2, C = B & 0x1F, Min = 0x80;
  else if (B >= 0xE0 && B <= 0xEF) N = 3, C = B & 0x0F, Min = 0x800;
  else if (B >= 0xF0 && B <= 0xF4) N = 4, C = B & 0x07, Min = 0x10000;
  else return 0;
  for (std::size_t K = 1; K < N; ++K) {
    if (I + K >= Text.size() || (Byte(I + K) & 0xC0) != 0x80) {
      Length = K;
      return 0;
    }
    C = (C << 6) | (Byte(I + K) & 0x3F);
  }
  Length = N;
  if (C < Min || C > 0x10FFFF || (C >= 0xD800 && C <= 0xDFFF)) return 0;
  return C;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view Utf8) {
  std::u16string Out;
  Out.reserve(Utf8.size());
  for (std::size_t I = 0; I < Utf8.size();) {
    std::size_t Length;
    const char32_t C = Decode(Utf8, I, Length);
    if (C == 0 && Utf8[I] != '\0') {
      Out.push_back(u'\xFFFD');
    } else if (C >= 0x10000) {
      Out.push_back(static_cast<char16_t>(0xD800 + ((C - 0x10000) >> 10)));
      Out.push_back(static_cast<char16_t>(0xDC00 + ((C - 0x10000) & 0x3FF)));
    } else {
      Out.push_back(static_cast<char16_t>(C));
    }
    I += Length;
  }
  return Out;
}

std::string Utf16ToUtf8(std::u16string_view Utf16) {
  std::string Out;
  Out.reserve(Utf16.size());
  for (std::size_t I = 0; I < Utf16.size(); ++I) {
    char32_t C = Utf16[I];
    if (C >= 0xD800 && C <= 0xDBFF && I + 1 < Utf16.size() && Utf16[I + 1] >= 0xDC00 && Utf16[I + 1] <= 0xDFFF) {
      C = 0x10000 + ((C - 0xD800) << 10) + (Utf16[++I] - 0xDC00);
    } else if (C >= 0xD800 && C <= 0xDFFF) {
      C = 0xFFFD;
    }
    if (C < 0x80) {
      Out.push_back(static_cast<char>(C));
    } else if (C < 0x800) {
      Out.push_back(static_cast<char>(0xC0 | (C >> 6)));
      Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
    } else if (C < 0x10000) {
      Out.push_back(static_cast<char>(0xE0 | (C >> 12)));
      Out.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
    } else {
      Out.push_back(static_cast<char>(0xF0 | (C >> 18)));
      Out.push_back(static_cast<char>(0x80 | ((C >> 12) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | ((C >> 6) & 0x3F)));
      Out.push_back(static_cast<char>(0x80 | (C & 0x3F)));
    }
  }
  return Out;
}

bool IsValidUtf8(std::string_view Text) {
  for (std::size_t I = 0; I < Text.size();) {
    std::size_t Length;
    if (Decode(Text, I, Length) == 0 && Text[I] != '\0') return false;
    I += Length;
  }
  return true;
}

bool IsAscii(std::string_view Text) {
  for (const char C : Text)
    if (static_cast<unsigned char>(C) >= 0x80) return false;
  return true;
}

std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes) {
  if (Text.size() <= MaxBytes) return Text;
  std::size_t End = MaxBytes;
  while (End > 0 && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80) --End;
  return Text.substr(0, End);
}
