#pragma once
// The picture library: the pictures under a group's folder entries, found
// by listing folders and kept in an index, an SQLite database per user
// (DefaultDatabasePath) that several processes share (WAL mode, a busy
// timeout). For every picture under a folder entry the index holds its
// folder, name, size and last-write time, and once read in the background
// its pixel size, Exif orientation and date taken.
//
// The callers:
//  - the picture pipeline's worker expands a group (Expand) for each pass
//    and refreshes the index (Refresh) at the start and at pass boundaries;
//  - a background thread reads the facts of pictures that lack them
//    (ReadMissingFacts, or TFactsReader in library/FactsReader.h, which
//    runs it on a thread of its own), at background priority;
//  - the configuration dialog asks, off its window thread, how many
//    pictures a folder entry holds and which comes first (Summarize), and a
//    picture's facts (Facts).
//
// Threads: a TPictureLibrary is used by one thread at a time. Each thread
// that needs the library makes its own object over the same database file;
// they (and other processes) meet in the database. Counters() alone may be
// read from any thread.
//
// Nothing leaves these calls as an exception, and nothing is shown: when the
// database is missing it is created; when it is damaged (not a database,
// cut short, corrupt) it is deleted and built again, never left behind; when
// it cannot be used (locked by another process, read-only, a full disk, no
// folder for it) the calls list the folders directly in memory, and try the
// database again a minute later. A folder that is missing or unreachable is
// skipped, as are its pictures, until it is back.
//
// What counts as a picture is the rule of the dialog's Load: a file whose
// kind the table of picture kinds lists for a folder load. Skipped as
// Explorer hides them: hidden and system files and folders; and online-only
// files of a cloud folder. A folder reached through a junction or a
// symbolic link is entered at most once per expansion, so loops end.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/ExifDate.h"
#include "core/PictureKinds.h"
#include "library/PictureList.h"

// What the index knows of one picture.
struct TPictureFacts {
  std::uint64_t Size = 0;
  std::uint64_t WriteTime = 0;  // a file time: 100 ns since 1601
  bool Read = false;            // whether the fields below were read from the file
  std::uint32_t Width = 0;      // as stored (before the Exif turn); 0 when not known
  std::uint32_t Height = 0;
  int Orientation = 1;          // Exif orientation, 1 to 8
  std::optional<TExifDate> Taken;  // Exif DateTimeOriginal
};

// A folder entry's pictures now: how many, and the first in list order
// (empty when there is none).
struct TEntrySummary {
  std::size_t Count = 0;
  std::string First;
};

// What the library has done since it was made, for tests and measurements.
struct TLibraryCounters {
  std::uint64_t FoldersListed = 0;  // folders whose names were read (ListFolder)
  std::uint64_t FoldersLooked = 0;  // looks at a folder's last-write time
  std::uint64_t Rebuilds = 0;       // damaged databases deleted and made again
  std::uint64_t Bypasses = 0;       // times the database could not be used
};

class TPictureLibrary {
 public:
  using TStop = std::atomic<bool>;
  using TFirstPicture = std::function<void(const std::string& Path)>;

  // A library whose index is the database at DatabasePath (UTF-8; its
  // folder is made when missing), with Kinds deciding what a picture is
  // (InstalledPictureKinds() for the programs). Opens nothing yet.
  TPictureLibrary(std::string DatabasePath, TPictureKinds Kinds);
  ~TPictureLibrary();
  TPictureLibrary(const TPictureLibrary&) = delete;
  TPictureLibrary& operator=(const TPictureLibrary&) = delete;

  // %LOCALAPPDATA%\Quellbrook\Pictarine Screen Saver\Library.db; empty when
  // Windows names no such folder.
  static std::string DefaultDatabasePath();

  // Expands a group's entries, in group order, into List (cleared first):
  // a file line gives its picture as it stands (it is not looked at); a
  // folder entry gives its own pictures in Explorer's order, then each
  // subfolder's, the subfolders in the same order, recursively. Folders
  // the index knows are read from it as last seen (Refresh brings them up
  // to date); folders it has never seen are listed now and indexed.
  // OnFirstPicture, when given, is called once, on this thread, as soon as
  // the first picture is known: on a cold start after listing only the
  // folders up to the first that holds a picture, the rest being listed
  // after it returns. False when Stop ended the expansion early (List then
  // holds what was found so far).
  bool Expand(const std::vector<std::string>& Entries, TPictureList& List, const TStop& Stop,
              const TFirstPicture& OnFirstPicture = {});

  // Brings the index up to date for the folder entries among Entries: one
  // look at each folder it knows under them (its last-write time); only the
  // folders whose time changed, and new ones, are listed again. A missing or
  // unreachable folder is marked so and skipped with what lies under it; its
  // rows stay, and it is handed out again once it is back. False when Stop
  // ended it early (what was done is kept). Without a usable database there
  // is nothing to bring up to date: Expand lists the folders itself.
  bool Refresh(const std::vector<std::string>& Entries, const TStop& Stop);

  // How many pictures one folder entry holds now, and its first, as Expand
  // would give them.
  TEntrySummary Summarize(const std::string& FolderEntry, const TStop& Stop);

  // Reads the pixel size, orientation and date taken of indexed pictures
  // that lack them, until none is left or Stop is set; the calling thread
  // runs at background priority meanwhile. Returns how many were read.
  // Never before the first picture: the caller starts it after that.
  std::size_t ReadMissingFacts(const TStop& Stop);

  // What the index knows of the picture at Path (a path as Expand gives
  // it); nothing when it does not know it or has no database.
  std::optional<TPictureFacts> Facts(const std::string& Path);

  // Whether the database is in use now (false while the library lists the
  // folders directly).
  bool Indexed() const;
  TLibraryCounters Counters() const;

 private:
  struct TImpl;
  std::unique_ptr<TImpl> Impl;
};
