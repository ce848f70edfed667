#include "platform/Wic.h"

TComPtr<IWICImagingFactory> CreateWicFactory() {
  TComPtr<IWICImagingFactory> Factory;
  // The first factory's class, which every WIC version registers.
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory1, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                              Factory.PutVoid())))
    Factory.Reset();
  return Factory;
}
