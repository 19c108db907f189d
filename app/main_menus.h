// The main window's menus as data: the menu bar, the three pop-up menus, and the items
// the program adds to the window's system menu.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/menu.h"

namespace tapestrel {

// Builds every menu item of the main window into `menus`, with caption, command,
// shortcut, help line and help context.
void BuildMainMenus(MenuSet& menus);

// Help lines of the system menu and of menus without a line of their own.
inline constexpr const char* kSystemMenuHelp = "Contains commands for manipulating Windows and for this program.";
inline constexpr const char* kOpenMenuHelp = "Press Alt or F10 to remove this menu.";

}  // namespace tapestrel
