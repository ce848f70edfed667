#pragma once
// The Windows Imaging Component (windowscodecs) as the picture layer reaches
// it: through COM, never by importing its DLL, so a program still starts on
// a Windows without it and simply has no WIC pictures there.
#include <windows.h>
#include <wincodec.h>

#include <string>

#include "platform/Com.h"

// A decoder frame's scaling at decode time (a JPEG decoder's reduced DCT
// sizes), which mingw-w64's wincodec.h does not declare. Windows' own
// decoders have it for JPEG; Wine 8's decoders have none.
#ifndef __IWICBitmapSourceTransform_INTERFACE_DEFINED__
#define __IWICBitmapSourceTransform_INTERFACE_DEFINED__
MIDL_INTERFACE("3b16811b-6a43-4ec9-b713-3d5a0c13b940")
IWICBitmapSourceTransform : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* Rect, UINT Width, UINT Height,
                                               WICPixelFormatGUID* Format, WICBitmapTransformOptions Transform,
                                               UINT Stride, UINT BufferSize, BYTE* Buffer) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestSize(UINT* Width, UINT* Height) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetClosestPixelFormat(WICPixelFormatGUID* Format) = 0;
  virtual HRESULT STDMETHODCALLTYPE DoesSupportTransform(WICBitmapTransformOptions Transform, BOOL* Supported) = 0;
};
__CRT_UUID_DECL(IWICBitmapSourceTransform, 0x3b16811b, 0x6a43, 0x4ec9, 0xb7, 0x13, 0x3d, 0x5a, 0x0c, 0x13, 0xb9,
                0x40)
#endif

// The imaging factory, or null where WIC is not installed (Windows XP
// before SP3). COM must be initialised on the calling thread.
TComPtr<IWICImagingFactory> CreateWicFactory();

