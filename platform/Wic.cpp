#include "platform/Wic.h"

TComPtr<IWICImagingFactory> CreateWicFactory() {
  TComPtr<IWICImagingFactory> Factory;
  // The first factory's class, which every WIC version registers.
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                              Factory.PutVoid())))
    Factory.Reset();
  return Factory;
}

std::wstring WideFromAnsi(const std::string& Text) {
  if (Text.empty()) return std::wstring();
  const int Length = MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0);
  std::wstring Wide(static_cast<std::size_t>(Length > 0 ? Length : 0), L'\0');
  if (Length > 0) MultiByteToWideChar(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), Wide.data(), Length);
  return Wide;
}

std::string AnsiFromWide(const std::wstring& Text) {
  if (Text.empty()) return std::string();
  const int Length =
      WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
  std::string Ansi(static_cast<std::size_t>(Length > 0 ? Length : 0), '\0');
  if (Length > 0)
    WideCharToMultiByte(CP_ACP, 0, Text.data(), static_cast<int>(Text.size()), Ansi.data(), Length, nullptr, nullptr);
  return Ansi;
}
