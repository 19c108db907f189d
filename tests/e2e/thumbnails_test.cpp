// The Thumbnails view in the real program: a folder of 200 photos shows each photo's
// colours in its thumbnail on the screen, the window answering all the while; large
// icons and back again; scrolled to the end, the last photos get theirs; a damaged photo
// is no message. Esc, pressed in the list while large photos are being made, stops the
// making; the list drawn again starts it.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "tests/common/picture_builders.h"
#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel;
using namespace tapestrel::e2e;

constexpr int kPhotos = 200;

// Colours of a 6 x 6 x 6 cube, each at least 51 from the next in some channel.
unsigned colourOf(int photo) {
  const unsigned r = photo % 6 * 51, g = photo / 6 % 6 * 51, b = photo / 36 % 6 * 51;
  return r << 16 | g << 8 | b;
}

bool looksLike(COLORREF seen, unsigned rgb) {
  const int want[] = {static_cast<int>(rgb >> 16 & 0xFF), static_cast<int>(rgb >> 8 & 0xFF), static_cast<int>(rgb & 0xFF)};
  const int got[] = {GetRValue(seen), GetGValue(seen), GetBValue(seen)};
  for (int c = 0; c < 3; ++c)
    if (std::abs(want[c] - got[c]) > 20) return false;
  return true;
}

struct Screen {
  HDC dc = GetDC(nullptr);
  ~Screen() { ReleaseDC(nullptr, dc); }
};

class ThumbnailsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // A photo with a block of its own colour over its middle half, which its thumbnail
    // shows in the middle of its cell.
    const Bitmap texture = pictures::PhotoLike(640, 480);
    for (int i = 0; i < kPhotos; ++i) {
      Bitmap photo = texture;
      for (int y = 120; y < 360; ++y)
        for (int x = 160; x < 480; ++x) photo.Set(x, y, colourOf(i));
      char name[32];
      std::snprintf(name, sizeof name, "photo%03d.jpg", i);
      folder.write(name, pictures::EncodedJpeg(photo, 90));
      colours[name] = colourOf(i);
    }
    folder.write("damaged.jpg", pictures::EncodedJpeg(texture).substr(0, 600));
    deleteStore();
    setStoredSetting("PictureDirectory1", folder.path());
    setStoredSetting("AlternateFilePattern", ".jp?");
    setStoredSetting("LoadAltsOnBoot", "1");
    setStoredSetting("ListViewView0", "4");
    setStoredSetting("ListViewView1", "4");
  }
  void TearDown() override { deleteStore(); }

  // The items wholly on the screen whose cell's middle shows their photo's colour, and
  // how many are wholly on the screen.
  std::pair<int, int> showing(HWND list) {
    RECT client{};
    GetClientRect(list, &client);
    MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
    Screen screen;
    int shown = 0, onScreen = 0;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const RECT cell = listItemIconRect(list, i);
      if (cell.top < client.top || cell.bottom > client.bottom || cell.left < client.left || cell.right > client.right)
        continue;
      const auto colour = colours.find(listItemText(list, i, 0));
      if (colour == colours.end()) continue;  // the damaged one
      ++onScreen;
      if (looksLike(GetPixel(screen.dc, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), colour->second)) ++shown;
    }
    return {shown, onScreen};
  }

  // Waits until every photo on the screen shows, asking the window for an answer all the
  // while: a window that stops answering for two seconds fails the test.
  std::pair<int, int> waitForThumbnails(HWND window, HWND list) {
    std::pair<int, int> seen{0, 0};
    for (int waited = 0; waited < 30000; waited += 200) {
      DWORD_PTR answer = 0;
      EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer), 0) << "the window stopped answering";
      seen = showing(list);
      if (seen.second > 0 && seen.first == seen.second) break;
      Sleep(200);
    }
    return seen;
  }

  TempFolder folder{"thumbnails"};
  std::map<std::string, unsigned> colours;
};

// Shown photos among the items on the screen, with `photos` items in all.
int shownOf(HWND list, int photos, unsigned colour) {
  Screen screen;
  int shown = 0;
  for (int i = 0; i < photos; ++i) {
    const RECT cell = listItemIconRect(list, i);
    shown += looksLike(GetPixel(screen.dc, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2), colour) ? 1 : 0;
  }
  return shown;
}

TEST(ThumbnailsOfLargePhotos, EscStopsTheMakingAndTheListDrawnAgainStartsIt) {
  constexpr int kLarge = 40;
  constexpr unsigned kColour = 0x20A040;
  TempFolder folder("thumbnails-large");
  {
    // 24 megapixels, its middle half of one colour: each takes a while even at 1/8.
    Bitmap photo = pictures::PhotoLike(6000, 4000);
    for (int y = 1000; y < 3000; ++y)
      for (int x = 1500; x < 4500; ++x) photo.Set(x, y, kColour);
    const std::string jpeg = pictures::EncodedJpeg(photo, 90);
    for (int i = 0; i < kLarge; ++i) folder.write("large" + std::to_string(10 + i) + ".jpg", jpeg);
  }
  deleteStore();
  setStoredSetting("PictureDirectory1", folder.path());
  setStoredSetting("AlternateFilePattern", ".jp?");
  setStoredSetting("LoadAltsOnBoot", "1");
  setStoredSetting("ListViewView1", "4");
  RunningProgram program;
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MAXIMIZE);
  const HWND list = findVisibleChild(window, "SysListView32");
  ASSERT_NE(list, nullptr);
  for (int waited = 0; waited < 20000 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < kLarge; waited += 100) Sleep(100);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), kLarge);

  for (int waited = 0; waited < 20000 && shownOf(list, kLarge, kColour) == 0; waited += 20) Sleep(20);
  const RECT first = listItemIconRect(list, 0);
  clickAt(POINT{(first.left + first.right) / 2, first.bottom + 4});  // the name: the list has the focus
  pressKeys({VK_ESCAPE});
  Sleep(800);
  const int stopped = shownOf(list, kLarge, kColour);
  Sleep(2000);
  EXPECT_EQ(shownOf(list, kLarge, kColour), stopped) << "no more are made after Esc";
  EXPECT_LT(stopped, kLarge);

  // Drawn again (minimized and back): the rest are made.
  ShowWindow(window, SW_MINIMIZE);
  Sleep(300);
  ShowWindow(window, SW_MAXIMIZE);
  for (int waited = 0; waited < 30000 && shownOf(list, kLarge, kColour) < kLarge; waited += 200) Sleep(200);
  EXPECT_EQ(shownOf(list, kLarge, kColour), kLarge);

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  EXPECT_EQ(code, 0u);
  deleteStore();
}

TEST_F(ThumbnailsEndToEnd, EachPhotoShowsItsColoursAndScrollingMakesTheRest) {
  RunningProgram program;
  ASSERT_TRUE(program.started());
  const HWND window = program.MainWindowInFront();
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_MAXIMIZE);
  const HWND list = findVisibleChild(window, "SysListView32");
  ASSERT_NE(list, nullptr);
  for (int waited = 0; waited < 20000 && SendMessageA(list, LVM_GETITEMCOUNT, 0, 0) < kPhotos + 1; waited += 100) Sleep(100);
  ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), kPhotos + 1);
  EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & LVS_TYPEMASK, LVS_ICON);

  const auto first = waitForThumbnails(window, list);
  EXPECT_GE(first.second, 12) << "too few items on the screen to tell";
  EXPECT_EQ(first.first, first.second) << "items on the screen showing their photo";

  // Large icons from the menu, and back: the pictures come back at once, already made.
  const LRESULT thumbnailSpacing = SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0);
  PostMessageA(window, WM_COMMAND, IDM_VIEW_STYLE, 0);
  for (int waited = 0; waited < 5000 && showing(list).first > 0; waited += 100) Sleep(100);
  EXPECT_EQ(showing(list).first, 0) << "large icons show no photo";
  // Large icons as close together as the system sets them, not a thumbnail's room apart.
  const LRESULT iconSpacing = SendMessageA(list, LVM_GETITEMSPACING, FALSE, 0);
  EXPECT_EQ(LOWORD(iconSpacing), GetSystemMetrics(SM_CXICONSPACING)) << LOWORD(thumbnailSpacing);
  EXPECT_LT(HIWORD(iconSpacing), HIWORD(thumbnailSpacing));
  EXPECT_EQ(listItemIconRect(list, 1).left - listItemIconRect(list, 0).left, LOWORD(iconSpacing)) << "laid out anew";
  PostMessageA(window, WM_COMMAND, IDM_VIEW_STYLE + 4, 0);
  Sleep(500);
  const auto again = showing(list);
  EXPECT_EQ(again.first, again.second) << "the thumbnails shown again";

  // End, pressed in the list, scrolls to its end: those photos get their thumbnails in turn.
  const RECT firstCell = listItemIconRect(list, 0);
  SetForegroundWindow(window);
  clickAt(POINT{(firstCell.left + firstCell.right) / 2, (firstCell.top + firstCell.bottom) / 2});
  Sleep(200);
  pressKeys({VK_END});
  const auto last = waitForThumbnails(window, list);
  EXPECT_GE(last.second, 12);
  EXPECT_EQ(last.first, last.second) << "items at the end showing their photo";
  const RECT lastCell = listItemIconRect(list, kPhotos);
  RECT client{};
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  EXPECT_LE(lastCell.bottom, client.bottom + 1) << "the list scrolled to its end";

  EXPECT_EQ(findMessageBox("", 200), nullptr) << "a damaged photo is no message";
  ASSERT_TRUE(IsWindow(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(program.WaitForExit(20000, code));
  EXPECT_EQ(code, 0u);
}

}  // namespace
