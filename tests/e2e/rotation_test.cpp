// The rotation in the real program, driven from the keyboard as a user would: Ctrl+N and
// Ctrl+P change the desktop wallpaper, each change lands in the history and in the File
// menu's history items, and with the clock on the wallpaper changes by itself.
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

TEST(EndToEnd, NextAndPreviousChangeTheDesktopWallpaper) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e");
  const std::string& folder = pictures.path();
  pictures.writeBitmap("first.bmp", 2, 2, 0xFF0000);
  pictures.writeBitmap("second.bmp", 2, 2, 0x00FF00);
  setStoredSetting("PictureDirectory1", folder);
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("WallPaperChangeInterval", "0.1");

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  pressKeys({VK_CONTROL, 'N'});
  const HWND question = findMessageBox("No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "first.bmp", 10000)) << desktopValue("Wallpaper");

  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'N'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "second.bmp", 10000)) << desktopValue("Wallpaper");
  pressKeys({VK_CONTROL, 'P'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "first.bmp", 10000)) << desktopValue("Wallpaper");
  EXPECT_TRUE(waitForStoredSetting("1", "BackDropHistory", folder + "first.bmp", 5000)) << storedSetting("1", "BackDropHistory");
  EXPECT_TRUE(waitForStoredSetting("2", "BackDropHistory", folder + "second.bmp", 5000)) << storedSetting("2", "BackDropHistory");

  // The File menu lists the history newest first: "&1" the first bitmap, "&2" the second.
  pressKeys({VK_MENU, 'F'});
  Sleep(300);
  pressKeys({'2'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "second.bmp", 10000)) << desktopValue("Wallpaper");

  // With a 0.1-minute interval the clock moves on to the next picture (wrapping to the
  // first) within ten seconds of being switched on.
  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'T'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "first.bmp", 10000)) << desktopValue("Wallpaper");
  pressKeys({VK_CONTROL, 'T'});

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  deleteStore();
}

}  // namespace
