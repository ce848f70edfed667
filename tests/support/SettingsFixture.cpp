#include "support/SettingsFixture.h"

#include <fstream>
#include <sstream>

#include "platform/Files.h"

namespace {

void DeleteTree(const std::string& Folder) {
  WIN32_FIND_DATAA Found;
  HANDLE Search = FindFirstFileA((Folder + "\\*").c_str(), &Found);
  if (Search != INVALID_HANDLE_VALUE) {
    do {
      const std::string Name = Found.cFileName;
      if (Name == "." || Name == "..") continue;
      const std::string Path = Folder + "\\" + Name;
      SetFileAttributesA(Path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (Found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        DeleteTree(Path);
      else
        DeleteFileA(Path.c_str());
    } while (FindNextFileA(Search, &Found));
    FindClose(Search);
  }
  SetFileAttributesA(Folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryA(Folder.c_str());
}

}  // namespace

void TSettingsTest::SetUp() {
  TRegistryKey::Open("Software\\Quellbrook").DeleteSubKey("Pictarine Screen Saver");
  TRegistryKey Run = TRegistryKey::OpenOrCreate(RunKeyPath);
  Run.DeleteValue("WallPaper Changer");
  Run.DeleteValue("Slide Show");
  const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
  Scratch = std::string("C:\\pictarine-tests\\") + Info->test_suite_name() + "." + Info->name();
  DeleteTree(Scratch);
  ASSERT_TRUE(ForceDirectories(Scratch));
}

void TSettingsTest::TearDown() { DeleteTree(Scratch); }

void TSettingsTest::WriteRaw(const std::string& Name, DWORD Type, const std::string& Bytes) {
  TRegistryKey Key = SettingsKey();
  ASSERT_EQ(RegSetValueExA(Key.Handle(), Name.c_str(), 0, Type, reinterpret_cast<const BYTE*>(Bytes.data()),
                           static_cast<DWORD>(Bytes.size())),
            ERROR_SUCCESS);
}

std::string TSettingsTest::ReadRaw(const TRegistryKey& Key, const std::string& Name, DWORD& Type) {
  DWORD Size = 0;
  Type = REG_NONE;
  if (RegQueryValueExA(Key.Handle(), Name.c_str(), nullptr, &Type, nullptr, &Size) != ERROR_SUCCESS)
    return "<absent>";
  std::string Bytes(Size, '\0');
  RegQueryValueExA(Key.Handle(), Name.c_str(), nullptr, &Type, reinterpret_cast<BYTE*>(Bytes.data()), &Size);
  return Bytes;
}

void TSettingsTest::UseScratchInstallDir() const { SettingsKey().WriteString("Install Dir", Scratch); }

void TSettingsTest::UseScratchGroup(const char* GroupSetting, const std::string& Group) const {
  UseScratchInstallDir();
  TRegistryKey Key = SettingsKey();
  Key.WriteString(GroupSetting, Group);
  Key.OpenOrCreateSubKey("Images").WriteString("0", Group);
}

std::string TSettingsTest::MakeFile(const std::string& Name, const std::string& Content) const {
  const std::string Path = Scratch + "\\" + Name;
  ForceDirectories(ExtractFileDir(Path));
  std::ofstream(Path, std::ios::binary) << Content;
  return Path;
}

void TSettingsTest::WriteGroupFile(const std::string& Group, const std::string& Bytes) const {
  ForceDirectories(Scratch + "\\Image Data");
  std::ofstream(GroupFile(Group), std::ios::binary) << Bytes;
}

std::string FileContent(const std::string& Path) {
  std::ifstream In(Path, std::ios::binary);
  std::ostringstream Out;
  Out << In.rdbuf();
  return Out.str();
}

std::vector<std::string> FolderListing(const std::string& Folder) {
  std::vector<std::string> Names;
  WIN32_FIND_DATAA Found;
  HANDLE Search = FindFirstFileA((Folder + "\\*").c_str(), &Found);
  if (Search == INVALID_HANDLE_VALUE) return Names;
  do {
    const std::string Name = Found.cFileName;
    if (Name != "." && Name != "..") Names.push_back(Name);
  } while (FindNextFileA(Search, &Found));
  FindClose(Search);
  return Names;
}

TSamplePicture::TSamplePicture(bool Present) : Path(TSettings::SamplePicturePath()) {
  Existed = FileExists(Path);
  if (Existed) Saved = FileContent(Path);
  DeleteFileA(Path.c_str());
  if (Present) std::ofstream(Path, std::ios::binary) << "BM sample";
}

TSamplePicture::~TSamplePicture() {
  DeleteFileA(Path.c_str());
  if (Existed) std::ofstream(Path, std::ios::binary) << Saved;
}
