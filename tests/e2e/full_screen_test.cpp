// The full-screen viewer in the real program: with "Single, Internal" and the clock on,
// the viewer covers the screen and shows the list's pictures one after another; "i"
// shows the information overlay and Esc hides it; "Exit Update Wallpaper" from the
// viewer's menu makes the picture shown the desktop wallpaper and brings the main
// window back. A picture wider than the screen is dragged with the mouse; a double
// click shows the overlay and the right button opens the viewer's menu.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "platform/bitmap.h"

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

COLORREF screenCentre() {
  const HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
  ReleaseDC(nullptr, screen);
  return colour;
}

bool waitForCentre(COLORREF colour, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100, Sleep(100))
    if (screenCentre() == colour) return true;
  return false;
}

int visibleChildren(HWND window) {
  int count = 0;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) count += IsWindowVisible(c) ? 1 : 0;
  return count;
}

// Chooses the item `fromBottom` places up from the end of the pop-up menu that is open,
// with the arrow keys and Enter as a user would (Wine does not lend another program's
// menu to be read, so the place comes from the menu's own order).
bool chooseFromOpenMenu(int fromBottom) {
  if (!waitForOpenMenu(0, 3000)) return false;
  for (int i = 0; i < fromBottom; ++i) pressKeys({VK_UP});
  pressKeys({VK_RETURN});
  return true;
}

TEST(FullScreenEndToEnd, SingleInternalShowsThePicturesInTurnAndExitUpdateWallpaperKeepsTheOneShown) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e-viewer");
  pictures.writeBitmap("a red.bmp", 64, 48, 0xFF0000);
  const std::string green = pictures.writeBitmap("b green.bmp", 64, 48, 0x00FF00);
  pictures.writeBitmap("c blue.bmp", 64, 48, 0x0000FF);
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("BackdropMode", "4");  // "Single, Internal"
  setStoredSetting("WallPaperChangeInterval", "0.1");

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  pressKeys({VK_CONTROL, 'T'});  // the clock on
  const HWND question = findMessageBox(" was not found\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);

  // Each picture in turn, in the middle of a black screen; the main window is away.
  const HWND viewer = waitForWindow("Tapestrel: Full-Screen View", 15000);
  ASSERT_NE(viewer, nullptr);
  EXPECT_TRUE(waitForCentre(RGB(255, 0, 0), 5000)) << std::hex << screenCentre();
  EXPECT_FALSE(IsWindowVisible(window));
  RECT whole;
  GetWindowRect(viewer, &whole);
  EXPECT_EQ(whole.right - whole.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(whole.bottom - whole.top, GetSystemMetrics(SM_CYSCREEN));
  ASSERT_TRUE(waitForCentre(RGB(0, 255, 0), 10000)) << std::hex << screenCentre();

  // "i" shows the overlay, Esc hides it.
  SetForegroundWindow(viewer);
  const int before = visibleChildren(viewer);
  typeText("i");
  Sleep(500);
  EXPECT_EQ(visibleChildren(viewer), before + 1);
  pressKeys({VK_ESCAPE});
  Sleep(500);
  EXPECT_EQ(visibleChildren(viewer), before);

  // The viewer's menu from the keyboard; the green picture becomes the wallpaper.
  typeText("m");
  // From the end: "E&xit Program", "&Options", "R&un File", the three "Explore" items,
  // "&About", then "Exit Update Wallpaper".
  ASSERT_TRUE(chooseFromOpenMenu(8));
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", green, 10000)) << desktopValue("Wallpaper");
  char now[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, now, 0);
  EXPECT_EQ(lstrcmpiA(now, green.c_str()), 0) << now;
  for (int waited = 0; waited < 5000 && !IsWindowVisible(window); waited += 50) Sleep(50);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsWindow(viewer));
  deleteStore();
}

TEST(FullScreenEndToEnd, APictureWiderThanTheScreenIsDraggedAndTheMouseOpensTheOverlayAndTheMenu) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e-viewer-mouse");
  // Twice the screen's width: red up to 50 pixels past the screen's middle, blue beyond.
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  tapestrel::Bitmap wide(2 * width, 200, 0xFF0000);
  for (int y = 0; y < wide.height; ++y)
    for (int x = width / 2 + 50; x < wide.width; ++x) wide.Set(x, y, 0x0000FF);
  pictures.write("wide.bmp", tapestrel::WriteBmp24(wide));
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("ViewingWindowSize", "4");  // "None": the picture's own size

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  // The file focused and selected, then the view command (the viewer is "internal").
  SetForegroundWindow(window);
  Sleep(300);
  clickOn(findVisibleChild(window, "SysListView32"));
  pressKeys({VK_HOME});
  pressKeys({VK_MENU, VK_BACK});
  const HWND viewer = waitForWindow("Tapestrel: Full-Screen View", 10000);
  ASSERT_NE(viewer, nullptr);
  const POINT centre{width / 2, height / 2};
  ASSERT_TRUE(waitForCentre(RGB(255, 0, 0), 5000)) << std::hex << screenCentre();  // the picture's left part

  // Dragged 100 pixels to the left, the picture shows what lay right of the middle.
  mouseAt(centre, MOUSEEVENTF_LEFTDOWN);
  for (int step = 1; step <= 10; ++step, Sleep(20)) mouseAt({centre.x - 10 * step, centre.y}, 0);
  mouseAt({centre.x - 100, centre.y}, MOUSEEVENTF_LEFTUP);
  EXPECT_TRUE(waitForCentre(RGB(0, 0, 255), 3000)) << std::hex << screenCentre();

  // A double click shows the overlay; the right button opens the menu, Esc closes it.
  const int before = visibleChildren(viewer);
  for (int click = 0; click < 2; ++click) {
    mouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    mouseAt(centre, MOUSEEVENTF_LEFTUP);
  }
  Sleep(500);
  EXPECT_EQ(visibleChildren(viewer), before + 1);
  mouseAt(centre, MOUSEEVENTF_RIGHTDOWN);
  mouseAt(centre, MOUSEEVENTF_RIGHTUP);
  EXPECT_NE(waitForOpenMenu(0, 3000), nullptr);
  pressKeys({VK_ESCAPE});
  // "Exit" (the item above "Exit Update Wallpaper") from the menu the right button
  // opened: it unloads the viewer whose mouse message opened the menu, and the program
  // goes on (its heap fills what it frees, so a stale use of the viewer would fault).
  for (int waited = 0; waited < 3000 && waitForOpenMenu(0, 50); waited += 100) Sleep(50);
  Sleep(200);
  mouseAt(centre, MOUSEEVENTF_RIGHTDOWN);
  mouseAt(centre, MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(chooseFromOpenMenu(9));
  for (int waited = 0; waited < 5000 && !IsWindowVisible(window); waited += 50) Sleep(50);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_FALSE(IsWindow(viewer));
  DWORD code = 0;
  EXPECT_FALSE(program.WaitForExit(1000, code)) << "ended with " << std::hex << code;
  // And once more from the key that opens the menu.
  pressKeys({VK_MENU, VK_BACK});
  const HWND again = waitForWindow("Tapestrel: Full-Screen View", 10000);
  ASSERT_NE(again, nullptr);
  typeText("m");
  ASSERT_TRUE(chooseFromOpenMenu(9));
  for (int waited = 0; waited < 5000 && IsWindow(again); waited += 50) Sleep(50);
  EXPECT_FALSE(IsWindow(again));
  EXPECT_FALSE(program.WaitForExit(1000, code)) << "ended with " << std::hex << code;
  deleteStore();
}

}  // namespace
