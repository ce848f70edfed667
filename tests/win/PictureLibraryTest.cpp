// The picture library on real folders and a real SQLite index: what a
// folder entry expands to, the index kept current by a refresh, the
// database's troubles bypassed, and the facts read from the files.
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "library/FactsReader.h"
#include "library/PictureLibrary.h"
#include "platform/FileSearch.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"
#include "support/DatedJpeg.h"
#include "support/SettingsFixture.h"

#ifndef SYMBOLIC_LINK_FLAG_DIRECTORY
#define SYMBOLIC_LINK_FLAG_DIRECTORY 0x1
#endif
#ifndef SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
#define SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE 0x2
#endif

namespace {

const std::atomic<bool> Running{false};

void WriteFileBytes(const std::string& Path, const std::string& Bytes) {
  ForceDirectories(ExtractFileDir(Path));
  TKernelHandle File(CreateFileW(WidePath(Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(File.Valid()) << Path;
  DWORD Written = 0;
  ASSERT_TRUE(WriteFile(File.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr));
}

std::string Bytes(const std::vector<std::uint8_t>& B) { return std::string(B.begin(), B.end()); }

class TPictureLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* Info = ::testing::UnitTest::GetInstance()->current_test_info();
    Scratch = std::string("C:\\pictarine-tests\\") + Info->test_suite_name() + "." + Info->name();
    std::replace(Scratch.begin(), Scratch.end(), '/', '_');  // parameterised names
    DeleteTree(Scratch);
    ASSERT_TRUE(ForceDirectories(Scratch + "\\db"));
    Database = Scratch + "\\db\\Library.db";
  }
  void TearDown() override { DeleteTree(Scratch); }

  // A file under the scratch folder (its folders made as needed); returns
  // its full path.
  std::string Put(const std::string& Relative, const std::string& Content = "") {
    const std::string Path = Scratch + "\\" + Relative;
    WriteFileBytes(Path, Content);
    return Path;
  }
  std::string Folder(const std::string& Relative) {
    const std::string Path = Scratch + "\\" + Relative;
    EXPECT_TRUE(ForceDirectories(Path));
    return Path;
  }
  TPictureLibrary Library() const { return TPictureLibrary(Database, TPictureKinds()); }

  // Every path of an expansion, in order.
  static std::vector<std::string> Expanded(TPictureLibrary& Library, const std::vector<std::string>& Entries) {
    TPictureList List;
    EXPECT_TRUE(Library.Expand(Entries, List, Running));
    std::vector<std::string> Paths;
    for (std::size_t I = 0; I < List.Count(); ++I) Paths.push_back(List.Path(I));
    return Paths;
  }
  std::vector<std::string> Under(const std::vector<std::string>& Relative) const {
    std::vector<std::string> Paths;
    for (const std::string& R : Relative) Paths.push_back(Scratch + "\\" + R);
    return Paths;
  }
  // Adds a file to a folder, and waits (at most two seconds) until the
  // folder's last-write time shows it: a file system keeps that time in
  // ticks of a few milliseconds, and a change in the tick of the last listing
  // would not be seen by any reader.
  std::string AddSeen(const std::string& Relative) {
    const std::string Path = Scratch + "\\" + Relative;
    const std::string Parent = ExtractFileDir(Path);
    const TFileTime Before = LookAtFolder(Parent).WriteTime;
    const DWORD Until = GetTickCount() + 2000;
    WriteFileBytes(Path, "");
    while (LookAtFolder(Parent).WriteTime == Before && static_cast<int>(Until - GetTickCount()) > 0) {
      WriteFileBytes(Path + ".tmp", "");
      DeleteFileW(WidePath(Path + ".tmp").c_str());
    }
    EXPECT_NE(LookAtFolder(Parent).WriteTime, Before);
    return Path;
  }

  std::string Scratch;
  std::string Database;
};

// The result of PRAGMA integrity_check on the database file, "ok" for a
// sound one; "missing" when there is no file.
std::string Integrity(const std::string& Path) {
  if (GetFileAttributesW(WidePath(Path).c_str()) == INVALID_FILE_ATTRIBUTES) return "missing";
  sqlite3* Db = nullptr;
  std::string Result = "cannot open";
  if (sqlite3_open_v2(Path.c_str(), &Db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* Q = nullptr;
    if (sqlite3_prepare_v2(Db, "PRAGMA integrity_check", -1, &Q, nullptr) == SQLITE_OK && sqlite3_step(Q) == SQLITE_ROW)
      Result = reinterpret_cast<const char*>(sqlite3_column_text(Q, 0));
    else
      Result = sqlite3_errmsg(Db);
    sqlite3_finalize(Q);
  }
  sqlite3_close(Db);
  return Result;
}

TEST_F(TPictureLibraryTest, FolderEntryGivesItsPicturesThenEachSubfolderInExplorerOrder) {
  Put("root\\10.jpg");
  Put("root\\2.jpg");
  Put("root\\notes.txt");
  SetFileAttributesW(WidePath(Put("root\\hidden.jpg")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(WidePath(Put("root\\system.jpg")).c_str(), FILE_ATTRIBUTE_SYSTEM);
  Put("root\\b\\1.png");
  Put("root\\b\\deep\\x.bmp");
  Put("root\\A 10\\a.jpg");
  Put("root\\A 2\\a.gif");
  Put("root\\.thumbnails\\t.jpg");
  SetFileAttributesW(WidePath(Folder("root\\.thumbnails")).c_str(), FILE_ATTRIBUTE_HIDDEN);
  Put("root\\empty\\readme.txt");
  const std::string Loose = Put("loose\\single.jpg");
  const std::string Entry = Scratch + "\\root\\";
  const std::vector<std::string> Expected = Under({"root\\2.jpg", "root\\10.jpg", "root\\A 2\\a.gif",
                                                   "root\\A 10\\a.jpg", "root\\b\\1.png", "root\\b\\deep\\x.bmp"});

  TPictureLibrary Cold = Library();
  EXPECT_EQ(Expanded(Cold, {Entry}), Expected);
  EXPECT_TRUE(Cold.Indexed());
  EXPECT_EQ(Cold.Counters().FoldersListed, 6u) << "root, A 2, A 10, b, deep, empty; never the hidden one";

  // Read back from the index, mixed with file lines, without a listing.
  TPictureLibrary Warm = Library();
  const std::string SameFolderLine = Scratch + "\\root\\2.jpg";
  TPictureList List;
  ASSERT_TRUE(Warm.Expand({Loose, Entry, SameFolderLine}, List, Running));
  EXPECT_EQ(Warm.Counters().FoldersListed, 0u);
  ASSERT_EQ(List.Count(), Expected.size() + 2);
  EXPECT_EQ(List.Path(0), Loose);
  for (std::size_t I = 0; I < Expected.size(); ++I) EXPECT_EQ(List.Path(I + 1), Expected[I]);
  EXPECT_EQ(List.Path(7), SameFolderLine);
  EXPECT_EQ(List.Folders(), 6u) << "loose, root, A 2, A 10, b, deep";
  EXPECT_EQ(List.FolderOf(7), List.FolderOf(1)) << "a file line shares the number of its folder";
  EXPECT_NE(List.FolderOf(0), List.FolderOf(1));
  EXPECT_EQ(List.FolderNumbers().size(), List.Count());

  const TEntrySummary Summary = Warm.Summarize(Entry, Running);
  EXPECT_EQ(Summary.Count, Expected.size());
  EXPECT_EQ(Summary.First, Expected.front());
}

TEST_F(TPictureLibraryTest, FirstPictureComesBeforeTheRestIsListed) {
  for (const char* Name : {"1\\a.jpg", "2\\b.jpg", "3\\c.jpg", "3\\d\\e.jpg"}) Put(std::string("tree\\") + Name);
  TPictureLibrary Cold = Library();
  TPictureList List;
  std::string First;
  std::uint64_t ListedAtFirst = 0;
  ASSERT_TRUE(Cold.Expand({Scratch + "\\tree\\"}, List, Running, [&](const std::string& Path) {
    First = Path;
    ListedAtFirst = Cold.Counters().FoldersListed;
  }));
  EXPECT_EQ(First, Scratch + "\\tree\\1\\a.jpg");
  EXPECT_EQ(ListedAtFirst, 2u) << "the entry's folder and its first subfolder only";
  EXPECT_EQ(List.Count(), 4u);

  // A stop ends an expansion early, with what was found so far.
  const std::atomic<bool> Stop{true};
  TPictureList Stopped;
  EXPECT_FALSE(Library().Expand({Scratch + "\\tree\\"}, Stopped, Stop));
  EXPECT_TRUE(Stopped.Empty());
}

// Starts a program of the host system under Wine (Wine runs a Unix program
// named by its path, without a process handle to wait on), then waits up to
// five seconds until Done holds.
template <class TDone>
bool RunHostProgram(const std::string& CommandLine, TDone Done) {
  std::wstring Command = Wide(CommandLine);
  STARTUPINFOW Startup{};
  Startup.cb = sizeof Startup;
  PROCESS_INFORMATION Process{};
  if (!CreateProcessW(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process))
    return false;
  TKernelHandle Thread(Process.hThread), Handle(Process.hProcess);
  const DWORD Until = GetTickCount() + 5000;
  while (!Done() && static_cast<int>(Until - GetTickCount()) > 0) Sleep(10);
  return Done();
}

// The host's path of a Windows path under Wine; empty elsewhere.
std::string HostPath(const std::string& Path) {
  using TUnixName = char*(CDECL*)(LPCWSTR);
  const auto UnixName = reinterpret_cast<TUnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (UnixName == nullptr) return {};
  char* Name = UnixName(WidePath(Path).c_str());
  if (Name == nullptr) return {};
  std::string Result = Name;
  HeapFree(GetProcessHeap(), 0, Name);
  return Result;
}

// A symbolic link to a folder. Windows makes one with CreateSymbolicLinkW;
// Wine's answers yes but makes nothing, and knows no junctions, so there the
// link is made on the host's file system, which Wine shows as a folder.
bool MakeFolderLink(const std::string& Link, const std::string& Target) {
  using TCreateLink = BOOLEAN(WINAPI*)(LPCWSTR, LPCWSTR, DWORD);
  const auto Create = reinterpret_cast<TCreateLink>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateSymbolicLinkW")));
  if (Create != nullptr && Create(WidePath(Link).c_str(), WidePath(Target).c_str(),
                                  SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
      LookAtFolder(Link).Present)
    return true;
  const std::string HostTarget = HostPath(Target), HostParent = HostPath(ExtractFileDir(Link));
  const std::string Name = Link.substr(Link.find_last_of('\\') + 1);
  return !HostTarget.empty() && !HostParent.empty() &&
         RunHostProgram("/bin/ln -s " + HostTarget + " " + HostParent + "/" + Name,
                        [&] { return LookAtFolder(Link).Present; });
}

// Removes a link made by MakeFolderLink without touching its target.
void RemoveFolderLink(const std::string& Link) {
  if (RemoveDirectoryW(WidePath(Link).c_str()) || !LookAtFolder(Link).Present) return;
  const std::string Host = HostPath(Link);
  if (!Host.empty()) RunHostProgram("/bin/rm " + Host, [&] { return !LookAtFolder(Link).Present; });
}

// Links made by a test, removed when it ends (also when it fails), so that
// nothing that removes the scratch folder follows them.
struct TFolderLinks {
  std::vector<std::string> Made;
  bool Make(const std::string& Link, const std::string& Target) {
    if (!MakeFolderLink(Link, Target)) return false;
    Made.push_back(Link);
    return true;
  }
  ~TFolderLinks() {
    for (const std::string& Link : Made) RemoveFolderLink(Link);
  }
};

TEST_F(TPictureLibraryTest, FolderReachedThroughALinkIsEnteredOnce) {
  TFolderLinks Links;
  Put("loop\\a.jpg");
  Put("loop\\inner\\b.jpg");
  if (!Links.Make(Scratch + "\\loop\\inner\\back", Scratch + "\\loop"))
    GTEST_SKIP() << "no directory symbolic link could be made here (error " << GetLastError() << ")";
  Put("other\\c.jpg");
  ASSERT_TRUE(Links.Make(Scratch + "\\other\\to-inner", Scratch + "\\loop\\inner"));
  const std::vector<std::string> Entries = {Scratch + "\\loop\\", Scratch + "\\other\\"};
  const std::vector<std::string> Expected = Under({"loop\\a.jpg", "loop\\inner\\b.jpg", "other\\c.jpg"});

  TPictureLibrary Cold = Library();
  EXPECT_EQ(Expanded(Cold, Entries), Expected) << "the loop ends and the inner folder comes once";
  EXPECT_TRUE(Cold.Refresh(Entries, Running));
  TPictureLibrary Warm = Library();
  EXPECT_EQ(Expanded(Warm, Entries), Expected);
  EXPECT_EQ(Warm.Summarize(Scratch + "\\other\\", Running).Count, 3u)
      << "alone, its links lead on to each folder they reach, once";
  TPictureLibrary Direct{std::string(), TPictureKinds()};
  EXPECT_EQ(Expanded(Direct, Entries), Expected) << "without an index too";
}

TEST_F(TPictureLibraryTest, MissingFolderIsSkippedAndComesBack) {
  Put("photos\\2023\\a.jpg");
  Put("photos\\2024\\b.jpg");
  Put("share\\c.jpg");
  const std::vector<std::string> Entries = {Scratch + "\\photos\\", Scratch + "\\share\\"};
  const std::vector<std::string> All = Under({"photos\\2023\\a.jpg", "photos\\2024\\b.jpg", "share\\c.jpg"});
  TPictureLibrary Lib = Library();
  ASSERT_EQ(Expanded(Lib, Entries), All);

  // A whole entry unplugged: the rest shows, and it comes back with its pictures.
  ASSERT_TRUE(MoveFileW(WidePath(Scratch + "\\share").c_str(), WidePath(Scratch + "\\away").c_str()));
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Expanded(Lib, Entries), Under({"photos\\2023\\a.jpg", "photos\\2024\\b.jpg"}));
  EXPECT_EQ(Expanded(Lib, Entries), Under({"photos\\2023\\a.jpg", "photos\\2024\\b.jpg"})) << "not listed again";
  ASSERT_TRUE(MoveFileW(WidePath(Scratch + "\\away").c_str(), WidePath(Scratch + "\\share").c_str()));
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Expanded(Lib, Entries), All);

  // A subfolder removed and restored.
  ASSERT_TRUE(MoveFileW(WidePath(Scratch + "\\photos\\2023").c_str(), WidePath(Scratch + "\\2023").c_str()));
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Expanded(Lib, Entries), Under({"photos\\2024\\b.jpg", "share\\c.jpg"}));
  ASSERT_TRUE(MoveFileW(WidePath(Scratch + "\\2023").c_str(), WidePath(Scratch + "\\photos\\2023").c_str()));
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Expanded(Lib, Entries), All);
}

TEST_F(TPictureLibraryTest, NamesInAnyScriptAndPathsBeyondMaxPath) {
  const std::string Deep = std::string(120, 'd') + "\\" + std::string(120, 'e');
  const std::vector<std::string> Relative = {"world\\東京\\花.jpg", "world\\Ελλάδα\\Αθήνα 2023.jpg",
                                             "world\\Party 🎂\\Birthday 🎂.jpg", "world\\" + Deep + "\\far.jpg"};
  for (const std::string& R : Relative) Put(R);
  const std::vector<std::string> Expected = Under({Relative[3], Relative[2], Relative[1], Relative[0]});
  ASSERT_GT(Expected[0].size(), 260u);
  TPictureLibrary Cold = Library();
  const std::vector<std::string> Found = Expanded(Cold, {Scratch + "\\world\\"});
  ASSERT_EQ(Found, Expected) << "digits and Latin first, then the other scripts by code point";
  for (const std::string& Path : Found) EXPECT_TRUE(FileExists(Path)) << Path;
  TPictureLibrary Warm = Library();
  EXPECT_EQ(Expanded(Warm, {Scratch + "\\world\\"}), Expected);
}

TEST_F(TPictureLibraryTest, RefreshListsOnlyTheFolderThatChanged) {
  for (int Year = 2020; Year < 2024; ++Year)
    for (int Month = 1; Month <= 3; ++Month) Put("lib\\" + std::to_string(Year) + "\\" + std::to_string(Month) + "\\p.jpg");
  const std::vector<std::string> Entries = {Scratch + "\\lib\\"};
  { TPictureLibrary Cold = Library(); ASSERT_EQ(Expanded(Cold, Entries).size(), 12u); }

  TPictureLibrary Lib = Library();
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Lib.Counters().FoldersListed, 0u) << "nothing changed";
  EXPECT_EQ(Lib.Counters().FoldersLooked, 17u) << "one look at each folder";
  const std::atomic<bool> Stop{true};
  EXPECT_FALSE(Lib.Refresh(Entries, Stop));
  EXPECT_EQ(Lib.Counters().FoldersLooked, 17u) << "a stop ends a refresh before its next look";

  const std::string Added = AddSeen("lib\\2022\\2\\new.jpg");
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Lib.Counters().FoldersListed, 1u) << "only the folder that changed";
  const std::vector<std::string> Now = Expanded(Lib, Entries);
  EXPECT_EQ(Now.size(), 13u);
  EXPECT_NE(std::find(Now.begin(), Now.end(), Added), Now.end());

  // A picture deleted is gone after the next refresh.
  ASSERT_TRUE(DeleteFileW(WidePath(Scratch + "\\lib\\2020\\1\\p.jpg").c_str()));
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Expanded(Lib, Entries).size(), 12u);
}

enum class TDamage { Deleted, Truncated, Garbage, Locked, ReadOnly };

class TDatabaseTroubleTest : public TPictureLibraryTest, public ::testing::WithParamInterface<TDamage> {};

TEST_P(TDatabaseTroubleTest, EveryPictureStillComesAndNoDamagedFileStays) {
  std::vector<std::string> Expected;
  for (int F = 0; F < 20; ++F)
    for (int P = 0; P < 25; ++P) Put("big\\f" + std::to_string(F) + "\\" + std::to_string(P) + ".jpg");
  // f2 before f10, 2.jpg before 10.jpg.
  for (int F = 0; F < 20; ++F)
    for (int P = 0; P < 25; ++P) Expected.push_back(Scratch + "\\big\\f" + std::to_string(F) + "\\" + std::to_string(P) + ".jpg");
  const std::vector<std::string> Entries = {Scratch + "\\big\\"};
  { TPictureLibrary First = Library(); ASSERT_EQ(Expanded(First, Entries), Expected); }
  ASSERT_EQ(Integrity(Database), "ok");

  TKernelHandle Lock;
  switch (GetParam()) {
    case TDamage::Deleted:
      ASSERT_TRUE(DeleteFileW(WidePath(Database).c_str()));
      break;
    case TDamage::Truncated: {
      TKernelHandle File(CreateFileW(WidePath(Database).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(File.Valid());
      LARGE_INTEGER Size, Half;
      ASSERT_TRUE(GetFileSizeEx(File.Get(), &Size));
      ASSERT_GT(Size.QuadPart, 8 * 1024);
      Half.QuadPart = Size.QuadPart / 2;
      ASSERT_TRUE(SetFilePointerEx(File.Get(), Half, nullptr, FILE_BEGIN));
      ASSERT_TRUE(SetEndOfFile(File.Get()));
      break;
    }
    case TDamage::Garbage: {
      std::string Junk(40000, '\0');
      for (std::size_t I = 0; I < Junk.size(); ++I) Junk[I] = static_cast<char>(I * 7919 % 251);
      WriteFileBytes(Database, Junk);
      break;
    }
    case TDamage::Locked:
      Lock = TKernelHandle(CreateFileW(WidePath(Database).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(Lock.Valid());
      break;
    case TDamage::ReadOnly:
      ASSERT_TRUE(SetFileAttributesW(WidePath(Database).c_str(), FILE_ATTRIBUTE_READONLY));
      break;
  }

  TPictureLibrary Lib = Library();
  EXPECT_EQ(Expanded(Lib, Entries), Expected);
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_EQ(Lib.Summarize(Entries[0], Running).Count, Expected.size());
  if (GetParam() == TDamage::Locked) {
    EXPECT_FALSE(Lib.Indexed()) << "the folders were listed directly";
    Lock.Close();
  } else if (GetParam() == TDamage::ReadOnly) {
    // Read from, or bypassed where the file system holds to the attribute.
    EXPECT_EQ(Lib.Counters().Rebuilds, 0u);
    SetFileAttributesW(WidePath(Database).c_str(), FILE_ATTRIBUTE_NORMAL);
  } else {
    EXPECT_TRUE(Lib.Indexed());
    EXPECT_EQ(Lib.Counters().Rebuilds, GetParam() == TDamage::Deleted ? 0u : 1u);
  }
  { TPictureLibrary Again = Library(); EXPECT_EQ(Expanded(Again, Entries), Expected); }
  EXPECT_EQ(Integrity(Database), "ok");
}

INSTANTIATE_TEST_SUITE_P(Each, TDatabaseTroubleTest,
                         ::testing::Values(TDamage::Deleted, TDamage::Truncated, TDamage::Garbage, TDamage::Locked,
                                           TDamage::ReadOnly));

TEST_F(TPictureLibraryTest, FactsAreReadInTheBackgroundAndForgottenWhenAFileChanges) {
  const std::string Dated = Put("facts\\dated.jpg", Bytes(DatedJpeg(64, 48, "2023:07:14 10:20:30", 6)));
  const std::string Plain = Put("facts\\plain.jpg", Bytes(DatedJpeg(32, 16, "0000:00:00 00:00:00")));
  const std::string Broken = Put("facts\\zz broken.jpg", "not a picture");
  const std::vector<std::string> Entries = {Scratch + "\\facts\\"};
  TPictureLibrary Lib = Library();
  ASSERT_EQ(Expanded(Lib, Entries).size(), 3u);
  ASSERT_TRUE(Lib.Facts(Dated).has_value());
  EXPECT_FALSE(Lib.Facts(Dated)->Read);

  // On a thread of its own, as the programs run it.
  {
    TFactsReader Reader(Database, TPictureKinds());
    const DWORD Until = GetTickCount() + 10000;
    while (!Reader.Done() && static_cast<int>(Until - GetTickCount()) > 0) Sleep(5);
    ASSERT_TRUE(Reader.Done());
    EXPECT_EQ(Reader.Read(), 3u);
  }
  const std::optional<TPictureFacts> D = Lib.Facts(Dated);
  ASSERT_TRUE(D && D->Read);
  EXPECT_EQ(D->Width, 64u);
  EXPECT_EQ(D->Height, 48u);
  EXPECT_EQ(D->Orientation, 6);
  ASSERT_TRUE(D->Taken.has_value());
  EXPECT_EQ(*D->Taken, (TExifDate{2023, 7, 14, 10, 20, 30}));
  const std::optional<TPictureFacts> P = Lib.Facts(Plain);
  ASSERT_TRUE(P && P->Read);
  EXPECT_EQ(P->Width, 32u);
  EXPECT_FALSE(P->Taken.has_value()) << "an unknown date is no date";
  ASSERT_TRUE(Lib.Facts(Broken).has_value());
  EXPECT_EQ(Lib.Facts(Broken)->Width, 0u);
  EXPECT_FALSE(Lib.Facts(Scratch + "\\facts\\unknown.jpg").has_value());
  EXPECT_EQ(Lib.ReadMissingFacts(Running), 0u) << "nothing left to read";

  // Rewritten with another date: the refresh forgets the old facts.
  const TFileTime Before = LookAtFolder(Scratch + "\\facts").WriteTime;
  WriteFileBytes(Dated, Bytes(DatedJpeg(80, 40, "2024:01:02 03:04:05")));
  AddSeen("facts\\touch.txt");
  ASSERT_NE(LookAtFolder(Scratch + "\\facts").WriteTime, Before);
  EXPECT_TRUE(Lib.Refresh(Entries, Running));
  EXPECT_FALSE(Lib.Facts(Dated)->Read);
  EXPECT_EQ(Lib.ReadMissingFacts(Running), 1u);
  EXPECT_EQ(Lib.Facts(Dated)->Taken, (TExifDate{2024, 1, 2, 3, 4, 5}));
  EXPECT_EQ(Lib.Facts(Dated)->Width, 80u);
}

TEST_F(TPictureLibraryTest, SeveralLibrariesShareTheIndexAtOnce) {
  for (int F = 0; F < 8; ++F)
    for (int P = 0; P < 10; ++P) Put("shared\\" + std::to_string(F) + "\\" + std::to_string(P) + ".jpg");
  const std::vector<std::string> Entries = {Scratch + "\\shared\\"};
  std::vector<std::size_t> Counts(4, 80);
  std::vector<std::thread> Threads;
  for (std::size_t T = 0; T < Counts.size(); ++T)
    Threads.emplace_back([&, T] {
      TPictureLibrary Lib = Library();
      for (int Round = 0; Round < 3; ++Round) {
        Lib.Refresh(Entries, Running);
        TPictureList List;
        Lib.Expand(Entries, List, Running);
        if (List.Count() != 80) Counts[T] = List.Count();
      }
    });
  for (std::thread& T : Threads) T.join();
  for (std::size_t Count : Counts) EXPECT_EQ(Count, 80u);
  EXPECT_EQ(Integrity(Database), "ok");
}

TEST(TFolderListingTest, ListsFilesAndFoldersButNotWhatExplorerHides) {
  const std::string Root = "C:\\pictarine-tests\\TFolderListingTest";
  DeleteTree(Root);
  ASSERT_TRUE(ForceDirectories(Root + "\\sub"));
  ASSERT_TRUE(ForceDirectories(Root + "\\hidden sub"));
  SetFileAttributesW(WidePath(Root + "\\hidden sub").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteFileBytes(Root + "\\five.jpg", "12345");
  WriteFileBytes(Root + "\\gone.jpg", "");
  SetFileAttributesW(WidePath(Root + "\\gone.jpg").c_str(), FILE_ATTRIBUTE_SYSTEM);
  // An online-only file of a cloud folder, where the file system keeps the
  // attribute (Wine keeps it among a file's DOS attributes, where it can).
  WriteFileBytes(Root + "\\cloud.jpg", "");
  SetFileAttributesW(WidePath(Root + "\\cloud.jpg").c_str(), FILE_ATTRIBUTE_OFFLINE);
  const bool Offline = (GetFileAttributesW(WidePath(Root + "\\cloud.jpg").c_str()) & FILE_ATTRIBUTE_OFFLINE) != 0;
  if (!Offline) DeleteFileW(WidePath(Root + "\\cloud.jpg").c_str());
  TFolderListing Listing;
  ASSERT_TRUE(ListFolder(Root, Listing));
  ASSERT_EQ(Listing.Files.size(), 1u) << (Offline ? "the offline file is left out" : "");
  EXPECT_EQ(Listing.Files[0].Name, "five.jpg");
  EXPECT_EQ(Listing.Files[0].Size, 5u);
  EXPECT_NE(Listing.Files[0].WriteTime, 0u);
  ASSERT_EQ(Listing.Folders.size(), 1u);
  EXPECT_EQ(Listing.Folders[0].Name, "sub");
  EXPECT_TRUE(LookAtFolder(Root).Present);
  EXPECT_FALSE(LookAtFolder(Root + "\\five.jpg").Present) << "a file is no folder";
  EXPECT_TRUE(FolderIdentity(Root).Known());
  EXPECT_FALSE(FolderIdentity(Root) == FolderIdentity(Root + "\\sub"));
  EXPECT_TRUE(FolderIdentity(Root) == FolderIdentity(Root + "\\sub\\.."));
  DeleteTree(Root);
  EXPECT_FALSE(ListFolder(Root, Listing));
  EXPECT_FALSE(LookAtFolder(Root).Present);
  EXPECT_FALSE(FolderIdentity(Root).Known());
}

}  // namespace
