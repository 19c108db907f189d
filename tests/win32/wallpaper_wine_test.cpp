// The wallpaper writer against Wine's real registry, files and desktop.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/text.h"
#include "platform/win32/win32_services.h"
#include "tests/win32/support/desktop_value.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

std::string desktopValue(const char* name) { return testing::DesktopValue(name); }

class WallpaperOnWine : public ::testing::Test, protected testing::ProgramOnWindows {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    picture_ = std::string(temp) + "tapestrel-wide.bmp";
    program.state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  }
  // The picture stays when asked, so that the desktop can be looked at afterwards.
  void TearDown() override {
    if (!GetEnvironmentVariableA("TAPESTREL_KEEP_WALLPAPER", nullptr, 0)) DeleteFileA(picture_.c_str());
  }

  // A picture twice the screen's width, in bands of colour.
  void makePicture() {
    const int width = GetSystemMetrics(SM_CXSCREEN) * 2;
    const int height = GetSystemMetrics(SM_CYSCREEN);
    Bitmap bands(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) bands.Set(x, y, (x / 64) % 2 ? 0xCC3300 : 0x0066CC);
    ASSERT_TRUE(files.WriteFileAtomically(picture_, WriteBmp24(bands)));
  }

  std::string picture_;
};

TEST_F(WallpaperOnWine, ALargeBitmapBecomesTheWorkingBitmapOnTheDesktop) {
  makePicture();
  for (const int mode : {1, 0}) {  // single, then tiled: the style values follow the mode
    program.options.BackdropMode = mode;
    program.options.ImageCenterStyle = 1;
    ASSERT_TRUE(program.wallpaper.ChangeWallpaperTo(picture_));
    const std::string working = program.state.WindowsFolder + "Tapestrel Wallpaper.bmp";
    EXPECT_TRUE(EqualsIgnoreCase(desktopValue("Wallpaper"), working)) << desktopValue("Wallpaper");
    EXPECT_EQ(desktopValue("TileWallpaper"), mode == 0 ? "1" : "0");
    EXPECT_EQ(desktopValue("WallPaperStyle"), mode == 0 ? "1" : "0");
    EXPECT_EQ(desktopValue("wallpaperoriginx"), "0");
    EXPECT_EQ(desktopValue("wallpaperoriginy"), "0");
    auto file = files.OpenRead(working);
    ASSERT_TRUE(file);
    std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    const auto written = ReadBmp(bytes);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(written->height, GetSystemMetrics(SM_CYSCREEN) / 2);
  }
  EXPECT_TRUE(memory.ui.Messages().empty());
}

TEST_F(WallpaperOnWine, ASmallBitmapIsCentredByItsOwnPath) {
  Bitmap card(320, 240, 0x228B22);
  for (int y = 100; y < 140; ++y)
    for (int x = 0; x < 320; ++x) card.Set(x, y, 0xFFD700);
  ASSERT_TRUE(files.WriteFileAtomically(picture_, WriteBmp24(card)));
  program.options.BackdropMode = 1;
  program.options.ImageCenterStyle = 1;
  ASSERT_TRUE(program.wallpaper.ChangeWallpaperTo(picture_));
  EXPECT_TRUE(EqualsIgnoreCase(desktopValue("Wallpaper"), picture_)) << desktopValue("Wallpaper");
  EXPECT_EQ(desktopValue("TileWallpaper"), "0");
  EXPECT_EQ(desktopValue("WallPaperStyle"), "0");
  EXPECT_EQ(program.state.ImageWidth, 320);
}

TEST_F(WallpaperOnWine, MetafilesAreDrawnByTheSystem) {
  // A placeable metafile of one inch square holding a filled rectangle.
  std::string wmf;
  const auto w16 = [&wmf](unsigned v) {
    wmf += static_cast<char>(v & 0xFF);
    wmf += static_cast<char>(v >> 8);
  };
  const auto w32 = [&w16](unsigned v) {
    w16(v & 0xFFFF);
    w16(v >> 16);
  };
  w32(0x9AC6CDD7);
  w16(0);
  w16(0), w16(0), w16(1440), w16(1440);
  w16(1440);
  w32(0);
  std::uint16_t sum = 0;
  for (std::size_t i = 0; i < wmf.size(); i += 2) sum ^= static_cast<std::uint16_t>((wmf[i] & 0xFF) | (wmf[i + 1] & 0xFF) << 8);
  w16(sum);
  w16(1), w16(9), w16(0x300), w32(5 + 7 + 3), w16(0), w32(0), w16(0);  // metafile header
  w32(5), w16(0x020B), w16(0), w16(0);                                 // SetWindowOrg
  w32(5), w16(0x020C), w16(1440), w16(1440);                           // SetWindowExt
  w32(7), w16(0x041B), w16(1440), w16(1440), w16(0), w16(0);           // Rectangle
  w32(3), w16(0);                                                      // end
  const auto drawn = desktop.DrawMetafile(wmf);
  ASSERT_TRUE(drawn);
  const int dpi = 1440 / (1440 / 96);
  EXPECT_NEAR(drawn->width, dpi, 2);
  EXPECT_NEAR(drawn->height, dpi, 2);
  EXPECT_FALSE(desktop.DrawMetafile(wmf.substr(0, 10)));
}

// Wine shows one monitor, whatever Xvfb is given: the enumeration is checked against it.
TEST(MonitorsOnWine, TheOneMonitorIsTheScreenPrimaryWithItsWorkAreaInside) {
  Win32Desktop desktop;
  const std::vector<Monitor> monitors = desktop.Monitors();
  ASSERT_EQ(monitors.size(), static_cast<std::size_t>(GetSystemMetrics(SM_CMONITORS)));
  const Monitor& first = monitors.front();
  EXPECT_TRUE(first.primary);
  EXPECT_EQ(first.bounds, (PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  RECT work{};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_EQ(first.workArea, (PixelRect{work.left, work.top, work.right, work.bottom}));
  EXPECT_GE(first.workArea.left, first.bounds.left);
  EXPECT_LE(first.workArea.right, first.bounds.right);
  EXPECT_GT(first.workArea.Height(), 0);
  for (std::size_t i = 1; i < monitors.size(); ++i) EXPECT_FALSE(monitors[i].primary);
}

}  // namespace
}  // namespace tapestrel
