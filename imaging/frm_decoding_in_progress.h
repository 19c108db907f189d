// The small window that shows which file a batch decoding is at, with the button that
// stops it before the next file.
#pragma once

#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class FrmDecodingInProgress : public Form {
 public:
  // `cancel` is where the button's stop request goes.
  explicit FrmDecodingInProgress(bool& cancel);

  TextBox txtConversionInProgress{*this, "txtConversionInProgress"};
  CommandButton cmdCancel{*this, "cmdCancel"};

 protected:
  void Form_Load() override;

 private:
  bool& cancel_;
};

}  // namespace tapestrel
