// The screen and the machine: sizes, and what the About box tells of the system.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/bitmap.h"
#include "platform/runtime_error.h"

namespace tapestrel {

// A rectangle of the virtual screen in pixels: right and bottom lie just outside it.
// Monitors left of or above the primary one have negative coordinates.
struct PixelRect {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
  long Width() const { return right - left; }
  long Height() const { return bottom - top; }
  bool operator==(const PixelRect&) const = default;
};

// One monitor of the desktop: all of it, the part the taskbar and docked bars leave
// (the work area), and whether it is the primary one, whose top left is (0, 0).
struct Monitor {
  PixelRect bounds;
  PixelRect workArea;
  bool primary = false;
  bool operator==(const Monitor&) const = default;
};

struct MemoryStatus {
  int loadPercent = 0;
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalPageFile = 0;
  std::uint64_t availablePageFile = 0;
};

class Desktop {
 public:
  virtual ~Desktop() = default;
  // The screen in twips, and twips per screen pixel.
  virtual long ScreenWidth() = 0;
  virtual long ScreenHeight() = 0;
  virtual int TwipsPerPixel() = 0;
  // "Windows NT 6.1 (build 7601)" and the like.
  virtual std::string PlatformText() = 0;
  virtual std::string ProcessorText() = 0;
  virtual MemoryStatus Memory() = 0;
  // Whether a key (virtual-key code) is down now, or was pressed since the last asking;
  // asked again within a few milliseconds, the answer may be that of the last asking.
  virtual bool KeyPressed(int virtualKey) = 0;
  // Bits per pixel of the display (planes times bits per pixel of a plane).
  virtual int ColorDepth() = 0;
  // Every monitor of the desktop, the primary one first; never none.
  virtual std::vector<Monitor> Monitors() = 0;
  // The desktop's own colour, shown where no wallpaper lies (0x00RRGGBB).
  virtual std::uint32_t DesktopColor() = 0;
  // Makes a BMP file the desktop wallpaper, writing the user's profile and telling every
  // window; answers what the system answered.
  virtual long SetDesktopWallpaper(const std::string& path) = 0;
  // The file the desktop shows as its wallpaper now, as the system tells it ("" none).
  virtual std::string CurrentWallpaper() = 0;
  // Draws a placeable metafile (the whole file) into a picture of its own size at the
  // screen's resolution; none when it cannot be drawn.
  virtual std::optional<Bitmap> DrawMetafile(const std::string& bytes) = 0;
  // One step of the system's pointer display counter up (show) or down; answers the
  // counter: the pointer shows while it is 0 or more.
  virtual int ShowCursor(bool show) = 0;
  // The face of the font the system uses for captions and menus; none when the system
  // will not tell.
  virtual std::optional<std::string> NonClientFontName() = 0;
  // Width and height in twips of a text in a font face and point size: tabs expanded,
  // one line per line break.
  virtual std::pair<long, long> TextSize(const std::string& text, const std::string& face, int points) = 0;

  // What a fast timer samples of the whole desktop, whichever program is in front.
  // Whether a key (virtual-key code; 1, 2 and 4 the mouse buttons) is down now.
  virtual bool KeyDown(int virtualKey) = 0;
  // The pointer on the screen, in pixels.
  virtual std::pair<long, long> CursorPosition() = 0;
  // The window in front, and whether it is one of this program's.
  virtual void* ForegroundWindow() = 0;
  virtual bool ForegroundIsOwn() = 0;
  // The class of the window under a point of the screen (pixels).
  virtual std::string WindowClassAt(long x, long y) = 0;
  // Whether a top-level window of that title exists and shows.
  virtual bool TitledWindowVisible(const std::string& title) = 0;
  // The system's screen-saver switch, written to the user's profile and told to every
  // window; answers whether the system took it.
  virtual bool SetScreenSaveActive(bool active) = 0;
  // Posts a system command (WM_SYSCOMMAND) to a window: SC_SCREENSAVE starts the
  // installed screen saver at once.
  virtual void PostSystemCommand(void* window, unsigned command) = 0;
  // A point of the screen (pixels) in a window's client area, in twips.
  virtual std::pair<long, long> ClientPoint(void* window, long x, long y) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Claims the program's single-instance mark; false when another running copy holds it.
  virtual bool ClaimSingleInstance() = 0;

  enum class RunResult { Ended, NotStarted, Stopped };
  // Starts a command line (its program found as the system finds one), its window
  // shown normally or minimised without taking the focus, and waits until it ends.
  // Every `sliceMs` of waiting `keepWaiting` is asked; when it says no, the process is
  // ended (Stopped).
  virtual RunResult RunAndWait(const std::string& commandLine, bool showNormal, unsigned sliceMs,
                               const std::function<bool()>& keepWaiting) = 0;
  // Starts a command line as a program of its own and goes on at once; the failure, as
  // the user is told it, when it could not be started. `showCommand` is a show_window value.
  virtual std::optional<RuntimeError> Start(const std::string& commandLine, int showCommand) = 0;
};

}  // namespace tapestrel
