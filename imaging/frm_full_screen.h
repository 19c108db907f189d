// The full-screen window. Until the viewer itself is built it serves only as the home
// of the two work picture boxes the wallpaper writer loads into and shrinks into.
#pragma once

#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class FrmFullScreen : public Form {
 public:
  FrmFullScreen() : Form("frmFullScreen", 9600, 7200) {
    picLoad.SetVisible(false);
    picFullScreen.SetVisible(false);
  }

  PictureBox picLoad{*this, "picLoad"};
  PictureBox picFullScreen{*this, "picFullScreen"};
};

}  // namespace tapestrel
