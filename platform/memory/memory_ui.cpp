#include "platform/memory/memory_ui.h"

#include <utility>

namespace tapestrel {

namespace {
// The answer a user gives by pressing Enter: the first button of the box.
// An unscripted box is answered with its first button, as Enter would; a Retry/Cancel
// box with Cancel, so that a test that does not ask for retries does not retry forever.
int defaultAnswer(int style) {
  static constexpr int firstButton[] = {mb::IdOk, mb::IdOk, mb::IdAbort, mb::IdYes, mb::IdYes, mb::IdCancel};
  const int buttons = style & 0xF;
  return buttons < 6 ? firstButton[buttons] : mb::IdOk;
}
}  // namespace

int MemoryUi::MsgBox(const std::string& prompt, int style, const std::string& title) {
  messages_.push_back({prompt, style, title});
  const ModalScope open(*this);
  // A message box lets events run while it is open, as a fill does between files.
  if (auto pending = std::exchange(whilePending, nullptr)) pending();
  if (answers_.empty()) return defaultAnswer(style);
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

}  // namespace tapestrel
