#include "core/FolderEntry.h"

#include <algorithm>

namespace {

bool StartsWith(std::string_view Text, std::string_view Prefix) { return Text.substr(0, Prefix.size()) == Prefix; }

bool IsDrive(std::string_view Path) {
  return Path.size() >= 2 && Path[1] == ':' && ((Path[0] >= 'A' && Path[0] <= 'Z') || (Path[0] >= 'a' && Path[0] <= 'z'));
}

// Where the component that starts at At ends, past its backslash if it has one.
std::size_t PastComponent(std::string_view Path, std::size_t At) {
  const std::size_t Separator = Path.find('\\', At);
  return Separator == std::string_view::npos ? Path.size() : Separator + 1;
}

// The length of Path's root with the backslash that ends it: "D:\", "\",
// "\\server\share\", "\\?\D:\", "\\?\UNC\server\share\", "\\?\Volume{...}\";
// 2 for a drive-relative "D:name", 0 for a relative path. A root cut short
// counts up to the end of Path.
std::size_t RootLength(std::string_view Path) {
  if (StartsWith(Path, "\\\\?\\") || StartsWith(Path, "\\\\.\\")) {
    const std::string_view Rest = Path.substr(4);
    if (Rest.size() >= 4 && (Rest[0] == 'U' || Rest[0] == 'u') && (Rest[1] == 'N' || Rest[1] == 'n') &&
        (Rest[2] == 'C' || Rest[2] == 'c') && Rest[3] == '\\')
      return PastComponent(Path, PastComponent(Path, 8));
    if (IsDrive(Rest)) return std::min<std::size_t>(Path.size(), Rest.size() > 2 && Rest[2] == '\\' ? 7 : 6);
    return PastComponent(Path, 4);
  }
  if (StartsWith(Path, "\\\\")) return PastComponent(Path, PastComponent(Path, 2));
  if (IsDrive(Path)) return Path.size() > 2 && Path[2] == '\\' ? 3 : 2;
  return StartsWith(Path, "\\") ? 1 : 0;
}

}  // namespace

bool IsFolderEntry(std::string_view Entry) { return !Entry.empty() && Entry.back() == '\\'; }

std::string FolderEntryPath(std::string_view Entry) {
  const std::size_t Root = RootLength(Entry);
  std::size_t Size = Entry.size();
  while (Size > Root && Entry[Size - 1] == '\\') --Size;
  return std::string(Entry.substr(0, Size));
}

std::string ChildPath(std::string_view Folder, std::string_view Name) {
  std::string Path(Folder);
  if (!Path.empty() && Path.back() != '\\') Path += '\\';
  Path.append(Name);
  return Path;
}

std::string FolderEntryFromField(std::string_view DirectoryField) {
  std::string Folder(DirectoryField);
  if (!StartsWith(Folder, "\\\\?\\")) std::replace(Folder.begin(), Folder.end(), '/', '\\');
  const std::size_t LastSeparator = Folder.find_last_of("\\:");
  const std::size_t LastStart = LastSeparator == std::string::npos ? 0 : LastSeparator + 1;
  if (Folder.find_first_of("*?", LastStart) != std::string::npos) Folder.erase(LastStart);
  if (Folder.empty()) return Folder;
  Folder = FolderEntryPath(Folder);
  if (Folder.back() != '\\') Folder += '\\';
  return Folder;
}
