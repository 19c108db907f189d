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

// Area averaging (a box filter): each target pixel is the mean of the source area under
// it, a source pixel cut by the area's edge counted by the part inside. Shrinking a photo
// this way keeps its fine detail from turning into stripes and dots. The source area may
// be a part of the source, given in source pixels (fractions allowed). Source rows are
// fed one at a time from the top, so a decoder never needs the whole source in memory.
class AreaRows {
 public:
  AreaRows(int sourceWidth, int sourceHeight, double left, double top, double across, double down, int width,
           int height);
  // Whether a source row lies under the area at all.
  bool Wanted(int sourceRow) const;
  // One source row (0x??RRGGBB; the top byte is dropped); rows must come in order.
  void Feed(int sourceRow, const std::uint32_t* row);
  // The picture, once every wanted row was fed.
  Bitmap& Result() { return out_; }

 private:
  struct Share {
    int index;     // source pixel (across) or target row (down)
    float weight;  // its part of the target pixel
  };
  // For each target pixel of an axis, the source pixels under it and their shares.
  static void Spans(int sourceCount, double from, double length, int count, std::vector<int>& start,
                    std::vector<Share>& shares);

  Bitmap out_;
  std::vector<int> columnStart_;
  std::vector<Share> columns_;
  std::vector<int> rowStart_;   // by source row: into rowsOfSource_
  std::vector<Share> rowsOfSource_;
  std::vector<int> lastSourceRow_;  // by target row: the row that completes it
  std::vector<float> across_;       // one source row averaged across, three channels
  std::vector<std::vector<float>> open_;  // target rows being summed, by target row
};

// The area [left, left + across) x [top, top + down) of a picture, scaled by area
// averaging to width x height.
Bitmap ScaleArea(const Bitmap& source, double left, double top, double across, double down, int width, int height);
// The same area, each target pixel taking the source pixel under its centre.
Bitmap StretchAreaNearest(const Bitmap& source, double left, double top, double across, double down, int width,
                          int height);
// The whole picture, by area averaging.
Bitmap ShrinkSmooth(const Bitmap& source, int width, int height);

// Copies `source` into `target` with its top-left corner at (x, y), clipped to the target.
void Blit(Bitmap& target, int x, int y, const Bitmap& source);

}  // namespace tapestrel
