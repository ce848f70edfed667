#pragma once
// The single-instance guard: a named mutex whose mere existence marks a
// running instance. Nothing ever waits on it or owns it.
#include <windows.h>

#include "core/ProductInfo.h"
#include "platform/KernelHandle.h"

// The guard of the screen saver is named after the product.
inline constexpr const char* InstanceMutexName = ProductName;

class TInstanceGuard {
 public:
  explicit TInstanceGuard(const char* Name = InstanceMutexName) : Name(Name) {}

  // Runs once at start-up. Creates the mutex, unless another instance holds
  // it: this process is then a second instance, which the main sequence
  // lets show no window.
  void Acquire();
  bool SecondInstance() const { return Second; }
  // Closes the mutex if this guard holds it; a second call does nothing.
  void Release() { Mutex.Close(); }
  bool Held() const { return Mutex.Valid(); }

 private:
  const char* Name;
  bool Second = false;
  TKernelHandle Mutex;
};
