#pragma once
// Helpers shared by the tests that run under Wine.
#include <windows.h>

#include <string>

// Folder of the running test program, with a trailing backslash; the built
// programs and the test password provider live there.
std::string ProgramFolder();

// Puts the test password provider into the system directory for the lifetime
// of the object, or makes sure that none is there (Install false).
class TPasswordProvider {
 public:
  explicit TPasswordProvider(bool Install = true);
  ~TPasswordProvider();
  TPasswordProvider(const TPasswordProvider&) = delete;
  TPasswordProvider& operator=(const TPasswordProvider&) = delete;
  static std::string InstalledPath();
};

// What the test password provider answers ("accept" or "refuse"), and how
// often it has been asked since the answer was last set.
void SetPasswordAnswer(const std::string& Answer);
int PasswordCalls();

// Sets "Control Panel\Desktop" "ScreenSaveUsePassword" (REG_DWORD) or, with
// a negative value, deletes it.
void SetScreenSaveUsePassword(int Value);
