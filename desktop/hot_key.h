// The desktop hot key that opens the pop-up menu from anywhere (F12 unless the user
// chose another): how the options dialog's hot-key box names and takes a key, and the
// test the program's windows make on each key-down.
#pragma once

#include <optional>
#include <string>

namespace tapestrel {

class MainView;
struct Options;

struct HotKeyChoice {
  int modifier = 0;  // 0 none, 1 Shift, 2 Ctrl
  int code = 0;      // virtual-key code; both 0: no hot key
  std::string text;  // as the box shows it: "F12", "Shift+K", "None"
};

// The key name the box shows ("F12", "<--", "K", "*"), or none for a key that cannot be
// the hot key.
std::optional<std::string> HotKeyName(int keyCode);
// The box's key-down: the new hot key and its text; none when the key leaves it as it
// was (Alt held). `shift` holds the key-event bits (1 Shift, 2 Ctrl, 4 Alt).
std::optional<HotKeyChoice> HotKeyEntry(int keyCode, int shift);
// The text for a stored hot key.
std::string HotKeyText(int modifier, int code);
// Opens the pop-up menu when the key is the hot key (not while the options dialog shows,
// where it may be being changed, nor over a modal box); answers whether it did.
// The notification-area menu opens when the key is the hot key and nothing `blocked` it
// (the options dialog or a box the program waits on).
bool HotKeyCheck(const Options& options, bool blocked, MainView& view, int keyCode, int modifier, long x, long y,
                 bool atPointer = false);

}  // namespace tapestrel
