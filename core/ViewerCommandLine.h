#pragma once
// Command-line contract of the companion viewer Vistaloop.exe. Portable.
//   (none)          slide show of the "SlideShow Group"
//   /s "<group>"    slide show of the named group (without a name: as none)
//   /w              wallpaper changer
// The switch letter may be upper or lower case and preceded by "/" or "-".
#include <cstdint>
#include <string>
#include <vector>

enum TViewerMode { vmSlideShow, vmWallpaper, vmUnknown };

struct TViewerCommand {
  TViewerMode Mode = vmSlideShow;
  // The group of the slide show; empty means the "SlideShow Group" setting.
  std::string Group;
};

// Reads the arguments (program name excluded). Words after the group name
// are joined to it with single blanks, so an unquoted name with blanks still
// names its group.
TViewerCommand ParseViewerArguments(const std::vector<std::string>& Args);

// The wallpaper changer's period in milliseconds for "Change WallPaper"
// minutes: 0 (change once and end) for 0 or less, at most the longest period
// a message timer takes (2^31 - 1 ms, about 24.8 days).
std::uint32_t WallpaperPeriodMs(std::int32_t Minutes);
