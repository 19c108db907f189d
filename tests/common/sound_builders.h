// Sound files made byte by byte for the media tests: plain wave files of silence.
#pragma once

#include <string>

namespace tapestrel::sounds {

// A mono wave file of 8-bit samples at 8000 a second, lasting `milliseconds`.
std::string WaveFile(long milliseconds);

}  // namespace tapestrel::sounds
