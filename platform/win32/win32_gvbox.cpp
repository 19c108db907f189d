#include <windows.h>

#include <cstring>

#include "platform/win32/win32_services.h"

namespace tapestrel {

Win32Gvbox::~Win32Gvbox() { PictureChanged(); }

std::uintptr_t Win32Gvbox::DrawingSurface() {
  if (dc_) return reinterpret_cast<std::uintptr_t>(dc_);
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return 0;
  const std::shared_ptr<const Bitmap>& picture = Picture();
  const int width = picture ? picture->width : 1;
  const int height = picture ? picture->height : 1;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // rows from the top, as the picture holds them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) {
    DeleteDC(dc);
    return 0;
  }
  if (picture) std::memcpy(bits, picture->pixels.data(), picture->pixels.size() * 4);
  else *static_cast<std::uint32_t*>(bits) = 0xFFFFFF;
  dc_ = dc;
  bitmap_ = bitmap;
  oldBitmap_ = SelectObject(dc, bitmap);
  return reinterpret_cast<std::uintptr_t>(dc_);
}

void Win32Gvbox::PictureChanged() {
  if (!dc_) return;
  SelectObject(static_cast<HDC>(dc_), static_cast<HGDIOBJ>(oldBitmap_));
  DeleteObject(static_cast<HGDIOBJ>(bitmap_));
  DeleteDC(static_cast<HDC>(dc_));
  dc_ = bitmap_ = oldBitmap_ = nullptr;
}

}  // namespace tapestrel
