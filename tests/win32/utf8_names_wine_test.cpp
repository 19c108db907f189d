// Names beyond the old ANSI code pages: with the program's manifest the ANSI calls take
// UTF-8, so a picture named in any script is listed, read and set as the wallpaper.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_services.h"
#include "tests/common/picture_builders.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

std::wstring wide(const std::string& utf8) {
  std::wstring text(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, text.data(), static_cast<int>(text.size()));
  text.pop_back();
  return text;
}

std::wstring desktopWallpaper() {
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return L"";
  wchar_t data[MAX_PATH * 2] = {};
  DWORD size = sizeof data - sizeof(wchar_t);
  RegQueryValueExW(key, L"Wallpaper", nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return data;
}

TEST(Utf8NamesOnWine, APictureNamedInOtherScriptsIsListedReadAndSetAsTheWallpaper) {
  ASSERT_EQ(GetACP(), 65001u) << "the manifest's code page is not in force";
  // "Bilder für Zoë" and "Château ñandú 日本.bmp", written as UTF-8 bytes.
  const std::string folderName = "Bilder f\xC3\xBCr Zo\xC3\xAB";
  const std::string name = "Ch\xC3\xA2teau \xC3\xB1" "and\xC3\xBA \xE6\x97\xA5\xE6\x9C\xAC.bmp";
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  // Made through the wide calls, so that the test does not lean on the code it tests.
  const std::wstring wideFolder = std::wstring(temp) + wide(folderName) + L"\\";
  const std::wstring widePath = wideFolder + wide(name);
  CreateDirectoryW(wideFolder.c_str(), nullptr);
  const std::string bytes = WriteBmp24(Bitmap(40, 30, 0x2266AA));
  const HANDLE h = CreateFileW(widePath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);

  testing::ProgramOnWindows windows;
  MemoryPlatform& memory = windows.memory;
  Win32FileSystem& files = windows.files;
  Program& program = windows.program;
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  char tempA[MAX_PATH];
  GetTempPathA(MAX_PATH, tempA);
  const std::string folder = std::string(tempA) + folderName + "\\";
  program.state.ProgramFolder = folder;
  program.state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  program.options.SpeedFill = 0;  // the headers are read as the list fills
  program.frmMain.SetRenderer(&renderer);
  program.frmMain.Load();
  program.frmMain.ApplySettings();

  // Listed: the list view shows the name as it is on disk.
  ASSERT_TRUE(program.files.FillListView(folder));
  const HWND list = renderer.WindowOf(program.frmMain.lstvFiles[1]);
  ASSERT_EQ(ListView_GetItemCount(list), 1);
  char text[MAX_PATH] = {};
  ListView_GetItemText(list, 0, 0, text, sizeof text);
  EXPECT_EQ(text, name);
  ListView_GetItemText(list, 0, 4, text, sizeof text);
  EXPECT_NE(std::string(text).find("40x30"), std::string::npos) << text;

  // Read: the header reader opens it by its path.
  program.state.ImageWidth = program.state.ImageHeight = 0;
  program.headers.ReadImageHeader(folder + name);
  EXPECT_EQ(program.state.ImageWidth, 40);
  EXPECT_EQ(program.state.ImageHeight, 30);

  // Set as the wallpaper: a small bitmap goes to the desktop by its own path.
  program.options.BackdropMode = 1;
  ASSERT_TRUE(program.wallpaper.ChangeWallpaperTo(folder + name));
  EXPECT_EQ(desktopWallpaper(), widePath);
  EXPECT_TRUE(memory.ui.Messages().empty());

  program.frmMain.Unload();
  DeleteFileW(widePath.c_str());
  RemoveDirectoryW(wideFolder.c_str());
}

}  // namespace
}  // namespace tapestrel
