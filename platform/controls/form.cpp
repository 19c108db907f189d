#include "platform/controls/form.h"

#include <utility>

namespace tapestrel {

Form::Form(std::string name, long width, long height) : name_(std::move(name)), width_(width), height_(height) {}

void Form::Changed(FormProperty property) {
  if (Rendered()) renderer_->FormChanged(*this, property);
}

void Form::ControlChanged(Control& control, ControlProperty property) {
  if (Rendered()) renderer_->ControlChanged(control, property);
}

void Form::MenuChanged(Menu& menu, MenuProperty property) {
  if (Rendered()) renderer_->MenuChanged(menu, property);
}

void Form::FocusControl(Control& control) {
  Control* previous = activeControl_;
  if (previous == &control) return;
  activeControl_ = &control;
  if (Rendered()) {
    renderer_->Focus(control);  // the renderer reports the move back through UserFocused
    return;
  }
  if (previous) Raise(previous->LostFocus);
  Raise(control.GotFocus);
}

void Form::UserFocused(Control* control) {
  Control* previous = activeControl_;
  activeControl_ = control;
  if (previous == control) return;
  if (previous) Raise(previous->LostFocus);
  if (control) Raise(control->GotFocus);
}

void Form::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(FormProperty::Caption);
}

void Form::Move(long left, long top, long width, long height) {
  startPosition_ = StartUpPosition::Manual;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(FormProperty::Bounds);
  Form_Resize();
}

void Form::Show() {
  Load();
  if (visible_) return;
  visible_ = true;
  Changed(FormProperty::Visible);
  Form_Shown();
}

void Form::ShowModal() {
  Load();
  const bool wasModal = std::exchange(modal_, true);
  struct Restore {
    bool& modal;
    bool was;
    ~Restore() { modal = was; }
  } restore{modal_, wasModal};
  if (Rendered()) {
    renderer_->RunModal(*this);
    return;
  }
  visible_ = true;
  if (WhileModal) WhileModal();
  if (visible_ && loaded_ && UserClose()) return;
  visible_ = false;
}

void Form::Hide() {
  if (!visible_) return;
  visible_ = false;
  Changed(FormProperty::Visible);
}

void Form::SetWindowState(WindowState state) {
  if (state == state_) return;
  state_ = state;
  Changed(FormProperty::WindowState);
  Form_Resize();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (renderer_) renderer_->FormLoaded(*this);
  Form_Load();
}

bool Form::Unload() {
  if (!loaded_) return true;
  if (!Form_QueryUnload()) return false;
  Form_Unload();
  visible_ = false;
  loaded_ = false;
  activeControl_ = nullptr;
  if (renderer_) renderer_->FormUnloaded(*this);
  return true;
}

void Form::PopupMenu(Menu& menu, Menu* defaultItem) {
  if (Rendered()) renderer_->PopupMenu(*this, menu, defaultItem, true, 0, 0);
  else if (WhilePopup) WhilePopup(menu, defaultItem);
}

void Form::PopupMenuAt(Menu& menu, long x, long y, Menu* defaultItem) {
  if (Rendered()) renderer_->PopupMenu(*this, menu, defaultItem, false, x, y);
  else if (WhilePopup) WhilePopup(menu, defaultItem);
}

void Form::UserMoved(long left, long top, long width, long height) {
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (resized) Form_Resize();
}

void Form::UserChangedState(WindowState state) {
  if (state == state_) return;
  state_ = state;
  Form_Resize();
}

void Form::UserFrame(long frameWidth, long frameHeight) {
  frameWidth_ = frameWidth;
  frameHeight_ = frameHeight;
}

void Form::SetPicture(std::shared_ptr<const Bitmap> picture, std::string printedText) {
  picture_ = std::move(picture);
  printedText_ = std::move(printedText);
  Changed(FormProperty::Picture);
}

void Form::SetTopMost(bool topMost) {
  if (TopMost == topMost) return;
  TopMost = topMost;
  Changed(FormProperty::TopMost);
}

}  // namespace tapestrel
