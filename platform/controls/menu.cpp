#include "platform/controls/menu.h"

#include <algorithm>
#include <stdexcept>

#include "platform/controls/form.h"

namespace tapestrel {

namespace {

// Key names as menus show them; letters and digits stand for themselves.
std::string keyName(int key) {
  static const std::map<int, const char*> names{
      {0x08, "Bksp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"}, {0x21, "PgUp"},
      {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"},  {0x25, "Left"}, {0x26, "Up"},     {0x27, "Right"},
      {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"}};
  if (const auto it = names.find(key); it != names.end()) return it->second;
  if (key >= 0x70 && key <= 0x87) return "F" + std::to_string(key - 0x6F);
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  return "?";
}

}  // namespace

std::string ShortcutText(const Shortcut& shortcut) {
  if (shortcut.empty()) return {};
  std::string text;
  if (shortcut.modifiers & 2) text += "Ctrl+";
  if (shortcut.modifiers & 1) text += "Shift+";
  if (shortcut.modifiers & 4) text += "Alt+";
  return text + keyName(shortcut.key);
}

Menu::Menu(Form& form, std::string name, int index, Menu* parent)
    : form_(form), name_(std::move(name)), index_(index), parent_(parent) {}

void Menu::Changed(MenuProperty property) { form_.MenuChanged(*this, property); }

void Menu::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(MenuProperty::Caption);
}

void Menu::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(MenuProperty::Checked);
}

void Menu::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Changed(MenuProperty::Enabled);
}

void Menu::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(MenuProperty::Visible);
}

void Menu::AddChild(Menu& child, int at) {
  if (at < 0 || at > static_cast<int>(items_.size())) items_.push_back(&child);
  else items_.insert(items_.begin() + at, &child);
  Changed(MenuProperty::Items);
}

int Menu::PositionOf(const Menu& child) const {
  const auto it = std::find(items_.begin(), items_.end(), &child);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void Menu::RemoveChild(Menu& child) {
  items_.erase(std::remove(items_.begin(), items_.end(), &child), items_.end());
  Changed(MenuProperty::Items);
}

Menu& MenuSet::Add(const std::string& name, int index, Menu* parent, int at) {
  menus_.push_back(std::make_unique<Menu>(form_, name, index, parent));
  Menu& menu = *menus_.back();
  byName_[{name, index}] = &menu;
  if (parent) parent->AddChild(menu, at);
  else topLevel_.push_back(&menu);
  return menu;
}

void MenuSet::Remove(Menu& menu) {
  if (menu.ParentMenu()) menu.ParentMenu()->RemoveChild(menu);
  else topLevel_.erase(std::remove(topLevel_.begin(), topLevel_.end(), &menu), topLevel_.end());
  byName_.erase({menu.Name(), menu.Index()});
  menus_.erase(std::remove_if(menus_.begin(), menus_.end(), [&](const auto& m) { return m.get() == &menu; }),
               menus_.end());
}

Menu* MenuSet::Find(const std::string& name, int index) const {
  const auto it = byName_.find({name, index});
  return it == byName_.end() ? nullptr : it->second;
}

Menu& MenuSet::Get(const std::string& name, int index) const {
  Menu* menu = Find(name, index);
  if (!menu) throw std::out_of_range("no menu item " + name + "(" + std::to_string(index) + ")");
  return *menu;
}

Menu* MenuSet::FindByCommand(int commandId) const {
  for (const auto& menu : menus_)
    if (menu->CommandId() == commandId && commandId != 0) return menu.get();
  return nullptr;
}

std::vector<Menu*> MenuSet::All() const {
  std::vector<Menu*> all;
  for (const auto& menu : menus_) all.push_back(menu.get());
  return all;
}

int MenuArray::UBound() const {
  int highest = -1;
  for (int i = 0; set_.Find(name_, i); ++i) highest = i;
  return highest;
}

}  // namespace tapestrel
