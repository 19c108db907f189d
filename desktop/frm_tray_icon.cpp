#include "desktop/frm_tray_icon.h"

#include <algorithm>

#include "core/main_view.h"
#include "core/picture_viewer.h"
#include "platform/desktop.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {
constexpr unsigned kMouseMove = 0x200, kLeftDown = 0x201, kRightUp = 0x205;
constexpr std::uint32_t kRecordSize = 88;
constexpr std::uint32_t kMessageIconTip = 7;
}  // namespace

FrmTrayIcon::FrmTrayIcon(Desktop& desktop, Shell& shell, Ui& ui, MainView& view, const PictureViewer& viewer)
    : Form("frmTrayIcon", 1, 1), desktop_(desktop), shell_(shell), ui_(ui), view_(view), viewer_(viewer) {
  SetCaption("Tray Icon Form");
  Sizable = false;
  Borderless = true;
  SetStartUpPosition(StartUpPosition::Manual);
  // The icon's messages come as mouse moves over this window; x holds the message.
  MouseMove = [this](int, int, long x, long) { IconMessage(static_cast<unsigned>(x / desktop_.TwipsPerPixel())); };
  TaskbarCreated = [this] {
    if (Loaded()) TrayAdd(view_.Caption(), kMouseMove);
  };
}

std::array<char, 64> FrmTrayIcon::TipField(const std::string& tip) {
  std::array<char, 64> field{};
  // Cut at a character's start: a name in UTF-8 may not end in half a letter.
  const std::string cut = CutToLength(tip, field.size() - 1);
  std::copy(cut.begin(), cut.end(), field.begin());
  return field;
}

void FrmTrayIcon::Report(const char* procedure, const RuntimeError& error) {
  ui_.MsgBox(
      error.description + " (" + NumberText(error.number) + ") " + "has occurred in procedure " + procedure + ".",
      mb::OkOnly | mb::Critical, kApplicationName);
}

void FrmTrayIcon::Form_Load() {
  SetCaption(kApplicationName);
  TrayAdd(view_.Caption(), kMouseMove);
}

void FrmTrayIcon::Form_Unload() { TrayDelete(); }

void FrmTrayIcon::TrayAdd(const std::string& tip, unsigned callbackMessage) {
  try {
    record_.size = kRecordSize;
    record_.window = native;
    record_.id = 1;
    record_.flags = kMessageIconTip;
    record_.callbackMessage = callbackMessage;
    record_.programIcon = true;
    record_.tip = TipField(tip);
    shell_.NotifyIcon(notify_icon::Add, record_);  // a refusal is passed over
  } catch (const RuntimeError& e) {
    Report("005", e);
  }
}

void FrmTrayIcon::TrayModify(const std::string& tip) {
  try {
    if (view_.Showing() || viewer_.Showing() || !Loaded()) return;
    record_.tip = TipField(tip);
    shell_.NotifyIcon(notify_icon::Modify, record_);
  } catch (const RuntimeError& e) {
    Report("007", e);
  }
}

void FrmTrayIcon::TrayDelete() {
  try {
    record_.size = kRecordSize;
    record_.window = native;
    record_.id = 1;
    shell_.NotifyIcon(notify_icon::Delete, record_);
  } catch (const RuntimeError& e) {
    Report("006", e);
  }
}

void FrmTrayIcon::IconMessage(unsigned message) {
  try {
    MainView& main = view_;
    switch (message) {
      case kLeftDown:
        // Toggles between the default picture and the normal wallpaper.
        if (main.PopUpItemVisible(PopUp::Tray, 4)) main.RunPopUpItem(PopUp::Tray, 4);
        else if (main.PopUpItemVisible(PopUp::Tray, 5)) main.RunPopUpItem(PopUp::Tray, 5);
        break;
      case kRightUp:
        main.ShowPopUp(0, 0);
        break;
      case kMouseMove:
        TrayModify(main.Caption());
        break;
      default:
        break;
    }
  } catch (const RuntimeError& e) {
    Report("008", e);
  }
}

}  // namespace tapestrel
