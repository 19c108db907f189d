// Pictures on several monitors: the composed bitmap of the virtual screen, region by
// region, in each mode and arrangement, and the rotation giving each screen its picture.
#include <gtest/gtest.h>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"
#include "wallpaper/screen_layout.h"

namespace tapestrel {
namespace {

constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kWorking = "C:\\WINDOWS\\Tapestrel Wallpaper.bmp";
constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kYellow = 0xFFFF00;

Monitor monitor(long left, long top, long width, long height, bool primary = false) {
  const PixelRect r{left, top, left + width, top + height};
  return {r, r, primary};
}

class ScreensTest : public ::testing::Test {
 protected:
  ScreensTest() {
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    memory.desktop.platformText = "Windows NT 10.0 (build 19045)";
    memory.desktop.desktopColor = 0x102030;
  }
  // A wide picture: red in its middle half, green in the quarters at each side.
  std::string wide(const std::string& name, int width = 800, int height = 300) {
    Bitmap b(width, height, kRed);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (x < width / 4 || x >= width - width / 4) b.Set(x, y, kGreen);
    return save(name, b);
  }
  std::string plain(const std::string& name, int width, int height, std::uint32_t colour) {
    return save(name, Bitmap(width, height, colour));
  }
  std::string save(const std::string& name, const Bitmap& b) {
    const std::string path = "C:\\Pictures\\" + name;
    memory.files.WriteFile(path, WriteBmp24(b));
    return path;
  }
  Bitmap working() {
    auto b = ReadBmp(memory.files.ReadFile(kWorking));
    return b ? *b : Bitmap();
  }
  std::string desktopValue(const char* name) {
    return memory.registry.Value(RegistryRoot::CurrentUser, kDesktop, name).value_or("");
  }
  // Every pixel of a rectangle of the composed bitmap is `colour`.
  static ::testing::AssertionResult all(const Bitmap& b, long left, long top, long right, long bottom,
                                        std::uint32_t colour) {
    for (long y = top; y < bottom; ++y)
      for (long x = left; x < right; ++x)
        if (b.At(static_cast<int>(x), static_cast<int>(y)) != colour)
          return ::testing::AssertionFailure() << "(" << x << ", " << y << ") is " << std::hex << b.At(x, y);
    return ::testing::AssertionSuccess();
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  WallpaperWriter& writer = program.wallpaper;
  Options& options = program.options;
};

// Two monitors: the primary 1024 x 768, and a portrait one 600 x 800 left of and above it.
TEST_F(ScreensTest, APictureForEachScreenFillsOrFitsEachMonitorsOwnRegion) {
  memory.desktop.monitors = {monitor(0, 0, 1024, 768, true), monitor(-600, -200, 600, 800)};
  options.ScreenArrangement = 1;
  const std::string first = wide("wide.bmp");
  const std::string second = plain("tall.bmp", 300, 400, kBlue);
  writer.OtherScreenPictures = [&](const std::string& from, std::size_t count) {
    EXPECT_EQ(from, first);
    EXPECT_EQ(count, 1u);
    return std::vector<std::string>{second};
  };
  options.BackdropMode = backdrop::kFill;
  ASSERT_TRUE(writer.ChangeWallpaperTo(first));
  Bitmap b = working();
  ASSERT_EQ(b.width, 1624);  // from -600 to 1024
  ASSERT_EQ(b.height, 968);  // from -200 to 768
  // The primary (at 600, 200 of the bitmap): the wide picture's red middle covers it all.
  EXPECT_TRUE(all(b, 600, 200, 1624, 968, kRed));
  // The portrait monitor is all blue; below it, outside every monitor, the desktop colour.
  EXPECT_TRUE(all(b, 0, 0, 600, 800, kBlue));
  EXPECT_TRUE(all(b, 0, 800, 600, 968, 0x102030));
  EXPECT_EQ(desktopValue("WallPaperStyle"), "22");
  EXPECT_EQ(desktopValue("TileWallpaper"), "0");
  EXPECT_EQ(memory.desktop.wallpapers.back(), kWorking);
  EXPECT_EQ(writer.ScreenPictures(), (std::vector<std::string>{first, second}));

  options.BackdropMode = backdrop::kFit;
  ASSERT_TRUE(writer.ChangeWallpaperTo(first));
  b = working();
  // Fitted: 1024 x 384 in the middle of the primary, bars of the desktop colour above and
  // below, the green quarters at its sides.
  EXPECT_TRUE(all(b, 600, 200, 1624, 200 + 192, 0x102030));
  EXPECT_TRUE(all(b, 600, 200 + 576, 1624, 968, 0x102030));
  EXPECT_TRUE(all(b, 600, 200 + 192, 600 + 256, 200 + 576, kGreen));
  EXPECT_TRUE(all(b, 600 + 256, 200 + 192, 600 + 768, 200 + 576, kRed));
  EXPECT_TRUE(all(b, 600 + 768, 200 + 192, 1624, 200 + 576, kGreen));
  // The tall picture fits the portrait monitor as 600 x 800 exactly.
  EXPECT_TRUE(all(b, 0, 0, 600, 800, kBlue));
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

// Three monitors: a 1920 x 1080 primary, a portrait 1080 x 1920 right of it and raised,
// and a 1280 x 1024 one left of it.
TEST_F(ScreensTest, ThreeMonitorsTiledSingleAndStretchedEachInItsRegion) {
  memory.desktop.monitors = {monitor(1920, -420, 1080, 1920), monitor(0, 0, 1920, 1080, true),
                             monitor(-1280, 0, 1280, 1024)};
  options.ScreenArrangement = 1;
  Bitmap marked(100, 100, kRed);
  marked.Set(0, 0, kYellow);
  const std::string tile = save("tile.bmp", marked);
  const std::string blue = plain("blue.bmp", 200, 100, kBlue);
  const std::string green = plain("green.bmp", 40, 30, kGreen);
  writer.OtherScreenPictures = [&](const std::string&, std::size_t count) {
    EXPECT_EQ(count, 2u);
    return std::vector<std::string>{blue, green};  // the portrait one, then the left one
  };
  options.BackdropMode = backdrop::kTiled;
  ASSERT_TRUE(writer.ChangeWallpaperTo(tile));
  Bitmap b = working();
  ASSERT_EQ(b.width, 1280 + 1920 + 1080);
  ASSERT_EQ(b.height, 420 + 1500);
  const long px = 1280, py = 420;  // the primary's corner in the bitmap
  // Tiles start at the primary's corner, every 100 pixels.
  for (long k = 0; k < 19; ++k) {
    EXPECT_EQ(b.At(px + 100 * k, py), kYellow) << k;
    EXPECT_EQ(b.At(px + 100 * k + 1, py + 1), kRed) << k;
  }
  EXPECT_TRUE(all(b, 1280 + 1920, 0, b.width, 1920, kBlue));
  EXPECT_TRUE(all(b, 0, py, 1280, py + 1024, kGreen));
  // Above the left monitor and below it: no monitor, the desktop colour.
  EXPECT_TRUE(all(b, 0, 0, 1280, py, 0x102030));
  EXPECT_TRUE(all(b, 0, py + 1024, 1280, b.height, 0x102030));

  options.BackdropMode = backdrop::kSingle;
  options.ImageCenterStyle = 1;  // the middle of each screen
  ASSERT_TRUE(writer.ChangeWallpaperTo(tile));
  b = working();
  EXPECT_EQ(b.At(px + 910, py + 490), kYellow);
  EXPECT_TRUE(all(b, px, py, px + 910, py + 490, 0x102030));
  EXPECT_TRUE(all(b, 1280 + 1920 + 440, 910, 1280 + 1920 + 640, 1010, kBlue));
  EXPECT_TRUE(all(b, 1280 + 1920, 0, 1280 + 1920 + 440, 1920, 0x102030));

  options.BackdropMode = backdrop::kStretched;
  ASSERT_TRUE(writer.ChangeWallpaperTo(tile));
  b = working();
  EXPECT_TRUE(all(b, 1280 + 1920, 0, b.width, 1920, kBlue));
  EXPECT_TRUE(all(b, 0, py, 1280, py + 1024, kGreen));
  EXPECT_EQ(b.At(px, py), kYellow);
  EXPECT_EQ(b.At(px + 18, py + 9), kYellow);  // one pixel stretched 19.2 x 10.8 times
  EXPECT_EQ(b.At(px + 20, py + 12), kRed);
}

TEST_F(ScreensTest, OnePictureAcrossAllScreensAndTheSamePictureOnEach) {
  memory.desktop.monitors = {monitor(0, 0, 800, 600, true), monitor(800, 0, 800, 600)};
  const std::string picture = wide("wide.bmp", 1600, 600);
  options.BackdropMode = backdrop::kFill;
  options.ScreenArrangement = 2;  // across: the picture's quarters fall on each monitor
  ASSERT_TRUE(writer.ChangeWallpaperTo(picture));
  Bitmap b = working();
  ASSERT_EQ(b.width, 1600);
  EXPECT_TRUE(all(b, 0, 0, 400, 600, kGreen));
  EXPECT_TRUE(all(b, 400, 0, 1200, 600, kRed));
  EXPECT_TRUE(all(b, 1200, 0, 1600, 600, kGreen));
  options.ScreenArrangement = 0;  // the same on each: each monitor shows the red middle
  ASSERT_TRUE(writer.ChangeWallpaperTo(picture));
  b = working();
  EXPECT_TRUE(all(b, 0, 0, 1600, 600, kRed));
}

// Before Windows 7 the composed bitmap is tiled from the primary's corner: it is rolled so
// that the monitor left of the primary still shows its own picture.
TEST_F(ScreensTest, BeforeWindows7TheBitmapIsTiledAndRolledToThePrimarysCorner) {
  memory.desktop.platformText = "Windows NT 5.1 (build 2600)";
  memory.desktop.monitors = {monitor(0, 0, 400, 300, true), monitor(-200, 0, 200, 300)};
  options.ScreenArrangement = 1;
  options.BackdropMode = backdrop::kFill;
  const std::string red = plain("red.bmp", 40, 30, kRed);
  const std::string blue = plain("blue.bmp", 20, 30, kBlue);
  writer.OtherScreenPictures = [&](const std::string&, std::size_t) { return std::vector<std::string>{blue}; };
  ASSERT_TRUE(writer.ChangeWallpaperTo(red));
  const Bitmap b = working();
  ASSERT_EQ(b.width, 600);
  // Tiled from 0: x in 0..400 shows the primary's red, -200..0 (tile 400..600) the blue.
  EXPECT_TRUE(all(b, 0, 0, 400, 300, kRed));
  EXPECT_TRUE(all(b, 400, 0, 600, 300, kBlue));
  EXPECT_EQ(desktopValue("TileWallpaper"), "1");
  EXPECT_EQ(desktopValue("WallPaperStyle"), "0");
}

TEST_F(ScreensTest, ExtremePicturesAndScreensGiveABitmapOrOneClearMessage) {
  options.BackdropMode = backdrop::kFill;
  memory.desktop.monitors = {monitor(0, 0, 7680, 4320, true)};
  // A picture one pixel wide fills a 7680 x 4320 monitor with its middle pixel.
  Bitmap line(1, 9, kGreen);
  line.Set(0, 4, kBlue);
  ASSERT_TRUE(writer.ChangeWallpaperTo(save("line.bmp", line)));
  const Bitmap b = working();
  ASSERT_EQ(b.width, 7680);
  EXPECT_EQ(b.At(0, 0), kBlue);
  EXPECT_EQ(b.At(7679, 4319), kBlue);
  EXPECT_TRUE(memory.ui.Prompts().empty());
  // Six such monitors in a row are more than one bitmap may take: one message, and the
  // working bitmap as it was.
  const std::string before = memory.files.ReadFile(kWorking);
  memory.desktop.monitors.clear();
  for (int i = 0; i < 6; ++i) memory.desktop.monitors.push_back(monitor(7680 * i, 0, 7680, 4320, i == 0));
  EXPECT_FALSE(writer.ChangeWallpaperTo(save("red.bmp", Bitmap(10, 10, kRed))));
  ASSERT_EQ(memory.ui.Prompts().size(), 1u);
  EXPECT_NE(memory.ui.Prompts()[0].find("46080 x 4320"), std::string::npos) << memory.ui.Prompts()[0];
  EXPECT_EQ(memory.files.ReadFile(kWorking), before);
}

// A JPEG whose header claims 60,000 x 60,000 pixels on a second screen: refused before
// its memory is asked for, told once, and the working bitmap left whole as it was.
TEST_F(ScreensTest, APictureWhoseHeaderLiesIsToldOnceAndTheWorkingBitmapStays) {
  memory.desktop.monitors = {monitor(0, 0, 640, 480, true), monitor(640, 0, 640, 480)};
  options.ScreenArrangement = 1;
  options.BackdropMode = backdrop::kFill;
  options.InternalDecoding = true;
  program.decoder.LoadDecoderOptions();
  const std::string good = plain("good.bmp", 64, 48, kRed);
  std::string jpeg = pictures::EncodedJpeg(Bitmap(16, 16, kBlue));
  const std::size_t sof = jpeg.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  jpeg.replace(sof + 5, 4, pictures::Be16(60000) + pictures::Be16(60000));
  memory.files.WriteFile("C:\\Pictures\\liar.jpg", jpeg);
  ASSERT_TRUE(writer.ChangeWallpaperTo(good));  // both screens the good picture
  const std::string before = memory.files.ReadFile(kWorking);
  memory.ui.ClearMessages();
  writer.OtherScreenPictures = [](const std::string&, std::size_t) {
    return std::vector<std::string>{"C:\\Pictures\\liar.jpg"};
  };
  EXPECT_FALSE(writer.ChangeWallpaperTo(good));
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_NE(memory.ui.Prompts()[0].find("liar.jpg"), std::string::npos) << memory.ui.Prompts()[0];
  EXPECT_EQ(memory.files.ReadFile(kWorking), before);
}

// With smooth shrinking off the old modes give what they always gave (the pixel under
// each centre); on, the average.
TEST_F(ScreensTest, SmoothShrinkingOffKeepsTheOldShrinkOnAveragesAndTheOldModesStayUncomposed) {
  Bitmap stripes(2000, 1000);
  for (int y = 0; y < stripes.height; ++y)
    for (int x = 0; x < stripes.width; ++x) stripes.Set(x, y, (x + y) % 3 ? 0xFFFFFF : 0x000000);
  const std::string path = save("stripes.bmp", stripes);
  for (bool smooth : {false, true}) {
    options.SmoothShrinking = smooth;
    ASSERT_TRUE(writer.ChangeWallpaperTo(path));
    const Bitmap b = working();
    const Bitmap expected = smooth ? ShrinkSmooth(stripes, 1024, 512) : StretchNearest(stripes, 1024, 512);
    EXPECT_EQ(b.pixels, expected.pixels) << smooth;
    // The old tiled mode on the same picture on every screen: Windows tiles the picture.
    EXPECT_EQ(desktopValue("TileWallpaper"), "1");
    EXPECT_EQ(desktopValue("WallPaperStyle"), "1");
  }
}

// The rotation gives each screen the next picture, and a step passes over the group.
TEST_F(ScreensTest, EachChangeGivesEveryScreenTheNextPictureAndStepsByTheGroup) {
  memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
  const std::uint32_t colours[] = {kRed, kGreen, kBlue, kYellow, 0x808080};
  const char* names[] = {"a.bmp", "b.bmp", "c.bmp", "d.bmp", "e.bmp"};
  for (int i = 0; i < 5; ++i) plain(names[i], 64, 48, colours[i]);
  ASSERT_TRUE(program.Start());
  program.frmMain.mSort[0].Click();
  memory.desktop.monitors = {monitor(0, 0, 640, 480, true), monitor(640, 0, 640, 480)};
  program.frmMain.Dispatch(IDM_SCREEN_ARRANGEMENT + 1);
  EXPECT_TRUE(program.frmMain.mnuScreenArrangement[1].Checked());
  program.frmMain.Dispatch(IDM_BACKDROP_MODE + backdrop::kFill);
  EXPECT_TRUE(program.frmMain.mnuBackdropMode[backdrop::kFill].Checked());
  memory.ui.Answer(mb::IdYes);  // no wallpaper yet: from the first
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  Bitmap b = working();
  EXPECT_TRUE(all(b, 0, 0, 640, 480, kRed));
  EXPECT_TRUE(all(b, 640, 0, 1280, 480, kGreen));
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  b = working();
  EXPECT_TRUE(all(b, 0, 0, 640, 480, kBlue));
  EXPECT_TRUE(all(b, 640, 0, 1280, 480, kYellow));
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\c.bmp");
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Previous));
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\a.bmp");

  // A portrait screen passes over landscape pictures when asked to.
  plain("f.bmp", 48, 64, 0x00FFFF);
  program.files.ClearListView();
  program.files.FillListView();
  program.frmMain.mSort[0].Click();
  memory.desktop.monitors = {monitor(0, 0, 640, 480, true), monitor(640, 0, 480, 640)};
  options.MatchOrientation = true;
  ASSERT_TRUE(program.rotation.ChangeWallpaper(Rotation::Next));
  b = working();
  EXPECT_TRUE(all(b, 0, 0, 640, 480, kBlue));       // c, landscape on the landscape screen
  EXPECT_TRUE(all(b, 640, 0, 1120, 640, 0x00FFFF));  // f, the only portrait picture

  // A display change composes the same pictures for the new layout.
  memory.desktop.monitors = {monitor(0, 0, 800, 600, true)};
  ASSERT_TRUE(writer.Recompose());
  b = working();
  EXPECT_EQ(b.width, 800);
  EXPECT_TRUE(all(b, 0, 0, 800, 600, kBlue));
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\c.bmp");
}

// A display change (or waking from sleep) lays the same pictures out again once the display
// settles; Explorer coming back finds the wallpaper set again if it was lost.
TEST_F(ScreensTest, ADisplayChangeRecomposesOnceSettledAndALostWallpaperIsSetAgain) {
  memory.desktop.monitors = {monitor(0, 0, 640, 480, true)};
  options.BackdropMode = backdrop::kFit;
  const std::string picture = plain("square.bmp", 100, 100, kRed);
  ASSERT_TRUE(writer.ChangeWallpaperTo(picture));
  EXPECT_EQ(working().width, 640);
  FrmMain& frm = program.frmMain;
  memory.desktop.monitors = {monitor(0, 0, 1280, 1024, true), monitor(1280, 0, 640, 480)};
  Raise(frm.DisplayChanged);
  Raise(frm.DisplayChanged);  // one more while it settles: still one composing
  EXPECT_TRUE(frm.tmrDisplayChanged.Enabled());
  const std::size_t set = memory.desktop.wallpapers.size();
  frm.tmrDisplayChanged.Tick();
  EXPECT_FALSE(frm.tmrDisplayChanged.Enabled());
  EXPECT_EQ(memory.desktop.wallpapers.size(), set + 1);
  const Bitmap b = working();
  ASSERT_EQ(b.width, 1920);
  EXPECT_TRUE(all(b, 128, 0, 1152, 1024, kRed));  // the same picture, fitted anew
  EXPECT_EQ(options.WallPaperName, picture);

  memory.desktop.wallpaperLost = true;
  Raise(frm.TaskbarCreated);
  EXPECT_EQ(memory.desktop.wallpapers.size(), set + 2);
  EXPECT_EQ(memory.desktop.CurrentWallpaper(), kWorking);
  Raise(frm.TaskbarCreated);  // not lost: left alone
  EXPECT_EQ(memory.desktop.wallpapers.size(), set + 2);
}

}  // namespace
}  // namespace tapestrel
