// A 1024x768 screen at 15 twips per pixel, a fixed machine, and a single-instance mark
// that a test can say is already taken.
#pragma once

#include "platform/desktop.h"

namespace tapestrel {

class MemoryDesktop : public Desktop {
 public:
  long ScreenWidth() override { return screenWidth; }
  long ScreenHeight() override { return screenHeight; }
  int TwipsPerPixel() override { return 15; }
  std::string PlatformText() override { return "Windows NT 5.1 (build 2600)"; }
  std::string ProcessorText() override { return "x86 family 6"; }
  MemoryStatus Memory() override { return {42, 512ull << 20, 256ull << 20, 1024ull << 20, 768ull << 20}; }

  long screenWidth = 1024 * 15;
  long screenHeight = 768 * 15;
};

class MemoryProcesses : public Processes {
 public:
  bool ClaimSingleInstance() override { return !anotherRunning; }
  bool anotherRunning = false;
};

}  // namespace tapestrel
