#include "desktop/hot_key.h"

#include "core/main_view.h"
#include "core/options.h"

namespace tapestrel {

namespace {
struct Named {
  int code;
  const char* name;
};
// F1 and F3 cannot be chosen.
constexpr Named kNames[] = {{123, "F12"}, {122, "F11"}, {121, "F10"}, {120, "F9"}, {119, "F8"}, {118, "F7"},
                            {117, "F6"},  {116, "F5"},  {115, "F4"},  {113, "F2"}, {8, "<--"},  {9, "Tab"},
                            {106, "*"},   {107, "+"},   {109, "-"},   {110, "."},  {111, "/"}};
}  // namespace

std::optional<std::string> HotKeyName(int keyCode) {
  for (const Named& n : kNames)
    if (n.code == keyCode) return std::string(n.name);
  if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')) return std::string(1, static_cast<char>(keyCode));
  if (keyCode >= 96 && keyCode <= 105) return std::string(1, static_cast<char>('0' + keyCode - 96));  // the keypad's digits
  return std::nullopt;
}

std::optional<HotKeyChoice> HotKeyEntry(int keyCode, int shift) {
  if (shift & 4) return std::nullopt;
  const std::optional<std::string> name = HotKeyName(keyCode);
  if (!name) return HotKeyChoice{0, 0, "None"};
  if (shift & 1) return HotKeyChoice{1, keyCode, "Shift+" + *name};
  if (shift & 2) return HotKeyChoice{2, keyCode, "Ctrl+" + *name};
  return HotKeyChoice{0, keyCode, *name};
}

std::string HotKeyText(int modifier, int code) {
  const std::optional<std::string> name = HotKeyName(code);
  if (!name || code == 0) return "None";
  return (modifier == 1 ? "Shift+" : modifier == 2 ? "Ctrl+" : "") + *name;
}

bool HotKeyCheck(const Options& o, bool blocked, MainView& view, int keyCode, int modifier, long x, long y,
                 bool atPointer) {
  if (blocked) return false;
  if (o.HotKeyModifier == 0 && o.HotKeyCode == 0) return false;
  if (modifier != o.HotKeyModifier || keyCode != o.HotKeyCode) return false;
  view.ShowPopUp(x, y, atPointer);
  return true;
}

}  // namespace tapestrel
