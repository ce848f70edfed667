// A stand-in for the system's password provider. VerifyScreenSavePwd answers
// what the registry value HKCU\Software\Pictarine Tests "Password" says:
// "refuse" gives FALSE, "fault" makes it write through a null pointer,
// anything else gives TRUE. Each call adds one to the value "Password Calls"
// first, so tests can see whether the provider was asked.
#include <windows.h>

#include <cstring>

namespace {
const char TestKey[] = "Software\\Pictarine Tests";
}

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
  HKEY Key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, TestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key, nullptr) !=
      ERROR_SUCCESS)
    return TRUE;
  char Answer[32] = "";
  DWORD Size = sizeof Answer - 1;
  RegQueryValueExA(Key, "Password", nullptr, nullptr, reinterpret_cast<BYTE*>(Answer), &Size);
  DWORD Calls = 0;
  Size = sizeof Calls;
  RegQueryValueExA(Key, "Password Calls", nullptr, nullptr, reinterpret_cast<BYTE*>(&Calls), &Size);
  ++Calls;
  RegSetValueExA(Key, "Password Calls", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Calls), sizeof Calls);
  RegCloseKey(Key);
  if (std::strcmp(Answer, "fault") == 0) {
    volatile int* volatile Nowhere = nullptr;
    *Nowhere = 1;
  }
  return std::strcmp(Answer, "refuse") == 0 ? FALSE : TRUE;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
