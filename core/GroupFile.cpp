#include "core/GroupFile.h"

std::vector<std::string> ParseGroupFile(const std::string& Data) {
  std::vector<std::string> Entries;
  ForEachGroupEntry(Data, [&Entries](const std::string& Entry) { Entries.push_back(Entry); });
  return Entries;
}

std::string FormatGroupFile(const std::vector<std::string>& Entries) {
  std::string Data;
  for (const std::string& Entry : Entries) {
    Data += Entry;
    Data += "\r\n";
  }
  return Data;
}

bool IsSafeGroupName(const std::string& Name) {
  if (Name == "." || Name == "..") return false;
  return Name.find_first_of("\\/:") == std::string::npos;
}

namespace {

// Whether the part of Name before its first dot, trailing blanks dropped,
// names a device: Windows opens the device for such a file name.
bool IsDeviceName(const std::string& Name) {
  std::string Base = Name.substr(0, Name.find('.'));
  while (!Base.empty() && Base.back() == ' ') Base.pop_back();
  for (char& C : Base)
    if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
  if (Base == "CON" || Base == "PRN" || Base == "AUX" || Base == "NUL") return true;
  return Base.size() == 4 && (Base.compare(0, 3, "COM") == 0 || Base.compare(0, 3, "LPT") == 0) && Base[3] >= '1' &&
         Base[3] <= '9';
}

}  // namespace

bool IsValidGroupName(const std::string& Name) {
  if (Name.empty()) return true;
  if (!IsSafeGroupName(Name) || Name.find_first_of("<>\"|?*") != std::string::npos) return false;
  for (const char C : Name)
    if (static_cast<unsigned char>(C) < 32) return false;
  return !IsDeviceName(Name);
}
