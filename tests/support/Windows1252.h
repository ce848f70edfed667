#pragma once
// Windows-1252 exactly as Windows maps it, for tests and fuzz targets of text
// that goes through the ANSI code page of a Western system: 0x80 to 0x9F hold
// the characters Windows puts there, and 0x81, 0x8D, 0x8F, 0x90 and 0x9D hold
// none (read as U+FFFD, and nothing is written as them). Portable.
#include <cstddef>
#include <string>
#include <string_view>

#include "core/CodePage.h"
#include "core/TextEncoding.h"

class TWindows1252 : public TCodePage {
 public:
  std::string ToUtf8(std::string_view Bytes) const override {
    std::u16string Wide;
    for (const char C : Bytes) Wide += Character(static_cast<unsigned char>(C));
    return Utf16ToUtf8(Wide);
  }

  bool FromUtf8(std::string_view Utf8, std::string& Bytes) const override {
    Bytes.clear();
    if (!IsValidUtf8(Utf8)) return false;
    for (const char16_t C : Utf8ToUtf16(Utf8)) {
      int Byte = C < 0x80 || (C >= 0xA0 && C <= 0xFF) ? C : 0x80;
      while (Byte < 0xA0 && Character(Byte) != C) ++Byte;
      if (Character(Byte) != C || C == 0xFFFD) return false;
      Bytes += static_cast<char>(Byte);
    }
    return true;
  }

  // The character of one byte; U+FFFD for the five that have none.
  static char16_t Character(int Byte) {
    static constexpr char16_t High[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    return Byte >= 0x80 && Byte < 0xA0 ? High[Byte - 0x80] : static_cast<char16_t>(Byte);
  }
};
