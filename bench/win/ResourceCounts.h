#pragma once
// What a process holds, for the soak figures: GDI objects, user objects,
// kernel handles and private bytes. Windows reports them directly; Wine's
// GetGuiResources and GetProcessHandleCount answer 0, so where they do the
// objects are counted by probing: every 16-bit GDI handle value (Wine accepts
// a handle without its generation), every kernel handle value, the windows of
// the calling thread, and the committed private regions of the address space.
#include <windows.h>

#include <cstdint>

namespace Bench {

struct TResourceCounts {
  unsigned long GdiObjects = 0;
  unsigned long UserObjects = 0;
  unsigned long Handles = 0;
  std::uint64_t PrivateBytes = 0;
};

inline BOOL CALLBACK CountWindow(HWND Window, LPARAM Count) {
  ++*reinterpret_cast<unsigned long*>(Count);
  EnumChildWindows(Window, CountWindow, Count);
  return TRUE;
}

inline TResourceCounts CountResources() {
  TResourceCounts C;
  const HANDLE Self = GetCurrentProcess();
  C.GdiObjects = GetGuiResources(Self, GR_GDIOBJECTS);
  if (C.GdiObjects == 0)
    for (UINT_PTR H = 1; H < 0x10000; ++H) C.GdiObjects += GetObjectType(reinterpret_cast<HGDIOBJ>(H)) != 0;
  C.UserObjects = GetGuiResources(Self, GR_USEROBJECTS);
  if (C.UserObjects == 0) EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&C.UserObjects));
  DWORD Handles = 0;
  if (GetProcessHandleCount(Self, &Handles) && Handles > 0) {
    C.Handles = Handles;
  } else {
    DWORD Flags;
    for (UINT_PTR H = 4; H < 0x10000; H += 4) C.Handles += GetHandleInformation(reinterpret_cast<HANDLE>(H), &Flags) != 0;
  }
  MEMORY_BASIC_INFORMATION Region;
  const char* At = nullptr;
  while (VirtualQuery(At, &Region, sizeof Region) == sizeof Region) {
    if (Region.State == MEM_COMMIT && Region.Type == MEM_PRIVATE) C.PrivateBytes += Region.RegionSize;
    const char* Next = static_cast<const char*>(Region.BaseAddress) + Region.RegionSize;
    if (Next <= At) break;
    At = Next;
  }
  return C;
}

}  // namespace Bench
