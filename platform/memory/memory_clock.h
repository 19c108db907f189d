// A clock that stands still until told to move, and a random source that repeats.
#pragma once

#include <cstdint>

#include "platform/clock.h"

namespace tapestrel {

class MemoryClock : public Clock {
 public:
  DateTime Now() override { return now_; }
  std::uint32_t TickCount() override { return ticks_; }
  void Randomize(std::uint32_t start) override { state_ = start ? start : 1; }
  double Random() override;

  void SetNow(const DateTime& now) { now_ = now; }
  void Advance(std::uint32_t milliseconds) { ticks_ += milliseconds; }

 private:
  DateTime now_{2026, 1, 1, 12, 0, 0};
  std::uint32_t ticks_ = 1000;
  std::uint64_t state_ = 1;
};

}  // namespace tapestrel
