#include "platform/Application.h"

#include <commctrl.h>

#include <stdexcept>

#include "core/Errors.h"
#include "platform/Form.h"

namespace {

const char ApplicationWindowClass[] = "TPictarineApplication";
constexpr UINT WM_RELEASEFORMS = WM_APP + 1;

}  // namespace

LRESULT CALLBACK ApplicationWindowProc(HWND Window, UINT Message, WPARAM WParam, LPARAM LParam) {
  if (Message == WM_RELEASEFORMS)
    if (auto* App = reinterpret_cast<TApplication*>(GetWindowLongPtrA(Window, GWLP_USERDATA))) {
      App->DestroyReleased();
      return 0;
    }
  return DefWindowProcA(Window, Message, WParam, LParam);
}

TApplication::TApplication() {
  // The common controls the forms use: tabs, up-down buttons, progress bars.
  INITCOMMONCONTROLSEX Controls{sizeof Controls, ICC_WIN95_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                                                      ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&Controls);
  WNDCLASSA Class{};
  Class.lpfnWndProc = ApplicationWindowProc;
  Class.hInstance = GetModuleHandleA(nullptr);
  Class.hIcon = LoadIconA(Class.hInstance, "MAINICON");
  Class.lpszClassName = ApplicationWindowClass;
  RegisterClassA(&Class);
  Window = CreateWindowExA(0, ApplicationWindowClass, "", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                           WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr, nullptr, Class.hInstance, nullptr);
  if (Window) SetWindowLongPtrA(Window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TApplication::~TApplication() {
  DestroyForms();
  if (Window) DestroyWindow(Window);
}

void TApplication::SetTitle(const std::string& Title) {
  TitleText = Title;
  if (Window) SetWindowTextA(Window, Title.c_str());
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
  DispatchMessageA(&Message);
  return true;
}

void TApplication::ProcessMessages() {
  MSG Message;
  while (PeekMessageA(&Message, nullptr, 0, 0, PM_REMOVE))
    if (!DispatchOne(Message)) break;
}

void TApplication::ProcessPaintMessages() {
  MSG Message;
  PeekMessageA(&Message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  while (PeekMessageA(&Message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&Message);
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
  PostMessageA(Window, WM_RELEASEFORMS, 0, 0);
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
  MessageBoxA(Main ? Main->Handle() : Window, WithFullStop(Error.what()).c_str(), TitleText.c_str(),
              MB_OK | MB_ICONERROR);
}
