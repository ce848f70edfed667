#include "platform/Files.h"

#include <windows.h>

#include "core/Errors.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"

bool FileExists(const std::string& Path) {
  if (Path.empty()) return false;
  const DWORD Attributes = GetFileAttributesW(WidePath(Path).c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && !(Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string InOutErrorText(unsigned long Code) {
  switch (Code) {
    case ERROR_FILE_NOT_FOUND: return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DIRECTORY: return "Path not found";
    case ERROR_TOO_MANY_OPEN_FILES: return "Too many open files";
    case ERROR_ACCESS_DENIED: return "File access denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return "File is in use by another process";
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return "Disk full";
    case ERROR_HANDLE_EOF: return "Read beyond end of file";
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE: return "Invalid filename";
    case ERROR_WRITE_PROTECT: return "Disk is write-protected";
    default: return Format("I/O error %lu", Code);
  }
}

void RaiseInOutError(unsigned long Code) { throw EInOutError(InOutErrorText(Code)); }

std::string ReadWholeFile(const std::string& Path) {
  std::string Data;
  ReadWholeFile(Path, Data);
  return Data;
}

void ReadWholeFile(const std::string& Path, std::string& Data) {
  Data.clear();
  TKernelHandle File(CreateFileW(WidePath(Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!File.Valid()) RaiseInOutError(GetLastError());
  LARGE_INTEGER Size{};
  if (!GetFileSizeEx(File.Get(), &Size)) RaiseInOutError(GetLastError());
  if (Size.QuadPart > 0x7FFFFFFF) RaiseInOutError(ERROR_NOT_ENOUGH_MEMORY);
  Data.resize(static_cast<std::size_t>(Size.QuadPart));
  std::size_t Done = 0;
  while (Done < Data.size()) {
    DWORD Read = 0;
    if (!ReadFile(File.Get(), Data.data() + Done, static_cast<DWORD>(Data.size() - Done), &Read, nullptr))
      RaiseInOutError(GetLastError());
    if (Read == 0) break;  // the file shrank while it was read
    Done += Read;
  }
  Data.resize(Done);
}

std::string FullPathName(const std::string& Path) {
  if (Path.empty()) return Path;
  const std::wstring Given = Wide(Path);
  std::wstring Full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD Length = GetFullPathNameW(Given.c_str(), static_cast<DWORD>(Full.size()), Full.data(), nullptr);
    if (Length == 0) return Path;
    if (Length < Full.size()) {
      Full.resize(Length);
      return Utf8(Full);
    }
    Full.assign(Length, L'\0');  // Length counts the terminating null here
  }
}

std::string ExtractFileDir(const std::string& Path) {
  const std::size_t Slash = Path.find_last_of("\\/");
  if (Slash == std::string::npos) return std::string();
  return Path.substr(0, Slash);
}

namespace {

// A new, empty file beside Path for ReplaceFile to fill, open for writing,
// and its name. A name of our own rather than GetTempFileName's, which
// refuses folders whose path is long.
TKernelHandle CreateTemporaryBeside(const std::string& Path, std::wstring& Name) {
  const std::string Folder = ExtractFileDir(Path);
  const std::string Base = (Folder.empty() ? std::string(".") : Folder) + "\\ptr";
  DWORD Error = ERROR_SUCCESS;
  for (unsigned Attempt = 0; Attempt < 100; ++Attempt) {
    const unsigned Unique = (GetCurrentProcessId() * 7919u + GetTickCount() + Attempt * 104729u) & 0xFFFFFu;
    Name = WidePath(Base + Format("%05X.tmp", Unique));
    TKernelHandle File(CreateFileW(Name.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (File.Valid()) return File;
    Error = GetLastError();
    if (Error != ERROR_FILE_EXISTS && Error != ERROR_ALREADY_EXISTS) break;
  }
  RaiseInOutError(Error);
}

}  // namespace

void ReplaceFile(const std::string& Path, const std::string& Data) {
  std::wstring Temporary;
  DWORD Error = ERROR_SUCCESS;
  {
    TKernelHandle File = CreateTemporaryBeside(Path, Temporary);
    // The temporary file exists from here on and must go on failure.
    DWORD Written = 0;
    if (!Data.empty() && !WriteFile(File.Get(), Data.data(), static_cast<DWORD>(Data.size()), &Written, nullptr))
      Error = GetLastError();
    else if (Written != Data.size())
      Error = ERROR_DISK_FULL;
    else if (!FlushFileBuffers(File.Get()))
      Error = GetLastError();
  }
  if (Error == ERROR_SUCCESS && !MoveFileExW(Temporary.c_str(), WidePath(Path).c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    Error = GetLastError();
  if (Error != ERROR_SUCCESS) {
    DeleteFileW(Temporary.c_str());
    RaiseInOutError(Error);
  }
}

bool ForceDirectories(const std::string& Path) {
  std::string Folder = Path;
  while (!Folder.empty() && (Folder.back() == '\\' || Folder.back() == '/')) Folder.pop_back();
  if (Folder.empty()) return false;
  const DWORD Attributes = GetFileAttributesW(WidePath(Folder).c_str());
  if (Attributes != INVALID_FILE_ATTRIBUTES) return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const std::string Parent = ExtractFileDir(Folder);
  // A drive ("C:") or a share root ends the recursion.
  if (!Parent.empty() && Parent != Folder && Parent.back() != ':') ForceDirectories(Parent);
  return CreateDirectoryW(WidePath(Folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

void CheckReadable(const std::string& Path) {
  TKernelHandle File(CreateFileW(WidePath(Path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!File.Valid()) RaiseInOutError(GetLastError());
}
