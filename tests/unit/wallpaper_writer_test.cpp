#include <gtest/gtest.h>

#include <cstdlib>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

constexpr const char* kDesktop = "Control Panel\\Desktop";

class WallpaperWriterTest : public ::testing::Test {
 protected:
  WallpaperWriterTest() {
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    setScreen(1024, 768);
  }
  void setScreen(int width, int height) {
    memory.desktop.screenWidth = width * 15;
    memory.desktop.screenHeight = height * 15;
  }
  std::string picture(const std::string& name, int width, int height) {
    const std::string path = "C:\\Pictures\\" + name;
    memory.files.WriteFile(path, WriteBmp24(Bitmap(width, height, 0x336699)));
    return path;
  }
  std::optional<std::string> desktopValue(const char* name) { return memory.registry.Value(RegistryRoot::CurrentUser, kDesktop, name); }
  void setDesktop(const char* name, const char* value) { memory.registry.SetValue(RegistryRoot::CurrentUser, kDesktop, name, value); }
  std::vector<std::string> prompts() const { return memory.ui.Prompts(); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  WallpaperWriter& writer = program.wallpaper;
};

TEST_F(WallpaperWriterTest, ALargePictureIsShrunkIntoTheWorkingBitmap) {
  setScreen(1000, 800);
  const std::string path = picture("wide.bmp", 2000, 1000);
  ASSERT_TRUE(writer.ChangeWallpaperTo(path));
  EXPECT_EQ(program.state.ImageWidth, 1000);
  EXPECT_EQ(program.state.ImageHeight, 500);
  ASSERT_EQ(memory.desktop.wallpapers, std::vector<std::string>{"C:\\WINDOWS\\Tapestrel Wallpaper.bmp"});
  const auto written = ReadBmp(memory.files.ReadFile("C:\\WINDOWS\\Tapestrel Wallpaper.bmp"));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 1000);
  EXPECT_EQ(written->height, 500);
  EXPECT_EQ(written->At(500, 250), 0x336699u);
  EXPECT_EQ(program.options.WallPaperName, path);
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "WallPaperName", ""), path);
  EXPECT_TRUE(prompts().empty());
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(WallpaperWriterTest, ViewingSizesGiveTheirZooms) {
  setScreen(1000, 800);
  const struct {
    int size;
    double zoom;
  } cases[] = {{0, 0.5}, {1, 0.375}, {2, 0.25}, {3, 0.125}, {4, 1.0}};
  for (const auto& c : cases) {
    program.options.ViewingWindowSize = c.size;
    program.state.ImageWidth = 2000;
    program.state.ImageHeight = 1000;
    EXPECT_DOUBLE_EQ(writer.ComputeFitZoom(), c.zoom) << c.size;
  }
  // Only the height too large; halves round to even.
  program.options.ViewingWindowSize = 0;
  program.state.ImageWidth = 5;
  program.state.ImageHeight = 1600;
  EXPECT_DOUBLE_EQ(writer.ComputeFitZoom(), 0.5);
  EXPECT_EQ(program.state.ImageWidth, 2);
  EXPECT_EQ(program.state.ImageHeight, 800);
}

TEST_F(WallpaperWriterTest, ASmallBitmapGoesToWindowsByItsOwnPath) {
  const std::string path = picture("small.bmp", 300, 200);
  ASSERT_TRUE(writer.ChangeWallpaperTo(path));
  EXPECT_EQ(memory.desktop.wallpapers, std::vector<std::string>{path});
  EXPECT_FALSE(memory.files.FileExists("C:\\WINDOWS\\Tapestrel Wallpaper.bmp"));
  // "None" never shrinks, however large the picture.
  program.options.ViewingWindowSize = 4;
  const std::string large = picture("large.bmp", 3000, 2000);
  ASSERT_TRUE(writer.ChangeWallpaperTo(large));
  EXPECT_EQ(memory.desktop.wallpapers.back(), large);
}

TEST_F(WallpaperWriterTest, SinglePicturePlaces) {
  program.options.BackdropMode = 1;
  const struct {
    int place;
    const char* x;
    const char* y;
  } cases[] = {{8, "724", "568"}, {3, "-1", "-1"}, {1, "0", "0"}, {2, "724", "0"}, {7, "0", "568"}};
  const std::string path = picture("card.bmp", 300, 200);
  for (const auto& c : cases) {
    program.options.ImageCenterStyle = c.place;
    ASSERT_TRUE(writer.ChangeWallpaperTo(path));
    EXPECT_EQ(desktopValue("wallpaperoriginx"), c.x) << c.place;
    EXPECT_EQ(desktopValue("wallpaperoriginy"), c.y) << c.place;
    EXPECT_EQ(desktopValue("TileWallpaper"), "0");
    EXPECT_EQ(desktopValue("WallPaperStyle"), "0");
  }
}

TEST_F(WallpaperWriterTest, StyleValuesAreWrittenOnlyWhenTheyChange) {
  setDesktop("TileWallpaper", "1");
  setDesktop("WallPaperStyle", "1");
  setDesktop("wallpaperoriginx", "0");
  setDesktop("wallpaperoriginy", "37");
  program.options.BackdropMode = 2;  // tiled to stretched
  writer.ApplyWallpaperStyle();
  EXPECT_EQ(memory.registry.WriteLog(),
            (std::vector<std::string>{"TileWallpaper=0", "WallPaperStyle=2"}));
  EXPECT_EQ(desktopValue("wallpaperoriginy"), "37");
  memory.registry.ClearWriteLog();
  writer.ApplyWallpaperStyle();
  EXPECT_TRUE(memory.registry.WriteLog().empty());

  setDesktop("wallpaperoriginx", "5");
  writer.ApplyWallpaperStyle();
  EXPECT_EQ(memory.registry.WriteLog(), std::vector<std::string>{"wallpaperoriginx=0"});
}

TEST_F(WallpaperWriterTest, TheDefaultStyleAppliesOnce) {
  program.options.BackdropMode = 0;
  program.options.DefaultStyle = 1;
  program.options.ImageCenterStyle = 3;
  program.state.UseDefaultStyleOnce = true;
  writer.ApplyWallpaperStyle();
  EXPECT_EQ(desktopValue("TileWallpaper"), "0");
  EXPECT_EQ(desktopValue("wallpaperoriginx"), "-1");
  EXPECT_FALSE(program.state.UseDefaultStyleOnce);
  writer.ApplyWallpaperStyle();
  EXPECT_EQ(desktopValue("TileWallpaper"), "1");
  EXPECT_EQ(desktopValue("wallpaperoriginx"), "0");
}

TEST_F(WallpaperWriterTest, UnknownModeIsToldAndWritesNothing) {
  for (const char* name : {"TileWallpaper", "WallPaperStyle", "wallpaperoriginx", "wallpaperoriginy"})
    setDesktop(name, "3");
  program.options.BackdropMode = 7;
  writer.ApplyWallpaperStyle();
  EXPECT_EQ(prompts().back(), "Invalid value for Backdrop mode of 7");
  EXPECT_TRUE(memory.registry.WriteLog().empty());
}

// WebP and GIF pictures through the in-process decoder: a large WebP shrunk to the
// screen, a GIF's transparent part showing the desktop's colour.
TEST_F(WallpaperWriterTest, WebpAndGifBecomeTheWallpaperTheirTransparencyTheDesktopsColour) {
  program.options.InternalDecoding = true;
  program.decoder.LoadDecoderOptions();
  memory.desktop.desktopColor = 0x3A6EA5;
  setScreen(400, 300);
  memory.files.WriteFile("C:\\Pictures\\wide.webp", "");
  memory.files.WriteFile("C:\\Pictures\\half.gif", "");
  const std::string webp = memory.files.HostPath("C:\\Pictures\\wide.webp").string();
  const std::string gif = memory.files.HostPath("C:\\Pictures\\half.gif").string();
  ASSERT_EQ(std::system(("convert -size 800x600 xc:red PPM:- | cwebp -quiet -q 90 -o '" + webp + "' -- -").c_str()), 0);
  ASSERT_EQ(std::system(("convert -size 20x10 xc:none -fill lime -draw 'rectangle 0,0 9,9' '" + gif + "'").c_str()), 0);
  ASSERT_TRUE(writer.ChangeWallpaperTo("C:\\Pictures\\wide.webp"));
  auto written = ReadBmp(memory.files.ReadFile("C:\\WINDOWS\\Tapestrel Wallpaper.bmp"));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->width, 400);
  EXPECT_EQ(written->height, 300);
  EXPECT_NEAR(static_cast<int>(written->At(200, 150) >> 16), 254, 3);
  ASSERT_TRUE(writer.ChangeWallpaperTo("C:\\Pictures\\half.gif"));
  written = ReadBmp(memory.files.ReadFile("C:\\WINDOWS\\Tapestrel Wallpaper.bmp"));
  ASSERT_TRUE(written);
  EXPECT_EQ(written->At(2, 2), 0x00FF00u);
  EXPECT_EQ(written->At(15, 5), 0x3A6EA5u);
  EXPECT_TRUE(prompts().empty());
  // The viewer's own decoding keeps white behind.
  EXPECT_EQ(program.platform.gvbox.Background, 0xFFFFFFu);
}

TEST_F(WallpaperWriterTest, PicturesThatCannotBeLoadedChangeNothing) {
  EXPECT_FALSE(writer.ChangeWallpaperTo("C:\\Pictures\\gone.bmp"));
  EXPECT_EQ(prompts().back(), "Couldn't find C:\\Pictures\\gone.bmp");
  memory.files.WriteFile("C:\\Pictures\\broken.bmp", "BM not really");
  EXPECT_FALSE(writer.ChangeWallpaperTo("C:\\Pictures\\broken.bmp"));
  EXPECT_EQ(prompts().back(), "Couldn't find C:\\Pictures\\broken.bmp");
  memory.files.WriteFile("C:\\Pictures\\layers.psd", "8BPS");
  EXPECT_FALSE(writer.ChangeWallpaperTo("C:\\Pictures\\layers.psd"));
  EXPECT_EQ(prompts().back(), "Illegal file type.");
  EXPECT_TRUE(memory.desktop.wallpapers.empty());
  EXPECT_EQ(program.options.WallPaperName, "");
  EXPECT_TRUE(memory.settings.Writes().empty());
}

TEST_F(WallpaperWriterTest, AFailedWriteIsAFailedChangeAndLeavesNoFileBehind) {
  program.state.WindowsFolder = "C:\\NoSuchFolder\\";
  EXPECT_FALSE(writer.ChangeWallpaperTo(picture("huge.bmp", 4000, 3000)));
  EXPECT_EQ(prompts().back(), "Path/File access error (75) has occurred while attempting to change the wallpaper "
                              "using.\n\tC:\\Pictures\\huge.bmp");
  EXPECT_TRUE(memory.desktop.wallpapers.empty());
  EXPECT_EQ(program.options.WallPaperName, "");
  // The working bitmap is replaced whole: no temporary file stays in the folder.
  program.state.WindowsFolder = "C:\\WINDOWS\\";
  ASSERT_TRUE(writer.ChangeWallpaperTo(picture("huge.bmp", 4000, 3000)));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(memory.files.HostPath("C:\\WINDOWS"))) files += entry.is_regular_file();
  EXPECT_EQ(files, 1);
}

TEST_F(WallpaperWriterTest, ModeMenuAndTheSwitchBetweenDesktopAndWindow) {
  ASSERT_TRUE(program.Start());
  FrmMain& frm = program.frmMain;
  EXPECT_TRUE(frm.mnuBackdropMode[0].Checked());
  EXPECT_TRUE(frm.mnuToggleBackdropMode[1].Visible());
  EXPECT_FALSE(frm.mnuToggleBackdropMode[0].Visible());
  frm.Dispatch(IDM_BACKDROP_MODE + 2);
  EXPECT_EQ(program.options.BackdropMode, 2);
  EXPECT_TRUE(frm.mnuBackdropMode[2].Checked());
  EXPECT_FALSE(frm.mnuBackdropMode[0].Checked());
  EXPECT_FALSE(frm.mCustom[7].Checked());
  frm.mnuToggleBackdropMode[1].Click();  // to the program's own window
  EXPECT_EQ(program.options.BackdropMode, 4);
  EXPECT_TRUE(frm.mCustom[7].Checked());
  EXPECT_TRUE(frm.mnuToggleBackdropMode[0].Visible());
  frm.mnuToggleBackdropMode[0].Click();  // back to the desktop
  EXPECT_EQ(program.options.BackdropMode, 1);
  program.options.BackdropMode = 9;
  writer.SwitchDisplay(true);
  EXPECT_EQ(prompts().back(), "Tapestrel mode is not set.");
}

TEST_F(WallpaperWriterTest, ConfirmedOptionsApplyTheWallpaperAgain) {
  const std::string path = picture("card.bmp", 300, 200);
  setDesktop("Wallpaper", path.c_str());
  program.options.BackdropMode = 1;
  program.options.ImageCenterStyle = 8;
  writer.ViewingOptionsChanged();  // first sight of the viewing size: remembered
  writer.ViewingOptionsChanged();  // same size: the current wallpaper is laid out anew
  EXPECT_EQ(memory.desktop.wallpapers.back(), path);
  EXPECT_EQ(desktopValue("wallpaperoriginx"), "724");
}

}  // namespace
}  // namespace tapestrel
