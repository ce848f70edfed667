#include "support/TestEnvironment.h"

#include <vector>

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

void SetScreenSaveUsePassword(int Value) {
  TRegistryKey Desktop = TRegistryKey::OpenOrCreate("Control Panel\\Desktop");
  if (Value < 0)
    Desktop.DeleteValue("ScreenSaveUsePassword");
  else
    Desktop.WriteInteger("ScreenSaveUsePassword", static_cast<std::uint32_t>(Value));
}

TScopedEnvironment::TScopedEnvironment(const std::string& N, const std::string& Value) : Name(N) {
  std::vector<char> Buffer(32768);
  const DWORD Length = GetEnvironmentVariableA(Name.c_str(), Buffer.data(), static_cast<DWORD>(Buffer.size()));
  HadValue = Length > 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND;
  if (HadValue) OldValue.assign(Buffer.data(), Length);
  SetEnvironmentVariableA(Name.c_str(), Value.c_str());
}

TScopedEnvironment::~TScopedEnvironment() {
  SetEnvironmentVariableA(Name.c_str(), HadValue ? OldValue.c_str() : nullptr);
}
