// Speed and memory of a wallpaper change from a 24-megapixel WebP to the working bitmap of
// a 1920 x 1080 screen, beside the floor measured in the same run: a plain libwebp decode
// of the whole picture, an area-averaged shrink to the fitted size and a BMP written.
//
//   webp_bench              times (medians of 5) and peak memory of each
//   webp_bench peak CASE F  one case in this process on the WebP file F
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <webp/decode.h>
#include <webp/encode.h>

#include "app/program.h"
#include "bench/bench_support.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace {

using namespace tapestrel;

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;


void floorDecode(const std::string& webp) {
  int width = 0, height = 0;
  std::uint8_t* pixels = WebPDecodeBGRA(reinterpret_cast<const std::uint8_t*>(webp.data()), webp.size(), &width, &height);
  Bitmap whole(width, height, 0);
  std::copy_n(reinterpret_cast<const std::uint32_t*>(pixels), whole.pixels.size(), whole.pixels.begin());
  WebPFree(pixels);
  const double zoom = std::min(static_cast<double>(kScreenWidth) / width, static_cast<double>(kScreenHeight) / height);
  const Bitmap shrunk = ShrinkSmooth(whole, static_cast<int>(width * zoom + 0.5), static_cast<int>(height * zoom + 0.5));
  bench::WriteFile("webp-floor.bmp", WriteBmp24(shrunk));
}

struct ProgramCase {
  MemoryPlatform memory;
  Program program{memory.platform()};
  explicit ProgramCase(const std::string& webp) {
    memory.desktop.screenWidth = kScreenWidth * 15;
    memory.desktop.screenHeight = kScreenHeight * 15;
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    program.options.InternalDecoding = true;
    program.frmMain.Load();
    program.decoder.LoadDecoderOptions();
    memory.files.WriteFile("C:\\Photos\\photo.webp", webp);
  }
  void Change() {
    if (!program.wallpaper.ChangeWallpaperTo("C:\\Photos\\photo.webp")) std::abort();
    memory.files.RemoveFile("C:\\WINDOWS\\Tapestrel Wallpaper.bmp");
  }
};

}  // namespace

int main(int argc, char** argv) {
  const std::string photoFile = "webp-bench-photo.webp";
  if (argc == 4 && std::string(argv[1]) == "peak") {
    const std::string webp = bench::ReadFile(argv[3]);
    ProgramCase program(webp);
    bench::PrintPeakRise([&] {
      if (std::string(argv[2]) == "floor") floorDecode(webp);
      else program.Change();
    });
    return 0;
  }
  const Bitmap photo = pictures::PhotoLike(6000, 4000);
  std::uint8_t* encoded = nullptr;
  const std::size_t size = WebPEncodeBGRA(reinterpret_cast<const std::uint8_t*>(photo.pixels.data()), photo.width,
                                          photo.height, photo.width * 4, 85, &encoded);
  const std::string webp(reinterpret_cast<const char*>(encoded), size);
  WebPFree(encoded);
  bench::WriteFile(photoFile, webp);
  std::printf("24-megapixel (6000 x 4000) lossy WebP of %.1f MB to the working bitmap of a %d x %d screen\n",
              webp.size() / 1e6, kScreenWidth, kScreenHeight);
  ProgramCase program(webp);

  const double floorTime = bench::MedianSeconds(5, [&] { floorDecode(webp); });
  const double programTime = bench::MedianSeconds(5, [&] { program.Change(); });
  std::printf("  floor    %7.3f s\n  program  %7.3f s  (%.2fx the floor; at most 1.2x)\n", floorTime, programTime,
              programTime / floorTime);
  const double floorPeak = bench::PeakMiB(argv[0], {"peak", "floor", photoFile.c_str()});
  const double programPeak = bench::PeakMiB(argv[0], {"peak", "program", photoFile.c_str()});
  std::printf("Peak memory a change adds, each in a process of its own:\n  floor    %7.1f MiB\n  program  %7.1f MiB\n",
              floorPeak, programPeak);
  std::remove(photoFile.c_str());
  std::remove("webp-floor.bmp");
  return 0;
}
