// Deleting and moving 5,000 selected files on Windows: how long each takes, and the
// longest stretch in which the window got no chance to paint (between two passes over
// its message queue), against the shell's own operation in the same run. Run under Wine
// by scripts/bench.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_services.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel;

constexpr int kFiles = 5000;

double seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The real user interface, noting when the window last had its messages run.
struct WatchedUi : Win32Ui {
  void DoEvents() override {
    const double now = seconds();
    if (last > 0) longest = std::max(longest, now - last);
    last = now;
    Win32Ui::DoEvents();
  }
  // Messages (the one-time notice before the first move) are answered at once and counted.
  int MsgBox(const std::string&, int, const std::string&) override {
    ++messages;
    return mb::IdOk;
  }
  int messages = 0;
  double last = 0;
  double longest = 0;
};

struct InProcess {
  MemoryPlatform memory;
  Win32FileSystem files;
  WatchedUi ui;
  Win32Desktop desktop;
  Win32Shell shell;
  Platform platform{memory.registry, memory.settings, memory.profiles, files, ui, memory.clock, desktop,
                    memory.processes, memory.gvbox, shell, memory.mci};
  Program program{platform};
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  InProcess() {
    program.state.HeaderReaderQuiet = true;
    program.frmMain.SetRenderer(&renderer);
    program.frmMain.Load();
    program.frmMain.ApplySettings();
    program.options.DeleteConfirmation = false;
    program.frmYesNoAllCancel.WhileModal = [this] { program.frmYesNoAllCancel.cmdYesToAll.Click(); };
  }
  ~InProcess() { program.frmMain.Unload(); }

  void selectAll(const std::string& folder) {
    program.files.ShowList(1);
    program.files.ClearListView();
    program.files.FillListView(folder);
    ListView& list = program.files.Current();
    for (int i = 0; i < list.Count(); ++i) list.UserSelected(i, true);
  }
};

std::string makeFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

void fill(const std::string& folder) {
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "picture %05d.bmp", i);
    e2e::writeFile(folder + name, "BM");
  }
}

// The shell alone, moving the same files: the floor of the program's move.
double shellMove(const std::string& from, const std::string& to) {
  std::string source, target;
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "picture %05d.bmp", i);
    source += from + name + '\0';
    target += to + name + '\0';
  }
  source += '\0';
  target += '\0';
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_MOVE;
  op.pFrom = source.c_str();
  op.pTo = target.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_FILESONLY | FOF_MULTIDESTFILES | FOF_NOCONFIRMATION | FOF_SILENT;
  const double start = seconds();
  SHFileOperationA(&op);
  return seconds() - start;
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::string from = makeFolder("tapestrel-ops-from");
  const std::string to = makeFolder("tapestrel-ops-to");
  fill(from);
  const double floor = shellMove(from, to);
  const double back = shellMove(to, from);
  std::printf("Shell alone, moving %d files: %.2f s (and back %.2f s)\n", kFiles, floor, back);

  InProcess p;
  p.program.options.Folders[5] = to;
  p.program.options.MoveDirectory = 5;
  p.selectAll(from);
  p.ui.last = p.ui.longest = 0;
  double start = seconds();
  p.program.operations.OperateOnFiles(FileOperations::Move);
  p.ui.DoEvents();  // the stretch up to the end counts too
  std::printf("Program, Move of %d selected files: %.2f s; longest stretch without painting %.3f s; %d left listed\n",
              kFiles, seconds() - start, p.ui.longest, p.program.files.Current().Count());

  p.selectAll(to);
  p.ui.last = p.ui.longest = 0;
  start = seconds();
  p.program.operations.OperateOnFiles(FileOperations::Delete);
  p.ui.DoEvents();
  std::printf("Program, Delete of %d selected files: %.2f s; longest stretch without painting %.3f s; %d left listed\n",
              kFiles, seconds() - start, p.ui.longest, p.program.files.Current().Count());
  RemoveDirectoryA(to.c_str());
  RemoveDirectoryA(from.c_str());
  return 0;
}
