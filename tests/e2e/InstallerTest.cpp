// The installer of this architecture (PictarineSetup-32bit.exe or -64bit.exe)
// and its uninstaller, both silent, end to end: the files and registry values
// they leave, and the installed saver finding the installed sample picture.
#include <windows.h>
#include <tlhelp32.h>

#include <fstream>

#include "app/ScreenSaverUtils.h"
#include "core/BmpCodec.h"
#include "e2e/Harness.h"
#include "platform/Files.h"
#include "support/SettingsFixture.h"
#include "support/TestEnvironment.h"
#include "support/TestPictures.h"

namespace {

const char DefaultFolder[] = "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver";
const char UninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pictarine Screen Saver";
const char* const ProgramFiles[] = {"Pictarine.scr", "Vistaloop.exe", "sample.bmp"};

std::string InstallerPath() {
  return ProgramFolder() + (sizeof(void*) == 8 ? "PictarineSetup-64bit.exe" : "PictarineSetup-32bit.exe");
}

bool FolderExists(const std::string& Path) {
  const DWORD Attributes = GetFileAttributesA(Path.c_str());
  return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string LocalMachineString(const char* Key, const char* Name) {
  HKEY Handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, Key, 0, KEY_READ, &Handle) != ERROR_SUCCESS) return "<absent>";
  char Value[1024] = "";
  DWORD Size = sizeof Value - 1, Type = 0;
  const LONG Result = RegQueryValueExA(Handle, Name, nullptr, &Type, reinterpret_cast<BYTE*>(Value), &Size);
  RegCloseKey(Handle);
  return Result == ERROR_SUCCESS && Type == REG_SZ ? Value : "<absent>";
}

std::string DesktopValue(const char* Name) {
  const TRegistryKey Desktop = TRegistryKey::Open("Control Panel\\Desktop");
  return Desktop.ValueExists(Name) ? Desktop.ReadString(Name) : "<absent>";
}

bool SameText(const std::string& A, const std::string& B) { return lstrcmpiA(A.c_str(), B.c_str()) == 0; }

struct TChildSearch {
  const char* Text;
  HWND Found;
};

BOOL CALLBACK FindChildByText(HWND Child, LPARAM Param) {
  auto* Search = reinterpret_cast<TChildSearch*>(Param);
  char Text[256] = "";
  GetWindowTextA(Child, Text, sizeof Text);
  if (lstrcmpA(Text, Search->Text) != 0) return TRUE;
  Search->Found = Child;
  return FALSE;
}

// The processes that the process Parent started, running or not yet gone.
std::vector<DWORD> ChildProcesses(DWORD Parent) {
  std::vector<DWORD> Children;
  const TKernelHandle Snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32 Entry{};
  Entry.dwSize = sizeof Entry;
  if (!Snapshot.Valid() || !Process32First(Snapshot.Get(), &Entry)) return Children;
  do
    if (Entry.th32ParentProcessID == Parent) Children.push_back(Entry.th32ProcessID);
  while (Process32Next(Snapshot.Get(), &Entry));
  return Children;
}

// A control anywhere inside Window whose text is Text.
HWND ChildWithText(HWND Window, const char* Text) {
  TChildSearch Search{Text, nullptr};
  EnumChildWindows(Window, FindChildByText, reinterpret_cast<LPARAM>(&Search));
  return Search.Found;
}

class TInstallerTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    TRegistryKey::OpenOrCreate("Control Panel\\Desktop").DeleteValue("SCRNSAVE.EXE");
  }

  static DWORD Run(const std::string& CommandLine) {
    TSaverProcess Process(TSaverProcess::TCommandLine{CommandLine});
    return Process.WaitForExit(120000).value_or(999);
  }
  // The uninstaller hands its work to a copy of itself and ends at once; the
  // work is over when that copy has ended.
  static void Uninstall(const std::string& Folder, const std::string& Options) {
    const std::string Uninstaller = Folder + "\\Uninstall.exe";
    TSaverProcess Process(TSaverProcess::TCommandLine{"\"" + Uninstaller + "\" /S" + Options});
    ASSERT_EQ(Process.WaitForExit(120000), std::optional<DWORD>(0));
    for (const DWORD Id : ChildProcesses(Process.Id())) {
      const TKernelHandle Copy(OpenProcess(SYNCHRONIZE, FALSE, Id));
      if (Copy.Valid()) {
        ASSERT_TRUE(WaitUntil([&Copy] { return WaitForSingleObject(Copy.Get(), 0) != WAIT_TIMEOUT; }, 60000))
            << "the uninstaller's copy ends";
      }
    }
    ASSERT_FALSE(FileExists(Uninstaller));
  }
  static void ExpectInstalledIn(const std::string& Folder) {
    for (const char* Name : ProgramFiles)
      EXPECT_EQ(FileContent(Folder + "\\" + Name), FileContent(ProgramFolder() + Name)) << Name;
    EXPECT_TRUE(FileExists(Folder + "\\Uninstall.exe"));
    EXPECT_TRUE(FolderExists(Folder + "\\Image Data"));
    EXPECT_EQ(FileContent(SystemDirectory() + "Pictarine.scr"), FileContent(ProgramFolder() + "Pictarine.scr"));
    EXPECT_EQ(FileContent(SystemDirectory() + "sample.bmp"), FileContent(ProgramFolder() + "sample.bmp"));
    EXPECT_EQ(TRegistryKey::Open(SettingsKeyPath).ReadString("Install Dir"), Folder);
    EXPECT_EQ(LocalMachineString(UninstallKey, "UninstallString"), "\"" + Folder + "\\Uninstall.exe\"");
    EXPECT_EQ(LocalMachineString(UninstallKey, "DisplayName"), "Pictarine Screen Saver");
  }
  static void ExpectUninstalledFrom(const std::string& Folder) {
    for (const char* Name : ProgramFiles) EXPECT_FALSE(FileExists(Folder + "\\" + Name)) << Name;
    EXPECT_FALSE(FileExists(SystemDirectory() + "Pictarine.scr"));
    EXPECT_FALSE(FileExists(SystemDirectory() + "sample.bmp"));
    EXPECT_FALSE(TRegistryKey::Open(SettingsKeyPath).IsOpen());
    const TRegistryKey Run = TRegistryKey::Open(RunKeyPath);
    EXPECT_FALSE(Run.ValueExists("WallPaper Changer"));
    EXPECT_FALSE(Run.ValueExists("Slide Show"));
    EXPECT_EQ(LocalMachineString(UninstallKey, "UninstallString"), "<absent>");
  }
};

TEST_F(TInstallerTest, SilentInstallAndUninstallInTheDefaultFolder) {
  TRegistryKey::OpenOrCreate(RunKeyPath).WriteString("WallPaper Changer", "\"C:\\Old\\Vistaloop.exe\" /w");
  ASSERT_EQ(Run("\"" + InstallerPath() + "\" /S /SETCURRENT"), 0u);
  const std::string Folder = DefaultFolder;
  ExpectInstalledIn(Folder);
  EXPECT_TRUE(SameText(DesktopValue("SCRNSAVE.EXE"), SystemDirectory() + "Pictarine.scr"));
  EXPECT_EQ(TRegistryKey::Open(RunKeyPath).ReadString("WallPaper Changer"), "\"" + Folder + "\\Vistaloop.exe\" /w")
      << "an existing Run value starts the installed viewer";

  // The installed saver with no picture in its group makes the installed
  // sample picture the wallpaper, pixel for pixel (800 x 600 fits the screen).
  const std::string Wallpaper = Scratch + "\\wall.bmp";
  TRegistryKey::Open(SettingsKeyPath).WriteString("Save WallPaper As", Wallpaper);
  EXPECT_EQ(Run("\"" + Folder + "\\Pictarine.scr\" /w"), 0u);
  const TPixelBuffer Sample = ReadBmpFilePixels(Folder + "\\sample.bmp");
  ASSERT_EQ(Sample.Width, 800);
  const TPixelBuffer Set = ReadBmpFilePixels(Wallpaper);
  EXPECT_EQ(Set.Width, Sample.Width);
  EXPECT_EQ(Set.Height, Sample.Height);
  EXPECT_TRUE(Set.Data == Sample.Data);
  EXPECT_EQ(DesktopValue("Wallpaper"), Wallpaper);

  // A group of the user's, and both Run values as the dialog writes them.
  std::ofstream(Folder + "\\Image Data\\Mine.dat", std::ios::binary) << Wallpaper << "\r\n";
  TRegistryKey::OpenOrCreate(RunKeyPath).WriteString("Slide Show", "\"" + Folder + "\\Vistaloop.exe\"");
  Uninstall(Folder, "");
  ExpectUninstalledFrom(Folder);
  EXPECT_EQ(DesktopValue("SCRNSAVE.EXE"), "<absent>");
  EXPECT_EQ(FileContent(Folder + "\\Image Data\\Mine.dat"), Wallpaper + "\r\n") << "the user's groups stay";

  DeleteFileA((Folder + "\\Image Data\\Mine.dat").c_str());
  RemoveDirectoryA((Folder + "\\Image Data").c_str());
  RemoveDirectoryA(Folder.c_str());
  RemoveDirectoryA("C:\\Program Files\\Quellbrook");
}

TEST_F(TInstallerTest, ChosenFolderIsStoredAndTickedRemovalTakesTheGroups) {
  const std::string Folder = Scratch + "\\My Programs\\Pictarine";
  ASSERT_EQ(Run("\"" + InstallerPath() + "\" /S /D=" + Folder), 0u);
  ExpectInstalledIn(Folder);
  EXPECT_EQ(DesktopValue("SCRNSAVE.EXE"), "<absent>") << "only offered";
  EXPECT_FALSE(FileExists(DefaultFolder + std::string("\\Pictarine.scr")));

  std::ofstream(Folder + "\\Image Data\\Mine.dat", std::ios::binary) << "C:\\a.jpg\r\n";
  Uninstall(Folder, " /REMOVEDATA");
  ExpectUninstalledFrom(Folder);
  EXPECT_FALSE(FolderExists(Folder)) << "nothing left";
  EXPECT_TRUE(FolderExists(Scratch + "\\My Programs")) << "a parent of the user's own stays";
}

TEST_F(TInstallerTest, ItsPagesOfferToMakeItTheCurrentScreenSaver) {
  const std::string Folder = Scratch + "\\Clicked";
  TSaverProcess Setup(TSaverProcess::TCommandLine{"\"" + InstallerPath() + "\" /D=" + Folder});
  // A user pressing the default button of each page once it is enabled:
  // Next, Next, Install, Next, Finish. Each page is read and pressed once
  // it is built (the wizard answers), and each press is followed by a new
  // page (an inner dialog of its own) or the end. The offer on the last page
  // is ticked until the user says no.
  auto PageOf = [](HWND Wizard) { return FindWindowExA(Wizard, nullptr, "#32770", nullptr); };
  bool Offered = false;
  for (int Press = 0; Press < 10; ++Press) {
    HWND Wizard = nullptr, Default = nullptr;
    WaitUntil(
        [&] {
          for (const TTopWindow& W : Setup.Windows()) {
            const HWND Button = GetDlgItem(W.Window, IDOK);
            if (W.ClassName != "#32770" || !Button || !IsWindowEnabled(Button)) continue;
            Wizard = W.Window;
            Default = Button;
            return true;
          }
          return !Setup.Running();
        },
        90000);
    if (!Wizard || !WaitForReady(Wizard)) break;
    const HWND Page = PageOf(Wizard);
    if (const HWND Offer = ChildWithText(Wizard, "Make Pictarine Screen Saver my screen saver"))
      Offered = Offered || (IsWindowVisible(Offer) && SendMessageA(Offer, BM_GETCHECK, 0, 0) == BST_CHECKED);
    PostMessageA(Wizard, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(Default));
    ASSERT_TRUE(WaitUntil(
        [&] {
          const HWND Next = IsWindow(Wizard) ? PageOf(Wizard) : nullptr;
          return !Setup.Running() || !IsWindow(Wizard) || (Next && Next != Page && IsWindowVisible(Next));
        },
        90000))
        << "press " << Press << " leads on";
  }
  ASSERT_EQ(Setup.WaitForExit(5000), std::optional<DWORD>(0));
  EXPECT_TRUE(Offered);
  ExpectInstalledIn(Folder);
  EXPECT_TRUE(SameText(DesktopValue("SCRNSAVE.EXE"), SystemDirectory() + "Pictarine.scr"));
  Uninstall(Folder, "");
  ExpectUninstalledFrom(Folder);
  EXPECT_EQ(DesktopValue("SCRNSAVE.EXE"), "<absent>");
}

}  // namespace
