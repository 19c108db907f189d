// The media events in the real program: with a sound for loading, for each wallpaper
// change and for exiting, the program starts, changes the wallpaper twice and exits
// after its exit sound, never putting a media error before the user, and keeps the
// events' files.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/common/sound_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

struct DialogSearch {
  DWORD process;
  int found;
};

BOOL CALLBACK countDialog(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<DialogSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (owner == search->process && IsWindowVisible(window) && std::string(name) == "#32770") ++search->found;
  return TRUE;
}

// The message boxes a process shows now.
int shownDialogs(DWORD process) {
  DialogSearch search{process, 0};
  EnumWindows(countDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST(MediaEndToEnd, SoundsOnLoadOnEachChangeAndOnExitShowNoErrorAndKeepTheirFiles) {
  deleteStore();
  TempFolder media("tapestrel-e2e-media");
  const std::string& folder = media.path();
  media.writeBitmap("first.bmp", 2, 2, 0xFF0000);
  media.writeBitmap("second.bmp", 2, 2, 0x00FF00);
  const std::string files[] = {media.write("load sound.wav", tapestrel::sounds::WaveFile(300)),
                               media.write("change sound.wav", tapestrel::sounds::WaveFile(500)),
                               media.write("exit sound.wav", tapestrel::sounds::WaveFile(12000))};
  setStoredSetting("PictureDirectory1", folder);
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("WallPaperName", folder + "first.bmp");
  for (int event = 0; event < 3; ++event) {
    setStoredSetting(("mciEvents" + std::to_string(event)).c_str(), files[event]);
    setStoredSetting(("mciEventsOn" + std::to_string(event)).c_str(), "1");
  }

  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  pressKeys({VK_CONTROL, 'N'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "second.bmp", 10000)) << desktopValue("Wallpaper");
  pressKeys({VK_CONTROL, 'N'});
  EXPECT_TRUE(waitForDesktopValue("Wallpaper", folder + "first.bmp", 10000)) << desktopValue("Wallpaper");
  Sleep(500);
  EXPECT_EQ(shownDialogs(process), 0);

  // The exit sound is played waiting; a box put up on the way out would hold the exit.
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(20000, code)) << shownDialogs(process) << " boxes are showing";
  EXPECT_EQ(code, 0u);
  for (int event = 0; event < 3; ++event)
    EXPECT_EQ(storedSetting(("mciEvents" + std::to_string(event)).c_str()), files[event]);
  deleteStore();
}

}  // namespace
