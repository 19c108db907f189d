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

void writeBitmap(const std::string& path, unsigned rgb) {
  // A 2 x 2 24-bit BMP.
  static const unsigned char header[54] = {'B', 'M', 70, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 2, 0,
                                           0, 0, 1, 0, 24, 0, 0, 0, 0, 0, 16, 0, 0, 0, 0x13, 0x0B, 0, 0, 0x13, 0x0B};
  std::string bytes(reinterpret_cast<const char*>(header), sizeof header);
  for (int row = 0; row < 2; ++row) {
    for (int x = 0; x < 2; ++x) bytes += {static_cast<char>(rgb & 0xFF), static_cast<char>((rgb >> 8) & 0xFF), static_cast<char>((rgb >> 16) & 0xFF)};
    bytes += std::string(2, '\0');
  }
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD wrote = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(file);
}

TEST(EndToEnd, NextAndPreviousChangeTheDesktopWallpaper) {
  deleteStore();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "tapestrel-e2e\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  writeBitmap(folder + "first.bmp", 0xFF0000);
  writeBitmap(folder + "second.bmp", 0x00FF00);
  setStoredSetting("PictureDirectory1", folder);
  setStoredSetting("SortAtStart", "1");
  setStoredSetting("WallPaperChangeInterval", "0.1");

  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);

  SetForegroundWindow(window);
  Sleep(300);
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
  EXPECT_EQ(storedSetting("1", "BackDropHistory"), folder + "first.bmp");
  EXPECT_EQ(storedSetting("2", "BackDropHistory"), folder + "second.bmp");

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
  DeleteFileA((folder + "first.bmp").c_str());
  DeleteFileA((folder + "second.bmp").c_str());
  RemoveDirectoryA(folder.c_str());
  deleteStore();
}

}  // namespace
