// Speed of filling the file list on Windows, each figure beside a plain directory listing
// (FindFirstFile/FindNextFile, names only) of the same folder in the same run:
//   - the program's own directory search (names, sizes, dates);
//   - speed fill of 20,000 files into the list model and its owner-data list view;
//   - fill with every header read (speed fill off) of 20,000 JPEG files;
//   - the real program: F5 in its window until the 20,000 files are in its list view;
//   - the real program's start-up fill: launch until its shown list holds the 20,000
//     files, less launch until a list of 3 files is shown (medians).
// Run under Wine by scripts/bench; prints one line a measurement.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_services.h"
#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel;

constexpr int kFiles = 20000;

double seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The best of `runs` timings of `work`, in milliseconds (the first run warms the caches).
double best(int runs, const std::function<void()>& work) {
  double fastest = 1e30;
  for (int i = 0; i < runs; ++i) {
    const double start = seconds();
    work();
    fastest = std::min(fastest, (seconds() - start) * 1000.0);
  }
  return fastest;
}

// A folder of kFiles pictures of one kind, made once and kept for later runs.
std::string makeFolder(const char* name, const char* extension, const std::function<std::string(int)>& bytes) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  for (int i = 0; i < kFiles; ++i) {
    char file[32];
    std::snprintf(file, sizeof file, "picture%05d.%s", i, extension);
    const std::string path = folder + file;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) e2e::writeFile(path, bytes(i));
  }
  return folder;
}

int plainListing(const std::string& folder) {
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  int names = 0;
  do names += found.cFileName[0] != '.';
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

void report(const char* what, double milliseconds, double listing) {
  std::printf("%-44s %8.1f ms  %9.0f files/s  %5.2fx the listing\n", what, milliseconds, kFiles * 1000.0 / milliseconds,
              milliseconds / listing);
}

// The program's logic on the real file system, user interface and list view; settings
// and registry in memory so that the user's own are not touched.
struct InProcess {
  MemoryPlatform memory;
  Win32FileSystem files;
  Win32Ui ui;
  Win32Desktop desktop;
  Platform platform{memory.registry, memory.settings, memory.profiles, files, ui, memory.clock, desktop, memory.processes, memory.gvbox, memory.shell, memory.mci};
  Program program{platform};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};

  InProcess() {
    program.state.HeaderReaderQuiet = true;
    program.frmMain.SetRenderer(&renderer);
    program.frmMain.Load();
    program.frmMain.ApplySettings();
  }
  ~InProcess() { program.frmMain.Unload(); }

  double fill(const std::string& folder, int list, int speedFill) {
    program.options.SpeedFill = speedFill;
    program.files.ShowList(list);
    return best(5, [&] {
      program.files.ClearListView();
      program.files.FillListView(folder);
      const HWND view = renderer.WindowOf(program.frmMain.lstvFiles[list]);
      if (ListView_GetItemCount(view) != kFiles) std::printf("  (only %d files listed)\n", ListView_GetItemCount(view));
    });
  }
};

// F5 in the real program's window, timed until its list view holds every file.
void realProgram(const std::string& folder, const char* speedFill, double listing) {
  e2e::deleteStore();
  e2e::setStoredSetting("PictureDirectory1", folder);
  e2e::setStoredSetting("SpeedFill", speedFill);
  e2e::RunningProgram program;
  const HWND window = e2e::waitForWindow("Tapestrel", 60000);
  if (!window) {
    std::printf("the program did not start\n");
    return;
  }
  HWND list = nullptr;
  for (int i = 0; i < 600 && !(list = e2e::findVisibleChild(window, WC_LISTVIEWA)); ++i) Sleep(100);
  for (int i = 0; i < 600 && ListView_GetItemCount(list) != kFiles; ++i) Sleep(100);
  double fastest = 1e30;
  for (int run = 0; run < 3; ++run) {
    SetForegroundWindow(window);
    e2e::pressKeys({VK_SHIFT, VK_DELETE});  // "Clear"
    for (int i = 0; i < 200 && ListView_GetItemCount(list) != 0; ++i) Sleep(10);
    e2e::clickOn(list);  // "Refresh" works on the pane that has the focus
    Sleep(200);
    const double start = seconds();
    e2e::pressKeys({VK_F5});  // "Refresh"
    while (ListView_GetItemCount(list) != kFiles && seconds() - start < 30) Sleep(1);
    fastest = std::min(fastest, (seconds() - start) * 1000.0);
  }
  report(std::string(std::string("real program, F5 until listed (speed fill ") + speedFill + ")").c_str(), fastest, listing);
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  program.WaitForExit(20000, code);
  e2e::deleteStore();
}

// Launches the real program on `folder` and answers the milliseconds until its window is
// shown with `files` items in its list (negative when that did not happen).
double launchUntilListed(const std::string& folder, int files) {
  e2e::deleteStore();
  e2e::setStoredSetting("PictureDirectory1", folder);
  const double start = seconds();
  e2e::RunningProgram program;
  double listed = -1;
  HWND window = nullptr;
  while (program.started() && seconds() - start < 60) {
    window = FindWindowA("TapestrelForm", "Tapestrel");
    if (window && IsWindowVisible(window)) {
      const HWND list = e2e::findVisibleChild(window, WC_LISTVIEWA);
      if (list && ListView_GetItemCount(list) == files) {
        listed = (seconds() - start) * 1000.0;
        break;
      }
    }
    Sleep(1);
  }
  if (window) PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  program.WaitForExit(20000, code);
  e2e::deleteStore();
  return listed;
}

// The start-up fill alone: what a full folder adds to the launch of a nearly empty one.
// A launch varies by a tenth of a second or more from run to run, as much as the fill
// takes: the medians of seven of each, taken in turn.
void startUpFill(const std::string& folder, double listing) {
  e2e::TempFolder three("tapestrel-bench-three");
  for (int i = 0; i < 3; ++i) three.writeBitmap("small" + std::to_string(i) + ".bmp", 8, 6, 0x336699);
  std::vector<double> few, full;
  for (int run = 0; run < 7; ++run) {
    few.push_back(launchUntilListed(three.path(), 3));
    full.push_back(launchUntilListed(folder, kFiles));
    if (few.back() < 0 || full.back() < 0) {
      std::printf("the program did not list the folder at start-up\n");
      return;
    }
  }
  const auto median = [](std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  };
  std::printf("%-44s %8.1f ms\n", "real program, launch until 3 files listed", median(few));
  std::printf("%-44s %8.1f ms\n", "real program, launch until all listed", median(full));
  report("real program, start-up fill (the difference)", median(full) - median(few), listing);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string jpegs = makeFolder("tapestrel-bench-jpeg", "jpg", [](int i) {
    return pictures::Jpeg(320 + i % 1600, 200 + (i * 7) % 1000);
  });
  const std::string bitmaps = makeFolder("tapestrel-bench-bmp", "bmp", [](int i) {
    std::string header = "BM" + pictures::Le32(54) + pictures::Le32(0) + pictures::Le32(54) + pictures::Le32(40) +
                         pictures::Le32(640 + i % 100) + pictures::Le32(480) + pictures::Le16(1) + pictures::Le16(24);
    return header + std::string(54 - header.size(), '\0');
  });

  const double listing = best(5, [&] {
    if (plainListing(jpegs) != kFiles) std::printf("  (listing miscounted)\n");
  });
  std::printf("%-44s %8.1f ms  %9.0f files/s\n", "plain listing (FindFirstFile, names)", listing, kFiles * 1000.0 / listing);
  Win32FileSystem files;
  report("program's directory search", best(5, [&] { files.FindFiles(jpegs + "*.jp?"); }), listing);
  report("the same with the folder's sub-folders", best(5, [&] {
    std::vector<FoundFile> found;
    std::vector<std::string> subFolders;
    files.FindFiles(jpegs + "*.jp?", found, &subFolders);
  }), listing);
  {
    InProcess in;
    // What a fill does for every file besides listing it: the parts, each on its own.
    report("  yield to pending events, per file", best(3, [&] { for (int i = 0; i < kFiles; ++i) in.ui.DoEvents(); }), listing);
    report("  Esc test, per file", best(3, [&] { for (int i = 0; i < kFiles; ++i) in.desktop.KeyPressed(VK_ESCAPE); }), listing);
    report("  progress text, every tenth file", best(3, [&] {
      for (int i = 0; i < kFiles; i += 10) in.program.frmMain.ChangeMainStatusMsg("Reading in file list: Total " + std::to_string(i));
    }), listing);
    report("  open, read 512 bytes, close, per file", best(3, [&] {
      char bytes[512];
      for (int i = 0; i < kFiles; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "picture%05d.jpg", i);
        auto in_file = files.OpenRead(jpegs + file);
        if (in_file) in_file->Read(bytes, sizeof bytes);
      }
    }), listing);
    report("speed fill into the list view", in.fill(jpegs, 0, 1), listing);
    report("fill with headers (speed fill off)", in.fill(jpegs, 0, 0), listing);
  }
  char inProcessOnly[8] = {};
  GetEnvironmentVariableA("TAPESTREL_BENCH_IN_PROCESS_ONLY", inProcessOnly, sizeof inProcessOnly);
  if (inProcessOnly[0] == '1') return 0;
  const double bitmapListing = best(5, [&] { plainListing(bitmaps); });
  realProgram(bitmaps, "1", bitmapListing);
  startUpFill(bitmaps, bitmapListing);
  realProgram(bitmaps, "0", bitmapListing);
  return 0;
}
