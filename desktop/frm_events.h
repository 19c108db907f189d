// The hidden events window: it carries the hook on the main window's messages and a
// 50 ms timer that samples the mouse, the hot key and the window in front. From the
// samples it lets the hot key and a right click on the bare desktop open the pop-up menu
// while another program is in front, and tells the windows that subscribe when the
// pointer enters, leaves or rests on one of their controls, moves or clicks, when a key
// goes down, when the focus moves and when the program comes to the front or leaves it.
#pragma once

#include <functional>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/form.h"
#include "platform/controls/message_hook.h"

namespace tapestrel {

class Desktop;
class MainView;
struct Options;

// What a window hears from the events window; each call has a default that ignores it.
class EventListener {
 public:
  virtual ~EventListener() = default;
  virtual void Event_MouseEnter(Control&) {}
  virtual void Event_MouseExit(Control&) {}
  virtual void Event_TooltipShow(Control&) {}
  virtual void Event_TooltipHide(Control&) {}
  // Button or key state, modifiers (1 Shift, 2 Ctrl, 4 Alt) and the pointer (pixels).
  virtual void Event_MouseMove(int, int, long, long) {}
  virtual void Event_MouseDown(int, int, long, long) {}
  virtual void Event_MouseUp(int, int, long, long) {}
  virtual void Event_KeyPress(int, int, long, long) {}
  virtual void Event_GotFocus(Control&) {}
  virtual void Event_LostFocus(Control&) {}
  virtual void Event_AppActivate() {}
  virtual void Event_AppDeActivate() {}
  virtual void Event_Move() {}
};

class FrmEvents : public Form {
 public:
  static constexpr int kTipDelay = 1000;  // milliseconds

  FrmEvents(Desktop& desktop, const Options& options, MainView& view);

  // Wired by the program: the hot key heard while another program has the keyboard.
  std::function<bool(int keyCode, int modifier)> HotKeyPressed;

  Timer tmrEvents{*this, "tmrEvents"};
  MessageHook Msghook;

  // One sample of the desktop and what follows from it.
  void Sample();
  // 0 nothing, 1 a button pressed, 2 released, 3 the pointer moved, 4 the hot key's state
  // changed: the last sample's event.
  int EventCode() const { return eventCode_; }
  // The window stays subscribed until it unsubscribes (when it unloads).
  void Subscribe(Form& window, EventListener& listener);
  void Unsubscribe(Form& window);
  // The control under a point of a window's client area (twips), the innermost one.
  static Control* ControlAt(const Form& window, long x, long y);

 private:
  struct Subscriber {
    Form* window;
    EventListener* listener;
  };
  void Act(int previousButtons, int previousHotKey);
  void TellPointer(Subscriber* front);
  Subscriber* FrontSubscriber();

  // Collaborators.
  Desktop& desktop_;
  const Options& options_;
  MainView& view_;
  std::vector<Subscriber> subscribers_;
  bool busy_ = false;
  int buttons_ = 0;
  long x_ = 0, y_ = 0;
  int hotKeyState_ = 0;
  int modifiers_ = 0;
  int eventCode_ = 0;
  void* foreground_ = nullptr;
  bool foregroundOwn_ = false;
  bool activeBefore_ = false;
  Form* frontBefore_ = nullptr;
  long frontLeft_ = 0, frontTop_ = 0;
  Control* under_ = nullptr;
  Control* focused_ = nullptr;
  int tipCountdown_ = -1;
  bool tipShown_ = false;
};

}  // namespace tapestrel
