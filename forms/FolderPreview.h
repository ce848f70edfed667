#pragma once
// The dialog's preview of a folder entry: how many pictures it holds now and
// its first picture, found on a thread of its own (a folder of 100,000
// pictures, or a share that hangs, never holds up the dialog) and handed to
// the window by a posted message. Only the latest request counts; one asked
// for before it, or finishing after the window is gone, is thrown away. A
// thread still listing when the dialog closes is left to end on its own,
// holding the shared caches and its state meanwhile.
#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

class TFolderPreview {
 public:
  // Posted to the window when a summary is ready; Take it then.
  static constexpr UINT ReadyMessage = WM_APP + 20;

  TFolderPreview() = default;
  // The window is forgotten: no message is posted after this.
  ~TFolderPreview();
  TFolderPreview(const TFolderPreview&) = delete;
  TFolderPreview& operator=(const TFolderPreview&) = delete;

  // Makes a picture fitted into Width x Height, or nullptr; called on the
  // request's thread.
  using TMake = HBITMAP (*)(const std::string& Path, int Width, int Height) noexcept;
  // Starts finding FolderEntry's count and its first picture, made by Make,
  // for Window.
  void Request(HWND Window, const std::string& FolderEntry, int Width, int Height, TMake Make);
  // Forgets any request under way (a file entry is previewed instead).
  void Cancel();

  struct TSummary {
    std::size_t Count = 0;
    HBITMAP Picture = nullptr;  // owned by the caller once taken; nullptr: none
  };
  // The latest request's summary, once ReadyMessage came; false when none is
  // waiting (it was stale or taken already).
  bool Take(TSummary& Summary);

 private:
  struct TState;
  std::shared_ptr<TState> State;
};
