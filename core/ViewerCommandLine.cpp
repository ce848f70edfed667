#include "core/ViewerCommandLine.h"

TViewerCommand ParseViewerArguments(const std::vector<std::string>& Args) {
  TViewerCommand Command;
  if (Args.empty()) return Command;
  std::string Switch = Args[0];
  if (!Switch.empty() && (Switch[0] == '/' || Switch[0] == '-')) Switch.erase(0, 1);
  if (Switch == "s" || Switch == "S") {
    for (std::size_t I = 1; I < Args.size(); ++I) Command.Group += (I > 1 ? " " : "") + Args[I];
  } else if ((Switch == "w" || Switch == "W") && Args.size() == 1) {
    Command.Mode = vmWallpaper;
  } else {
    Command.Mode = vmUnknown;
  }
  return Command;
}

std::uint32_t WallpaperPeriodMs(std::int32_t Minutes) {
  if (Minutes <= 0) return 0;
  const std::uint64_t Ms = static_cast<std::uint64_t>(Minutes) * 60000u;
  return Ms > 0x7FFFFFFFu ? 0x7FFFFFFFu : static_cast<std::uint32_t>(Ms);
}
