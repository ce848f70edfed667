#include "app/ScreenSaverUtils.h"

#include <vector>

#include "core/Errors.h"
#include "core/ProductInfo.h"
#include "platform/GuardedCall.h"
#include "platform/Library.h"
#include "platform/Registry.h"
#include "platform/SystemPaths.h"
#include "platform/WideText.h"
#include "platform/WindowHandle.h"

namespace {

// A foreign interface: the Windows 9x password providers export these ANSI
// entry points only.
using TPwdChangePassword = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
using TVerifyScreenSavePwd = BOOL(WINAPI*)(HWND);

// The error text of a password change, or empty when the provider was called.
std::string TryChangePassword(const std::vector<std::string>& Args) {
  const std::string Directory = SystemDirectory();
  TLibrary Mpr(Directory + "MPR.DLL");
  if (!Mpr.Loaded())
    return "Could not load library " + Directory + "MPR.DLL - " + " The password cannot be changed";
  const auto Change = Mpr.Function<TPwdChangePassword>("PwdChangePasswordA");
  if (!Change)
    return "Libarary " + Directory + "MPR.DLL does not " + "contain PwdChangePasswordA used to set the password!";
  const std::string HandleText = Args.size() > 1 ? Args[1] : std::string();
  std::int32_t Handle = 0;
  if (!ReadInteger(HandleText, Handle)) return Format("'%s' is not a valid integer value", HandleText.c_str());
  Change("SCRSAVE", WindowFromInt32(Handle), 0, nullptr);
  return std::string();
}

// Whether the desktop settings of the current user ask for a password. A
// value stored with another type than a 32-bit integer is read as the number
// it holds where it plainly holds one, so a protected desktop stays protected.
bool DesktopAsksForPassword(const TRegistryKey& Desktop) {
  const char Name[] = "ScreenSaveUsePassword";
  const TRegistryKey::TValueInfo Info = Desktop.ValueInfo(Name);
  if (!Info.Exists) return false;
  if (Info.Type == REG_DWORD) return Desktop.ReadInteger(Name) != 0;
  if (Info.Type == REG_SZ || Info.Type == REG_EXPAND_SZ) {
    std::int32_t Value = 0;
    return ReadInteger(Desktop.ReadString(Name), Value) && Value != 0;
  }
  BYTE Data[64] = {};
  DWORD Type = 0, Size = sizeof Data;
  if (RegQueryValueExW(Desktop.Handle(), L"ScreenSaveUsePassword", nullptr, &Type, Data, &Size) != ERROR_SUCCESS)
    return false;
  for (DWORD I = 0; I < Size && I < sizeof Data; ++I)
    if (Data[I] != 0) return true;
  return false;
}

}  // namespace

std::vector<std::string> ProcessArguments() {
  std::vector<std::string> Words = SplitCommandLine(Utf8(GetCommandLineW()));
  if (!Words.empty()) Words.erase(Words.begin());
  return Words;
}

std::string SystemDirectory() {
  std::string Directory = SystemFolder();
  if (!Directory.empty()) Directory += '\\';
  return Directory;
}

void ChangeScreenSaverPassword(const std::vector<std::string>& Args, HWND Owner) {
  const std::string Error = TryChangePassword(Args);
  // A box owned by a handle that names no window would never be shown, so the
  // report then goes without an owner instead of being lost.
  if (Owner && !IsWindow(Owner)) Owner = nullptr;
  if (!Error.empty()) ShowMessageBox(Owner, Error, ProductName, MB_ICONERROR);
}

bool VerifyScreenSaverPassword(HWND Window) {
  bool Accepted = true;
  const TRegistryKey Desktop = TRegistryKey::Open("Control Panel\\Desktop");
  if (!Desktop.IsOpen() || !DesktopAsksForPassword(Desktop)) return Accepted;
  TLibrary Provider(SystemDirectory() + "password.cpl");
  if (!Provider.Loaded()) return Accepted;
  const auto Verify = Provider.Function<TVerifyScreenSavePwd>("VerifyScreenSavePwd");
  if (!Verify) return Accepted;
  // A provider that faults leaves the answer as it was; the library is freed
  // all the same.
  BOOL Answer = TRUE;
  if (CallGuarded([&Answer, Verify, Window] { Answer = Verify(Window); }) && !Answer) Accepted = false;
  return Accepted;
}
