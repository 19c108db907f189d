#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/command_ids.h"
#include "app/main_menus.h"
#include "app/program.h"
#include "catalogue/folder_tree.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class FrmMainTest : public ::testing::Test {
 protected:
  void SetUp() override {}
  void Start() { ASSERT_TRUE(program.Start()); }
  std::vector<std::string> writtenKeys() const {
    std::vector<std::string> keys;
    for (const auto& w : memory.settings.Writes()) keys.push_back(w.key);
    return keys;
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& frm = program.frmMain;
};

TEST_F(FrmMainTest, MenuBarOrderAndPopUps) {
  std::vector<std::string> top;
  for (const Menu* m : frm.Menus().TopLevel()) top.push_back(m->Caption());
  EXPECT_EQ(top, (std::vector<std::string>{"&File", "&Commands", "&Settings", "&Interval", "&View Mode", "&Help", "",
                                           "", ""}));
  EXPECT_FALSE(frm.Menus().Get("mPopUp").Visible());
  EXPECT_EQ(frm.mCustom.UBound(), 22);
  EXPECT_EQ(frm.mCustom2.UBound(), 26);
  EXPECT_EQ(frm.mCustom3.UBound(), 14);
  EXPECT_EQ(frm.mCustom[22].Caption(), "&Restore");
  EXPECT_EQ(frm.mCustom2[16].Caption(), "Exit Update Wallpaper");
  EXPECT_EQ(frm.Menus().Get("mViewStylePopUp", 3).ParentMenu(), &frm.mCustom3[10]);
  EXPECT_EQ(frm.mnuTimeInterval[4].Caption(), "One ");
  EXPECT_EQ(frm.mnuBackdropMode[2].Caption(), "Stretched,Desktop");
  EXPECT_EQ(frm.mnuBackdropHistory[0].Caption(), "-");
  EXPECT_EQ(frm.mnuBackdropHistory[0].HelpContextID(), 1006);
  const Menu& whatThis = frm.Menus().Get("mAbout", 2);
  EXPECT_FALSE(whatThis.Visible());
  EXPECT_FALSE(whatThis.Enabled());
}

TEST_F(FrmMainTest, ItemsCarryTheirShortcutsHelpLinesAndContexts) {
  const struct {
    const char* name;
    int index;
    const char* caption;
    const char* shortcut;
    const char* help;
    int context;
  } cases[] = {
      {"mnuFindFile", -1, "&Find", "Ctrl+F", "Finds an item in the list.", 1000},
      {"mnuViewFiles", 0, "View", "Alt+Bksp", "Views the selected items.", 1002},
      {"mnuOperateOnFiles", 0, "&Delete", "", "Deletes the selected items.", 1004},
      {"mnuExit", 1, "Exit and &Save", "Ctrl+K", "Exits this program and saves all settings.", 1008},
      {"mnuToggleListView", -1, "Toggle List View", "Shift+F1", "Toggles the file list between bmp and alt files.", 1012},
      {"mnuRefresh", -1, "Refresh", "F5", "Refreshs the file or folder list.", 1015},
      {"mnuClearListView", -1, "Clear", "Shift+Del", "Clears the file list.", 1016},
      {"mnuChangeWallpapertoNext", 3, "&Default Wallpaper", "Shift+Ins", "Changes the wallpaper using the default file.", 0},
      {"mnuChangeWallpapertoNext", 4, "&Remove Default", "Ctrl+Ins", "Removes the default wallpaper.", 0},
      {"mnuScreenSaver", 1, "Screen Saver O&n", "F12", "Turns the screen saver on.", 1026},
      {"mnuInfoMode", -1, "To&ggle Info Mode", "Ctrl+G", "Enables display of file properties in the status bar.", 1060},
      {"Mnu_JPGDith", 2, "&Floyd-Steinberg", "", "Enables Floyd-Steinburg dithering of jpeg images.", 1033},
      {"mnuSmallSize", -1, "Toggle Height", "Shift+F3", "Toggles the window height between small size and back.", 1042},
      {"mnuOptions", -1, "&Options", "Ctrl+F1", "Displays the options dialog.", 1043},
      {"mnuTimeInterval", 0, "Sixty", "Ctrl+F4", "Sets the time interval to one hour.", 1044},
      {"mnuTimeInterval", 5, "&Custom", "Ctrl+F9", "Sets the time interval to a custom value.", 1044},
      {"mnuMode", -1, "&View Mode", "", "Contains the style options for the next picture change and the mode of view to use when the user set time has elapsed.", 1045},
      {"mAbout", 0, "&About...", "", "Displays program and system information, version number, and copyright information.", 1047},
      {"mCustom", 7, "Full-&Screen Mode", "", "Enables full-screen display after the set-time elapses.", 1048},
      {"mCustom2", 0, "&Timer On", "", "Turns the timer on.", 1049},
      {"mCustom3", 14, "&Cancel", "", "Dismisses this menu.", 1050},
  };
  for (const auto& c : cases) {
    const Menu& m = frm.Menus().Get(c.name, c.index);
    EXPECT_EQ(m.Caption(), c.caption) << c.name;
    EXPECT_EQ(ShortcutText(m.GetShortcut()), c.shortcut) << c.name;
    EXPECT_EQ(m.HelpLine(), c.help) << c.name;
    EXPECT_EQ(m.HelpContextID(), c.context) << c.name;
  }
  // Separators and plain top-level menus have no context number.
  for (const Menu* m : frm.Menus().All()) {
    if (m->IsSeparator() && m != &frm.mnuBackdropHistory[0]) {
      EXPECT_EQ(m->HelpContextID(), 0) << m->Name();
    }
    if (!m->ParentMenu() && m->Name() != "mnuMode") {
      EXPECT_EQ(m->HelpContextID(), 0) << m->Name();
    }
  }
}

TEST_F(FrmMainTest, EveryCommandHasAHandlerAndNoShortcutIsUsedTwice) {
  const auto ids = FrmMain::CommandIds();
  const std::set<int> known(ids.begin(), ids.end());
  std::set<std::pair<int, int>> shortcuts;
  std::set<int> commands;
  for (const Menu* m : frm.Menus().All()) {
    const bool opensSubMenu = !m->Items().empty();
    if (m->IsSeparator() || opensSubMenu || !m->ParentMenu()) {
      EXPECT_EQ(m->CommandId(), 0) << m->Name() << "(" << m->Index() << ")";
      continue;
    }
    EXPECT_TRUE(known.count(m->CommandId())) << m->Name() << "(" << m->Index() << ") has no handler";
    EXPECT_TRUE(commands.insert(m->CommandId()).second) << m->Name() << " shares its command";
    if (!m->GetShortcut().empty()) {
      EXPECT_TRUE(shortcuts.insert({m->GetShortcut().key, m->GetShortcut().modifiers}).second)
          << ShortcutText(m->GetShortcut()) << " is used twice";
    }
  }
  EXPECT_EQ(shortcuts.size(), 37u);
  for (const auto& b : frm.tbrCommands.Buttons())
    if (b.style == Toolbar::Style::Default) {
      EXPECT_TRUE(known.count(FrmMain::CommandForButton(b.key))) << b.key;
    }
}

TEST_F(FrmMainTest, SystemMenuItemsFollowThePopUpMenu) {
  std::vector<int> text;
  std::vector<int> separators;
  for (const SystemMenuEntry& item : SystemMenuEntries()) (item.separator ? separators : text).push_back(item.index);
  EXPECT_EQ(text, (std::vector<int>{0, 2, 3, 4, 7, 9, 10, 14, 15, 16, 18, 20}));
  EXPECT_EQ(separators, (std::vector<int>{1, 6, 8, 11, 17, 19}));
}

TEST_F(FrmMainTest, ToolbarHasItsButtonsInOrder) {
  Start();
  std::vector<std::string> keys;
  for (const auto& b : frm.tbrCommands.Buttons())
    if (b.style == Toolbar::Style::Default) keys.push_back(b.key);
  EXPECT_EQ(keys, (std::vector<std::string>{"find", "view", "edit", "move", "delete", "decode", "bmps", "switch",
                                            "alts", "change", "next", "previous", "timer", "exit", "largeicons",
                                            "smallicons", "list", "details"}));
  EXPECT_EQ(frm.tbrCommands.ButtonOf("view").toolTip, "Full-screen view");
  EXPECT_EQ(frm.tbrCommands.ButtonOf("edit").toolTip, "Edit files using Enter an editor");
  EXPECT_EQ(frm.tbrCommands.ButtonOf("alts").toolTip, "List jp? files");
  EXPECT_TRUE(frm.tbrCommands.ButtonOf("bmps").pressed);
  EXPECT_FALSE(frm.tbrCommands.ButtonOf("decode").enabled);  // only for the alt list
  // The controls on the bar sit in the room kept for them, after their buttons.
  const auto& timer = frm.tbrCommands.ButtonOf("timer");
  EXPECT_GT(frm.txtCustomChangeInterval.Left(), timer.left);
  EXPECT_GT(frm.spinCustomTimeInterval.Left(), frm.txtCustomChangeInterval.Left());
  EXPECT_GT(frm.cboListAltFilePatterns.Left(), frm.tbrCommands.ButtonOf("alts").left);
  EXPECT_LT(frm.cboListAltFilePatterns.Left() + frm.cboListAltFilePatterns.Width(),
            frm.tbrCommands.ButtonOf("change").left);
}

TEST_F(FrmMainTest, StartUpAppliesTheSettings) {
  memory.settings.SaveSetting("StartUp", "DeleteConfirmation", "False");
  memory.settings.SaveSetting("StartUp", "BackdropMode", "3");
  memory.settings.SaveSetting("StartUp", "WallPaperChangeInterval", "15");
  memory.settings.SaveSetting("StartUp", "ListViewView0", "3");
  memory.settings.SaveSetting("StartUp", "Gvbox_DCTMethod", "1");
  memory.settings.SaveSetting("StartUp", "ColorDepth", "-colors 256");
  memory.registry.SetValue(RegistryRoot::CurrentUser, "Control Panel\\Desktop", "ScreenSaveActive", "1");
  Start();
  EXPECT_EQ(frm.Caption(), "Tapestrel");
  EXPECT_FALSE(frm.mnuDeleteConfirmation.Checked());
  EXPECT_TRUE(frm.mnuRenameOnCollision.Checked());
  EXPECT_TRUE(frm.mnuBackdropMode[3].Checked());
  EXPECT_FALSE(frm.mnuBackdropMode[0].Checked());
  EXPECT_TRUE(frm.mnuTimeInterval[2].Checked());
  EXPECT_EQ(frm.txtCustomChangeInterval.Text(), "15.0");
  EXPECT_EQ(frm.lstvFiles[1].GetView(), ListView::Details);
  EXPECT_TRUE(frm.mViewStyle[3].Checked());
  EXPECT_TRUE(frm.Mnu_DCT[1].Checked());
  EXPECT_TRUE(frm.mnu8bitColor.Checked());
  EXPECT_FALSE(frm.mnu24bitColor.Checked());
  EXPECT_TRUE(frm.mnuScreenSaver[1].Checked());
  EXPECT_FALSE(frm.mnuScreenSaver[0].Checked());
  EXPECT_EQ(frm.cboListAltFilePatterns.Text(), ".jp?");
  EXPECT_EQ(frm.StatusBar.PanelText("bmpfilter"), "*.bmp");
  EXPECT_EQ(frm.lstvFiles[1].Columns()[5].header, "date and time");
  EXPECT_TRUE(frm.lstvFiles[1].Visible());
  EXPECT_FALSE(frm.lstvFiles[0].Visible());
  EXPECT_TRUE(frm.Visible());
  EXPECT_FALSE(program.frmAbout.Loaded());  // the splash is gone
  EXPECT_EQ(frm.State(), WindowState::Normal);
}

TEST_F(FrmMainTest, AnExtensionTheUserAddedTakesThePlaceAfterTheFixedEntries) {
  memory.settings.SaveSetting("StartUp", "AlternateFilePattern", ".psd");
  Start();
  ASSERT_EQ(frm.cboListAltFilePatterns.ListCount(), kUserAltPatternPlace + 1);
  EXPECT_EQ(frm.cboListAltFilePatterns.List()[kUserAltPatternPlace], "psd");
  EXPECT_EQ(frm.tbrCommands.ButtonOf("alts").toolTip, "List psd files");
}

TEST_F(FrmMainTest, SecondInstanceOnlySaysSo) {
  memory.processes.anotherRunning = true;
  EXPECT_FALSE(program.Start());
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Messages()[0].prompt, "Tapestrel is already runninng");
  EXPECT_TRUE(memory.settings.Writes().empty());
  EXPECT_FALSE(frm.Loaded());
}

TEST_F(FrmMainTest, StartUpDeletesTheLogFiles) {
  memory.files.WriteFile("C:\\Program Files\\Tapestrel\\Random File Use.log", "x");
  memory.files.WriteFile("C:\\Program Files\\Tapestrel\\Events Timer.log", "x");
  memory.files.WriteFile("C:\\Program Files\\Tapestrel\\keep.log", "x");
  Start();
  EXPECT_FALSE(memory.files.FileExists("C:\\Program Files\\Tapestrel\\Random File Use.log"));
  EXPECT_FALSE(memory.files.FileExists("C:\\Program Files\\Tapestrel\\Events Timer.log"));
  EXPECT_TRUE(memory.files.FileExists("C:\\Program Files\\Tapestrel\\keep.log"));
}

TEST_F(FrmMainTest, StartsMinimizedWhenAskedNotToOpenNormally) {
  memory.settings.SaveSetting("StartUp", "NormalWindowAtStart", "0");
  Start();
  EXPECT_EQ(frm.State(), WindowState::Minimized);
  EXPECT_TRUE(frm.Visible());  // never hidden while there is no notification-area icon
  EXPECT_TRUE(frm.mCustom[22].Enabled());
  EXPECT_FALSE(frm.mCustom[21].Enabled());
}

TEST_F(FrmMainTest, StoredPlacementIsBroughtBackOntoTheScreen) {
  memory.settings.SaveSetting("StartUp", "WindowPosition", "30000 -900 99999 6000");
  Start();
  EXPECT_EQ(frm.Width(), memory.desktop.ScreenWidth());
  EXPECT_EQ(frm.Left(), 0);
  EXPECT_EQ(frm.Top(), 0);
  EXPECT_EQ(frm.Height(), 6000);
}

TEST_F(FrmMainTest, ExitWritesOnlyTheMediaEvents) {
  Start();
  memory.settings.ClearWrites();
  frm.Dispatch(IDM_EXIT);
  EXPECT_EQ(writtenKeys(), (std::vector<std::string>{"mciEvents0", "mciEvents1", "mciEvents2"}));
  EXPECT_FALSE(frm.Loaded());
  EXPECT_TRUE(program.state.Exiting);
}

TEST_F(FrmMainTest, ExitAndSaveWritesEverySettingFirst) {
  Start();
  frm.UserMoved(450, 300, 10000, 7000);
  memory.settings.ClearWrites();
  frm.mnuExit[1].Click();

  Program reference(memory.platform());
  MemoryPlatform other;
  Program expected(other.platform());
  expected.options = program.options;
  expected.settings.SaveAll();
  std::vector<std::string> expectedKeys;
  for (const auto& w : other.settings.Writes()) expectedKeys.push_back(w.key);
  for (const char* key : {"mciEvents0", "mciEvents1", "mciEvents2"}) expectedKeys.push_back(key);
  EXPECT_EQ(writtenKeys(), expectedKeys);
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "WindowPosition", ""), "450 300 10000 7000");
  EXPECT_FALSE(frm.Loaded());
}

TEST_F(FrmMainTest, ToggleHeightGoesToTheSmallHeightAndBack) {
  Start();
  const long normal = frm.Height();
  const long small = (frm.Height() - frm.ScaleHeight()) + frm.tbrCommands.Height() + frm.StatusBar.Height();
  frm.Dispatch(IDM_SMALL_SIZE);
  EXPECT_EQ(frm.Height(), small);
  EXPECT_EQ(frm.Width(), FrmMain::kDesignWidth);
  frm.Dispatch(IDM_SMALL_SIZE);
  EXPECT_EQ(frm.Height(), normal);
}

TEST_F(FrmMainTest, RefreshWithoutAFocusedPaneOnlyTellsHow) {
  Start();
  frm.Dispatch(IDM_REFRESH);
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Messages()[0].prompt, "To refresh the folder list or the file list that pane must have focus");
  memory.ui.ClearMessages();
  frm.lstvFiles[1].SetFocus();
  frm.Dispatch(IDM_REFRESH);
  EXPECT_TRUE(memory.ui.Messages().empty());
}

TEST_F(FrmMainTest, InfoModeTogglesFromTheMenuAndThePanel) {
  Start();
  frm.Dispatch(IDM_INFO_MODE);
  EXPECT_TRUE(frm.mnuInfoMode.Checked());
  EXPECT_EQ(frm.StatusBar.PanelText("info on off"), "Info On");
  frm.StatusBar.PanelClick("info on off");
  EXPECT_FALSE(frm.mnuInfoMode.Checked());
  EXPECT_EQ(frm.StatusBar.PanelText("info on off"), "Info Off");
}

TEST_F(FrmMainTest, LoadSettingsAsksFirst) {
  Start();
  memory.settings.SaveSetting("StartUp", "DeleteConfirmation", "False");
  memory.ui.Answer(mb::IdNo);
  frm.Dispatch(IDM_LOAD_SETTINGS);
  EXPECT_TRUE(frm.mnuDeleteConfirmation.Checked());
  memory.ui.Answer(mb::IdYes);
  frm.Dispatch(IDM_LOAD_SETTINGS);
  EXPECT_FALSE(frm.mnuDeleteConfirmation.Checked());
  EXPECT_EQ(memory.ui.Messages().size(), 2u);
  EXPECT_EQ(memory.ui.Messages()[0].style, mb::YesNo | mb::Question);
}

// Loading again reads everything that was saved: the window's place, the folder
// history, the wallpaper history. What the user set up since stays: the list shown and
// info mode.
TEST_F(FrmMainTest, LoadSettingsReadsEverythingAndKeepsTheViewArranged) {
  Start();
  frm.mnuToggleListView_Click();
  const int shown = frm.CurrentList();
  frm.mnuInfoMode_Click();
  memory.settings.SaveSetting("StartUp", "WindowPosition", "300 150 9000 6000");
  memory.settings.SaveSetting("StartUp", "PictureDirectory2", "C:\\Holidays\\");
  memory.settings.SaveSetting("BackDropHistory", "1", "C:\\Holidays\\sun.bmp");
  memory.ui.Answer(mb::IdYes);
  frm.Dispatch(IDM_LOAD_SETTINGS);
  EXPECT_EQ(frm.Left(), 300);
  EXPECT_EQ(frm.Width(), 9000);
  const auto& folders = frm.cboPictureDirectories.List();
  EXPECT_NE(std::find(folders.begin(), folders.end(), "C:\\Holidays\\"), folders.end());
  EXPECT_EQ(program.state.History, (std::vector<std::string>{"C:\\Holidays\\sun.bmp"}));
  EXPECT_EQ(frm.CurrentList(), shown);
  EXPECT_TRUE(frm.InfoMode());
}

TEST_F(FrmMainTest, MenuHelpLines) {
  EXPECT_EQ(frm.MenuHelpLine(frm.mnuTimerOnOff), "Turns the timer on.");
  frm.tmrTapestrel[0].SetEnabled(true);
  EXPECT_EQ(frm.MenuHelpLine(frm.mnuTimerOnOff), "Turns the timer off.");
  EXPECT_EQ(frm.MenuHelpLine(frm.Menus().Get("mnuView")), kOpenMenuHelp);
  EXPECT_EQ(frm.MenuHelpLine(frm.mnuInfoMode), "Enables display of file properties in the status bar.");
}

TEST_F(FrmMainTest, PaneLayoutFollowsTheSplitter) {
  Start();
  EXPECT_EQ(frm.picSizeBar.Left(), FrmMain::kDefaultSplit);
  EXPECT_EQ(frm.lstvFiles[1].Left(), FrmMain::kDefaultSplit + FrmMain::kSplitterWidth);
  EXPECT_LE(frm.lstvFiles[1].Left() + frm.lstvFiles[1].Width(), frm.ScaleWidth());
  EXPECT_LT(frm.dirPictures.Left() + frm.dirPictures.Width(), frm.picSizeBar.Left());
  EXPECT_EQ(frm.StatusBar.Top() + frm.StatusBar.Height(), frm.ScaleHeight());
  // Dragging the splitter moves the panes and is what save-all records.
  frm.picSizeBar.MouseDown(1, 0, 30, 100);
  frm.picSizeBar.MouseUp(1, 0, 630, 100);
  EXPECT_EQ(frm.picSizeBar.Left(), FrmMain::kDefaultSplit + 600);
  program.SaveAllSettings();
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "StartupSplitPoint", ""), "3900");
  // A drag in steps, as a real mouse gives it: each position is relative to the bar,
  // which follows; the release keeps where the bar is.
  const long before = frm.picSizeBar.Left();
  frm.picSizeBar.MouseDown(1, 0, 30, 100);
  frm.picSizeBar.MouseMove(1, 0, 330, 100);
  frm.picSizeBar.MouseMove(1, 0, 330, 100);
  frm.picSizeBar.MouseUp(1, 0, 45, 100);
  EXPECT_EQ(frm.picSizeBar.Left(), before + 615);
  // It cannot squeeze the file list away.
  frm.picSizeBar.MouseDown(1, 0, 0, 100);
  frm.picSizeBar.MouseUp(1, 0, 99999, 100);
  EXPECT_GE(frm.ScaleWidth() - frm.lstvFiles[1].Left(), FrmMain::kMinPaneWidth);
}

TEST_F(FrmMainTest, HoverHintsAndHelp) {
  Start();
  frm.dirPictures.MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Double-click or press ENTER to open a folder.");
  frm.picSizeBar.MouseMove(0, 0, 10, 10);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Resize the left and right panes.");
  frm.cboPictureDirectories.EditMouseMove(0, 0, 10, 10);
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Enter a new folder.");
  frm.cboPictureDirectories.MouseMove(0, 0, 10, 10);  // the drop-down button
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Choose or enter new folder.");
  frm.MouseMove(0, 0, 10, 10);  // the window's background
  EXPECT_EQ(frm.StatusBar.PanelText("main panel"), "Press F1 for Help.");
  frm.Dispatch(IDM_ABOUT + 1);
  EXPECT_EQ(memory.ui.Messages().back().prompt, "C:\\Program Files\\Tapestrel\\Tapstr.hlp not found");
  memory.files.WriteFile("C:\\Program Files\\Tapestrel\\Tapstr.hlp", "help");
  frm.Dispatch(IDM_ABOUT + 1);
  ASSERT_EQ(memory.ui.HelpRequests().size(), 1u);
  EXPECT_EQ(memory.ui.HelpRequests()[0].context, 0);
}

TEST_F(FrmMainTest, AboutBoxTellsOfTheSystem) {
  Start();
  frm.Dispatch(IDM_ABOUT);
  EXPECT_TRUE(program.frmAbout.Visible());
  EXPECT_EQ(program.frmAbout.lblTitle.Caption(), "Tapestrel");
  const std::string info = program.frmAbout.lblSystem.Caption();
  EXPECT_NE(info.find("Windows NT 5.1"), std::string::npos);
  EXPECT_NE(info.find("Memory load: 42%"), std::string::npos);
  EXPECT_NE(info.find("Physical memory: 256 MB free of 512 MB"), std::string::npos);
  EXPECT_NE(info.find("Free disk space on C: "), std::string::npos);
  EXPECT_EQ(info.find("C::"), std::string::npos);
  program.frmAbout.cmdOK.Click();
  EXPECT_FALSE(program.frmAbout.Loaded());
}

TEST_F(FrmMainTest, DecoderMenusKeepTheOptions) {
  Start();
  frm.Mnu_DCT[0].Click();
  frm.mnu8bitColor.Click();
  frm.mnuInternalDecode.Click();
  frm.Mnu_Fancy.Click();
  EXPECT_EQ(program.options.DctMethod, 0);
  EXPECT_TRUE(frm.Mnu_DCT[0].Checked());
  EXPECT_FALSE(frm.Mnu_DCT[2].Checked());
  EXPECT_EQ(program.options.ColorDepth, "-colors 256");
  EXPECT_TRUE(program.options.InternalDecoding);
  EXPECT_FALSE(frm.mnuExternalDecodeOn.Checked());
  EXPECT_FALSE(program.options.FancyUpsampling);
  frm.Menus().Get("mViewStylePopUp", 2).Click();
  EXPECT_EQ(frm.lstvFiles[1].GetView(), ListView::List);
  EXPECT_TRUE(frm.mViewStyle[2].Checked());
  EXPECT_TRUE(frm.tbrCommands.ButtonOf("list").pressed);
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST(FolderTree, LinesRunFromTheRootToTheSubFolders) {
  MemoryPlatform memory;
  memory.files.WriteFile("C:\\Pictures\\Sea\\Beach\\a.bmp");
  memory.files.WriteFile("C:\\Pictures\\Sea\\alps\\b.bmp");
  const auto entries = FolderTreeEntries(memory.files, "C:\\Pictures\\Sea");
  const std::vector<FolderEntry> expected{{"c:\\", "C:\\", 0},
                                          {"Pictures", "C:\\Pictures", 1},
                                          {"Sea", "C:\\Pictures\\Sea", 2},
                                          {"alps", "C:\\Pictures\\Sea\\alps", 3},
                                          {"Beach", "C:\\Pictures\\Sea\\Beach", 3}};
  EXPECT_EQ(entries, expected);
  EXPECT_EQ(TreePath("C:\\"), "C:\\");
}

TEST(FolderTree, MissingPictureFolderShowsTheProgramsFolder) {
  MemoryPlatform memory;
  memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Gone\\");
  Program program(memory.platform());
  ASSERT_TRUE(program.Start());
  EXPECT_EQ(program.frmMain.dirPictures.Path(), "C:\\Program Files\\Tapestrel");
  EXPECT_EQ(program.frmMain.drvPictureDirectories.Drive(), "c:");
  EXPECT_EQ(program.frmMain.cboPictureDirectories.Text(), "C:\\Program Files\\Tapestrel\\");
  EXPECT_EQ(program.frmMain.dirPictures.Entries()[program.frmMain.dirPictures.ListIndex()].name, "Tapestrel");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(FrmMainTest, HighlightedMenuItemsShowTheirHelpLines) {
  Start();
  frm.MenuSelect(&frm.mnuInfoMode, -1);
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "Enables display of file properties in the status bar.");
  frm.MenuSelect(nullptr, 0);
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "Contains commands for manipulating Windows and for this program.");
  frm.MenuSelect(nullptr, 0xF060);
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "Closes this window.");
  frm.MenuSelect(&frm.Menus().Get("mnuSort"), -1);
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "Press Alt or F10 to remove this menu.");
  frm.MenuSelect(nullptr, -1);
  EXPECT_EQ(frm.StatusBar.PanelText("menu help"), "");
  // F1 on a highlighted item opens the help file at its context number.
  memory.files.WriteFile("C:\\Program Files\\Tapestrel\\Tapstr.hlp", "help");
  frm.Help(&frm.Menus().Get("mnuRefresh"));
  ASSERT_EQ(memory.ui.HelpRequests().size(), 1u);
  EXPECT_EQ(memory.ui.HelpRequests()[0].context, 1015);
  EXPECT_EQ(memory.ui.HelpRequests()[0].file, "C:\\Program Files\\Tapestrel\\Tapstr.hlp");
}

TEST_F(FrmMainTest, FileTypesGetTheIconsOfTheirPrograms) {
  memory.files.WriteFile("C:\\Apps\\viewer.exe", "MZ");
  memory.registry.SetValue(RegistryRoot::ClassesRoot, ".jpg", "", "jpegfile");
  memory.registry.SetValue(RegistryRoot::ClassesRoot, "jpegfile\\DefaultIcon", "", "C:\\Apps\\viewer.exe,2");
  Start();
  const int at = frm.imglstSmallIcon.IndexOf("jpg");
  ASSERT_GE(at, 0);
  EXPECT_EQ(frm.imglstSmallIcon.Images()[at].source, "icon:C:\\Apps\\viewer.exe,2");
  EXPECT_TRUE(frm.imglstLargeIcon.Has("jpg"));
  EXPECT_FALSE(frm.imglstLargeIcon.Has("gif"));  // no program registered: the fallback icon
}

}  // namespace
}  // namespace tapestrel
