#include "platform/Bitmap.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "core/Errors.h"
#include "core/Resample.h"
#include "platform/ScreenFont.h"
#include "platform/SharedCaches.h"
#include "platform/WideText.h"

std::uint32_t ColorToPixel(TColor Colour) {
  if ((Colour >> 24) == 0xFF) Colour = GetSysColor(static_cast<int>(Colour & 0xFF));
  return MakePixel(Colour & 0xFF, (Colour >> 8) & 0xFF, (Colour >> 16) & 0xFF);
}

TBitmap::~TBitmap() { Release(); }

TBitmap::TSurface::~TSurface() {
  if (DC && PreviousBitmap) SelectObject(DC->Get(), PreviousBitmap);
}

std::unique_ptr<TBitmap::TSurface> TBitmap::TakeSpare(int Width, int Height) {
  TSharedCaches& Caches = TSharedCaches::Current();
  std::lock_guard<std::mutex> Guard(Caches.SpareLock);
  std::unique_ptr<TSurface>& Spare = Caches.SpareSurface;
  if (Spare && Spare->Width == Width && Spare->Height == Height) return std::move(Spare);
  Spare.reset();
  return nullptr;
}

void TBitmap::KeepSpare(std::unique_ptr<TSurface> Kept) {
  TSharedCaches& Caches = TSharedCaches::Current();
  std::unique_ptr<TSurface> Dropped;  // released outside the lock
  std::lock_guard<std::mutex> Guard(Caches.SpareLock);
  Dropped = std::move(Caches.SpareSurface);
  Caches.SpareSurface = std::move(Kept);
}

void TBitmap::Release() {
  constexpr long long LargePixels = 1 << 20;
  if (Surface && static_cast<long long>(Surface->Width) * Surface->Height >= LargePixels)
    KeepSpare(std::move(Surface));
  Surface.reset();
  Bits = nullptr;
  BitmapWidth = BitmapHeight = 0;
}

void TBitmap::SetSize(int Width, int Height, TInitial Initial) {
  // A frame given its own size again (a slide show's frames are) keeps its
  // surface.
  if (!(Surface && Width == BitmapWidth && Height == BitmapHeight)) {
    Release();
    if (Width <= 0 || Height <= 0) return;
    Surface = TakeSpare(Width, Height);
  }
  if (!Surface) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof Info.bmiHeader;
    Info.bmiHeader.biWidth = Width;
    Info.bmiHeader.biHeight = -Height;  // top-down
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    Info.bmiHeader.biCompression = BI_RGB;
    void* Memory = nullptr;
    auto New = std::make_unique<TSurface>();
    New->Section = TGdiObject<HBITMAP>(CreateDIBSection(nullptr, &Info, DIB_RGB_COLORS, &Memory, nullptr, 0));
    New->DC = std::make_unique<TMemoryDC>();
    if (!New->Section || !Memory || !New->DC->Get()) throw EOutOfResources("Out of system resources");
    New->PreviousBitmap = SelectObject(New->DC->Get(), New->Section.Get());
    New->Width = Width;
    New->Height = Height;
    New->Bits = static_cast<std::uint32_t*>(Memory);
    Surface = std::move(New);
  }
  Bits = Surface->Bits;
  BitmapWidth = Width;
  BitmapHeight = Height;
  if (Initial == White) Fill(clWhite);
}

TPixelView TBitmap::Pixels() const { return TPixelView{Bits, BitmapWidth, BitmapHeight, BitmapWidth}; }

void TBitmap::Fill(TColor Colour) { FillRect(0, 0, BitmapWidth, BitmapHeight, Colour); }

void TBitmap::FillRect(int X, int Y, int W, int H, TColor Colour) {
  const int Left = std::max(X, 0), Top = std::max(Y, 0);
  const int Right = std::min(X + W, BitmapWidth), Bottom = std::min(Y + H, BitmapHeight);
  if (Left >= Right || Top >= Bottom) return;
  GdiFlush();
  const std::uint32_t Pixel = ColorToPixel(Colour);
  const TPixelView View = Pixels();
  for (int Row = Top; Row < Bottom; ++Row) std::fill(View.Row(Row) + Left, View.Row(Row) + Right, Pixel);
}

void TBitmap::WriteText(int X, int Y, const std::string& Text) {
  if (Empty()) return;
  TSelection Selected(Canvas(), DialogFont());
  SetTextColor(Canvas(), GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(Canvas(), RGB(255, 255, 255));
  SetBkMode(Canvas(), OPAQUE);
  const std::wstring Wide = ::Wide(Text);
  ::TextOutW(Canvas(), X, Y, Wide.c_str(), static_cast<int>(Wide.size()));
  GdiFlush();
}

void TBitmap::StretchFrom(const TBitmap& Source, int X, int Y, int W, int H) {
  if (Source.Empty() || Empty() || W <= 0 || H <= 0) return;
  GdiFlush();
  if (X >= 0 && Y >= 0 && X + W <= BitmapWidth && Y + H <= BitmapHeight) {
    Resample(Source.Pixels(), Pixels().Sub(X, Y, W, H));
    return;
  }
  // Partly outside: resample in full, then copy what is visible.
  TPixelBuffer Whole(W, H);
  Resample(Source.Pixels(), Whole.View());
  const TPixelView View = Pixels();
  for (int Row = std::max(0, -Y); Row < H && Y + Row < BitmapHeight; ++Row)
    for (int Col = std::max(0, -X); Col < W && X + Col < BitmapWidth; ++Col)
      View.Row(Y + Row)[X + Col] = Whole.At(Col, Row);
}

void TBitmap::CopyTo(HDC Dest, int X, int Y) const {
  if (!Empty()) BitBlt(Dest, X, Y, BitmapWidth, BitmapHeight, Canvas(), 0, 0, SRCCOPY);
}

void TBitmap::CopyFrom(HDC Source, int SourceX, int SourceY) {
  if (!Empty()) BitBlt(Canvas(), 0, 0, BitmapWidth, BitmapHeight, Source, SourceX, SourceY, SRCCOPY);
}
