#pragma once
// Calls into foreign code (a system provider DLL) that may fault. A processor
// fault that nobody handles inside the call (an access violation, an illegal
// instruction, an integer division by zero, ...) ends the call instead of the
// process. C++ exceptions are not this layer's business: they pass as usual.
#include <type_traits>
#include <utility>

// Runs Call(Context) and returns true when it returned, false when it
// faulted. After a fault nothing that the call had on its stack is unwound
// (no destructors run), so what Call owns must live outside it. Nested and
// per-thread calls are allowed.
bool CallGuarded(void (*Call)(void*), void* Context);

// Whether the calling thread is inside a guarded call now. A guarded call
// ends as it began in this respect, however it ends: by returning, by a fault
// or by a C++ exception passing through.
bool InsideGuardedCall();

template <typename F>
bool CallGuarded(F&& Call) {
  std::decay_t<F> Callable(std::forward<F>(Call));
  return CallGuarded([](void* Context) { (*static_cast<decltype(Callable)*>(Context))(); }, &Callable);
}
