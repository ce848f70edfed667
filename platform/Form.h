#pragma once
// Base class of the program's windows. A form owns its window and dispatches
// the window's messages to named handlers; an error that escapes a handler is
// shown by the application and the window goes on (its creation or
// destruction included). Destroying the form destroys the window.
#include <windows.h>

#include <string>
#include <vector>

class TTimer;

// Modifier keys and mouse buttons held during a key or mouse event.
struct TShiftState {
  bool Shift = false, Alt = false, Ctrl = false, Left = false, Right = false, Middle = false;
};

struct TFormStyle {
  DWORD Style = WS_POPUP;
  DWORD ExStyle = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int BackgroundSysColor = COLOR_BTNFACE;
  const char* ClassName = "TForm";
  const char* Caption = "";
};

class TForm {
 public:
  TForm() = default;
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return Window; }
  // Shows the window and makes it the active window.
  void Show();
  // Requests a close: FormCloseQuery decides; a closed main form ends the
  // application's message loop, any other form is hidden.
  void Close();
  // Runs FormDestroy and destroys the window; the form object stays.
  void Destroy();
  void SetBounds(int Left, int Top, int Width, int Height);

 protected:
  // Creates the window (hidden, owned by the application window), then runs
  // FormCreate.
  void CreateForm(const TFormStyle& Style);

  virtual void FormCreate() {}
  virtual void FormActivate() {}
  virtual void FormKeyDown(WORD Key, TShiftState Shift) { (void)Key, (void)Shift; }
  virtual void FormMouseMove(TShiftState Shift, int X, int Y) { (void)Shift, (void)X, (void)Y; }
  virtual void FormCloseQuery(bool& CanClose) { (void)CanClose; }
  virtual void FormDestroy() {}
  // Messages without a named handler; the default passes them on.
  virtual LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam);

 private:
  friend class TTimer;
  static LRESULT CALLBACK StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT Dispatch(UINT Message, WPARAM WParam, LPARAM LParam);
  HWND Window = nullptr;
  bool Destroyed = false;
  std::vector<TTimer*> Timers;
};

// A message timer of a form. Interval 0 means no ticks; the timer ticks only
// while it is enabled, its form has a window and the interval is above 0.
class TTimer {
 public:
  using THandler = void (TForm::*)();
  explicit TTimer(TForm& Owner);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  template <typename TOwner>
  void SetHandler(void (TOwner::*Handler)()) {
    OnTimer = static_cast<THandler>(Handler);
  }
  UINT Interval() const { return IntervalMs; }
  void SetInterval(UINT Milliseconds);
  bool Enabled() const { return IsEnabled; }
  void SetEnabled(bool Enabled);

 private:
  friend class TForm;
  void Update();
  TForm& Form;
  THandler OnTimer = nullptr;
  UINT IntervalMs = 1000;
  bool IsEnabled = true;
  UINT_PTR Id;
};
