// Makes picture files for the fuzzing corpus and the benchmarks:
//   tapestrel_make_pictures corpus DIR      one small file of each kind the readers know
//   tapestrel_make_pictures jpegs N DIR     N small JPEG files of different sizes
//   tapestrel_make_pictures samples DIR     the sample TGA and placeable WMF pictures
//   tapestrel_make_pictures scans N IN OUT  the JPEG IN with its last scan repeated N times
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/bitmap.h"
#include "tests/common/picture_builders.h"

namespace {

namespace fs = std::filesystem;
using namespace tapestrel;
using namespace tapestrel::pictures;

bool write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

int corpus(const fs::path& folder) {
  fs::create_directories(folder);
  Bitmap small(7, 5, 0x204080);
  small.Set(3, 2, 0xFFFFFF);
  const struct {
    const char* name;
    std::string bytes;
  } files[] = {
      {"baseline.jpg", Jpeg(640, 480)},
      {"grey.jpg", Jpeg(320, 200, 1)},
      {"progressive.jpg", Jpeg(1920, 1080, 3, 0xC2)},
      {"comment.jpg", Jpeg(64, 48, 3, 0xC0, "A comment")},
      {"picture.bmp", WriteBmp24(small)},
      {"logo.gif", Gif(120, 80, 0xF6)},
      {"old.pcx", Pcx(64, 32, 8, 3)},
      {"shot.tga", Tga(4, 4, 24)},
      {"chart.wmf", Wmf(2880, 1440, 1440)},
      {"little.tif", Tiff(true, {{0x100, 3, 1, 800}, {0x101, 4, 1, 600}, {0x115, 3, 1, 3}})},
      {"big.tif", Tiff(false, {{0x100, 4, 1, 1024}, {0x101, 3, 1, 768}, {0x102, 3, 3, 100}})},
      {"cmyk.tif", Tiff(true, {{0x100, 3, 1, 64}, {0x102, 3, 4, 62}, {0x115, 3, 1, 4}}) + Le16(8) + Le16(8) + Le16(8) + Le16(8)},
      // Found by the fuzzer: a bits-per-sample count so large that its size overflowed.
      {"huge-count.tif", Tiff(false, {{0x100, 3, 1, 12}, {0x102, 3, 0x61400000, 84}, {0x125, 3, 3, 100}})},
  };
  for (const auto& f : files)
    if (!write(folder / f.name, f.bytes)) return 1;
  return 0;
}

int jpegs(int count, const fs::path& folder) {
  fs::create_directories(folder);
  for (int i = 0; i < count; ++i) {
    const unsigned width = 320 + static_cast<unsigned>(i % 1600);
    const unsigned height = 200 + static_cast<unsigned>((i * 7) % 1000);
    char name[32];
    std::snprintf(name, sizeof name, "picture%05d.jpg", i);
    if (!write(folder / name, Jpeg(width, height, i % 5 ? 3 : 1, i % 3 ? 0xC0 : 0xC2))) return 1;
  }
  return 0;
}

// A TGA written by hand (bottom-up rows, as the format's default) and a metafile.
int samples(const fs::path& folder) {
  fs::create_directories(folder);
  const unsigned width = 256;
  const unsigned height = 128;
  std::string tga = Tga(width, height, 24).substr(0, 18);
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) {
      tga += static_cast<char>(x);            // blue
      tga += static_cast<char>(y * 2);        // green
      tga += static_cast<char>(255 - x);      // red
    }
  return write(folder / "sample-sunrise.tga", tga) && write(folder / "sample-chart.wmf", Wmf(2880, 1440, 1440)) ? 0 : 1;
}

int scans(int times, const fs::path& in, const fs::path& out) {
  std::ifstream file(in, std::ios::binary);
  const std::string jpeg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return !jpeg.empty() && write(out, WithLastScanRepeated(jpeg, times)) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "corpus" && argc == 3) return corpus(argv[2]);
  if (mode == "jpegs" && argc == 4) return jpegs(std::atoi(argv[2]), argv[3]);
  if (mode == "samples" && argc == 3) return samples(argv[2]);
  if (mode == "scans" && argc == 5) return scans(std::atoi(argv[2]), argv[3], argv[4]);
  std::fprintf(stderr, "usage: %s corpus DIR | jpegs N DIR | samples DIR | scans N IN OUT\n", argv[0]);
  return 2;
}
