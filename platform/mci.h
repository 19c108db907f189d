// The system's Media Control Interface, spoken to in text commands, and the windows
// its video devices show in.
#pragma once

#include <optional>
#include <string>

namespace tapestrel {

// A window's place on the screen, in pixels.
struct ScreenBox {
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
};

class Mci {
 public:
  virtual ~Mci() = default;
  // Sends one command. `reply` is the caller's buffer: its whole length is offered, and
  // what the device answers is written into it, ended by a zero character. Answers the
  // error code (0 when the command succeeded). Completion notices go to `callbackWindow`.
  virtual unsigned long SendString(const std::string& command, std::string& reply, void* callbackWindow) = 0;
  // The text of an error code written into `text` as above; false when there is none.
  virtual bool ErrorString(unsigned long code, std::string& text) = 0;
  // A video device's window (its handle as the device tells it): where it is, and
  // moving it above every other window to a point of the screen.
  virtual std::optional<ScreenBox> WindowBox(unsigned long window) = 0;
  virtual void PlaceOnTop(unsigned long window, long left, long top) = 0;
};

}  // namespace tapestrel
