#pragma once
// The single-instance guard: a named mutex whose mere existence marks a
// running instance. Nothing ever waits on it or owns it.
#include <windows.h>

extern const char InstanceMutexName[];
// The mutex this process created; 0 when it created none or released it.
extern HANDLE InstanceMutex;

// Runs once at start-up, after the application object exists. When another
// instance holds the mutex, clears the show-main-window flag and requests
// termination; otherwise creates the mutex.
void AcquireInstanceMutex();
// Closes InstanceMutex if this process holds it; a second call does nothing.
void ReleaseInstanceMutex();
