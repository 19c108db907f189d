#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "app/command_ids.h"
#include "app/program.h"
#include "catalogue/thumbnailer.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

bool near(std::uint32_t got, std::uint32_t want, int tolerance) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > tolerance) return false;
  return true;
}

TEST(ThumbnailListTest, StaysWithinItsBudgetAndGivesUpThePictureLookedAtLongestAgo) {
  ThumbnailList list(3 * 10 * 10 * 4);
  EXPECT_EQ(list.Store("early", Bitmap(4, 4)), -1);  // no size yet
  list.SetSize(10);
  ASSERT_EQ(list.Capacity(), 3);
  const int a = list.Store("a", Bitmap(10, 6, 0xFF0000));
  const int b = list.Store("b", Bitmap(10, 6, 0x00FF00));
  list.Store("c", Bitmap(10, 6, 0x0000FF));
  EXPECT_EQ(list.Use("a"), a);  // looked at again: b is now the oldest
  const std::uint64_t serialBefore = list.Slots()[b].serial;
  EXPECT_EQ(list.Store("d", Bitmap(6, 10, 0xFFFFFF)), b);
  EXPECT_EQ(list.SlotOf("b"), -1);
  EXPECT_EQ(list.SlotOf("a"), a);
  EXPECT_GT(list.Slots()[b].serial, serialBefore);  // the renderer sees the slot changed
  EXPECT_EQ(list.Slots()[b].picture.At(0, 0), 0xFFFFFFu);
  EXPECT_EQ(list.Slots().size(), 3u);

  // A picture made again keeps its slot; one that failed is remembered until it is made.
  EXPECT_EQ(list.Store("a", Bitmap(10, 6, 0x123456)), a);
  list.StoreFailed("e");
  EXPECT_TRUE(list.Failed("e"));
  list.Store("e", Bitmap(2, 2));
  EXPECT_FALSE(list.Failed("e"));

  // Larger cells for a screen of more dots: fewer fit, and the old pictures are gone.
  list.SetSize(15);
  EXPECT_EQ(list.Capacity(), 1);
  EXPECT_TRUE(list.Slots().empty());
  EXPECT_EQ(list.SlotOf("a"), -1);
}

class ThumbnailsViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    memory.settings.SaveSetting("StartUp", "AlternateFilePattern", ".*");
    memory.settings.SaveSetting("StartUp", "LoadAltsOnBoot", "1");
    write("quarters.jpg", pictures::EncodedJpeg(pictures::Quarters(1600, 1200), 95));
    write("tall.bmp", WriteBmp24(Bitmap(20, 200, 0x2040C0)));
    write("broken.jpg", pictures::EncodedJpeg(pictures::Quarters(64, 64)).substr(0, 40));
    write("notes.txt", "not a picture");
    ASSERT_TRUE(program.Start());
    ASSERT_EQ(frm.CurrentList(), 0);
  }
  void write(const std::string& name, const std::string& bytes) { memory.files.WriteFile("C:\\Pictures\\" + name, bytes); }
  ListView& list() { return frm.lstvFiles[frm.CurrentList()]; }
  int indexOf(const std::string& name) {
    for (int i = 0; i < list().Count(); ++i)
      if (list().Items()[i].text == name) return i;
    throw std::runtime_error(name + " is not listed");
  }
  // What the renderer does when it draws every item.
  std::vector<int> draw() {
    std::vector<int> slots;
    for (int i = 0; i < list().Count(); ++i) slots.push_back(list().ThumbnailFor(i));
    return slots;
  }
  // The timer's ticks, until it stops itself.
  int runTimer() {
    int ticks = 0;
    while (frm.tmrThumbnails.Enabled() && ticks < 100) {
      frm.tmrThumbnails.Tick();
      ++ticks;
    }
    return ticks;
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& frm = program.frmMain;
};

TEST_F(ThumbnailsViewTest, TheFifthViewStyleIsCheckedAndStoredLikeTheOthers) {
  frm.Dispatch(IDM_VIEW_STYLE_POPUP + 4);
  EXPECT_EQ(list().GetView(), ListView::Thumbnails);
  EXPECT_TRUE(frm.mViewStyle[4].Checked());
  EXPECT_TRUE(frm.mViewStylePopUp[4].Checked());
  EXPECT_FALSE(frm.mViewStyle[0].Checked());
  EXPECT_EQ(frm.mViewStyle[4].Caption(), "&Thumbnails");
  EXPECT_EQ(program.options.ListViewView[1], 4);
  frm.Dispatch(IDM_VIEW_STYLE + 3);
  EXPECT_EQ(list().GetView(), ListView::Details);
  EXPECT_FALSE(frm.mViewStylePopUp[4].Checked());

  // A stored 4 comes back as the Thumbnails view, and so does a number past the last.
  MemoryPlatform again;
  again.settings.SaveSetting("StartUp", "ListViewView1", "4");
  again.settings.SaveSetting("StartUp", "ListViewView0", "9");
  Program restarted{again.platform()};
  ASSERT_TRUE(restarted.Start());
  EXPECT_EQ(restarted.frmMain.lstvFiles[0].GetView(), ListView::Thumbnails);
  EXPECT_EQ(restarted.frmMain.lstvFiles[1].GetView(), ListView::Thumbnails);
}

TEST_F(ThumbnailsViewTest, DrawnItemsGetTheirPicturesBetweenEventsAndDamagedOnesKeepTheirIcons) {
  frm.Dispatch(IDM_VIEW_STYLE + 4);
  EXPECT_FALSE(frm.tmrThumbnails.Enabled());  // nothing is made before the list draws
  for (int slot : draw()) EXPECT_EQ(slot, -1);
  EXPECT_TRUE(frm.tmrThumbnails.Enabled());
  EXPECT_GE(runTimer(), 1);
  EXPECT_FALSE(frm.tmrThumbnails.Enabled());

  const std::vector<int> slots = draw();
  EXPECT_FALSE(frm.tmrThumbnails.Enabled());  // nothing more to make
  const ThumbnailList& pictures = frm.thumbnailPictures;
  ASSERT_GE(slots[indexOf("quarters.jpg")], 0);
  const Bitmap& quarters = pictures.Slots()[slots[indexOf("quarters.jpg")]].picture;
  ASSERT_EQ(quarters.width, 96);  // 1600 x 1200 within 96 x 96, its shape kept
  ASSERT_EQ(quarters.height, 72);
  EXPECT_TRUE(near(quarters.At(10, 10), 0xFF0000, 12));
  EXPECT_TRUE(near(quarters.At(85, 10), 0x00FF00, 12));
  EXPECT_TRUE(near(quarters.At(10, 61), 0x0000FF, 12));
  EXPECT_TRUE(near(quarters.At(85, 61), 0xFFFFFF, 12));

  ASSERT_GE(slots[indexOf("tall.bmp")], 0);
  const Bitmap& tall = pictures.Slots()[slots[indexOf("tall.bmp")]].picture;
  EXPECT_EQ(tall.width, 10);
  EXPECT_EQ(tall.height, 96);
  EXPECT_EQ(tall.At(5, 50), 0x2040C0u);

  EXPECT_EQ(slots[indexOf("broken.jpg")], -1);
  EXPECT_EQ(slots[indexOf("notes.txt")], -1);
  EXPECT_TRUE(memory.ui.Messages().empty());  // a damaged picture is not a message box
}

TEST_F(ThumbnailsViewTest, EscStopsTheMakingAndTheNextDrawingStartsIt) {
  frm.Dispatch(IDM_VIEW_STYLE + 4);
  draw();
  ASSERT_TRUE(frm.tmrThumbnails.Enabled());
  int esc = 27;
  list().KeyDown(esc, 0);
  EXPECT_FALSE(frm.tmrThumbnails.Enabled());
  EXPECT_FALSE(program.thumbnails.Pending());
  EXPECT_EQ(list().ThumbnailFor(indexOf("quarters.jpg")), -1);
  runTimer();
  EXPECT_GE(list().ThumbnailFor(indexOf("quarters.jpg")), 0);
}

TEST_F(ThumbnailsViewTest, TheLatestDrawnComeFirstAndItemsNoLongerListedAreNotMade) {
  frm.Dispatch(IDM_VIEW_STYLE + 4);
  const ThumbnailList& pictures = frm.thumbnailPictures;
  const std::string tallKey = Thumbnailer::KeyOf(list().Items()[indexOf("tall.bmp")]);
  const std::string brokenKey = Thumbnailer::KeyOf(list().Items()[indexOf("broken.jpg")]);
  const std::string quartersKey = Thumbnailer::KeyOf(list().Items()[indexOf("quarters.jpg")]);
  // Drawn together: in the order drawn, each then drawn again by the list.
  list().ThumbnailFor(indexOf("tall.bmp"));
  list().ThumbnailFor(indexOf("broken.jpg"));
  program.thumbnails.MakeSome(0);  // one tick makes one at least
  EXPECT_GE(pictures.SlotOf(tallKey), 0);
  EXPECT_EQ(list().RedrawRequest(), indexOf("tall.bmp"));
  EXPECT_FALSE(pictures.Failed(brokenKey));

  // The list scrolls and draws another: it comes before what was drawn earlier.
  list().ThumbnailFor(indexOf("quarters.jpg"));
  program.thumbnails.MakeSome(0);
  EXPECT_GE(pictures.SlotOf(quartersKey), 0);
  EXPECT_FALSE(pictures.Failed(brokenKey));
  EXPECT_TRUE(program.thumbnails.Pending());

  // The list read again: what was in line for the old list is dropped unmade.
  program.files.ClearListView();
  EXPECT_FALSE(program.thumbnails.MakeSome(1000));
  EXPECT_FALSE(pictures.Failed(brokenKey));
}

}  // namespace
}  // namespace tapestrel
