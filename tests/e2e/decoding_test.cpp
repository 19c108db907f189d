// JPEGs in the real program: Ctrl+N makes one the wallpaper through either decoder, and
// Dec&ode turns the selected ones into BMP files beside them, with a progress window
// whose Cancel stops before the next file.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/bitmap.h"
#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;
using tapestrel::pictures::EncodedJpeg;
using tapestrel::pictures::Quarters;

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Shows the list of JPEGs and answers the first-change question: the wallpaper becomes
// the first JPEG, by way of the working bitmap.
void changeToFirstJpeg(HWND window) {
  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'A'});
  Sleep(300);
  pressKeys({VK_CONTROL, 'N'});
  const HWND question = findMessageBox(
      "No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
}

class DecodingEndToEnd : public ::testing::TestWithParam<bool> {};

TEST_P(DecodingEndToEnd, CtrlNMakesAJpegTheWallpaperAtTheScreensSize) {
  const bool internal = GetParam();
  deleteStore();
  DeleteFileA(workingBitmap().c_str());
  TempFolder pictures("tapestrel-e2e-jpeg");
  pictures.write("a photo.jpg", EncodedJpeg(Quarters(3000, 2000)));
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("InternalDecoding", internal ? "True" : "False");

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  changeToFirstJpeg(window);
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", workingBitmap(), 20000)) << desktopValue("Wallpaper");
  EXPECT_TRUE(waitForStoredSetting("WallPaperName", "StartUp", pictures.path() + "a photo.jpg", 5000));

  // Fitted to the screen (3:2 into its width or height), the quarters where they were.
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  const double zoom = std::min(screenWidth / 3000.0, screenHeight / 2000.0);
  const auto written = tapestrel::ReadBmp(readWhole(workingBitmap()));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, static_cast<int>(std::nearbyint(3000 * zoom)));
  EXPECT_EQ(written->height, static_cast<int>(std::nearbyint(2000 * zoom)));
  EXPECT_GT(written->At(5, 5) >> 16, 0xF0u);                                      // red
  EXPECT_GT(written->At(written->width - 5, written->height - 5) & 0xFF, 0xF0u);  // white
  EXPECT_LT(written->At(5, written->height - 5) >> 16, 0x10u);                    // blue

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  deleteStore();
}

INSTANTIATE_TEST_SUITE_P(BothDecoders, DecodingEndToEnd, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Internal" : "External"; });

// Answers the decode question of the first file with "Yes to All".
void confirmAll() {
  const HWND question = waitForWindow("Internal Decode", 10000);
  ASSERT_NE(question, nullptr);
  const HWND all = FindWindowExA(question, nullptr, "Button", "Yes to &All");
  ASSERT_NE(all, nullptr);
  clickOn(all);
}

// Selects every item of the list shown, as the user would with the keyboard.
void selectAll(HWND window) {
  const HWND list = findVisibleChild(window, "SysListView32");
  ASSERT_NE(list, nullptr);
  clickOn(list);
  Sleep(200);
  pressKeys({VK_HOME});
  pressKeys({VK_SHIFT, VK_END});
  Sleep(200);
}

TEST(EndToEnd, DecodeWritesABmpBesideEachSelectedJpegAndCancelStopsBeforeTheNext) {
  deleteStore();
  TempFolder pictures("tapestrel-e2e-batch");
  const std::vector<std::string> names{"one", "two", "three"};
  // Large enough, shown at their own size, that each takes a moment to decode and save.
  for (const std::string& name : names) pictures.write(name + ".jpg", EncodedJpeg(Quarters(4000, 3000), 75));
  setStoredSetting("PictureDirectory1", pictures.path());
  setStoredSetting("InternalDecoding", "True");
  setStoredSetting("ViewingWindowSize", "4");

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  pressKeys({VK_CONTROL, 'A'});
  Sleep(300);
  selectAll(window);
  pressKeys({VK_CONTROL, 'D'});
  confirmAll();
  // All three, each a whole picture; the main window comes back afterwards.
  auto bmpOf = [&](const std::string& name) { return pictures.path() + name + ".bmp"; };
  for (const std::string& name : names) {
    for (int waited = 0; waited < 30000 && !exists(bmpOf(name)); waited += 100) Sleep(100);
    EXPECT_TRUE(exists(bmpOf(name))) << name;
  }
  for (int waited = 0; waited < 10000 && !IsWindowVisible(window); waited += 100) Sleep(100);
  EXPECT_TRUE(IsWindowVisible(window));
  for (const std::string& name : names) {
    const auto decoded = tapestrel::ReadBmp(readWhole(bmpOf(name)));
    ASSERT_TRUE(decoded) << name;
    EXPECT_EQ(decoded->width, 4000);
    DeleteFileA(bmpOf(name).c_str());
  }

  // Again, stopped as soon as the progress window shows: by its Cancel button, then by Esc.
  for (bool byKey : {false, true}) {
    SetForegroundWindow(window);
    Sleep(300);
    selectAll(window);
    pressKeys({VK_CONTROL, 'D'});
    confirmAll();
    const HWND progress = waitForWindow("Decoding in progress", 10000);
    ASSERT_NE(progress, nullptr);
    if (byKey) {
      SetForegroundWindow(progress);
      pressKeys({VK_ESCAPE});
    } else {
      const HWND cancel = FindWindowExA(progress, nullptr, "Button", "&Cancel");
      ASSERT_NE(cancel, nullptr);
      clickOn(cancel);
    }
    for (int waited = 0; waited < 30000 && !IsWindowVisible(window); waited += 100) Sleep(100);
    EXPECT_TRUE(IsWindowVisible(window));
    int made = 0;
    for (const std::string& name : names) {
      if (!exists(bmpOf(name))) continue;
      ++made;
      EXPECT_TRUE(tapestrel::ReadBmp(readWhole(bmpOf(name)))) << name;  // never half a file
      DeleteFileA(bmpOf(name).c_str());
    }
    // The file under way is finished; a click that comes before the first begins stops
    // the batch before any.
    EXPECT_LT(made, 3) << (byKey ? "Esc" : "Cancel");
  }

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  deleteStore();
}

}  // namespace
