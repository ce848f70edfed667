// What the picture library costs on a photo library: a tree of small JPEG
// files, each with an Exif date, in leaf folders three levels deep (years,
// months, events) under %TEMP%. Every figure is measured against a bare
// recursive listing of the same tree (FindFirstFileExW, basic information,
// large fetch), the best of three:
//   - cold start (no index): the time to the first picture, and to the whole
//     list indexed (target: first within 1 s, whole within 1.5 x the listing);
//   - the dates read in the background, per file;
//   - warm start (index of the unchanged tree): the time to the first picture
//     (target 0.3 s), and a refresh of the unchanged tree (0.25 x);
//   - one picture added: the refresh that finds it (0.25 x);
//   - the private bytes of the whole group's list above those of a group of
//     ten pictures (target 48 MB).
// Arguments: the number of pictures (100000) and of leaf folders (1000). The
// tree is made once per size and kept for later runs; the index is made
// anew at each run.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/BenchWindows.h"
#include "bench/win/ResourceCounts.h"
#include "core/FolderEntry.h"
#include "library/PictureLibrary.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/KernelHandle.h"
#include "platform/WideText.h"
#include "support/DatedJpeg.h"

using namespace Bench;

namespace {

const std::atomic<bool> Running{false};

bool WriteBytes(const std::string& Path, const std::vector<std::uint8_t>& Bytes) {
  TKernelHandle File(CreateFileW(WidePath(Path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DWORD Written = 0;
  return File.Valid() && WriteFile(File.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &Written, nullptr) &&
         Written == Bytes.size();
}

std::string LeafFolder(const std::string& Root, int Leaf) {
  char Name[64];
  std::snprintf(Name, sizeof Name, "\\%d\\%02d\\event %d", 2000 + Leaf / 100, Leaf / 10 % 10 + 1, Leaf % 10 + 1);
  return Root + Name;
}

// Makes the tree unless a finished one of this size is there.
bool MakeTree(const std::string& Root, int Pictures, int Leaves) {
  const std::string Done = Root + "\\tree complete.txt";
  if (FileExists(Done)) return true;
  std::printf("making %d pictures in %d folders under %s\n", Pictures, Leaves, Root.c_str());
  for (int Leaf = 0; Leaf < Leaves; ++Leaf) {
    const std::string Folder = LeafFolder(Root, Leaf);
    if (!ForceDirectories(Folder)) return false;
    const int First = Pictures * Leaf / Leaves, End = Pictures * (Leaf + 1) / Leaves;
    char Date[32];
    std::snprintf(Date, sizeof Date, "%04d:%02d:%02d 12:00:00", 2000 + Leaf / 100, Leaf / 10 % 10 + 1, Leaf % 28 + 1);
    const std::vector<std::uint8_t> Photo = DatedJpeg(16, 16, Date);
    for (int P = First; P < End; ++P)
      if (!WriteBytes(Folder + "\\IMG_" + std::to_string(P - First + 1) + ".jpg", Photo)) return false;
  }
  return WriteBytes(Done, {});
}

// The reference: every file under Folder counted, nothing else done.
std::size_t BareListing(const std::wstring& Folder) {
  std::size_t Files = 0;
  WIN32_FIND_DATAW Entry;
  const HANDLE Search = FindFirstFileExW((Folder + L"\\*").c_str(), FindExInfoBasic, &Entry, FindExSearchNameMatch,
                                         nullptr, 2 /* FIND_FIRST_EX_LARGE_FETCH */);
  if (Search == INVALID_HANDLE_VALUE) return 0;
  do {
    const wchar_t* Name = Entry.cFileName;
    if (Entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (Name[0] == L'.' && (Name[1] == 0 || (Name[1] == L'.' && Name[2] == 0))) continue;
      Files += BareListing(Folder + L"\\" + Name);
    } else {
      ++Files;
    }
  } while (FindNextFileW(Search, &Entry));
  FindClose(Search);
  return Files;
}

void RemoveDatabase(const std::string& Path) {
  for (const char* Suffix : {"", "-wal", "-shm"}) DeleteFileW(WidePath(Path + Suffix).c_str());
}

struct TExpansion {
  double FirstMs = 0;
  double WholeMs = 0;
  std::size_t Count = 0;
};

TExpansion TimedExpand(TPictureLibrary& Library, const std::string& Entry, TPictureList& List) {
  TExpansion Result;
  const double Start = Seconds();
  Library.Expand({Entry}, List, Running, [&](const std::string&) { Result.FirstMs = (Seconds() - Start) * 1e3; });
  Result.WholeMs = (Seconds() - Start) * 1e3;
  Result.Count = List.Count();
  return Result;
}

}  // namespace

int main(int argc, char** argv) {
  const int Pictures = argc > 1 ? std::atoi(argv[1]) : 100000;
  const int Leaves = argc > 2 ? std::atoi(argv[2]) : 1000;
  if (Pictures < 10 || Leaves < 1 || Leaves > 10000) {
    std::fprintf(stderr, "usage: LibraryBench [pictures >= 10] [folders 1..10000]\n");
    return 2;
  }
  wchar_t Temp[MAX_PATH];
  GetTempPathW(MAX_PATH, Temp);
  const std::string Base = FolderEntryPath(Utf8(Temp) + "\\");
  const std::string Root = ChildPath(Base, "PictarineLibraryBench " + std::to_string(Pictures) + "x" +
                                               std::to_string(Leaves));
  if (!MakeTree(Root, Pictures, Leaves)) {
    std::fprintf(stderr, "could not make the tree under %s\n", Root.c_str());
    return 1;
  }
  const std::string Entry = Root + "\\";
  const std::string Database = ChildPath(Base, "PictarineLibraryBench.db");
  RemoveDatabase(Database);

  // The reference, the best of three runs before the library's figures and
  // three after them, so that a busy moment of the machine at either end
  // does not make it.
  double ListingMs = 1e30;
  std::size_t Listed = 0;
  auto TimeListing = [&] {
    for (int Run = 0; Run < 3; ++Run) {
      const double Start = Seconds();
      Listed = BareListing(WidePath(Root));
      ListingMs = std::min(ListingMs, (Seconds() - Start) * 1e3);
    }
  };
  TimeListing();

  // Without an index, as when the database cannot be used.
  TExpansion Bypassed;
  {
    TPictureLibrary Direct{std::string(), TPictureKinds()};
    TPictureList List;
    Bypassed = TimedExpand(Direct, Entry, List);
  }

  // Private bytes with a group of ten pictures, for the comparison below.
  std::uint64_t SmallBytes = 0;
  {
    TPictureLibrary Direct{std::string(), TPictureKinds()};
    TPictureList Small;
    Direct.Expand({LeafFolder(Root, 0) + "\\"}, Small, Running);
    SmallBytes = CountResources().PrivateBytes;
  }

  TExpansion Cold;
  std::size_t Dated = 0;
  double DatesMs = 0;
  bool Indexed = false;
  {
    TPictureLibrary Library(Database, TPictureKinds());
    TPictureList List;
    Cold = TimedExpand(Library, Entry, List);
    Indexed = Library.Indexed();
    const double Start = Seconds();
    Dated = Library.ReadMissingFacts(Running);
    DatesMs = (Seconds() - Start) * 1e3;
  }

  TPictureLibrary Library(Database, TPictureKinds());
  TPictureList List;
  const TExpansion Warm = TimedExpand(Library, Entry, List);
  const std::uint64_t LargeBytes = CountResources().PrivateBytes;

  double Start = Seconds();
  Library.Refresh({Entry}, Running);
  const double RefreshMs = (Seconds() - Start) * 1e3;
  const std::uint64_t RefreshListed = Library.Counters().FoldersListed;

  // One picture added: the folder's time is waited for, as a refresh can
  // only see a change once the file system's clock has moved on.
  const std::string Leaf = LeafFolder(Root, Leaves / 2);
  const std::string Added = Leaf + "\\added " + std::to_string(GetTickCount()) + ".jpg";
  const TFileTime Before = LookAtFolder(Leaf).WriteTime;
  const DWORD Until = GetTickCount() + 2000;
  WriteBytes(Added, DatedJpeg(16, 16, "2024:01:01 00:00:00"));
  while (LookAtFolder(Leaf).WriteTime == Before && static_cast<int>(Until - GetTickCount()) > 0) {
    WriteBytes(Added + ".tmp", {});
    DeleteFileW(WidePath(Added + ".tmp").c_str());
  }
  Start = Seconds();
  Library.Refresh({Entry}, Running);
  const double AddedMs = (Seconds() - Start) * 1e3;
  const std::uint64_t AddedListed = Library.Counters().FoldersListed - RefreshListed;
  TPictureList After;
  Library.Expand({Entry}, After, Running);
  const bool Found = After.Count() == List.Count() + 1;
  DeleteFileW(WidePath(Added).c_str());

  TimeListing();
  std::printf("bare listing:              %9.1f ms (%zu files)\n", ListingMs, Listed);
  std::printf("no index: whole list       %9.1f ms  %.2f x the listing\n", Bypassed.WholeMs,
              Bypassed.WholeMs / ListingMs);
  if (!Indexed) std::printf("the index could not be used: the figures below are for direct listing\n");
  std::printf("cold: first picture        %9.1f ms (target <= 1000)\n", Cold.FirstMs);
  std::printf("cold: whole list indexed   %9.1f ms  %.2f x the listing (target <= 1.5), %zu pictures\n", Cold.WholeMs,
              Cold.WholeMs / ListingMs, Cold.Count);
  std::printf("cold: dates read           %9.1f us per file (%zu files, in the background)\n",
              Dated ? DatesMs * 1e3 / Dated : 0.0, Dated);
  std::printf("warm: first picture        %9.1f ms (target <= 300), whole list %.1f ms\n", Warm.FirstMs, Warm.WholeMs);
  std::printf("warm: refresh, unchanged   %9.1f ms  %.2f x the listing (target <= 0.25), %llu folders listed\n",
              RefreshMs, RefreshMs / ListingMs, static_cast<unsigned long long>(RefreshListed));
  std::printf("one picture added: refresh %9.1f ms  %.2f x the listing (target <= 0.25), %llu folder listed, %s\n",
              AddedMs, AddedMs / ListingMs, static_cast<unsigned long long>(AddedListed),
              Found ? "found" : "NOT FOUND");

  const double GrowthMb = (static_cast<double>(LargeBytes) - static_cast<double>(SmallBytes)) / (1024.0 * 1024.0);
  std::printf("private bytes above a 10-picture group: %.1f MB (target <= 48)\n", GrowthMb);
  std::printf("library first picture cold %.0f ms, warm %.0f ms; index %.2f, refresh %.2f of the listing\n",
              Cold.FirstMs, Warm.FirstMs, Cold.WholeMs / ListingMs, RefreshMs / ListingMs);
  return Found && Cold.Count == static_cast<std::size_t>(Pictures) ? 0 : 1;
}
