#pragma once
// One folder's listing, its identity and a cheap look at it, through the W
// functions: names in any script and paths of any length (the "\\?\" form
// past MAX_PATH). Nothing here raises: a folder that cannot be read is
// reported as such.
//
// Left out of every listing, as Explorer hides them or opening them would
// cost a download: hidden and system files and folders, and online-only
// files of a cloud folder (recalled on access or on open, or offline).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A file time as Windows keeps it: 100-nanosecond intervals since 1601.
using TFileTime = std::uint64_t;

struct TListedFile {
  std::string Name;
  std::uint64_t Size = 0;
  TFileTime WriteTime = 0;
};

struct TListedFolder {
  std::string Name;
  TFileTime WriteTime = 0;
  bool Link = false;  // a junction or a symbolic link: it may lead to a folder reached otherwise too
};

struct TFolderListing {
  std::vector<TListedFile> Files;
  std::vector<TListedFolder> Folders;  // without "." and ".."
};

// Lists Folder (a path without a trailing backslash, or a root such as "D:\")
// into Listing, in the order the file system gives. False, with Listing
// empty, when the folder is missing, not a folder or cannot be read.
bool ListFolder(const std::string& Folder, TFolderListing& Listing);

// What makes a folder the same folder whatever path reaches it (through a
// junction or a symbolic link): its volume's serial number and its file
// index on that volume.
struct TFolderIdentity {
  std::uint32_t Volume = 0;
  std::uint64_t Index = 0;
  bool Known() const { return Volume != 0 || Index != 0; }
  friend bool operator==(const TFolderIdentity&, const TFolderIdentity&) = default;
};
struct TFolderIdentityHash {
  std::size_t operator()(const TFolderIdentity& Id) const { return std::hash<std::uint64_t>()(Id.Index * 31 + Id.Volume); }
};
// The identity of Folder (a link is followed to its target); unknown (both
// zero) when it cannot be opened. It costs an open of the folder, several
// times a look at it.
TFolderIdentity FolderIdentity(const std::string& Folder);

// One look at a folder without listing it: whether it is there (a reachable
// folder) and, if so, its last-write time, which changes when a name in it
// is added, removed or renamed, and whether the path is a link.
struct TFolderLook {
  bool Present = false;
  TFileTime WriteTime = 0;
  bool Link = false;
};
TFolderLook LookAtFolder(const std::string& Folder);
