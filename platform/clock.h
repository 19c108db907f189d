// Date, time and the random source. Tests replace it to make time and chance repeatable.
#pragma once

#include <cstdint>

#include "platform/text.h"

namespace tapestrel {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual DateTime Now() = 0;
  // Milliseconds since an arbitrary start; wraps after about 49 days.
  virtual std::uint32_t TickCount() = 0;
  // Restarts the random sequence from a given starting value.
  virtual void Randomize(std::uint32_t start) = 0;
  // The next random number in [0, 1).
  virtual double Random() = 0;
};

}  // namespace tapestrel
