// The program's items in the main window's system menu and the hook through which the
// system menu's commands, menu highlighting and menu opening reach the program: the
// items mirror the notification-area menu, command number = its index + 1.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tapestrel {

class Form;
class FrmEvents;
class MainView;
class PictureViewer;
class Rotation;
struct Options;
struct ProgramState;

// One item the program adds to the window's system menu (after a separator of its own):
// the notification-area menu's item of that index, with command index + 1, or a separator.
struct SystemMenuEntry {
  int index;
  bool separator;
};
const std::vector<SystemMenuEntry>& SystemMenuEntries();

class SystemMenu {
 public:
  // `window` is the main window, whose system menu this is.
  SystemMenu(const Options& options, const ProgramState& state, Rotation& rotation, FrmEvents& events, Form& window,
             MainView& view, const PictureViewer& viewer)
      : options_(options),
        state_(state),
        rotation_(rotation),
        events_(events),
        window_(window),
        view_(view),
        viewer_(viewer) {}

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
  // Collaborators.
  const Options& options_;
  const ProgramState& state_;
  Rotation& rotation_;
  FrmEvents& events_;
  Form& window_;
  MainView& view_;
  const PictureViewer& viewer_;
};

}  // namespace tapestrel
