// A copy of the program as a user gets it, installed by the setup or unpacked from the
// portable zip (tests/packaging/run names it in TAPESTREL_PROGRAM), started from where
// it is: it lists a folder of pictures and, when asked, makes one the wallpaper. Without
// a packaged copy to look at there is nothing to test.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/e2e/e2e_support.h"

namespace tapestrel::e2e {
namespace {

bool packaged() { return GetEnvironmentVariableW(L"TAPESTREL_PROGRAM", nullptr, 0) > 0; }

TEST(PackagedProgramEndToEnd, StartsFromWhereItIsListsPicturesAndChangesTheWallpaper) {
  if (!packaged()) GTEST_SKIP() << "no packaged copy named in TAPESTREL_PROGRAM";
  // The pictures lie outside the program's folder, so that nothing of the run stays there.
  const char* picturesEnv = std::getenv("TAPESTREL_PICTURES");
  ASSERT_NE(picturesEnv, nullptr);
  const std::string pictures = picturesEnv;
  deleteStore();
  setStoredSetting("PictureDirectory1", pictures);

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  HWND list = nullptr;
  for (int waited = 0; waited < 20000 && !(list && ListView_GetItemCount(list) >= 3); waited += 50) {
    list = findVisibleChild(window, WC_LISTVIEWA);
    Sleep(50);
  }
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ListView_GetItemCount(list), 3);

  if (std::getenv("TAPESTREL_CHANGE_WALLPAPER")) {
    pressKeys({VK_CONTROL, 'N'});
    const HWND question = findMessageBox(
        "No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
    ASSERT_NE(question, nullptr);
    PostMessageA(question, WM_COMMAND, IDYES, 0);
    // The first of the list, whichever order the folder gave.
    const std::string first = pictures + listItemText(list, 0, 0);
    ASSERT_TRUE(waitForStoredSetting("WallPaperName", "StartUp", first, 20000)) << storedSetting("WallPaperName");
    EXPECT_TRUE(waitForDesktopValue("Wallpaper", first, 5000)) << desktopValue("Wallpaper");
  }

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace tapestrel::e2e
