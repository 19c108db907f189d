// The real Tapestrel.exe started as its own process and watched from outside: its
// window, and what it leaves in the settings store.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

TEST(EndToEnd, SecondCopySaysSoAndExitAndSaveWritesTheSettings) {
  deleteStore();
  RunningProgram first;
  ASSERT_TRUE(first.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");

  {
    RunningProgram second;
    ASSERT_TRUE(second.started());
    const HWND box = findMessageBox("Tapestrel is already runninng", 20000);
    ASSERT_NE(box, nullptr) << "the second copy showed no message";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(20000, code));
    EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");  // it touched no setting
    EXPECT_EQ(storedSetting("mciEvents0"), "<absent>");
  }

  // Ctrl+K is "Exit and &Save".
  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'K'});
  DWORD code = 1;
  ASSERT_TRUE(first.WaitForExit(20000, code)) << "Ctrl+K did not end the program";
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(storedSetting("BackdropMode"), "0");
  EXPECT_EQ(storedSetting("DeleteConfirmation"), "True");
  EXPECT_EQ(storedSetting("GVBox_DCTMethod"), "2");
  EXPECT_EQ(storedSetting("AlternateFilePattern"), ".jp?");
  const std::string position = storedSetting("WindowPosition");
  EXPECT_EQ(std::count(position.begin(), position.end(), ' '), 3) << position;
  deleteStore();
}

TEST(EndToEnd, StartsWithItsWindowAndClosesKeepingItsSettings) {
  deleteStore();
  RunningProgram program;
  ASSERT_TRUE(program.started()) << programPath();
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr) << "no window captioned Tapestrel";
  EXPECT_TRUE(IsWindowVisible(window));

  // The end of start-up (a moment after the window shows) records the folder histories.
  EXPECT_TRUE(waitForStoredSetting("PictureDirectory", "StartUp", "0", 5000)) << storedSetting("PictureDirectory");
  EXPECT_TRUE(waitForStoredSetting("MoveDirectory", "StartUp", "5", 5000)) << storedSetting("MoveDirectory");
  EXPECT_NE(storedSetting("PictureDirectory1").find("\\"), std::string::npos);

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(20000, code)) << "the program did not end after its window was closed";
  EXPECT_EQ(code, 0u);
  // Closing saves no options, but the media events are kept on every unload.
  EXPECT_EQ(storedSetting("mciEvents0"), "");
  EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");
  deleteStore();
}

}  // namespace
