// The notification-area icon of the real program: started minimized to the tray, the
// program shows only its icon in the system tray; a right click on the icon opens the
// pop-up menu, and "&Next Wallpaper" from it changes the desktop wallpaper. Minimized
// with F3, the window goes to the tray, and "&Restore" from the icon's menu brings it back.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

// Wine's system tray (a window of its own where no desktop tray is running) shows each
// icon as a child window.
HWND findTrayIcon(DWORD milliseconds) {
  for (DWORD waited = 0;; waited += 100, Sleep(100)) {
    if (HWND tray = FindWindowA("__winex11_standalone_tray", nullptr))
      if (HWND icon = FindWindowExA(tray, nullptr, "__winex11_tray_icon", nullptr); icon && IsWindowVisible(icon)) return icon;
    if (waited >= milliseconds) return nullptr;
  }
}

// A right click on the icon, as the user gives it; answers whether the menu opened.
bool openIconMenu(HWND icon) {
  RECT r;
  GetWindowRect(icon, &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  mouseAt(centre, MOUSEEVENTF_RIGHTDOWN);
  mouseAt(centre, MOUSEEVENTF_RIGHTUP);
  return waitForOpenMenu(0, 5000) != nullptr;
}

TEST(TrayEndToEnd, StartedInTheTrayTheIconsMenuChangesTheWallpaper) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e-tray");
  const std::string first = pictures.writeBitmap("first.bmp", 2, 2, 0xFF0000);
  pictures.writeBitmap("second.bmp", 2, 2, 0x00FF00);
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("MinimizeToTray", "1");
  setStoredSetting("NormalWindowAtStart", "0");

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND icon = findTrayIcon(20000);
  ASSERT_NE(icon, nullptr) << "no icon in the system tray";
  EXPECT_EQ(waitForWindow("Tapestrel", 500), nullptr);  // no window of the program shows

  ASSERT_TRUE(openIconMenu(icon)) << "the pop-up menu did not open";
  typeText("n");  // "&Next Wallpaper"
  const HWND question =
      findMessageBox("No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", first, 10000)) << desktopValue("Wallpaper");
  deleteStore();
}

TEST(TrayEndToEnd, MinimizedTheWindowGoesToTheTrayAndRestoreBringsItBack) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e-tray-restore");
  pictures.writeBitmap("only.bmp", 2, 2, 0xFF0000);
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("MinimizeToTray", "1");

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  pressKeys({VK_F3});  // "Minimize"
  const HWND icon = findTrayIcon(10000);
  ASSERT_NE(icon, nullptr) << "no icon in the system tray";
  EXPECT_FALSE(IsWindowVisible(window));

  ASSERT_TRUE(openIconMenu(icon)) << "the pop-up menu did not open";
  typeText("r");  // "&Restore"
  for (int waited = 0; waited < 5000 && !IsWindowVisible(window); waited += 50) Sleep(50);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsIconic(window));
  for (int waited = 0; waited < 3000 && findTrayIcon(0); waited += 50) Sleep(50);
  EXPECT_EQ(findTrayIcon(0), nullptr);  // the icon went with the window's return
  deleteStore();
}

}  // namespace
