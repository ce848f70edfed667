#include "app/SingleInstance.h"

#include "platform/Application.h"

void TInstanceGuard::Acquire(TApplication& App) {
  // The handle of a mutex that another instance created is deliberately left
  // open until the process ends.
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, Name)) {
    App.ShowMainForm = false;
    App.Terminate();
    return;
  }
  Mutex = TKernelHandle(CreateMutexA(nullptr, FALSE, Name));
}
