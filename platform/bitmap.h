// A picture in memory, and the BMP file format: reading every common kind of BMP and
// writing 24-bit ones; nearest-neighbour stretching and copying between pictures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tapestrel {

struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows from the top
  // A picture decoded straight to the size it is shown at keeps the size of the whole
  // picture it stands for (0: its own).
  int fullWidth = 0;
  int fullHeight = 0;

  Bitmap() = default;
  Bitmap(int w, int h, std::uint32_t fill = 0xFFFFFF)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  void Set(int x, int y, std::uint32_t rgb) { pixels[static_cast<std::size_t>(y) * width + x] = rgb; }
  bool Empty() const { return width <= 0 || height <= 0; }
  int FullWidth() const { return fullWidth > 0 ? fullWidth : width; }
  int FullHeight() const { return fullHeight > 0 ? fullHeight : height; }
};

// The largest picture the program takes on (pixels), so that a damaged or hostile file
// cannot make it ask for more memory than a picture could need.
inline constexpr std::uint64_t kMaxPicturePixels = 1ull << 28;
// The most memory one picture's decoding may take (bytes): a picture that would need more
// is refused before any is asked for, rather than make the user wait for the system to
// refuse it (a 32-bit program has 2 GiB in all).
inline constexpr std::uint64_t kPictureMemoryBudget = 512ull << 20;

// Reads a BMP file: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up and top-down rows,
// uncompressed, RLE8, RLE4 and bit-field pixels, Windows and OS/2 headers. Nothing for a
// file that is not a BMP, is cut short or is damaged; `why` then says what was wrong.
std::optional<Bitmap> ReadBmp(const std::string& bytes, std::string* why = nullptr);

// The picture as a 24-bit bottom-up BMP file.
std::string WriteBmp24(const Bitmap& picture);

// A copy of `source` stretched or shrunk to exactly width x height pixels, each taking
// the source pixel under its centre (no blending, as COLORONCOLOR stretching does).
Bitmap StretchNearest(const Bitmap& source, int width, int height);

// Copies `source` into `target` with its top-left corner at (x, y), clipped to the target.
void Blit(Bitmap& target, int x, int y, const Bitmap& source);

}  // namespace tapestrel
