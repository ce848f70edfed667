#include "platform/SystemPaths.h"

#include <windows.h>

#include "platform/WideText.h"

std::string SystemFolder() {
  wchar_t Folder[MAX_PATH];
  const UINT Length = GetSystemDirectoryW(Folder, MAX_PATH);
  std::string Result = Length > 0 && Length < MAX_PATH ? Utf8(std::wstring_view(Folder, Length)) : std::string();
  if (!Result.empty() && Result.back() == '\\') Result.pop_back();
  return Result;
}

std::string ExecutablePath() {
  // The buffer grows until the whole path fits: a path may be longer than
  // MAX_PATH.
  for (DWORD Size = MAX_PATH;; Size *= 2) {
    std::wstring Path(Size, L'\0');
    const DWORD Length = GetModuleFileNameW(nullptr, Path.data(), Size);
    if (Length == 0) return std::string();
    if (Length < Size) return Utf8(std::wstring_view(Path.data(), Length));
    if (Size >= 32768) return std::string();
  }
}
