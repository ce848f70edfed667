// The form toolkit driven by real window messages.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/Errors.h"
#include "platform/Application.h"
#include "platform/Form.h"

namespace {

std::vector<std::string>* Journal = nullptr;

class TProbeForm : public TForm {
 public:
  explicit TProbeForm(TApplication& App, bool FailOnCreate = false) : TForm(App), Timer(*this), FailCreate(FailOnCreate) {
    Timer.SetEnabled(false);
    Timer.SetHandler(&TProbeForm::TimerTick);
    TFormStyle Style;
    Style.Style = WS_POPUP;
    Style.Width = 100;
    Style.Height = 80;
    Style.ClassName = "TProbeForm";
    CreateForm(Style);
  }
  TTimer Timer;
  bool AllowClose = true;
  bool FailKeys = false;
  int Ticks = 0;
  std::string Name = "probe";

 private:
  void FormCreate() override {
    Log("create");
    if (FailCreate) throw EInOutError("Disk full");
    Log("create done");
  }
  void FormKeyDown(WORD Key, TShiftState) override {
    Log("key " + std::to_string(Key));
    if (FailKeys) throw EListError("List index out of bounds (7)");
  }
  void FormMouseMove(TShiftState, int X, int Y) override { Log("move " + std::to_string(X) + "," + std::to_string(Y)); }
  void FormCloseQuery(bool& CanClose) override {
    Log("close query");
    CanClose = AllowClose;
  }
  void FormDestroy() override { Log("destroy " + Name); }
  void TimerTick() { ++Ticks; }
  LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam) override {
    if (Message == WM_USER + 1) throw 42;  // not even a std::exception
    return TForm::WindowProc(Message, WParam, LParam);
  }
  void Log(const std::string& Entry) {
    if (Journal) Journal->push_back(Entry);
  }
  bool FailCreate;
};

class TFormTest : public ::testing::Test {
 protected:
  void SetUp() override { Journal = &Entries; }
  void TearDown() override { Journal = nullptr; }
  static void Pump(DWORD Milliseconds) {
    const DWORD Start = GetTickCount();
    do {
      MSG Message;
      while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&Message);
      Sleep(5);
    } while (GetTickCount() - Start < Milliseconds);
  }
  std::vector<std::string> Entries;
};

// Reads and dismisses the first message box that this process shows.
class TBoxWatcher {
 public:
  TBoxWatcher()
      : Thread([this] {
          const DWORD Process = GetCurrentProcessId();
          for (int Waited = 0; Waited < 10000 && !Stop; Waited += 20) {
            HWND Box = nullptr;
            while ((Box = FindWindowExA(nullptr, Box, "#32770", nullptr))) {
              DWORD Owner = 0;
              GetWindowThreadProcessId(Box, &Owner);
              if (Owner != Process || !IsWindowVisible(Box)) continue;
              char Text[512] = "", Title[256] = "";
              GetDlgItemTextA(Box, 0xFFFF, Text, sizeof Text);
              GetWindowTextA(Box, Title, sizeof Title);
              Caption = Title;
              Message = Text;
              PostMessageA(Box, WM_COMMAND, IDOK, 0);
              return;
            }
            Sleep(20);
          }
        }) {}
  ~TBoxWatcher() {
    Stop = true;
    Wait();
  }
  // Waits until the box has been dismissed (or the watch has given up).
  void Wait() {
    if (Thread.joinable()) Thread.join();
  }
  std::string Caption, Message;

 private:
  std::atomic<bool> Stop{false};
  std::thread Thread;
};

TEST_F(TFormTest, MessagesReachTheirNamedHandlers) {
  TApplication App;
  TProbeForm Form(App);
  SendMessageA(Form.Handle(), WM_KEYDOWN, 'A', 0);
  SendMessageA(Form.Handle(), WM_SYSKEYDOWN, VK_F10, 0);
  SendMessageA(Form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(-5, 42));
  EXPECT_EQ(Entries, (std::vector<std::string>{"create", "create done", "key 65", "key 121", "move -5,42"}));
}

TEST_F(TFormTest, CloseAsksFirstAndClosingTheMainFormEndsTheLoop) {
  TApplication App;
  TProbeForm* Main = static_cast<TProbeForm*>(App.AddForm(std::make_unique<TProbeForm>(App)));
  TProbeForm* Other = static_cast<TProbeForm*>(App.AddForm(std::make_unique<TProbeForm>(App)));
  Main->Name = "main";
  Other->Name = "other";
  Other->Show();
  Other->Close();
  EXPECT_FALSE(IsWindowVisible(Other->Handle())) << "a form that is not the main form is hidden";
  EXPECT_FALSE(App.Terminated());

  Main->AllowClose = false;
  SendMessageA(Main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(App.Terminated());
  Main->AllowClose = true;
  SendMessageA(Main->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(App.Terminated());
  App.Run();  // reads the waiting quit message and returns
  App.DestroyForms();
  ASSERT_GE(Entries.size(), 2u);
  EXPECT_EQ(Entries[Entries.size() - 2], "destroy other") << "newest form first";
  EXPECT_EQ(Entries.back(), "destroy main");
}

TEST_F(TFormTest, ErrorsInHandlersAreShownAndTheFormGoesOn) {
  TApplication App;
  App.SetTitle("Probe Title");
  TBoxWatcher CreateBox;
  const auto Form = std::make_unique<TProbeForm>(App, true);
  CreateBox.Wait();
  EXPECT_EQ(CreateBox.Caption, "Probe Title");
  EXPECT_EQ(CreateBox.Message, "Disk full.");
  EXPECT_NE(Form->Handle(), nullptr) << "creation goes on after the error";
  EXPECT_EQ(Entries, (std::vector<std::string>{"create"}));

  Form->FailKeys = true;
  TBoxWatcher KeyBox;
  SendMessageA(Form->Handle(), WM_KEYDOWN, 'B', 0);
  KeyBox.Wait();
  EXPECT_EQ(KeyBox.Message, "List index out of bounds (7)") << "no full stop after \")\"";
  Form->FailKeys = false;
  SendMessageA(Form->Handle(), WM_KEYDOWN, 'C', 0);
  EXPECT_EQ(Entries.back(), "key 67");
}

TEST_F(TFormTest, TimerTicksOnlyWhenEnabledWithAnInterval) {
  TApplication App;
  TProbeForm Form(App);
  Form.Timer.SetInterval(0);
  Form.Timer.SetEnabled(true);
  Pump(300);
  EXPECT_EQ(Form.Ticks, 0) << "interval 0 never ticks";
  Form.Timer.SetInterval(20);
  for (const DWORD Start = GetTickCount(); Form.Ticks <= 2 && GetTickCount() - Start < 5000;) Pump(5);
  EXPECT_GT(Form.Ticks, 2);
  Form.Timer.SetEnabled(false);
  const int Before = Form.Ticks;
  Pump(200);
  EXPECT_EQ(Form.Ticks, Before);
}

TEST_F(TFormTest, NoExceptionLeavesTheWindowProcedure) {
  TApplication App;
  App.SetTitle("Probe Title");
  TProbeForm Form(App);
  TBoxWatcher Box;
  EXPECT_EQ(SendMessageA(Form.Handle(), WM_USER + 1, 0, 0), 0);
  Box.Wait();
  EXPECT_EQ(Box.Caption, "Probe Title");
  EXPECT_EQ(Box.Message, "Unknown error.");
  SendMessageA(Form.Handle(), WM_KEYDOWN, 'D', 0);
  EXPECT_EQ(Entries.back(), "key 68") << "the form goes on";
}

TEST_F(TFormTest, AWindowDestroyedFromOutsideIsForgotten) {
  TApplication App;
  TProbeForm Form(App);
  Form.Timer.SetInterval(20);
  Form.Timer.SetEnabled(true);
  const HWND Window = Form.Handle();
  DestroyWindow(Window);
  EXPECT_EQ(Form.Handle(), nullptr);
  Form.Timer.SetInterval(30);  // no window to set a timer on: nothing happens
  Form.Show();
  Form.SetBounds(0, 0, 10, 10);
  Form.Destroy();
  EXPECT_EQ(Entries.back(), "destroy probe") << "the destroy handler still runs";
}

}  // namespace
