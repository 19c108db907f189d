#include "platform/controls/bars.h"

#include <stdexcept>

namespace tapestrel {

void StatusBar::AddPanel(const std::string& key, long width, bool autoSize) {
  panels_.push_back({key, "", width, autoSize});
  changedPanel_ = -1;
  Changed(ControlProperty::Panels);
}

void StatusBar::ClearPanels() {
  panels_.clear();
  changedPanel_ = -1;
  Changed(ControlProperty::Panels);
}

int StatusBar::IndexOf(const std::string& key) const {
  for (std::size_t i = 0; i < panels_.size(); ++i)
    if (panels_[i].key == key) return static_cast<int>(i);
  return -1;
}

const std::string& StatusBar::PanelText(const std::string& key) const {
  const int i = IndexOf(key);
  if (i < 0) throw std::out_of_range("no status panel " + key);
  return panels_[i].text;
}

void StatusBar::SetPanelText(const std::string& key, const std::string& text) {
  const int i = IndexOf(key);
  if (i < 0 || panels_[i].text == text) return;
  panels_[i].text = text;
  changedPanel_ = i;
  Changed(ControlProperty::Text);
}

void Toolbar::SetWrappable(bool wrappable) {
  if (wrappable == wrappable_) return;
  wrappable_ = wrappable;
  Changed(ControlProperty::Value);
}

void Toolbar::Relayout() {
  long x = 0;
  for (Button& b : buttons_) {
    b.left = x;
    x += b.style == Style::Separator ? SeparatorWidth : b.style == Style::Placeholder ? b.width : ButtonWidth;
  }
}

void Toolbar::AddButton(const std::string& key, const std::string& image, const std::string& toolTip, Style style,
                        long width) {
  buttons_.push_back({key, image, toolTip, style, false, true, width, 0});
  Relayout();
  Changed(ControlProperty::Buttons);
}

void Toolbar::ClearButtons() {
  buttons_.clear();
  Changed(ControlProperty::Buttons);
}

int Toolbar::IndexOf(const std::string& key) const {
  for (std::size_t i = 0; i < buttons_.size(); ++i)
    if (buttons_[i].key == key) return static_cast<int>(i);
  return -1;
}

const Toolbar::Button& Toolbar::ButtonOf(const std::string& key) const {
  const int i = IndexOf(key);
  if (i < 0) throw std::out_of_range("no toolbar button " + key);
  return buttons_[i];
}

void Toolbar::SetToolTip(const std::string& key, const std::string& toolTip) {
  const int i = IndexOf(key);
  if (i < 0 || buttons_[i].toolTip == toolTip) return;
  buttons_[i].toolTip = toolTip;
  Changed(ControlProperty::ToolTip);
}

void Toolbar::SetPressed(const std::string& key, bool pressed) {
  const int i = IndexOf(key);
  if (i < 0 || buttons_[i].pressed == pressed) return;
  buttons_[i].pressed = pressed;
  Changed(ControlProperty::Value);
}

void Toolbar::SetButtonEnabled(const std::string& key, bool enabled) {
  const int i = IndexOf(key);
  if (i < 0 || buttons_[i].enabled == enabled) return;
  buttons_[i].enabled = enabled;
  Changed(ControlProperty::Enabled);
}

void Toolbar::UserPlacedButton(int index, long left, long width) {
  if (index < 0 || index >= static_cast<int>(buttons_.size())) return;
  buttons_[index].left = left;
  if (buttons_[index].style == Style::Placeholder) buttons_[index].width = width;
}

}  // namespace tapestrel
