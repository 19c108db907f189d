// The options dialog. So far it holds the "&Modify active-folders list" frame's controls,
// whose routines the folder set provides, and the "Play Settings" controls of the media
// events, served by the media routines; the rest of the dialog is still to come.
#pragma once

#include "platform/controls/control_array.h"
#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class FrmOptions : public Form {
 public:
  FrmOptions() : Form("frmOptions", 8400, 6300) {
    Sizable = false;
    SetCaption("Options");
    fraActiveFolders.SetCaption("&Modify active-folders list");
    cmdBrowseForActiveDirectories.SetCaption("...");
    static const char* const styles[] = {"&Just One", "Add Sub&-folders", "Add All S&ub-folders"};
    for (int i = 0; i < 3; ++i) optActiveDirectoryAddStyle[i].SetCaption(styles[i]);
    optActiveDirectoryAddStyle[0].SetValue(true);
    lblOptions[5].SetCaption("Search progress");
    dirActiveDirs.SetVisible(false);

    static const char* const onCaptions[] = {"&1. On", "&2. On", "&3. On "};
    static const char* const fieldTexts[] = {"MCI device for loaded", "MCI device for backdrop change",
                                             "MCI device for exiting"};
    for (int i = 0; i < 3; ++i) {
      chkMciEvent[i].SetCaption(onCaptions[i]);
      txtMciDevice[i].SetText(fieldTexts[i]);
      cmdBrowseForMciDevice[i].SetCaption("...");
      chkLoopVideo[i].SetCaption("&Loop video.");
      chkMuteVideo[i].SetCaption("Mute vide&o");
      chkPlayNext[i].SetCaption("&Play next");
      cmdPlay[i].SetCaption("Play");
      cmdPause[i].SetCaption("Pause");
      cmdStop[i].SetCaption("Stop");
      cmdRepeat[i].SetCaption("Repeat");
    }
    cmdEjectCD.SetCaption("CD &Door");
    chkMiscOptions[15].SetCaption("&Play One CD Track");
  }

  // Set while the dialog closes: its fields' focus-loss handling is skipped then.
  bool Closing = false;

  Frame fraActiveFolders{*this, "fraActiveFolders"};
  ComboBox cboActiveDirectories{*this, "cboActiveDirectories", -1, ComboBox::DropDownList};
  CommandButton cmdBrowseForActiveDirectories{*this, "cmdBrowseForActiveDirectories"};
  ControlArray<OptionButton> optActiveDirectoryAddStyle{*this, "optActiveDirectoryAddStyle", 3};
  ControlArray<Label> lblOptions{*this, "lblOptions", 6};
  DirListBox dirActiveDirs{*this, "dirActiveDirs"};

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
  // Indexes 0 to 19; there are no 16 and 17.
  ControlArray<CheckBox> chkMiscOptions{*this, "chkMiscOptions", 20};
};

}  // namespace tapestrel
