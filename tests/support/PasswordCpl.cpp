// A stand-in for the system's password provider. VerifyScreenSavePwd answers
// what the environment variable PICTARINE_TEST_PASSWORD says: "refuse" gives
// FALSE, anything else TRUE. Each call is counted in PICTARINE_TEST_PASSWORD_CALLS
// of the calling process, so tests can see whether they were asked.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
  char Answer[32] = "";
  GetEnvironmentVariableA("PICTARINE_TEST_PASSWORD", Answer, sizeof Answer);
  char Calls[32] = "0";
  GetEnvironmentVariableA("PICTARINE_TEST_PASSWORD_CALLS", Calls, sizeof Calls);
  std::snprintf(Calls, sizeof Calls, "%d", std::atoi(Calls) + 1);
  SetEnvironmentVariableA("PICTARINE_TEST_PASSWORD_CALLS", Calls);
  return std::strcmp(Answer, "refuse") == 0 ? FALSE : TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
