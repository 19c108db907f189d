// Speed and memory of a wallpaper change from a 24-megapixel baseline JPEG to the working
// bitmap for a 1920 x 1080 screen (decode, fit, write), beside the floor measured in the
// same run: a plain libjpeg-turbo decode at the smallest DCT scale that still covers the
// fitted size, a nearest-neighbour shrink and a BMP written, nothing else.
//
//   decode_bench              times (medians of 7) and, on Linux, peak memory of each,
//                             every figure next to the floor's
//   decode_bench peak CASE F  one case in this process on the JPEG file F, printing its
//                             peak memory (the parent runs each case in a fresh process)
// On Windows it also times the real program: Ctrl+N onto a 24-megapixel JPEG until the
// new wallpaper is set, through each decoder.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "tests/e2e/e2e_support.h"
#endif

extern "C" {
#include <jpeglib.h>
}

#include "app/program.h"
#include "bench/bench_support.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace {

using namespace tapestrel;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
constexpr int kPhotoWidth = 6000;
constexpr int kPhotoHeight = 4000;

[[maybe_unused]] double now() {  // the real program's timing, on Windows
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string photoJpeg() { return pictures::EncodedJpeg(pictures::PhotoLike(kPhotoWidth, kPhotoHeight), 90); }

// The floor: decode at n/8, shrink to the fitted size, write a 24-bit BMP.
void floorDecode(const std::string& jpeg, const std::string& output) {
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  const double zoom = std::min(static_cast<double>(kScreenWidth) / info.image_width,
                               static_cast<double>(kScreenHeight) / info.image_height);
  const int tw = static_cast<int>(info.image_width * zoom + 0.5);
  const int th = static_cast<int>(info.image_height * zoom + 0.5);
  int n = 1;
  while (n < 8 && ((info.image_width * n + 7) / 8 < static_cast<unsigned>(tw) ||
                   (info.image_height * n + 7) / 8 < static_cast<unsigned>(th)))
    ++n;
  info.scale_num = static_cast<unsigned>(n);
  info.scale_denom = 8;
  info.out_color_space = JCS_EXT_BGR;
  jpeg_start_decompress(&info);
  const int w = static_cast<int>(info.output_width);
  const int h = static_cast<int>(info.output_height);
  std::vector<unsigned char> decoded(static_cast<std::size_t>(w) * h * 3);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = decoded.data() + static_cast<std::size_t>(info.output_scanline) * w * 3;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  const int stride = (tw * 3 + 3) & ~3;
  std::vector<unsigned char> bmp(54 + static_cast<std::size_t>(stride) * th, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) { std::memcpy(&bmp[at], &v, 4); };
  bmp[0] = 'B', bmp[1] = 'M';
  put32(2, static_cast<std::uint32_t>(bmp.size())), put32(10, 54), put32(14, 40), put32(18, static_cast<std::uint32_t>(tw));
  put32(22, static_cast<std::uint32_t>(th)), bmp[26] = 1, bmp[28] = 24;
  for (int y = 0; y < th; ++y) {
    const int sy = static_cast<int>((2ll * y + 1) * h / (2ll * th));
    unsigned char* to = &bmp[54 + static_cast<std::size_t>(th - 1 - y) * stride];
    for (int x = 0; x < tw; ++x) {
      const int sx = static_cast<int>((2ll * x + 1) * w / (2ll * tw));
      std::memcpy(to + 3 * x, &decoded[(static_cast<std::size_t>(sy) * w + sx) * 3], 3);
    }
  }
  bench::WriteFile(output, bmp.data(), bmp.size());
}

// The program's own wallpaper change, on the in-memory platform over real files.
struct ProgramCase {
  MemoryPlatform memory;
  Program program{memory.platform()};
  explicit ProgramCase(int colourDepth) {
    memory.desktop.screenWidth = kScreenWidth * 15;
    memory.desktop.screenHeight = kScreenHeight * 15;
    memory.desktop.colorDepth = colourDepth;
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    program.options.InternalDecoding = true;
    // Shrinking as the floor does, by the nearest pixel; the averaged shrink is measured
    // against a floor of its own by screens_bench and webp_bench.
    program.options.SmoothShrinking = false;
    program.frmMain.Load();
    program.decoder.LoadDecoderOptions();
  }
  void Change(const std::string& jpeg) {
    memory.files.WriteFile("C:\\Photos\\photo.jpg", jpeg);
    if (!program.wallpaper.ChangeWallpaperTo("C:\\Photos\\photo.jpg")) std::abort();
  }
};


const char* const kCases[] = {"floor", "internal", "internal-256"};

// Runs one case once; the caller measures.
void runCase(const std::string& name, const std::string& jpeg, ProgramCase* program) {
  if (name == "floor") floorDecode(jpeg, "floor-output.bmp");
  else program->Change(jpeg);
}

#ifdef _WIN32
// The real program under Windows: the median of five Ctrl+N changes between two
// 24-megapixel JPEGs, each timed from the key to the desktop's new wallpaper value.
double realProgramChange(bool internal, const std::string& jpeg) {
  e2e::TempFolder folder("tapestrel-decode-bench");
  folder.write("a.jpg", jpeg);
  folder.write("b.jpg", jpeg);
  e2e::deleteStore();
  e2e::setStoredSetting("PictureDirectory1", folder.path());
  e2e::setStoredSetting("InternalDecoding", internal ? "True" : "False");
  e2e::RunningProgram program;
  const HWND window = e2e::waitForWindow("Tapestrel", 20000);
  if (!window) return -1;
  SetForegroundWindow(window);
  Sleep(300);
  e2e::pressKeys({VK_CONTROL, 'A'});
  Sleep(300);
  e2e::pressKeys({VK_CONTROL, 'N'});
  if (HWND question = e2e::findMessageBox(
          "No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?",
          10000))
    PostMessageA(question, WM_COMMAND, IDYES, 0);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string working = std::string(windows) + "\\Tapestrel Wallpaper.bmp";
  e2e::waitForDesktopValue("Wallpaper", working, 30000);
  // The change is complete when the program has stored the new picture's name, which it
  // does once Windows has the new wallpaper (the desktop value itself stays the working
  // bitmap's path from change to change).
  std::vector<double> times;
  for (int i = 0; i < 5; ++i) {
    const std::string next = folder.path() + (i % 2 == 0 ? "b.jpg" : "a.jpg");
    SetForegroundWindow(window);
    Sleep(200);
    const double start = now();
    e2e::pressKeys({VK_CONTROL, 'N'});
    for (int waited = 0; waited < 60000 && e2e::storedSetting("WallPaperName") != next; ++waited) Sleep(2);
    times.push_back(now() - start);
  }
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  program.WaitForExit(20000, code);
  e2e::deleteStore();
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}
#endif


}  // namespace

int main(int argc, char** argv) {
#ifndef _WIN32
  if (argc == 4 && std::string(argv[1]) == "peak") {
    // One case in a fresh process: what its peak rises by over the process at rest
    // (the program set up and the JPEG's bytes read).
    const std::string name = argv[2];
    const std::string jpeg = bench::ReadFile(argv[3]);
    ProgramCase program(name == "internal-256" ? 8 : 24);
    bench::PrintPeakRise([&] { runCase(name, jpeg, &program); });
    return 0;
  }
#else
  (void)argc;
#endif
  const std::string jpeg = photoJpeg();
  const std::string photoFile = "decode-bench-photo.jpg";
  bench::WriteFile(photoFile, jpeg);
  std::printf("24-megapixel (%d x %d) baseline JPEG of %.1f MB to the working bitmap of a %d x %d screen\n",
              kPhotoWidth, kPhotoHeight, jpeg.size() / 1e6, kScreenWidth, kScreenHeight);
  double floorTime = 0;
  for (const char* name : kCases) {
    ProgramCase program(std::string(name) == "internal-256" ? 8 : 24);
    runCase(name, jpeg, &program);
    const double t = bench::MedianSeconds(7, [&] { runCase(name, jpeg, &program); });
    if (std::string(name) == "floor") floorTime = t;
    std::printf("  %-13s %7.3f s  (%.2fx the floor)\n", name, t, t / floorTime);
  }
#ifndef _WIN32
  std::printf("Peak memory a change adds, each in a process of its own:\n");
  const double floorPeak = bench::PeakMiB(argv[0], {"peak", "floor", photoFile.c_str()});
  for (const char* name : kCases) {
    const double peak = name == std::string("floor") ? floorPeak : bench::PeakMiB(argv[0], {"peak", name, photoFile.c_str()});
    std::printf("  %-13s %7.1f MiB (%.2fx the floor)\n", name, peak, peak / floorPeak);
  }
#else
  (void)argv;
  std::printf("The real program, Ctrl+N until the new wallpaper is set and its name stored (median of 5):\n");
  for (bool internal : {true, false})
    std::printf("  %-13s %7.3f s\n", internal ? "internal" : "external (Jpg2Bmp.exe)", realProgramChange(internal, jpeg));
#endif
  std::remove(photoFile.c_str());
  std::remove("floor-output.bmp");
  return 0;
}
