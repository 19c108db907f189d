// A folder of real photos of every kind (made by scripts/make-photos with cjpeg, jpegtran's
// kin and ImageMagick) becomes the wallpaper one picture after another in the real
// program, through each decoder, without a message and without a crash.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

// The folder on this machine's disk, as Wine shows it (drive Z: is the root).
std::string photosFolder() {
  std::string path = "Z:" + std::string(TAPESTREL_PHOTOS);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path + "\\";
}

std::vector<std::string> photos(const std::string& folder, bool jpegsOnly) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (jpegsOnly && name.substr(name.size() - 4) != ".jpg") continue;
    names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

struct Dialogs {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK collectDialog(HWND window, LPARAM data) {
  auto* dialogs = reinterpret_cast<Dialogs*>(data);
  char cls[16] = {};
  GetClassNameA(window, cls, sizeof cls);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == dialogs->process && IsWindowVisible(window) && std::string(cls) == "#32770") dialogs->found.push_back(window);
  return TRUE;
}

// A message box the program shows, with its text; none when there is none.
HWND programMessage(DWORD process, std::string& text) {
  Dialogs dialogs{process, {}};
  EnumWindows(collectDialog, reinterpret_cast<LPARAM>(&dialogs));
  if (dialogs.found.empty()) return nullptr;
  char buffer[1024] = {};
  GetDlgItemTextA(dialogs.found[0], 0xFFFF, buffer, sizeof buffer);
  text = buffer;
  return dialogs.found[0];
}

class PhotosEndToEnd : public ::testing::TestWithParam<bool> {};

TEST_P(PhotosEndToEnd, EveryKindOfPhotoBecomesTheWallpaperInTurn) {
  const bool internal = GetParam();
  const std::string folder = photosFolder();
  // The converter takes JPEGs only; in-process every kind is listed.
  const std::vector<std::string> names = photos(folder, !internal);
  ASSERT_GE(names.size(), internal ? 15u : 10u) << folder;
  deleteStore();
  setStoredSetting("PictureDirectory1", folder);
  setStoredSetting("InternalDecoding", internal ? "True" : "False");
  setStoredSetting("AlternateFilePattern", internal ? "User" : ".jp?");
  setStoredSetting("SortAtStart", "1");

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'A'});
  Sleep(500);
  pressKeys({VK_CONTROL, 'N'});
  const HWND question = findMessageBox(
      "No file in the list matches the present wallpaper name.\nWould you like to use the first file in the list?", 10000);
  ASSERT_NE(question, nullptr);
  PostMessageA(question, WM_COMMAND, IDYES, 0);
  for (int waited = 0; waited < 5000 && IsWindow(question); waited += 20) Sleep(20);

  std::vector<std::string> shown;
  std::vector<std::string> messages;
  std::string last = storedSetting("WallPaperName");
  for (std::size_t change = 0; change < names.size(); ++change) {
    if (change > 0) {
      SetForegroundWindow(window);
      Sleep(100);
      pressKeys({VK_CONTROL, 'N'});
    }
    for (int waited = 0; waited < 30000; waited += 20) {
      std::string text;
      if (const HWND box = programMessage(process, text)) {
        messages.push_back(text);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int closing = 0; closing < 5000 && IsWindow(box); closing += 20) Sleep(20);
        break;
      }
      const std::string now = storedSetting("WallPaperName");
      if (now != last) {
        last = now;
        shown.push_back(now.substr(now.find_last_of('\\') + 1));
        break;
      }
      Sleep(20);
    }
  }
  for (const std::string& m : messages) ADD_FAILURE() << "the program said: " << m;
  std::vector<std::string> sortedShown = shown;
  std::sort(sortedShown.begin(), sortedShown.end());
  std::vector<std::string> sortedNames = names;
  std::sort(sortedNames.begin(), sortedNames.end());
  EXPECT_EQ(sortedShown, sortedNames);

  ASSERT_TRUE(IsWindow(window));  // still running
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  EXPECT_EQ(code, 0u);
  deleteStore();
}

INSTANTIATE_TEST_SUITE_P(BothDecoders, PhotosEndToEnd, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Internal" : "External"; });

}  // namespace
