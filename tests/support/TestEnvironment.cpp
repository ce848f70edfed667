#include "support/TestEnvironment.h"


#include "app/ScreenSaverUtils.h"
#include "platform/Registry.h"

std::string ProgramFolder() {
  char Path[MAX_PATH];
  const DWORD Length = GetModuleFileNameA(nullptr, Path, sizeof Path);
  std::string Folder(Path, Length);
  return Folder.substr(0, Folder.find_last_of('\\') + 1);
}

std::string TPasswordProvider::InstalledPath() { return SystemDirectory() + "password.cpl"; }

TPasswordProvider::TPasswordProvider(bool Install) {
  DeleteFileA(InstalledPath().c_str());
  if (Install) CopyFileA((ProgramFolder() + "password.cpl").c_str(), InstalledPath().c_str(), FALSE);
}

TPasswordProvider::~TPasswordProvider() { DeleteFileA(InstalledPath().c_str()); }

void SetPasswordAnswer(const std::string& Answer) {
  TRegistryKey Key = TRegistryKey::OpenOrCreate("Software\\Pictarine Tests");
  Key.WriteString("Password", Answer);
  Key.WriteInteger("Password Calls", 0);
}

int PasswordCalls() {
  const TRegistryKey Key = TRegistryKey::Open("Software\\Pictarine Tests");
  return Key.ValueExists("Password Calls") ? static_cast<int>(Key.ReadInteger("Password Calls")) : 0;
}

void SetScreenSaveUsePassword(int Value) {
  TRegistryKey Desktop = TRegistryKey::OpenOrCreate("Control Panel\\Desktop");
  if (Value < 0)
    Desktop.DeleteValue("ScreenSaveUsePassword");
  else
    Desktop.WriteInteger("ScreenSaveUsePassword", static_cast<std::uint32_t>(Value));
}
