#pragma once
// A library loaded by path for the duration of one operation; freed on every
// path out of its scope.
#include <windows.h>

#include <string>

#include "platform/WideText.h"

class TLibrary {
 public:
  explicit TLibrary(const std::string& Path) : Module(LoadLibraryW(Wide(Path).c_str())) {}
  ~TLibrary() {
    if (Module) FreeLibrary(Module);
  }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;

  bool Loaded() const { return Module != nullptr; }
  // The named export as a function pointer of type F, or null.
  template <typename F>
  F Function(const char* Name) const {
    return Module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Module, Name))) : nullptr;
  }
  // Frees the library now rather than at the end of the scope.
  void Free() {
    if (Module) FreeLibrary(Module);
    Module = nullptr;
  }

 private:
  HMODULE Module;
};
