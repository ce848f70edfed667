#pragma once
// Base class of the program's windows. A form owns its window and dispatches
// the window's messages to named handlers; an error that escapes a handler is
// shown by the application and the window goes on (its creation or
// destruction included). Destroying the form destroys the window.
#include <windows.h>

#include <string>
#include <vector>

#include "platform/ScreenFont.h"

class TApplication;
class TTimer;
class TControl;
class TButton;
class TPageControl;

// What ends a modal showing of a form: a button's result or a close.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

// Modifier keys and mouse buttons held during a key or mouse event.
struct TShiftState {
  bool Shift = false, Alt = false, Ctrl = false, Left = false, Right = false, Middle = false;
};

struct TFormStyle {
  DWORD Style = WS_POPUP;
  DWORD ExStyle = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  // When set, the size of the client area; the window is sized around it.
  int ClientWidth = 0, ClientHeight = 0;
  // Centred on the screen instead of at Left, Top.
  bool Centered = false;
  // The owner window; the application window when none.
  HWND Owner = nullptr;
  // The dialog keys work in the form: Tab and Shift+Tab move the focus,
  // Enter presses the default button, Escape the cancel button, Ctrl+Tab
  // changes pages.
  bool DialogKeys = false;
  int BackgroundSysColor = COLOR_BTNFACE;
  // The positions and sizes above, and those of the form's controls, are of
  // the 96-DPI design: the form lays itself and its controls out at the DPI
  // of its monitor, and again when that DPI changes (WM_DPICHANGED). Off, they
  // are pixels and the controls keep their design sizes.
  bool Scaled = false;
  const char* ClassName = "TForm";
  const char* Caption = "";
};

class TForm {
 public:
  // The form belongs to Application, which reports the errors of its
  // handlers, owns its window (unless the style names another owner) and
  // runs its modal showings; it outlives the form.
  explicit TForm(TApplication& Application) : App(Application) {}
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return Window; }
  TApplication& Application() const { return App; }
  // Shows the window and makes it the active window.
  void Show();
  // Requests a close: FormCloseQuery decides; a closed main form ends the
  // application's message loop, any other form is hidden.
  void Close();
  // Runs FormDestroy and destroys the window; the form object stays.
  void Destroy();
  // In pixels, whatever the DPI.
  void SetBounds(int Left, int Top, int Width, int Height);
  // The DPI the form and its controls are laid out at: its monitor's for a
  // scaled form, else the design DPI (96). Scale gives a length of the 96-DPI
  // design at that DPI.
  int Dpi() const { return FormDpi; }
  int Scale(int DesignLength) const { return ScaleToDpi(DesignLength, FormDpi); }

  // Shows the form modally: its owner is disabled until the form closes
  // (a button with a modal result, or Close), then enabled and activated
  // again. Returns the modal result (mrCancel after Close).
  int ShowModal();
  int ModalResult() const { return Result; }
  // Ends a modal showing with this result; no effect on a modeless form.
  void SetModalResult(int ModalResult);

  // The form whose window this is, or nullptr.
  static TForm* FromWindow(HWND Window);
  // Takes the message when it is a dialog key of this form.
  bool IsDialogKey(MSG& Message);
  // Shows the exception being handled through the application; only inside
  // a catch block. Never throws.
  void ReportCurrentException() const noexcept;

  // Kept by the controls: the form routes its controls' notifications to them.
  void RegisterControl(TControl* Control);
  void UnregisterControl(TControl* Control);
  // Routes WM_NOTIFY of a helper window (a spin edit's buttons) to Control.
  void RegisterNotifier(HWND Helper, TControl* Control);
  void SetDefaultButton(TButton* Button) { DefaultButton = Button; }
  void SetCancelButton(TButton* Button) { CancelButton = Button; }
  void SetPageControl(TPageControl* Pages) { PageControl = Pages; }

 protected:
  // Creates the window (hidden, owned by the application window), then its
  // controls (CreateControls), then runs FormCreate.
  void CreateForm(const TFormStyle& Style);

  virtual void CreateControls() {}
  virtual void FormCreate() {}
  virtual void FormActivate() {}
  virtual void FormKeyDown(WORD Key, TShiftState Shift) { (void)Key, (void)Shift; }
  virtual void FormMouseMove(TShiftState Shift, int X, int Y) { (void)Shift, (void)X, (void)Y; }
  virtual void FormCloseQuery(bool& CanClose) { (void)CanClose; }
  virtual void FormDestroy() {}
  // After a scaled form and its controls were laid out again at a new DPI.
  virtual void FormDpiChanged() {}
  // Messages without a named handler; the default passes them on.
  virtual LRESULT WindowProc(UINT Message, WPARAM WParam, LPARAM LParam);

 private:
  friend class TTimer;
  friend class TControl;
  static LRESULT CALLBACK StaticWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam);
  LRESULT Dispatch(UINT Message, WPARAM WParam, LPARAM LParam);
  // Runs a handler; an error it raises is shown by the application.
  template <typename F>
  void Guarded(F&& Handler);
  TControl* FindControl(HWND Control) const;
  TControl* FindControl(int Id) const;
  bool RouteToControl(UINT Message, WPARAM WParam, LPARAM LParam, LRESULT& Answer);
  // The window rectangle of the form's style at a DPI.
  RECT FrameAt(const TFormStyle& Style, int Dpi) const;
  // Lays the form out at a new DPI in the window rectangle Windows suggests.
  void ChangeDpi(int NewDpi, const RECT& Suggested);
  TApplication& App;
  HWND Window = nullptr;
  bool Destroyed = false;
  bool DialogKeys = false;
  bool Scaled = false;
  int FormDpi = DesignDpi;
  bool Modal = false;
  int Result = 0;
  std::vector<TTimer*> Timers;
  std::vector<TControl*> Controls;
  std::vector<std::pair<HWND, TControl*>> Notifiers;
  TButton* DefaultButton = nullptr;
  TButton* CancelButton = nullptr;
  TPageControl* PageControl = nullptr;
  HWND FocusedControl = nullptr;  // of a dialog, while it is inactive
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
