#pragma once
// An open registry key below HKEY_CURRENT_USER, always with full access
// (KEY_ALL_ACCESS, also for reading). Closed on every path out of its scope.
// Reads of the wrong type raise "Invalid data type for '<name>'", failed
// writes "Failed to set data for '<name>'" (ERegistryError).
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class TRegistryKey {
 public:
  TRegistryKey() = default;
  ~TRegistryKey() { Close(); }
  TRegistryKey(TRegistryKey&& Other) noexcept;
  TRegistryKey& operator=(TRegistryKey&& Other) noexcept;
  TRegistryKey(const TRegistryKey&) = delete;
  TRegistryKey& operator=(const TRegistryKey&) = delete;

  // Opens an existing key of the current user; not open when it is missing.
  static TRegistryKey Open(const std::string& Path);
  // Opens a key of the current user, creating it and missing parents.
  static TRegistryKey OpenOrCreate(const std::string& Path);
  // The same for a subkey of this key.
  TRegistryKey OpenSubKey(const std::string& Name) const;
  TRegistryKey OpenOrCreateSubKey(const std::string& Name) const;

  bool IsOpen() const { return Key != nullptr; }
  HKEY Handle() const { return Key; }

  struct TValueInfo {
    bool Exists = false;
    DWORD Type = REG_NONE;
    DWORD Size = 0;
  };
  TValueInfo ValueInfo(const std::string& Name) const;
  bool ValueExists(const std::string& Name) const { return ValueInfo(Name).Exists; }
  std::vector<std::string> ValueNames() const;

  std::uint32_t ReadInteger(const std::string& Name) const;  // REG_DWORD
  bool ReadBool(const std::string& Name) const;               // REG_DWORD, non-zero is true
  std::string ReadString(const std::string& Name) const;      // REG_SZ or REG_EXPAND_SZ, literal
  double ReadFloat(const std::string& Name) const;            // REG_BINARY, exactly 8 bytes

  void WriteInteger(const std::string& Name, std::uint32_t Value);
  void WriteBool(const std::string& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }
  void WriteString(const std::string& Name, const std::string& Value);
  void WriteFloat(const std::string& Name, double Value);
  void WriteBinary(const std::string& Name, const void* Data, std::size_t Size);

  // Deleting what is not there is not an error; the result says whether
  // something was deleted.
  bool DeleteValue(const std::string& Name);
  bool DeleteSubKey(const std::string& Name);  // with everything below it
  void Flush();
  void Close();

 private:
  explicit TRegistryKey(HKEY K) : Key(K) {}
  [[noreturn]] static void InvalidType(const std::string& Name);
  HKEY Key = nullptr;
};
