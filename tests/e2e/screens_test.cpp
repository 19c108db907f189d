// The new ways of laying a picture on the screen, in the real program on Wine's one
// monitor: Fill cuts the overhang off evenly, Fit letterboxes in the desktop colour, one
// picture across all screens is the single screen's picture, and the desktop is told to
// span the composed bitmap.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "platform/bitmap.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;
using tapestrel::Bitmap;

// Waits until the working bitmap is whole and differs from `before`.
std::string waitForNewBitmap(const std::string& before, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 100) {
    const std::string now = readWhole(workingBitmap());
    if (!now.empty() && now != before && tapestrel::ReadBmp(now)) return now;
    Sleep(100);
  }
  return {};
}

TEST(ScreensEndToEnd, FillCropsFitLetterboxesAndAcrossAllScreensEqualsTheSingleScreen) {
  deleteStore();
  DeleteFileA(workingBitmap().c_str());
  TempFolder pictures("tapestrel-e2e-screens");
  // 800 x 300: green quarters at each side of a red middle.
  Bitmap wide(800, 300, 0xFF0000);
  for (int y = 0; y < wide.height; ++y)
    for (int x = 0; x < wide.width; ++x)
      if (x < 200 || x >= 600) wide.Set(x, y, 0x00FF00);
  const std::string path = pictures.write("wide.bmp", tapestrel::WriteBmp24(wide));
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("BackdropMode", "5");  // Fill

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ASSERT_LE(width * 3, height * 4);  // no wider than 4:3: filled, only the red middle shows

  pressKeys({VK_CONTROL, 'N'});
  const HWND question = findMessageBox("No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", workingBitmap(), 10000)) << desktopValue("Wallpaper");
  const std::string filled = waitForNewBitmap("", 10000);
  auto fill = tapestrel::ReadBmp(filled);
  ASSERT_TRUE(fill);
  ASSERT_EQ(fill->width, width);
  ASSERT_EQ(fill->height, height);
  // The green quarters overhang the screen's sides and are cut off: red edge to edge.
  for (int x : {0, width / 2, width - 1})
    for (int y : {0, height / 2, height - 1}) EXPECT_EQ(fill->At(x, y), 0xFF0000u) << x << ", " << y;
  EXPECT_EQ(desktopValue("WallPaperStyle"), "22");
  EXPECT_EQ(desktopValue("TileWallpaper"), "0");

  // "Fit" from the View Mode menu, and the same picture again ("&Next Wallpaper": the key
  // was proven above; the command does not depend on which window has the focus now).
  PostMessageA(window, WM_COMMAND, IDM_BACKDROP_MODE + 6, 0);
  PostMessageA(window, WM_COMMAND, IDM_CHANGE_WALLPAPER, 0);
  const std::string fitted = waitForNewBitmap(filled, 10000);
  auto fit = tapestrel::ReadBmp(fitted);
  ASSERT_TRUE(fit);
  ASSERT_EQ(fit->width, width);
  const COLORREF c = GetSysColor(COLOR_BACKGROUND);
  const std::uint32_t desktop = static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
  const int shown = width * 300 / 800;  // the picture's height, fitted to the screen's width
  EXPECT_EQ(fit->At(width / 2, 0), desktop);                 // the bar above
  EXPECT_EQ(fit->At(width / 2, height - 1), desktop);        // and below
  EXPECT_EQ(fit->At(2, height / 2), 0x00FF00u);              // the left quarter shows
  EXPECT_EQ(fit->At(width / 2, height / 2), 0xFF0000u);
  EXPECT_EQ(fit->At(width / 2, (height - shown) / 2 + 2), 0xFF0000u);
  EXPECT_EQ(desktopValue("WallPaperStyle"), "22");

  // A display change, and waking from sleep: the wallpaper is laid out again, the same
  // pictures without a step of the rotation. (Nothing else writes the working bitmap here,
  // so the wait is generous: a loaded machine is slow, not wrong.)
  for (const auto& [message, wParam] : {std::pair<UINT, WPARAM>{WM_DISPLAYCHANGE, 32},
                                        std::pair<UINT, WPARAM>{WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC}}) {
    ASSERT_TRUE(DeleteFileA(workingBitmap().c_str()));
    PostMessageA(window, message, wParam, MAKELPARAM(width, height));
    EXPECT_EQ(waitForNewBitmap("", 10000), fitted) << message;
  }
  EXPECT_EQ(storedSetting("WallPaperName"), path);

  // Explorer restarted and the desktop lost the wallpaper: it is set again.
  char other[] = "";
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, other, SPIF_UPDATEINIFILE);
  PostMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", workingBitmap(), 5000)) << desktopValue("Wallpaper");

  // Fill again, one picture across all screens: on one monitor, the same bitmap as Fill.
  PostMessageA(window, WM_COMMAND, IDM_BACKDROP_MODE + 5, 0);
  PostMessageA(window, WM_COMMAND, IDM_SCREEN_ARRANGEMENT + 2, 0);
  PostMessageA(window, WM_COMMAND, IDM_CHANGE_WALLPAPER, 0);
  const std::string spanned = waitForNewBitmap(fitted, 10000);
  EXPECT_EQ(spanned.size(), filled.size());
  EXPECT_TRUE(spanned == filled);

  // Saved with the other settings on "Exit and Save".
  PostMessageA(window, WM_COMMAND, IDM_EXIT + 1, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  EXPECT_EQ(storedSetting("BackdropMode"), "5");
  EXPECT_EQ(storedSetting("ScreenArrangement"), "2");
  EXPECT_EQ(storedSetting("SmoothShrinking"), "True");
  deleteStore();
}

}  // namespace
