// A watch on one window's messages, as a hook control gives it: for each watched
// message of the hooked window the program's handler hears the message and its two
// parameters first, may set a result, and says whether the window's own handling goes on.
#pragma once

#include <cstdint>
#include <functional>
#include <set>

namespace tapestrel {

class Form;

class MessageHook {
 public:
  Form* HookedWindow = nullptr;
  std::set<unsigned> Watched;
  bool Watches(const Form& form, unsigned message) const { return HookedWindow == &form && Watched.count(message) != 0; }
  // passOn starts true; the result counts only when the handler sets passOn to false.
  std::function<void(unsigned message, std::uintptr_t wParam, std::intptr_t lParam, long& result, bool& passOn)> Message;
};

}  // namespace tapestrel
