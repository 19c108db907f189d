// The program's items in the main window's system menu and the hook through which the
// system menu's commands, menu highlighting and menu opening reach the program: the
// items mirror the notification-area menu, command number = its index + 1.
#pragma once

#include <cstdint>
#include <string>

namespace tapestrel {

class Form;
class Program;

class SystemMenu {
 public:
  explicit SystemMenu(Program& program) : program_(program) {}

  // Once at start-up: a separator and the items, then the hook on.
  void BuildSystemMenu();
  void SetMenuHook(bool on);
  // 1 marks, 0 unmarks the item of a pop-up index.
  void SetSystemMenuCheck(int state, int index);
  // Radio-checks `item` among first..last: by position in the sub-menu at `position` of
  // the window's menu bar, or (no position) by command in the system menu; false when the
  // items are not there.
  bool CheckRadio(Form& window, int first, int last, int item, int position = -1);
  // The captions of commands 1 (the timer) and 17 (the wallpaper file) brought up to date.
  void UpdateSystemMenuCaption();
  // "&Default Wallpaper" (command 5) and "Remove &Default" (command 6) take each other's place.
  void SwapDefaultItem(bool defaultShown);
  // A hooked message of the main window; answers the result, passOn whether the
  // window's own handling follows.
  long HookedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, bool& passOn);

 private:
  Program& program_;
};

}  // namespace tapestrel
