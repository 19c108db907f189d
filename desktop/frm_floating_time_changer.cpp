#include "desktop/frm_floating_time_changer.h"

#include <algorithm>
#include <cmath>

#include "core/main_view.h"
#include "core/options.h"
#include "platform/text.h"
#include "wallpaper/rotation.h"

namespace tapestrel {

namespace {
constexpr int kEnter = 13;
}  // namespace

FrmFloatingTimeChanger::FrmFloatingTimeChanger(const Options& options, Rotation& rotation, MainView& view)
    : Form("frmFloatingTimeChanger", 2880, 930), options_(options), rotation_(rotation), view_(view) {
  SetCaption("Floating time changer");
  Sizable = false;
  TopMost = true;  // above the full-screen view
  txtCustomChangeInterval.Move(120, 120, 1500, 315);
  spinCustomTimeInterval.Move(1620, 120, 255, 315);
  txtCustomChangeInterval.SetToolTipText("Enter a new time interval in minutes.");
  spinCustomTimeInterval.SetToolTipText("Change the time in tenth-minute steps.");
  txtCustomChangeInterval.Change = [this] { Typed(); };
  txtCustomChangeInterval.KeyPress = [this](int& key) {
    if (key == kEnter) {
      key = 0;
      Hide();
      return;
    }
    if (!AcceptsIntervalKey(key)) key = 0;
  };
  spinCustomTimeInterval.SpinUp = [this] { Spin(true); };
  spinCustomTimeInterval.SpinDown = [this] { Spin(false); };
}

void FrmFloatingTimeChanger::Typed() {
  if (writing_) return;
  if (const std::optional<double> minutes = rotation_.TypedInterval(txtCustomChangeInterval))
    rotation_.SetInterval(*minutes);
}

void FrmFloatingTimeChanger::Spin(bool up) {
  const double now = options_.WallPaperChangeInterval;
  const double step = now < 10 ? 0.1 : 1;
  // Kept to tenths, so that 9.9 and a tenth make 10.
  const double next =
      std::clamp(std::round((now + (up ? step : -step)) * 10) / 10, kShortestInterval, kLongestInterval);
  rotation_.SetInterval(next);
  writing_ = true;
  txtCustomChangeInterval.SetText(FormatNumber(next, "0.0"));
  writing_ = false;
}

void FrmFloatingTimeChanger::Open() {
  if (view_.ClockRunning()) {
    view_.SetClockRunning(false);
    stoppedForChange_ = true;
  }
  txtCustomChangeInterval.SetText(FormatNumber(options_.WallPaperChangeInterval, "0.0"));
  Load();
  txtCustomChangeInterval.SetFocus();
  txtCustomChangeInterval.SetSelection(0, static_cast<int>(txtCustomChangeInterval.Text().size()));
  ShowModal();  // until it is closed, by Enter or its close box
  if (stoppedForChange_) {
    stoppedForChange_ = false;
    view_.SetClockRunning(true);
  }
}

}  // namespace tapestrel
