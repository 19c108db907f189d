// A drop as the shell delivers it: WM_DROPFILES with a drop handle on the real list view
// and folder pane, read with DragQueryFile and taken in by the program.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/win32/form_window.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

// A drop handle as the shell makes one: a DROPFILES header and zero-separated names.
HGLOBAL dropHandle(const std::vector<std::string>& paths) {
  std::string names;
  for (const std::string& p : paths) names += p + '\0';
  names += '\0';
  HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
  auto* files = static_cast<DROPFILES*>(GlobalLock(handle));
  files->pFiles = sizeof(DROPFILES);
  std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(), names.size());
  GlobalUnlock(handle);
  return handle;
}

void pump() {
  MSG msg;
  for (int i = 0; i < 20; ++i, Sleep(5))
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST(DropOnWine, FilesAndAFolderDroppedOnTheListAreListedAndManyFoldersOnThePaneAreRefused) {
  testing::ProgramOnWindows windows;
  Program& program = windows.program;
  Win32FileSystem& files = windows.files;
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "Tapestrel drop & 100%\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "Sea").c_str(), nullptr);
  for (const char* name : {"Sea\\wave.bmp", "lone.bmp"})
    files.WriteFileAtomically(folder + name, WriteBmp24(Bitmap(4, 3, 0x123456)));
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  program.state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  program.frmMain.SetRenderer(&renderer);
  program.frmMain.Load();
  program.frmMain.ApplySettings();
  program.files.ShowList(1);

  const HWND list = renderer.WindowOf(program.frmMain.lstvFiles[1]);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);  // the shell may drop here
  PostMessageA(list, WM_DROPFILES, reinterpret_cast<WPARAM>(dropHandle({folder + "Sea", folder + "lone.bmp"})), 0);
  pump();
  EXPECT_EQ(ListView_GetItemCount(list), 2);
  const std::vector<std::string> active = program.folders.LoadActiveFolders();
  EXPECT_NE(std::find(active.begin(), active.end(), folder + "Sea\\"), active.end());  // recorded

  const HWND pane = renderer.WindowOf(program.frmMain.dirPictures);
  ASSERT_NE(pane, nullptr);
  EXPECT_TRUE(GetWindowLongA(pane, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  PostMessageA(pane, WM_DROPFILES, reinterpret_cast<WPARAM>(dropHandle({folder + "Sea", folder})), 0);
  pump();
  ASSERT_FALSE(windows.memory.ui.Messages().empty());
  EXPECT_EQ(windows.memory.ui.Messages().back().prompt,
            "One folder at a time, please.\nYou can drop multiple folders on the file-selection pane.");

  program.frmMain.Unload();
  for (const char* name : {"Sea\\wave.bmp", "lone.bmp"}) files.RemoveFile(folder + name);
  RemoveDirectoryA((folder + "Sea").c_str());
  RemoveDirectoryA(folder.c_str());
  windows.memory.settings.DeleteSection("ActiveDirectories");
}

}  // namespace
}  // namespace tapestrel
