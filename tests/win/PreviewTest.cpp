// The preview loop drawing into a window of this process, whose pixels can
// be read back (Wine shows nothing that one process draws into another's).
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "app/SingleInstance.h"
#include "forms/MainFrm.h"
#include "platform/Application.h"
#include "platform/WindowHandle.h"
#include "support/SettingsFixture.h"
#include "support/TestPictures.h"

namespace {

constexpr std::uint32_t BackgroundPixel = MakePixel(0x10, 0x20, 0x30);
constexpr std::uint32_t Green = MakePixel(0, 200, 0);

// A window owned by a thread of its own, standing in for the host's preview
// box. It is created hidden and shows itself after ShowDelayMs, as the
// host's box shows only after the host has started the preview, at the size
// it is created with or at another one it is given just before. It watches
// its pixels and hides itself once the preview has drawn a picture (any pixel
// of Pictures at its centre), keeping that frame for the test; it is
// destroyed once the test says the preview has ended.
class TPreviewHost {
 public:
  explicit TPreviewHost(DWORD ShowDelayMs, std::vector<std::uint32_t> Pictures = {Green}, SIZE Created = {150, 100},
                        SIZE Shown = {150, 100})
      : ShowDelay(ShowDelayMs), Pictures(std::move(Pictures)), Created(Created), Size(Shown) {
    Thread = std::thread([this] { Run(); });
    while (!Window.load()) {
      MSG Message;
      while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&Message);
      Sleep(5);
    }
  }
  ~TPreviewHost() {
    PreviewEnded = true;
    Thread.join();
  }
  HWND Handle() const { return Window.load(); }
  // The preview has ended: the box may go.
  std::atomic<bool> PreviewEnded{false};
  TPixelBuffer Frame;

 private:
  TPixelBuffer Read() const {
    TPixelBuffer Shot(Size.cx, Size.cy);
    HDC DC = GetDC(Window);
    for (int Y = 0; Y < Size.cy; ++Y)
      for (int X = 0; X < Size.cx; ++X) {
        const COLORREF C = GetPixel(DC, X, Y);
        Shot.Data[Y * Size.cx + X] = MakePixel(GetRValue(C), GetGValue(C), GetBValue(C));
      }
    ReleaseDC(Window, DC);
    return Shot;
  }
  bool Drawn() const {
    HDC DC = GetDC(Window);
    const COLORREF C = GetPixel(DC, Size.cx / 2, Size.cy / 2);
    ReleaseDC(Window, DC);
    const std::uint32_t P = MakePixel(GetRValue(C), GetGValue(C), GetBValue(C));
    return std::find(Pictures.begin(), Pictures.end(), P) != Pictures.end();
  }
  static void Pump() {
    MSG Message;
    while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&Message);
  }
  // The window never takes the activation: nothing may wait on the
  // preview's thread.
  void Run() {
    HWND W = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, Created.cx, Created.cy,
                             nullptr, nullptr, nullptr, nullptr);
    Window = W;
    Sleep(ShowDelay);  // the host starts the preview before it shows its box
    SetWindowPos(W, nullptr, 0, 0, Size.cx, Size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(W, SW_SHOWNOACTIVATE);
    for (const DWORD Start = GetTickCount(); GetTickCount() - Start < 10000 && !Drawn(); Sleep(10)) Pump();
    Frame = Read();
    SetWindowPos(W, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
    // Hidden after it showed, the box ends the preview.
    for (const DWORD Start = GetTickCount(); GetTickCount() - Start < 10000 && !PreviewEnded; Sleep(10)) Pump();
    DestroyWindow(W);
  }
  DWORD ShowDelay;
  std::vector<std::uint32_t> Pictures;
  SIZE Created, Size;
  std::atomic<HWND> Window{nullptr};
  std::thread Thread;
};

class TPreviewLoopTest : public TSettingsTest {
 protected:
  void SetUp() override {
    TSettingsTest::SetUp();
    UseScratchGroup("Selected Group", "P");
    TRegistryKey Key = SettingsKey();
    Key.WriteInteger("Background", 0x00302010);
    Key.WriteBool("Limit Screen Size", true);
    Key.WriteInteger("Max Screen X", 40);  // no effect on the preview
    TPixelBuffer Picture = SolidPicture(400, 200, Green);
    WriteBmpFile(Scratch + "\\wide.bmp", Picture);
    WriteGroupFile("P", Scratch + "\\wide.bmp\r\n");
  }
};

TMainFormContext PreviewOf(HWND Host, TInstanceGuard* Guard = nullptr) {
  TMainFormContext Context;
  Context.Preview = true;
  Context.HostWindow = Host;
  if (Guard) Context.ReleaseInstance = [Guard] { Guard->Release(); };
  return Context;
}

// The preview as the main sequence runs it: the main form of the
// application, whose message loop runs until the preview ends it.
TMainForm& RunPreview(TApplication& App, const TMainFormContext& Context) {
  auto& Preview = static_cast<TMainForm&>(*App.AddForm(std::make_unique<TMainForm>(App, Context)));
  App.Run();
  return Preview;
}

TEST_F(TPreviewLoopTest, DrawsTheFittedPictureCentredUntilTheWindowHides) {
  TApplication App;
  // A guard of its own: another test leaves the real one open in this process.
  TInstanceGuard Guard("Pictarine preview test guard");
  Guard.Acquire();
  ASSERT_TRUE(Guard.Held());
  const DWORD Start = GetTickCount();
  TPreviewHost Host(400);
  {
    TMainForm& Preview = RunPreview(App, PreviewOf(Host.Handle(), &Guard));  // waits for the box, then previews
    EXPECT_GE(GetTickCount() - Start, 400u) << "the preview waited for the box to show";
    EXPECT_FALSE(IsWindowVisible(Preview.Handle()));
    App.DestroyForms();
  }
  Host.PreviewEnded = true;
  EXPECT_FALSE(Guard.Held()) << "the preview released the guard";
  EXPECT_TRUE(App.Terminated());
  EXPECT_FALSE(App.ShowMainForm);

  // A preview that did not wait would have ended on the hidden box without
  // drawing. 400 x 200 fits a 150 x 100 frame as 150 x 75, drawn at 0, 12.
  const TPixelBuffer& Frame = Host.Frame;
  ASSERT_EQ(Frame.Width, 150);
  for (int Y : {0, 11, 87, 99}) EXPECT_EQ(Frame.At(75, Y), BackgroundPixel) << "row " << Y;
  for (int Y : {12, 50, 86}) {
    EXPECT_EQ(Frame.At(0, Y), Green) << "row " << Y;
    EXPECT_EQ(Frame.At(149, Y), Green) << "row " << Y;
  }
}

TEST_F(TPreviewLoopTest, ABoxResizedBeforeItShowsGetsTheGroupsFirstPictureAtItsNewSize) {
  // The first picture is prepared for the box's size at the start; the box
  // shows at another size. That picture is prepared again at the new size,
  // not skipped for the next one.
  constexpr std::uint32_t Blue = MakePixel(0, 0, 220);
  TPixelBuffer Second = SolidPicture(400, 200, Blue);
  WriteBmpFile(Scratch + "\\blue.bmp", Second);
  WriteGroupFile("P", Scratch + "\\wide.bmp\r\n" + Scratch + "\\blue.bmp\r\n");
  SettingsKey().WriteBool("Random", false);
  TApplication App;
  TPreviewHost Host(300, {Green, Blue}, SIZE{90, 60}, SIZE{150, 100});
  TMainFormContext Context = PreviewOf(Host.Handle());
  std::vector<std::string> Presented;
  Context.Presented = [&Presented](const std::string& Entry, double) { Presented.push_back(Entry); };
  RunPreview(App, Context);
  App.DestroyForms();
  Host.PreviewEnded = true;
  ASSERT_FALSE(Presented.empty());
  EXPECT_EQ(Presented.front(), Scratch + "\\wide.bmp") << "the group's first picture comes first";
  const TPixelBuffer& Frame = Host.Frame;
  ASSERT_EQ(Frame.Width, 150);
  EXPECT_EQ(Frame.At(75, 50), Green);
  EXPECT_EQ(Frame.At(0, 12), Green) << "fitted to the box as it shows";
  EXPECT_EQ(Frame.At(149, 86), Green);
  EXPECT_EQ(Frame.At(75, 11), BackgroundPixel);
}

TEST_F(TPreviewLoopTest, EndsWhenTheWindowIsDestroyedBeforeItShows) {
  TApplication App;
  std::atomic<HWND> Hidden{nullptr};
  std::thread Host([&Hidden] {
    HWND W = CreateWindowExA(WS_EX_NOACTIVATE, "STATIC", "", WS_POPUP, 0, 0, 150, 100, nullptr, nullptr, nullptr,
                             nullptr);
    Hidden = W;
    Sleep(400);
    DestroyWindow(W);
  });
  while (!Hidden.load()) Sleep(5);
  const DWORD Start = GetTickCount();
  {
    RunPreview(App, PreviewOf(Hidden.load()));  // waits for the window to show, then sees it gone
    EXPECT_GE(GetTickCount() - Start, 300u) << "it waited while the window existed";
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(App.ShowMainForm);
    App.DestroyForms();
  }
  Host.join();
}

TEST_F(TPreviewLoopTest, EndsWithoutDrawingForAHandleThatIsNoWindow) {
  for (std::int32_t Handle : {0, 12345}) {
    TApplication App;
    RunPreview(App, PreviewOf(WindowFromInt32(Handle)));
    EXPECT_TRUE(App.Terminated());
    EXPECT_FALSE(App.ShowMainForm);
  }
}

}  // namespace
