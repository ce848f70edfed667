#pragma once
// Owns a kernel object handle (file, process, thread, mutex); closed on every
// path out of its scope. Both null and INVALID_HANDLE_VALUE mean "none".
#include <windows.h>

#include <utility>

class TKernelHandle {
 public:
  TKernelHandle() = default;
  explicit TKernelHandle(HANDLE H) : Handle(H) {}
  ~TKernelHandle() { Close(); }
  TKernelHandle(TKernelHandle&& Other) noexcept : Handle(std::exchange(Other.Handle, nullptr)) {}
  TKernelHandle& operator=(TKernelHandle&& Other) noexcept {
    if (this != &Other) {
      Close();
      Handle = std::exchange(Other.Handle, nullptr);
    }
    return *this;
  }
  TKernelHandle(const TKernelHandle&) = delete;
  TKernelHandle& operator=(const TKernelHandle&) = delete;

  HANDLE Get() const { return Handle; }
  bool Valid() const { return Handle != nullptr && Handle != INVALID_HANDLE_VALUE; }
  void Close() {
    if (Valid()) CloseHandle(Handle);
    Handle = nullptr;
  }

 private:
  HANDLE Handle = nullptr;
};
