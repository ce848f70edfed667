#include "platform/Locale.h"

#include "platform/WideText.h"

std::string UserLocaleInfo(LCTYPE Type, const std::string& Fallback) {
  wchar_t Value[128] = L"";
  const int Length = GetLocaleInfoW(LOCALE_USER_DEFAULT, Type, Value, 128);
  return Length > 1 ? Utf8(std::wstring_view(Value, static_cast<std::size_t>(Length - 1))) : Fallback;
}
