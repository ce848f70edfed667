#pragma once
// Integer text as the user and the command line write it. Portable.
#include <cstdint>
#include <string>

// Reads a signed 32-bit integer: leading blanks, an optional sign, then decimal
// digits or hexadecimal digits after "$", "x", "X", "0x" or "0X". Anything
// else, an empty text or a value outside the signed 32-bit range fails.
bool ReadInteger(const std::string& Text, std::int32_t& Value);
