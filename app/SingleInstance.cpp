#include "app/SingleInstance.h"

#include "platform/Application.h"

const char InstanceMutexName[] = "Pictarine Screen Saver";
HANDLE InstanceMutex = nullptr;

void AcquireInstanceMutex() {
  // The handle of a mutex that another instance created is deliberately left
  // open until the process ends.
  if (OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutexName)) {
    Application->ShowMainForm = false;
    Application->Terminate();
    return;
  }
  InstanceMutex = CreateMutexA(nullptr, FALSE, InstanceMutexName);
}

void ReleaseInstanceMutex() {
  if (InstanceMutex) {
    CloseHandle(InstanceMutex);
    InstanceMutex = nullptr;
  }
}
