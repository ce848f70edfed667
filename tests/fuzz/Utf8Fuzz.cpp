// The UTF-8 and UTF-16 conversions, on the input read as UTF-8 and as UTF-16
// (little-endian pairs of bytes): what they write is always valid, a valid
// text goes round unchanged, replacement is stable, and a prefix cut to a
// size never splits a character.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/TextEncoding.h"
#include "fuzz/FuzzCheck.h"

namespace {

// Whether Utf16 holds a surrogate that is not half of a pair.
bool HasUnpairedSurrogate(std::u16string_view Utf16) {
  for (std::size_t I = 0; I < Utf16.size(); ++I) {
    const char16_t C = Utf16[I];
    if (C >= 0xD800 && C <= 0xDBFF && I + 1 < Utf16.size() && Utf16[I + 1] >= 0xDC00 && Utf16[I + 1] <= 0xDFFF)
      ++I;
    else if (C >= 0xD800 && C <= 0xDFFF)
      return true;
  }
  return false;
}

void CheckUtf8(std::string_view Text) {
  const std::u16string Wide = Utf8ToUtf16(Text);
  FUZZ_CHECK(Wide.size() <= Text.size());
  FUZZ_CHECK(!HasUnpairedSurrogate(Wide));
  const std::string Back = Utf16ToUtf8(Wide);
  FUZZ_CHECK(IsValidUtf8(Back));
  // Valid exactly when nothing was replaced; a replaced text converts the same again.
  FUZZ_CHECK(IsValidUtf8(Text) == (Back == Text));
  FUZZ_CHECK(Utf8ToUtf16(Back) == Wide);
  if (IsAscii(Text)) FUZZ_CHECK(Wide == std::u16string(Text.begin(), Text.end()));
  FUZZ_CHECK(!IsAscii(Text) || IsValidUtf8(Text));
}

void CheckPrefix(std::string_view Text, std::size_t MaxBytes) {
  const std::string_view Prefix = Utf8Prefix(Text, MaxBytes);
  FUZZ_CHECK(Prefix.data() == Text.data());
  FUZZ_CHECK(Prefix.size() <= MaxBytes);
  if (Text.size() <= MaxBytes) FUZZ_CHECK(Prefix.size() == Text.size());
  // A sequence is at most 4 bytes long, so at most 3 are given up.
  FUZZ_CHECK(Prefix.size() + 3 >= std::min(MaxBytes, Text.size()));
  const std::u16string Whole = Utf8ToUtf16(Text), Part = Utf8ToUtf16(Prefix);
  FUZZ_CHECK(Whole.compare(0, Part.size(), Part) == 0);
  if (IsValidUtf8(Text)) FUZZ_CHECK(IsValidUtf8(Prefix));
}

void CheckUtf16(std::u16string_view Wide) {
  const std::string Narrow = Utf16ToUtf8(Wide);
  FUZZ_CHECK(IsValidUtf8(Narrow));
  FUZZ_CHECK(Narrow.size() <= 3 * Wide.size());
  const std::u16string Back = Utf8ToUtf16(Narrow);
  if (!HasUnpairedSurrogate(Wide)) {
    FUZZ_CHECK(Back == Wide);
  } else {
    // Each unpaired surrogate became one U+FFFD, in its place.
    FUZZ_CHECK(Back.size() == Wide.size());
    for (std::size_t I = 0; I < Back.size(); ++I)
      FUZZ_CHECK(Back[I] == Wide[I] || (Back[I] == 0xFFFD && Wide[I] >= 0xD800 && Wide[I] <= 0xDFFF));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  const std::string_view Text(reinterpret_cast<const char*>(Data), Size);
  CheckUtf8(Text);
  // The first byte chooses a size to cut the rest to.
  if (Size > 0) {
    CheckPrefix(Text.substr(1), Data[0]);
    CheckPrefix(Text, Size - Data[0] % Size);
  }
  std::u16string Wide(Size / 2, u'\0');
  for (std::size_t I = 0; I < Wide.size(); ++I) Wide[I] = static_cast<char16_t>(Data[2 * I] | Data[2 * I + 1] << 8);
  CheckUtf16(Wide);
  return 0;
}
