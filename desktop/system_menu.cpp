#include "desktop/system_menu.h"

#include <algorithm>

#include "core/main_view.h"
#include "core/options.h"
#include "core/picture_viewer.h"
#include "core/program_state.h"
#include "desktop/frm_events.h"
#include "platform/controls/form.h"
#include "platform/controls/list_view.h"
#include "platform/controls/message_hook.h"
#include "platform/text.h"
#include "wallpaper/rotation.h"

namespace tapestrel {

namespace {
constexpr unsigned kMenuSelect = 0x11F, kSysCommand = 0x112, kInitMenuPopup = 0x117;
constexpr unsigned kSysMenuFlag = 0x2000;
// The pop-up commands a system-menu command runs (by index).
constexpr int kRun[] = {0, 2, 3, 4, 5, 7, 9, 10, 14, 15, 16, 18, 20};

std::string fileTitle(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
}  // namespace

const std::vector<SystemMenuEntry>& SystemMenuEntries() {
  // "Remove &Default" joins only when it swaps with "&Default Wallpaper"; "E&xit" and the
  // separator after it are left out.
  static const std::vector<SystemMenuEntry> items{
      {0, false},  {1, true},  {2, false},  {3, false},  {4, false},  {6, true},  {7, false},  {8, true},  {9, false},
      {10, false}, {11, true}, {14, false}, {15, false}, {16, false}, {17, true}, {18, false}, {19, true}, {20, false}};
  return items;
}

void SystemMenu::BuildSystemMenu() {
  Form& main = window_;
  main.SystemMenuItems.clear();
  main.SystemMenuItems.push_back({0, "", false});
  for (const SystemMenuEntry& entry : SystemMenuEntries())
    main.SystemMenuItems.push_back(
        {entry.index + 1, entry.separator ? "" : view_.PopUpItemCaption(PopUp::Tray, entry.index), false});
  main.SystemMenuChanged();
  SetMenuHook(true);
}

void SystemMenu::SetMenuHook(bool on) {
  MessageHook& hook = events_.Msghook;
  Form& main = window_;
  hook.HookedWindow = on ? &main : nullptr;
  hook.Watched.clear();
  if (on) hook.Watched = {kMenuSelect, kSysCommand, kInitMenuPopup};
  hook.Message = [this](unsigned message, std::uintptr_t wParam, std::intptr_t lParam, long& result, bool& passOn) {
    result = HookedMessage(message, wParam, lParam, passOn);
  };
  main.Hook = on ? &hook : nullptr;
}

void SystemMenu::SetSystemMenuCheck(int state, int index) {
  Form& main = window_;
  for (SystemMenuItem& item : main.SystemMenuItems)
    if (item.command == index + 1) item.checked = state == 1;
  main.SystemMenuChanged();
}

bool SystemMenu::CheckRadio(Form& window, int first, int last, int item, int position) {
  if (item < first || item > last) return false;
  if (position >= 0) {
    // By position among the shown entries of that sub-menu of the menu bar.
    std::vector<Menu*> bar;
    for (Menu* top : window.Menus().TopLevel())
      if (top->Visible()) bar.push_back(top);
    if (position >= static_cast<int>(bar.size())) return false;
    std::vector<Menu*> entries;
    for (Menu* entry : bar[static_cast<std::size_t>(position)]->Items())
      if (entry->Visible()) entries.push_back(entry);
    if (last >= static_cast<int>(entries.size())) return false;
    for (int i = first; i <= last; ++i) entries[static_cast<std::size_t>(i)]->SetChecked(i == item);
    return true;
  }
  std::vector<SystemMenuItem*> range;
  for (SystemMenuItem& entry : window.SystemMenuItems)
    if (entry.command >= first && entry.command <= last && !entry.caption.empty()) range.push_back(&entry);
  if (std::none_of(range.begin(), range.end(), [item](const SystemMenuItem* e) { return e->command == item; })) return false;
  for (SystemMenuItem* entry : range) entry->checked = entry->command == item;
  window.SystemMenuChanged();
  return true;
}

void SystemMenu::UpdateSystemMenuCaption() {
  Form& main = window_;
  const Options& o = options_;
  std::string timer = "&Timer On";
  if (view_.ClockRunning()) timer += " " + rotation_.RemainingText();
  std::string explore = "Explore " + fileTitle(o.WallPaperName) + " [" +
                        NumberText(rotation_.FindInList(o.WallPaperName)) + " of " +
                        NumberText(view_.CurrentFileList().Count()) + "].";
  if (state_.ImageWidth > 0 && state_.ImageHeight > 0)
    explore += " " + NumberText(state_.ImageWidth) + "w" + " x " + NumberText(state_.ImageHeight) + "h";
  bool changed = false;
  for (SystemMenuItem& item : main.SystemMenuItems) {
    const std::string* caption = item.command == 1 ? &timer : item.command == 17 ? &explore : nullptr;
    if (caption && item.caption != *caption) {
      item.caption = *caption;
      changed = true;
    }
  }
  if (changed) main.SystemMenuChanged();
}

void SystemMenu::SwapDefaultItem(bool defaultShown) {
  Form& main = window_;
  const int from = defaultShown ? 5 : 6, to = defaultShown ? 6 : 5;
  for (SystemMenuItem& item : main.SystemMenuItems)
    if (item.command == from) item = {to, view_.PopUpItemCaption(PopUp::Tray, to - 1), false};
  main.SystemMenuChanged();
}

long SystemMenu::HookedMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, bool& passOn) {
  MainView& main = view_;
  passOn = true;
  switch (message) {
    case kMenuSelect:
      // The help line itself follows in the window's own handling of the message.
      if (main.Showing() && !main.Minimized() && ((wParam >> 16) & kSysMenuFlag)) UpdateSystemMenuCaption();
      return 0;
    case kSysCommand: {
      const int index = static_cast<int>(wParam & 0xFFFF) - 1;
      if (std::find(std::begin(kRun), std::end(kRun), index) != std::end(kRun)) main.RunPopUpItem(PopUp::Tray, index);
      return 0;
    }
    case kInitMenuPopup:
      // The system menu is the system's to bring up to date: it goes on to the window.
      if (((static_cast<std::uintptr_t>(lParam) >> 16) & 0xFFFF) != 0) return 0;
      main.UpdatePopUpCaptions(viewer_.Showing() ? PopUp::Viewer : PopUp::Tray);
      passOn = false;
      return 0;
    default:
      return 0;
  }
}

}  // namespace tapestrel
