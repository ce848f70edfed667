#pragma once
// Text is UTF-8 inside the program and UTF-16 at the Windows boundary. Portable.
#include <cstddef>
#include <string>
#include <string_view>

// Utf8ToUtf16: each invalid or incomplete UTF-8 sequence (a stray continuation byte, a cut sequence, an
// overlong form, a surrogate code point, a value above U+10FFFF) becomes one U+FFFD; never reads past the end.
// A sequence ends as invalid at the first byte that cannot continue it, and that byte starts the next one
// (the maximal subpart, as Unicode recommends and Windows, browsers and Python convert): so a cut "E6 9D"
// gives one U+FFFD, while an overlong "C0 80" or a surrogate "ED A0 80" gives one per byte, since no
// sequence starts C0 or goes on ED A0.
std::u16string Utf8ToUtf16(std::string_view Utf8);

// Utf16ToUtf8: an unpaired surrogate becomes U+FFFD; a pair becomes its one 4-byte sequence.
std::string Utf16ToUtf8(std::u16string_view Utf16);

// Strict: true when Utf8ToUtf16 would replace nothing (U+FFFD written as such is valid).
bool IsValidUtf8(std::string_view Text);

// Whether every byte is below 0x80.
bool IsAscii(std::string_view Text);

// The longest prefix of Text, at most MaxBytes long, that ends on a whole UTF-8 sequence
// (for cutting text to a field's size without splitting a character). An invalid sequence counts as
// one whole, as Utf8ToUtf16 reads it, so the prefix converts to a prefix of what Text converts to.
std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes);
