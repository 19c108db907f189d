#include "tests/common/sound_builders.h"

#include "tests/common/picture_builders.h"

namespace tapestrel::sounds {

std::string WaveFile(long milliseconds) {
  constexpr unsigned kRate = 8000;
  const unsigned samples = static_cast<unsigned>(milliseconds) * kRate / 1000;
  using pictures::Le16;
  using pictures::Le32;
  return "RIFF" + Le32(36 + samples) + "WAVE" + "fmt " + Le32(16) + Le16(1) + Le16(1) + Le32(kRate) + Le32(kRate) +
         Le16(1) + Le16(8) + "data" + Le32(samples) + std::string(samples, '\x80');
}

}  // namespace tapestrel::sounds
