#include "platform/controls/control.h"

#include "platform/controls/form.h"

namespace tapestrel {

Control::Control(Form& form, ControlKind kind, std::string name, int index)
    : form_(form), kind_(kind), name_(std::move(name)), index_(index) {
  form_.Register(*this);
}

void Control::Changed(ControlProperty property) { form_.ControlChanged(*this, property); }

void Control::Move(long left, long top, long width, long height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Changed(ControlProperty::Bounds);
}

void Control::UserSized(long width, long height) {
  width_ = width;
  height_ = height;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(ControlProperty::Visible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(ControlProperty::Enabled);
}

void Control::SetToolTipText(const std::string& text) {
  if (text == toolTip_) return;
  toolTip_ = text;
  Changed(ControlProperty::ToolTip);
}

void Control::SetFont(const Font& font) {
  if (font == font_) return;
  font_ = font;
  Changed(ControlProperty::Font);
}

void Control::SetFocus() { form_.FocusControl(*this); }

}  // namespace tapestrel
