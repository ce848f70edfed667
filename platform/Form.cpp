#include "platform/Form.h"

TForm::~TForm() {
  if (Window && IsWindow(Window)) DestroyWindow(Window);
}

void TForm::Show() {
  if (Window) {
    ShowWindow(Window, SW_SHOW);
    UpdateWindow(Window);
  }
}
