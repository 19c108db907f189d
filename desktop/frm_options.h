// The options dialog. So far it holds the "&Modify active-folders list" frame's controls,
// whose routines the folder set provides; the rest of the dialog is still to come.
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
  }

  Frame fraActiveFolders{*this, "fraActiveFolders"};
  ComboBox cboActiveDirectories{*this, "cboActiveDirectories", -1, ComboBox::DropDownList};
  CommandButton cmdBrowseForActiveDirectories{*this, "cmdBrowseForActiveDirectories"};
  ControlArray<OptionButton> optActiveDirectoryAddStyle{*this, "optActiveDirectoryAddStyle", 3};
  ControlArray<Label> lblOptions{*this, "lblOptions", 6};
  DirListBox dirActiveDirs{*this, "dirActiveDirs"};
};

}  // namespace tapestrel
