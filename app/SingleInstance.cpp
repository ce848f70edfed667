#include "app/SingleInstance.h"

#include "platform/WideText.h"

void TInstanceGuard::Acquire() {
  // The handle of a mutex that another instance created is deliberately left
  // open until the process ends.
  if (OpenMutexW(MUTEX_ALL_ACCESS, FALSE, Wide(Name).c_str())) {
    Second = true;
    return;
  }
  Mutex = TKernelHandle(CreateMutexW(nullptr, FALSE, Wide(Name).c_str()));
}
