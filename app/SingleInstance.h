#pragma once
// The single-instance guard: a named mutex whose mere existence marks a
// running instance. Nothing ever waits on it or owns it.
#include <windows.h>

#include "core/ProductInfo.h"
#include "platform/KernelHandle.h"

class TApplication;

// The guard of the screen saver is named after the product.
inline constexpr const char* InstanceMutexName = ProductName;

class TInstanceGuard {
 public:
  explicit TInstanceGuard(const char* Name = InstanceMutexName) : Name(Name) {}

  // Runs once at start-up, after the application object exists. When another
  // instance holds the mutex, clears the show-main-window flag and requests
  // termination; otherwise creates the mutex.
  void Acquire(TApplication& App);
  // Closes the mutex if this guard holds it; a second call does nothing.
  void Release() { Mutex.Close(); }
  bool Held() const { return Mutex.Valid(); }

 private:
  const char* Name;
  TKernelHandle Mutex;
};
