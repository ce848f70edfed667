#include "platform/Application.h"

#include <commctrl.h>

#include <stdexcept>

#include "core/Errors.h"
#include "platform/Form.h"
#include "platform/WideText.h"

namespace {

const wchar_t ApplicationWindowClass[] = L"TPictarineApplication";
constexpr UINT WM_RELEASEFORMS = WM_APP + 1;

}  // namespace

LRESULT CALLBACK ApplicationWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_RELEASEFORMS)
    if (auto* App = reinterpret_cast<TApplication*>(GetWindowLongPtrW(Window, GWLP_USERDATA))) {
      App->DestroyReleased();
      return 0;
    }
  return DefWindowProcW(Window, Message, WParam, LParam);
}

TApplication::TApplication() {
  // The common controls the forms use: tabs, up-down buttons, progress bars.
  INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&Controls);
  WNDCLASSW Class{};
  Class.lpfnWndProc = ApplicationWindowProc;
  Class.hInstance = GetModuleHandleW(nullptr);
  Class.hIcon = LoadIconW(Class.hInstance, L"MAINICON");
  Class.lpszClassName = ApplicationWindowClass;
  RegisterClassW(&Class);
  Window = CreateWindowExW(0, ApplicationWindowClass, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                           WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr, Class.hInstance, nullptr);
  if (Window) SetWindowLongPtrW(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TApplication::~TApplication() {
  DestroyForms();
  if (Window) DestroyWindow(Window);
}

void TApplication::SetTitle(const std::string& Title) {
  TitleText = Title;
  if (Window) SetWindowTextUtf8(Window, Title);
}

void TApplication::Terminate() {
  TerminateRequested = true;
  PostQuitMessage(0);
}

TForm* TApplication::AddForm(std::unique_ptr<TForm> Form) {
  Forms.push_back(std::move(Form));
  if (!Main) Main = Forms.back().get();
  return Forms.back().get();
}

bool TApplication::DispatchOne(MSG& Message) {
  if (Message.message == WM_QUIT) {
    TerminateRequested = true;
    QuitReceived = true;
    return false;
  }
  if (TForm* Form = TForm::FromWindow(GetAncestor(Message.hwnd, GA_ROOT)))
    if (Form->IsDialogKey(Message)) return true;
  TranslateMessage(&Message);
  DispatchMessageW(&Message);
  return true;
}

void TApplication::ProcessMessages() {
  MSG Message;
  while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE))
    if (!DispatchOne(Message)) break;
}

void TApplication::ProcessPaintMessages() {
  MSG Message;
  PeekMessageW(&Message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  while (PeekMessageW(&Message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageW(&Message);
}

void TApplication::Run() {
  if (ShowMainForm && Main && !QuitReceived) Guard([this] { Main->Show(); });
  RunWhile([] { return true; });
}

void TApplication::RunModal(TForm& Form) {
  RunWhile([&Form] { return Form.Handle() && Form.ModalResult() == mrNone; });
}

void TApplication::Release(std::unique_ptr<TForm> Form) {
  Released.push_back(std::move(Form));
  PostMessageW(Window, WM_RELEASEFORMS, 0, 0);
}

void TApplication::DestroyReleased() {
  std::vector<std::unique_ptr<TForm>> Doomed = std::move(Released);
  Released.clear();
  for (auto& Form : Doomed) Form->Destroy();
}

void TApplication::DestroyForms() {
  DestroyReleased();
  while (!Forms.empty()) {
    std::unique_ptr<TForm> Form = std::move(Forms.back());
    Forms.pop_back();
    if (Form.get() == Main) Main = nullptr;
    Form->Destroy();
    Form.reset();
  }
}

void TApplication::ShowCurrentException() noexcept {
  try {
    throw;
  } catch (const std::exception& Error) {
    try {
      ShowException(Error);
    } catch (...) {
    }
  } catch (...) {
    try {
      ShowException(std::runtime_error("Unknown error"));
    } catch (...) {
    }
  }
}

void TApplication::ShowException(const std::exception& Error) {
  ShowMessageBox(Main ? Main->Handle() : Window, WithFullStop(Error.what()), TitleText, MB_OK | MB_ICONERROR);
}
