#pragma once
// RAII owners for GDI handles: each is released on every path out of its
// scope. Non-copyable; movable where a handle must be handed on.
#include <windows.h>

#include <utility>

// A GDI object (bitmap, font, brush), deleted with DeleteObject.
template <typename T>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(T H) : Handle(H) {}
  ~TGdiObject() { Reset(); }
  TGdiObject(TGdiObject&& Other) noexcept : Handle(std::exchange(Other.Handle, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& Other) noexcept {
    if (this != &Other) {
      Reset();
      Handle = std::exchange(Other.Handle, nullptr);
    }
    return *this;
  }
  TGdiObject(const TGdiObject&) = delete;
  TGdiObject& operator=(const TGdiObject&) = delete;

  T Get() const { return Handle; }
  explicit operator bool() const { return Handle != nullptr; }
  void Reset() {
    if (Handle) DeleteObject(Handle);
    Handle = nullptr;
  }
  // Hands the object over to the caller, who deletes it.
  T Release() { return std::exchange(Handle, nullptr); }

 private:
  T Handle = nullptr;
};

// A memory device context, deleted with DeleteDC.
class TMemoryDC {
 public:
  TMemoryDC() : DC(CreateCompatibleDC(nullptr)) {}
  ~TMemoryDC() {
    if (DC) DeleteDC(DC);
  }
  TMemoryDC(const TMemoryDC&) = delete;
  TMemoryDC& operator=(const TMemoryDC&) = delete;
  HDC Get() const { return DC; }

 private:
  HDC DC;
};

// A window's device context (GetDC, or GetWindowDC for the whole window or
// screen), released with ReleaseDC.
class TWindowDC {
 public:
  enum TArea { Client, WholeWindow };
  explicit TWindowDC(HWND W, TArea Area = Client)
      : Window(W), DC(Area == Client ? GetDC(W) : GetWindowDC(W)) {}
  ~TWindowDC() {
    if (DC) ReleaseDC(Window, DC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  HDC Get() const { return DC; }

 private:
  HWND Window;
  HDC DC;
};

// Selects an object into a device context and selects the previous one back.
class TSelection {
 public:
  TSelection(HDC D, HGDIOBJ Object) : DC(D), Previous(SelectObject(D, Object)) {}
  ~TSelection() {
    if (Previous) SelectObject(DC, Previous);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC DC;
  HGDIOBJ Previous;
};
