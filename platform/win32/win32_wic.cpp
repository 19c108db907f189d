// Pictures of kinds the program has no decoder of its own for (HEIC, AVIF and JPEG XL with
// the Windows extensions, JPEG XR, DDS, ICO...), through the Windows Imaging Component:
// the first frame, scaled by WIC to the fitted size, turned as its orientation says.
// Where WIC or a codec is missing, nothing is decoded and the caller says the type is
// not supported.
#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {

// Releases a COM interface when it goes out of scope.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
  explicit operator bool() const { return p != nullptr; }
};

// COM for this thread while a picture decodes (the window's thread has it already).
struct ComScope {
  HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  ~ComScope() {
    if (SUCCEEDED(result)) CoUninitialize();
  }
};

bool factory(Com<IWICImagingFactory>& f) {
  return SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                    reinterpret_cast<void**>(&f)));
}

std::wstring lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

// The photo's orientation (1 to 8) from its metadata, 1 when it has none. The system's
// name for it first; a codec that does not map that name may still give the EXIF tag
// (274) by its place in a JPEG's or a TIFF-like file's directory.
int orientationOf(IWICBitmapFrameDecode* frame) {
  Com<IWICMetadataQueryReader> reader;
  if (FAILED(frame->GetMetadataQueryReader(&reader)) || !reader) return 1;
  for (const wchar_t* query : {L"System.Photo.Orientation", L"/app1/ifd/{ushort=274}", L"/ifd/{ushort=274}"}) {
    PROPVARIANT value;
    PropVariantInit(&value);
    int orientation = 0;
    if (SUCCEEDED(reader->GetMetadataByName(query, &value)) && value.vt == VT_UI2) orientation = value.uiVal;
    PropVariantClear(&value);
    if (orientation >= 1 && orientation <= 8) return orientation;
  }
  return 1;
}

}  // namespace

bool Win32Gvbox::SystemDecodes(const std::string& extension) {
  if (extension.empty()) return false;
  ComScope com;
  Com<IWICImagingFactory> f;
  if (!factory(f)) return false;
  Com<IEnumUnknown> codecs;
  if (FAILED(f->CreateComponentEnumerator(WICDecoder, WICComponentEnumerateDefault, &codecs))) return false;
  const std::wstring wanted = L"." + lower(std::wstring(extension.begin(), extension.end()));
  for (;;) {
    Com<IUnknown> item;
    ULONG got = 0;
    if (codecs->Next(1, &item, &got) != S_OK || got == 0) return false;
    Com<IWICBitmapDecoderInfo> info;
    if (FAILED(item->QueryInterface(IID_IWICBitmapDecoderInfo, reinterpret_cast<void**>(&info)))) continue;
    UINT length = 0;
    if (FAILED(info->GetFileExtensions(0, nullptr, &length)) || length == 0) continue;
    std::wstring names(length, L'\0');
    if (FAILED(info->GetFileExtensions(length, names.data(), &length))) continue;
    names = L"," + lower(names.substr(0, names.find(L'\0'))) + L",";
    if (names.find(L"," + wanted + L",") != std::wstring::npos) return true;
  }
}

std::optional<Bitmap> Win32Gvbox::DecodeBySystem(const std::string& bytes, const DecodeOptions& options) {
  auto fail = [](const char* why) -> std::optional<Bitmap> {
    throw RuntimeError{decode_error::kPictureLoadFailed, why};
  };
  ComScope com;
  Com<IWICImagingFactory> f;
  if (!factory(f)) return std::nullopt;
  Com<IWICStream> stream;
  if (FAILED(f->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())),
                                          static_cast<DWORD>(bytes.size()))))
    return std::nullopt;
  Com<IWICBitmapDecoder> decoder;
  const HRESULT opened = f->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
  if (opened == WINCODEC_ERR_COMPONENTNOTFOUND) return std::nullopt;  // no codec for it
  if (FAILED(opened)) return fail("The picture is damaged");
  Com<IWICBitmapFrameDecode> frame;
  UINT width = 0, height = 0;
  if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(frame->GetSize(&width, &height)) || width == 0 || height == 0)
    return fail("The picture is damaged");
  if (static_cast<std::uint64_t>(width) * height > options.maxPixels)
    throw RuntimeError{decode_error::kPictureTooLarge, "The picture is too large"};
  const int orientation = orientationOf(frame.p);
  const bool turned = orientation >= 5;
  const PictureSize full = turned ? PictureSize{static_cast<int>(height), static_cast<int>(width)}
                                  : PictureSize{static_cast<int>(width), static_cast<int>(height)};
  PictureSize target = options.fit ? options.fit(full) : full;
  target.width = std::clamp(target.width, 1, full.width);
  target.height = std::clamp(target.height, 1, full.height);
  const UINT storedWidth = static_cast<UINT>(turned ? target.height : target.width);
  const UINT storedHeight = static_cast<UINT>(turned ? target.width : target.height);
  IWICBitmapSource* source = frame.p;
  Com<IWICBitmapScaler> scaler;
  if (storedWidth != width || storedHeight != height) {
    // Fant averages what it shrinks; where a system's scaler lacks it, the nearest pixel.
    if (FAILED(f->CreateBitmapScaler(&scaler)) ||
        (FAILED(scaler->Initialize(frame.p, storedWidth, storedHeight, WICBitmapInterpolationModeFant)) &&
         FAILED(scaler->Initialize(frame.p, storedWidth, storedHeight, WICBitmapInterpolationModeNearestNeighbor))))
      return fail("The picture could not be scaled");
    source = scaler.p;
  }
  Com<IWICFormatConverter> converter;
  if (FAILED(f->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return fail("The picture's colours could not be read");
  Bitmap stored = WithPictureMemory([&] { return Bitmap(static_cast<int>(storedWidth), static_cast<int>(storedHeight), 0); });
  if (FAILED(converter->CopyPixels(nullptr, storedWidth * 4, static_cast<UINT>(stored.pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(stored.pixels.data()))))
    return fail("The picture is damaged");
  // B, G, R, A in memory: over the background asked for.
  for (std::uint32_t& p : stored.pixels) p = OverBackground(p, options.background);
  Bitmap out = TurnedAsShown(stored, orientation);
  if (target != full) {
    out.fullWidth = full.width;
    out.fullHeight = full.height;
  }
  if (options.colors > 0) ReduceToColorCube(out, options.dither);
  return out;
}

}  // namespace tapestrel
