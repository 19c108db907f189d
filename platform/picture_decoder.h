// Decodes the pictures Windows cannot take as wallpaper: JPEG through libjpeg-turbo,
// WebP through libwebp, TIFF (its first page) through libtiff, PNG, TGA and GIF (its
// first frame) through stb_image, PCX through a reader of our own. A picture that is
// going to be shown smaller than it is decodes straight to that size (JPEG at the
// library's reduced DCT scale where it can), so a large photo never needs its full
// size in memory. Photos stand as the camera was held (EXIF orientation).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/bitmap.h"

namespace tapestrel {

enum class PictureFormat { Jpeg, Png, Tga, Pcx, Bmp, Webp, Gif, Tiff };

// The format a file's extension names ("jpg", "JPEG", "jpe", "png", "tga", "pcx", "bmp",
// "webp", "gif", "tif", "tiff").
std::optional<PictureFormat> FormatOfExtension(const std::string& extension);

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// From the size of a whole picture as shown, the size it is going to be shown at.
using FitFunction = std::function<PictureSize(PictureSize)>;

// Scans a progressive JPEG may have: encoders write about ten, the most elaborate scripts
// a few dozen.
inline constexpr int kMaxJpegScans = 256;

struct DecodeOptions {
  int dctMethod = 2;         // 0 slow integer, 1 fast integer, 2 floating point
  int jpegDither = 0;        // JPEG colour reduction: 0 none, 1 ordered, 2 Floyd-Steinberg
  int dither = 0;            // other pictures: 0 none, 1 always, 2 only with more colours than the palette
  bool fancyUpsampling = true;
  bool twoPassQuantize = true;
  int colors = 0;            // 0 full colour; otherwise reduced to at most this many (2 to 256)
  int scaleDenominator = 1;  // JPEG only: decode at 1/1, 1/2, 1/4 or 1/8 of the size
  FitFunction fit;           // none: the whole picture at the scale above
  // Shrinking to the fitted size averages the pixels under each one (a JPEG decodes at
  // the smallest DCT scale still as large as the fitted size first); otherwise each
  // takes the pixel under its centre, as COLORONCOLOR stretching does.
  bool smooth = false;
  // What shows through the transparent parts of a WebP or GIF picture (0x00RRGGBB); PNG
  // and TGA pictures show white there, as they always have.
  std::uint32_t background = 0xFFFFFF;
  std::uint64_t maxPixels = kMaxPicturePixels;  // larger pictures are refused (20005)
  // A JPEG of more scans than any encoder writes is refused (20005): each scan goes over
  // the whole picture again, so a small hostile file could cost minutes.
  int maxScans = kMaxJpegScans;
  // Asked now and then while a JPEG decodes; answering true stops it (20006).
  std::function<bool()> cancelled;
};

// Error numbers a decode raises (as RuntimeError) besides out-of-memory (7).
namespace decode_error {
inline constexpr int kJpegLoadFailed = 20003;
inline constexpr int kPictureLoadFailed = 20004;
inline constexpr int kPictureTooLarge = 20005;  // also: a JPEG of more scans than kMaxJpegScans
inline constexpr int kDecodeStopped = 20006;    // the user stopped it (DecodeOptions::cancelled)
}  // namespace decode_error

// Decodes a whole file's bytes. The result is at the fitted size; its full size is the
// whole picture's as shown (width and height swapped for a photo taken upright).
// Raises RuntimeError 20003 when a JPEG cannot be decoded, 20004 for other pictures,
// 20005 for a picture larger than kMaxPicturePixels, 7 when memory runs out.
Bitmap DecodePicture(const std::string& bytes, PictureFormat format, const DecodeOptions& options);

// The EXIF orientation (1 to 8) in the APP1 segment's payload (starting "Exif\0\0");
// 1 when there is none or it cannot be read.
int ExifOrientation(const std::uint8_t* data, std::size_t size);

// A pixel of 0xAARRGGBB (alpha 255 opaque) over a background colour, as 0x00RRGGBB.
std::uint32_t OverBackground(std::uint32_t argb, std::uint32_t background);

// A picture as stored, turned or mirrored as an EXIF orientation (1 to 8) says.
Bitmap TurnedAsShown(const Bitmap& stored, int orientation);

// Reduces a picture to a 6 x 6 x 6 colour cube, for displays of 256 colours: `dither`
// as in DecodeOptions (2 leaves a picture of at most 256 colours as it is).
void ReduceToColorCube(Bitmap& picture, int dither);

}  // namespace tapestrel
