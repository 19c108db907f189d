// What the routine groups may ask of the main window: the status panels and caption,
// the file lists' items and selection, the folder pane, the marks of the menus that
// show a choice, the pop-up menus' items, the history menu and the rotation clock. The
// main window implements it; no group reaches into its controls.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class ListView;
struct FolderEntry;

// The pop-up menus of the main window: the notification-area menu, the viewer's menu
// and the file list's menu.
enum class PopUp { Tray, Viewer, List };

class MainView {
 public:
  virtual ~MainView() = default;

  // Status bar and caption.
  virtual void ChangeMainStatusMsg(const std::string& message) = 0;
  virtual void ChangeSecondStatusMsg(const std::string& message) = 0;
  virtual void ChangeThirdStatusMsg(const std::string& message) = 0;
  virtual void ChangeMenuHelpStatusMsg(const std::string& message) = 0;
  // The filter panel of a list (0 the "alt" list, 1 the bitmap list).
  virtual void ShowFilter(int list, const std::string& filter) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetCaption(const std::string& caption) = 0;

  // The window itself, and the handle the system's calls take as their owner.
  virtual bool Showing() const = 0;
  virtual bool Minimized() const = 0;
  virtual void ShowWindow() = 0;
  virtual void HideWindow() = 0;
  // Back from the viewer: shown, in its normal state, the toolbar usable again.
  virtual void ReturnFromViewer() = 0;
  // Hidden for the viewer: the toolbar unusable meanwhile.
  virtual void LeaveForViewer() = 0;
  virtual void* NativeHandle() const = 0;
  // Whether an Exit waits for long work to stop.
  virtual bool ExitPending() const = 0;
  virtual bool InfoMode() const = 0;

  // The file lists: 0 the "alt" list, 1 the bitmap list; their items and selection.
  virtual int CurrentList() const = 0;
  virtual ListView& FileListView(int list) = 0;
  ListView& CurrentFileList() { return FileListView(CurrentList()); }
  // Makes a list the one shown, its toolbar buttons with it.
  virtual void ShowFileList(int list) = 0;
  // The icons the lists show for a file type (or a program's own, by its key).
  virtual bool HasFileIcon(const std::string& key) const = 0;
  // Into the large icons' list, or the small ones'.
  virtual void AddFileIcon(const std::string& key, const std::string& icon, bool large) = 0;
  virtual void ShowSortKey(int key) = 0;
  // The "alt" pattern box: its entries, and the list's toolbar tip for the pattern chosen.
  virtual std::vector<std::string> AltPatterns() const = 0;
  virtual void SetUserAltPattern(const std::string& entry) = 0;
  virtual void ShowAltPatternTip(const std::string& tip) = 0;

  // The folder pane: the folder shown, its drive, the folder box and its history.
  virtual std::string PaneFolder() const = 0;
  // The folder chosen in the pane (the folder shown when none is chosen).
  virtual std::string ChosenPaneFolder() const = 0;
  virtual void ShowPaneFolder(const std::string& folder, const std::vector<FolderEntry>& entries) = 0;
  virtual std::string PaneDrive() const = 0;
  virtual void SetPaneDrive(const std::string& drive) = 0;
  virtual std::string FolderBoxText() const = 0;
  virtual void SetFolderBoxText(const std::string& text) = 0;
  virtual void ShowFolderBoxEntries(const std::vector<std::string>& folders) = 0;
  virtual bool AppendChecked() const = 0;
  virtual void SetAppendChecked(bool on) = 0;

  // The rotation clock and how the menus and the custom box show it.
  virtual bool ClockRunning() const = 0;
  virtual void SetClockRunning(bool on) = 0;
  virtual void ShowClockState(bool running) = 0;
  // Checks the interval item `index` (5: "Custom").
  virtual void ShowIntervalChoice(int index) = 0;
  virtual std::string IntervalText() const = 0;
  virtual void SetIntervalText(const std::string& text) = 0;
  virtual void SelectIntervalText() = 0;
  // Focus into the custom box with its text selected.
  virtual void FocusIntervalBox() = 0;
  // The wallpaper history as the File menu lists it, newest first.
  virtual void ShowHistory(const std::vector<std::string>& paths) = 0;

  // Marks of choices made elsewhere.
  virtual void ShowBackdropMode(int mode) = 0;
  // Radio-checks the arrangement of screens in the View Mode menu.
  virtual void ShowScreenArrangement(int arrangement) = 0;
  virtual bool ScreenSaverChecked() const = 0;
  virtual void ShowScreenSaverChoice(bool on) = 0;
  // Checks and pop-up entries for the screen saver's state.
  virtual void ScreenSaverRadioChecks(bool active) = 0;
  // 0: the default picture is the wallpaper; 1: it is not.
  virtual void SwitchBossAndRestoreMenus(int state) = 0;
  struct DecoderMarks {
    int dctMethod, dither, jpegDither;
    bool eightBit, twoPass, fancy, internal, reduceJpegSize;
  };
  virtual void ShowDecoderMarks(const DecoderMarks& marks) = 0;
  virtual void InitializeToolBar() = 0;

  // The pop-up menus.
  virtual bool PopUpItemVisible(PopUp menu, int index) const = 0;
  virtual void SetPopUpItemVisible(PopUp menu, int index, bool visible) = 0;
  virtual void SetPopUpItemChecked(PopUp menu, int index, bool checked) = 0;
  virtual std::string PopUpItemCaption(PopUp menu, int index) const = 0;
  virtual void SetPopUpItemCaption(PopUp menu, int index, const std::string& caption) = 0;
  virtual void SetToolTip(const std::string& button, const std::string& tip) = 0;
  // Brings a pop-up menu's items up to date with the program's state.
  virtual void UpdatePopUpCaptions(PopUp menu) = 0;
  // Runs a pop-up menu's item as though it were chosen.
  virtual void RunPopUpItem(PopUp menu, int index) = 0;
  // The notification-area menu at a point of the window (twips), or at the pointer.
  virtual void ShowPopUp(long x, long y, bool atPointer = false) = 0;
  // The viewer's menu at the pointer, `defaultItem` drawn as the default.
  virtual void ShowViewerPopUp(int defaultItem) = 0;
};

}  // namespace tapestrel
