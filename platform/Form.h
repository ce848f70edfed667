#pragma once
// Base class of the program's windows. A form owns its window: destroying
// the form destroys the window.
#include <windows.h>

class TForm {
 public:
  TForm() = default;
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return Window; }
  virtual void Show();

 protected:
  HWND Window = nullptr;
};
