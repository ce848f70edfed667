#include "platform/FolderListing.h"

#include <windows.h>

#include "core/FolderEntry.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"

// Attributes that older headers lack: a cloud file that is downloaded when it
// is read or opened.
#ifndef FILE_ATTRIBUTE_RECALL_ON_OPEN
#define FILE_ATTRIBUTE_RECALL_ON_OPEN 0x00040000
#endif
#ifndef FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS
#define FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS 0x00400000
#endif
#ifndef FIND_FIRST_EX_LARGE_FETCH
#define FIND_FIRST_EX_LARGE_FETCH 2
#endif

namespace {

constexpr DWORD Skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_OFFLINE |
                          FILE_ATTRIBUTE_RECALL_ON_OPEN | FILE_ATTRIBUTE_RECALL_ON_DATA_ACCESS;

TFileTime TimeOf(const FILETIME& Time) {
  return static_cast<TFileTime>(Time.dwHighDateTime) << 32 | Time.dwLowDateTime;
}

// A search handle, closed with FindClose.
class TFindHandle {
 public:
  explicit TFindHandle(HANDLE H) : Handle(H) {}
  ~TFindHandle() {
    if (Handle != INVALID_HANDLE_VALUE) FindClose(Handle);
  }
  TFindHandle(const TFindHandle&) = delete;
  TFindHandle& operator=(const TFindHandle&) = delete;
  HANDLE Get() const { return Handle; }

 private:
  HANDLE Handle;
};

HANDLE FirstEntry(const std::wstring& Pattern, WIN32_FIND_DATAW& Entry) {
  // Without the short names and with larger reads; Windows before 7 knows
  // neither and is asked the plain way.
  HANDLE H = FindFirstFileExW(Pattern.c_str(), FindExInfoBasic, &Entry, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (H == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
    H = FindFirstFileExW(Pattern.c_str(), FindExInfoStandard, &Entry, FindExSearchNameMatch, nullptr, 0);
  return H;
}

}  // namespace

bool ListFolder(const std::string& Folder, TFolderListing& Listing) {
  Listing.Files.clear();
  Listing.Folders.clear();
  WIN32_FIND_DATAW Entry;
  TFindHandle Search(FirstEntry(WidePath(ChildPath(Folder, "*")), Entry));
  if (Search.Get() == INVALID_HANDLE_VALUE) {
    // An empty drive root answers "no files"; it is there all the same.
    return GetLastError() == ERROR_FILE_NOT_FOUND && LookAtFolder(Folder).Present;
  }
  do {
    if (Entry.dwFileAttributes & Skipped) continue;
    const wchar_t* Name = Entry.cFileName;
    if (Entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (Name[0] == L'.' && (Name[1] == 0 || (Name[1] == L'.' && Name[2] == 0))) continue;
      Listing.Folders.push_back(
          {Utf8(Name), TimeOf(Entry.ftLastWriteTime), (Entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
    } else {
      Listing.Files.push_back({Utf8(Name), static_cast<std::uint64_t>(Entry.nFileSizeHigh) << 32 | Entry.nFileSizeLow,
                               TimeOf(Entry.ftLastWriteTime)});
    }
  } while (FindNextFileW(Search.Get(), &Entry));
  if (GetLastError() != ERROR_NO_MORE_FILES) {
    // The folder went away or its share stopped answering half way: what
    // was read is not the folder's content.
    Listing.Files.clear();
    Listing.Folders.clear();
    return false;
  }
  return true;
}

TFolderIdentity FolderIdentity(const std::string& Folder) {
  TKernelHandle Handle(CreateFileW(WidePath(Folder).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  BY_HANDLE_FILE_INFORMATION Info;
  if (!Handle.Valid() || !GetFileInformationByHandle(Handle.Get(), &Info)) return {};
  return {Info.dwVolumeSerialNumber, static_cast<std::uint64_t>(Info.nFileIndexHigh) << 32 | Info.nFileIndexLow};
}

TFolderLook LookAtFolder(const std::string& Folder) {
  WIN32_FILE_ATTRIBUTE_DATA Data;
  if (!GetFileAttributesExW(WidePath(Folder).c_str(), GetFileExInfoStandard, &Data) ||
      !(Data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  return {true, TimeOf(Data.ftLastWriteTime), (Data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0};
}
