// The floating time changer: a small window above the full-screen view in which the
// user types or dials the change interval while the main window is away. The rotation
// is held while it is open and goes on, from the start of the new interval, when it closes.
#pragma once

#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class MainView;
class Rotation;
struct Options;

class FrmFloatingTimeChanger : public Form {
 public:
  FrmFloatingTimeChanger(const Options& options, Rotation& rotation, MainView& view);

  TextBox txtCustomChangeInterval{*this, "txtCustomChangeInterval"};
  SpinButton spinCustomTimeInterval{*this, "spinCustomTimeInterval"};

  // Opens the changer and returns when it has been closed.
  void Open();
  void Spin(bool up);

 private:
  void Typed();

  // Collaborators.
  const Options& options_;
  Rotation& rotation_;
  MainView& view_;
  bool stoppedForChange_ = false;
  bool writing_ = false;  // the spin button writes the box: no typing to check
};

}  // namespace tapestrel
