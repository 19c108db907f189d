// The options dialog: controls that act at once, "O&K" and what it writes, "CANCEL" in
// its three forms putting the copy back, the browse dialogs it opens, and a layout in
// which nothing on a tab overlaps.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

class OptionsDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    memory.files.WriteFile("C:\\Pictures\\a.bmp", WriteBmp24(Bitmap(8, 8)));
    ASSERT_TRUE(program.Start());
    memory.ui.ClearMessages();
  }
  std::string stored(const std::string& key) { return memory.settings.GetSetting("StartUp", key, "(none)"); }
  // The user clicks a check box: it flips.
  void click(CheckBox& box) { box.SetValue(box.Value() ? 0 : 1); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmOptions& dialog = program.frmOptions;
  Options& o = program.options;
};

TEST_F(OptionsDialogTest, OpeningShowsTheOptionsAndTheSplashBoxNeverChanges) {
  o.MinimizeToTray = 1;
  o.ImageCenterStyle = 5;
  o.HotKeyModifier = 2;
  o.HotKeyCode = 'K';
  o.ActiveFilters[1] = "sun*";
  o.BmpFileFilter = {"*", "sun*", "", "", ""};
  program.frmMain.Menus().Get("mnuOptions", -1).Click();
  ASSERT_TRUE(dialog.Visible());
  EXPECT_EQ(dialog.Caption(), "Tapestrel Options");
  EXPECT_TRUE(dialog.TopMost);
  EXPECT_EQ(dialog.chkMiscOptions[19].Value(), 1);
  EXPECT_EQ(dialog.chkMiscOptions[19].Caption(), "&8) Minimize to the tray?");
  EXPECT_TRUE(dialog.optImageJustification[5].Value());
  EXPECT_FALSE(dialog.optImageJustification[1].Value());
  EXPECT_EQ(dialog.txtPopUpHotKey.Text(), "Ctrl+K");
  EXPECT_EQ(dialog.cboFileFilters[1].Text(), "sun*");
  EXPECT_EQ(dialog.cboFileFilters[1].List(), (std::vector<std::string>{"*", "sun*"}));
  EXPECT_EQ(dialog.cboFileFilters[2].Text(), "*");
  EXPECT_EQ(dialog.txtViewer[0].Text(), "internal");
  EXPECT_EQ(dialog.cboViewers[1].List().front(), "Enter an editor");
  EXPECT_FALSE(dialog.cmdApply.Enabled());

  const Options before = o;
  EXPECT_FALSE(dialog.chkMiscOptions[10].Enabled());
  dialog.chkMiscOptions[10].SetValue(0);
  EXPECT_EQ(o, before);
  dialog.cmdOptions[FrmOptions::Cancel].Click();
  dialog.Open();
  EXPECT_FALSE(dialog.chkMiscOptions[10].Enabled());
  EXPECT_EQ(dialog.chkMiscOptions[10].Value(), 1);
}

TEST_F(OptionsDialogTest, TheScreensOptionsStartAsBeforeAreKeptByOkAndABadPercentageIsRefused) {
  dialog.Open();
  EXPECT_EQ(dialog.chkSmoothShrinking.Value(), 1);
  EXPECT_EQ(dialog.chkMatchOrientation.Value(), 0);
  EXPECT_EQ(dialog.txtSkipSmaller.Text(), "0");
  click(dialog.chkSmoothShrinking);
  click(dialog.chkMatchOrientation);
  dialog.txtSkipSmaller.SetText("150");
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_TRUE(dialog.Visible());  // refused: the dialog stays, the box shows the old value
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(dialog.txtSkipSmaller.Text(), "0");
  dialog.txtSkipSmaller.SetText(" 60 ");
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(o.SmoothShrinking);
  EXPECT_TRUE(o.MatchOrientation);
  EXPECT_EQ(o.SkipSmallerThanPercent, 60);
  EXPECT_EQ(stored("SmoothShrinking"), "False");
  EXPECT_EQ(stored("MatchOrientation"), "True");
  EXPECT_EQ(stored("SkipSmallerThanPercent"), "60");
  // CANCEL puts them back.
  dialog.Open();
  click(dialog.chkSmoothShrinking);
  dialog.cmdOptions[FrmOptions::Cancel].Click();
  EXPECT_FALSE(o.SmoothShrinking);
}

TEST_F(OptionsDialogTest, CancelEscAndTheCloseBoxPutBackWhatTheControlsChanged) {
  struct Way {
    const char* name;
    std::function<void()> close;
  };
  const Way ways[] = {{"CANCEL", [this] { dialog.cmdOptions[FrmOptions::Cancel].Click(); }},
                      {"Esc", [this] {
                         int key = 27;
                         dialog.KeyPress(key);
                       }},
                      {"close box", [this] { EXPECT_FALSE(dialog.UserClose()); }}};
  for (const Way& way : ways) {
    dialog.Open();
    click(dialog.chkMiscOptions[19]);  // "&8) Minimize to the tray?" acts at once
    EXPECT_EQ(o.MinimizeToTray, 1) << way.name;
    program.frmMain.Menus().Get("mnuOptions", -1).Click();  // "&Options" again, while it shows
    EXPECT_EQ(dialog.chkMiscOptions[19].Value(), 1) << way.name;
    dialog.optWindowSize[2].SetValue(true);
    dialog.txtViewer[6].SetText("C:\\Tools\\paint.exe");
    dialog.txtViewer[6].LostFocus();
    int key = 'Q';
    dialog.txtPopUpHotKey.KeyDown(key, shift::Shift);
    EXPECT_EQ(key, 0) << way.name;  // the key went no further than the box
    EXPECT_EQ(o.HotKeyCode, 'Q');
    way.close();
    EXPECT_FALSE(dialog.Visible()) << way.name;
    EXPECT_TRUE(dialog.Loaded()) << way.name;
    EXPECT_EQ(o.MinimizeToTray, 0) << way.name;
    EXPECT_EQ(o.ViewingWindowSize, 0) << way.name;
    EXPECT_EQ(o.Programs[6], "Enter an editor") << way.name;
    EXPECT_EQ(o.HotKeyModifier, 0) << way.name;
    EXPECT_EQ(o.HotKeyCode, 123) << way.name;
  }
  EXPECT_EQ(stored("MinimizeToTray"), "(none)");
}

// A click on CANCEL takes the focus from a field first: a field it is about to put back
// is not checked then, so no message eats the click; where the focus goes on from CANCEL
// instead, the field is taken up after all.
TEST_F(OptionsDialogTest, CancelClickedFromABadFieldClosesAtOnce) {
  dialog.Open();
  dialog.UserFocused(&dialog.txtDefaults[1]);
  dialog.txtDefaults[1].UserTyped("C:\\Nowhere\\saver.scr");
  dialog.UserFocused(&dialog.cmdOptions[FrmOptions::Cancel]);  // the button's press
  EXPECT_TRUE(memory.ui.Messages().empty());
  dialog.cmdOptions[FrmOptions::Cancel].Click();
  EXPECT_FALSE(dialog.Visible());
  dialog.UserFocused(nullptr);  // the dialog has gone
  EXPECT_TRUE(memory.ui.Messages().empty());

  dialog.Open();
  dialog.UserFocused(&dialog.txtDefaults[0]);
  dialog.txtDefaults[0].UserTyped("C:\\Pictures\\a.bmp");
  dialog.UserFocused(&dialog.cmdOptions[FrmOptions::Cancel]);
  dialog.UserFocused(&dialog.cmdOptions[FrmOptions::Ok]);  // tabbed on past CANCEL
  EXPECT_EQ(o.Defaults, "C:\\Pictures\\a.bmp");
}

TEST_F(OptionsDialogTest, ImagePositionStoresItsIndexAndApplyShowsItOnce) {
  dialog.Open();
  dialog.optImageJustification[8].SetValue(true);  // "Bottom right"
  EXPECT_EQ(dialog.optImageJustification[8].Caption(), "Bottom right");
  EXPECT_EQ(o.ImageCenterStyle, 8);
  EXPECT_FALSE(dialog.optImageJustification[1].Value());
  EXPECT_TRUE(dialog.cmdApply.Enabled());
  dialog.cmdApply.Click();
  EXPECT_FALSE(dialog.cmdApply.Enabled());
  dialog.optDefaultStyle[1].SetValue(true);  // not a viewing option
  EXPECT_FALSE(dialog.cmdApply.Enabled());
  EXPECT_EQ(o.DefaultStyle, 1);
}

TEST_F(OptionsDialogTest, OkKeepsTheChangesAndWritesWhatWaitsForIt) {
  memory.settings.DeleteSetting("StartUp", "NormalWindowAtStart");
  dialog.Open();
  click(dialog.chkMiscOptions[9]);   // "Change wallpaper at start&?"
  click(dialog.chkMiscOptions[19]);  // saved with the options group
  click(dialog.chkMiscOptions[0]);   // the toolbar stops wrapping
  dialog.cboFileFilters[1].UserTyped(" sun* ");
  dialog.cboFileFilters[1].LostFocus();
  memory.files.WriteFile("C:\\Tools\\view.exe", "MZ");
  dialog.txtViewer[3].SetText("C:\\Tools\\view.exe");
  dialog.txtViewer[3].LostFocus();
  dialog.cboViewers[0].UserChose(3);
  program.frmMain.ChangeMenuHelpStatusMsg("Displays the options dialog.");
  dialog.cmdOptions[FrmOptions::Ok].Click();

  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(stored("ChangeWallpaperAtStart"), "1");
  EXPECT_EQ(stored("NormalWindowAtStart"), "(none)");  // unchanged: not written
  EXPECT_EQ(stored("MinimizeToTray"), "1");
  EXPECT_NE(std::find(o.BmpFileFilter.begin(), o.BmpFileFilter.end(), "sun*"), o.BmpFileFilter.end());
  EXPECT_EQ(stored("BmpFileFilter5"), o.BmpFileFilter[4]);
  EXPECT_EQ(stored("Viewer"), "3");
  EXPECT_EQ(o.ActiveFilters[1], "sun*");
  EXPECT_EQ(program.frmMain.StatusBar.PanelText("bmpfilter"), "sun*.bmp");
  EXPECT_EQ(program.frmMain.StatusBar.PanelText("menu help"), "");
  EXPECT_FALSE(program.frmMain.tbrCommands.Wrappable());
  EXPECT_EQ(program.frmMain.mCustom3[1].Caption(), "View files using view");
  EXPECT_EQ(stored("RunProgramAtStartUp"), "0");

  // A chosen program that cannot be found keeps the dialog open and the old choice.
  dialog.Open();
  memory.files.RemoveFile("C:\\Tools\\view.exe");
  dialog.cboViewers[0].UserChose(3);
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_TRUE(dialog.Visible());
  EXPECT_EQ(memory.ui.Prompts().back(),
            "C:\\Tools\\view.exe cannot be found.\nMake sure you have entered the correct path and filename.");
  dialog.cboViewers[0].UserChose(0);
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_EQ(o.Viewer, 0);

  dialog.Open();
  memory.files.WriteFile(program.state.ProgramFolder + kHelpFile, "help");
  dialog.cmdOptions[FrmOptions::HelpButton].Click();
  ASSERT_FALSE(memory.ui.HelpRequests().empty());
  EXPECT_EQ(memory.ui.HelpRequests().back().context, 5000);
  EXPECT_TRUE(dialog.Visible());
}

TEST_F(OptionsDialogTest, RunAtStartUpForAnOrdinaryUserIsEnteredForTheUserAndToldOnce) {
  const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  memory.registry.FailOpen(RegistryRoot::LocalMachine, run, 5);  // no administrator
  const auto told = [this] {
    int count = 0;
    for (const std::string& prompt : memory.ui.Prompts())
      count += prompt.find("it is entered for you alone") != std::string::npos;
    return count;
  };
  dialog.Open();
  click(dialog.chkMiscOptions[13]);  // run at start-up
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_TRUE(memory.registry.Value(RegistryRoot::CurrentUser, run, "Tapestrel"));
  EXPECT_EQ(told(), 1);
  dialog.Open();  // O&K again with the option still on: nothing more to tell
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_EQ(told(), 1);
  dialog.Open();
  click(dialog.chkMiscOptions[13]);
  dialog.cmdOptions[FrmOptions::Ok].Click();
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::CurrentUser, run, "Tapestrel"));
}

TEST_F(OptionsDialogTest, BrowseDialogsAskWithTheirFiltersAndTitlesFromBelowTheTopBand) {
  dialog.Open();
  memory.ui.Pick("C:\\Tools\\Paint Shop.exe");
  memory.ui.Pick("");
  o.mciEvents[1] = "C:\\Sounds\\chime.WAV";
  dialog.SetUp();
  dialog.cmdBrowseForViewer[7].Click();
  dialog.cmdBrowseForMciDevice[1].Click();
  dialog.cmdBrowseForDefaults[1].Click();
  ASSERT_EQ(memory.ui.openRequests.size(), 3u);
  const OpenFileRequest& editor = memory.ui.openRequests[0];
  EXPECT_EQ(editor.title, "Browse for Editor");
  EXPECT_EQ(editor.filters, (std::vector<std::pair<std::string, std::string>>{{"Programs (*.exe)", "*.exe"}}));
  EXPECT_EQ(editor.defaultExtension, "exe");
  EXPECT_EQ(editor.initialFile, "");  // the placeholder names no file
  EXPECT_EQ(dialog.txtViewer[7].Text(), "C:\\Tools\\Paint Shop.exe");
  EXPECT_EQ(dialog.cboViewers[1].List()[2], "C:\\Tools\\Paint Shop.exe");
  EXPECT_EQ(dialog.cboViewers[1].ListIndex(), 0);  // the choice is kept

  const OpenFileRequest& sound = memory.ui.openRequests[1];
  EXPECT_EQ(sound.title, "Browse for events to associate with backdrop change.");
  ASSERT_EQ(sound.filters.size(), 8u);
  EXPECT_EQ(sound.filters[static_cast<std::size_t>(sound.filterIndex - 1)].first, "Wave audio (*.wav)");
  EXPECT_EQ(sound.initialFile, "chime.WAV");
  EXPECT_EQ(sound.initialFolder, "C:\\Sounds\\");
  EXPECT_EQ(dialog.txtMciDevice[1].Text(), "C:\\Sounds\\chime.WAV");  // cancelled: unchanged

  const OpenFileRequest& saver = memory.ui.openRequests[2];
  EXPECT_EQ(saver.title, "Browse for default screen saver.");
  EXPECT_EQ(saver.filters.front().second, "*.scr");
  EXPECT_TRUE(dialog.TopMost);
}

bool holds(const Control& outer, const Control& inner) {
  for (const Control* c = inner.Container(); c; c = c->Container())
    if (c == &outer) return true;
  return false;
}

TEST_F(OptionsDialogTest, EachTabShowsOnlyItsControlsAndNothingOnATabOverlaps) {
  dialog.Open();
  for (int tab = 0; tab < 5; ++tab) {
    dialog.tabOptions.SelectTab(tab);
    std::vector<const Control*> shown;
    for (const Control* c : dialog.Controls()) {
      const int page = dialog.TabOf(*c);
      if (page < 0) continue;
      EXPECT_EQ(c->Visible(), page == tab) << c->Name() << c->Index();
      if (page != tab) continue;
      // Inside the tab strip, and inside the frame that holds it.
      for (const Control* holder = c->Container(); holder; holder = holder->Container()) {
        EXPECT_GE(c->Left(), holder->Left()) << c->Name() << c->Index();
        EXPECT_GE(c->Top(), holder->Top()) << c->Name() << c->Index();
        EXPECT_LE(c->Left() + c->Width(), holder->Left() + holder->Width()) << c->Name() << c->Index();
        EXPECT_LE(c->Top() + c->Height(), holder->Top() + holder->Height()) << c->Name() << c->Index();
      }
      shown.push_back(c);
    }
    for (std::size_t i = 0; i < shown.size(); ++i)
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        const Control& a = *shown[i];
        const Control& b = *shown[j];
        if (holds(a, b) || holds(b, a)) continue;
        const bool apart = a.Left() + a.Width() <= b.Left() || b.Left() + b.Width() <= a.Left() ||
                           a.Top() + a.Height() <= b.Top() || b.Top() + b.Height() <= a.Top();
        EXPECT_TRUE(apart) << a.Name() << a.Index() << " and " << b.Name() << b.Index() << " on tab " << tab;
      }
  }
  EXPECT_FALSE(dialog.dirActiveDirs.Visible());
  EXPECT_FALSE(dialog.chkMiscOptions[16].Visible());
}

}  // namespace
}  // namespace tapestrel
