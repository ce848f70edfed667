#pragma once
// A search of the file system for the entries that match a pattern
// (FindFirstFile and FindNextFile), closed with FindClose on every path.
#include <windows.h>

#include <string>

#include "platform/WideText.h"

class TFileSearch {
 public:
  explicit TFileSearch(const std::string& Pattern) : Handle(FindFirstFileW(WidePath(Pattern).c_str(), &Entry)) {}
  ~TFileSearch() {
    if (Handle != INVALID_HANDLE_VALUE) FindClose(Handle);
  }
  TFileSearch(const TFileSearch&) = delete;
  TFileSearch& operator=(const TFileSearch&) = delete;
  // Whether an entry was found last (false once the search is over, or when
  // it found nothing).
  bool Found() const { return Handle != INVALID_HANDLE_VALUE && !Done; }
  // The name (without its folder) and the attributes of that entry.
  std::string Name() const { return Utf8(Entry.cFileName); }
  DWORD Attributes() const { return Entry.dwFileAttributes; }
  void Next() { Done = !FindNextFileW(Handle, &Entry); }

 private:
  WIN32_FIND_DATAW Entry{};
  HANDLE Handle;
  bool Done = false;
};
