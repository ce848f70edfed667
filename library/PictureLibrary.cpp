#include "library/PictureLibrary.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/FolderEntry.h"
#include "core/LogicalOrder.h"
#include "library/PictureFacts.h"
#include "library/Sqlite.h"
#include "platform/Files.h"
#include "platform/FolderListing.h"
#include "platform/WideText.h"

#ifndef THREAD_MODE_BACKGROUND_BEGIN
#define THREAD_MODE_BACKGROUND_BEGIN 0x00010000
#define THREAD_MODE_BACKGROUND_END 0x00020000
#endif

namespace {

// The layout of the index; a database of another version is emptied and
// made again.
constexpr int SchemaVersion = 3;
constexpr char Schema[] =
    "CREATE TABLE folder("
    "  id INTEGER PRIMARY KEY,"
    "  path TEXT NOT NULL UNIQUE,"    // as listings take it: no trailing backslash but on a root
    "  parent INTEGER,"               // the folder whose listing found it; NULL for an entry's own
    "  name TEXT NOT NULL,"           // the last part of the path, for the order of subfolders
    "  link INTEGER NOT NULL DEFAULT 0,"        // a junction or symbolic link
    "  volume INTEGER NOT NULL DEFAULT 0,"      // its identity, once needed; 0, 0: not known
    "  file_index INTEGER NOT NULL DEFAULT 0,"
    "  write_time INTEGER NOT NULL DEFAULT 0,"  // when last listed; 0: never listed
    "  present INTEGER NOT NULL DEFAULT 1);"     // 0: missing or unreachable at the last look
    "CREATE INDEX folder_parent ON folder(parent);"
    "CREATE TABLE picture("
    "  folder INTEGER NOT NULL,"
    "  name TEXT NOT NULL,"
    "  size INTEGER NOT NULL,"
    "  write_time INTEGER NOT NULL,"
    "  facts INTEGER NOT NULL DEFAULT 0,"  // 0: the fields below not read yet; 1: read; 2: unreadable
    "  width INTEGER, height INTEGER, orientation INTEGER,"
    "  taken INTEGER,"                     // YYYYMMDDhhmmss
    "  PRIMARY KEY(folder, name)) WITHOUT ROWID;";

// How long a call waits for another process's write to end.
constexpr int BusyTimeoutMs = 2000;
// How long after trouble the database is tried again.
constexpr DWORD RetryAfterMs = 60 * 1000;
// Writes are committed in batches, so other processes get their turn.
constexpr int RowsPerCommit = 20000;

std::int64_t DateNumber(const TExifDate& D) {
  return ((((static_cast<std::int64_t>(D.Year) * 100 + D.Month) * 100 + D.Day) * 100 + D.Hour) * 100 + D.Minute) *
             100 + D.Second;
}

TExifDate DateOfNumber(std::int64_t N) {
  TExifDate D;
  D.Second = static_cast<int>(N % 100), N /= 100;
  D.Minute = static_cast<int>(N % 100), N /= 100;
  D.Hour = static_cast<int>(N % 100), N /= 100;
  D.Day = static_cast<int>(N % 100), N /= 100;
  D.Month = static_cast<int>(N % 100), N /= 100;
  D.Year = static_cast<int>(N);
  return D;
}

// Logical order, the bytes deciding between names equal but for case, so the
// order does not depend on the order a listing gave.
bool NameBefore(const std::string& A, const std::string& B) {
  const int C = CompareLogical(A, B);
  return C != 0 ? C < 0 : A < B;
}

bool DeleteIfThere(const std::string& Path) {
  return DeleteFileW(WidePath(Path).c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND ||
         GetLastError() == ERROR_PATH_NOT_FOUND;
}

}  // namespace

// A folder of a walk: one the index knows (Row), or one just found.
struct TFolderNode {
  std::int64_t Row = 0;
  std::string Path;
  std::string Name;
  TFolderIdentity Id;       // known once a walk met a link
  bool Link = false;
  TFileTime Stored = 0;    // the index's write time: 0 when never listed
  TFileTime Observed = 0;  // the time seen before listing it now: 0 when not seen
  bool Present = true;
};

struct TPictureLibrary::TImpl {
  TImpl(std::string Path, TPictureKinds Kinds) : Path(std::move(Path)), Kinds(std::move(Kinds)) {}

  const std::string Path;
  const TPictureKinds Kinds;

  // The database, and its statements (finalised before it closes).
  TSqliteDatabase Db;
  struct TStatements {
    TSqliteStatement FolderByPath, Adopt, InsertFolder, UpdateFolder, MarkMissing, ChildFolders, DeleteSubtree,
        DeleteSubtreePictures, PictureNames, PictureRows, UpsertPicture, DeletePicture, Unread, StoreFacts,
        PictureFacts, BeginRead, Begin, Commit, Rollback;
  };
  std::unique_ptr<TStatements> S;
  // Reads of a walk share one read transaction: under a shared lock taken
  // once, not once a statement. A write ends it and takes the write lock;
  // writes are committed in batches, so other processes get their turn.
  enum { NoTransaction, Reading, Writing } Transaction = NoTransaction;
  int RowsWritten = 0;
  DWORD TroubleAt = 0;  // when the database last failed; 0: never
  bool HadTrouble = false;

  std::atomic<std::uint64_t> Listed{0}, Looked{0}, Rebuilds{0}, Bypasses{0};

  // Opening, rebuilding, leaving the database.
  bool Usable();
  void Open();
  void Close();
  bool Rebuild();
  void Trouble();
  template <class TWork>
  auto Guarded(TWork Work, decltype(Work(false)) Fallback) -> decltype(Work(false));

  // Writes, in batches.
  void Wrote(int Rows);
  void Commit();
  void Read();
  void Write();

  // The walk.
  struct TWalk {
    TWalk(bool Indexed, const TStop& Stop, TPictureList* List, const TFirstPicture* OnFirst, bool FirstGiven)
        : Indexed(Indexed), Stop(Stop), List(List), OnFirst(OnFirst), FirstGiven(FirstGiven) {}
    bool Indexed;
    const TStop& Stop;
    TPictureList* List;
    const TFirstPicture* OnFirst;
    bool FirstGiven = false;
    // The folders entered: by path (folder entries may overlap) and, once
    // a link was met, by identity too, which then is taken of every folder
    // entered before and after it. A tree without links costs no identity.
    std::unordered_set<std::string> SeenPaths;
    bool Linked = false;
    std::vector<std::string> Entered;
    std::unordered_set<TFolderIdentity, TFolderIdentityHash> Seen;
  };
  static bool Enter(TFolderNode& Node, TWalk& Walk);
  TFolderNode RootNode(const std::string& Folder, bool Indexed);
  bool ListAndStore(TFolderNode& Node, bool Indexed, std::vector<std::string>& Pictures,
                    std::vector<TFolderNode>& Children);
  void StoreListing(TFolderNode& Node, const TFolderListing& Listing, std::vector<std::string>& Pictures,
                    std::vector<TFolderNode>& Children);
  bool LoadFolder(const std::string& Folder, TFolderNode& Node);
  std::int64_t InsertFolder(const TFolderNode& Node, std::int64_t Parent);
  void LoadChildren(std::int64_t Row, std::vector<TFolderNode>& Children);
  void LoadPictures(std::int64_t Row, std::vector<std::string>& Pictures);
  void MarkMissing(TFolderNode& Node);
  bool Visit(TFolderNode& Node, TWalk& Walk);
  bool RefreshNode(TFolderNode& Node, TWalk& Walk);
  bool ExpandAll(const std::vector<std::string>& Entries, TPictureList& List, const TStop& Stop,
                 const TFirstPicture* OnFirst, bool& FirstGiven, bool Indexed);
};

// ---- the database ----------------------------------------------------------

bool TPictureLibrary::TImpl::Usable() {
  if (Db.IsOpen()) return true;
  if (Path.empty()) return false;
  if (HadTrouble && GetTickCount() - TroubleAt < RetryAfterMs) return false;
  try {
    Open();
    return true;
  } catch (const ESqlite& E) {
    if (E.Damaged() && Rebuild()) return true;
  } catch (...) {
  }
  Trouble();
  return false;
}

void TPictureLibrary::TImpl::Open() {
  Close();
  ForceDirectories(ExtractFileDir(Path));
  Db.Open(Path);
  sqlite3_busy_timeout(Db.Get(), BusyTimeoutMs);
  // The first read of the file: a file that is no database fails here.
  // Large pages, as a commit writes a frame header and a page at a time (a
  // new database only takes them, before it turns to WAL), and the log
  // copied back at 4 MB. No waits for the disk: the index can be built
  // again from the folders, and a file that a crash of the system left
  // damaged is.
  Db.Execute("PRAGMA page_size=65536; PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF; PRAGMA cache_size=-8000; "
             "PRAGMA wal_autocheckpoint=64;");
  int Version = 0;
  {
    TSqliteStatement Query(Db, "PRAGMA user_version");
    if (Query.Step()) Version = static_cast<int>(Query.Integer(0));
  }
  if (Version != SchemaVersion) {
    Db.Execute("BEGIN IMMEDIATE");
    try {
      Db.Execute("DROP TABLE IF EXISTS folder; DROP TABLE IF EXISTS picture;");
      Db.Execute(Schema);
      Db.Execute(("PRAGMA user_version=" + std::to_string(SchemaVersion)).c_str());
      Db.Execute("COMMIT");
    } catch (...) {
      sqlite3_exec(Db.Get(), "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }
  auto Make = [this](const char* Sql) { return TSqliteStatement(Db, Sql); };
  S = std::make_unique<TStatements>(TStatements{
      Make("SELECT id, name, volume, file_index, write_time, present, link FROM folder WHERE path = ?1"),
      Make("UPDATE folder SET parent = ?2 WHERE id = ?1"),
      Make("INSERT OR IGNORE INTO folder(path, parent, name, volume, file_index, link) "
           "VALUES(?1, ?2, ?3, ?4, ?5, ?6)"),
      Make("UPDATE folder SET write_time = ?2, present = 1, volume = ?3, file_index = ?4 WHERE id = ?1"),
      Make("UPDATE folder SET present = 0 WHERE id = ?1"),
      Make("SELECT id, path, name, volume, file_index, write_time, present, link FROM folder WHERE parent = ?1"),
      Make("WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL SELECT folder.id FROM folder JOIN sub ON "
           "folder.parent = sub.id) DELETE FROM folder WHERE id IN sub"),
      Make("WITH RECURSIVE sub(id) AS (SELECT ?1 UNION ALL SELECT folder.id FROM folder JOIN sub ON "
           "folder.parent = sub.id) DELETE FROM picture WHERE folder IN sub"),
      Make("SELECT name FROM picture WHERE folder = ?1"),
      Make("SELECT name, size, write_time FROM picture WHERE folder = ?1"),
      Make("INSERT INTO picture(folder, name, size, write_time) VALUES(?1, ?2, ?3, ?4) ON CONFLICT(folder, name) "
           "DO UPDATE SET size = excluded.size, write_time = excluded.write_time, facts = 0, width = NULL, "
           "height = NULL, orientation = NULL, taken = NULL "
           "WHERE size <> excluded.size OR write_time <> excluded.write_time"),
      Make("DELETE FROM picture WHERE folder = ?1 AND name = ?2"),
      Make("SELECT picture.folder, folder.path, picture.name, picture.size, picture.write_time FROM picture "
           "JOIN folder ON folder.id = picture.folder WHERE picture.facts = 0 AND (picture.folder, picture.name) > "
           "(?1, ?2) ORDER BY picture.folder, picture.name LIMIT 256"),
      Make("UPDATE picture SET facts = ?5, width = ?6, height = ?7, orientation = ?8, taken = ?9 "
           "WHERE folder = ?1 AND name = ?2 AND size = ?3 AND write_time = ?4"),
      Make("SELECT picture.size, picture.write_time, picture.facts, picture.width, picture.height, "
           "picture.orientation, picture.taken FROM picture JOIN folder ON folder.id = picture.folder "
           "WHERE folder.path = ?1 AND picture.name = ?2"),
      Make("BEGIN"),
      Make("BEGIN IMMEDIATE"),
      Make("COMMIT"),
      Make("ROLLBACK"),
  });
}

void TPictureLibrary::TImpl::Close() {
  if (Transaction != NoTransaction && S) {
    try {
      S->Rollback.Run();
    } catch (...) {
    }
  }
  Transaction = NoTransaction;
  RowsWritten = 0;
  S.reset();
  Db.Close();
}

bool TPictureLibrary::TImpl::Rebuild() {
  // A damaged file is deleted with its journal and shared-memory files and
  // made anew; when it cannot be deleted (another process has it open) it is
  // left to that process, and the folders are listed directly.
  Close();
  if (!DeleteIfThere(Path)) return false;
  DeleteIfThere(Path + "-wal");
  DeleteIfThere(Path + "-shm");
  DeleteIfThere(Path + "-journal");
  ++Rebuilds;
  try {
    Open();
    return true;
  } catch (...) {
    Close();
    return false;
  }
}

void TPictureLibrary::TImpl::Trouble() {
  Close();
  HadTrouble = true;
  TroubleAt = GetTickCount();
  ++Bypasses;
}

// Runs Work(true) with the database; when the database fails, a damaged one
// is rebuilt and the work done again, and otherwise the work is done without
// it, Work(false). Fallback when even that fails.
template <class TWork>
auto TPictureLibrary::TImpl::Guarded(TWork Work, decltype(Work(false)) Fallback) -> decltype(Work(false)) {
  try {
    for (int Attempt = 0; Attempt < 2 && Usable(); ++Attempt) {
      try {
        auto Result = Work(true);
        Commit();
        return Result;
      } catch (const ESqlite& E) {
        if (!(E.Damaged() && Attempt == 0 && Rebuild())) {
          Trouble();
          break;
        }
      }
    }
    return Work(false);
  } catch (...) {
    // A database or memory failure in the direct listing: the show goes on
    // with nothing from here.
    Close();
    return Fallback;
  }
}

void TPictureLibrary::TImpl::Wrote(int Rows) {
  RowsWritten += Rows;
  if (RowsWritten >= RowsPerCommit) Commit();
}

void TPictureLibrary::TImpl::Commit() {
  if (Transaction == NoTransaction) return;
  Transaction = NoTransaction;
  RowsWritten = 0;
  S->Commit.Run();
}

void TPictureLibrary::TImpl::Read() {
  if (Transaction != NoTransaction) return;
  S->BeginRead.Run();
  Transaction = Reading;
}

void TPictureLibrary::TImpl::Write() {
  if (Transaction == Writing) return;
  // A read transaction cannot always become a write one (another process
  // may have written since it began): it ends, and what is written is read
  // again under the write lock.
  Commit();
  S->Begin.Run();
  Transaction = Writing;
}

// ---- the walk ------------------------------------------------------------

TFolderNode TPictureLibrary::TImpl::RootNode(const std::string& Folder, bool Indexed) {
  TFolderNode Node;
  Node.Path = Folder;
  if (Indexed) LoadFolder(Folder, Node);
  if (Node.Row == 0) {
    const std::size_t Split = Folder.find_last_of('\\', Folder.size() > 1 ? Folder.size() - 2 : 0);
    Node.Name = Split == std::string::npos ? Folder : Folder.substr(Split + 1);
  }
  if (Node.Row == 0) Node.Link = LookAtFolder(Folder).Link;
  return Node;
}

bool TPictureLibrary::TImpl::ListAndStore(TFolderNode& Node, bool Indexed, std::vector<std::string>& Pictures,
                                          std::vector<TFolderNode>& Children) {
  // The time is taken before the names, so that a change while they are
  // read is seen at the next look.
  if (Node.Observed == 0) {
    const TFolderLook Look = LookAtFolder(Node.Path);
    ++Looked;
    if (!Look.Present) {
      if (Indexed) MarkMissing(Node);
      return false;
    }
    Node.Observed = Look.WriteTime;
  }
  TFolderListing Listing;
  ++Listed;
  if (!ListFolder(Node.Path, Listing)) {
    if (Indexed) MarkMissing(Node);
    return false;
  }
  if (Indexed) {
    StoreListing(Node, Listing, Pictures, Children);
  } else {
    for (const TListedFile& F : Listing.Files)
      if (Kinds.ListedByLoad(F.Name)) Pictures.push_back(F.Name);
    for (const TListedFolder& F : Listing.Folders) {
      TFolderNode Child;
      Child.Path = ChildPath(Node.Path, F.Name);
      Child.Name = F.Name;
      Child.Observed = F.WriteTime;
      Child.Link = F.Link;
      Children.push_back(std::move(Child));
    }
  }
  return true;
}

void TPictureLibrary::TImpl::StoreListing(TFolderNode& Node, const TFolderListing& Listing,
                                          std::vector<std::string>& Pictures, std::vector<TFolderNode>& Children) {
  Write();
  // A folder never listed has no rows of pictures or subfolders to compare
  // with (rows that another process has just written meet the conflict
  // clauses instead).
  const bool FirstListing = Node.Row == 0 || Node.Stored == 0;
  if (Node.Row == 0) Node.Row = InsertFolder(Node, 0);
  S->UpdateFolder.Bind(1, Node.Row).Bind(2, static_cast<std::int64_t>(Node.Observed));
  S->UpdateFolder.Bind(3, std::int64_t(Node.Id.Volume)).Bind(4, static_cast<std::int64_t>(Node.Id.Index)).Run();
  Node.Stored = Node.Observed;
  Node.Present = true;

  // Pictures: the unchanged keep their facts, the changed and new are
  // written, the gone deleted.
  struct TKnown {
    std::uint64_t Size, Time;
    bool Listed;
  };
  std::unordered_map<std::string, TKnown> Known;
  if (!FirstListing) {
    TSqliteStatement& Rows = S->PictureRows;
    Rows.Bind(1, Node.Row);
    while (Rows.Step())
      Known.emplace(std::string(Rows.Text(0)), TKnown{static_cast<std::uint64_t>(Rows.Integer(1)),
                                                     static_cast<std::uint64_t>(Rows.Integer(2)), false});
    Rows.Reset();
  }
  int Written = 0;
  for (const TListedFile& F : Listing.Files) {
    if (!Kinds.ListedByLoad(F.Name)) continue;
    Pictures.push_back(F.Name);
    const auto At = Known.find(F.Name);
    if (At != Known.end()) {
      At->second.Listed = true;
      if (At->second.Size == F.Size && At->second.Time == F.WriteTime) continue;
    }
    S->UpsertPicture.Bind(1, Node.Row).Bind(2, F.Name).Bind(3, static_cast<std::int64_t>(F.Size));
    S->UpsertPicture.Bind(4, static_cast<std::int64_t>(F.WriteTime)).Run();
    ++Written;
  }
  for (const auto& [Name, K] : Known) {
    if (K.Listed) continue;
    S->DeletePicture.Bind(1, Node.Row).Bind(2, Name).Run();
    ++Written;
  }

  // Subfolders: the known keep their rows (and their times, which their own
  // look compares), the new get rows never listed, the gone go with all
  // that lies under them.
  std::vector<TFolderNode> KnownChildren;
  if (!FirstListing) LoadChildren(Node.Row, KnownChildren);
  std::unordered_map<std::string, std::size_t> ByPath;
  for (std::size_t I = 0; I < KnownChildren.size(); ++I) ByPath.emplace(KnownChildren[I].Path, I);
  std::vector<bool> Still(KnownChildren.size(), false);
  for (const TListedFolder& F : Listing.Folders) {
    TFolderNode Child;
    Child.Path = ChildPath(Node.Path, F.Name);
    const auto At = ByPath.find(Child.Path);
    if (At != ByPath.end()) {
      Still[At->second] = true;
      Child = KnownChildren[At->second];
    } else if (LoadFolder(Child.Path, Child)) {
      // Known already as a folder entry of its own: now a subfolder too.
      S->Adopt.Bind(1, Child.Row).Bind(2, Node.Row).Run();
      ++Written;
    } else {
      Child.Name = F.Name;
      Child.Link = F.Link;
      Child.Row = InsertFolder(Child, Node.Row);
      ++Written;
    }
    Child.Observed = F.WriteTime;
    Children.push_back(std::move(Child));
  }
  for (std::size_t I = 0; I < KnownChildren.size(); ++I) {
    if (Still[I]) continue;
    S->DeleteSubtreePictures.Bind(1, KnownChildren[I].Row).Run();
    S->DeleteSubtree.Bind(1, KnownChildren[I].Row).Run();
    ++Written;
  }
  Wrote(Written + 1);
}

// The row of a new folder (Parent 0 for an entry's own), or of the same path
// that another process has just added (then adopted by Parent).
std::int64_t TPictureLibrary::TImpl::InsertFolder(const TFolderNode& Node, std::int64_t Parent) {
  TSqliteStatement& Q = S->InsertFolder;
  Q.Bind(1, Node.Path).Bind(3, Node.Name).Bind(4, std::int64_t(Node.Id.Volume));
  Q.Bind(5, static_cast<std::int64_t>(Node.Id.Index)).Bind(6, Node.Link ? 1 : 0);
  if (Parent != 0) Q.Bind(2, Parent);
  else Q.BindNull(2);
  Q.Run();
  if (sqlite3_changes(Db.Get()) == 1) return sqlite3_last_insert_rowid(Db.Get());
  TFolderNode Known;
  if (!LoadFolder(Node.Path, Known)) throw ESqlite{SQLITE_ERROR};
  if (Parent != 0) S->Adopt.Bind(1, Known.Row).Bind(2, Parent).Run();
  return Known.Row;
}

bool TPictureLibrary::TImpl::LoadFolder(const std::string& Folder, TFolderNode& Node) {
  Read();
  TSqliteStatement& Q = S->FolderByPath;
  Q.Bind(1, Folder);
  const bool Found = Q.Step();
  if (Found) {
    Node.Row = Q.Integer(0);
    Node.Name = std::string(Q.Text(1));
    Node.Id = {static_cast<std::uint32_t>(Q.Integer(2)), static_cast<std::uint64_t>(Q.Integer(3))};
    Node.Stored = static_cast<TFileTime>(Q.Integer(4));
    Node.Present = Q.Integer(5) != 0;
    Node.Link = Q.Integer(6) != 0;
  }
  Q.Reset();
  return Found;
}

void TPictureLibrary::TImpl::LoadChildren(std::int64_t Row, std::vector<TFolderNode>& Children) {
  Read();
  TSqliteStatement& Q = S->ChildFolders;
  Q.Bind(1, Row);
  while (Q.Step()) {
    TFolderNode Child;
    Child.Row = Q.Integer(0);
    Child.Path = std::string(Q.Text(1));
    Child.Name = std::string(Q.Text(2));
    Child.Id = {static_cast<std::uint32_t>(Q.Integer(3)), static_cast<std::uint64_t>(Q.Integer(4))};
    Child.Stored = static_cast<TFileTime>(Q.Integer(5));
    Child.Present = Q.Integer(6) != 0;
    Child.Link = Q.Integer(7) != 0;
    Children.push_back(std::move(Child));
  }
  Q.Reset();
}

void TPictureLibrary::TImpl::LoadPictures(std::int64_t Row, std::vector<std::string>& Pictures) {
  Read();
  TSqliteStatement& Q = S->PictureNames;
  Q.Bind(1, Row);
  while (Q.Step()) Pictures.emplace_back(Q.Text(0));
  Q.Reset();
}

void TPictureLibrary::TImpl::MarkMissing(TFolderNode& Node) {
  Node.Present = false;
  if (Node.Row == 0) return;
  Write();
  S->MarkMissing.Bind(1, Node.Row).Run();
  Wrote(1);
}

// Whether a walk enters Node: not when it entered the same folder before.
bool TPictureLibrary::TImpl::Enter(TFolderNode& Node, TWalk& Walk) {
  std::string Key = Node.Path;
  for (char& C : Key)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  if (!Walk.SeenPaths.insert(std::move(Key)).second) return false;
  if (Node.Link && !Walk.Linked) {
    Walk.Linked = true;
    for (const std::string& Path : Walk.Entered) {
      const TFolderIdentity Id = FolderIdentity(Path);
      if (Id.Known()) Walk.Seen.insert(Id);
    }
    Walk.Entered.clear();
  }
  if (!Walk.Linked) {
    Walk.Entered.push_back(Node.Path);
    return true;
  }
  if (!Node.Id.Known()) Node.Id = FolderIdentity(Node.Path);
  return !Node.Id.Known() || Walk.Seen.insert(Node.Id).second;
}

bool TPictureLibrary::TImpl::Visit(TFolderNode& Node, TWalk& Walk) {
  if (Walk.Stop) return false;
  if (!Node.Present) return true;
  if (!Enter(Node, Walk)) return true;
  std::vector<std::string> Pictures;
  std::vector<TFolderNode> Children;
  if (!Walk.Indexed || Node.Row == 0 || Node.Stored == 0) {
    if (!ListAndStore(Node, Walk.Indexed, Pictures, Children)) return true;
  } else {
    LoadPictures(Node.Row, Pictures);
    LoadChildren(Node.Row, Children);
  }
  if (!Pictures.empty()) {
    std::sort(Pictures.begin(), Pictures.end(), NameBefore);
    const std::uint32_t Folder = Walk.List->FolderNumber(Node.Path);
    for (const std::string& Name : Pictures) Walk.List->AddPicture(Folder, Name);
    if (!Walk.FirstGiven && Walk.OnFirst && *Walk.OnFirst) {
      Walk.FirstGiven = true;
      Commit();  // what was listed so far is kept, whatever the callback does
      (*Walk.OnFirst)(ChildPath(Node.Path, Pictures.front()));
    }
  }
  std::sort(Children.begin(), Children.end(),
            [](const TFolderNode& A, const TFolderNode& B) { return NameBefore(A.Name, B.Name); });
  for (TFolderNode& Child : Children)
    if (!Visit(Child, Walk)) return false;
  return true;
}

bool TPictureLibrary::TImpl::ExpandAll(const std::vector<std::string>& Entries, TPictureList& List, const TStop& Stop,
                                       const TFirstPicture* OnFirst, bool& FirstGiven, bool Indexed) {
  List.Clear();
  TWalk Walk(Indexed, Stop, &List, OnFirst, FirstGiven);
  bool Complete = true;
  for (const std::string& Entry : Entries) {
    if (Stop) {
      Complete = false;
      break;
    }
    if (!IsFolderEntry(Entry)) {
      List.AddFileLine(Entry);
      if (!Walk.FirstGiven && OnFirst && *OnFirst) {
        Walk.FirstGiven = true;
        (*OnFirst)(Entry);
      }
      continue;
    }
    TFolderNode Root = RootNode(FolderEntryPath(Entry), Indexed);
    if (!Visit(Root, Walk)) {
      Complete = false;
      break;
    }
  }
  FirstGiven = Walk.FirstGiven;
  return Complete;
}

bool TPictureLibrary::TImpl::RefreshNode(TFolderNode& Node, TWalk& Walk) {
  if (Walk.Stop) return false;
  if (!Enter(Node, Walk)) return true;
  const TFolderLook Look = LookAtFolder(Node.Path);
  ++Looked;
  if (!Look.Present) {
    if (Node.Present) MarkMissing(Node);
    return true;
  }
  std::vector<std::string> Pictures;
  std::vector<TFolderNode> Children;
  if (Node.Row == 0 || !Node.Present || Node.Stored != Look.WriteTime) {
    Node.Observed = Look.WriteTime;
    if (!ListAndStore(Node, true, Pictures, Children)) return true;
  } else {
    LoadChildren(Node.Row, Children);
  }
  for (TFolderNode& Child : Children)
    if (!RefreshNode(Child, Walk)) return false;
  return true;
}

// ---- the calls -------------------------------------------------------------

TPictureLibrary::TPictureLibrary(std::string DatabasePath, TPictureKinds Kinds)
    : Impl(std::make_unique<TImpl>(std::move(DatabasePath), std::move(Kinds))) {}

TPictureLibrary::~TPictureLibrary() {
  try {
    Impl->Commit();
  } catch (...) {
  }
  Impl->Close();
}

std::string TPictureLibrary::DefaultDatabasePath() {
  wchar_t Folder[MAX_PATH];
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, Folder))) return {};
  return ChildPath(Utf8(Folder), "Quellbrook\\Pictarine Screen Saver\\Library.db");
}

bool TPictureLibrary::Expand(const std::vector<std::string>& Entries, TPictureList& List, const TStop& Stop,
                             const TFirstPicture& OnFirstPicture) {
  bool FirstGiven = false;
  return Impl->Guarded(
      [&](bool Indexed) { return Impl->ExpandAll(Entries, List, Stop, &OnFirstPicture, FirstGiven, Indexed); },
      false);
}

bool TPictureLibrary::Refresh(const std::vector<std::string>& Entries, const TStop& Stop) {
  return Impl->Guarded(
      [&](bool Indexed) {
        if (!Indexed) return true;
        TPictureList Unused;
        TImpl::TWalk Walk(true, Stop, &Unused, nullptr, false);
        for (const std::string& Entry : Entries) {
          if (!IsFolderEntry(Entry)) continue;
          TFolderNode Root = Impl->RootNode(FolderEntryPath(Entry), true);
          if (!Impl->RefreshNode(Root, Walk)) return false;
        }
        return true;
      },
      false);
}

TEntrySummary TPictureLibrary::Summarize(const std::string& FolderEntry, const TStop& Stop) {
  TPictureList List;
  Expand({FolderEntry}, List, Stop);
  TEntrySummary Summary;
  Summary.Count = List.Count();
  if (!List.Empty()) Summary.First = List.Path(0);
  return Summary;
}

std::size_t TPictureLibrary::ReadMissingFacts(const TStop& Stop) {
  const bool Background = SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_BEGIN) != 0;
  struct TRow {
    std::int64_t Folder;
    std::string Path, Name;
    std::int64_t Size, Time;
  };
  const std::size_t Count = Impl->Guarded(
      [&](bool Indexed) -> std::size_t {
        if (!Indexed) return 0;
        std::size_t Read = 0;
        std::vector<std::uint8_t> Head;
        // One pass in key order, each batch going on after the last: no
        // index of the pictures to read is kept up to date by every write.
        // Pictures changed behind it are read by the next call.
        std::int64_t AfterFolder = 0;
        std::string AfterName;
        while (!Stop) {
          std::vector<TRow> Rows;
          TSqliteStatement& Q = Impl->S->Unread;
          Q.Bind(1, AfterFolder).Bind(2, AfterName);
          while (Q.Step())
            Rows.push_back({Q.Integer(0), std::string(Q.Text(1)), std::string(Q.Text(2)), Q.Integer(3), Q.Integer(4)});
          Q.Reset();
          if (Rows.empty()) break;
          AfterFolder = Rows.back().Folder;
          AfterName = Rows.back().Name;
          // The files are read outside a transaction, so that other writers
          // are not held up meanwhile.
          std::vector<std::optional<TReadFacts>> Facts;
          for (const TRow& R : Rows) {
            if (Stop) break;
            Facts.push_back(ReadPictureFacts(ChildPath(R.Path, R.Name), Head));
          }
          Impl->Write();
          for (std::size_t I = 0; I < Facts.size(); ++I) {
            TSqliteStatement& U = Impl->S->StoreFacts;
            U.Bind(1, Rows[I].Folder).Bind(2, Rows[I].Name).Bind(3, Rows[I].Size).Bind(4, Rows[I].Time);
            if (Facts[I]) {
              U.Bind(5, 1).Bind(6, Facts[I]->Width).Bind(7, Facts[I]->Height).Bind(8, Facts[I]->Orientation);
              if (Facts[I]->Taken) U.Bind(9, DateNumber(*Facts[I]->Taken));
              else U.BindNull(9);
            } else {
              U.Bind(5, 2).BindNull(6).BindNull(7).BindNull(8).BindNull(9);
            }
            U.Run();
            ++Read;
          }
          Impl->Commit();
        }
        return Read;
      },
      0);
  if (Background) SetThreadPriority(GetCurrentThread(), THREAD_MODE_BACKGROUND_END);
  return Count;
}

std::optional<TPictureFacts> TPictureLibrary::Facts(const std::string& Path) {
  const std::size_t Split = Path.find_last_of('\\');
  if (Split == std::string::npos) return std::nullopt;
  const std::string Folder = FolderEntryPath(Path.substr(0, Split + 1));
  const std::string Name = Path.substr(Split + 1);
  return Impl->Guarded(
      [&](bool Indexed) -> std::optional<TPictureFacts> {
        if (!Indexed) return std::nullopt;
        TSqliteStatement& Q = Impl->S->PictureFacts;
        Q.Bind(1, Folder).Bind(2, Name);
        std::optional<TPictureFacts> Result;
        if (Q.Step()) {
          TPictureFacts F;
          F.Size = static_cast<std::uint64_t>(Q.Integer(0));
          F.WriteTime = static_cast<std::uint64_t>(Q.Integer(1));
          F.Read = Q.Integer(2) == 1;
          F.Width = static_cast<std::uint32_t>(Q.Integer(3));
          F.Height = static_cast<std::uint32_t>(Q.Integer(4));
          F.Orientation = Q.IsNull(5) ? 1 : static_cast<int>(Q.Integer(5));
          if (!Q.IsNull(6)) F.Taken = DateOfNumber(Q.Integer(6));
          Result = F;
        }
        Q.Reset();
        return Result;
      },
      std::nullopt);
}

bool TPictureLibrary::Indexed() const { return Impl->Db.IsOpen(); }

TLibraryCounters TPictureLibrary::Counters() const {
  return {Impl->Listed.load(), Impl->Looked.load(), Impl->Rebuilds.load(), Impl->Bypasses.load()};
}
