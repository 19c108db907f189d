// Keys reach their handlers in the real program, typed as a user types them: Enter in
// the folder combo's edit field goes to the typed folder; stepping through its open list
// changes nothing until a pick; Shift+F10 opens the file list's menu; Enter in the
// alternate-pattern combo chooses the pattern.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

BOOL CALLBACK collectCombo(HWND w, LPARAM p) {
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (lstrcmpiA(cls, "ComboBox") == 0 && IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
  return TRUE;
}

std::vector<HWND> combos(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, collectCombo, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string windowText(HWND w) {
  char text[MAX_PATH] = {};
  SendMessageA(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

class KeyRoutingEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteStore();
    for (const char* name : {"a1.bmp", "a2.bmp"}) a.writeBitmap(name, 8, 6, 0x3060C0);
    a.write("a.jpg", tapestrel::pictures::Jpeg(64, 48));
    for (const char* name : {"b1.bmp", "b2.bmp", "b3.bmp"}) b.writeBitmap(name, 8, 6, 0x30C060);
    c.writeBitmap("c1.bmp", 8, 6, 0xC06030);
    setStoredSetting("PictureDirectory1", a.path());
    setStoredSetting("PictureDirectory2", b.path());
    setStoredSetting("PictureDirectory3", c.path());
    setStoredSetting("PictureDirectory", "0");
    setStoredSetting("WindowPosition", "0 0 15000 9000");
  }
  void TearDown() override { deleteStore(); }

  int listCount() {
    const HWND list = findVisibleChild(window, WC_LISTVIEWA);
    return list ? ListView_GetItemCount(list) : -1;
  }
  bool waitForCount(int count, DWORD milliseconds = 5000) {
    for (DWORD waited = 0; waited < milliseconds; waited += 50) {
      if (listCount() == count) return true;
      Sleep(50);
    }
    return false;
  }
  // The count stays what it is for a while: nothing was refilled.
  bool countStays(int count) {
    for (int i = 0; i < 10; ++i, Sleep(100))
      if (listCount() != count) return false;
    return true;
  }
  // Types a folder into the folder combo's edit field, over what it held, and Enter.
  static void typeFolder(HWND edit, const std::string& path) {
    clickOn(edit);
    Sleep(200);
    pressKeys({VK_END});
    pressKeys({VK_SHIFT, VK_HOME});
    typeText(path);
    pressKeys({VK_RETURN});
  }
  // The combos with an edit field: the folder history, and the alternate patterns (eight
  // or nine entries).
  HWND editCombo(bool patterns) {
    for (HWND w : combos(window))
      if ((GetWindowLongA(w, GWL_STYLE) & 3) == CBS_DROPDOWN && (SendMessageA(w, CB_GETCOUNT, 0, 0) >= 8) == patterns) return w;
    return nullptr;
  }

  TempFolder a{"tapestrel-e2e-keys-a"};
  TempFolder b{"tapestrel-e2e-keys-b"};
  TempFolder c{"tapestrel-e2e-keys-c"};
  HWND window = nullptr;
};

TEST_F(KeyRoutingEndToEnd, FolderComboAlternatePatternComboAndShiftF10) {
  RunningProgram program;
  ASSERT_TRUE(program.started());
  window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(waitForCount(2)) << listCount();  // folder a's bitmaps
  SetForegroundWindow(window);
  Sleep(300);

  // Enter typed in the folder combo's edit field goes to the typed folder.
  const HWND folderCombo = editCombo(false);
  ASSERT_NE(folderCombo, nullptr);
  const HWND edit = FindWindowExA(folderCombo, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  typeFolder(edit, c.path());
  EXPECT_TRUE(waitForCount(1)) << listCount();

  // The open list: arrow steps only highlight, Enter takes the entry into the box and
  // closes the list, and the next Enter goes there.
  pressKeys({VK_F4});
  Sleep(300);
  ASSERT_TRUE(SendMessageA(folderCombo, CB_GETDROPPEDSTATE, 0, 0));
  pressKeys({VK_UP});
  Sleep(100);
  pressKeys({VK_UP});
  EXPECT_TRUE(countStays(1)) << listCount();
  pressKeys({VK_RETURN});
  Sleep(300);
  EXPECT_FALSE(SendMessageA(folderCombo, CB_GETDROPPEDSTATE, 0, 0));
  const std::string chosen = windowText(edit);
  EXPECT_TRUE(countStays(1)) << listCount();
  const int expected = chosen == a.path() ? 2 : chosen == b.path() ? 3 : -1;
  ASSERT_NE(expected, -1) << chosen;
  pressKeys({VK_RETURN});
  EXPECT_TRUE(waitForCount(expected)) << chosen << " " << listCount();

  // Back to folder a for the rest, by way of c: when a is already shown, its count alone
  // cannot tell that the list has been filled again, and a fill still under way would
  // take away the selection made below.
  typeFolder(edit, c.path());
  ASSERT_TRUE(waitForCount(1)) << listCount();
  typeFolder(edit, a.path());
  ASSERT_TRUE(waitForCount(2)) << listCount();

  // Shift+F10 on the list with a selection opens the file list's menu.
  // Into the list, then Home: the first item, focused and selected.
  const HWND list = findVisibleChild(window, WC_LISTVIEWA);
  clickOn(list);
  Sleep(200);
  pressKeys({VK_HOME});
  Sleep(300);
  ASSERT_EQ(ListView_GetSelectedCount(list), 1u);
  pressKeys({VK_SHIFT, VK_F10});
  HWND menu = nullptr;
  for (int waited = 0; waited < 3000 && !(menu = FindWindowA("#32768", nullptr)); waited += 50) Sleep(50);
  EXPECT_TRUE(menu && IsWindowVisible(menu)) << "no pop-up menu";
  pressKeys({VK_ESCAPE});
  Sleep(300);

  // Enter in the alternate-pattern combo chooses the highlighted pattern: from ".jp?"
  // (one picture in a) up to ".bmp" (two).
  pressKeys({VK_CONTROL, 'A'});  // the "alt" list
  ASSERT_TRUE(waitForCount(1));
  const HWND patterns = editCombo(true);
  ASSERT_NE(patterns, nullptr);
  clickOn(FindWindowExA(patterns, nullptr, "Edit", nullptr));
  pressKeys({VK_F4});  // opens its list
  Sleep(300);
  ASSERT_TRUE(SendMessageA(patterns, CB_GETDROPPEDSTATE, 0, 0));
  pressKeys({VK_UP});
  EXPECT_TRUE(countStays(1)) << listCount();
  pressKeys({VK_RETURN});
  EXPECT_TRUE(waitForCount(2)) << listCount();

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 0;
  EXPECT_TRUE(program.WaitForExit(20000, code));
}

}  // namespace
