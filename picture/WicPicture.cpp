#include "picture/WicPicture.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <span>

#include "platform/GuardedCall.h"
#include "platform/WideText.h"

namespace {

// A block of source rows above this many bytes is not worth its memory:
// rows are then copied a strip at a time.
constexpr std::size_t MaxBlockBytes = 64u << 20;

// A file's bytes through its stream, for the header checks.
class TStreamBytes final : public TByteSource {
 public:
  explicit TStreamBytes(IStream* Stream) : Stream(Stream) {}
  std::size_t ReadAt(std::uint64_t Offset, void* Buffer, std::size_t Count) override {
    LARGE_INTEGER To;
    To.QuadPart = static_cast<LONGLONG>(Offset);
    ULONG Got = 0;
    if (FAILED(Stream->Seek(To, STREAM_SEEK_SET, nullptr)) ||
        FAILED(Stream->Read(Buffer, static_cast<ULONG>(Count), &Got)))
      return 0;
    return Got;
  }

 private:
  IStream* Stream;
};

bool IsIndexed(const WICPixelFormatGUID& Format) {
  return Format == GUID_WICPixelFormat1bppIndexed || Format == GUID_WICPixelFormat2bppIndexed ||
         Format == GUID_WICPixelFormat4bppIndexed || Format == GUID_WICPixelFormat8bppIndexed;
}

// A whole number that a metadata value holds, or -1.
int NumberOf(const PROPVARIANT& Value) {
  switch (Value.vt) {
    case VT_UI1: return Value.bVal;
    case VT_UI2: return Value.uiVal;
    case VT_I2: return Value.iVal;
    case VT_UI4: return Value.ulVal > 0xFFFF ? -1 : static_cast<int>(Value.ulVal);
    case VT_I4: return Value.lVal;
    default: return -1;
  }
}

// The frame decoded at a reduced size through its decoder's transform.
class TScaledSource final : public IWICBitmapSource {
 public:
  TScaledSource(IWICBitmapSourceTransform* Transform, IWICBitmapSource* Frame, UINT Width, UINT Height,
                const WICPixelFormatGUID& Format)
      : Transform(Transform), Frame(Frame), Width(Width), Height(Height), Format(Format) {
    Transform->AddRef();
    Frame->AddRef();
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID Id, void** Out) override {
    if (!Out) return E_POINTER;
    if (Id == __uuidof(IUnknown) || Id == __uuidof(IWICBitmapSource)) {
      *Out = static_cast<IWICBitmapSource*>(this);
      AddRef();
      return S_OK;
    }
    *Out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&References)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG Left = InterlockedDecrement(&References);
    if (Left == 0) delete this;
    return static_cast<ULONG>(Left);
  }

  HRESULT STDMETHODCALLTYPE GetSize(UINT* W, UINT* H) override {
    if (!W || !H) return E_INVALIDARG;
    *W = Width;
    *H = Height;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPixelFormat(WICPixelFormatGUID* Out) override {
    if (!Out) return E_INVALIDARG;
    *Out = Format;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetResolution(double* X, double* Y) override { return Frame->GetResolution(X, Y); }
  HRESULT STDMETHODCALLTYPE CopyPalette(IWICPalette* Palette) override { return Frame->CopyPalette(Palette); }
  HRESULT STDMETHODCALLTYPE CopyPixels(const WICRect* Rect, UINT Stride, UINT Size, BYTE* Buffer) override {
    const WICRect Whole{0, 0, static_cast<INT>(Width), static_cast<INT>(Height)};
    WICPixelFormatGUID Wanted = Format;
    return Transform->CopyPixels(Rect ? Rect : &Whole, Width, Height, &Wanted, WICBitmapTransformRotate0, Stride,
                                 Size, Buffer);
  }

 private:
  ~TScaledSource() {
    Frame->Release();
    Transform->Release();
  }

  LONG References = 1;
  IWICBitmapSourceTransform* Transform;
  IWICBitmapSource* Frame;
  UINT Width, Height;
  WICPixelFormatGUID Format;
};

}  // namespace

TDecodeSize ReducedDecodeSize(unsigned FrameW, unsigned FrameH, int DestW, int DestH,
                              const std::function<bool(unsigned& Width, unsigned& Height)>& Closest) {
  TDecodeSize Best{FrameW, FrameH};
  if (DestW <= 0 || DestH <= 0) return Best;
  const unsigned W = static_cast<unsigned>(DestW), H = static_cast<unsigned>(DestH);
  const TDecodeSize Asked[] = {{W, H}, {(FrameW + 1) / 2, (FrameH + 1) / 2}, {(FrameW + 3) / 4, (FrameH + 3) / 4},
                               {(FrameW + 7) / 8, (FrameH + 7) / 8}};
  for (TDecodeSize Size : Asked) {
    if (Size.Width == 0 || Size.Height == 0 || !Closest(Size.Width, Size.Height)) continue;
    const bool Smaller = Size.Width <= FrameW && Size.Height <= FrameH &&
                         static_cast<std::uint64_t>(Size.Width) * Size.Height <
                             static_cast<std::uint64_t>(FrameW) * FrameH;
    const bool Exact = Size.Width == W && Size.Height == H;
    const bool Margin = 4ull * Size.Width >= 5ull * W && 4ull * Size.Height >= 5ull * H;
    if (Smaller && (Exact || Margin) &&
        static_cast<std::uint64_t>(Size.Width) * Size.Height < static_cast<std::uint64_t>(Best.Width) * Best.Height)
      Best = Size;
  }
  return Best;
}

TComPtr<IWICBitmapSource> ScaledFrameSource(IWICBitmapSourceTransform* Transform, IWICBitmapSource* Frame,
                                            unsigned Width, unsigned Height, const WICPixelFormatGUID& Wanted) {
  WICPixelFormatGUID Format = Wanted;
  if (FAILED(Transform->GetClosestPixelFormat(&Format))) return TComPtr<IWICBitmapSource>();
  return TComPtr<IWICBitmapSource>(new TScaledSource(Transform, Frame, Width, Height, Format));
}

TWicPicture::TWicPicture() = default;

TWicPicture::~TWicPicture() { Close(); }

template <typename F>
bool TWicPicture::Succeeded(F&& Call) {
  HRESULT Result = E_FAIL;
  if (CallGuarded([&Call, &Result] { Result = Call(); })) return SUCCEEDED(Result);
  Faulted = true;
  return false;
}

template <typename T>
void TWicPicture::LetGo(TComPtr<T>& Object) {
  T* Raw = Object.Get();
  Object.Abandon();
  if (Raw) CallGuarded([Raw] { Raw->Release(); });
}

void TWicPicture::Close() {
  EndDraw();
  if (Faulted) {
    // A decoder that faulted may fault again in its own release.
    LetGo(Frame);
    LetGo(Decoder);
    LetGo(FirstImage);
    LetGo(File);
  }
  Frame.Reset();
  Decoder.Reset();
  FirstImage.Reset();
  File.Reset();
  Faulted = false;
  FrameWidth = FrameHeight = 0;
  FrameOrientation = 1;
  FrameHasAlpha = false;
  BlockRows = TStreamResampler::StripRows;
  // A block of tiles above 16 MiB is not kept for the next picture.
  if (Block.capacity() * sizeof(std::uint32_t) > MaxBlockBytes / 4) std::vector<std::uint32_t>().swap(Block);
}

bool TWicPicture::Open(const std::string& FileName) {
  if (OpenFile(FileName, true)) return true;
  // A decoder whose metadata reader faulted is not trusted again: the file
  // is decoded anew by a fresh one, without its metadata.
  return MetadataFaulted && OpenFile(FileName, false);
}

bool TWicPicture::OpenFile(const std::string& FileName, bool WithMetadata) {
  Close();
  MetadataFaulted = false;
  if (!Com.Usable()) return false;
  if (!Factory) Factory = CreateWicFactory();
  if (!Factory) return false;
  if (FAILED(Factory->CreateStream(File.Put())) ||
      FAILED(File->InitializeFromFilename(WidePath(FileName).c_str(), GENERIC_READ))) {
    File.Reset();
    return false;
  }

  TStreamBytes Bytes(File.Get());
  TPictureHeader Header;
  if (!ReadPictureHeader(Bytes, Header) ||
      (Header.Kind != TPictureHeaderKind::Other &&
       !FrameWithinBounds(Header.Width, Header.Height, Header.BitsPerPixel))) {
    Close();
    return false;
  }
  IStream* Source = File.Get();
  if (Header.Kind == TPictureHeaderKind::Gif) {
    ULARGE_INTEGER Start, Length;
    Start.QuadPart = 0;
    Length.QuadPart = Header.FirstImageEnd;
    if (FAILED(Factory->CreateStream(FirstImage.Put())) ||
        FAILED(FirstImage->InitializeFromIStreamRegion(File.Get(), Start, Length))) {
      Close();
      return false;
    }
    Source = FirstImage.Get();
  }
  LARGE_INTEGER Zero;
  Zero.QuadPart = 0;
  Source->Seek(Zero, STREAM_SEEK_SET, nullptr);

  const UINT Index = Header.Kind == TPictureHeaderKind::Icon ? static_cast<UINT>(Header.IconIndex) : 0;
  UINT W = 0, H = 0;
  WICPixelFormatGUID Format{};
  GUID Container{};
  const bool Opened =
      Succeeded([&] {
        return Factory->CreateDecoderFromStream(Source, nullptr, WICDecodeMetadataCacheOnDemand, Decoder.Put());
      }) &&
      Succeeded([&] { return Decoder->GetFrame(Index, Frame.Put()); }) &&
      Succeeded([&] { return Frame->GetSize(&W, &H); }) &&
      Succeeded([&] { return Frame->GetPixelFormat(&Format); }) &&
      Succeeded([&] { return Decoder->GetContainerFormat(&Container); }) &&
      FrameWithinBounds(W, H, FormatBitsPerPixel(Format));
  if (!Opened) {
    Close();
    return false;
  }
  FrameWidth = static_cast<int>(W);
  FrameHeight = static_cast<int>(H);
  FrameHasAlpha = FormatHasAlpha(Format);
  if (!Faulted && WithMetadata) {
    ReadMetadata(Container);
    MetadataFaulted = Faulted;
  }
  if (Faulted) {
    Close();
    return false;
  }
  return true;
}

int TWicPicture::FormatBitsPerPixel(const WICPixelFormatGUID& Format) {
  TComPtr<IWICComponentInfo> Info;
  UINT Bits = 0;
  if (SUCCEEDED(Factory->CreateComponentInfo(Format, Info.Put())))
    if (const auto PixelFormat = Info.As<IWICPixelFormatInfo>())
      if (FAILED(PixelFormat->GetBitsPerPixel(&Bits))) Bits = 0;
  return Bits > 1024 ? 1024 : static_cast<int>(Bits);
}

bool TWicPicture::FormatHasAlpha(const WICPixelFormatGUID& Format) {
  if (IsIndexed(Format)) {
    TComPtr<IWICPalette> Palette;
    BOOL Alpha = FALSE;
    if (FAILED(Factory->CreatePalette(Palette.Put()))) return true;
    if (!Succeeded([&] { return Frame->CopyPalette(Palette.Get()); }) &&
        !Succeeded([&] { return Decoder->CopyPalette(Palette.Get()); }))
      return false;
    return SUCCEEDED(Palette->HasAlpha(&Alpha)) && Alpha;
  }
  TComPtr<IWICComponentInfo> Info;
  if (FAILED(Factory->CreateComponentInfo(Format, Info.Put()))) return true;
  const auto PixelFormat = Info.As<IWICPixelFormatInfo2>();
  BOOL Transparent = TRUE;
  // Without the answer (WIC before Windows 7) the picture is taken to have
  // alpha: drawn that way, an opaque picture comes out the same.
  if (!PixelFormat || FAILED(PixelFormat->SupportsTransparency(&Transparent))) return true;
  return Transparent != FALSE;
}

// The orientation, and the height of a TIFF file's tiles. Wine's TIFF
// metadata reader faults on files of thousands of pages: the queries run
// guarded, and Open then opens the file again without them.
void TWicPicture::ReadMetadata(const GUID& Container) {
  TComPtr<IWICMetadataQueryReader> Query;
  if (!Succeeded([&] { return Frame->GetMetadataQueryReader(Query.Put()); })) {
    if (Faulted) LetGo(Query);
    return;
  }
  auto Number = [&](const wchar_t* Name) {
    TPropVariant Value;
    if (Succeeded([&] { return Query->GetMetadataByName(Name, Value.Put()); })) return NumberOf(Value.Get());
    if (Faulted) Value.Abandon();  // what the faulting call left in it is not to be trusted
    return -1;
  };
  for (const wchar_t* Name : {L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}", L"/heifProps/Orientation",
                              L"System.Photo.Orientation"}) {
    const int Value = Number(Name);
    if (Faulted) break;
    if (Value >= 1 && Value <= 8) {
      FrameOrientation = Value;
      break;
    }
  }
  if (!Faulted && Container == GUID_ContainerFormatTiff) {
    const int TileRows = Number(L"/ifd/{ushort=323}");
    if (TileRows > BlockRows && static_cast<std::size_t>(TileRows) * FrameWidth * 4 <= MaxBlockBytes)
      BlockRows = TileRows;
  }
  if (Faulted) LetGo(Query);
}

bool TWicPicture::DrawInto(const TPixelView& Dest, const std::function<bool()>& Abandon) {
  if (!Frame || !Dest.Pixels || Dest.Width <= 0 || Dest.Height <= 0) return false;
  bool Drawn = false;
  try {
    Drawn = Draw(Dest, Abandon);
  } catch (...) {
    // No room for the rows: nothing more is drawn.
  }
  if (Faulted)
    Close();
  else
    EndDraw();
  return Drawn;
}

void TWicPicture::EndDraw() {
  if (Faulted) {
    LetGo(Converter);
    LetGo(Source);
    LetGo(Transform);
  }
  Converter.Reset();
  Source.Reset();
  Transform.Reset();
}

bool TWicPicture::Draw(const TPixelView& Dest, const std::function<bool()>& Abandon) {
  const WICPixelFormatGUID Wanted = FrameHasAlpha ? GUID_WICPixelFormat32bppPBGRA : GUID_WICPixelFormat32bppBGR;
  UINT W = static_cast<UINT>(FrameWidth), H = static_cast<UINT>(FrameHeight);
  Source = TComPtr<IWICBitmapSource>(Frame.Get());
  Frame->AddRef();
  Transform = Frame.As<IWICBitmapSourceTransform>();
  if (Transform) {
    const TDecodeSize Size = ReducedDecodeSize(W, H, Dest.Width, Dest.Height, [&](unsigned& Width, unsigned& Height) {
      UINT CW = Width, CH = Height;
      if (!Succeeded([&] { return Transform->GetClosestSize(&CW, &CH); })) return false;
      Width = CW;
      Height = CH;
      return true;
    });
    if (Faulted) return false;
    if (Size.Width != W || Size.Height != H) {
      TComPtr<IWICBitmapSource> Scaled;
      const bool Returned = CallGuarded(
          [&] { Scaled = ScaledFrameSource(Transform.Get(), Frame.Get(), Size.Width, Size.Height, Wanted); });
      if (!Returned) {
        Faulted = true;
        return false;
      }
      if (Scaled) {
        Source = std::move(Scaled);
        W = Size.Width;
        H = Size.Height;
      }
    }
  }
  if (FAILED(Factory->CreateFormatConverter(Converter.Put())) ||
      !Succeeded([&] {
        return Converter->Initialize(Source.Get(), Wanted, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom);
      }))
    return false;

  const int SrcW = static_cast<int>(W), SrcH = static_cast<int>(H);
  const bool Direct = !FrameHasAlpha && SrcW == Dest.Width && SrcH == Dest.Height;
  auto CopyRows = [&](int First, int Count, std::uint32_t* To, std::ptrdiff_t Stride) {
    const WICRect Rect{0, First, SrcW, Count};
    const UINT StrideBytes = static_cast<UINT>(Stride * 4);
    const UINT Bytes = static_cast<UINT>((Count - 1) * Stride * 4 + static_cast<std::ptrdiff_t>(SrcW) * 4);
    return Succeeded([&] { return Converter->CopyPixels(&Rect, StrideBytes, Bytes, reinterpret_cast<BYTE*>(To)); });
  };
  if (Direct) {
    for (int First = 0; First < SrcH; First += BlockRows) {
      if (Abandon && Abandon()) return false;
      const int Count = std::min(BlockRows, SrcH - First);
      if (!CopyRows(First, Count, Dest.Row(First), Dest.Stride)) return false;
      // The high byte as the resampler leaves it.
      for (int Y = First; Y < First + Count; ++Y)
        for (std::uint32_t& P : std::span(Dest.Row(Y), static_cast<std::size_t>(SrcW))) P &= 0x00FFFFFF;
    }
    return true;
  }

  TRowSink* Sink = &Resampler;
  if (FrameHasAlpha) {
    AlphaResampler.Start(SrcW, SrcH, Dest);
    Sink = &AlphaResampler;
  } else {
    Resampler.Start(SrcW, SrcH, Dest);
  }
  std::uint32_t* Rows[TStreamResampler::StripRows];
  if (BlockRows <= TStreamResampler::StripRows) {
    // Straight into the resampler's rows, a run of neighbouring rows at a
    // time (its ring of rows wraps around).
    for (int First = 0; First < SrcH;) {
      if (Abandon && Abandon()) return false;
      const int Strip = Sink->NextRows(Rows, TStreamResampler::StripRows);
      if (Strip <= 0) return false;
      for (int Run = 0, End; Run < Strip; Run = End) {
        for (End = Run + 1; End < Strip && Rows[End] == Rows[End - 1] + SrcW;) ++End;
        if (!CopyRows(First + Run, End - Run, Rows[Run], SrcW)) return false;
      }
      Sink->RowsWritten(Strip);
      First += Strip;
    }
    return true;
  }
  // Through a block of whole tiles.
  const std::size_t BlockPixels = static_cast<std::size_t>(SrcW) * BlockRows;
  if (Block.size() < BlockPixels) Block.resize(BlockPixels);
  for (int First = 0; First < SrcH; First += BlockRows) {
    if (Abandon && Abandon()) return false;
    const int Count = std::min(BlockRows, SrcH - First);
    if (!CopyRows(First, Count, Block.data(), SrcW)) return false;
    for (int Done = 0; Done < Count;) {
      const int Strip = Sink->NextRows(Rows, std::min(Count - Done, TStreamResampler::StripRows));
      if (Strip <= 0) return false;
      for (int R = 0; R < Strip; ++R)
        std::memcpy(Rows[R], Block.data() + static_cast<std::size_t>(Done + R) * SrcW, static_cast<std::size_t>(SrcW) * 4);
      Sink->RowsWritten(Strip);
      Done += Strip;
    }
  }
  return true;
}

std::vector<std::string> TWicPicture::DecoderExtensions() {
  std::vector<std::string> Extensions;
  TComScope Scope;
  if (!Scope.Usable()) return Extensions;
  const TComPtr<IWICImagingFactory> Factory = CreateWicFactory();
  TComPtr<IEnumUnknown> Decoders;
  if (!Factory || FAILED(Factory->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, Decoders.Put())))
    return Extensions;
  for (;;) {
    TComPtr<IUnknown> Item;
    ULONG Got = 0;
    if (Decoders->Next(1, Item.Put(), &Got) != S_OK || Got != 1) break;
    const auto Codec = Item.As<IWICBitmapCodecInfo>();
    UINT Length = 0;
    if (!Codec || FAILED(Codec->GetFileExtensions(0, nullptr, &Length)) || Length == 0) continue;
    std::wstring Text(Length, L'\0');
    if (FAILED(Codec->GetFileExtensions(Length, Text.data(), &Length))) continue;
    Text.resize(std::wcslen(Text.c_str()));
    // A list: ".tiff,.tif" on Windows, ".tif;.tiff" from some of Wine's.
    std::size_t From = 0;
    while (From <= Text.size()) {
      std::size_t To = Text.find_first_of(L",;", From);
      if (To == std::wstring::npos) To = Text.size();
      std::wstring Name = Text.substr(From, To - From);
      From = To + 1;
      Name.erase(0, Name.find_first_not_of(L" \t"));
      Name.erase(Name.find_last_not_of(L" \t") + 1);
      if (Name.empty()) continue;
      if (Name[0] != L'.') Name.insert(Name.begin(), L'.');
      for (wchar_t& C : Name)
        if (C >= L'A' && C <= L'Z') C = static_cast<wchar_t>(C - L'A' + L'a');
      const std::string Extension = Utf8(Name);
      if (std::find(Extensions.begin(), Extensions.end(), Extension) == Extensions.end())
        Extensions.push_back(Extension);
    }
  }
  return Extensions;
}
