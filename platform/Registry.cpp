#include "platform/Registry.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "core/Errors.h"
#include "platform/WideText.h"

namespace {

HKEY OpenBelow(HKEY Parent, const std::string& Path, bool Create) {
  HKEY Result = nullptr;
  LONG Status;
  if (Create) {
    DWORD Disposition = 0;
    Status = RegCreateKeyExW(Parent, Wide(Path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                             &Result, &Disposition);
  } else {
    Status = RegOpenKeyExW(Parent, Wide(Path).c_str(), 0, KEY_ALL_ACCESS, &Result);
  }
  return Status == ERROR_SUCCESS ? Result : nullptr;
}

// Deletes a key and its subtree; RegDeleteKey alone refuses keys with subkeys.
bool DeleteTree(HKEY Parent, const std::string& Name) {
  HKEY Key = OpenBelow(Parent, Name, false);
  if (!Key) return false;
  for (;;) {
    wchar_t Child[256];
    DWORD Length = 256;
    if (RegEnumKeyExW(Key, 0, Child, &Length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (!DeleteTree(Key, Utf8(std::wstring_view(Child, Length)))) break;
  }
  RegCloseKey(Key);
  return RegDeleteKeyW(Parent, Wide(Name).c_str()) == ERROR_SUCCESS;
}

}  // namespace

TRegistryKey::TRegistryKey(TRegistryKey&& Other) noexcept : Key(std::exchange(Other.Key, nullptr)) {}

TRegistryKey& TRegistryKey::operator=(TRegistryKey&& Other) noexcept {
  if (this != &Other) {
    Close();
    Key = std::exchange(Other.Key, nullptr);
  }
  return *this;
}

TRegistryKey TRegistryKey::Open(const std::string& Path) {
  return TRegistryKey(OpenBelow(HKEY_CURRENT_USER, Path, false));
}
TRegistryKey TRegistryKey::OpenOrCreate(const std::string& Path) {
  return TRegistryKey(OpenBelow(HKEY_CURRENT_USER, Path, true));
}
TRegistryKey TRegistryKey::OpenSubKey(const std::string& Name) const {
  return TRegistryKey(Key ? OpenBelow(Key, Name, false) : nullptr);
}
TRegistryKey TRegistryKey::OpenOrCreateSubKey(const std::string& Name) const {
  return TRegistryKey(Key ? OpenBelow(Key, Name, true) : nullptr);
}

void TRegistryKey::Close() {
  if (Key) RegCloseKey(Key);
  Key = nullptr;
}

void TRegistryKey::InvalidType(const std::string& Name) {
  throw ERegistryError(Format("Invalid data type for '%s'", Name.c_str()));
}

TRegistryKey::TValueInfo TRegistryKey::ValueInfo(const std::string& Name) const {
  TValueInfo Info;
  if (Key && RegQueryValueExW(Key, Wide(Name).c_str(), nullptr, &Info.Type, nullptr, &Info.Size) == ERROR_SUCCESS)
    Info.Exists = true;
  return Info;
}

std::vector<std::string> TRegistryKey::ValueNames() const {
  std::vector<std::string> Names;
  if (!Key) return Names;
  for (DWORD Index = 0;; ++Index) {
    wchar_t Name[16384];
    DWORD Length = 16384;
    if (RegEnumValueW(Key, Index, Name, &Length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    Names.push_back(Utf8(std::wstring_view(Name, Length)));
  }
  return Names;
}

std::uint32_t TRegistryKey::ReadInteger(const std::string& Name) const {
  DWORD Type = REG_NONE, Value = 0, Size = sizeof Value;
  const LONG Status =
      RegQueryValueExW(Key, Wide(Name).c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(&Value), &Size);
  if (Status != ERROR_SUCCESS || Type != REG_DWORD || Size != sizeof Value) InvalidType(Name);
  return Value;
}

bool TRegistryKey::ReadBool(const std::string& Name) const { return ReadInteger(Name) != 0; }

std::string TRegistryKey::ReadString(const std::string& Name) const {
  // Read as UTF-16: a value written through the ANSI functions reads the
  // same, and one holding any other name reads whole.
  const TValueInfo Info = ValueInfo(Name);
  if (!Info.Exists || (Info.Type != REG_SZ && Info.Type != REG_EXPAND_SZ)) InvalidType(Name);
  if (Info.Size == 0) return std::string();
  std::wstring Buffer(Info.Size / sizeof(wchar_t) + 1, L'\0');
  DWORD Type = REG_NONE, Size = static_cast<DWORD>(Buffer.size() * sizeof(wchar_t));
  if (RegQueryValueExW(Key, Wide(Name).c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Buffer.data()), &Size) !=
          ERROR_SUCCESS ||
      (Type != REG_SZ && Type != REG_EXPAND_SZ))
    InvalidType(Name);
  Buffer.resize(std::min<std::size_t>(Size / sizeof(wchar_t), Buffer.size()));
  const std::size_t Zero = Buffer.find(L'\0');
  if (Zero != std::wstring::npos) Buffer.resize(Zero);
  return Utf8(Buffer);
}

double TRegistryKey::ReadFloat(const std::string& Name) const {
  unsigned char Bytes[8];
  DWORD Type = REG_NONE, Size = sizeof Bytes;
  const TValueInfo Info = ValueInfo(Name);
  if (!Info.Exists || Info.Type != REG_BINARY || Info.Size != sizeof Bytes ||
      RegQueryValueExW(Key, Wide(Name).c_str(), nullptr, &Type, Bytes, &Size) != ERROR_SUCCESS ||
      Size != sizeof Bytes)
    InvalidType(Name);
  double Value;
  std::memcpy(&Value, Bytes, sizeof Value);
  return Value;
}

void TRegistryKey::WriteBinary(const std::string& Name, const void* Data, std::size_t Size) {
  if (!Key || RegSetValueExW(Key, Wide(Name).c_str(), 0, REG_BINARY, static_cast<const BYTE*>(Data),
                             static_cast<DWORD>(Size)) != ERROR_SUCCESS)
    throw ERegistryError(Format("Failed to set data for '%s'", Name.c_str()));
}

void TRegistryKey::WriteInteger(const std::string& Name, std::uint32_t Value) {
  const DWORD Data = Value;
  if (!Key || RegSetValueExW(Key, Wide(Name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Data),
                             sizeof Data) != ERROR_SUCCESS)
    throw ERegistryError(Format("Failed to set data for '%s'", Name.c_str()));
}

void TRegistryKey::WriteString(const std::string& Name, const std::string& Value) {
  const std::wstring Text = Wide(Value);
  if (!Key || RegSetValueExW(Key, Wide(Name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(Text.c_str()),
                             static_cast<DWORD>((Text.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
    throw ERegistryError(Format("Failed to set data for '%s'", Name.c_str()));
}

void TRegistryKey::WriteFloat(const std::string& Name, double Value) {
  // Little-endian IEEE 754, as the platform stores doubles.
  WriteBinary(Name, &Value, sizeof Value);
}

bool TRegistryKey::DeleteValue(const std::string& Name) {
  return Key && RegDeleteValueW(Key, Wide(Name).c_str()) == ERROR_SUCCESS;
}

bool TRegistryKey::DeleteSubKey(const std::string& Name) { return Key && DeleteTree(Key, Name); }

void TRegistryKey::Flush() {
  if (Key) RegFlushKey(Key);
}
