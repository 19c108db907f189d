#include "wallpaper/screen_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tapestrel {

namespace {

long roundToPixel(double value) { return std::max(1L, static_cast<long>(std::lround(value))); }

// A part of a picture scaled to width x height, averaged or nearest as the layout says.
Bitmap scalePart(const Bitmap& picture, double left, double top, double across, double down, long width, long height,
                 const Layout& layout) {
  return layout.smooth ? ScaleArea(picture, left, top, across, down, static_cast<int>(width), static_cast<int>(height))
                       : StretchAreaNearest(picture, left, top, across, down, static_cast<int>(width),
                                            static_cast<int>(height));
}

void fillRect(Bitmap& canvas, const PixelRect& r, std::uint32_t colour) {
  for (long y = std::max(0L, r.top); y < std::min<long>(canvas.height, r.bottom); ++y)
    std::fill(canvas.pixels.begin() + y * canvas.width + std::max(0L, r.left),
              canvas.pixels.begin() + y * canvas.width + std::min<long>(canvas.width, r.right), colour);
}

// Copies a picture into the canvas at (x, y), clipped to the region; the picture's pixel
// (fromX, fromY) comes to (x, y).
void place(Bitmap& canvas, const PixelRect& region, long x, long y, const Bitmap& picture, long fromX = 0,
           long fromY = 0) {
  const long left = std::max({x, region.left, 0L});
  const long top = std::max({y, region.top, 0L});
  const long right = std::min({x + picture.width - fromX, region.right, static_cast<long>(canvas.width)});
  const long bottom = std::min({y + picture.height - fromY, region.bottom, static_cast<long>(canvas.height)});
  for (long ty = top; ty < bottom; ++ty)
    std::copy_n(picture.pixels.begin() + (ty - y + fromY) * picture.width + (left - x + fromX),
                std::max(0L, right - left), canvas.pixels.begin() + ty * canvas.width + left);
}

// The viewing box of the tiled and single modes: the region or a part of it.
double viewingZoom(double w, double h, double regionWidth, double regionHeight, int viewingSize) {
  static const int quarters[] = {4, 3, 2, 1};
  if (viewingSize < 0 || viewingSize > 3) return 1.0;
  const double boxWidth = regionWidth * quarters[viewingSize] / 4;
  const double boxHeight = regionHeight * quarters[viewingSize] / 4;
  return std::min({1.0, boxWidth / w, boxHeight / h});
}

}  // namespace

PixelRect VirtualScreen(const std::vector<Monitor>& monitors) {
  if (monitors.empty()) return {};
  PixelRect all = monitors.front().bounds;
  for (const Monitor& m : monitors) {
    all.left = std::min(all.left, m.bounds.left);
    all.top = std::min(all.top, m.bounds.top);
    all.right = std::max(all.right, m.bounds.right);
    all.bottom = std::max(all.bottom, m.bounds.bottom);
  }
  return all;
}

std::vector<PixelRect> PictureRegions(ScreenArrangement arrangement, const std::vector<Monitor>& monitors) {
  if (arrangement == ScreenArrangement::Span) return {VirtualScreen(monitors)};
  std::vector<PixelRect> regions;
  for (const Monitor& m : monitors)
    if (m.primary) regions.push_back(m.bounds);
  for (const Monitor& m : monitors)
    if (!m.primary) regions.push_back(m.bounds);
  return regions;
}

PictureSize NeededSize(PictureSize whole, long regionWidth, long regionHeight, const Layout& layout) {
  const double w = std::max(whole.width, 1);
  const double h = std::max(whole.height, 1);
  double zoomX = 1, zoomY = 1;
  switch (layout.mode) {
    case backdrop::kFill: zoomX = zoomY = std::min(1.0, std::max(regionWidth / w, regionHeight / h)); break;
    case backdrop::kFit: zoomX = zoomY = std::min({1.0, regionWidth / w, regionHeight / h}); break;
    case backdrop::kStretched:
      zoomX = std::min(1.0, regionWidth / w);
      zoomY = std::min(1.0, regionHeight / h);
      break;
    default: zoomX = zoomY = viewingZoom(w, h, regionWidth, regionHeight, layout.viewingSize); break;
  }
  return {static_cast<int>(std::min<long>(whole.width, roundToPixel(std::ceil(w * zoomX - 1e-9)))),
          static_cast<int>(std::min<long>(whole.height, roundToPixel(std::ceil(h * zoomY - 1e-9))))};
}

void LayPicture(Bitmap& canvas, const PixelRect& region, const Bitmap& picture, const Layout& layout) {
  if (picture.Empty() || region.Width() <= 0 || region.Height() <= 0) return;
  const long rw = region.Width();
  const long rh = region.Height();
  const double w = picture.width;
  const double h = picture.height;
  switch (layout.mode) {
    case backdrop::kFill: {
      // The middle of the picture with the screen's proportions.
      const double zoom = std::max(rw / w, rh / h);
      const double across = std::min(w, rw / zoom);
      const double down = std::min(h, rh / zoom);
      // Decoded to cover the screen already: the middle is cut out as it is, from the
      // whole pixel where the cut falls.
      if (std::abs(across - rw) < 1e-6 && std::abs(down - rh) < 1e-6) {
        place(canvas, region, region.left, region.top, picture, std::lround(std::floor((w - across) / 2)),
              std::lround(std::floor((h - down) / 2)));
        return;
      }
      place(canvas, region, region.left, region.top,
            scalePart(picture, (w - across) / 2, (h - down) / 2, across, down, rw, rh, layout));
      return;
    }
    case backdrop::kFit: {
      const double zoom = std::min(rw / w, rh / h);
      const long width = std::min(rw, roundToPixel(w * zoom));
      const long height = std::min(rh, roundToPixel(h * zoom));
      fillRect(canvas, region, layout.background);
      place(canvas, region, region.left + (rw - width) / 2, region.top + (rh - height) / 2,
            scalePart(picture, 0, 0, w, h, width, height, layout));
      return;
    }
    case backdrop::kStretched:
      place(canvas, region, region.left, region.top, scalePart(picture, 0, 0, w, h, rw, rh, layout));
      return;
    default: break;
  }
  // Tiled and single: the picture at its size in the viewing box.
  const double zoom = viewingZoom(w, h, rw, rh, layout.viewingSize);
  const Bitmap shown = zoom < 1 ? scalePart(picture, 0, 0, w, h, roundToPixel(w * zoom), roundToPixel(h * zoom), layout)
                                : Bitmap();
  const Bitmap& tile = zoom < 1 ? shown : picture;
  if (layout.mode == backdrop::kTiled || layout.mode == backdrop::kTiledInternal) {
    for (long y = region.top; y < region.bottom; y += tile.height)
      for (long x = region.left; x < region.right; x += tile.width) place(canvas, region, x, y, tile);
    return;
  }
  fillRect(canvas, region, layout.background);
  const int row = layout.centreStyle >= 0 && layout.centreStyle <= 8 ? layout.centreStyle / 3 : 0;
  const int column = layout.centreStyle >= 0 && layout.centreStyle <= 8 ? layout.centreStyle % 3 : 1;
  const long spareX = rw - tile.width;
  const long spareY = rh - tile.height;
  const long x = column == 0 ? 0 : column == 1 ? spareX / 2 : spareX;
  const long y = row == 1 ? 0 : row == 0 ? spareY / 2 : spareY;
  place(canvas, region, region.left + x, region.top + y, tile);
}

void RollForTiling(Bitmap& canvas, const PixelRect& virtualScreen) {
  if (canvas.Empty()) return;
  // Tiled from (0, 0), the virtual-screen pixel (x, y) shows tile pixel (x mod W, y mod H);
  // it must be the canvas pixel (x - left, y - top).
  const long w = canvas.width;
  const long h = canvas.height;
  const long shiftX = ((virtualScreen.left % w) + w) % w;
  const long shiftY = ((virtualScreen.top % h) + h) % h;
  if (shiftX == 0 && shiftY == 0) return;
  for (long y = 0; y < h; ++y) {
    auto row = canvas.pixels.begin() + y * w;
    std::rotate(row, row + (w - shiftX) % w, row + w);
  }
  std::rotate(canvas.pixels.begin(), canvas.pixels.begin() + ((h - shiftY) % h) * w, canvas.pixels.end());
}

bool SpansWallpaper(const std::string& platformText) {
  int major = 0, minor = 0;
  const std::size_t at = platformText.find("NT ");
  if (at == std::string::npos || std::sscanf(platformText.c_str() + at + 3, "%d.%d", &major, &minor) < 1) return true;
  return major > 6 || (major == 6 && minor >= 1);
}

}  // namespace tapestrel
