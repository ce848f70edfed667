#pragma once
// The pictures of an expanded group, in list order, each with the number of
// the folder on disk that holds it (for TPassOrder::Begin). Kept compactly:
// each folder's path once, each picture's name in one block of text, and
// twelve bytes a picture besides, so 100,000 pictures cost a few megabytes.
// A value type with no thread of its own: one thread at a time.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class TPictureList {
 public:
  std::size_t Count() const { return Pictures.size(); }
  bool Empty() const { return Pictures.empty(); }
  // The full path of picture I (I below Count()).
  std::string Path(std::size_t I) const;
  // Its name, without the folder.
  std::string_view Name(std::size_t I) const;
  // The number of the folder that holds picture I: pictures of one folder
  // share a number, whether a folder entry found them or a file line named
  // them (folder paths compared without regard to ASCII case).
  std::uint32_t FolderOf(std::size_t I) const { return Pictures[I].Folder; }
  std::uint32_t Folders() const { return static_cast<std::uint32_t>(Prefixes.size()); }
  // Every picture's folder number, as TPassOrder::Begin takes them.
  std::vector<std::uint32_t> FolderNumbers() const;

  // A picture named by a file line, kept as the line gives it: its folder is
  // the text up to the last "\" (or ":" of a drive).
  void AddFileLine(std::string_view Line);
  // The number of a folder (a path without a trailing backslash, or a root
  // such as "D:\"), for AddPicture; a new number the first time.
  std::uint32_t FolderNumber(std::string_view FolderPath);
  void AddPicture(std::uint32_t Folder, std::string_view Name);
  void Clear();

 private:
  std::uint32_t PrefixNumber(std::string_view Prefix);

  struct TPicture {
    std::uint32_t NameOffset;
    std::uint32_t NameLength;
    std::uint32_t Folder;
  };
  std::vector<std::string> Prefixes;  // each folder's path with its trailing backslash
  std::unordered_map<std::string, std::uint32_t> PrefixNumbers;  // lower-cased prefix -> number
  std::string Names;
  std::vector<TPicture> Pictures;
};
