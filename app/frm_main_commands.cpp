// The main window's commands: one table from command identifier to the handler that
// carries it out, and the handlers themselves.
#include <algorithm>
#include <map>

#include "app/command_ids.h"
#include "app/frm_main.h"
#include "app/program.h"
#include "platform/text.h"
#include "wallpaper/screen_layout.h"

namespace tapestrel {

namespace {

struct Command {
  int id;
  void (FrmMain::*handler)(int);
  int argument;
};

// Adapts a handler without an index to the table's form.
template <void (FrmMain::*Handler)()>
void plain(FrmMain& form, int) {
  (form.*Handler)();
}

using Plain = void (*)(FrmMain&, int);

struct PlainCommand {
  int id;
  Plain handler;
};

const std::vector<Command>& indexedCommands() {
  static const std::vector<Command> table = [] {
    std::vector<Command> t;
    const auto range = [&t](int base, int count, void (FrmMain::*handler)(int), int first = 0) {
      for (int i = 0; i < count; ++i) t.push_back({base + i, handler, first + i});
    };
    range(IDM_VIEW_FILES, 2, &FrmMain::mnuViewFiles_Click);
    range(IDM_OPERATE_ON_FILES, 4, &FrmMain::mnuOperateOnFiles_Click);
    range(IDM_EXIT, 2, &FrmMain::mnuExit_Click);
    range(IDM_EXPLORER + 1, 4, &FrmMain::mnuExplorer_Click, 1);
    range(IDM_CHANGE_WALLPAPER, 5, &FrmMain::mnuChangeWallpapertoNext_Click);
    range(IDM_SCREEN_SAVER, 2, &FrmMain::mnuScreenSaver_Click);
    range(IDM_VIEW_STYLE, ListView::kViews, &FrmMain::mViewStyle_Click);
    range(IDM_VIEW_STYLE_POPUP, ListView::kViews, &FrmMain::mViewStyle_Click);
    range(IDM_SORT, 6, &FrmMain::mSort_Click);
    range(IDM_SORT_POPUP, 6, &FrmMain::mSort_Click);
    range(IDM_DCT, 3, &FrmMain::Mnu_DCT_Click);
    range(IDM_JPEG_DITHER, 3, &FrmMain::Mnu_JPGDith_Click);
    range(IDM_DITHER, 3, &FrmMain::Mnu_Dith_Click);
    range(IDM_TIME_INTERVAL, 6, &FrmMain::mnuTimeInterval_Click);
    range(IDM_TOGGLE_BACKDROP_MODE, 2, &FrmMain::mnuToggleBackdropMode_Click);
    range(IDM_BACKDROP_MODE, 7, &FrmMain::mnuBackdropMode_Click);
    range(IDM_SCREEN_ARRANGEMENT, 3, &FrmMain::mnuScreenArrangement_Click);
    range(IDM_ABOUT, 3, &FrmMain::mAbout_Click);
    range(IDM_CUSTOM, 23, &FrmMain::mCustom_Click);
    range(IDM_CUSTOM2, 27, &FrmMain::mCustom2_Click);
    range(IDM_CUSTOM3, 15, &FrmMain::mCustom3_Click);
    range(IDM_BACKDROP_HISTORY + 1, IDM_BACKDROP_HISTORY_LAST - IDM_BACKDROP_HISTORY,
          &FrmMain::mnuBackdropHistory_Click, 1);
    return t;
  }();
  return table;
}

const std::vector<PlainCommand>& plainCommands() {
  static const std::vector<PlainCommand> table{
      {IDM_FIND_FILE, &plain<&FrmMain::mnuFindFile_Click>},
      {IDM_READ_ACTIVE_DIRECTORIES, &plain<&FrmMain::mnuReadActiveDirectories_Click>},
      {IDM_TOGGLE_LIST_VIEW, &plain<&FrmMain::mnuToggleListView_Click>},
      {IDM_LIST_BMP_FILES, &plain<&FrmMain::mnuListBmpFiles_Click>},
      {IDM_LIST_ALT_FILES, &plain<&FrmMain::mnuListAltFiles_Click>},
      {IDM_REFRESH, &plain<&FrmMain::mnuRefresh_Click>},
      {IDM_CLEAR_LIST_VIEW, &plain<&FrmMain::mnuClearListView_Click>},
      {IDM_TIMER_ON_OFF, &plain<&FrmMain::mnuTimerOnOff_Click>},
      {IDM_APPEND_TO_LIST, &plain<&FrmMain::mnuAppendToList_Click>},
      {IDM_INFO_MODE, &plain<&FrmMain::mnuInfoMode_Click>},
      {IDM_DELETE_CONFIRMATION, &plain<&FrmMain::mnuDeleteConfirmation_Click>},
      {IDM_RENAME_ON_COLLISION, &plain<&FrmMain::mnuRenameOnCollision_Click>},
      {IDM_FANCY_UPSAMPLING, &plain<&FrmMain::Mnu_Fancy_Click>},
      {IDM_TWO_PASS, &plain<&FrmMain::Mnu_TwoPass_Click>},
      {IDM_INTERNAL_DECODE, &plain<&FrmMain::mnuInternalDecode_Click>},
      {IDM_EXTERNAL_DECODE_ON, &plain<&FrmMain::mnuExternalDecodeOn_Click>},
      {IDM_REDUCE_JPEG_SIZE, &plain<&FrmMain::Mnu_ReduceJpegSize_Click>},
      {IDM_24BIT_COLOR, &plain<&FrmMain::mnu24bitColor_Click>},
      {IDM_8BIT_COLOR, &plain<&FrmMain::mnu8bitColor_Click>},
      {IDM_SET_BMP_FILTER, &plain<&FrmMain::mnuSetBMPFileFilter_Click>},
      {IDM_SET_ALTERNATE_FILTER, &plain<&FrmMain::mnuSetAlternateFileFilter_Click>},
      {IDM_ALT_FILE_PATTERN, &plain<&FrmMain::mnuAltFilePattern_Click>},
      {IDM_LOAD_SETTINGS, &plain<&FrmMain::mnuLoadSettings_Click>},
      {IDM_SAVE_SETTINGS, &plain<&FrmMain::mnuSaveSettings_Click>},
      {IDM_MINIMIZE, &plain<&FrmMain::mnuMinimize_Click>},
      {IDM_SMALL_SIZE, &plain<&FrmMain::mnuSmallSize_Click>},
      {IDM_OPTIONS, &plain<&FrmMain::mnuOptions_Click>},
  };
  return table;
}

// Toolbar buttons run the menu bar's commands.
const std::map<std::string, int>& buttonCommands() {
  static const std::map<std::string, int> table{
      {"find", IDM_FIND_FILE},
      {"view", IDM_VIEW_FILES},
      {"edit", IDM_VIEW_FILES + 1},
      {"move", IDM_OPERATE_ON_FILES + 1},
      {"delete", IDM_OPERATE_ON_FILES},
      {"decode", IDM_OPERATE_ON_FILES + 3},
      {"bmps", IDM_LIST_BMP_FILES},
      {"switch", IDM_TOGGLE_LIST_VIEW},
      {"alts", IDM_LIST_ALT_FILES},
      {"change", IDM_CHANGE_WALLPAPER + 2},
      {"next", IDM_CHANGE_WALLPAPER},
      {"previous", IDM_CHANGE_WALLPAPER + 1},
      {"timer", IDM_TIMER_ON_OFF},
      {"exit", IDM_EXIT},
      {"largeicons", IDM_VIEW_STYLE},
      {"smallicons", IDM_VIEW_STYLE + 1},
      {"list", IDM_VIEW_STYLE + 2},
      {"details", IDM_VIEW_STYLE + 3},
  };
  return table;
}

// The pop-up menus' items run the menu bar's commands of the same caption (0: the item
// only opens a sub-menu, is a separator, or the pop-up's own handler serves it).
const int kCustomCommands[] = {
    IDM_TIMER_ON_OFF, 0, IDM_CHANGE_WALLPAPER, IDM_CHANGE_WALLPAPER + 1, IDM_CHANGE_WALLPAPER + 3,
    IDM_CHANGE_WALLPAPER + 4, 0, 0, 0, IDM_SCREEN_SAVER, IDM_SCREEN_SAVER + 1, 0, IDM_EXIT, 0,
    IDM_EXPLORER + 1, IDM_EXPLORER + 2, IDM_EXPLORER + 4, 0, IDM_ABOUT, 0, IDM_OPTIONS, IDM_MINIMIZE, 0};
const int kCustom2Commands[] = {
    IDM_TIMER_ON_OFF, 0, 0, 0, 0, 0, 0, IDM_CHANGE_WALLPAPER, IDM_CHANGE_WALLPAPER + 1,
    IDM_CHANGE_WALLPAPER + 3, IDM_CHANGE_WALLPAPER + 4, 0, IDM_SCREEN_SAVER, IDM_SCREEN_SAVER + 1, 0, 0, 0, 0,
    IDM_ABOUT, 0, IDM_EXPLORER + 1, IDM_EXPLORER + 2, IDM_EXPLORER + 3, IDM_CUSTOM3, 0, IDM_OPTIONS, IDM_EXIT};
const int kCustom3Commands[] = {
    0, IDM_VIEW_FILES, IDM_VIEW_FILES + 1, IDM_OPERATE_ON_FILES, IDM_OPERATE_ON_FILES + 1,
    IDM_OPERATE_ON_FILES + 2, IDM_OPERATE_ON_FILES + 3, IDM_EXPLORER + 3, IDM_CHANGE_WALLPAPER + 2, 0, 0, 0, 0,
    IDM_ABOUT, 0};

template <std::size_t N>
void runPopupItem(FrmMain& form, const int (&commands)[N], int index) {
  if (index >= 0 && index < static_cast<int>(N) && commands[index] != 0) form.Dispatch(commands[index]);
}

}  // namespace

bool FrmMain::Dispatch(int commandId) {
  for (const PlainCommand& c : plainCommands())
    if (c.id == commandId) {
      c.handler(*this, 0);
      return true;
    }
  for (const Command& c : indexedCommands())
    if (c.id == commandId) {
      (this->*c.handler)(c.argument);
      return true;
    }
  return false;
}

std::vector<int> FrmMain::CommandIds() {
  std::vector<int> ids;
  for (const PlainCommand& c : plainCommands()) ids.push_back(c.id);
  for (const Command& c : indexedCommands()) ids.push_back(c.id);
  return ids;
}

int FrmMain::CommandForButton(const std::string& key) {
  const auto it = buttonCommands().find(key);
  return it == buttonCommands().end() ? 0 : it->second;
}

// Built here ---------------------------------------------------------------------------

void FrmMain::mnuExit_Click(int index) {
  // A fill, a file operation or a batch decode lets events run, and so this command: it
  // is asked to stop after the file it is on, and the program ends once it has.
  if (program_.LongWorkRunning()) {
    pendingExit_ = index;
    program_.state.Escape = true;
    program_.decoder.CancelDecoding = true;
    tmrExitWhenIdle.SetEnabled(true);
    return;
  }
  pendingExit_ = -1;
  tmrExitWhenIdle.SetEnabled(false);
  program_.state.Exiting = true;
  if (index == 1) program_.SaveAllSettings();
  tmrTapestrel[0].SetEnabled(false);
  tmrTapestrel[1].SetEnabled(false);
  Unload();
}

void FrmMain::mnuLoadSettings_Click() {
  const int answer = program_.platform.ui.MsgBox(
      "Load the saved settings?" "\n" "Changes made since they were last saved will be lost.",
      mb::YesNo | mb::Question, "Load Settings");
  if (answer != mb::IdYes) return;
  program_.ReloadSettings();
}

void FrmMain::mnuSaveSettings_Click() { program_.SaveAllSettings(); }

void FrmMain::mnuMinimize_Click() { SetWindowState(WindowState::Minimized); }

void FrmMain::RestoreWindow() {
  program_.frmTrayIcon.Unload();
  Show();
  SetWindowState(WindowState::Normal);
}

void FrmMain::mnuSmallSize_Click() {
  // The small height shows only the toolbar and the status bar inside the frame.
  const long frame = Height() - ScaleHeight();
  const long small = frame + tbrCommands.Height() + StatusBar.Height();
  const long before = Height();
  if (Height() != small) {
    Move(Left(), Top(), Width(), small);
  } else if (rememberedHeight_ > small) {
    Move(Left(), Top(), Width(), rememberedHeight_);
  }
  rememberedHeight_ = before;
}

void FrmMain::mnuInfoMode_Click() {
  if (InfoMode()) InfoOffMode();
  else InfoOnMode();
  if (program_.frmFullScreen.Visible()) program_.frmFullScreen.ToggleInfo();
}

void FrmMain::mnuRefresh_Click() {
  Control* focus = ActiveControl();
  const bool paneHasFocus = focus == &dirPictures || focus == &lstvFiles[0] || focus == &lstvFiles[1];
  if (focus == &dirPictures) {
    ShowPictureFolder();
  } else if (paneHasFocus) {
    program_.files.ClearListView();
    program_.files.FillListView();
  } else {
    program_.platform.ui.MsgBox("To refresh the folder list or the file list that pane must have focus",
                                mb::OkOnly | mb::Information, kApplicationName);
  }
}

void FrmMain::mnuDeleteConfirmation_Click() {
  mnuDeleteConfirmation.SetChecked(!mnuDeleteConfirmation.Checked());
  program_.options.DeleteConfirmation = mnuDeleteConfirmation.Checked();
}

void FrmMain::mnuRenameOnCollision_Click() {
  mnuRenameOnCollision.SetChecked(!mnuRenameOnCollision.Checked());
  program_.options.RenameOnCollision = mnuRenameOnCollision.Checked();
}

void FrmMain::mViewStyle_Click(int index) {
  lstvFiles[currentList_].SetView(static_cast<ListView::View>(index));
  program_.options.ListViewView[currentList_ == 1 ? 0 : 1] = index;
  ShowViewStyle();
}

void FrmMain::Mnu_DCT_Click(int index) { program_.decoder.DctMethodChosen(index); }
void FrmMain::Mnu_JPGDith_Click(int index) { program_.decoder.JpegDitherChosen(index); }
void FrmMain::Mnu_Dith_Click(int index) { program_.decoder.DitherChosen(index); }
void FrmMain::Mnu_Fancy_Click() { program_.decoder.FancyUpsamplingToggled(); }
void FrmMain::Mnu_TwoPass_Click() { program_.decoder.TwoPassQuantizeToggled(); }
void FrmMain::mnuInternalDecode_Click() { program_.decoder.InternalChosen(); }
void FrmMain::mnuExternalDecodeOn_Click() { program_.decoder.ExternalChosen(); }

void FrmMain::Mnu_ReduceJpegSize_Click() {
  program_.options.ReduceJpegSize = !program_.options.ReduceJpegSize;
  Mnu_ReduceJpegSize.SetChecked(program_.options.ReduceJpegSize);
}

void FrmMain::mnu24bitColor_Click() { program_.decoder.ColorsChosen(false); }
void FrmMain::mnu8bitColor_Click() { program_.decoder.ColorsChosen(true); }

void FrmMain::mnuBackdropMode_Click(int index) { program_.wallpaper.SelectBackdropMode(index); }

void FrmMain::mnuScreenArrangement_Click(int index) { program_.wallpaper.SelectScreenArrangement(index); }

// Entry 0 shows in the internal modes and goes back to the desktop; entry 1 the other way.
void FrmMain::mnuToggleBackdropMode_Click(int index) { program_.wallpaper.SwitchDisplay(index == 1); }

void FrmMain::mAbout_Click(int index) {
  if (index == 0) program_.ShowAbout();
  else if (index == 1) program_.ShowHelp(0);
}

void FrmMain::mnuReadActiveDirectories_Click() { program_.folders.ReadActiveFolders(); }

void FrmMain::mnuToggleListView_Click() { program_.files.ShowList((CurrentList() + 1) % 2); }

void FrmMain::mnuListBmpFiles_Click() { ListFromPictureFolder(1); }

void FrmMain::mnuListAltFiles_Click() { ListFromPictureFolder(0); }

void FrmMain::ListFromPictureFolder(int list) {
  program_.files.ShowList(list);
  if (!program_.state.AppendRecord) program_.files.ClearListView();
  program_.files.FillListView();
}

void FrmMain::mnuClearListView_Click() {
  program_.files.ClearListView();
  program_.files.ShowTotals();
}

void FrmMain::mnuAppendToList_Click() { program_.folders.ToggleAppendRecord(); }

void FrmMain::mnuFindFile_Click() { program_.files.AskFind(); }
void FrmMain::mnuSetBMPFileFilter_Click() { program_.files.AskBmpFilter(); }
void FrmMain::mnuSetAlternateFileFilter_Click() { program_.files.AskAlternateFilter(); }
void FrmMain::mnuAltFilePattern_Click() { program_.files.AskAlternateExtension(); }

void FrmMain::mnuBackdropHistory_Click(int index) { program_.rotation.HistoryItemChosen(index); }

// 0 next, 1 previous, 2 the selected file, 3 the default picture, 4 back from it.
void FrmMain::mnuChangeWallpapertoNext_Click(int index) {
  if (index == 4) program_.rotation.ChangeWallpaper(Rotation::Selected, true);
  else program_.rotation.ChangeWallpaper(index);
}

void FrmMain::mnuTimerOnOff_Click() { program_.rotation.TimerOnOff(); }

void FrmMain::mnuTimeInterval_Click(int index) { program_.rotation.SetTimeIntervalMenu(index); }

void FrmMain::mSort_Click(int index) { program_.files.SortByKey(index); }

void FrmMain::mCustom_Click(int index) {
  if (index == 7) FullScreenMode();
  else if (index == 22) RestoreWindow();
  else runPopupItem(*this, kCustomCommands, index);
}

void FrmMain::ShowPopUp(long x, long y, bool atPointer) {
  // Over a question the program waits on, a command from the menu would run in the
  // middle of what asked it (the hot key, the tray and the desktop can all come here).
  if (program_.ModalShowing()) return;
  Menu& popup = Menus().Get("mPopUp");
  Menu* defaultItem = mCustom[21].Visible() ? &mCustom[21] : &mCustom[22];
  popup.SetVisible(true);
  UpdatePopUpCaptions("mCustom");
  if (!atPointer && Visible() && State() != WindowState::Minimized) PopupMenuAt(popup, x, y, defaultItem);
  else PopupMenu(popup, defaultItem);
  popup.SetVisible(false);
}

void FrmMain::UpdatePopUpCaptions(const std::string& name) {
  const bool running = tmrTapestrel[0].Enabled();
  const bool screenSaverOn = mnuScreenSaver[1].Checked();
  if (name == "mCustom2") {
    mCustom2[0].SetChecked(running);
    mCustom2[12].SetVisible(screenSaverOn);
    mCustom2[13].SetVisible(!screenSaverOn);
    return;
  }
  mCustom[0].SetChecked(running);
  mCustom[7].SetChecked(IsInternalMode(program_.options.BackdropMode));
  mCustom[9].SetVisible(screenSaverOn);
  mCustom[10].SetVisible(!screenSaverOn);
  // One of the pair at a time: what the window can do now.
  const bool normal = Visible() && State() != WindowState::Minimized;
  mCustom[21].SetVisible(normal);
  mCustom[21].SetEnabled(normal);
  mCustom[22].SetVisible(!normal);
  mCustom[22].SetEnabled(!normal);
}

void FrmMain::mCustom2_Click(int index) {
  // The viewer's own commands; the others are the main window's.
  FrmFullScreen& viewer = program_.frmFullScreen;
  switch (index) {
    case 1: viewer.ChangeTime(); break;
    case 3: viewer.ToggleInfo(); break;
    case 4:
    case 5: viewer.SwitchView(); break;
    case 7: viewer.ShowNextImage(true); break;
    case 8: viewer.ShowNextImage(false); break;
    case 9: viewer.ShowDefaultImage(true); break;
    case 10: viewer.ShowDefaultImage(false); break;
    case 15: viewer.ExitFullScreenDisplay(0); break;
    case 16: viewer.ExitFullScreenDisplay(1); break;
    default: runPopupItem(*this, kCustom2Commands, index); break;
  }
}

void FrmMain::FullScreenMode() {
  // Switches between the desktop and the program's own window; going to the window
  // shows the current wallpaper there at once, and the rotation carries on there.
  WallpaperWriter& writer = program_.wallpaper;
  const bool toInternal = !IsInternalMode(program_.options.BackdropMode);
  writer.SwitchDisplay(toInternal);
  if (!toInternal || !IsInternalMode(program_.options.BackdropMode)) return;
  const std::string& current = program_.options.WallPaperName;
  if (current.empty() || !program_.platform.files.FileExists(current)) return;
  program_.frmFullScreen.ViewerMode = program_.options.BackdropMode;
  program_.frmFullScreen.ShowInViewer(current);
}

void FrmMain::mCustom3_Click(int index) {
  if (index == 0) program_.outside.RunFile();
  else runPopupItem(*this, kCustom3Commands, index);
}

void FrmMain::mnuViewFiles_Click(int index) {
  program_.outside.ViewOrEdit(index == 0 ? OutsidePrograms::View : OutsidePrograms::Edit);
}
void FrmMain::mnuOperateOnFiles_Click(int index) {
  // With the folder pane in use, Delete and Move act on its folder.
  if (ActiveControl() == &dirPictures && index <= FileOperations::Move) {
    if (index == FileOperations::Delete) program_.operations.DeleteFolder();
    else program_.operations.MoveFolder();
    return;
  }
  program_.operations.OperateOnFiles(static_cast<FileOperations::Operation>(index));
}
void FrmMain::mnuExplorer_Click(int index) { program_.outside.Explore(index); }
void FrmMain::mnuScreenSaver_Click(int index) { program_.screenSaver.ScreenSaverCommand(index); }
void FrmMain::mnuOptions_Click() { program_.frmOptions.Open(); }

}  // namespace tapestrel
