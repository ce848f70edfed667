// The item dialog's interfaces are declared only for Vista and later. The
// program still starts on older Windows: there the dialog cannot be
// created, and the folder browser, which every version has, stands in.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600
#undef NTDDI_VERSION
#define NTDDI_VERSION 0x06000000

#include "platform/FolderDialog.h"

#include <shlobj.h>
#include <shobjidl.h>

#include "platform/Com.h"
#include "platform/WideText.h"

namespace {

// Memory that the shell allocated for the caller (a path, an item list),
// freed with CoTaskMemFree on every path out of its scope.
template <typename T>
class TTaskMemory {
 public:
  TTaskMemory() = default;
  ~TTaskMemory() { CoTaskMemFree(Pointer); }
  TTaskMemory(const TTaskMemory&) = delete;
  TTaskMemory& operator=(const TTaskMemory&) = delete;
  T* Get() const { return Pointer; }
  T** Put() {
    CoTaskMemFree(Pointer);
    Pointer = nullptr;
    return &Pointer;
  }

 private:
  T* Pointer = nullptr;
};

enum class TOutcome { Chosen, Cancelled, Unavailable };

// The shell item of a folder's path, for the dialog's start; null when the
// folder does not exist. The function that makes it is looked up, not
// imported, so that the program still loads where it is missing.
TComPtr<IShellItem> FolderItem(const std::string& Path) {
  TComPtr<IShellItem> Item;
  if (Path.empty()) return Item;
  using TCreateItem = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
  const auto Create = reinterpret_cast<TCreateItem>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"shell32.dll"), "SHCreateItemFromParsingName")));
  const DWORD Attributes = GetFileAttributesW(WidePath(Path).c_str());
  if (!Create || Attributes == INVALID_FILE_ATTRIBUTES || !(Attributes & FILE_ATTRIBUTE_DIRECTORY)) return Item;
  if (FAILED(Create(Wide(Path).c_str(), nullptr, IID_IShellItem, Item.PutVoid()))) Item.Reset();
  return Item;
}

TOutcome ShowItemDialog(HWND Owner, const TFolderDialog& Settings, std::string& Folder) {
  TComPtr<IFileOpenDialog> Dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_IFileOpenDialog,
                              Dialog.PutVoid())))
    return TOutcome::Unavailable;
  FILEOPENDIALOGOPTIONS Options = 0;
  Dialog->GetOptions(&Options);
  Dialog->SetOptions(Options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST | FOS_NOCHANGEDIR);
  Dialog->SetTitle(Wide(Settings.Title).c_str());
  if (const TComPtr<IShellItem> Start = FolderItem(Settings.InitialDir)) Dialog->SetFolder(Start.Get());
  if (FAILED(Dialog->Show(Owner))) return TOutcome::Cancelled;
  TComPtr<IShellItem> Result;
  if (FAILED(Dialog->GetResult(Result.Put())) || !Result) return TOutcome::Cancelled;
  TTaskMemory<wchar_t> Path;
  if (FAILED(Result->GetDisplayName(SIGDN_FILESYSPATH, Path.Put())) || !Path.Get()) return TOutcome::Cancelled;
  Folder = Utf8(Path.Get());
  return TOutcome::Chosen;
}

int CALLBACK BrowserStarted(HWND Browser, UINT Message, LPARAM, LPARAM Start) noexcept {
  if (Message == BFFM_INITIALIZED && Start) SendMessageW(Browser, BFFM_SETSELECTIONW, TRUE, Start);
  return 0;
}

bool ShowFolderBrowser(HWND Owner, const TFolderDialog& Settings, std::string& Folder) {
  const std::wstring Title = Wide(Settings.Title);
  const std::wstring Start = Wide(Settings.InitialDir);
  BROWSEINFOW Info{};
  Info.hwndOwner = Owner;
  Info.lpszTitle = Title.c_str();
  Info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
  Info.lpfn = BrowserStarted;
  Info.lParam = Start.empty() ? 0 : reinterpret_cast<LPARAM>(Start.c_str());
  TTaskMemory<ITEMIDLIST> Chosen;
  *Chosen.Put() = SHBrowseForFolderW(&Info);
  wchar_t Path[MAX_PATH] = L"";
  if (!Chosen.Get() || !SHGetPathFromIDListW(Chosen.Get(), Path)) return false;
  Folder = Utf8(Path);
  return true;
}

}  // namespace

bool TFolderDialog::Execute(HWND Owner) {
  // Both dialogs need COM initialised on the calling thread, a window's.
  const TComScope Com;
  std::string Chosen;
  switch (ShowItemDialog(Owner, *this, Chosen)) {
    case TOutcome::Chosen:
      break;
    case TOutcome::Cancelled:
      return false;
    case TOutcome::Unavailable:
      if (!ShowFolderBrowser(Owner, *this, Chosen)) return false;
      break;
  }
  Folder = std::move(Chosen);
  return true;
}
