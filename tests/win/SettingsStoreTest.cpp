// TSettings against Wine's real registry.
#include "support/SettingsFixture.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <tuple>
#include <utility>

#include "core/Errors.h"
#include "platform/Files.h"

namespace {

std::string Dword(std::uint32_t V) { return std::string(reinterpret_cast<const char*>(&V), 4); }
std::string Sz(const std::string& S) { return S + std::string(1, '\0'); }

// Points this program's import of Function (by name, from any DLL) at
// Replacement for the life of the object, so that a test sees, and may fail,
// the program's own calls of it; Original is the real function (null when
// the program does not import it).
class TImportPatch {
 public:
  TImportPatch(const char* Function, void* Replacement) {
    auto* Base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* Nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(Base + reinterpret_cast<IMAGE_DOS_HEADER*>(Base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& Imports = Nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* Dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(Base + Imports.VirtualAddress);
         Imports.VirtualAddress && Dll->Name && !Slot; ++Dll) {
      if (!Dll->OriginalFirstThunk) continue;  // no names to go by
      auto* Name = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Dll->OriginalFirstThunk);
      auto* Bound = reinterpret_cast<IMAGE_THUNK_DATA*>(Base + Dll->FirstThunk);
      for (; Name->u1.AddressOfData && !Slot; ++Name, ++Bound)
        if (!IMAGE_SNAP_BY_ORDINAL(Name->u1.Ordinal) &&
            std::strcmp(reinterpret_cast<const char*>(
                            reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(Base + Name->u1.AddressOfData)->Name),
                        Function) == 0)
          Slot = reinterpret_cast<void**>(&Bound->u1.Function);
    }
    if (!Slot) return;
    Original = *Slot;
    Write(Replacement);
  }
  ~TImportPatch() {
    if (Slot) Write(Original);
  }
  TImportPatch(const TImportPatch&) = delete;
  TImportPatch& operator=(const TImportPatch&) = delete;

  void* Original = nullptr;

 private:
  void Write(void* Value) {
    DWORD Protection;
    VirtualProtect(Slot, sizeof *Slot, PAGE_READWRITE, &Protection);
    *Slot = Value;
    VirtualProtect(Slot, sizeof *Slot, Protection, &Protection);
  }
  void** Slot = nullptr;
};

// Every registry value this program writes while the object lives, in order,
// written to the real registry, except that a write of the value named
// Failing fails.
struct TValueWrites {
  TValueWrites() {
    Instance = this;
    Ansi.emplace("RegSetValueExA", reinterpret_cast<void*>(&SetA));
    Wide.emplace("RegSetValueExW", reinterpret_cast<void*>(&SetW));
  }
  ~TValueWrites() {
    Ansi.reset();
    Wide.reset();
    Instance = nullptr;
  }

  std::vector<std::string> Names;
  std::string Failing;

 private:
  static LONG WINAPI SetA(HKEY Key, LPCSTR Name, DWORD Reserved, DWORD Type, const BYTE* Data, DWORD Size) {
    if (Instance->Seen(Name ? Name : "")) return ERROR_ACCESS_DENIED;
    return reinterpret_cast<decltype(&RegSetValueExA)>(Instance->Ansi->Original)(Key, Name, Reserved, Type, Data,
                                                                                  Size);
  }
  static LONG WINAPI SetW(HKEY Key, LPCWSTR Name, DWORD Reserved, DWORD Type, const BYTE* Data, DWORD Size) {
    std::string Narrow;
    for (const wchar_t* C = Name; C && *C; ++C) Narrow += static_cast<char>(*C);  // the value names are ASCII
    if (Instance->Seen(Narrow)) return ERROR_ACCESS_DENIED;
    return reinterpret_cast<decltype(&RegSetValueExW)>(Instance->Wide->Original)(Key, Name, Reserved, Type, Data,
                                                                                  Size);
  }
  bool Seen(const std::string& Name) {
    Names.push_back(Name);
    return Name == Failing;
  }

  static inline TValueWrites* Instance = nullptr;
  std::optional<TImportPatch> Ansi, Wide;
};

// The values of the settings key that SaveSettings writes, oldest first:
// the original ones, then those added since.
const char* const OlderValues[] = {
    "Change WallPaper", "WallPaper Group", "SlideShow Group", "Selected Group", "Save WallPaper As",
    "Install Dir", "Random", "End On Mouse", "Maintain Aspect", "Keep As Wallpaper",
    "Limit Screen Size", "Set Wallpaper", "Slide Show OnTop", "Slide Show Hidden", "Slide Show Startup",
    "Max Screen X", "Max Screen Y", "Background", "Max Percent", "Timer interval"};
const char* const NewerValues[] = {"Fade Between Pictures", "All Monitors", "Mix Folders Evenly"};

TEST_F(TSettingsTest, SaveSettingsWritesEveryValueWithItsNameAndType) {
  TSettings Settings;
  Settings.ChangeWallPaper = 7;
  Settings.WallPaperGroup = "Walls";
  Settings.SlideShowGroup = "Show";
  Settings.SelectedGroup = "Sel";
  Settings.SaveWallPaperAs = "C:\\w.bmp";
  Settings.InstallDir = Scratch;
  Settings.RandomOrder = false;
  Settings.LimitScreenSize = true;
  Settings.SlideShowHidden = true;
  Settings.MaxScreenX = 1024;
  Settings.MaxScreenY = -1;
  Settings.Background = 0xFF00000F;
  Settings.MaxPercent = 1.0;
  Settings.TimerInterval = 250;
  Settings.SlideShowPosX = 55;
  Settings.FadeBetweenPictures = true;
  Settings.AllMonitors = false;
  Settings.MixFoldersEvenly = true;
  Settings.CurrentGroup = "Sel";
  Settings.GroupNames = {"Sel", "Walls"};
  Settings.SaveSettings();

  const TRegistryKey Key = TRegistryKey::Open(SettingsKeyPath);
  const struct {
    const char* Name;
    DWORD Type;
    std::string Bytes;
  } Expected[] = {
      {"Change WallPaper", REG_DWORD, Dword(7)},
      {"WallPaper Group", REG_SZ, Sz("Walls")},
      {"SlideShow Group", REG_SZ, Sz("Show")},
      {"Selected Group", REG_SZ, Sz("Sel")},
      {"Save WallPaper As", REG_SZ, Sz("C:\\w.bmp")},
      {"Install Dir", REG_SZ, Sz(Scratch)},
      {"Random", REG_DWORD, Dword(0)},
      {"End On Mouse", REG_DWORD, Dword(1)},
      {"Maintain Aspect", REG_DWORD, Dword(1)},
      {"Keep As Wallpaper", REG_DWORD, Dword(0)},
      {"Limit Screen Size", REG_DWORD, Dword(1)},
      {"Set Wallpaper", REG_DWORD, Dword(0)},
      {"Slide Show OnTop", REG_DWORD, Dword(0)},
      {"Slide Show Hidden", REG_DWORD, Dword(1)},
      {"Slide Show Startup", REG_DWORD, Dword(0)},
      {"Fade Between Pictures", REG_DWORD, Dword(1)},
      {"All Monitors", REG_DWORD, Dword(0)},
      {"Mix Folders Evenly", REG_DWORD, Dword(1)},
      {"Max Screen X", REG_DWORD, Dword(1024)},
      {"Max Screen Y", REG_DWORD, Dword(0xFFFFFFFF)},
      {"Background", REG_DWORD, Dword(0xFF00000F)},
      {"Max Percent", REG_BINARY, std::string("\0\0\0\0\0\0\xF0\x3F", 8)},
      {"Timer interval", REG_DWORD, Dword(250)},
  };
  for (const auto& E : Expected) {
    DWORD Type = 0;
    EXPECT_EQ(ReadRaw(Key, E.Name, Type), E.Bytes) << E.Name;
    EXPECT_EQ(Type, E.Type) << E.Name;
  }
  EXPECT_EQ(Key.ValueNames().size(), std::size(Expected)) << "the placement values stay unwritten";
  for (const char* Placement : {"Slide Show Pos X", "Slide Show Pos Y", "Slide Show Size X", "Slide Show Size Y"})
    EXPECT_FALSE(Key.ValueExists(Placement)) << Placement;

  const TRegistryKey Images = Key.OpenSubKey("Images");
  EXPECT_EQ(Images.ReadString("0"), "Sel");
  EXPECT_EQ(Images.ReadString("1"), "Walls");
  EXPECT_TRUE(FileExists(GroupFile("Sel")));

  Settings.SaveSlideShowPlacement();
  DWORD Type = 0;
  EXPECT_EQ(ReadRaw(Key, "Slide Show Pos X", Type), Dword(55));
  EXPECT_EQ(ReadRaw(Key, "Slide Show Size Y", Type), Dword(200));
  EXPECT_EQ(Key.ValueNames().size(), std::size(Expected) + 4);
}

TEST_F(TSettingsTest, NewerValuesAreWrittenLastSoThatTheirFailureLeavesEveryOlderValueWritten) {
  UseScratchInstallDir();
  auto Save = [](const std::string& Failing) {
    TValueWrites Writes;
    Writes.Failing = Failing;
    TSettings Settings;
    Settings.GroupNames = {"Sel", "Walls"};
    Settings.CurrentGroup = "Sel";
    Settings.MaxScreenX = 1234;
    try {
      Settings.SaveSettings();
      EXPECT_EQ(Failing, "") << "no error";
    } catch (const ERegistryError& Error) {
      EXPECT_EQ(Error.what(), "Failed to set data for '" + Failing + "'");
    }
    return Writes.Names;
  };

  // In order: every older value and the group names, then the newer values.
  const std::vector<std::string> Written = Save("");
  ASSERT_EQ(Written.size(), std::size(OlderValues) + 2 + std::size(NewerValues)) << "every write was seen";
  const std::vector<std::string> Last(Written.end() - std::size(NewerValues), Written.end());
  EXPECT_EQ(Last, std::vector<std::string>(std::begin(NewerValues), std::end(NewerValues)));

  // A newer value that cannot be written: the error is reported, and every
  // older value is written all the same.
  for (const char* Newer : NewerValues) {
    SCOPED_TRACE(Newer);
    SetUp();
    UseScratchInstallDir();
    Save(Newer);
    const TRegistryKey Key = TRegistryKey::Open(SettingsKeyPath);
    for (const char* Older : OlderValues) EXPECT_TRUE(Key.ValueExists(Older)) << Older;
    EXPECT_EQ(Key.ReadInteger("Max Screen X"), 1234u);
    EXPECT_EQ(Key.OpenSubKey("Images").ValueNames().size(), 2u) << "the group names";
  }
}

TEST_F(TSettingsTest, ValuesReadBackBitForBitAndBooleansNormalise) {
  WriteRaw("Keep As Wallpaper", REG_DWORD, Dword(2));
  WriteRaw("Max Percent", REG_BINARY, std::string("\x9a\x99\x99\x99\x99\x99\xf1\x3f", 8));  // 1.1
  WriteRaw("Background", REG_DWORD, Dword(0x00123456));
  WriteRaw("WallPaper Group", REG_EXPAND_SZ, Sz("%TEMP%\\x"));
  WriteRaw("SlideShow Group", REG_SZ, std::string("cut\0here", 8));
  WriteRaw("Selected Group", REG_SZ, "");
  UseScratchInstallDir();
  TSettings Settings;
  EXPECT_TRUE(Settings.KeepAsWallpaper);
  EXPECT_EQ(Settings.MaxPercent, 1.1);
  EXPECT_EQ(Settings.Background, 0x00123456u);
  EXPECT_EQ(Settings.WallPaperGroup, "%TEMP%\\x");
  EXPECT_EQ(Settings.SlideShowGroup, "cut");
  Settings.SaveSettings();
  DWORD Type = 0;
  EXPECT_EQ(ReadRaw(TRegistryKey::Open(SettingsKeyPath), "Keep As Wallpaper", Type), Dword(1));
  EXPECT_EQ(TSettings().MaxPercent, 1.1);
}

TEST_F(TSettingsTest, MissingKeyKeepsEveryDefaultAndOpensNoGroupFile) {
  // A group file for the default group in the default install folder would
  // be loaded if the absent key were read at all.
  const std::string DefaultData = "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver\\Image Data";
  ForceDirectories(DefaultData);
  const std::string Picture = MakeFile("p.jpg");
  const std::string Group = DefaultData + "\\" + DefaultGroupName() + ".dat";
  ReplaceFile(Group, Picture + "\r\n");
  TSamplePicture Sample(true);

  TSettings Settings;
  DeleteFileA(Group.c_str());
  EXPECT_EQ(DefaultGroupName(), "win_tests");
  EXPECT_TRUE(Settings.ImageQueue.Empty());
  EXPECT_TRUE(Settings.GroupNames.empty());
  EXPECT_EQ(Settings.CurrentGroup, "");
  EXPECT_EQ(Settings.GroupImageCount, 0);
  EXPECT_EQ(Settings.SelectedGroup, "win_tests");
  EXPECT_EQ(Settings.WallPaperGroup, "win_tests");
  EXPECT_EQ(Settings.SlideShowGroup, "win_tests");
  EXPECT_EQ(Settings.TimerInterval, 5000);
  EXPECT_EQ(Settings.Background, 0u);
  EXPECT_EQ(Settings.MaxPercent, 1.0);
  EXPECT_TRUE(Settings.MaintainAspect && Settings.EndOnMouse && Settings.RandomOrder);
  EXPECT_FALSE(Settings.KeepAsWallpaper || Settings.LimitScreenSize || Settings.SetWallpaper);
  EXPECT_FALSE(Settings.FadeBetweenPictures);
  EXPECT_TRUE(Settings.AllMonitors) << "every monitor shows pictures unless told otherwise";
  EXPECT_FALSE(Settings.MixFoldersEvenly);
  EXPECT_EQ(Settings.MaxScreenX, 800);
  EXPECT_EQ(Settings.MaxScreenY, 600);
  EXPECT_EQ(Settings.SlideShowSizeX, 267);
  EXPECT_EQ(Settings.SlideShowSizeY, 200);
  EXPECT_EQ(Settings.SaveWallPaperAs, "C:\\windows\\Pictarine.bmp");
  EXPECT_EQ(Settings.InstallDir, "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver");
  EXPECT_EQ(NextPicture(Settings), "") << "the sample picture is not offered either";
}

TEST_F(TSettingsTest, NewerValuesAreDwordsBesideTheOlderOnesAndChangeNoneOfThem) {
  const struct {
    const char* Name;
    bool TSettings::*Field;
    bool Absent;  // what a missing value reads as
  } Newer[] = {{"Fade Between Pictures", &TSettings::FadeBetweenPictures, false},
               {"All Monitors", &TSettings::AllMonitors, true},
               {"Mix Folders Evenly", &TSettings::MixFoldersEvenly, false}};
  for (const auto& N : Newer) {
    SCOPED_TRACE(N.Name);
  using TValues = std::map<std::string, std::pair<DWORD, std::string>>;
  auto StoredValues = [] {
    TValues Values;
    const TRegistryKey Key = TRegistryKey::Open(SettingsKeyPath);
    DWORD Type = 0;
    for (const std::string& Name : Key.ValueNames()) {
      std::string Bytes = ReadRaw(Key, Name, Type);
      Values[Name] = {Type, Bytes};
    }
    return Values;
  };
  // Settings as they were stored before the value existed (every value
  // written, the new one removed): it reads as false, and saving them again
  // adds it as 0 and leaves every older value as it was.
  UseScratchInstallDir();
  SettingsKey().WriteBool("Keep As Wallpaper", true);
  {
    TSettings Older;
    Older.TimerInterval = 1234;
    Older.SaveSettings();
  }
  SettingsKey().DeleteValue(N.Name);
  const TValues Before = StoredValues();
  {
    TSettings Settings;
    EXPECT_EQ(Settings.*N.Field, N.Absent) << "absent";
    EXPECT_TRUE(Settings.KeepAsWallpaper);
    Settings.SaveSettings();
  }
  TValues After = StoredValues();
  EXPECT_EQ(After[N.Name], std::make_pair(DWORD{REG_DWORD}, Dword(N.Absent ? 1 : 0)));
  After.erase(N.Name);
  EXPECT_EQ(After, Before);

  // On and off again: only the new value changes, and it reads back.
  for (const bool On : {true, false}) {
    TSettings Settings;
    Settings.*N.Field = On;
    Settings.SaveSettings();
    After = StoredValues();
    EXPECT_EQ(After[N.Name], std::make_pair(DWORD{REG_DWORD}, Dword(On ? 1 : 0))) << On;
    After.erase(N.Name);
    EXPECT_EQ(After, Before) << On;
    EXPECT_EQ(TSettings().*N.Field, On);
  }
  WriteRaw(N.Name, REG_DWORD, Dword(7));
  EXPECT_TRUE(TSettings().*N.Field) << "any non-zero DWORD is true, as for the other Booleans";

  // A value of another type is reported like any other, and only after
  // every older value has been read.
  TSettings Settings;
  WriteRaw(N.Name, REG_SZ, Sz("1"));
  Settings.TimerInterval = 0;
  Settings.InstallDir.clear();
  try {
    Settings.LoadSettings();
    FAIL() << "no error";
  } catch (const ERegistryError& Error) {
    EXPECT_EQ(Error.what(), std::string("Invalid data type for '") + N.Name + "'");
  }
  EXPECT_EQ(Settings.TimerInterval, 1234);
  EXPECT_EQ(Settings.InstallDir, Scratch);
  WriteRaw(N.Name, REG_DWORD, Dword(N.Absent ? 1 : 0));
  }
}

TEST_F(TSettingsTest, WrongTypeStopsTheReadAtThatValue) {
  TSettings Settings;
  WriteRaw("Change WallPaper", REG_DWORD, Dword(3));
  WriteRaw("Selected Group", REG_SZ, Sz("Mine"));
  WriteRaw("End On Mouse", REG_DWORD, Dword(0));
  WriteRaw("Random", REG_SZ, Sz("1"));
  WriteRaw("Timer interval", REG_DWORD, Dword(99));
  WriteRaw("Install Dir", REG_SZ, Sz(Scratch + "\\"));
  WriteGroupFile("Mine", MakeFile("a.bmp") + "\r\n");
  try {
    Settings.LoadSettings();
    FAIL() << "no error";
  } catch (const ERegistryError& Error) {
    EXPECT_STREQ(Error.what(), "Invalid data type for 'Random'");
  }
  EXPECT_EQ(Settings.ChangeWallPaper, 3);
  EXPECT_EQ(Settings.SelectedGroup, "Mine");
  EXPECT_FALSE(Settings.EndOnMouse);
  EXPECT_EQ(Settings.TimerInterval, 5000);
  EXPECT_TRUE(Settings.ImageQueue.Empty());
  EXPECT_EQ(Settings.GroupImageCount, 0);

  for (const auto& [Name, Type, Bytes] : {std::tuple{"Max Percent", REG_BINARY, std::string(4, '\0')},
                                         std::tuple{"Max Percent", REG_DWORD, Dword(1)},
                                         std::tuple{"Install Dir", REG_DWORD, Dword(1)}}) {
    SetUp();
    WriteRaw(Name, Type, Bytes);
    try {
      TSettings Broken;
      ADD_FAILURE() << Name;
    } catch (const ERegistryError& Error) {
      EXPECT_EQ(Error.what(), std::string("Invalid data type for '") + Name + "'");
    }
  }
  SetUp();
  TRegistryKey Images = SettingsKey().OpenOrCreateSubKey("Images");
  Images.WriteInteger("0", 5);
  EXPECT_THROW(TSettings(), ERegistryError);
}

TEST_F(TSettingsTest, GroupNamesStopAtTheFirstGapAndFallBackToTheDefault) {
  UseScratchInstallDir();
  SettingsKey().WriteString("Selected Group", "Stored");
  {
    TSettings NoImages;
    EXPECT_EQ(NoImages.GroupNames, std::vector<std::string>{"win_tests"});
    EXPECT_EQ(NoImages.SelectedGroup, "win_tests");
    EXPECT_EQ(NoImages.CurrentGroup, "win_tests");
  }
  TRegistryKey Images = SettingsKey().OpenOrCreateSubKey("Images");
  Images.WriteString("1", "B");
  EXPECT_EQ(TSettings().GroupNames, std::vector<std::string>{"win_tests"}) << "no value \"0\"";
  Images.WriteString("0", "A");
  Images.WriteString("3", "D");
  TSettings Settings;
  EXPECT_EQ(Settings.GroupNames, (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Settings.SelectedGroup, "Stored");
  Settings.LoadSettings();
  EXPECT_EQ(Settings.GroupNames, (std::vector<std::string>{"A", "B"}));
}

TEST_F(TSettingsTest, SavingGroupNamesRewritesInPlaceAndDropsStaleValues) {
  UseScratchInstallDir();
  TRegistryKey Images = SettingsKey().OpenOrCreateSubKey("Images");
  for (const char* Name : {"0", "1", "2", "3", "5", "x"}) Images.WriteString(Name, "old");
  TSettings Settings;
  Settings.GroupNames = {"New", "New"};
  Settings.SaveSettings();
  std::vector<std::string> Names = Images.ValueNames();
  std::sort(Names.begin(), Names.end());
  EXPECT_EQ(Names, (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(Images.ReadString("1"), "New");

  Settings.GroupNames.clear();
  Settings.SaveSettings();
  EXPECT_TRUE(SettingsKey().OpenSubKey("Images").IsOpen());
  EXPECT_TRUE(SettingsKey().OpenSubKey("Images").ValueNames().empty());
  EXPECT_EQ(TSettings().GroupNames, std::vector<std::string>{"win_tests"});
}

TEST_F(TSettingsTest, InstallDirLosesOneTrailingBackslash) {
  const struct {
    std::string Stored, Read;
  } Cases[] = {{"D:\\Pics\\", "D:\\Pics"}, {"D:\\Pics\\\\", "D:\\Pics\\"}, {"D:\\Pics", "D:\\Pics"}, {"", ""}};
  for (const auto& C : Cases) {
    SettingsKey().WriteString("Install Dir", C.Stored);
    EXPECT_EQ(TSettings().InstallDir, C.Read) << C.Stored;
  }
  SetUp();
  EXPECT_EQ(TSettings().InstallDir, "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver");
}

TEST_F(TSettingsTest, RunValuesFollowTheirOptionsWithQuotedPaths) {
  UseScratchInstallDir();
  TSettings Settings;
  Settings.InstallDir = "C:\\Program Files\\Quellbrook\\Pictarine Screen Saver";
  Settings.SaveSettings();  // both absent: deleting them is no error
  const TRegistryKey Run = TRegistryKey::Open(RunKeyPath);
  EXPECT_FALSE(Run.ValueExists("WallPaper Changer"));
  EXPECT_FALSE(Run.ValueExists("Slide Show"));

  Settings.SetWallpaper = true;
  Settings.SlideShowStartup = true;
  Settings.SaveSettings();
  EXPECT_EQ(Run.ReadString("WallPaper Changer"),
            "\"C:\\Program Files\\Quellbrook\\Pictarine Screen Saver\\Vistaloop.exe\" /w");
  EXPECT_EQ(Run.ReadString("Slide Show"), "\"C:\\Program Files\\Quellbrook\\Pictarine Screen Saver\\Vistaloop.exe\"");

  Settings.SetWallpaper = false;
  Settings.SaveSettings();
  EXPECT_FALSE(Run.ValueExists("WallPaper Changer"));
  EXPECT_TRUE(Run.ValueExists("Slide Show"));
  Settings.SlideShowStartup = false;
  Settings.UpdateSlideShowRunEntry();
  EXPECT_FALSE(Run.ValueExists("Slide Show"));
}

TEST_F(TSettingsTest, ResetSlideShowPlacementRestoresTheDefaultsInMemory) {
  TSettings Settings;
  Settings.SlideShowPosX = Settings.SlideShowPosY = Settings.SlideShowSizeX = Settings.SlideShowSizeY = 9;
  Settings.SlideShowOnTop = Settings.SlideShowStartup = Settings.SlideShowHidden = true;
  Settings.ResetSlideShowPlacement();
  EXPECT_EQ(Settings.SlideShowPosX, 0);
  EXPECT_EQ(Settings.SlideShowPosY, 0);
  EXPECT_EQ(Settings.SlideShowSizeX, 267);
  EXPECT_EQ(Settings.SlideShowSizeY, 200);
  EXPECT_FALSE(Settings.SlideShowOnTop);
  EXPECT_FALSE(Settings.SlideShowStartup);
  EXPECT_FALSE(Settings.SlideShowHidden);
  EXPECT_FALSE(TRegistryKey::Open(SettingsKeyPath).IsOpen());
}

}  // namespace
