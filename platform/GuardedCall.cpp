#include "platform/GuardedCall.h"

#include <windows.h>

// How a fault is recovered: a vectored handler, which sees the fault before
// any frame-based handler, checks that this thread is inside a guarded call
// and has the thread continue, on the faulting stack, in LandAfterFault. That
// ends the system's exception dispatch normally; LandAfterFault then jumps
// back to the guarded call's frame with __builtin_longjmp, which restores the
// frame's stack and registers without unwinding anything.

namespace {

// The innermost guarded call of each thread, in a slot that the handler can
// read without allocating.
DWORD FrameSlot() {
  static const DWORD Slot = TlsAlloc();
  return Slot;
}

struct TGuardFrame;
TGuardFrame* Innermost() { return static_cast<TGuardFrame*>(TlsGetValue(FrameSlot())); }

#ifdef __i386__
// The head of the thread's list of frame-based handlers, at FS:0.
void* ExceptionListHead() {
  void* Head;
  asm volatile("movl %%fs:0, %0" : "=r"(Head));
  return Head;
}
void SetExceptionListHead(void* Head) { asm volatile("movl %0, %%fs:0" : : "r"(Head) : "memory"); }
#endif

// One guarded call's frame. It takes the thread's slot as it finds it (the
// outer guarded call, or none) and puts it back when it goes, on every way
// out of the call: return, fault (the jump lands in the frame that owns it)
// and a C++ exception passing through.
struct TGuardFrame {
  TGuardFrame() : Outer(Innermost()) {}
  ~TGuardFrame() { TlsSetValue(FrameSlot(), Outer); }
  TGuardFrame(const TGuardFrame&) = delete;
  TGuardFrame& operator=(const TGuardFrame&) = delete;

  void* Jump[5] = {};
  TGuardFrame* const Outer;
#ifdef __i386__
  // 32-bit code registers its frame-based handlers in a list on the stack;
  // the list must not keep the frames that the jump abandons. (A C++
  // exception leaves the list as it was: its unwinder works from tables.)
  void* const ExceptionList = ExceptionListHead();
#endif
};

bool IsProcessorFault(DWORD Code) {
  switch (Code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_IN_PAGE_ERROR:
      return true;
    default:
      return false;
  }
}

[[noreturn]] __attribute__((noinline)) void LandAfterFault() {
  TGuardFrame* Frame = Innermost();
#ifdef __i386__
  SetExceptionListHead(Frame->ExceptionList);
#endif
  __builtin_longjmp(Frame->Jump, 1);
}

LONG CALLBACK OnFault(EXCEPTION_POINTERS* Info) {
  if (!IsProcessorFault(Info->ExceptionRecord->ExceptionCode) || !Innermost()) return EXCEPTION_CONTINUE_SEARCH;
  CONTEXT& C = *Info->ContextRecord;
  // Continue as if LandAfterFault had just been called, on an aligned stack
  // below the faulting frame.
#ifdef __x86_64__
  C.Rsp = (C.Rsp & ~static_cast<DWORD64>(15)) - 8;
  C.Rip = reinterpret_cast<DWORD64>(&LandAfterFault);
#else
  C.Esp = (C.Esp & ~static_cast<DWORD>(15)) - 4;
  C.Eip = reinterpret_cast<DWORD>(&LandAfterFault);
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

bool InsideGuardedCall() { return Innermost() != nullptr; }

__attribute__((noinline)) bool CallGuarded(void (*Call)(void*), void* Context) {
  // Installed once, for the life of the process.
  static const PVOID Handler = AddVectoredExceptionHandler(1, OnFault);
  (void)Handler;
  TGuardFrame Frame;
  if (__builtin_setjmp(Frame.Jump)) return false;
  TlsSetValue(FrameSlot(), &Frame);
  Call(Context);
  return true;
}
