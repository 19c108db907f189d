#include "platform/memory/memory_clock.h"

namespace tapestrel {

double MemoryClock::Random() {
  // A 64-bit linear congruential step; the top 53 bits make the fraction.
  state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
  return static_cast<double>(state_ >> 11) / static_cast<double>(1ULL << 53);
}

}  // namespace tapestrel
