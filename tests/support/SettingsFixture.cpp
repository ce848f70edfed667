#include "support/SettingsFixture.h"

#include "platform/FileSearch.h"
#include "platform/Files.h"
#include "platform/WideText.h"


void DeleteTree(const std::string& Folder) {
  for (TFileSearch Search(Folder + "\\*"); Search.Found(); Search.Next()) {
    const std::string Name = Search.Name();
    if (Name == "." || Name == "..") continue;
    const std::string Path = Folder + "\\" + Name;
    SetFileAttributesW(WidePath(Path).c_str(), FILE_ATTRIBUTE_NORMAL);
    if ((Search.Attributes() & FILE_ATTRIBUTE_DIRECTORY) && !(Search.Attributes() & FILE_ATTRIBUTE_REPARSE_POINT))
      DeleteTree(Path);
    else if (Search.Attributes() & FILE_ATTRIBUTE_DIRECTORY)
      RemoveDirectoryW(WidePath(Path).c_str());
    else
      DeleteFileW(WidePath(Path).c_str());
  }
  SetFileAttributesW(WidePath(Folder).c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(WidePath(Folder).c_str());
}

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

void TSettingsTest::TearDown() {
  Pictures.reset();
  DeleteTree(Scratch);
}

std::string TSettingsTest::NextPicture(TSettings& Settings, const std::function<void()>& BeginPass) {
  static const std::atomic<bool> Never{false};
  if (PicturesOf != &Settings || !Pictures) {
    Pictures = std::make_unique<TGroupPictures>(Scratch + "\\Library.db");
    PicturesOf = &Settings;
  }
  return Pictures->Next(Settings, Never, BeginPass);
}

void TSettingsTest::WriteRaw(const std::string& Name, DWORD Type, const std::string& Bytes) {
  TRegistryKey Key = SettingsKey();
  // Through the ANSI function, as values were written before names could be
  // in any script: a string is converted from the ANSI code page.
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
  ReplaceFile(Path, Content);
  return Path;
}

void TSettingsTest::WriteGroupFile(const std::string& Group, const std::string& Bytes) const {
  ForceDirectories(Scratch + "\\Image Data");
  ReplaceFile(GroupFile(Group), Bytes);
}

std::string FileContent(const std::string& Path) {
  try {
    return ReadWholeFile(Path);
  } catch (const std::exception&) {
    return std::string();
  }
}

std::vector<std::string> FolderListing(const std::string& Folder) {
  std::vector<std::string> Names;
  for (TFileSearch Search(Folder + "\\*"); Search.Found(); Search.Next()) {
    const std::string Name = Search.Name();
    if (Name != "." && Name != "..") Names.push_back(Name);
  }
  return Names;
}

TSamplePicture::TSamplePicture(bool Present) : Path(TSettings::SamplePicturePath()) {
  Existed = FileExists(Path);
  if (Existed) Saved = FileContent(Path);
  DeleteFileW(WidePath(Path).c_str());
  if (Present) ReplaceFile(Path, "BM sample");
}

TSamplePicture::~TSamplePicture() {
  DeleteFileW(WidePath(Path).c_str());
  if (Existed) ReplaceFile(Path, Saved);
}
