#pragma once
// The settings that a Windows benchmark runs the saver with, in the bench
// prefix's settings key.
#include <string>

#include "platform/Files.h"
#include "platform/Registry.h"
#include "settings/Settings.h"

namespace Bench {

inline void DeleteSettings() {
  TRegistryKey Parent = TRegistryKey::Open("Software\\Quellbrook");
  if (Parent.IsOpen()) Parent.DeleteSubKey("Pictarine Screen Saver");
}

// Fresh settings with one group, Group, of the pictures listed in GroupText,
// installed in Install, shown in order every IntervalMs; the key, for more.
inline TRegistryKey UseBenchGroup(const std::string& Install, const std::string& Group, const std::string& GroupText,
                                  int IntervalMs) {
  ForceDirectories(Install + "\\Image Data");
  ReplaceFile(Install + "\\Image Data\\" + Group + ".dat", GroupText);
  DeleteSettings();
  TRegistryKey Key = TRegistryKey::OpenOrCreate(SettingsKeyPath);
  Key.WriteString("Install Dir", Install);
  Key.WriteString("Selected Group", Group);
  Key.WriteBool("Random", false);
  Key.WriteInteger("Timer interval", static_cast<std::uint32_t>(IntervalMs));
  TRegistryKey::OpenOrCreate(std::string(SettingsKeyPath) + "\\Images").WriteString("0", Group);
  return Key;
}

}  // namespace Bench
