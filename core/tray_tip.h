// The notification-area icon's tip, which takes the caption's news while no window shows.
#pragma once

#include <string>

namespace tapestrel {

class TrayTip {
 public:
  virtual ~TrayTip() = default;
  virtual void TrayModify(const std::string& tip) = 0;
};

}  // namespace tapestrel
