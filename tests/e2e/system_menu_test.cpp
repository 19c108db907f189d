// The main window's system menu and the hot key in the real program: "&Next Wallpaper"
// chosen from the system menu (opened with Alt+Space) changes the wallpaper, and F12
// pressed while another program's window is in front opens the pop-up menu.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

class SystemMenuEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteStore();
    first = pictures.writeBitmap("first.bmp", 2, 2, 0xFF0000);
    pictures.writeBitmap("second.bmp", 2, 2, 0x00FF00);
    setStoredSetting("PictureDirectory1", pictures.path());
    setStoredSetting("SortAtStart", "1");
  }
  void TearDown() override { deleteStore(); }

  TempFolder pictures{"tapestrel-e2e-sysmenu"};
  std::string first;
};

TEST_F(SystemMenuEndToEnd, NextWallpaperFromTheSystemMenuChangesTheWallpaper) {
  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  pressKeys({VK_MENU, VK_SPACE});
  ASSERT_NE(waitForOpenMenu(0, 3000), nullptr) << "the system menu did not open";
  // From the end of the menu up: "&Options", "&About", the three Explore items, the two
  // screen-saver items, "Full-&Screen Mode", "&Default Wallpaper", "&Previous Wallpaper",
  // "&Next Wallpaper" (the first arrow goes to the last item).
  for (int i = 0; i < 11; ++i) pressKeys({VK_UP});
  pressKeys({VK_RETURN});
  const HWND question =
      findMessageBox("No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", first, 10000)) << desktopValue("Wallpaper");
}

TEST_F(SystemMenuEndToEnd, F12WithAnotherProgramInFrontOpensThePopUpMenu) {
  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  DWORD tapestrel = 0;
  GetWindowThreadProcessId(window, &tapestrel);

  // A window of this test program comes to the front.
  const HWND other = CreateWindowExA(0, "STATIC", "Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 300, 200,
                                     nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(other, nullptr);
  SetForegroundWindow(other);
  for (int i = 0; i < 10; ++i, Sleep(50)) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  ASSERT_EQ(GetForegroundWindow(), other);
  // Held as a finger holds it, longer than the sampling's 50 ms.
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = VK_F12;
  SendInput(1, &key, sizeof key);
  Sleep(200);
  key.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &key, sizeof key);
  const HWND menu = waitForOpenMenu(tapestrel, 3000);
  EXPECT_NE(menu, nullptr) << "F12 did not open Tapestrel's menu";
  pressKeys({VK_ESCAPE});
  DestroyWindow(other);
}

}  // namespace
