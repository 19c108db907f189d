// The file list on Windows: real directory searches fill the real (owner-data) list view.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/form_window.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {
namespace {

class FileListOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "tapestrel-list\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    for (const char* name : {"sea.bmp", "alps.bmp", "dune.bmp", "photo.jpg", "notes.txt"}) make(name);
    frm.SetRenderer(&renderer);
    program.state.ProgramFolder = folder_;
    frm.Load();
    frm.ApplySettings();
    frm.InitializeToolBar();
  }
  void TearDown() override {
    frm.Unload();
    for (const auto& f : made_) DeleteFileA(f.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  void make(const char* name) {
    const std::string path = folder_ + name;
    const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD wrote = 0;
    WriteFile(h, "0123456789", 10, &wrote, nullptr);
    CloseHandle(h);
    made_.push_back(path);
  }
  std::string itemText(int item, int column) {
    char text[MAX_PATH] = {};
    ListView_GetItemText(renderer.WindowOf(frm.lstvFiles[frm.CurrentList()]), item, column, text, sizeof text);
    return text;
  }

  MemoryPlatform memory;
  Win32FileSystem files;
  Platform platform{memory.registry, memory.settings, memory.profiles, files, memory.ui, memory.clock, memory.desktop, memory.processes, memory.gvbox, memory.shell, memory.mci};
  Program program{platform};
  FrmMain& frm = program.frmMain;
  Win32FormRenderer renderer{GetModuleHandleA(nullptr)};
  std::string folder_;
  std::vector<std::string> made_;
};

TEST_F(FileListOnWine, FillsSortsAndSwitchesLists) {
  ASSERT_TRUE(program.files.FillListView(folder_));
  const HWND bmpList = renderer.WindowOf(frm.lstvFiles[1]);
  EXPECT_EQ(ListView_GetItemCount(bmpList), 3);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Total 3 file(s) (??? MB)");
  // A click on the "image name" header sorts by name.
  NMLISTVIEW click{};
  click.hdr.hwndFrom = bmpList;
  click.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(bmpList));
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = 0;
  SendMessageA(renderer.WindowOf(frm), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  EXPECT_EQ(itemText(0, 0), "alps.bmp");
  EXPECT_EQ(itemText(2, 0), "sea.bmp");
  EXPECT_EQ(itemText(0, 2), "bmp");
  EXPECT_EQ(itemText(0, 5).size(), 19u);

  program.files.ShowList(0);
  ASSERT_TRUE(program.files.FillListView(folder_));
  EXPECT_EQ(ListView_GetItemCount(renderer.WindowOf(frm.lstvFiles[0])), 1);
  EXPECT_EQ(itemText(0, 0), "photo.jpg");
  EXPECT_FALSE(IsWindowVisible(bmpList) && GetWindowLongPtrA(bmpList, GWL_STYLE) & WS_VISIBLE);

  // The icons both lists share are still there for the hidden one after the switches.
  program.files.ShowList(1);
  program.files.ShowList(0);
  const HWND altList = renderer.WindowOf(frm.lstvFiles[0]);
  for (const int kind : {LVSIL_NORMAL, LVSIL_SMALL}) {
    const HIMAGELIST hidden = ListView_GetImageList(bmpList, kind);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden, ListView_GetImageList(altList, kind));
    EXPECT_GT(ImageList_GetImageCount(hidden), 0);
  }
}

}  // namespace
}  // namespace tapestrel
