#include "support/TestEnvironment.h"


#include "app/ScreenSaverUtils.h"
#include "platform/Registry.h"
#include "platform/SystemPaths.h"
#include "platform/WideText.h"

std::string ProgramFolder() {
  const std::string Path = ExecutablePath();
  return Path.substr(0, Path.find_last_of('\\') + 1);
}

std::string TPasswordProvider::InstalledPath() { return SystemDirectory() + "password.cpl"; }

TPasswordProvider::TPasswordProvider(bool Install) {
  DeleteFileW(Wide(InstalledPath()).c_str());
  if (Install) CopyFileW(Wide(ProgramFolder() + "password.cpl").c_str(), Wide(InstalledPath()).c_str(), FALSE);
}

TPasswordProvider::~TPasswordProvider() { DeleteFileW(Wide(InstalledPath()).c_str()); }

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
