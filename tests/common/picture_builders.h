// Small picture files made byte by byte, for tests, the fuzzing corpus and benchmarks:
// JPEG marker streams, TIFF directories and the fixed headers of the other formats.
#pragma once

#include <string>
#include <vector>

#include "platform/bitmap.h"

namespace tapestrel::pictures {

std::string Be16(unsigned value);
std::string Le16(unsigned value);
std::string Le32(unsigned value);
std::string Be32(unsigned value);

// A JPEG segment: its marker, its length (counting itself) and its body.
std::string Segment(int marker, const std::string& body);
// A frame header with per-component bytes, as a start-of-frame marker carries it.
std::string FrameHeader(int marker, int precision, unsigned width, unsigned height, int components);
std::string StartOfImage();
// A start of scan, some entropy-coded bytes and the end of the image.
std::string ScanAndEnd();
std::string App0();
std::string HuffmanTable();
// A whole small JPEG-like file: everything a header reader walks, in the usual order.
std::string Jpeg(unsigned width, unsigned height, int components = 3, int marker = 0xC0, const std::string& comment = "");

struct TiffEntry {
  unsigned tag;
  unsigned type;  // 3 SHORT, 4 LONG
  unsigned count;
  unsigned value;
};
std::string Tiff(bool littleEndian, const std::vector<TiffEntry>& entries);

std::string Gif(unsigned width, unsigned height, int packed);
std::string Pcx(unsigned width, unsigned height, int bitsPerPixel, int planes);
std::string Tga(unsigned width, unsigned height, int depth);
// A placeable metafile of the given size in units, with a rectangle filling it.
std::string Wmf(unsigned width, unsigned height, unsigned unitsPerInch);

// A real baseline JPEG of a picture, encoded by libjpeg-turbo.
std::string EncodedJpeg(const Bitmap& picture, int quality = 90);
// A hostile JPEG made of a real one: its last scan (a progressive JPEG's last
// refinement) repeated `times` times more before the end. Each repeat makes a decoder go
// over the whole picture again for a few bytes of file.
std::string WithLastScanRepeated(const std::string& jpeg, int times);
// A JPEG with an EXIF segment that says how the camera was held (orientation 1 to 8).
std::string WithOrientation(const std::string& jpeg, int orientation);
// A photo-like picture: smooth gradients with a sensor's grain, which JPEG codes (and
// sizes) as it does a photo.
Bitmap PhotoLike(int width, int height);
// A picture of four coloured quarters (red, green / blue, white), easy to check after
// shrinking.
Bitmap Quarters(int width, int height);

}  // namespace tapestrel::pictures
