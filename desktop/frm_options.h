// The options dialog: five tabs of check boxes, option groups and fields, each of which
// sets its option as soon as it is changed. A copy of the options is taken when the
// dialog opens: "O&K" keeps what was changed and finishes what waits for it, "CANCEL",
// Esc and the close box put the copy back. It is created once, then shown and hidden.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/active_folder_frame.h"
#include "catalogue/program_fields.h"
#include "core/options.h"
#include "platform/controls/control_array.h"
#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/ui.h"

namespace tapestrel {

class FileList;
class FileSystem;
class FolderSet;
class MainView;
class OutsidePrograms;
class RegistryRoutines;
class ScreenSaver;
class Settings;
class SettingsStore;
class WallpaperWriter;

class FrmOptions : public Form, public ActiveFolderFrame, public ProgramFields {
 public:
  enum Tab { FileOptions = 0, HelperApps = 1, PlaySettings = 2, Misc = 3, MoreMisc = 4 };
  enum Button { Ok = 0, Cancel = 1, HelpButton = 2 };

  FrmOptions(Ui& ui, FileSystem& files, SettingsStore& store, Options& options, Settings& settings,
             RegistryRoutines& registry, FileList& list, FolderSet& folders, OutsidePrograms& outside,
             WallpaperWriter& writer, ScreenSaver& screenSaver, MainView& view);

  // Wired by the program: the help file opened at a context number.
  std::function<void(int context)> HelpAsked;
  // CANCEL put back a playing video's loop or sound switch of an event (the media
  // events, which serve this dialog's Play Settings, apply it at once).
  std::function<void(int event)> LoopVideoPutBack;
  std::function<void(int event)> MuteVideoPutBack;

  // The active-folder frame as the folder set fills and searches it.
  AddStyle ActiveAddStyle() const override;
  void ShowActiveFolders(const std::vector<std::string>& folders) override;
  int ChosenActiveFolder() const override { return cboActiveDirectories.ListIndex(); }
  std::vector<std::string> RemoveActiveFolder(int index) override;
  void EnableActiveFrame(bool enabled) override;
  void ShowSearchProgress(const std::string& text) override { lblOptions[5].SetCaption(text); }
  void KeepOnTop(bool onTop) override { SetTopMost(onTop); }

  // The viewers' and editors' fields as the outside-programs group fills and reads them.
  std::string ProgramField(int n) const override { return txtViewer[n].Text(); }
  std::string BrowseIntoProgramField(int n, const OpenFileRequest& request, bool fromField) override {
    return BrowseIntoField(txtViewer[n], request, fromField);
  }
  int ProgramChoice(int kind) const override { return cboViewers[kind].ListIndex(); }
  void ShowProgramChoices(int kind, const std::vector<std::string>& entries, int chosen) override;

  // "&Options": the dialog set up from the current options and shown.
  void Open();
  // Takes the copy and sets every control from the options.
  void SetUp();
  void cmdOptions_Click(int index);
  // "Apply": the current picture shown again at the new viewing size and position.
  void cmdApply_Click();
  // Shows the controls of one tab and hides the others'.
  void ShowTab(int tab);
  int TabOf(const Control& control) const;
  // The system's file dialog over this one, for a field: it opens on the field's file
  // (unless the field names none), the dialog leaves the topmost band while it is up, and
  // the chosen file becomes the field's text. The chosen file, or empty text.
  std::string BrowseIntoField(TextBox& field, OpenFileRequest request, bool fieldNamesFile = true);

  // Set while the dialog closes: its fields' focus-loss handling is skipped then.
  bool Closing = false;
  // Closing, or about to: the focus went to CANCEL, which puts back whatever a field
  // holds, so the field is neither checked nor stored (nor may its message eat the click).
  // A field passed over so is taken up again if the focus moves on from CANCEL instead.
  bool Leaving(Control& field);

  // Declared in the order Tab goes through them; the tab strip and the frames are
  // stacked under what they hold.
  TabStrip tabOptions{*this, "tabOptions"};
  ControlArray<Frame> fraOptions{*this, "fraOptions", 13};
  ControlArray<Label> lblOptions{*this, "lblOptions", 7};

  // "&File Options".
  ControlArray<ComboBox> cboViewers{*this, "cboViewers", 2, ComboBox::DropDownList};
  ComboBox cboActiveDirectories{*this, "cboActiveDirectories", -1, ComboBox::DropDownList};
  CommandButton cmdBrowseForActiveDirectories{*this, "cmdBrowseForActiveDirectories"};
  ControlArray<OptionButton> optActiveDirectoryAddStyle{*this, "optActiveDirectoryAddStyle", 3};
  ControlArray<ComboBox> cboFileFilters{*this, "cboFileFilters", 3};
  DirListBox dirActiveDirs{*this, "dirActiveDirs"};

  // "Helper Apps": 0-4 viewers, 5-9 editors.
  ControlArray<TextBox> txtViewer{*this, "txtViewer", 10};
  ControlArray<CommandButton> cmdBrowseForViewer{*this, "cmdBrowseForViewer", 10};

  // "Play Settings": one of each per media event.
  ControlArray<CheckBox> chkMciEvent{*this, "chkMciEvent", 3};
  ControlArray<TextBox> txtMciDevice{*this, "txtMciDevice", 3};
  ControlArray<CommandButton> cmdBrowseForMciDevice{*this, "cmdBrowseForMciDevice", 3};
  ControlArray<CheckBox> chkLoopVideo{*this, "chkLoopVideo", 3};
  ControlArray<CheckBox> chkMuteVideo{*this, "chkMuteVideo", 3};
  ControlArray<CheckBox> chkPlayNext{*this, "chkPlayNext", 3};
  ControlArray<CommandButton> cmdPlay{*this, "cmdPlay", 3};
  ControlArray<CommandButton> cmdPause{*this, "cmdPause", 3};
  ControlArray<CommandButton> cmdStop{*this, "cmdStop", 3};
  ControlArray<CommandButton> cmdRepeat{*this, "cmdRepeat", 3};
  CommandButton cmdEjectCD{*this, "cmdEjectCD"};

  // "Misc." (and box 15 on "Play Settings"). Indexes 0 to 19; there are no 16 and 17.
  ControlArray<CheckBox> chkMiscOptions{*this, "chkMiscOptions", 20};
  ControlArray<OptionButton> optStartStyle{*this, "optStartStyle", 2};

  // "More Misc.".
  TextBox txtPopUpHotKey{*this, "txtPopUpHotKey"};
  ControlArray<TextBox> txtDefaults{*this, "txtDefaults", 2};
  ControlArray<CommandButton> cmdBrowseForDefaults{*this, "cmdBrowseForDefaults", 2};
  ControlArray<OptionButton> optDefaultStyle{*this, "optDefaultStyle", 2};
  ControlArray<OptionButton> optImageJustification{*this, "optImageJustification", 9};
  ControlArray<OptionButton> optWindowSize{*this, "optWindowSize", 5};
  CommandButton cmdApply{*this, "cmdApply"};
  // "Misc.": how pictures are shrunk and picked for the screens.
  Frame fraScreens{*this, "fraScreens"};
  CheckBox chkSmoothShrinking{*this, "chkSmoothShrinking"};
  CheckBox chkMatchOrientation{*this, "chkMatchOrientation"};
  Label lblSkipSmaller{*this, "lblSkipSmaller"};
  TextBox txtSkipSmaller{*this, "txtSkipSmaller"};
  Label lblSkipSmallerUnit{*this, "lblSkipSmallerUnit"};
  // Last, so that Tab comes to them after the page's controls.
  ControlArray<CommandButton> cmdOptions{*this, "cmdOptions", 3};

 protected:
  bool Form_UserClose() override;

 private:
  void SetCaptions();
  // The percentage typed for skipping small pictures: kept when it is a whole number
  // from 0 to 100, otherwise the user is told and the box shows the one in force.
  bool StoreSkipSmaller();
  void LayOut();
  void Place(Control& control, int tab, Control* container, long left, long top, long width, long height);
  void ConnectEvents();
  void CancelDialog();
  void ConfirmDialog();
  void BrowseForDefault(int index);
  void BrowseForMciDevice(int event);
  void StoreFilterField(int kind);
  void ProgramFieldLeft(int n);
  void SetFromOptions();

  // Collaborators.
  Ui& ui_;
  FileSystem& files_;
  SettingsStore& store_;
  Options& options_;
  Settings& settings_;
  RegistryRoutines& registry_;
  FileList& list_;
  FolderSet& folders_;
  OutsidePrograms& outside_;
  WallpaperWriter& writer_;
  ScreenSaver& screenSaver_;
  MainView& view_;
  // The options as they were when the dialog opened.
  Options copy_;
  // While the controls are set from the options, their handlers keep still.
  Control* passedOver_ = nullptr;
  // The event files in the store when the dialog opened.
  std::array<std::optional<std::string>, kMediaEvents> storedEventFiles_;
  bool settingUp_ = false;
  std::vector<std::pair<const Control*, int>> tabs_;
};

// The options the dialog can change, copied from one set of options into another.
void CopyDialogOptions(const Options& from, Options& to);

}  // namespace tapestrel
