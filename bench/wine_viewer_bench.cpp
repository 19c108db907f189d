// The full-screen viewer on Windows with a 24-megapixel JPEG: showing it fitted to the
// screen (the decoder stops at the smallest scale that covers the screen) beside a
// decode of the whole picture, and scrolling it at its own size ("None"): how long a
// step of the scroll bar takes to paint and how much of the screen it has to paint
// again. Run under Wine by scripts/bench.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/picture_decoder.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_services.h"
#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel;

double seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct InProcess {
  MemoryPlatform memory;
  Win32FileSystem files;
  Win32Desktop desktop;
  Win32Gvbox gvbox{files};
  Platform platform{memory.registry, memory.settings, memory.profiles, files, memory.ui, memory.clock, desktop,
                    memory.processes, gvbox, memory.shell, memory.mci};
  Program program{platform};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  InProcess() {
    program.state.HeaderReaderQuiet = true;
    program.options.InternalDecoding = true;
    program.frmMain.SetRenderer(&renderer);
    program.frmFullScreen.SetRenderer(&renderer);
    program.frmMain.Load();
    program.decoder.LoadDecoderOptions();
  }
  ~InProcess() {
    program.frmFullScreen.Unload();
    program.frmMain.Unload();
  }
  HWND picture() { return renderer.WindowOf(program.frmFullScreen.picFullScreen); }
};

void pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "tapestrel-viewer-bench.jpg";
  const std::string jpeg = pictures::EncodedJpeg(pictures::PhotoLike(6000, 4000), 90);
  e2e::writeFile(path, jpeg);
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
  std::printf("24-megapixel (6000 x 4000) JPEG of %.1f MB in the viewer on a %d x %d screen\n",
              static_cast<double>(jpeg.size()) / (1 << 20), screenWidth, screenHeight);

  // The floor of a whole-picture view: decoding every pixel.
  std::vector<double> whole;
  for (int run = 0; run < 3; ++run) {
    const double start = seconds();
    const Bitmap decoded = DecodePicture(jpeg, PictureFormat::Jpeg, DecodeOptions{});
    whole.push_back(seconds() - start);
    if (decoded.Empty()) return 1;
  }
  std::printf("Decoding the whole picture: %.3f s (median of 3)\n", median(whole));

  InProcess p;
  FrmFullScreen& viewer = p.program.frmFullScreen;
  std::vector<double> fitted;
  for (int run = 0; run < 3; ++run) {
    const double start = seconds();
    if (!viewer.ShowInViewer(path)) return 1;
    UpdateWindow(p.renderer.WindowOf(viewer));
    UpdateWindow(p.picture());
    fitted.push_back(seconds() - start);
    pump();
  }
  std::printf("Viewer, fitted to the screen (shown and painted): %.3f s (median of 3), picture %d x %d\n",
              median(fitted), viewer.picFullScreen.Picture()->width, viewer.picFullScreen.Picture()->height);

  // At its own size: each step of the horizontal bar moves the picture by one small step.
  p.program.options.ViewingWindowSize = 4;
  double start = seconds();
  if (!viewer.ShowInViewer(path)) return 1;
  UpdateWindow(p.picture());
  pump();
  std::printf("Viewer, at its own size (shown and painted): %.3f s\n", seconds() - start);
  ScrollBar& bar = viewer.hsbFullScreenView;
  const int tpp = p.desktop.TwipsPerPixel();
  const int step = 16 * tpp;  // 16 pixels a step, as a held arrow key of a bar gives
  std::vector<double> times;
  double repainted = 0;
  const int steps = 100;
  for (int i = 1; i <= steps; ++i) {
    const double begin = seconds();
    bar.SetValue(bar.Min + i * step);
    RECT dirty{};
    GetUpdateRect(p.picture(), &dirty, FALSE);
    repainted += static_cast<double>(dirty.right - dirty.left) * (dirty.bottom - dirty.top);
    UpdateWindow(p.picture());
    times.push_back(seconds() - begin);
  }
  pump();
  std::printf("Scrolling 16 pixels a step: %.2f ms a step (median of %d), %.1f%% of the screen painted again a step\n",
              median(times) * 1000, steps, 100.0 * repainted / steps / (static_cast<double>(screenWidth) * screenHeight));
  DeleteFileA(path.c_str());
  return 0;
}
