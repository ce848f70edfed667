#include "platform/AnsiCodePage.h"

#include <windows.h>

#include "platform/WideText.h"

std::string TAnsiCodePage::ToUtf8(std::string_view Bytes) const {
  if (Bytes.empty()) return std::string();
  const int Size = static_cast<int>(Bytes.size());
  const int Length = MultiByteToWideChar(CP_ACP, 0, Bytes.data(), Size, nullptr, 0);
  if (Length <= 0) return std::string();
  std::wstring Text(static_cast<std::size_t>(Length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, Bytes.data(), Size, Text.data(), Length);
  return Utf8(Text);
}

bool TAnsiCodePage::FromUtf8(std::string_view Utf8Text, std::string& Bytes) const {
  Bytes.clear();
  if (Utf8Text.empty()) return true;
  const std::wstring Text = Wide(Utf8Text);
  const int Size = static_cast<int>(Text.size());
  BOOL Replaced = FALSE;
  // No best fit ("é" for "ė"), and nothing replaced by the default character.
  const int Length =
      WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Text.data(), Size, nullptr, 0, nullptr, &Replaced);
  if (Length <= 0 || Replaced) return false;
  Bytes.resize(static_cast<std::size_t>(Length));
  WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, Text.data(), Size, Bytes.data(), Length, nullptr, &Replaced);
  // Exactly: the bytes read back as the same text.
  return !Replaced && ToUtf8(Bytes) == Utf8(Text);
}

const TCodePage& AnsiCodePage() {
  static const TAnsiCodePage CodePage;  // no state: nothing to outlive
  return CodePage;
}
