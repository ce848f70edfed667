#pragma once
// The user's locale settings, as UTF-8 text.
#include <windows.h>

#include <string>

// A value of the user's default locale (GetLocaleInfoW with LOCALE_USER_DEFAULT),
// or Fallback when it has none.
std::string UserLocaleInfo(LCTYPE Type, const std::string& Fallback);
