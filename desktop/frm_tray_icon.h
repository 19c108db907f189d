// The hidden window that owns the program's notification-area icon: it adds the icon
// when it loads and deletes it when it unloads, keeps its tip, and turns the icon's mouse
// messages (they arrive as mouse moves whose x is the message) into the program's
// commands: a left click toggles the default picture, a right click opens the pop-up.
#pragma once

#include <string>

#include "core/tray_tip.h"
#include "platform/controls/form.h"
#include "platform/shell.h"

namespace tapestrel {

class Desktop;
class MainView;
class PictureViewer;
class Ui;

class FrmTrayIcon : public Form, public TrayTip {
 public:
  FrmTrayIcon(Desktop& desktop, Shell& shell, Ui& ui, MainView& view, const PictureViewer& viewer);

  void TrayAdd(const std::string& tip, unsigned callbackMessage);
  // Only while neither the main window nor the full-screen view shows.
  void TrayModify(const std::string& tip) override;
  void TrayDelete();
  // The icon's mouse activity, by the system's mouse message.
  void IconMessage(unsigned message);

  // The record kept for the whole run and reused by every call.
  const NotifyIconData& Record() const { return record_; }
  // The tip cut to its field: at most 63 characters and a zero byte.
  static std::array<char, 64> TipField(const std::string& tip);

 protected:
  void Form_Load() override;
  void Form_Unload() override;

 private:
  void Report(const char* procedure, const struct RuntimeError& error);

  // Collaborators.
  Desktop& desktop_;
  Shell& shell_;
  Ui& ui_;
  MainView& view_;
  const PictureViewer& viewer_;
  NotifyIconData record_;
};

}  // namespace tapestrel
