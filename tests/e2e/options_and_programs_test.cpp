// The options dialog and the outside programs in the real program: a box changed and
// "O&K" reaches the store, another changed and "CANCEL" or Esc is put back, Ctrl+Tab
// steps through the tabs; Explore
// Folder starts the Explorer with the folder to select; a viewer of our own receives the
// selected files, one argument each.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

std::string windowsPath(std::string path) {
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

bool waitVisible(HWND window, bool visible, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if ((IsWindowVisible(window) != FALSE) == visible) return true;
    Sleep(50);
  }
  return false;
}

// Opens the dialog with its shortcut and brings one of its tabs up with the mouse.
HWND openOptionsAt(HWND main, int tab) {
  SetForegroundWindow(main);
  pressKeys({VK_CONTROL, VK_F1});
  const HWND dialog = waitForWindow("Tapestrel Options", 10000);
  if (!dialog) return nullptr;
  const HWND tabs = findVisibleChild(dialog, WC_TABCONTROLA);
  if (!tabs) return nullptr;
  const RECT r = tabItemRect(tabs, tab);
  clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  Sleep(300);
  return dialog;
}

// A store that holds only a picture folder with one picture, whose program the test
// starts; the program is closed and the store removed at the end.
class ProgramWithPictures {
 public:
  explicit ProgramWithPictures(const char* folderName) : pictures(folderName) {
    deleteStore();
    pictures.writeBitmap("a.bmp", 2, 2, 0xFF0000);
    setStoredSetting("PictureDirectory1", pictures.path());
  }
  ~ProgramWithPictures() { deleteStore(); }
  // Starts the program; its main window, in front.
  HWND Start() {
    program_ = std::make_unique<RunningProgram>();
    window_ = program_->MainWindowInFront();
    return window_;
  }
  // Closes the main window; whether the program then ended.
  bool Close() {
    PostMessageA(window_, WM_CLOSE, 0, 0);
    DWORD code = 1;
    return program_->WaitForExit(20000, code);
  }
  TempFolder pictures;

 private:
  std::unique_ptr<RunningProgram> program_;
  HWND window_ = nullptr;
};

bool checked(HWND box) { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

// A click reaches the box a moment after it was given.
bool clickedToChecked(HWND box) {
  clickOn(box);
  for (int tries = 0; tries < 100; ++tries) {
    if (checked(box)) return true;
    Sleep(20);
  }
  return false;
}

BOOL CALLBACK collectVisibleEdit(HWND child, LPARAM found) {
  char name[16] = {};
  GetClassNameA(child, name, sizeof name);
  if (IsWindowVisible(child) && lstrcmpiA(name, "Edit") == 0) reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

// The visible edit fields of a window, from the top down.
std::vector<HWND> visibleEditsTopDown(HWND parent) {
  std::vector<HWND> edits;
  EnumChildWindows(parent, collectVisibleEdit, reinterpret_cast<LPARAM>(&edits));
  std::sort(edits.begin(), edits.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top < rb.top;
  });
  return edits;
}

// A screen saver that is not there typed into its field, then a click on CANCEL: the
// dialog closes at that first click, and nothing asks about the field it puts back.
TEST(OptionsEndToEnd, OneClickOnCancelClosesTheDialogFromABadScreenSaverField) {
  ProgramWithPictures program("tapestrel-e2e-options-cancel");
  const HWND window = program.Start();
  ASSERT_NE(window, nullptr);
  const HWND dialog = openOptionsAt(window, 4);  // "More Misc."
  ASSERT_NE(dialog, nullptr);
  const std::vector<HWND> edits = visibleEditsTopDown(dialog);
  ASSERT_EQ(edits.size(), 3u);  // the hot key, the default wallpaper, the default screen saver
  clickOn(edits[2]);
  typeText("C:\\nowhere\\saver.scr");
  Sleep(200);
  clickOn(childWithText(dialog, "CANCEL"));
  EXPECT_TRUE(waitVisible(dialog, false, 3000)) << "CANCEL did not close the dialog at the first click";
  EXPECT_EQ(findMessageBox("The screen saver entered cannot be found. Make sure you have entered the correct path and filename.", 1000),
            nullptr);
  EXPECT_TRUE(program.Close());
}

TEST(OptionsEndToEnd, OkStoresAChangedBoxAndCancelOrEscPutsAnotherBack) {
  ProgramWithPictures program("tapestrel-e2e-options");
  const HWND window = program.Start();
  ASSERT_NE(window, nullptr);

  HWND dialog = openOptionsAt(window, 3);  // "Misc."
  ASSERT_NE(dialog, nullptr);
  const HWND tray = childWithText(dialog, "&8) Minimize to the tray?");
  ASSERT_NE(tray, nullptr);
  ASSERT_TRUE(IsWindowVisible(tray));
  EXPECT_FALSE(checked(tray));
  EXPECT_TRUE(clickedToChecked(tray));
  // Ctrl+Tab and Ctrl+Shift+Tab step through the tabs.
  const HWND tabs = findVisibleChild(dialog, WC_TABCONTROLA);
  pressKeys({VK_CONTROL, VK_TAB});
  Sleep(300);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 4);
  EXPECT_FALSE(IsWindowVisible(tray));
  pressKeys({VK_CONTROL, VK_SHIFT, VK_TAB});
  Sleep(300);
  EXPECT_EQ(SendMessageA(tabs, TCM_GETCURSEL, 0, 0), 3);
  EXPECT_TRUE(IsWindowVisible(tray));
  clickOn(childWithText(dialog, "O&K"));
  EXPECT_TRUE(waitVisible(dialog, false, 5000));
  EXPECT_TRUE(waitForStoredSetting("MinimizeToTray", "StartUp", "1", 5000)) << storedSetting("MinimizeToTray");

  // Changed, then "CANCEL": the box shows the option as it was when the dialog opens again.
  const HWND random = childWithText(dialog, "&5) Change backdrop randomly?");
  ASSERT_NE(random, nullptr);
  for (const bool byEsc : {false, true}) {
    ASSERT_EQ(openOptionsAt(window, 3), dialog);
    EXPECT_FALSE(checked(random));
    EXPECT_TRUE(clickedToChecked(random));
    if (byEsc) pressKeys({VK_ESCAPE});
    else clickOn(childWithText(dialog, "CANCEL"));
    EXPECT_TRUE(waitVisible(dialog, false, 5000)) << (byEsc ? "Esc" : "CANCEL");
    ASSERT_EQ(openOptionsAt(window, 3), dialog);
    EXPECT_FALSE(checked(random)) << (byEsc ? "Esc" : "CANCEL");
    EXPECT_TRUE(checked(tray));
    clickOn(childWithText(dialog, "CANCEL"));
    EXPECT_TRUE(waitVisible(dialog, false, 5000));
  }
  EXPECT_NE(storedSetting("ChangeRandomly"), "1");
  EXPECT_TRUE(program.Close());
}

TEST(OutsideProgramsEndToEnd, ExploreFolderStartsTheExplorerSelectingTheFolder) {
  ProgramWithPictures program("tapestrel-e2e-explore");
  std::vector<DWORD> before;
  for (const ProcessSeen& p : processesNamed("explorer.exe")) before.push_back(p.id);
  const HWND window = program.Start();
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_COMMAND, IDM_EXPLORER + 2, 0);  // "Explore F&older"

  std::string folder = program.pictures.path();
  folder.pop_back();
  const std::string wanted = "/e,/select," + folder;
  ProcessSeen started{0, ""};
  for (int tries = 0; tries < 200 && started.id == 0; ++tries) {
    for (const ProcessSeen& p : processesNamed("explorer.exe"))
      if (std::find(before.begin(), before.end(), p.id) == before.end() && p.commandLine.find("/select,") != std::string::npos)
        started = p;
    if (started.id == 0) Sleep(50);
  }
  ASSERT_NE(started.id, 0u) << "no Explorer was started";
  EXPECT_NE(started.commandLine.find("explorer.exe " + wanted), std::string::npos) << started.commandLine;
  if (const HANDLE explorer = OpenProcess(PROCESS_TERMINATE, FALSE, started.id)) {
    TerminateProcess(explorer, 0);
    CloseHandle(explorer);
  }
  EXPECT_TRUE(program.Close());
}

TEST(OutsideProgramsEndToEnd, AConfiguredViewerReceivesEachSelectedFileAsOneArgument) {
  ProgramWithPictures program("tapestrel-e2e-viewer");
  TempFolder& pictures = program.pictures;
  const std::string files[] = {pictures.path() + "a.bmp", pictures.writeBitmap("sea side.bmp", 2, 2, 0x00FF00)};
  const std::string record = pictures.path() + "arguments.txt";
  SetEnvironmentVariableA("TAPESTREL_RECORD_TO", record.c_str());
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("Viewer2", windowsPath(TAPESTREL_RECORDER));
  setStoredSetting("Viewer", "1");
  const HWND window = program.Start();
  ASSERT_NE(window, nullptr);
  const HWND list = findVisibleChild(window, WC_LISTVIEWA);
  ASSERT_NE(list, nullptr);
  for (int tries = 0; tries < 100 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < 2; ++tries) Sleep(50);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 2);
  // Both files selected as the user does it: the first clicked, the last with Shift.
  RECT area;
  GetWindowRect(list, &area);
  clickAt({area.right - 30, area.bottom - 30});  // the list's empty part: the focus, no item
  pressKeys({VK_HOME});
  pressKeys({VK_SHIFT, VK_END});
  Sleep(300);
  pressKeys({VK_MENU, VK_BACK});  // "View"

  std::string recorded;
  for (int tries = 0; tries < 200 && recorded.empty(); ++tries) {
    std::ifstream in(record, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    recorded = bytes.str();
    if (recorded.empty()) Sleep(50);
  }
  ASSERT_FALSE(recorded.empty()) << "the viewer was not started";
  std::vector<std::string> arguments;
  std::istringstream lines(recorded);
  for (std::string line; std::getline(lines, line);) arguments.push_back(line);
  ASSERT_EQ(arguments.size(), 2u) << recorded;
  for (std::size_t i = 0; i < 2; ++i) {
    char longPath[MAX_PATH] = {};
    ASSERT_NE(GetLongPathNameA(arguments[i].c_str(), longPath, MAX_PATH), 0u) << arguments[i];
    EXPECT_EQ(lstrcmpiA(longPath, files[i].c_str()), 0) << arguments[i] << " for " << files[i];
  }
  DeleteFileA(record.c_str());
  SetEnvironmentVariableA("TAPESTREL_RECORD_TO", nullptr);
  EXPECT_TRUE(program.Close());
}

}  // namespace
