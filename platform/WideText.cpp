#include "platform/WideText.h"

#include <vector>

#include "core/TextEncoding.h"

std::wstring Wide(std::string_view Utf8Text) {
  const std::u16string Text = Utf8ToUtf16(Utf8Text);
  return std::wstring(Text.begin(), Text.end());
}

std::string Utf8(std::wstring_view Text) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(Text.data()), Text.size()));
}

std::string Utf8(const wchar_t* Text) { return Text ? Utf8(std::wstring_view(Text)) : std::string(); }

std::string WindowText(HWND Window) {
  std::wstring Text(static_cast<std::size_t>(GetWindowTextLengthW(Window)) + 1, L'\0');
  Text.resize(static_cast<std::size_t>(GetWindowTextW(Window, Text.data(), static_cast<int>(Text.size()))));
  return Utf8(Text);
}

void SetWindowTextUtf8(HWND Window, std::string_view Text) { SetWindowTextW(Window, Wide(Text).c_str()); }

int ShowMessageBox(HWND Owner, std::string_view Text, std::string_view Caption, UINT Flags) {
  return MessageBoxW(Owner, Wide(Text).c_str(), Wide(Caption).c_str(), Flags);
}

std::wstring WidePath(std::string_view Utf8Path) {
  std::wstring Path = Wide(Utf8Path);
  // A folder's path must leave room for an 8.3 name below it.
  constexpr std::size_t Limit = MAX_PATH - 12;
  if (Path.size() < Limit || Path.rfind(L"\\\\?\\", 0) == 0) return Path;
  const DWORD Needed = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
  if (Needed == 0) return Path;
  std::vector<wchar_t> Full(Needed);
  const DWORD Length = GetFullPathNameW(Path.c_str(), Needed, Full.data(), nullptr);
  if (Length == 0 || Length >= Needed) return Path;
  const std::wstring_view Whole(Full.data(), Length);
  if (Whole.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + std::wstring(Whole.substr(2));
  return L"\\\\?\\" + std::wstring(Whole);
}
