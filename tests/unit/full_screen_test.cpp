// The full-screen viewer: tiles, the single picture's place and its scroll bars, the
// keys and the pointer, the overlay's text, the rotation in the internal modes and the
// way out that makes the picture shown the wallpaper.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class FullScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) picture(name, 100, 50);
    ASSERT_TRUE(program.Start());
    program.frmMain.mSort[0].Click();  // a, b, c
  }
  // A picture whose top left corner is marked (4 x 4 pixels), so that tiles can be told
  // apart, also when shrunk to a quarter.
  std::string picture(const std::string& name, int width, int height) {
    Bitmap b(width, height, 0x203040);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) b.Set(x, y, 0xFF0000);
    const std::string path = "C:\\Pictures\\" + name;
    memory.files.WriteFile(path, WriteBmp24(b));
    return path;
  }
  void type(char key) {
    int ascii = key;
    Raise(viewer.KeyPress, ascii);
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmFullScreen& viewer = program.frmFullScreen;
  Options& options = program.options;
};

TEST_F(FullScreenTest, TilesStartAtTheTopLeftAndTheLastRowAndColumnAreCutOff) {
  EXPECT_EQ(TileGridFor(1024, 768, 100, 50).columns, 11);
  EXPECT_EQ(TileGridFor(1024, 768, 100, 50).rows, 16);
  viewer.ViewerMode = 3;
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  const auto& window = viewer.Picture();
  ASSERT_TRUE(window);
  ASSERT_EQ(window->width, 1024);
  ASSERT_EQ(window->height, 768);
  EXPECT_EQ(window->At(1000, 750), 0xFF0000u);  // the last tile begins here...
  EXPECT_EQ(window->At(1023, 767), 0x203040u);  // ...and is cut off by the edge
  EXPECT_EQ(window->At(999, 750), 0x203040u);
  EXPECT_FALSE(viewer.picFullScreen.Visible());

  // Half the screen: a 2000 x 1000 picture on a 1000 x 800 screen tiles at 500 x 250.
  memory.desktop.screenWidth = 1000 * 15;
  memory.desktop.screenHeight = 800 * 15;
  viewer.Unload();
  options.ViewingWindowSize = 2;
  ASSERT_TRUE(viewer.ShowInViewer(picture("big.bmp", 2000, 1000)));
  EXPECT_EQ(viewer.Picture()->width, 1000);
  for (const auto& [x, y] : {std::pair{500, 250}, std::pair{0, 750}}) EXPECT_EQ(viewer.Picture()->At(x, y), 0xFF0000u);
  EXPECT_EQ(viewer.Picture()->At(250, 250), 0x203040u);

  // A tile of no size: the window says so.
  viewer.TileWindow(viewer, viewer.picMovePicture);
  EXPECT_FALSE(viewer.Picture());
  EXPECT_EQ(viewer.PrintedText(), "?!");
}

TEST_F(FullScreenTest, ASinglePictureIsPlacedByThePositionOptionAndScrollsWhenLargerThanTheScreen) {
  // "None": a picture 1500 twips wider than the screen starts at its left edge.
  options.ViewingWindowSize = 4;
  ASSERT_TRUE(viewer.ShowInViewer(picture("wide.bmp", 1024 + 100, 400)));
  ScrollBar& across = viewer.hsbFullScreenView;
  EXPECT_TRUE(across.Visible());
  EXPECT_FALSE(viewer.vsbFullScreenView.Visible());
  EXPECT_EQ(across.Min, -750);
  EXPECT_EQ(across.Max, 750 + viewer.vsbFullScreenView.Width() + 100);
  EXPECT_EQ(across.Value(), across.Min);
  EXPECT_EQ(viewer.picFullScreen.Left(), 0);
  EXPECT_TRUE(viewer.picFullScreen.Visible());
  across.SetValue(0);
  EXPECT_EQ(viewer.picFullScreen.Left(), -750);  // centred

  // Bottom right with a taller picture: at the top, clear of the bar on the right.
  options.ImageCenterStyle = 8;
  ASSERT_TRUE(viewer.ShowInViewer(picture("tall.bmp", 300, 768 + 20)));
  EXPECT_EQ(viewer.picFullScreen.Top(), 0);
  EXPECT_EQ(viewer.picFullScreen.Left(), 1024 * 15 - 300 * 15 - viewer.hsbFullScreenView.Height());
  EXPECT_TRUE(viewer.vsbFullScreenView.Visible());

  // Fitted to a quarter of the screen and centred.
  options.ViewingWindowSize = 3;
  options.ImageCenterStyle = 1;
  ASSERT_TRUE(viewer.ShowInViewer(picture("large.bmp", 2048, 1024)));
  EXPECT_EQ(viewer.picFullScreen.Picture()->width, 256);
  EXPECT_EQ(viewer.picFullScreen.Left(), (1024 - 256) / 2 * 15);
  EXPECT_EQ(viewer.picFullScreen.Top(), (768 - 128) / 2 * 15);
  EXPECT_FALSE(viewer.hsbFullScreenView.Visible());
}

// A picture that cannot be read leaves the one shown on the screen, in both sizes.
TEST_F(FullScreenTest, AFailedLoadInTheSinglePictureModeKeepsThePictureShown) {
  viewer.ViewerMode = 4;
  for (int size : {4, 0}) {
    options.ViewingWindowSize = size;
    ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
    const auto shown = viewer.picFullScreen.Picture();
    ASSERT_TRUE(shown);
    memory.files.WriteFile("C:\\Pictures\\broken.bmp", "BM not a bitmap");
    EXPECT_FALSE(viewer.ShowInViewer("C:\\Pictures\\broken.bmp"));
    EXPECT_TRUE(viewer.picFullScreen.Visible()) << size;
    EXPECT_EQ(viewer.picFullScreen.Picture(), shown) << size;
  }
}

TEST_F(FullScreenTest, ArrowKeysStepThroughFiveStopsAndCtrlMovesOnePixel) {
  ScrollBar& bar = viewer.hsbFullScreenView;
  bar.Min = -750;
  bar.Max = 1105;
  bar.SetValue(bar.Min);
  viewer.ScrollSmallStepX = (bar.Max - bar.Min) / 5;  // 371
  viewer.SetSmallChangeValue(bar, false);
  std::vector<int> forward, back;
  for (int i = 0; i < 6; ++i) {
    int key = 39;
    viewer.ChangeScrollBarValue(bar, key, false);
    EXPECT_EQ(key, 0);
    forward.push_back(bar.Value());
  }
  EXPECT_EQ(forward, (std::vector<int>{-379, -8, 363, 734, 1105, 1105}));
  for (int i = 0; i < 5; ++i) {
    int key = 37;
    viewer.ChangeScrollBarValue(bar, key, false);
    back.push_back(bar.Value());
  }
  EXPECT_EQ(back, (std::vector<int>{734, 363, -8, -379, -750}));
  bar.SetValue(100);  // between two stops
  int key = 39;
  viewer.ChangeScrollBarValue(bar, key, false);
  EXPECT_EQ(bar.Value(), 363);
  viewer.SetSmallChangeValue(bar, true);
  key = 37;
  viewer.ChangeScrollBarValue(bar, key, true);
  EXPECT_EQ(bar.Value(), 363 - 15);

  // The keys reach the bars only while they show.
  options.ViewingWindowSize = 4;
  ASSERT_TRUE(viewer.ShowInViewer(picture("wide.bmp", 1024 + 100, 400)));
  int right = 39, down = 40;
  Raise(viewer.KeyDown, right, 0);
  Raise(viewer.KeyDown, down, 0);
  EXPECT_EQ(right, 0);
  EXPECT_EQ(down, 40);  // no vertical bar: the key goes on
  EXPECT_EQ(bar.Value(), -750 + 371);
}

TEST_F(FullScreenTest, HAndCapitalHHideThePointerButNotWhileTheOptionsDialogIsOpen) {
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  type('H');
  EXPECT_TRUE(viewer.MouseHidden);
  EXPECT_LE(memory.desktop.cursorCounter, -5);
  type('s');
  EXPECT_GE(memory.desktop.cursorCounter, 5);
  type('h');
  EXPECT_LE(memory.desktop.cursorCounter, -5);
  type('s');
  program.frmOptions.Show();
  const int shown = memory.desktop.cursorCounter;
  type('h');
  EXPECT_EQ(memory.desktop.cursorCounter, shown);
}

TEST_F(FullScreenTest, TheOverlayTellsThePictureItsSizeAndPlaceAndTheCountdownWhileTheClockRuns) {
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\b.bmp"));
  type('i');
  EXPECT_TRUE(viewer.picInfo.Visible());
  EXPECT_EQ(viewer.picInfo.PrintedText(), " b.bmp 100w x 50h\n\t2 of 3");
  EXPECT_EQ(viewer.picInfo.BackColor, 0x00FF00);
  EXPECT_EQ(viewer.picInfo.GetFont().name, "Tahoma");
  EXPECT_EQ(viewer.picInfo.Width(), 17 * 90 + 100);  // the text's width and 100 twips
  type(27);
  EXPECT_FALSE(viewer.picInfo.Visible());

  memory.ui.Answer(mb::IdYes);
  program.rotation.TimerOnOff();
  program.frmMain.tmrTapestrel[0].Tick();
  memory.desktop.nonClientFont.reset();
  type('i');
  EXPECT_EQ(viewer.picInfo.PrintedText(), " b.bmp 100w x 50h\n\t2 of 3\n\t" + program.rotation.CountdownText());
  EXPECT_EQ(memory.ui.Prompts().back(), "Unable to obtain font characteristics.");
}

TEST_F(FullScreenTest, InTheInternalModesTheClockShowsEachPictureInTheViewerAndExitMakesTheShownOneTheWallpaper) {
  program.wallpaper.SelectBackdropMode(4);
  options.WallPaperChangeInterval = 0.01;  // 600 ms: two ticks
  options.WallPaperName = "C:\\Pictures\\a.bmp";
  program.rotation.TimerOnOff();
  std::vector<std::string> shown;
  for (int i = 0; i < 6; ++i) {
    program.frmMain.tmrTapestrel[0].Tick();
    if (!viewer.ShownPath().empty() && (shown.empty() || shown.back() != viewer.ShownPath()))
      shown.push_back(viewer.ShownPath());
  }
  EXPECT_EQ(shown, (std::vector<std::string>{"C:\\Pictures\\b.bmp", "C:\\Pictures\\c.bmp", "C:\\Pictures\\a.bmp"}));
  EXPECT_TRUE(viewer.Visible());
  EXPECT_FALSE(program.frmMain.Visible());
  EXPECT_TRUE(memory.desktop.wallpapers.empty());          // the desktop was left alone
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\a.bmp");  // and so was its name
  EXPECT_EQ(program.state.History.front(), "C:\\Pictures\\a.bmp");

  // "Next Image" from the viewer's menu, then out through "Exit Update Wallpaper".
  program.frmMain.mCustom2_Click(7);
  EXPECT_EQ(viewer.ShownPath(), "C:\\Pictures\\b.bmp");
  program.frmMain.mCustom2_Click(16);
  EXPECT_FALSE(viewer.Loaded());
  EXPECT_TRUE(program.frmMain.Visible());
  ASSERT_FALSE(memory.desktop.wallpapers.empty());
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Pictures\\b.bmp");
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\b.bmp");
  EXPECT_FALSE(program.frmMain.tmrTapestrel[0].Enabled());
  EXPECT_EQ(program.frmMain.StatusBar.PanelText("main panel"), "Wallpaper file: b.bmp 2 of 3");
}

TEST_F(FullScreenTest, SwitchViewChangesTheModeAndTheBackdropModeTogether) {
  program.wallpaper.SelectBackdropMode(4);
  viewer.ViewerMode = 4;
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  FrmMain& main = program.frmMain;
  EXPECT_TRUE(main.mCustom2[4].Visible());
  EXPECT_FALSE(main.mCustom2[5].Visible());
  type('d');
  EXPECT_EQ(viewer.ViewerMode, 3);
  EXPECT_EQ(options.BackdropMode, 3);
  EXPECT_TRUE(main.mnuBackdropMode[3].Checked());
  EXPECT_TRUE(main.mCustom2[5].Visible());
  EXPECT_TRUE(viewer.Picture());  // tiled now
  type('d');
  EXPECT_EQ(options.BackdropMode, 4);
  EXPECT_FALSE(viewer.Picture());  // no tiles left behind the single picture
  EXPECT_TRUE(viewer.picFullScreen.Visible());
}

TEST_F(FullScreenTest, ViewingInternallyNeedsAFocusedSelectedFileThatIsStillThere) {
  FrmMain& main = program.frmMain;
  ListView& list = main.lstvFiles[main.CurrentList()];
  list.SetFocusedIndex(-1);
  main.mnuViewFiles_Click(0);
  EXPECT_EQ(memory.ui.Prompts().back(),
            "Please select a file for full-screen viewing and make sure the selected file has the focus.");
  EXPECT_FALSE(viewer.Visible());
  memory.files.RemoveFile("C:\\Pictures\\c.bmp");
  list.UserSelected(2, true);
  list.SetFocusedIndex(2);
  main.mnuViewFiles_Click(0);
  EXPECT_EQ(memory.ui.Prompts().back(), "c.bmp is not present!\nTherefore, it will be removed from the list.");
  EXPECT_EQ(list.Count(), 2);
  list.UserSelected(1, true);
  list.SetFocusedIndex(1);
  main.mnuViewFiles_Click(0);
  EXPECT_TRUE(viewer.Visible());
  EXPECT_EQ(viewer.ShownPath(), "C:\\Pictures\\b.bmp");
}

TEST_F(FullScreenTest, KeysStepThroughTheListAndExitLeavesTheWallpaperAndMayLeaveTheClockRunning) {
  options.WallPaperName = "C:\\Pictures\\c.bmp";
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  type('>');
  EXPECT_EQ(viewer.ShownPath(), "C:\\Pictures\\b.bmp");
  type('<');
  type(',');
  EXPECT_EQ(viewer.ShownPath(), "C:\\Pictures\\c.bmp");  // before the first: the last

  // The default picture: its path on the overlay, and no place in the list.
  options.Defaults = picture("boss.bmp", 40, 30);
  program.frmMain.mCustom2_Click(9);
  EXPECT_EQ(viewer.ShownPath(), options.Defaults);
  EXPECT_TRUE(program.frmMain.mCustom2[10].Visible());
  EXPECT_EQ(viewer.InfoText(), " " + options.Defaults + " 40w x 30h");
  program.frmMain.mCustom2_Click(10);
  EXPECT_EQ(viewer.ShownPath(), "C:\\Pictures\\c.bmp");

  // "Exit": the wallpaper stays; with the clock left running it goes on.
  memory.ui.Answer(mb::IdYes);
  program.rotation.TimerOnOff();
  ASSERT_TRUE(viewer.ExitFullScreenDisplay(0, true));
  EXPECT_TRUE(program.frmMain.tmrTapestrel[0].Enabled());
  EXPECT_TRUE(memory.desktop.wallpapers.empty());
  EXPECT_EQ(program.rotation.Position(), 3);  // back at the wallpaper's place
  EXPECT_EQ(program.state.ImageWidth, 0);
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  EXPECT_TRUE(viewer.UserClose());  // Alt+F4: out as by "Exit", the main window back
  EXPECT_TRUE(program.frmMain.Visible());
  EXPECT_FALSE(program.frmMain.tmrTapestrel[0].Enabled());
  EXPECT_EQ(options.WallPaperName, "C:\\Pictures\\c.bmp");
}

TEST_F(FullScreenTest, TheFloatingChangerSetsTheIntervalFromATenthUpAndTheClockGoesOnWhenItCloses) {
  ASSERT_TRUE(viewer.ShowInViewer("C:\\Pictures\\a.bmp"));
  memory.ui.Answer(mb::IdYes);
  program.rotation.TimerOnOff();
  FrmFloatingTimeChanger& changer = program.frmFloatingTimeChanger;
  std::vector<double> intervals;
  changer.WhileModal = [&] {
    EXPECT_FALSE(program.frmMain.tmrTapestrel[0].Enabled());  // held while it is open
    TextBox& box = changer.txtCustomChangeInterval;
    for (const char* typed : {"0", "0.05", "2.5"}) {
      box.UserTyped(typed);
      intervals.push_back(options.WallPaperChangeInterval);
    }
    for (const auto& [from, up] : {std::pair{"9.9", true}, std::pair{"11", true}, std::pair{"10", false}}) {
      box.UserTyped(from);
      changer.Spin(up);
      intervals.push_back(options.WallPaperChangeInterval);
    }
    // A point typed over the selected "9.0" starts a new number: ".5" is half a minute.
    int letter = 'x', point = '.';
    Raise(box.KeyPress, letter);
    Raise(box.KeyPress, point);
    EXPECT_EQ(letter, 0);
    EXPECT_EQ(point, '.');
    box.UserTyped(".");
    box.UserTyped(".5");
    EXPECT_EQ(options.WallPaperChangeInterval, 0.5);
    // Pasted words, a sign, an exponent or more than 30 days: told, and the interval kept.
    const std::size_t told = memory.ui.Messages().size();
    for (const char* pasted : {"-5 minutes", "1e20", "inf", "50000", "1.2.3"}) {
      box.UserTyped(pasted);
      EXPECT_EQ(options.WallPaperChangeInterval, 0.5) << pasted;
      EXPECT_EQ(box.Text(), "0.5") << pasted;
    }
    EXPECT_EQ(memory.ui.Messages().size(), told + 5);
    EXPECT_EQ(memory.ui.Prompts().back(),
              "\"1.2.3\" is not an interval. Enter a number of minutes from 0.1 to 43200 (30 days).");
    box.UserTyped("9");
    int enter = 13;
    Raise(box.KeyPress, enter);  // closes it
  };
  program.frmMain.mCustom2_Click(1);  // "Chan&ge time"
  EXPECT_EQ(intervals, (std::vector<double>{0.1, 0.1, 2.5, 10, 12, 9}));
  EXPECT_FALSE(changer.Visible());
  EXPECT_TRUE(program.frmMain.tmrTapestrel[0].Enabled());
  EXPECT_EQ(program.frmMain.txtCustomChangeInterval.Text(), "9.0");
  EXPECT_TRUE(program.frmMain.mnuTimeInterval[5].Checked());
}

}  // namespace
}  // namespace tapestrel
