#include "app/SingleInstance.h"

void TInstanceGuard::Acquire() {
  // The handle of a mutex that another instance created is deliberately left
  // open until the process ends.
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, Name)) {
    Second = true;
    return;
  }
  Mutex = TKernelHandle(CreateMutexA(nullptr, FALSE, Name));
}
