// The saver's time from the tick to the picture on screen, on a 1920 x 1080
// screen over a group of 12-megapixel JPEG and PNG photos at a 1-second
// interval: the real saver window with its picture pipeline, over 200 ticks
// (argument: another count), beside the draw cycle that a tick costs when it
// reads, decodes and composes the picture itself, measured on the same files
// in the same run. Also the CPU that the worker takes per picture, and the
// time from a key press to the saver's window gone (median of 20 runs, or of
// as many as the ticks when they are fewer), with a read that blocks and
// without. With the argument "display" after the
// count it runs on the display itself, and on a display of several monitors
// prints the figures of a picture on each beside those of the primary alone. The last line reads
// "tick-to-frame median X ms, p99 Y ms". Runs under the Wine bench; writes
// the bench prefix's settings key.
#include <windows.h>
// (after windows.h)
#include <tlhelp32.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bench/PhotoJpeg.h"
#include "bench/win/BenchSettings.h"
#include "bench/win/BenchWindows.h"
#include "forms/MainFrm.h"
#include "picture/ComposeFrame.h"
#include "picture/LoadImageFile.h"
#include "platform/Application.h"
#include "platform/Com.h"
#include "platform/Files.h"
#include "platform/Gdi.h"
#include "platform/Monitors.h"
#include "platform/Registry.h"
#include "settings/Settings.h"
#include "support/BlockingSource.h"
#include "support/KeyToGone.h"
#include "support/WicPictures.h"

using namespace Bench;

namespace {

double Percentile(std::vector<double> Values, double Share) {
  std::sort(Values.begin(), Values.end());
  const std::size_t Index = static_cast<std::size_t>(Share * static_cast<double>(Values.size() - 1) + 0.5);
  return Values[std::min(Index, Values.size() - 1)];
}

// CPU seconds of every thread of this process but the calling one.
double OtherThreadsCpuSeconds() {
  double Total = 0;
  const HANDLE Snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 Entry{};
  Entry.dwSize = sizeof Entry;
  for (BOOL More = Thread32First(Snapshot, &Entry); More; More = Thread32Next(Snapshot, &Entry)) {
    if (Entry.th32OwnerProcessID != GetCurrentProcessId() || Entry.th32ThreadID == GetCurrentThreadId()) continue;
    const HANDLE Thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, Entry.th32ThreadID);
    FILETIME Created, Exited, Kernel, User;
    if (Thread && GetThreadTimes(Thread, &Created, &Exited, &Kernel, &User)) {
      const auto Ticks = [](FILETIME T) { return (static_cast<unsigned long long>(T.dwHighDateTime) << 32) | T.dwLowDateTime; };
      Total += static_cast<double>(Ticks(Kernel) + Ticks(User)) / 1e7;
    }
    if (Thread) CloseHandle(Thread);
  }
  CloseHandle(Snapshot);
  return Total;
}

std::vector<std::string> MakeGroup(const std::string& Folder) {
  std::vector<std::string> Paths;
  const TBytes Rgb = MakePhotoRgb(PictureW, PictureH);
  const TBytes Jpeg = CompressJpeg(Rgb, PictureW, PictureH);
  for (int I = 0; I < 4; ++I) {
    Paths.push_back(Folder + "\\photo" + std::to_string(I) + ".jpg");
    ReplaceFile(Paths.back(), std::string(Jpeg.begin(), Jpeg.end()));
  }
  TPixelBuffer Picture(PictureW, PictureH);
  for (std::size_t I = 0; I < Picture.Data.size(); ++I)
    Picture.Data[I] = MakePixel(Rgb[3 * I], Rgb[3 * I + 1], Rgb[3 * I + 2]);
  TComScope Com;
  // The same picture twice: encoded once (Wine's PNG encoder takes seconds
  // for it), then copied.
  const std::string Png = Folder + "\\photo0.png", Copy = Folder + "\\photo1.png";
  if (WriteWicFile(Png, GUID_ContainerFormatPng, {&Picture})) {
    Paths.push_back(Png);
    if (CopyFileA(Png.c_str(), Copy.c_str(), FALSE)) Paths.push_back(Copy);
  }
  return Paths;
}

// The draw cycle of a tick that prepares its own picture, over the group of
// the settings: next entry, read, decode, compose, copy to the window.
std::vector<double> SynchronousCycles(int Rounds) {
  const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
  HWND Window = ScreenWindow();
  TSettings Settings;
  TBitmap Frame;
  Frame.SetSize(ScreenW, ScreenH);
  TImageLoader Picture;
  std::vector<double> Cycles;
  for (int I = 0; I < Rounds; ++I) {
    const auto Start = TClock::now();
    Picture.Open(Settings.ImageQueue.Take(0));
    ComposeSaverFrame(Frame, Picture, Settings);
    TWindowDC Own(Window);
    Frame.CopyTo(Own.Get(), 0, 0);
    GdiFlush();
    Cycles.push_back(MillisecondsSince(Start));
  }
  DestroyWindow(Window);
  return Cycles;
}

// Key to gone of a saver window over the group, or over a source whose
// reads block; median of Runs.
double KeyToGoneMedian(bool Blocking, int Runs) {
  std::vector<double> Times;
  for (int Run = 0; Run < Runs; ++Run) {
    TApplication App;
    TMainFormContext Context;
    if (Blocking) Context.MakeSource = TBlockingSource::Maker();
    bool Shown = false;
    Context.Presented = [&Shown](const std::string&, double) { Shown = true; };
    auto* Saver = static_cast<TMainForm*>(App.AddForm(std::make_unique<TMainForm>(App, Context)));
    Saver->Show();
    // The key comes while the worker reads: blocking, once the read is under
    // way; else the first picture shown, then 300 ms into the next one's
    // preparation.
    if (Blocking) {
      PumpUntil(App, [] { return TBlockingSource::WaitForRead(0); }, 10000);
    } else {
      PumpUntil(App, [&] { return Shown; }, 10000);
      PumpUntil(App, [] { return false; }, 300);
    }
    Times.push_back(KeyToGoneMs(App, Saver->Handle()));
  }
  return Percentile(Times, 0.5);
}

struct TTicks {
  double Median = 0, P99 = 0, CpuMs = 0;
};

// The real saver window over the group for Ticks ticks after its first
// picture, with "All Monitors" as given.
TTicks RunTicks(int Ticks, bool AllMonitors) {
  TRegistryKey::OpenOrCreate(SettingsKeyPath).WriteBool("All Monitors", AllMonitors);
  std::vector<double> TickToFrame;
  TApplication App;
  TMainFormContext Context;
  Context.Presented = [&TickToFrame](const std::string&, double Ms) { TickToFrame.push_back(Ms); };
  auto* Saver = static_cast<TMainForm*>(App.AddForm(std::make_unique<TMainForm>(App, Context)));
  Saver->Show();
  // The first picture is awaited at activation, before any tick: left out.
  PumpUntil(App, [&] { return TickToFrame.size() >= 1; }, 60000);
  const double CpuFirst = OtherThreadsCpuSeconds();
  PumpUntil(App, [&] { return TickToFrame.size() >= static_cast<std::size_t>(Ticks) + 1; }, 1000000);
  const double Cpu = OtherThreadsCpuSeconds() - CpuFirst;
  App.DestroyForms();
  TickToFrame.erase(TickToFrame.begin());
  return TTicks{Percentile(TickToFrame, 0.5), Percentile(TickToFrame, 0.99),
                1000.0 * Cpu / static_cast<double>(TickToFrame.size())};
}

}  // namespace

int main(int Argc, char** Argv) {
  const int Ticks = Argc > 1 ? std::atoi(Argv[1]) : 200;
  // "display": on the display itself, all of its monitors, rather than on a
  // virtual desktop of one 1920 x 1080 monitor.
  const bool OnDisplay = Argc > 2 && std::string(Argv[2]) == "display";
  if (!OnDisplay) JoinDesktop("PictarineBench1920x1080", "1920x1080");
  char Temp[MAX_PATH];
  GetTempPathA(sizeof Temp, Temp);
  const std::string Install = std::string(Temp) + "pictarine-tick";
  ForceDirectories(Install);
  const std::vector<std::string> Paths = MakeGroup(Install);
  std::string Text;
  for (const std::string& P : Paths) Text += P + "\r\n";
  UseBenchGroup(Install, "Tick", Text, 1000);
  std::printf("screen %dx%d, group of %zu photos %dx%d (JPEG and PNG), interval 1 s\n",
              GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), Paths.size(), PictureW, PictureH);

  const std::vector<double> Before = SynchronousCycles(2 * static_cast<int>(Paths.size()));
  std::printf("draw cycle on the tick (read, decode, compose, copy): median %.1f ms, p99 %.1f ms\n",
              Percentile(Before, 0.5), Percentile(Before, 0.99));

  const TTicks Every = RunTicks(Ticks, true);
  if (OnDisplay) {
    const TTicks Primary = RunTicks(Ticks, false);
    std::printf("%zu monitors, \"All Monitors\" 0 (the primary alone): tick-to-frame median %.1f ms, p99 %.1f ms, "
                "worker CPU per tick %.1f ms\n",
                MonitorRects().size(), Primary.Median, Primary.P99, Primary.CpuMs);
    std::printf("%zu monitors, \"All Monitors\" 1 (a picture on each): tick-to-frame median %.1f ms, p99 %.1f ms, "
                "worker CPU per tick %.1f ms\n",
                MonitorRects().size(), Every.Median, Every.P99, Every.CpuMs);
  } else {
    std::printf("worker CPU per picture: %.1f ms\n", Every.CpuMs);
  }
  std::printf("pipeline against the draw cycle: median %.3f, p99 %.3f of it\n", Every.Median / Percentile(Before, 0.5),
              Every.P99 / Percentile(Before, 0.99));

  const int KeyRuns = std::max(1, std::min(20, Ticks));
  std::printf("key to gone (median of %d): %.1f ms with the group, %.1f ms with a read that never returns\n", KeyRuns,
              KeyToGoneMedian(false, KeyRuns), KeyToGoneMedian(true, KeyRuns));
  TBlockingSource::Release();
  std::printf("tick-to-frame median %.1f ms, p99 %.1f ms\n", Every.Median, Every.P99);
  DeleteSettings();
  for (const std::string& P : Paths) DeleteFileA(P.c_str());
  return 0;
}
