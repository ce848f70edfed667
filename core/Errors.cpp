#include "core/Errors.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

EError::EError(const std::string& Message, const char* KindName)
    : std::runtime_error(Message), Kind(KindName), Where(__builtin_return_address(0)) {}

std::string Format(const char* Pattern, ...) {
  va_list Args;
  va_start(Args, Pattern);
  va_list Copy;
  va_copy(Copy, Args);
  const int Length = std::vsnprintf(nullptr, 0, Pattern, Copy);
  va_end(Copy);
  std::string Result;
  if (Length > 0) {
    std::vector<char> Buffer(static_cast<std::size_t>(Length) + 1);
    std::vsnprintf(Buffer.data(), Buffer.size(), Pattern, Args);
    Result.assign(Buffer.data(), static_cast<std::size_t>(Length));
  }
  va_end(Args);
  return Result;
}

std::string WithFullStop(const std::string& Message) {
  if (!Message.empty() && static_cast<unsigned char>(Message.back()) > '.') return Message + ".";
  return Message;
}
