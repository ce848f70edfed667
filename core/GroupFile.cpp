#include "core/GroupFile.h"

#include "core/TextEncoding.h"

namespace {

constexpr std::string_view Utf8Mark = "\xEF\xBB\xBF";

}  // namespace

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

TGroupFileEncoding GroupFileEncoding(std::string_view Data) {
  if (Data.starts_with(Utf8Mark)) return TGroupFileEncoding::Utf8WithMark;
  Data = Data.substr(0, Data.find('\x1A'));
  return !IsAscii(Data) && IsValidUtf8(Data) ? TGroupFileEncoding::Utf8 : TGroupFileEncoding::Ansi;
}

const std::string& GroupEntryAsUtf8(const std::string& Entry, TGroupFileEncoding Encoding, const TCodePage& CodePage,
                                    std::string& Scratch) {
  if (Encoding == TGroupFileEncoding::Ansi) {
    if (IsAscii(Entry)) return Entry;
    Scratch = CodePage.ToUtf8(Entry);
  } else {
    if (IsValidUtf8(Entry)) return Entry;
    Scratch = Utf16ToUtf8(Utf8ToUtf16(Entry));
  }
  return Scratch;
}

std::string FormatGroupFile(const std::vector<std::string>& Entries, const TCodePage& CodePage) {
  std::string Data, Bytes;
  bool Ansi = true;
  for (const std::string& Entry : Entries) {
    if (IsAscii(Entry)) {
      Data += Entry;
    } else if (CodePage.FromUtf8(Entry, Bytes)) {
      Data += Bytes;
    } else {
      Ansi = false;
      break;
    }
    Data += "\r\n";
  }
  if (Ansi && GroupFileEncoding(Data) == TGroupFileEncoding::Ansi) return Data;
  return std::string(Utf8Mark) + FormatGroupFile(Entries);
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
