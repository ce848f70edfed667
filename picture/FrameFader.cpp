#include "picture/FrameFader.h"

#include "platform/Gdi.h"

UINT TFrameFader::StepMs() {
  TWindowDC Screen(nullptr);
  const int Rate = GetDeviceCaps(Screen.Get(), VREFRESH);
  // 0 and 1 stand for the hardware's default rate.
  return Rate > 1 ? static_cast<UINT>(1000 / Rate) : 16;
}

void TFrameFader::Start(std::unique_ptr<TFrame> Frame) {
  Incoming = std::move(Frame);
  Fade.Restart();
  Started = std::chrono::steady_clock::now();
}

std::unique_ptr<TFrame> TFrameFader::Step(TBitmap& Shown) {
  if (!Incoming) return nullptr;
  const double Elapsed =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Started).count();
  GdiFlush();
  Fade.StepTo(Shown.Pixels(), Incoming->Bitmap->Pixels(), DurationMs ? Elapsed / DurationMs : 1.0);
  if (Fade.Share() < 1.0) return nullptr;
  return std::move(Incoming);
}
