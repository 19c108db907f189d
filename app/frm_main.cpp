#include "app/frm_main.h"

#include <algorithm>
#include <map>
#include <sstream>

#include "app/main_menus.h"
#include "catalogue/folder_tree.h"
#include "app/program.h"
#include "catalogue/file_list.h"
#include "catalogue/thumbnailer.h"
#include "wallpaper/screen_layout.h"
#include "desktop/hot_key.h"
#include "platform/text.h"

namespace tapestrel {

namespace {

// Toolbar buttons in order: key (also the image's key) and tool tip. The two place
// holders keep room for the controls that sit on the bar.
struct ToolbarButton {
  const char* key;
  const char* toolTip;
};
const ToolbarButton kToolbarButtons[] = {
    {"find", "Find file"},
    {"view", "Full-screen view"},
    {"edit", "Edit files using "},
    {"move", "Move files"},
    {"delete", "Delete files"},
    {"decode", "Decode files"},
    {"bmps", "List bmp files"},
    {"switch", "Toggle the view"},
    {"alts", "List jp? files"},
    {"change", "Change wallpaper using selected file"},
    {"next", "Change wallpaper using the next file"},
    {"previous", "Change wallpaper using the previous file"},
    {"timer", "Turn timer on and off"},
    {"exit", "Exit"},
    {"largeicons", "Large icons"},
    {"smallicons", "Small icons"},
    {"list", "List"},
    {"details", "Details"},
};
constexpr const char* kAltComboPlace = "altcombo";
constexpr const char* kIntervalPlace = "interval";
constexpr long kAltComboWidth = 1200;
constexpr long kIntervalBoxWidth = 600;
constexpr long kSpinWidth = 255;
// Thumbnails are made on a short timer, which Windows raises only when no other message
// waits; each tick makes them for about a slice, so a key or a scroll waits no longer.
constexpr int kThumbnailTick = 10;
constexpr std::uint32_t kThumbnailSlice = 40;

// Status-bar panels: key, width in twips, whether it takes the room left.
struct PanelLayout {
  const char* key;
  long width;
  bool autoSize;
};
const PanelLayout kPanels[] = {{"main panel", 3000, true},  {"#Selected#Bytes", 2100, false},
                             {"bmpfilter", 900, false},   {"altfilter", 900, false},
                             {"info on off", 750, false}, {"imagedimensions", 1100, false},
                             {"menu help", 3600, false}};

const char* const kColumns[] = {"image name", "folder", "file type", "ID", "image info", "date and time"};
const long kColumnWidths[] = {2400, 2700, 900, 900, 2100, 2100};

}  // namespace

Menu& FrmMain::BuiltMenu(const char* name) {
  if (Menus().TopLevel().empty()) BuildMainMenus(Menus());
  return Menus().Get(name);
}

FrmMain::FrmMain(Program& program)
    : Form("frmMain", kDesignWidth, kDesignHeight),
      mnuTimerOnOff(BuiltMenu("mnuTimerOnOff")),
      mnuAppendToList(BuiltMenu("mnuAppendToList")),
      mnuInfoMode(BuiltMenu("mnuInfoMode")),
      mnuDeleteConfirmation(BuiltMenu("mnuDeleteConfirmation")),
      mnuRenameOnCollision(BuiltMenu("mnuRenameOnCollision")),
      mnuInternalDecode(BuiltMenu("mnuInternalDecode")),
      mnuExternalDecodeOn(BuiltMenu("mnuExternalDecodeOn")),
      Mnu_ReduceJpegSize(BuiltMenu("Mnu_ReduceJpegSize")),
      mnu24bitColor(BuiltMenu("mnu24bitColor")),
      mnu8bitColor(BuiltMenu("mnu8bitColor")),
      Mnu_Fancy(BuiltMenu("Mnu_Fancy")),
      Mnu_TwoPass(BuiltMenu("Mnu_TwoPass")),
      program_(program) {
  BuildControls();
  ConnectEvents();
}

void FrmMain::BuildControls() {
  tbrCommands.Images = &imglstToolbar;
  for (const ToolbarButton& b : kToolbarButtons) imglstToolbar.Add(b.key, std::string("glyph:") + b.key);
  imglstLargeIcon.Add("NONE", "glyph:NONE");
  imglstSmallIcon.Add("NONE", "glyph:NONE");

  txtCustomChangeInterval.SetToolTipText(" Enter the time-to-change interval ");
  txtCustomChangeInterval.SetFont({"Small Fonts", 7, false});
  spinCustomTimeInterval.SetToolTipText(" Dial in a time-to-change interval ");
  cboListAltFilePatterns.SetToolTipText(" Change alternate file type !");
  txtCustomChangeInterval.SetContainer(&tbrCommands);
  spinCustomTimeInterval.SetContainer(&tbrCommands);
  cboListAltFilePatterns.SetContainer(&tbrCommands);

  tmrTapestrel[0].SetInterval(400);
  tmrTapestrel[1].SetInterval(400);
  tmrExitWhenIdle.SetInterval(100);
  tmrDisplayChanged.SetInterval(400);
  tmrThumbnails.SetInterval(kThumbnailTick);
  thumbnailPictures.SetSize(Thumbnailer::CellFor(program_.platform.desktop.TwipsPerPixel()));

  fraPictureDirectories.SetCaption("&Go To Folder");
  cboPictureDirectories.SetFont({"Courier New", 8, false});
  cboPictureDirectories.SetContainer(&fraPictureDirectories);
  cmdChangePictureDirectory.SetCaption("...");
  cmdChangePictureDirectory.SetToolTipText(" Browse for a picture folder ");
  cmdChangePictureDirectory.SetContainer(&fraPictureDirectories);
  drvPictureDirectories.SetFont({"Courier New", 8, false});
  picSizeBar.SetMousePointer(9);
  lstBackdropHistory.SetVisible(false);

  for (int i = 0; i < 2; ++i) {
    ListView& list = lstvFiles[i];
    list.Icons = &imglstLargeIcon;
    list.SmallImages = &imglstSmallIcon;
    list.Pictures = &thumbnailPictures;
    list.SetContainer(&piclstvFiles[i]);
    for (const char* header : kColumns) list.AddColumn(header, 1440);
  }
  SetCurrentList(1);

  for (const PanelLayout& p : kPanels) StatusBar.AddPanel(p.key, p.width, p.autoSize);
  for (const char* pattern : kAltPatterns) cboListAltFilePatterns.AddItem(pattern);
}

void FrmMain::ConnectEvents() {
  for (Menu* menu : Menus().All()) {
    if (menu->CommandId() == 0) continue;
    const int id = menu->CommandId();
    menu->Click = [this, id] { Dispatch(id); };
  }
  tbrCommands.ButtonClick = [this](const std::string& key) {
    if (const int id = CommandForButton(key)) Dispatch(id);
  };
  StatusBar.PanelClick = [this](const std::string& key) { StatusBar_PanelClick(key); };
  MenuSelect = [this](Menu* menu, int systemCommand) { ShowMenuHelp(menu, systemCommand); };
  // The hot key, in this window whichever control has the focus, and before the menus'
  // shortcuts: F12 is both the default hot key and the shortcut of "Screen Saver O&n",
  // and the key the user chose for the menu must open the menu.
  KeyPreview = true;
  KeyDown = [this](int& keyCode, int shift) {
    if (program_.HotKeyPressed(keyCode, shift)) keyCode = 0;
  };
  BeforeShortcuts = [this](int keyCode, int shift) { return program_.HotKeyPressed(keyCode, shift); };
  Help = [this](Menu* menu) { program_.ShowHelp(menu ? menu->HelpContextID() : 0); };

  picSizeBar.MouseDown = [this](int button, int, long x, long) { picSizeBar_MouseDown(button, x); };
  picSizeBar.MouseMove = [this](int button, int, long x, long) { picSizeBar_MouseMove(button, x); };
  picSizeBar.MouseUp = [this](int button, int, long x, long) { picSizeBar_MouseUp(button, x); };

  for (int i = 0; i < 2; ++i) {
    ListView& list = lstvFiles[i];
    list.ColumnClick = [this](int column) { program_.files.SortByKey(column); };
    list.ItemClick = [this](int index) { program_.files.ItemClicked(index); };
    list.KeyUp = [this](int&, int) { program_.files.ShowSelection(); };
    list.KeyDown = [this, i](int& key, int shift) { lstvFiles_KeyDown(i, key, shift); };
    list.DblClick = [this] { program_.outside.RunFile(); };
    list.ThumbnailFor = [this, i](int index) {
      const int slot = program_.thumbnails.Want(lstvFiles[i], index);
      if (program_.thumbnails.Pending()) tmrThumbnails.SetEnabled(true);
      return slot;
    };
    list.AcceptsDrops = true;
    list.FilesDropped = [this](const std::vector<std::string>& paths) { program_.operations.Dropped(paths, false); };
  }
  dirPictures.Change = [this] { program_.folders.PictureFolderChanged(); };
  dirPictures.DblClick = [this] {
    const int at = dirPictures.ListIndex();
    if (at < 0 || at >= static_cast<int>(dirPictures.Entries().size())) return;
    const std::string path = dirPictures.Entries()[at].path;
    dirPictures.SetPath(path, FolderTreeEntries(program_.platform.files, path));
  };
  dirPictures.AcceptsDrops = true;
  dirPictures.FilesDropped = [this](const std::vector<std::string>& paths) { program_.operations.Dropped(paths, true); };
  dirPictures.KeyDown = [this](int& key, int shift) {
    if (key == 13) {
      key = 0;
      Raise(dirPictures.DblClick);
    }
    if (key == 46 && shift == 0) {
      key = 0;
      program_.operations.DeleteFolder();
    }
  };
  drvPictureDirectories.Change = [this] { program_.folders.DriveChanged(); };
  cboPictureDirectories.KeyDown = [this](int& key, int) {
    if (key != 13) return;
    key = 0;
    // Enter on the open list takes the highlighted folder into the box and closes the
    // list; the next Enter goes there.
    if (cboPictureDirectories.Dropped()) cboPictureDirectories.CloseDropDown();
    else program_.folders.ComboEnter();
  };
  cboPictureDirectories.Click = [this] { program_.folders.ComboEnter(); };
  // The selection can change without a click or key the list reports (Ctrl+A, a drag).
  tmrTapestrel[1].Elapsed = [this] { program_.files.RefreshSelection(); };
  DisplayChanged = [this] {
    tmrDisplayChanged.SetEnabled(false);
    tmrDisplayChanged.SetEnabled(true);
  };
  tmrDisplayChanged.Elapsed = [this] {
    tmrDisplayChanged.SetEnabled(false);
    program_.wallpaper.DisplayChanged();
  };
  TaskbarCreated = [this] { program_.wallpaper.RestoreIfLost(); };
  tmrThumbnails.Elapsed = [this] {
    // A fill or a file operation lets events run as it goes: it is not slowed by this.
    if (program_.LongWorkRunning()) return;
    if (!program_.thumbnails.MakeSome(kThumbnailSlice)) tmrThumbnails.SetEnabled(false);
  };
  tmrExitWhenIdle.Elapsed = [this] {
    if (pendingExit_ < 0 || program_.LongWorkRunning() || program_.ModalShowing()) return;
    mnuExit_Click(pendingExit_);
  };
  tmrTapestrel[0].Elapsed = [this] { program_.rotation.ChangeBackdropAtUserSetTime(tmrTapestrel[0].Interval()); };
  txtCustomChangeInterval.Change = [this] { program_.rotation.CustomIntervalTyped(txtCustomChangeInterval.Text()); };
  txtCustomChangeInterval.GotFocus = [this] { program_.rotation.CustomIntervalFocus(true); };
  txtCustomChangeInterval.LostFocus = [this] { program_.rotation.CustomIntervalFocus(false); };
  txtCustomChangeInterval.KeyPress = [](int& key) {
    if (!AcceptsIntervalKey(key)) key = 0;
  };
  spinCustomTimeInterval.SpinUp = [this] { program_.rotation.SpinTimeInterval(true); };
  spinCustomTimeInterval.SpinDown = [this] { program_.rotation.SpinTimeInterval(false); };
  cmdChangePictureDirectory.Click = [this] {
    const std::string folder = program_.platform.ui.BrowseForFolder("Select a folder where picture files are.");
    if (!folder.empty()) program_.folders.ChangePictureFolder(folder);
  };
  cboListAltFilePatterns.Click = [this] { program_.files.ChooseAlternatePattern(cboListAltFilePatterns.ListIndex()); };
  cboListAltFilePatterns.KeyDown = [this](int& key, int) {
    if (key != 13) return;
    key = 0;
    cboListAltFilePatterns.CloseDropDown();
    program_.files.ChooseAlternatePattern(cboListAltFilePatterns.ListIndex());
  };
  StatusBar.PanelDblClick = [this](const std::string& key) {
    if (key == "bmpfilter" && StatusBar.LastButton == 1) program_.files.AskBmpFilter();
    else if (key == "altfilter" && StatusBar.LastButton == 1) program_.files.AskAlternateFilter();
    else if (key == "altfilter" && StatusBar.LastButton == 2) program_.files.AskAlternateExtension();
  };
  ShowHoverHint(dirPictures, "Double-click or press ENTER to open a folder.");
  ShowHoverHint(drvPictureDirectories, "Select a new drive.");
  ShowHoverHint(cboPictureDirectories, "Choose or enter new folder.");
  cboPictureDirectories.EditMouseMove = [this](int, int, long, long) { ChangeMainStatusMsg("Enter a new folder."); };
  ShowHoverHint(cmdChangePictureDirectory, "Fetch a new picture folder.");
  ShowHoverHint(spinCustomTimeInterval, "Change the time in tenth-minute steps.");
  ShowHoverHint(txtCustomChangeInterval, "Enter a new time interval in minutes.");
  ShowHoverHint(cboListAltFilePatterns, "Change to another file type.");
  cboListAltFilePatterns.EditMouseMove = cboListAltFilePatterns.MouseMove;  // its edit field is the combo too
  ShowHoverHint(tbrCommands, "Press F1 for Help.");
  ShowHoverHint(StatusBar, "Press F1 for Help.");
  Form::MouseMove = [this](int, int, long, long) { ChangeMainStatusMsg("Press F1 for Help."); };
}

void FrmMain::ShowHoverHint(Control& control, const char* hint) {
  auto previous = control.MouseMove;
  control.MouseMove = [this, hint, previous](int button, int shift, long x, long y) {
    ChangeMainStatusMsg(hint);
    if (previous) previous(button, shift, x, y);
  };
}

// Status output ------------------------------------------------------------------

void FrmMain::ChangeMainStatusMsg(const std::string& message) { StatusBar.SetPanelText("main panel", message); }
void FrmMain::ChangeSecondStatusMsg(const std::string& message) { StatusBar.SetPanelText("#Selected#Bytes", message); }
void FrmMain::ChangeThirdStatusMsg(const std::string& message) { StatusBar.SetPanelText("imagedimensions", message); }
void FrmMain::ChangeMenuHelpStatusMsg(const std::string& message) { StatusBar.SetPanelText("menu help", message); }

std::string FrmMain::MenuHelpLine(const Menu& menu) const {
  if (&menu == &mnuTimerOnOff) return tmrTapestrel[0].Enabled() ? "Turns the timer off." : "Turns the timer on.";
  if (menu.HelpLine().empty() && !menu.Items().empty()) return kOpenMenuHelp;
  return menu.HelpLine();
}

void FrmMain::ShowMenuHelp(const Menu* menu, int systemCommand) {
  // The system's own commands of the window menu, by their standard numbers.
  static const std::map<int, const char*> systemHelp{
      {0, kSystemMenuHelp},
      {0xF120, "Restores this window to normal size."},
      {0xF010, "Moves this window."},
      {0xF000, "Resizes this window."},
      {0xF030, "Expands this windows to fill the screen."},
      {0xF020, "Collapses this window to an icon."},
      {0xF060, "Closes this window."}};
  if (systemCommand >= 1 && systemCommand <= 21) {
    ChangeMenuHelpStatusMsg(MenuHelpLine(mCustom[systemCommand - 1]));  // the program's own items
  } else if (systemCommand >= 0) {
    const auto it = systemHelp.find(systemCommand);
    ChangeMenuHelpStatusMsg(it != systemHelp.end() ? it->second : kSystemMenuHelp);
  } else {
    ChangeMenuHelpStatusMsg(menu ? MenuHelpLine(*menu) : "");
  }
}

const std::vector<std::string>& FrmMain::KnownExtensions() {
  static const std::vector<std::string> extensions = [] {
    std::vector<std::string> all;
    std::istringstream words(
        "arc arj au avi bas bat bmp cls com cpl dat dib dll doc gif gz hpj hlp inf ini jpe jpeg jpg log mov mpe "
        "mpeg mpg out pcx pif pic png ps rle sys tga tif txt vbp wav wmf zip");
    for (std::string word; words >> word;) all.push_back(word);
    return all;
  }();
  return extensions;
}

void FrmMain::LoadFileTypeIcons() {
  for (const std::string& extension : KnownExtensions()) {
    std::string cls = program_.registry.ClassForExtension(extension);
    std::int16_t index = 0;
    const std::string icon = program_.registry.ProgramForClass(cls, index);
    if (icon.empty() || imglstLargeIcon.Has(extension)) continue;
    const std::string source = "icon:" + icon + "," + std::to_string(index);
    imglstLargeIcon.Add(extension, source);
    imglstSmallIcon.Add(extension, source);
  }
}

void FrmMain::InfoOnMode() {
  mnuInfoMode.SetChecked(true);
  StatusBar.SetPanelText("info on off", "Info On");
  program_.files.ShowFocusedDimensions();
}

void FrmMain::InfoOffMode() {
  mnuInfoMode.SetChecked(false);
  StatusBar.SetPanelText("info on off", "Info Off");
  ChangeThirdStatusMsg("");
}

void FrmMain::lstvFiles_KeyDown(int list, int& keyCode, int shift) {
  // Esc stops the making of thumbnails; those the list draws next are made again.
  if (keyCode == 27 && program_.thumbnails.Pending()) {
    program_.thumbnails.Stop();
    tmrThumbnails.SetEnabled(false);
  }
  // Shift+F10 opens the file list's own menu when something is selected.
  if (keyCode == 121 && (shift & 1) && lstvFiles[list].SelectedCount() > 0) {
    keyCode = 0;
    program_.outside.CaptionUpdateforViewers();
    program_.outside.CaptionUpdateforEditors();
    PopupMenu(Menus().Get("mPopUp3"));
  }
  // Enter opens the file with the program its type is associated with.
  if (keyCode == 13) {
    keyCode = 0;
    program_.outside.RunFile();
  }
  // Delete sends the selected files to the Recycle Bin, after asking.
  if (keyCode == 46 && !(shift & 1)) {
    keyCode = 0;
    program_.operations.OperateOnFiles(FileOperations::Delete);
  }
}

void FrmMain::StatusBar_PanelClick(const std::string& key) {
  if (key == "info on off") mnuInfoMode_Click();
}

// Layout -------------------------------------------------------------------------

long FrmMain::SplitPoint() const {
  long split = program_.options.StartupSplitPoint;
  if (split <= 0) split = kDefaultSplit;
  const long most = ScaleWidth() - kSplitterWidth - kMinPaneWidth;
  return std::max(kMinPaneWidth, std::min(split, most));
}

void FrmMain::SetSplitPoint(long twips) {
  program_.options.StartupSplitPoint = twips;
  program_.options.StartupSplitPoint = SplitPoint();
  MoveControls();
}

void FrmMain::MoveControls() {
  if (State() == WindowState::Minimized) return;
  const long width = ScaleWidth();
  const long height = ScaleHeight();
  tbrCommands.Move(0, 0, width, tbrCommands.Height());
  const long barHeight = StatusBar.Height();
  StatusBar.Move(0, std::max(0L, height - barHeight), width, barHeight);

  const long top = tbrCommands.Height() + 30;
  const long bottom = std::max(top + 600, height - barHeight - 30);
  const long split = SplitPoint();
  const long pane = split - 90;

  drvPictureDirectories.Move(60, top, pane, 315);
  const long frameTop = top + 375;
  fraPictureDirectories.Move(60, frameTop, pane, 660);
  const long buttonWidth = 375;
  cboPictureDirectories.Move(60 + 90, frameTop + 240, pane - 180 - buttonWidth - 45, 315);
  cmdChangePictureDirectory.Move(60 + pane - 90 - buttonWidth, frameTop + 225, buttonWidth, 330);
  const long treeTop = frameTop + 720;
  dirPictures.Move(60, treeTop, pane, std::max(300L, bottom - treeTop));

  picSizeBar.Move(split, top, kSplitterWidth, bottom - top);
  const long listLeft = split + kSplitterWidth;
  for (int i = 0; i < 2; ++i) {
    piclstvFiles[i].Move(listLeft, top, std::max(300L, width - listLeft - 30), bottom - top);
    lstvFiles[i].Move(listLeft, top, std::max(300L, width - listLeft - 30), bottom - top);
  }
  ConfiguretxtCustomChangeInterval();
  ConfigurespinCustomTimeInterval();
  ConfigureAltListPatternCombo();
}

void FrmMain::PlaceOnToolbar(Control& control, const std::string& placeholderKey, long offset, long width) {
  if (tbrCommands.IndexOf(placeholderKey) < 0) return;
  const Toolbar::Button& place = tbrCommands.ButtonOf(placeholderKey);
  const long height = std::min(control.Height(), tbrCommands.Height());
  control.Move(place.left + offset, (tbrCommands.Height() - height) / 2, width, height);
}

void FrmMain::ConfiguretxtCustomChangeInterval() {
  PlaceOnToolbar(txtCustomChangeInterval, kIntervalPlace, 30, kIntervalBoxWidth);
}

void FrmMain::ConfigurespinCustomTimeInterval() {
  PlaceOnToolbar(spinCustomTimeInterval, kIntervalPlace, 30 + kIntervalBoxWidth, kSpinWidth);
}

void FrmMain::ConfigureAltListPatternCombo() {
  PlaceOnToolbar(cboListAltFilePatterns, kAltComboPlace, 30, kAltComboWidth - 60);
}

void FrmMain::InitializeToolBar() {
  const std::string caption = Caption();
  ChangeMainStatusMsg("Please wait a second while the toolbar is initialized.");
  tbrCommands.ClearButtons();
  tbrCommands.SetWrappable(program_.options.ToolBarWrappable != 0);
  for (const ToolbarButton& b : kToolbarButtons) {
    tbrCommands.AddButton(b.key, b.key, b.toolTip);
    if (std::string(b.key) == "alts")
      tbrCommands.AddButton(kAltComboPlace, "", "", Toolbar::Style::Placeholder, kAltComboWidth);
    if (std::string(b.key) == "timer")
      tbrCommands.AddButton(kIntervalPlace, "", "", Toolbar::Style::Placeholder,
                            kIntervalBoxWidth + kSpinWidth + 60);
  }
  program_.outside.CaptionUpdateforViewers();
  program_.outside.CaptionUpdateforEditors();
  const Options& o = program_.options;
  tbrCommands.SetToolTip("alts", AltPatternTip(o.AlternateFilePattern));
  tbrCommands.SetPressed("bmps", currentList_ == 1);
  tbrCommands.SetPressed("alts", currentList_ == 0);
  tbrCommands.SetPressed("timer", tmrTapestrel[0].Enabled());
  tbrCommands.SetButtonEnabled("decode", currentList_ == 0);
  ShowViewStyle();
  MoveControls();
  ChangeMainStatusMsg("");
  SetCaption(caption);
}

void FrmMain::SetColumnWidths() {
  for (int list = 0; list < 2; ++list)
    for (int c = 0; c < 6; ++c) lstvFiles[list].SetColumnWidth(c, kColumnWidths[c]);
}

void FrmMain::SetCurrentList(int list) {
  currentList_ = list == 0 ? 0 : 1;
  for (int i = 0; i < 2; ++i) {
    piclstvFiles[i].SetVisible(i == currentList_);
    lstvFiles[i].SetVisible(i == currentList_);
  }
  ShowViewStyle();
}

void FrmMain::ShowViewStyle() {
  const int style = lstvFiles[currentList_].GetView();
  RadioCheck(mViewStyle, ListView::kViews, style);
  RadioCheck(mViewStylePopUp, ListView::kViews, style);
  // The toolbar has buttons for the first four; in the Thumbnails view none is down.
  static const char* const viewKeys[] = {"largeicons", "smallicons", "list", "details"};
  for (int i = 0; i < 4; ++i) tbrCommands.SetPressed(viewKeys[i], i == style);
}

void FrmMain::picSizeBar_MouseDown(int button, long x) {
  if (button != 1) return;
  dragging_ = true;
  dragStartX_ = x;
}

void FrmMain::picSizeBar_MouseMove(int button, long x) {
  ChangeMainStatusMsg("Resize the left and right panes.");
  if (!dragging_ || button != 1) return;
  picSizeBar.Move(std::max(kMinPaneWidth, picSizeBar.Left() + x - dragStartX_), picSizeBar.Top(),
                  picSizeBar.Width(), picSizeBar.Height());
}

void FrmMain::picSizeBar_MouseUp(int button, long x) {
  if (!dragging_ || button != 1) return;
  dragging_ = false;
  // The mouse is given relative to the bar, which has followed it through the drag.
  SetSplitPoint(picSizeBar.Left() + x - dragStartX_);
}

// Settings applied to the window ----------------------------------------------------

void FrmMain::RadioCheck(const MenuArray& items, int count, int checked) {
  for (int i = 0; i < count; ++i)
    if (items.Exists(i)) items[i].SetChecked(i == checked);
}

void FrmMain::ScreenSaverRadioChecks(bool active) {
  mnuScreenSaver[1].SetChecked(active);
  mnuScreenSaver[0].SetChecked(!active);
  // The pop-up menus offer only the change the user can make.
  mCustom[9].SetVisible(active);
  mCustom[10].SetVisible(!active);
  mCustom2[12].SetVisible(active);
  mCustom2[13].SetVisible(!active);
}

void FrmMain::SwitchBossAndRestoreMenus(int state) {
  const bool bossShown = state == 0;
  if (mCustom[5].Visible() != bossShown) program_.systemMenu.SwapDefaultItem(bossShown);
  mCustom[4].SetVisible(!bossShown);
  mCustom[5].SetVisible(bossShown);
  mCustom2[9].SetVisible(!bossShown);
  mCustom2[10].SetVisible(bossShown);
}

void FrmMain::ApplySettings(bool atStart) {
  const Options& o = program_.options;
  mnuDeleteConfirmation.SetChecked(o.DeleteConfirmation);
  mnuRenameOnCollision.SetChecked(o.RenameOnCollision);
  for (int list = 0; list < 2; ++list)
    lstvFiles[list].SetView(static_cast<ListView::View>(std::clamp(o.ListViewView[list == 1 ? 0 : 1], 0, ListView::kViews - 1)));
  RadioCheck(mSort, 6, o.SortKey);
  RadioCheck(mSortPopUp, 6, o.SortKey);
  program_.decoder.LoadDecoderOptions();
  program_.wallpaper.SelectBackdropMode(o.BackdropMode);
  program_.wallpaper.SelectScreenArrangement(std::clamp(o.ScreenArrangement, 0, kScreenArrangements - 1));
  program_.rotation.ShowInterval();

  program_.outside.CaptionUpdateforViewers();
  program_.outside.CaptionUpdateforEditors();
  program_.files.ShowFilterPanels();
  const auto alt = std::find(std::begin(kAltPatterns), std::end(kAltPatterns), o.AlternateFilePattern);
  if (alt != std::end(kAltPatterns)) {
    cboListAltFilePatterns.SetText(*alt);
  } else {
    // An extension the user added: it takes the place after the fixed entries.
    SetUserAltPattern(o.AlternateFilePattern.substr(o.AlternateFilePattern.rfind('.') + 1));
    cboListAltFilePatterns.SetText(cboListAltFilePatterns.List()[kUserAltPatternPlace]);
  }
  // What the user arranged since (the list shown, info mode, column widths) stays when
  // the settings are loaded again.
  if (!atStart) return;
  SetCurrentList(o.LoadAltsOnBoot ? 0 : 1);
  SetColumnWidths();
  InfoOffMode();
}

std::string FrmMain::PictureFolder() const {
  const Options& o = program_.options;
  const std::string& folder = o.Folders[static_cast<std::size_t>(std::clamp(o.PictureDirectory, 0, 4))];
  if (folder.empty() || !program_.platform.files.FolderExists(folder)) return program_.state.ProgramFolder;
  return folder;
}

void FrmMain::ShowPictureFolder(const std::vector<std::string>* subFolders) {
  const bool suppress = program_.folders.SuppressFolderEvents;
  program_.folders.SuppressFolderEvents = true;
  FileSystem& files = program_.platform.files;
  const std::string folder = PictureFolder();
  drvPictureDirectories.SetList(files.Drives());
  drvPictureDirectories.SetDrive(ToLower(folder.substr(0, 2)));
  dirPictures.SetPath(TreePath(folder), FolderTreeEntries(files, folder, subFolders));
  ShowFolderHistory();
  cboPictureDirectories.SetText(NormalizeFolder(folder));
  program_.folders.SuppressFolderEvents = suppress;
}

void FrmMain::ShowFolderHistory() {
  const Options& o = program_.options;
  const std::string text = cboPictureDirectories.Text();
  cboPictureDirectories.Clear();
  for (int i = 0; i < 5; ++i)
    if (!o.Folders[i].empty()) cboPictureDirectories.AddItem(o.Folders[i]);
  cboPictureDirectories.SetText(text);
}

// Window events ----------------------------------------------------------------------

void FrmMain::Form_Load() { MoveControls(); }

void FrmMain::Form_Resize() {
  const bool minimized = State() == WindowState::Minimized;
  tmrTapestrel[1].SetEnabled(!minimized && Visible());
  if (!minimized && Visible()) MoveControls();
  if (minimized && Visible() && program_.options.MinimizeToTray) {
    // Only the notification-area icon remains.
    Hide();
    program_.frmTrayIcon.Load();
  }
  UpdatePopUpCaptions("mCustom");
}

void FrmMain::Form_Shown() {
  // The icon stands for the window while it is hidden: however the window comes back
  // (Restore, the end of a full-screen view opened from the tray), the icon goes.
  if (program_.frmTrayIcon.Loaded()) program_.frmTrayIcon.Unload();
}

bool FrmMain::Form_QueryUnload() {
  program_.UnloadOtherWindows();
  return true;
}

void FrmMain::Form_Unload() {
  program_.frmEvents.tmrEvents.SetEnabled(false);
  program_.systemMenu.SetMenuHook(false);
  program_.state.Exiting = true;
  tmrTapestrel[0].SetEnabled(false);
  tmrTapestrel[1].SetEnabled(false);
  // The media event assignments are kept on every unload, saved or not; the exit
  // event plays before the program goes.
  program_.media.ExitSequence();
}

}  // namespace tapestrel
