#pragma once
// Text is UTF-8 inside the program and UTF-16 at the Windows boundary. Portable.
#include <cstddef>
#include <string>
#include <string_view>

std::u16string Utf8ToUtf16(std::string_view Utf8);
std::string Utf16ToUtf8(std::u16string_view Utf16);
bool IsValidUtf8(std::string_view Text);
bool IsAscii(std::string_view Text);
std::string_view Utf8Prefix(std::string_view Text, std::size_t MaxBytes);
