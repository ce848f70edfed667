#pragma once
// The splash window shown while the configuration dialog is being prepared.
// The module keeps the one splash window that is showing, if any.
#include <windows.h>

#include <cstdint>

#include "forms/ProductPanel.h"
#include "platform/Controls.h"
#include "platform/Form.h"

class TSplashForm : public TForm {
 public:
  TSplashForm(TApplication& Application, HWND Owner);

  TPanel Panel1{*this};
  TImage Image1{*this};
  TLabel ProductName{*this};
  TLabel Version{*this};
  TImage Image2{*this};
  TLabel Copyright{*this};
  TLabel WebSite{*this};
  TLabel EMail{*this};
  TProgressBar Gauge1{*this};
  TLabel Label1{*this};

 private:
  void CreateControls() override;
  void FormCreate() override;
  TProductPanel Panel();
};

// Shows the splash without a gauge, waits Milliseconds, removes it.
void ShowSplashFor(TApplication& Application, HWND Owner, std::uint32_t Milliseconds);
// Creates and shows the splash (replacing one that shows), painted at once;
// the gauge is hidden when GaugeMax is 0 or less.
void ShowSplash(TApplication& Application, HWND Owner, std::int32_t GaugeMax);
// Hides the splash and has its application destroy it the next time the
// message loop runs.
void HideSplash();
// The splash that shows, or nullptr.
TSplashForm* CurrentSplash();
// Returns once Milliseconds have passed on the tick counter, also across its
// wrap. Yields the processor between readings; handles no messages.
void WaitTicks(std::uint32_t Milliseconds);
