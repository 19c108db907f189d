// The main window: the folder pane, the two file lists, the toolbar and status bar,
// the menus, and the commands they start.
#pragma once

#include <string>

#include "core/main_view.h"
#include "platform/controls/bars.h"
#include "platform/controls/control_array.h"
#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/list_view.h"
#include "platform/controls/thumbnail_list.h"

namespace tapestrel {

class Program;

class FrmMain : public Form, public MainView {
 public:
  // Design size in twips, kept when no position has been saved.
  static constexpr long kDesignWidth = 11520;
  static constexpr long kDesignHeight = 7200;
  // The narrowest folder pane and file list the splitter allows.
  static constexpr long kMinPaneWidth = 1200;
  static constexpr long kDefaultSplit = 3300;
  static constexpr long kSplitterWidth = 75;

  explicit FrmMain(Program& program);

  // Runs a menu, toolbar or pop-up command by its identifier; false when none has it.
  bool Dispatch(int commandId);
  // Every command identifier the dispatch table knows.
  static std::vector<int> CommandIds();
  // The command a toolbar button runs.
  static int CommandForButton(const std::string& key);

  // What the routine groups ask of the window (see MainView).
  void ChangeMainStatusMsg(const std::string& message) override;
  void ChangeSecondStatusMsg(const std::string& message) override;
  void ChangeThirdStatusMsg(const std::string& message) override;
  void ChangeMenuHelpStatusMsg(const std::string& message) override;
  void ShowFilter(int list, const std::string& filter) override;
  std::string Caption() const override { return Form::Caption(); }
  void SetCaption(const std::string& caption) override { Form::SetCaption(caption); }
  bool Showing() const override { return Visible(); }
  bool Minimized() const override { return State() == WindowState::Minimized; }
  void ShowWindow() override { Show(); }
  void HideWindow() override { Hide(); }
  void ReturnFromViewer() override;
  void LeaveForViewer() override;
  void* NativeHandle() const override { return native; }
  bool ExitPending() const override { return pendingExit_ >= 0; }
  ListView& FileListView(int list) override { return lstvFiles[list]; }
  void ShowFileList(int list) override;
  bool HasFileIcon(const std::string& key) const override { return imglstLargeIcon.Has(key); }
  void AddFileIcon(const std::string& key, const std::string& icon, bool large) override;
  void ShowSortKey(int key) override;
  std::vector<std::string> AltPatterns() const override { return cboListAltFilePatterns.List(); }
  void SetUserAltPattern(const std::string& entry) override;
  void ShowAltPatternTip(const std::string& tip) override { tbrCommands.SetToolTip("alts", tip); }
  std::string PaneFolder() const override { return dirPictures.Path(); }
  std::string ChosenPaneFolder() const override;
  void ShowPaneFolder(const std::string& folder, const std::vector<FolderEntry>& entries) override;
  std::string PaneDrive() const override { return drvPictureDirectories.Drive(); }
  void SetPaneDrive(const std::string& drive) override { drvPictureDirectories.SetDrive(drive); }
  std::string FolderBoxText() const override { return cboPictureDirectories.Text(); }
  void SetFolderBoxText(const std::string& text) override { cboPictureDirectories.SetText(text); }
  void ShowFolderBoxEntries(const std::vector<std::string>& folders) override;
  bool AppendChecked() const override { return mnuAppendToList.Checked(); }
  void SetAppendChecked(bool on) override { mnuAppendToList.SetChecked(on); }
  bool ClockRunning() const override { return tmrTapestrel[0].Enabled(); }
  void SetClockRunning(bool on) override { tmrTapestrel[0].SetEnabled(on); }
  void ShowClockState(bool running) override;
  void ShowIntervalChoice(int index) override { RadioCheck(mnuTimeInterval, 6, index); }
  std::string IntervalText() const override { return txtCustomChangeInterval.Text(); }
  void SetIntervalText(const std::string& text) override { txtCustomChangeInterval.SetText(text); }
  void FocusIntervalBox() override;
  void SelectIntervalText() override;
  void ShowHistory(const std::vector<std::string>& paths) override;
  void ShowBackdropMode(int mode) override;
  void ShowScreenArrangement(int arrangement) override;
  bool ScreenSaverChecked() const override { return mnuScreenSaver[1].Checked(); }
  void ShowScreenSaverChoice(bool on) override;
  void ShowDecoderMarks(const DecoderMarks& marks) override;
  bool PopUpItemVisible(PopUp menu, int index) const override { return PopUpItems(menu)[index].Visible(); }
  void SetPopUpItemVisible(PopUp menu, int index, bool visible) override {
    PopUpItems(menu)[index].SetVisible(visible);
  }
  void SetPopUpItemChecked(PopUp menu, int index, bool checked) override {
    PopUpItems(menu)[index].SetChecked(checked);
  }
  std::string PopUpItemCaption(PopUp menu, int index) const override { return PopUpItems(menu)[index].Caption(); }
  void SetPopUpItemCaption(PopUp menu, int index, const std::string& caption) override;
  void SetToolTip(const std::string& button, const std::string& tip) override { tbrCommands.SetToolTip(button, tip); }
  void UpdatePopUpCaptions(PopUp menu) override;
  void RunPopUpItem(PopUp menu, int index) override;
  void ShowViewerPopUp(int defaultItem) override;
  // The help line shown while a menu item is highlighted.
  std::string MenuHelpLine(const Menu& menu) const;
  // Shows the help line of what is highlighted (a command of the window's system menu
  // when `systemCommand` is not -1), or clears it when the menu closed.
  void ShowMenuHelp(const Menu* menu, int systemCommand);
  // The file types that get the icon of their registered program in the file lists.
  static const std::vector<std::string>& KnownExtensions();
  void LoadFileTypeIcons();

  // Lays the panes out for the current size; places the controls that sit on the toolbar.
  void MoveControls();
  void ConfiguretxtCustomChangeInterval();
  void ConfigurespinCustomTimeInterval();
  void ConfigureAltListPatternCombo();
  void InitializeToolBar() override;
  void SetColumnWidths();
  // The split position checked against the window's width.
  long SplitPoint() const;
  void SetSplitPoint(long twips);

  // Shows the current picture folder in the drive list, the folder tree and the
  // folder history (the program's folder when the saved one is gone).
  // The picture folder of the settings, or the program's folder when that is not there.
  std::string PictureFolder() const;
  // Shows the picture folder in the folder pane; `subFolders` as in FolderTreeEntries.
  void ShowPictureFolder(const std::vector<std::string>* subFolders = nullptr);

  // Applies the options as loaded to the menus and controls.
  // Applies the options to menus and controls; at start also the list shown, info mode
  // and column widths.
  void ApplySettings(bool atStart = true);
  // The folder combo's entries from the folder history.
  void ShowFolderHistory();
  void ScreenSaverRadioChecks(bool active) override;
  // Checks entry `checked` of the first `count` entries of a menu array, unchecks the rest.
  void RadioCheck(const MenuArray& items, int count, int checked);
  // The current list's view style, checked in both menus and pressed on the toolbar.
  void ShowViewStyle();
  // The pop-up menus offer "Remove &Default" while the default picture is the wallpaper
  // (state 0) and "&Default Wallpaper" / "&Default Image" otherwise (state 1).
  void SwitchBossAndRestoreMenus(int state) override;
  // The notification-area menu at a point of this window (twips), or at the pointer while
  // the window is hidden or minimized.
  void ShowPopUp(long x, long y, bool atPointer = false) override;
  // Brings the pop-up menus' items up to date with the program's state.
  void UpdatePopUpCaptions(const std::string& name);
  // "&Restore": the window back from the taskbar or the notification area.
  void RestoreWindow();
  void InfoOnMode();
  void InfoOffMode();
  bool InfoMode() const override { return mnuInfoMode.Checked(); }
  // The list shown now: 0 the "alt" list, 1 the bmp list.
  int CurrentList() const override { return currentList_; }
  void SetCurrentList(int list);

  // Controls.
  Toolbar tbrCommands{*this, "tbrCommands"};
  tapestrel::StatusBar StatusBar{*this, "StatusBar"};
  TextBox txtCustomChangeInterval{*this, "txtCustomChangeInterval"};
  SpinButton spinCustomTimeInterval{*this, "spinCustomTimeInterval"};
  ComboBox cboListAltFilePatterns{*this, "cboListAltFilePatterns"};
  ControlArray<Timer> tmrTapestrel{*this, "tmrTapestrel", 2};
  // Carries out an Exit asked for while long work ran, once that work has stopped.
  Timer tmrExitWhenIdle{*this, "tmrExitWhenIdle"};
  // Started by a display change and again by each that follows: once the display has
  // settled, the wallpaper is laid out for it.
  Timer tmrDisplayChanged{*this, "tmrDisplayChanged"};
  // Makes the Thumbnails view's pictures between events while any are wanted.
  Timer tmrThumbnails{*this, "tmrThumbnails"};
  DriveListBox drvPictureDirectories{*this, "drvPictureDirectories"};
  Frame fraPictureDirectories{*this, "fraPictureDirectories"};
  ComboBox cboPictureDirectories{*this, "cboPictureDirectories"};
  CommandButton cmdChangePictureDirectory{*this, "cmdChangePictureDirectory"};
  DirListBox dirPictures{*this, "dirPictures"};
  PictureBox picSizeBar{*this, "picSizeBar"};
  ControlArray<PictureBox> piclstvFiles{*this, "piclstvFiles", 2};
  ControlArray<ListView> lstvFiles{*this, "lstvFiles", 2};
  ListBox lstBackdropHistory{*this, "lstBackdropHistory"};
  ImageList imglstLargeIcon{*this, "imglstLargeIcon", 32};
  ImageList imglstSmallIcon{*this, "imglstSmallIcon", 16};
  ImageList imglstToolbar{*this, "imglstToolbar", 16};
  // The pictures of both lists' Thumbnails view. The renderer's image list holds a copy,
  // so the two together stay within 64 MiB.
  static constexpr std::size_t kThumbnailBytes = 32u << 20;
  ThumbnailList thumbnailPictures{kThumbnailBytes};

  // Menu items the program reads and changes by name.
  Menu& mnuTimerOnOff;
  Menu& mnuAppendToList;
  Menu& mnuInfoMode;
  Menu& mnuDeleteConfirmation;
  Menu& mnuRenameOnCollision;
  Menu& mnuInternalDecode;
  Menu& mnuExternalDecodeOn;
  Menu& Mnu_ReduceJpegSize;
  Menu& mnu24bitColor;
  Menu& mnu8bitColor;
  Menu& Mnu_Fancy;
  Menu& Mnu_TwoPass;
  MenuArray mnuBackdropHistory{Menus(), "mnuBackdropHistory"};
  MenuArray mnuExit{Menus(), "mnuExit"};
  MenuArray mnuScreenSaver{Menus(), "mnuScreenSaver"};
  MenuArray mViewStyle{Menus(), "mViewStyle"};
  MenuArray mViewStylePopUp{Menus(), "mViewStylePopUp"};
  MenuArray mSort{Menus(), "mSort"};
  MenuArray mSortPopUp{Menus(), "mSortPopUp"};
  MenuArray Mnu_DCT{Menus(), "Mnu_DCT"};
  MenuArray Mnu_JPGDith{Menus(), "Mnu_JPGDith"};
  MenuArray Mnu_Dith{Menus(), "Mnu_Dith"};
  MenuArray mnuTimeInterval{Menus(), "mnuTimeInterval"};
  MenuArray mnuBackdropMode{Menus(), "mnuBackdropMode"};
  MenuArray mnuToggleBackdropMode{Menus(), "mnuToggleBackdropMode"};
  MenuArray mnuScreenArrangement{Menus(), "mnuScreenArrangement"};
  MenuArray mCustom{Menus(), "mCustom"};
  MenuArray mCustom2{Menus(), "mCustom2"};
  MenuArray mCustom3{Menus(), "mCustom3"};

  // Command handlers, named for the control and event that start them.
  void mnuFindFile_Click();
  void mnuViewFiles_Click(int index);
  void mnuOperateOnFiles_Click(int index);
  void mnuBackdropHistory_Click(int index);
  void mnuExit_Click(int index);
  // The Exit that waits for long work to stop (-1: none).
  int PendingExit() const { return pendingExit_; }
  void mnuReadActiveDirectories_Click();
  void mnuToggleListView_Click();
  void mnuListBmpFiles_Click();
  void mnuListAltFiles_Click();
  void mnuRefresh_Click();
  void mnuClearListView_Click();
  void mnuExplorer_Click(int index);
  void mnuChangeWallpapertoNext_Click(int index);
  void mnuTimerOnOff_Click();
  void mnuScreenSaver_Click(int index);
  void mnuAppendToList_Click();
  void mnuInfoMode_Click();
  void mnuDeleteConfirmation_Click();
  void mnuRenameOnCollision_Click();
  void mViewStyle_Click(int index);
  void mSort_Click(int index);
  void Mnu_DCT_Click(int index);
  void Mnu_JPGDith_Click(int index);
  void Mnu_Fancy_Click();
  void Mnu_TwoPass_Click();
  void Mnu_Dith_Click(int index);
  void mnuInternalDecode_Click();
  void mnuExternalDecodeOn_Click();
  void Mnu_ReduceJpegSize_Click();
  void mnu24bitColor_Click();
  void mnu8bitColor_Click();
  void mnuSetBMPFileFilter_Click();
  void mnuSetAlternateFileFilter_Click();
  void mnuAltFilePattern_Click();
  void mnuLoadSettings_Click();
  void mnuSaveSettings_Click();
  void mnuMinimize_Click();
  void mnuSmallSize_Click();
  void mnuOptions_Click();
  void mnuTimeInterval_Click(int index);
  void mnuToggleBackdropMode_Click(int index);
  void mnuBackdropMode_Click(int index);
  void mnuScreenArrangement_Click(int index);
  void mAbout_Click(int index);
  void mCustom_Click(int index);
  void mCustom2_Click(int index);
  // "Full-Screen Mode": the display goes between the desktop and the program's window.
  void FullScreenMode();
  void mCustom3_Click(int index);

 protected:
  void Form_Load() override;
  bool Form_QueryUnload() override;
  void Form_Unload() override;
  void Form_Resize() override;
  void Form_Shown() override;

 private:
  Menu& BuiltMenu(const char* name);
  const MenuArray& PopUpItems(PopUp menu) const;
  void BuildControls();
  void ConnectEvents();
  void ShowHoverHint(Control& control, const char* hint);
  void PlaceOnToolbar(Control& control, const std::string& placeholderKey, long offset, long width);
  void picSizeBar_MouseDown(int button, long x);
  void picSizeBar_MouseMove(int button, long x);
  void picSizeBar_MouseUp(int button, long x);
  void StatusBar_PanelClick(const std::string& key);
  void ListFromPictureFolder(int list);
  void lstvFiles_KeyDown(int list, int& keyCode, int shift);

  Program& program_;
  int pendingExit_ = -1;
  int currentList_ = 1;
  long rememberedHeight_ = 0;
  bool dragging_ = false;
  long dragStartX_ = 0;
};

}  // namespace tapestrel
