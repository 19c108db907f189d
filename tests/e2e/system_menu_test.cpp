// The main window's system menu and the hot key in the real program: "&Next Wallpaper"
// chosen from the system menu (opened with Alt+Space) changes the wallpaper, and F12
// pressed while another program's window is in front opens the pop-up menu; F12 in the
// main window opens it too, but not over the program's own question.
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
  // Held as a finger holds it, longer than the sampling's 50 ms, while the other hand
  // moves the mouse: a move in the same sample must not hide the key.
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = VK_F12;
  SendInput(1, &key, sizeof key);
  for (int step = 0; step < 20; ++step, Sleep(10)) mouseAt({400 + step * 3, 350}, MOUSEEVENTF_MOVE);
  key.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &key, sizeof key);
  const HWND menu = waitForOpenMenu(tapestrel, 3000);
  EXPECT_NE(menu, nullptr) << "F12 did not open Tapestrel's menu";
  pressKeys({VK_ESCAPE});
  DestroyWindow(other);
}

// F12 is the default hot key and also the shortcut of "Screen Saver O&n": in the main
// window the hot key wins, and the menu opens. Over the program's own question the hot
// key does nothing.
TEST_F(SystemMenuEndToEnd, F12InTheMainWindowOpensTheMenuButNotOverAQuestion) {
  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  DWORD tapestrel = 0;
  GetWindowThreadProcessId(window, &tapestrel);
  const std::string saverBefore = desktopValue("ScreenSaveActive");
  pressKeys({VK_F12});
  EXPECT_NE(waitForOpenMenu(tapestrel, 3000), nullptr) << "F12 did not open the pop-up menu";
  pressKeys({VK_ESCAPE});
  Sleep(300);
  EXPECT_EQ(desktopValue("ScreenSaveActive"), saverBefore) << "F12 switched the screen saver";

  // "&Next Wallpaper" asks a question (no wallpaper in the list yet).
  pressKeys({VK_MENU, VK_SPACE});
  ASSERT_NE(waitForOpenMenu(0, 3000), nullptr);
  for (int i = 0; i < 11; ++i) pressKeys({VK_UP});
  pressKeys({VK_RETURN});
  const HWND question =
      findMessageBox("No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  INPUT key{};
  key.type = INPUT_KEYBOARD;
  key.ki.wVk = VK_F12;
  SendInput(1, &key, sizeof key);
  Sleep(200);  // longer than a sample of the events window
  key.ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(1, &key, sizeof key);
  EXPECT_EQ(waitForOpenMenu(tapestrel, 1500), nullptr) << "the menu opened over the question";
  PostMessageA(question, WM_COMMAND, IDNO, 0);
}

}  // namespace
