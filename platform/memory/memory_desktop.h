// A 1024x768 screen at 15 twips per pixel, a fixed machine, and a single-instance mark
// that a test can say is already taken.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace tapestrel {

class MemoryDesktop : public Desktop {
 public:
  long ScreenWidth() override { return screenWidth; }
  long ScreenHeight() override { return screenHeight; }
  int TwipsPerPixel() override { return 15; }
  std::string PlatformText() override { return platformText; }
  std::string platformText = "Windows NT 5.1 (build 2600)";
  std::string ProcessorText() override { return "x86 family 6"; }
  MemoryStatus Memory() override { return {42, 512ull << 20, 256ull << 20, 1024ull << 20, 768ull << 20}; }

  // Esc "pressed" after this many askings (never when negative), and held from then on;
  // or pressed once (`escapeOnce`), which the next asking hears and forgets.
  bool KeyPressed(int virtualKey) override {
    if (virtualKey == 27 && escapeOnce) return !(escapeOnce = false);
    return virtualKey == 27 && escapeAfter >= 0 && askings++ >= escapeAfter;
  }
  bool escapeOnce = false;
  int ColorDepth() override { return colorDepth; }
  // The monitors a test gives; without them, one primary monitor the size of the screen.
  std::vector<Monitor> monitors;
  std::uint32_t DesktopColor() override { return desktopColor; }
  std::uint32_t desktopColor = 0x3A6EA5;
  std::vector<Monitor> Monitors() override {
    if (!monitors.empty()) return monitors;
    const PixelRect screen{0, 0, screenWidth / TwipsPerPixel(), screenHeight / TwipsPerPixel()};
    return {{screen, screen, true}};
  }
  // What the desktop shows: the last wallpaper set, unless a test says it was lost.
  std::string CurrentWallpaper() override { return wallpaperLost || wallpapers.empty() ? "" : wallpapers.back(); }
  bool wallpaperLost = false;
  long SetDesktopWallpaper(const std::string& path) override {
    wallpaperLost = false;
    wallpapers.push_back(path);
    return 1;
  }

  // Metafiles are drawn by the system's graphics; here there is none.
  std::optional<Bitmap> DrawMetafile(const std::string&) override { return std::nullopt; }

  int ShowCursor(bool show) override { return show ? ++cursorCounter : --cursorCounter; }
  std::optional<std::string> NonClientFontName() override { return nonClientFont; }
  // Every character 90 twips wide (a tab eight of them), every line 195 high.
  std::pair<long, long> TextSize(const std::string& text, const std::string&, int) override;

  bool KeyDown(int virtualKey) override { return keysDown.count(virtualKey) != 0; }
  std::pair<long, long> CursorPosition() override { return cursor; }
  void* ForegroundWindow() override { return foreground; }
  bool ForegroundIsOwn() override { return foregroundOwn; }
  std::string WindowClassAt(long, long) override { return classUnderCursor; }
  bool TitledWindowVisible(const std::string& title) override { return visibleTitles.count(title) != 0; }
  // The memory windows' client areas start at the screen's corner.
  std::pair<long, long> ClientPoint(void*, long x, long y) override { return {x * 15, y * 15}; }

  bool SetScreenSaveActive(bool active) override {
    screenSaveActiveCalls.push_back(active);
    return true;
  }
  void PostSystemCommand(void*, unsigned command) override { systemCommands.push_back(command); }

  std::vector<bool> screenSaveActiveCalls;
  std::vector<unsigned> systemCommands;
  std::set<int> keysDown;
  std::pair<long, long> cursor{0, 0};
  void* foreground = nullptr;
  bool foregroundOwn = true;
  std::string classUnderCursor = "Shell_TrayWnd";
  std::set<std::string> visibleTitles;
  int cursorCounter = 0;
  std::optional<std::string> nonClientFont = "Tahoma";
  long screenWidth = 1024 * 15;
  long screenHeight = 768 * 15;
  int colorDepth = 24;
  int escapeAfter = -1;
  int askings = 0;
  // Every path handed over as the wallpaper, in order.
  std::vector<std::string> wallpapers;
};

class MemoryProcesses : public Processes {
 public:
  bool ClaimSingleInstance() override { return !anotherRunning; }
  bool anotherRunning = false;

  // Each started command line is recorded; `program` stands in for what it runs and
  // answers its exit code (none set: nothing can be started). The process takes
  // `slicesToRun` slices of waiting before it ends by itself.
  RunResult RunAndWait(const std::string& commandLine, bool showNormal, unsigned sliceMs,
                       const std::function<bool()>& keepWaiting) override;
  struct Started {
    std::string commandLine;
    bool showNormal;
  };
  std::vector<Started> started;
  std::function<int(const std::string& commandLine)> program;
  int slicesToRun = 0;

  // Programs started without waiting, in order; `startFailure` (when set) refuses them.
  std::optional<RuntimeError> Start(const std::string& commandLine, int showCommand) override;
  struct Launched {
    std::string commandLine;
    int showCommand;
  };
  std::vector<Launched> launched;
  std::optional<RuntimeError> startFailure;
};

}  // namespace tapestrel
