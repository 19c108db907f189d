// Switching the Windows screen saver on and off from the program's menus, and making
// sure one is installed when it is switched on: the desktop's "ScreenSaveActive", the
// "SCRNSAVE.EXE" entry of system.ini and the system's screen-saver switch, with a default
// screen saver of the program's own to install when none is.
#pragma once

#include <string>

namespace tapestrel {

class Program;

class ScreenSaver {
 public:
  explicit ScreenSaver(Program& program) : program_(program) {}

  std::string GetScreenSaverPath();
  // False, told, when system.ini could not be written.
  bool SetScreenSaverPath(const std::string& path);
  void StartScreenSaver();
  // False when the default screen saver could not be installed for want of a write.
  bool EnsureScreenSaverInstalled();
  // Answers whether the system took the change; switching on with an install that
  // failed leaves the switch as it was.
  bool SetScreenSaverActive(bool on);
  // "Screen Saver O&ff" (0) and "Screen Saver O&n" (1).
  void ScreenSaverCommand(int index);
  // At start-up, with no default screen saver set: the first of the Windows folder, or
  // of the system folder.
  void FindDefaultScreenSaver();
  // The options dialog's default screen-saver field when it loses the focus: answers
  // the text the field shows afterwards.
  std::string DefaultFieldLeft(const std::string& text, bool closing);

 private:
  Program& program_;
};

}  // namespace tapestrel
