// Speed and memory of composing three monitors (3840 x 2160, 2560 x 1440 and a portrait
// 1080 x 1920) from three 24-megapixel JPEGs, each filling its screen with smooth
// shrinking, beside the floor measured in the same run: three decodes at the smallest DCT
// scale covering each screen, an area-averaged shrink of each to its screen, and one BMP
// of the whole virtual screen written.
//
//   screens_bench              times (medians of 5) and peak memory of each, the
//                              program's next to the floor's and to its allowance (the
//                              composed bitmap plus twice the largest scaled picture)
//   screens_bench peak CASE    one case in this process, printing what its peak adds
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "app/program.h"
#include "bench/bench_support.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"
#include "wallpaper/screen_layout.h"

namespace {

using namespace tapestrel;

const Monitor kMonitors[] = {{{0, 0, 3840, 2160}, {0, 0, 3840, 2120}, true},
                             {{3840, 0, 6400, 1440}, {3840, 0, 6400, 1440}, false},
                             {{-1080, 0, 0, 1920}, {-1080, 0, 0, 1920}, false}};

std::string photoFile(int i) { return "screens-bench-" + std::to_string(i) + ".jpg"; }

// Made once by the parent; a child measuring its peak only reads them, so that making
// them does not raise its high-water mark first.
std::vector<std::string> photos(bool make) {
  std::vector<std::string> all;
  for (int i = 0; i < 3; ++i) {
    if (make) {
      const std::string jpeg = pictures::EncodedJpeg(pictures::PhotoLike(6000 + i, 4000), 90);
      bench::WriteFile(photoFile(i), jpeg);
    }
    std::string bytes = bench::ReadFile(photoFile(i));
    all.push_back(std::move(bytes));
  }
  return all;
}

// The floor: each photo decoded at the DCT scale covering its screen's fill, averaged
// down, laid in; one BMP of the whole written.
void floorCompose(const std::vector<std::string>& jpegs) {
  const PixelRect all = VirtualScreen({std::begin(kMonitors), std::end(kMonitors)});
  Bitmap canvas(static_cast<int>(all.Width()), static_cast<int>(all.Height()), 0);
  for (std::size_t i = 0; i < 3; ++i) {
    const PixelRect r = kMonitors[i].bounds;
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpegs[i].data()), static_cast<unsigned long>(jpegs[i].size()));
    jpeg_read_header(&info, TRUE);
    const double zoom = std::max(static_cast<double>(r.Width()) / info.image_width,
                                 static_cast<double>(r.Height()) / info.image_height);
    const unsigned tw = static_cast<unsigned>(info.image_width * zoom), th = static_cast<unsigned>(info.image_height * zoom);
    unsigned n = 1;
    while (n < 8 && ((info.image_width * n + 7) / 8 < tw || (info.image_height * n + 7) / 8 < th)) ++n;
    info.scale_num = n;
    info.scale_denom = 8;
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    const int w = static_cast<int>(info.output_width), h = static_cast<int>(info.output_height);
    const double across = r.Width() * w / (zoom * info.image_width), down = r.Height() * h / (zoom * info.image_height);
    AreaRows area(w, h, (w - across) / 2, (h - down) / 2, across, down, static_cast<int>(r.Width()),
                  static_cast<int>(r.Height()));
    std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
    while (info.output_scanline < info.output_height) {
      const int y = static_cast<int>(info.output_scanline);
      JSAMPROW to = reinterpret_cast<JSAMPROW>(row.data());
      jpeg_read_scanlines(&info, &to, 1);
      area.Feed(y, row.data());
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    Blit(canvas, static_cast<int>(r.left - all.left), static_cast<int>(r.top - all.top), area.Result());
  }
  bench::WriteFile("screens-floor.bmp", WriteBmp24(canvas));
}

struct ProgramCase {
  MemoryPlatform memory;
  Program program{memory.platform()};
  explicit ProgramCase(const std::vector<std::string>& jpegs) {
    memory.desktop.monitors.assign(std::begin(kMonitors), std::end(kMonitors));
    memory.desktop.platformText = "Windows NT 10.0 (build 19045)";
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    program.options.InternalDecoding = true;
    program.options.BackdropMode = backdrop::kFill;
    program.options.ScreenArrangement = static_cast<int>(ScreenArrangement::Each);
    program.frmMain.Load();
    program.decoder.LoadDecoderOptions();
    for (std::size_t i = 0; i < jpegs.size(); ++i) memory.files.WriteFile(path(i), jpegs[i]);
    program.wallpaper.OtherScreenPictures = [](const std::string&, std::size_t) {
      return std::vector<std::string>{path(1), path(2)};
    };
  }
  static std::string path(std::size_t i) { return "C:\\Photos\\photo" + std::to_string(i) + ".jpg"; }
  void Compose() {
    if (!program.wallpaper.ChangeWallpaperTo(path(0))) std::abort();
    memory.files.RemoveFile("C:\\WINDOWS\\Tapestrel Wallpaper.bmp");
  }
};

}  // namespace

int main(int argc, char** argv) {
  const bool child = argc == 3 && std::string(argv[1]) == "peak";
  const std::vector<std::string> jpegs = photos(!child);
  if (child) {
    ProgramCase program(jpegs);
    bench::PrintPeakRise([&] {
      if (std::string(argv[2]) == "floor") floorCompose(jpegs);
      else program.Compose();
    });
    return 0;
  }
  ProgramCase program(jpegs);

  std::printf("Three monitors (3840x2160, 2560x1440, 1080x1920 portrait) filled from three 24-megapixel JPEGs\n");
  const double floorTime = bench::MedianSeconds(5, [&] { floorCompose(jpegs); });
  const double programTime = bench::MedianSeconds(5, [&] { program.Compose(); });
  std::printf("  floor    %7.3f s\n  program  %7.3f s  (%.2fx the floor; at most 1.2x)\n", floorTime, programTime,
              programTime / floorTime);
  const double composed = 7480.0 * 2160 * 4 / (1 << 20);
  const double scaled = 3840.0 * 2560 * 4 / (1 << 20);  // the 4K screen's picture, covering it
  const double floorPeak = bench::PeakMiB(argv[0], {"peak", "floor"});
  const double programPeak = bench::PeakMiB(argv[0], {"peak", "program"});
  std::printf("Peak memory a composing adds, each in a process of its own:\n  floor    %7.1f MiB\n  program  %7.1f MiB"
              "  (allowance: the composed bitmap %.1f + twice the largest scaled picture %.1f = %.1f MiB)\n",
              floorPeak, programPeak, composed, 2 * scaled, composed + 2 * scaled);
  std::remove("screens-floor.bmp");
  for (int i = 0; i < 3; ++i) std::remove(photoFile(i).c_str());
  return 0;
}
