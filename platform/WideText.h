#pragma once
// The boundary between the program's text, UTF-8 in std::string, and the
// UTF-16 that the Windows "W" functions take and return. Every call into
// Windows that takes or returns text goes through these.
#include <windows.h>

#include <string>
#include <string_view>

std::wstring Wide(std::string_view Utf8);
std::string Utf8(std::wstring_view Text);
// A text Windows returned; null gives the empty text.
std::string Utf8(const wchar_t* Text);

// A path as the file functions take it: a path that is too long for them
// otherwise (MAX_PATH and beyond, less room for a file name in a folder)
// becomes its full form after "\\?\" ("\\?\UNC\" for a share), which reaches
// any length Windows allows. Other paths are passed as they are.
std::wstring WidePath(std::string_view Utf8Path);

// A window's text, and a new one.
std::string WindowText(HWND Window);
void SetWindowTextUtf8(HWND Window, std::string_view Text);

// A message box (MessageBoxW) with a UTF-8 text and caption.
int ShowMessageBox(HWND Owner, std::string_view Text, std::string_view Caption, UINT Flags);
