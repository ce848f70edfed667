#pragma once
// A search of the file system for the entries that match a pattern
// (FindFirstFile and FindNextFile), closed with FindClose on every path.
#include <windows.h>

#include <string>

class TFileSearch {
 public:
  explicit TFileSearch(const std::string& Pattern) : Handle(FindFirstFileA(Pattern.c_str(), &Found)) {}
  ~TFileSearch() {
    if (Handle != INVALID_HANDLE_VALUE) FindClose(Handle);
  }
  TFileSearch(const TFileSearch&) = delete;
  TFileSearch& operator=(const TFileSearch&) = delete;
  // The entry found last, or nullptr when the search is over (or found
  // nothing).
  const WIN32_FIND_DATAA* Current() const { return Handle != INVALID_HANDLE_VALUE && !Done ? &Found : nullptr; }
  void Next() { Done = !FindNextFileA(Handle, &Found); }

 private:
  WIN32_FIND_DATAA Found{};
  HANDLE Handle;
  bool Done = false;
};
