#include "desktop/frm_events.h"

#include <algorithm>
#include <tuple>

#include "core/main_view.h"
#include "core/options.h"
#include "platform/desktop.h"

namespace tapestrel {

namespace {
constexpr int kInterval = 50;
constexpr int kLeft = 1, kRight = 2, kMiddle = 4;              // mouse buttons, by virtual key and bit
constexpr int kShiftKey = 16, kCtrlKey = 17, kAltKey = 18;     // virtual keys of the modifiers
enum Event { None = 0, Pressed = 1, Released = 2, Moved = 3, HotKeyChanged = 4 };

bool isVisual(const Control& c) { return c.Kind() != ControlKind::Timer && c.Kind() != ControlKind::ImageList; }
}  // namespace

FrmEvents::FrmEvents(Desktop& desktop, const Options& options, MainView& view)
    : Form("Events", 2160, 480), desktop_(desktop), options_(options), view_(view) {
  Sizable = false;
  Borderless = true;
  SetStartUpPosition(StartUpPosition::Manual);
  tmrEvents.SetInterval(kInterval);
  tmrEvents.SetEnabled(true);
  tmrEvents.Elapsed = [this] { Sample(); };
}

void FrmEvents::Subscribe(Form& window, EventListener& listener) {
  Unsubscribe(window);
  subscribers_.push_back({&window, &listener});
}

void FrmEvents::Unsubscribe(Form& window) {
  std::erase_if(subscribers_, [&](const Subscriber& s) { return s.window == &window; });
  if (frontBefore_ == &window) {
    frontBefore_ = nullptr;
    activeBefore_ = false;
    under_ = focused_ = nullptr;
  }
}

Control* FrmEvents::ControlAt(const Form& window, long x, long y) {
  Control* found = nullptr;
  int foundDepth = -1;
  for (Control* c : window.Controls()) {
    if (!isVisual(*c) || !c->Visible()) continue;
    long left = c->Left(), top = c->Top();
    int depth = 0;
    bool shown = true;
    for (Control* in = c->Container(); in; in = in->Container(), ++depth) {
      left += in->Left();
      top += in->Top();
      shown = shown && in->Visible();
    }
    if (!shown || x < left || y < top || x >= left + c->Width() || y >= top + c->Height()) continue;
    if (depth > foundDepth) {
      found = c;
      foundDepth = depth;
    }
  }
  return found;
}

FrmEvents::Subscriber* FrmEvents::FrontSubscriber() {
  for (Subscriber& s : subscribers_)
    if (s.window->Visible() && s.window->native && s.window->native == foreground_) return &s;
  return nullptr;
}

void FrmEvents::Sample() {
  // A tick that comes while the last one's work still runs (an open menu) is passed.
  if (busy_) return;
  busy_ = true;
  struct Done {
    bool& busy;
    ~Done() { busy = false; }
  } done{busy_};
  const int previousButtons = buttons_, previousHotKey = hotKeyState_;
  const long previousX = x_, previousY = y_;
  buttons_ = (desktop_.KeyDown(kLeft) ? 1 : 0) | (desktop_.KeyDown(kRight) ? 2 : 0) | (desktop_.KeyDown(kMiddle) ? 4 : 0);
  std::tie(x_, y_) = desktop_.CursorPosition();
  const int hotKey = options_.HotKeyCode;
  hotKeyState_ = hotKey != 0 && desktop_.KeyDown(hotKey) ? hotKey : 0;
  modifiers_ = (desktop_.KeyDown(kShiftKey) ? 1 : 0) | (desktop_.KeyDown(kCtrlKey) ? 2 : 0) | (desktop_.KeyDown(kAltKey) ? 4 : 0);
  if (buttons_ != previousButtons) eventCode_ = (buttons_ & ~previousButtons) ? Pressed : Released;
  else if (x_ != previousX || y_ != previousY) eventCode_ = Moved;
  else if (hotKeyState_ != previousHotKey) eventCode_ = HotKeyChanged;
  else eventCode_ = None;
  foreground_ = desktop_.ForegroundWindow();
  foregroundOwn_ = desktop_.ForegroundIsOwn();
  // The hot key is looked at in every sample: a move in the same sample must not hide it.
  Act(previousButtons, previousHotKey);
  TellPointer(FrontSubscriber());
}

void FrmEvents::Act(int previousButtons, int previousHotKey) {
  // In the program's own windows their key-down handlers see the hot key.
  if (foregroundOwn_) return;
  if (hotKeyState_ != 0 && previousHotKey == 0) {
    if (HotKeyPressed) HotKeyPressed(hotKeyState_, modifiers_);
  } else if (eventCode_ == Pressed && (buttons_ & kRight) && !(previousButtons & kRight) &&
             desktop_.WindowClassAt(x_, y_) == "#32769" && !desktop_.TitledWindowVisible("PROGRAM MANAGER")) {
    view_.ShowPopUp(0, 0, true);  // a right click on the bare desktop_
  }
}

void FrmEvents::TellPointer(Subscriber* front) {
  Subscriber* before = nullptr;
  for (Subscriber& s : subscribers_)
    if (s.window == frontBefore_) before = &s;
  // Activation, and the window in front moving.
  if (front && (!activeBefore_ || front->window != frontBefore_)) front->listener->Event_AppActivate();
  if (!front && activeBefore_ && before) before->listener->Event_AppDeActivate();
  if (front && front == before && (front->window->Left() != frontLeft_ || front->window->Top() != frontTop_))
    front->listener->Event_Move();
  // The focus between controls.
  Control* focused = front ? front->window->ActiveControl() : nullptr;
  if (focused != focused_) {
    if (focused_ && before) before->listener->Event_LostFocus(*focused_);
    if (focused) front->listener->Event_GotFocus(*focused);
    focused_ = focused;
  }
  // The pointer's events and the control under it, with its tip after a rest.
  Control* under = nullptr;
  if (front) {
    EventListener& l = *front->listener;
    switch (eventCode_) {
      case Moved: l.Event_MouseMove(buttons_, modifiers_, x_, y_); break;
      case Pressed: l.Event_MouseDown(buttons_, modifiers_, x_, y_); break;
      case Released: l.Event_MouseUp(buttons_, modifiers_, x_, y_); break;
      case HotKeyChanged: l.Event_KeyPress(hotKeyState_, modifiers_, x_, y_); break;
      default: break;
    }
    const auto [cx, cy] = desktop_.ClientPoint(front->window->native, x_, y_);
    under = ControlAt(*front->window, cx, cy);
  }
  if (under != under_) {
    if (under_ && before) {
      if (tipShown_) before->listener->Event_TooltipHide(*under_);
      before->listener->Event_MouseExit(*under_);
    }
    if (under) front->listener->Event_MouseEnter(*under);
    under_ = under;
    tipShown_ = false;
    tipCountdown_ = kTipDelay;
  } else if (under_ && !tipShown_ && (tipCountdown_ -= kInterval) <= 0) {
    front->listener->Event_TooltipShow(*under_);
    tipShown_ = true;
  }
  activeBefore_ = front != nullptr;
  frontBefore_ = front ? front->window : nullptr;
  if (front) {
    frontLeft_ = front->window->Left();
    frontTop_ = front->window->Top();
  }
}

}  // namespace tapestrel
