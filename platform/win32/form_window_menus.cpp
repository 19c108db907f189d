#include "platform/win32/form_window_parts.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/controls/bars.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/win32/glyphs.h"

namespace tapestrel {

using namespace win32_detail;

// Menu bars, accelerators and pop-up menus built from the model's menus.

// Menus ----------------------------------------------------------------------------------

HMENU Win32FormRenderer::BuildMenu(FormWindow& fw, const Menu& parent, bool popup) {
  HMENU menu = popup ? CreatePopupMenu() : CreateMenu();
  if (parent.ParentMenu() || !popup) fw.subMenus[menu] = const_cast<Menu*>(&parent);
  for (Menu* item : parent.Items()) {
    if (!item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING | (item->Checked() ? MF_CHECKED : 0) | (item->Enabled() ? 0 : MF_GRAYED);
    if (!item->Items().empty()) {
      HMENU sub = BuildMenu(fw, *item, true);
      item->native = sub;
      AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), menuText(*item).c_str());
    } else {
      AppendMenuA(menu, flags, static_cast<UINT_PTR>(item->CommandId()), menuText(*item).c_str());
      if (item->RadioMark()) ShowAsRadio(menu, static_cast<UINT>(item->CommandId()));
    }
  }
  return menu;
}

void Win32FormRenderer::ShowAsRadio(HMENU menu, UINT command) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  if (!GetMenuItemInfoA(menu, command, FALSE, &info)) return;
  info.fType |= MFT_RADIOCHECK;
  SetMenuItemInfoA(menu, command, FALSE, &info);
}

void Win32FormRenderer::BuildMenuBar(FormWindow& fw) {
  const MenuSet& menus = fw.form->Menus();
  if (menus.TopLevel().empty()) return;
  HMENU old = fw.menuBar;
  fw.subMenus.clear();
  HMENU bar = CreateMenu();
  for (Menu* top : menus.TopLevel()) {
    if (!top->Visible()) continue;
    const UINT flags = MF_STRING | (top->Enabled() ? 0 : MF_GRAYED);
    HMENU sub = BuildMenu(fw, *top, true);
    top->native = sub;
    fw.subMenus[sub] = top;  // highlighted in the bar, it shows its own help line
    AppendMenuA(bar, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), top->Caption().c_str());
  }
  fw.menuBar = bar;
  SetMenu(fw.hwnd, bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(fw.hwnd);
}

void Win32FormRenderer::BuildAccelerators(FormWindow& fw) {
  std::vector<ACCEL> table;
  for (const Menu* menu : fw.form->Menus().All()) {
    const Shortcut& s = menu->GetShortcut();
    if (s.empty() || menu->CommandId() == 0) continue;
    BYTE virt = FVIRTKEY;
    if (s.modifiers & shift::Ctrl) virt |= FCONTROL;
    if (s.modifiers & shift::Shift) virt |= FSHIFT;
    if (s.modifiers & shift::Alt) virt |= FALT;
    table.push_back({virt, static_cast<WORD>(s.key), static_cast<WORD>(menu->CommandId())});
  }
  if (fw.accelerators) DestroyAcceleratorTable(fw.accelerators);
  fw.accelerators = table.empty() ? nullptr : CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
}

void Win32FormRenderer::MenuChanged(Menu& menu, MenuProperty property) {
  FormWindow* fw = FormOf(menu.Owner());
  if (!fw || !fw->menuBar) return;
  if (!rootOf(menu).Visible()) return;  // pop-ups are built when they open
  const bool byCommand = menu.CommandId() != 0 && menu.Items().empty();
  if (byCommand && property == MenuProperty::Checked) {
    CheckMenuItem(fw->menuBar, static_cast<UINT>(menu.CommandId()),
                  MF_BYCOMMAND | (menu.Checked() ? MF_CHECKED : MF_UNCHECKED));
  } else if (byCommand && property == MenuProperty::Enabled) {
    EnableMenuItem(fw->menuBar, static_cast<UINT>(menu.CommandId()),
                   MF_BYCOMMAND | (menu.Enabled() ? MF_ENABLED : MF_GRAYED));
  } else if (byCommand && property == MenuProperty::Caption) {
    ModifyMenuA(fw->menuBar, static_cast<UINT>(menu.CommandId()), MF_BYCOMMAND | MF_STRING |
                (menu.Checked() ? MF_CHECKED : 0) | (menu.Enabled() ? 0 : MF_GRAYED),
                static_cast<UINT_PTR>(menu.CommandId()), menuText(menu).c_str());
    if (menu.RadioMark()) ShowAsRadio(fw->menuBar, static_cast<UINT>(menu.CommandId()));
  } else {
    BuildMenuBar(*fw);
    BuildAccelerators(*fw);
  }
}

void Win32FormRenderer::PopupMenu(Form& form, Menu& menu, Menu* defaultItem, bool atMouse, long x, long y) {
  FormWindow* fw = FormOf(form);
  if (!fw) return;
  HMENU popup = BuildMenu(*fw, menu, true);
  if (defaultItem && defaultItem->CommandId()) SetMenuDefaultItem(popup, static_cast<UINT>(defaultItem->CommandId()), FALSE);
  POINT at{px(x), px(y)};
  if (atMouse) GetCursorPos(&at);
  else ClientToScreen(fw->hwnd, &at);
  // A hidden window cannot come forward: another of the program's windows in front (the
  // full-screen view) then owns the menu, so that it closes when the user clicks away.
  HWND owner = fw->hwnd;
  // Read now: the menu lets messages run, and one of them may unload the form.
  const HWND target = fw->hwnd;
  if (!IsWindowVisible(owner))
    for (const auto& [other, ofw] : forms_)
      if (IsWindowVisible(ofw->hwnd) && ofw->hwnd == GetForegroundWindow()) owner = ofw->hwnd;
  SetForegroundWindow(owner);
  // A picture box holds the mouse from its button's press to its release, and the menu
  // takes that release: let go now, or the next press goes nowhere.
  ReleaseCapture();
  const int chosen = TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, owner, nullptr);
  DestroyMenu(popup);
  PostMessageA(owner, WM_NULL, 0, 0);
  // The chosen command runs once the message that opened the menu has returned: it may
  // unload the window whose mouse or key handler is still on the stack (Exit in the
  // viewer's menu, Restore from the tray's).
  if (chosen) PostMessageA(target, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

void Win32FormRenderer::BuildSystemMenu(FormWindow& fw) {
  const std::vector<SystemMenuItem>& wanted = fw.form->SystemMenuItems;
  HMENU menu = GetSystemMenu(fw.hwnd, FALSE);
  if (!menu) return;
  const auto flags = [](const SystemMenuItem& item) {
    return item.caption.empty() ? UINT{MF_SEPARATOR} : UINT{MF_STRING} | (item.checked ? MF_CHECKED : MF_UNCHECKED);
  };
  if (wanted.size() == fw.systemItems.size()) {
    // Changed in place, item by item: the menu may be open (a caption refreshed while
    // an item of it is highlighted).
    const int base = GetMenuItemCount(menu) - static_cast<int>(wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
      const SystemMenuItem& now = wanted[i];
      const SystemMenuItem& was = fw.systemItems[i];
      if (now.command == was.command && now.caption == was.caption && now.checked == was.checked) continue;
      ModifyMenuA(menu, static_cast<UINT>(base + static_cast<int>(i)), MF_BYPOSITION | flags(now),
                  static_cast<UINT_PTR>(now.command), now.caption.empty() ? nullptr : now.caption.c_str());
    }
  } else {
    // The system's own items again, then the program's after them.
    GetSystemMenu(fw.hwnd, TRUE);
    menu = GetSystemMenu(fw.hwnd, FALSE);
    if (!menu) return;
    for (const SystemMenuItem& item : wanted)
      AppendMenuA(menu, flags(item), static_cast<UINT_PTR>(item.command), item.caption.empty() ? nullptr : item.caption.c_str());
  }
  fw.systemItems = wanted;
}

void Win32FormRenderer::HandleMenuSelect(FormWindow& fw, WPARAM wParam, LPARAM lParam) {
  const UINT flags = HIWORD(wParam);
  const HMENU menu = reinterpret_cast<HMENU>(lParam);
  if (!fw.form->MenuSelect) return;
  if (flags == 0xFFFF && !menu) {
    fw.form->MenuSelect(nullptr, -1);
  } else if (flags & MF_SYSMENU) {
    fw.form->MenuSelect(nullptr, (flags & MF_POPUP) ? 0 : static_cast<int>(LOWORD(wParam)));
  } else if (flags & MF_POPUP) {
    const auto it = fw.subMenus.find(GetSubMenu(menu, LOWORD(wParam)));
    fw.form->MenuSelect(it == fw.subMenus.end() ? nullptr : it->second, -1);
  } else {
    fw.form->MenuSelect(fw.form->Menus().FindByCommand(LOWORD(wParam)), -1);
  }
}

}  // namespace tapestrel
