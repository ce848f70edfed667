#pragma once
// The pictures of a group, pass after pass: the group's lines (picture
// files and folder entries) expanded through the picture library, and
// handed out each once a pass, in list order, at random, or at random
// balanced by folder ("Mix Folders Evenly"). Used by one thread at a time:
// the picture pipeline's worker, or /w's main thread.
//
// A group without folder entries never opens the library: its lines are
// its pictures, as they always were. With folder entries, each pass is
// expanded from the index as it was last brought up to date; the caller
// refreshes it in the background (TIndexRefresh), so a picture added under
// a folder comes in a later pass. The first pass is expanded on a thread of
// its own: when the index does not know the folders yet, the first picture
// listed is shown while the rest are listed (at random, when the whole list
// takes more than a moment), and comes only once in that pass.
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/PassOrder.h"
#include "library/PictureList.h"

class TPictureLibrary;
class TSettings;

class TGroupPictures {
 public:
  // DatabasePath: the index folder entries are expanded through.
  explicit TGroupPictures(std::string DatabasePath);
  ~TGroupPictures();
  TGroupPictures(const TGroupPictures&) = delete;
  TGroupPictures& operator=(const TGroupPictures&) = delete;

  // The next picture of the pass. The first call begins a pass over the
  // group as Settings holds it. When a pass is over, BeginPass runs (by
  // default Settings.LoadSettings(), which reads the settings and the group
  // again), at most once a call, and a new pass begins, unless the group has
  // no line at all. A pass whose lines give no picture gives the sample
  // picture where it exists; empty when there is nothing to show.
  std::string Next(TSettings& Settings, const std::atomic<bool>& Stop,
                   const std::function<void()>& BeginPass = nullptr);

  // Forgets the pass: the next call begins one over the group as Settings
  // holds it then, without BeginPass.
  void Reset() { Begun = false; }

  // The lines the pass begun last was expanded from.
  const std::vector<std::string>& Lines() const { return PassLines; }
  // Whether they hold a folder entry (only then is there an index to refresh).
  bool HasFolders() const { return Folders; }

 private:
  void Begin(const TSettings& Settings, const std::atomic<bool>& Stop);
  // With the first pass's expansion under way: its first picture, when it
  // is known before the whole list (true); otherwise the pass is begun over
  // the whole list (false).
  bool TakeEarlyFirst(std::string& First);

  struct TFirstExpansion;

  const std::string DatabasePath;
  std::unique_ptr<TPictureLibrary> Library;  // made for the first folder entry
  std::unique_ptr<TFirstExpansion> Expansion;  // the first pass's, until its list is taken
  bool EarlyGiven = false;
  std::string Skip;  // handed out before its pass was begun: passed over once in it
  TPassOrder::TMode Mode = TPassOrder::ListOrder;
  bool RandomFirst = false;
  std::vector<std::string> PassLines;
  bool Folders = false;
  bool Begun = false;
  TPictureList List;
  TPassOrder Order;
};
