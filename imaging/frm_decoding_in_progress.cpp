#include "imaging/frm_decoding_in_progress.h"

namespace tapestrel {

FrmDecodingInProgress::FrmDecodingInProgress(bool& cancel)
    : Form("frmDecodingInProgress", 5400, 2250), cancel_(cancel) {
  Sizable = false;
  SetCaption("Decoding in progress");
  txtConversionInProgress.Move(120, 120, 5040, 1020);
  txtConversionInProgress.MultiLine = true;
  txtConversionInProgress.Locked = true;
  cmdCancel.SetCaption("&Cancel");
  cmdCancel.Move(2040, 1260, 1215, 375);
  cmdCancel.Cancel = true;  // Esc presses it
  cmdCancel.Click = [this] { cancel_ = true; };
}

void FrmDecodingInProgress::Form_Load() {
  cancel_ = false;
  TopMost = true;
}

}  // namespace tapestrel
