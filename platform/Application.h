#pragma once
// The application object: owns the hidden application window (the owner of
// every form, so forms get no task-bar button of their own), the title, the
// show-main-window flag, the termination request, the message loop and the
// reporting of errors that escape event handlers. One per process.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

class TForm;

class TApplication {
 public:
  TApplication();
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // The hidden application window.
  HWND Handle() const { return Window; }

  const std::string& Title() const { return TitleText; }
  void SetTitle(const std::string& Title);

  // When set, Run shows the main form before it reads messages.
  bool ShowMainForm = true;
  bool Terminated() const { return TerminateRequested; }
  // Posts a quit message to this thread's queue; the loop ends when it reads it.
  void Terminate();

  // Takes ownership of a form; the first form added becomes the main form.
  TForm* AddForm(std::unique_ptr<TForm> Form);
  TForm* MainForm() const { return Main; }

  // Dispatches every message waiting in the queue and returns. A quit message
  // found here ends the message loop as well.
  void ProcessMessages();
  // Answers the messages other threads and processes send to this thread's
  // windows and paints what waits to be painted, leaving input and posted
  // commands in the queue: a long operation calls it now and then so that
  // its window shows its progress and answers, without handling a click in
  // the middle of the operation.
  static void ProcessPaintMessages();
  // Shows the main form if the flag is set, then dispatches messages until it
  // reads a quit message (a termination request or the main form's close
  // posts one), which it takes out of the queue.
  void Run();
  // Dispatches messages until the modal form has a modal result or is
  // gone, or a quit message arrives (which also ends Run).
  void RunModal(TForm& Form);
  // Takes a form and destroys it the next time the message loop runs.
  void Release(std::unique_ptr<TForm> Form);
  // Destroys the remaining forms, newest first, so their destroy handlers run.
  void DestroyForms();

  // Shows an error that escaped an event handler: a box with the title as
  // caption, an error icon, and the message with a full stop appended.
  void ShowException(const std::exception& Error);
  // Runs Handler, reporting any exception it throws instead of passing it on.
  template <typename F>
  void Guard(F&& Handler) {
    try {
      Handler();
    } catch (...) {
      ShowCurrentException();
    }
  }
  // Shows the exception being handled; only to be called inside a catch
  // block. Never throws.
  void ShowCurrentException() noexcept;

 private:
  bool DispatchOne(MSG& Message);
  // Dispatches messages while Going() answers true and no quit message has
  // been read; a quit message read here ends the loop for good.
  template <typename F>
  void RunWhile(F&& Going) {
    MSG Message;
    while (!QuitReceived && Going()) {
      const BOOL Got = GetMessageW(&Message, nullptr, 0, 0);
      if (Got == -1) break;
      if (Got == 0) {
        TerminateRequested = true;
        QuitReceived = true;
        break;
      }
      DispatchOne(Message);
    }
  }
  friend LRESULT CALLBACK ApplicationWindowProc(HWND, UINT, WPARAM, LPARAM);
  void DestroyReleased();
  HWND Window = nullptr;
  std::string TitleText;
  bool TerminateRequested = false;
  bool QuitReceived = false;  // the loop has read the quit message
  std::vector<std::unique_ptr<TForm>> Forms;
  std::vector<std::unique_ptr<TForm>> Released;  // destroyed by the next loop
  TForm* Main = nullptr;
};
