#include "platform/controls/form.h"

namespace tapestrel {

void Form::Changed(FormProperty property) {
  if (renderer_ && loaded_) renderer_->FormChanged(*this, property);
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
  if (renderer_) renderer_->FormUnloaded(*this);
  return true;
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

}  // namespace tapestrel
