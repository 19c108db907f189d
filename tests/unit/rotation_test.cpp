#include <gtest/gtest.h>

#include <set>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class RotationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
      memory.files.WriteFile(std::string("C:\\Pictures\\") + name, WriteBmp24(Bitmap(64, 48)));
    ASSERT_TRUE(program.Start());
    frm.mSort[0].Click();  // a, b, c, d
  }
  std::string current() { return program.options.WallPaperName; }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& frm = program.frmMain;
  Rotation& rotation = program.rotation;
};

TEST_F(RotationTest, NextAndPreviousWrapAround) {
  memory.ui.Answer(mb::IdYes);  // no wallpaper yet: start from the first file
  ASSERT_TRUE(rotation.ChangeWallpaper(Rotation::Next));
  EXPECT_EQ(current(), "C:\\Pictures\\a.bmp");
  EXPECT_EQ(frm.Caption(), "Wallpaper name: a.bmp 1 of 4");
  frm.Dispatch(IDM_CHANGE_WALLPAPER + 1);  // previous from the first
  EXPECT_EQ(current(), "C:\\Pictures\\d.bmp");
  frm.Dispatch(IDM_CHANGE_WALLPAPER);  // next from the last
  EXPECT_EQ(current(), "C:\\Pictures\\a.bmp");
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Pictures\\a.bmp");
}

TEST_F(RotationTest, RandomOrderUsesEveryPictureOnceAndRedrawsForANewCount) {
  program.options.ChangeRandomly = 1;
  std::set<int> used;
  for (int i = 0; i < 4; ++i) used.insert(rotation.NextRandomIndex());
  EXPECT_EQ(used, (std::set<int>{1, 2, 3, 4}));
  memory.files.WriteFile("C:\\Pictures\\e.bmp", WriteBmp24(Bitmap(8, 8)));
  program.files.ClearListView();
  program.files.FillListView();
  used.clear();
  for (int i = 0; i < 5; ++i) used.insert(rotation.NextRandomIndex());
  EXPECT_EQ(used.size(), 5u);
  program.files.ClearListView();
  EXPECT_EQ(rotation.NextRandomIndex(), 0);  // an empty list: nothing, and no division by zero
}

TEST_F(RotationTest, HistoryMovesRepeatsUpAndKeepsFive) {
  for (const char* p : {"C:\\1.bmp", "C:\\2.bmp", "C:\\3.bmp", "C:\\4.bmp", "C:\\5.bmp", "C:\\6.bmp", "c:\\3.BMP"})
    rotation.AddToHistory(p);
  EXPECT_EQ(program.state.History,
            (std::vector<std::string>{"c:\\3.BMP", "C:\\6.bmp", "C:\\5.bmp", "C:\\4.bmp", "C:\\2.bmp"}));
  EXPECT_EQ(memory.settings.GetSetting("BackDropHistory", "1", ""), "c:\\3.BMP");
  // The File menu: the separator, five items, a closing separator, then "E&xit".
  const auto& items = frm.Menus().Get("mnuFile").Items();
  const int at = frm.Menus().Get("mnuFile").PositionOf(frm.mnuBackdropHistory[0]);
  EXPECT_EQ(items[at + 1]->Caption(), "&1 c:\\3.BMP");
  EXPECT_EQ(items[at + 1]->HelpContextID(), 1006);
  EXPECT_EQ(items[at + 6]->Caption(), "-");
  EXPECT_EQ(items[at + 7]->Caption(), "E&xit");
  frm.Dispatch(IDM_BACKDROP_HISTORY + 2);
  EXPECT_EQ(memory.ui.Prompts().back(), "C:\\6.bmp does is not present");

  // More than five stored: five are loaded, and the menu shows five.
  for (int i = 1; i <= 7; ++i) memory.settings.SaveSetting("BackDropHistory", std::to_string(i), "C:\\h" + std::to_string(i) + ".bmp");
  rotation.LoadHistory();
  EXPECT_EQ(program.state.History.size(), 5u);
  EXPECT_EQ(items[at + 5]->Caption(), "&5 C:\\h5.bmp");
  EXPECT_EQ(items[at + 6]->Caption(), "-");
}

TEST_F(RotationTest, IntervalMenuBoxAndSpin) {
  frm.Dispatch(IDM_TIME_INTERVAL + 2);  // "&Fifteen"
  EXPECT_DOUBLE_EQ(program.options.WallPaperChangeInterval, 15);
  EXPECT_EQ(frm.txtCustomChangeInterval.Text(), "15");
  frm.txtCustomChangeInterval.SetFocus();
  frm.lstvFiles[1].SetFocus();
  EXPECT_EQ(frm.txtCustomChangeInterval.Text(), "15.0");
  frm.txtCustomChangeInterval.UserTyped("0.5");
  EXPECT_DOUBLE_EQ(program.options.WallPaperChangeInterval, 0.5);
  EXPECT_TRUE(frm.mnuTimeInterval[5].Checked());
  program.options.WallPaperChangeInterval = 10;
  frm.spinCustomTimeInterval.SpinDown();
  EXPECT_DOUBLE_EQ(program.options.WallPaperChangeInterval, 9);
  program.options.WallPaperChangeInterval = 9.9;
  frm.spinCustomTimeInterval.SpinUp();
  EXPECT_DOUBLE_EQ(program.options.WallPaperChangeInterval, 10);
}

TEST_F(RotationTest, TypingWhileTheClockRunsKeepsThePause) {
  memory.ui.Answer(mb::IdYes);
  frm.Dispatch(IDM_TIMER_ON_OFF);
  ASSERT_TRUE(frm.tmrTapestrel[0].Enabled());
  EXPECT_TRUE(frm.tbrCommands.ButtonOf("timer").pressed);
  frm.tmrTapestrel[0].Tick();
  frm.txtCustomChangeInterval.SetFocus();
  EXPECT_FALSE(frm.tmrTapestrel[0].Enabled());  // paused while typing
  frm.txtCustomChangeInterval.UserTyped("2");
  EXPECT_FALSE(frm.tmrTapestrel[0].Enabled());
  frm.lstvFiles[1].SetFocus();
  EXPECT_TRUE(frm.tmrTapestrel[0].Enabled());
  EXPECT_DOUBLE_EQ(rotation.Elapsed(), 0);
}

TEST_F(RotationTest, TheClockChangesExactlyWhenTheIntervalHasElapsed) {
  program.options.WallPaperChangeInterval = 0.1;  // six seconds
  memory.ui.Answer(mb::IdYes);
  frm.Dispatch(IDM_TIMER_ON_OFF);
  for (int i = 0; i < 14; ++i) frm.tmrTapestrel[0].Tick();  // 5.6 s
  EXPECT_TRUE(memory.desktop.wallpapers.empty());
  EXPECT_NE(frm.Caption().find("sec. left"), std::string::npos);
  frm.tmrTapestrel[0].Tick();  // 6.0 s
  ASSERT_EQ(memory.desktop.wallpapers.size(), 1u);
  EXPECT_EQ(current(), "C:\\Pictures\\a.bmp");
  EXPECT_EQ(frm.Caption(), "Filename: C:\\Pictures\\a.bmp 1 of 4");
  EXPECT_DOUBLE_EQ(rotation.Elapsed(), 0);
}

TEST_F(RotationTest, TheDefaultPictureStopsTheClockAndSwapsThePopUpItems) {
  memory.files.WriteFile("C:\\Boss\\work.bmp", WriteBmp24(Bitmap(32, 32)));
  program.options.Defaults = "C:\\Boss\\work.bmp";
  int changes = 0;
  program.WallpaperChanged = [&] { ++changes; };
  memory.ui.Answer(mb::IdYes);
  frm.Dispatch(IDM_CHANGE_WALLPAPER);  // a.bmp
  EXPECT_EQ(changes, 1);
  frm.Dispatch(IDM_TIMER_ON_OFF);
  ASSERT_TRUE(frm.tmrTapestrel[0].Enabled());
  frm.Dispatch(IDM_CHANGE_WALLPAPER + 3);
  EXPECT_FALSE(frm.tmrTapestrel[0].Enabled());
  EXPECT_EQ(frm.Caption(), "Wallpaper name: C:\\Boss\\work.bmp");
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Boss\\work.bmp");
  EXPECT_NE(current(), "C:\\Boss\\work.bmp");  // the default picture leaves the list's wallpaper alone
  EXPECT_FALSE(frm.mCustom[4].Visible());
  EXPECT_TRUE(frm.mCustom[5].Visible());
  EXPECT_FALSE(frm.mCustom2[9].Visible());
  EXPECT_TRUE(frm.mCustom2[10].Visible());

  // "&Remove Default" puts the list's wallpaper back and offers the default picture again.
  frm.Dispatch(IDM_CHANGE_WALLPAPER + 4);
  EXPECT_EQ(memory.desktop.wallpapers.back(), "C:\\Pictures\\a.bmp");
  EXPECT_EQ(frm.Caption(), "Wallpaper name: a.bmp 1 of 4");
  EXPECT_EQ(changes, 3);  // the list's picture, the default one, the list's again
  EXPECT_TRUE(frm.mCustom[4].Visible());
  EXPECT_FALSE(frm.mCustom[5].Visible());
  EXPECT_TRUE(frm.mCustom2[9].Visible());
  EXPECT_FALSE(frm.mCustom2[10].Visible());
}

TEST_F(RotationTest, EmptyListAndSelectionMessages) {
  frm.Dispatch(IDM_CHANGE_WALLPAPER + 2);
  EXPECT_EQ(memory.ui.Prompts().back(),
            "The filename with focus must be selected to change the wallpaper.\nItems which have the focus are enclosed "
            "in a dotted rectangle.");
  program.files.ClearListView();
  frm.Dispatch(IDM_CHANGE_WALLPAPER);
  EXPECT_EQ(memory.ui.Prompts().back().rfind("The file list box is empty since there are no files matching filter, *.bmp.", 0), 0u);
  EXPECT_EQ(Rotation::ShortenedPath("C:\\a\\very\\long\\folder\\name\\for\\pictures\\and\\more\\sunset.bmp", 30),
            "C:\\...\\and\\more\\sunset.bmp");
}

// Ticks that come while the message of a failed change is open pass by: one failure,
// one message, and the clock is off afterwards.
TEST_F(RotationTest, AFailedChangeByTheClockShowsOneMessageAndStopsTheClock) {
  memory.files.WriteFile("C:\\Pictures\\a.bmp", "BM broken");
  memory.files.WriteFile("C:\\Pictures\\b.bmp", "BM broken");
  program.options.WallPaperName = "C:\\Pictures\\d.bmp";
  program.options.WallPaperChangeInterval = 0.015;
  rotation.TimerOnOff();
  ASSERT_TRUE(frm.tmrTapestrel[0].Enabled());
  memory.ui.ClearMessages();
  memory.ui.whilePending = [&] {
    for (int i = 0; i < 5; ++i) frm.tmrTapestrel[0].Tick();
  };
  frm.tmrTapestrel[0].Tick();
  frm.tmrTapestrel[0].Tick();  // 800 ms of a 900 ms interval have passed
  EXPECT_EQ(memory.ui.Messages().size(), 0u);
  frm.tmrTapestrel[0].Tick();
  EXPECT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_FALSE(frm.tmrTapestrel[0].Enabled());
  EXPECT_FALSE(frm.mCustom[0].Checked());
}

TEST_F(RotationTest, TheTimerItemsHelpLinesSayWhatTheyWouldDo) {
  EXPECT_EQ(frm.mnuTimerOnOff.HelpLine(), "Turns the timer on.");
  memory.ui.Answer(mb::IdYes);
  rotation.TimerOnOff();
  for (const Menu* item : {&frm.mnuTimerOnOff, &frm.mCustom[0], &frm.mCustom2[0]}) EXPECT_EQ(item->HelpLine(), "Turns the timer off.");
  rotation.TimerOnOff();
  EXPECT_EQ(frm.mCustom[0].HelpLine(), "Turns the timer on.");
}

TEST_F(RotationTest, ChangesRestartTheCountdownAndAFailedDefaultLeavesNoStyleBehind) {
  memory.ui.Answer(mb::IdYes);
  rotation.TimerOnOff();
  frm.tmrTapestrel[0].Tick();
  ASSERT_GT(rotation.Elapsed(), 0);
  frm.Dispatch(IDM_CHANGE_WALLPAPER);  // Ctrl+N
  EXPECT_EQ(rotation.Elapsed(), 0);

  program.options.Defaults = "C:\\Pictures\\gone.bmp";
  EXPECT_FALSE(rotation.ChangeWallpaper(Rotation::Default));
  EXPECT_FALSE(program.state.UseDefaultStyleOnce);

  // The default picture too needs a list to come back to.
  program.files.ClearListView();
  memory.ui.ClearMessages();
  EXPECT_FALSE(rotation.ChangeWallpaper(Rotation::Default));
  EXPECT_EQ(memory.ui.Messages().back().title, "Wallpaper Change Error");
}

}  // namespace
}  // namespace tapestrel
