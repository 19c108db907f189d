// The catalogue in the real program, used as a user would: the list fills from the
// picture folder at start with its six columns and totals, a click on each column header
// sorts (or says why it need not), Ctrl+F finds a name, and Ctrl+A / Ctrl+B switch
// between the "alt" and the "bmp" lists.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

void setWriteTime(const std::string& path, int year) {
  SYSTEMTIME when{};
  when.wYear = static_cast<WORD>(year);
  when.wMonth = 6;
  when.wDay = 15;
  when.wHour = 12;
  FILETIME time;
  SystemTimeToFileTime(&when, &time);
  const HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(h, nullptr, nullptr, &time);
  CloseHandle(h);
}

std::vector<std::string> names(HWND list) {
  std::vector<std::string> shown;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) shown.push_back(listItemText(list, i, 0));
  return shown;
}

using Names = std::vector<std::string>;

class CatalogueEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteStore();
    // Name, size and date orders all differ.
    setWriteTime(pictures.writeBitmap("sea.bmp", 40, 30, 0x3060C0), 2001);
    setWriteTime(pictures.writeBitmap("alps.bmp", 64, 48, 0xF0F0F0), 2005);
    setWriteTime(pictures.writeBitmap("dune.bmp", 8, 6, 0xC0A060), 2009);
    pictures.write("photo.jpg", tapestrel::pictures::Jpeg(640, 480));
    pictures.write("beach.jpg", tapestrel::pictures::Jpeg(800, 600));
    pictures.write("notes.txt", "not a picture");
    setStoredSetting("PictureDirectory1", pictures.path());
    setStoredSetting("SpeedFill", "0");
    setStoredSetting("ListViewView0", "3");
    setStoredSetting("ListViewView1", "3");
    setStoredSetting("WindowPosition", "0 0 18000 12000");  // room for every column (in twips)
  }
  void TearDown() override { deleteStore(); }

  // Brings the program's window forward, then clicks a column header of the list shown.
  void clickColumn(HWND list, int column) {
    SetForegroundWindow(window);
    Sleep(200);
    const RECT r = headerItemRect(ListView_GetHeader(list), column);
    clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Sleep(500);
  }
  // The list shown once it holds `count` items.
  HWND listHolding(int count) {
    for (int waited = 0; waited < 10000; waited += 50) {
      if (HWND list = findVisibleChild(window, WC_LISTVIEWA); list && ListView_GetItemCount(list) == count) return list;
      Sleep(50);
    }
    return nullptr;
  }
  std::string mainPanel() { return statusText(findVisibleChild(window, STATUSCLASSNAMEA), 0); }
  // The main panel once it begins with `start` (texts of a burst show a moment later).
  std::string mainPanelStarting(const std::string& start) {
    for (int waited = 0; waited < 3000 && mainPanel().rfind(start, 0) != 0; waited += 50) Sleep(50);
    return mainPanel();
  }
  void dismiss(const char* text) {
    const HWND box = findMessageBox(text, 5000);
    ASSERT_NE(box, nullptr) << "no message \"" << text << "\"";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    Sleep(300);
  }

  TempFolder pictures{"tapestrel-e2e-catalogue"};
  HWND window = nullptr;
};

TEST_F(CatalogueEndToEnd, FillsSortsFindsSwitchesAndTotals) {
  RunningProgram program;
  ASSERT_TRUE(program.started());
  window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);

  // At start: the three bitmaps, six columns, sizes and dimensions read, totals shown.
  HWND list = listHolding(3);
  ASSERT_NE(list, nullptr);
  const HWND header = ListView_GetHeader(list);
  ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 6);
  const char* const columns[] = {"image name", "folder", "file type", "ID", "image info", "date and time"};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(headerText(header, i), columns[i]);
  const Names readIn = names(list);
  EXPECT_EQ(mainPanelStarting("Total 3 file(s) (").rfind("Total 3 file(s) (", 0), 0u) << mainPanel();
  EXPECT_EQ(mainPanel().find("???"), std::string::npos) << mainPanel();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(listItemText(list, i, 1), pictures.path());
    EXPECT_EQ(listItemText(list, i, 2), "bmp");
    if (listItemText(list, i, 0) == "alps.bmp") {
      EXPECT_NE(listItemText(list, i, 4).find("64x48"), std::string::npos);
    }
    if (listItemText(list, i, 0) == "sea.bmp") {
      EXPECT_EQ(listItemText(list, i, 5).rfind("2001/06/15", 0), 0u);
    }
  }

  // Sorting by each column; a second click on a column reverses it.
  clickColumn(list, 0);
  EXPECT_EQ(names(list), (Names{"alps.bmp", "dune.bmp", "sea.bmp"}));
  EXPECT_EQ(mainPanelStarting("Sorting"), "Sorting done. Thank you.");
  clickColumn(list, 0);
  EXPECT_EQ(names(list), (Names{"sea.bmp", "dune.bmp", "alps.bmp"}));
  clickColumn(list, 4);
  EXPECT_EQ(names(list), (Names{"dune.bmp", "sea.bmp", "alps.bmp"}));
  clickColumn(list, 5);
  EXPECT_EQ(names(list), (Names{"sea.bmp", "alps.bmp", "dune.bmp"}));
  clickColumn(list, 1);
  dismiss("There is only one folder so sorting is not necessary.");
  clickColumn(list, 2);
  dismiss("There is only one file type so sorting is not necessary.");
  clickColumn(list, 3);
  EXPECT_EQ(names(list), readIn);

  // Ctrl+F finds a name and selects it.
  SetForegroundWindow(window);
  Sleep(200);
  pressKeys({VK_CONTROL, 'F'});
  const HWND find = findMessageBox("Enter a file name to find.", 5000);
  ASSERT_NE(find, nullptr);
  SetForegroundWindow(find);
  Sleep(200);
  typeText("dune.bmp");
  pressKeys({VK_RETURN});
  Sleep(500);
  const int selected = ListView_GetNextItem(list, -1, LVNI_SELECTED);
  ASSERT_GE(selected, 0);
  EXPECT_EQ(listItemText(list, selected, 0), "dune.bmp");

  // Ctrl+A shows the "alt" list (the JPEGs), Ctrl+B the bitmaps again.
  SetForegroundWindow(window);
  Sleep(200);
  pressKeys({VK_CONTROL, 'A'});
  const HWND alt = listHolding(2);
  ASSERT_NE(alt, nullptr);
  EXPECT_NE(alt, list);
  EXPECT_EQ(mainPanelStarting("Total 2 file(s) (").rfind("Total 2 file(s) (", 0), 0u) << mainPanel();
  for (int i = 0; i < 2; ++i) EXPECT_EQ(listItemText(alt, i, 2), "jpg");
  pressKeys({VK_CONTROL, 'B'});
  EXPECT_EQ(listHolding(3), list);

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
}

}  // namespace
