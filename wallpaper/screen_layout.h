// How pictures are laid out on a desktop of one or more monitors: the arrangements
// (the same picture on each screen, a picture for each, one across all), the ways a
// picture fills its screen, and the one bitmap of the whole virtual screen that holds
// them all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/desktop.h"
#include "platform/picture_decoder.h"

namespace tapestrel {

// Backdrop modes, as stored: the first five are the program's old ones.
namespace backdrop {
inline constexpr int kTiled = 0;
inline constexpr int kSingle = 1;
inline constexpr int kStretched = 2;
inline constexpr int kTiledInternal = 3;
inline constexpr int kSingleInternal = 4;
inline constexpr int kFill = 5;  // scaled to cover the screen, the overhang cut off evenly
inline constexpr int kFit = 6;   // scaled to fit inside, bars in the desktop colour
inline constexpr int kCount = 7;
}  // namespace backdrop

// Whether a backdrop mode shows pictures in the program's own window, not on the desktop.
inline bool IsInternalMode(int mode) { return mode == backdrop::kTiledInternal || mode == backdrop::kSingleInternal; }

enum class ScreenArrangement { Same = 0, Each = 1, Span = 2 };
inline constexpr int kScreenArrangements = 3;

// The smallest rectangle holding every monitor.
PixelRect VirtualScreen(const std::vector<Monitor>& monitors);

// The rectangles (virtual-screen pixels) that each take a picture: every monitor (the
// primary first) for the same picture or a picture each, the virtual screen for one
// across all.
std::vector<PixelRect> PictureRegions(ScreenArrangement arrangement, const std::vector<Monitor>& monitors);

// What the user chose for laying a picture out.
struct Layout {
  int mode = backdrop::kTiled;
  int centreStyle = 0;   // single mode: place on a 3 x 3 grid (row 0 middle, 1 top, 2 bottom)
  int viewingSize = 0;   // tiled and single: 0 the screen, 1 three quarters, 2 half, 3 quarter, else own size
  bool smooth = true;    // shrinking averages pixels
  std::uint32_t background = 0;  // 0x00RRGGBB
};

// The largest size a region needs of a picture of this whole size: a decoder need not
// decode more than that. Never larger than the picture.
PictureSize NeededSize(PictureSize whole, long regionWidth, long regionHeight, const Layout& layout);

// Lays a decoded picture into `region` (pixels of `canvas`), by the layout's mode.
void LayPicture(Bitmap& canvas, const PixelRect& region, const Bitmap& picture, const Layout& layout);

// Moves a bitmap of the virtual screen so that, tiled from the primary monitor's top left
// (what Windows before 7 does), every monitor shows its own part, those left of or above
// the primary included.
void RollForTiling(Bitmap& canvas, const PixelRect& virtualScreen);

// Whether the system spans one wallpaper across all monitors by itself (wallpaper style
// 22, Windows 7 and later), from its version text ("Windows NT 6.1 (build 7601)").
bool SpansWallpaper(const std::string& platformText);

}  // namespace tapestrel
