// Menu items of the control model. A form's menus form a tree: the top-level items of
// the menu bar (or of pop-up menus, which are hidden top-level items) and their
// children. Each item that does something carries a command identifier; the renderer
// turns the user's choice into that item's Click.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tapestrel {

class Form;

// A keyboard shortcut: a virtual-key code and shift-state bits (1 Shift, 2 Ctrl, 4 Alt).
struct Shortcut {
  int key = 0;
  int modifiers = 0;
  bool empty() const { return key == 0; }
  bool operator==(const Shortcut&) const = default;
};

// The text shown for a shortcut in a menu: "Ctrl+F", "Shift+Del", "F5", "Alt+Bksp".
std::string ShortcutText(const Shortcut& shortcut);

enum class MenuProperty { Caption, Checked, Enabled, Visible, Items };

class Menu {
 public:
  Menu(Form& form, std::string name, int index, Menu* parent);
  Menu(const Menu&) = delete;
  Menu& operator=(const Menu&) = delete;

  const std::string& Name() const { return name_; }
  int Index() const { return index_; }
  Menu* ParentMenu() const { return parent_; }
  const std::vector<Menu*>& Items() const { return items_; }
  Form& Owner() const { return form_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool IsSeparator() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // One of a group of which one is chosen: its check shows as a radio mark.
  bool RadioMark() const { return radioMark_; }
  void SetRadioMark(bool radio) { radioMark_ = radio; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  int CommandId() const { return commandId_; }
  void SetCommandId(int id) { commandId_ = id; }
  const Shortcut& GetShortcut() const { return shortcut_; }
  void SetShortcut(const Shortcut& shortcut) { shortcut_ = shortcut; }
  const std::string& HelpLine() const { return helpLine_; }
  void SetHelpLine(const std::string& line) { helpLine_ = line; }
  int HelpContextID() const { return helpContext_; }
  void SetHelpContextID(int context) { helpContext_ = context; }

  // The user chose the item (or a test stands in for the user).
  std::function<void()> Click;

  // Adds a child at position `at` among the children (-1: at the end).
  void AddChild(Menu& child, int at = -1);
  int PositionOf(const Menu& child) const;
  void RemoveChild(Menu& child);

  void* native = nullptr;

 private:
  void Changed(MenuProperty property);

  Form& form_;
  std::string name_;
  int index_;
  Menu* parent_;
  std::vector<Menu*> items_;
  std::string caption_;
  bool checked_ = false;
  bool radioMark_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  int commandId_ = 0;
  Shortcut shortcut_;
  std::string helpLine_;
  int helpContext_ = 0;
};

// All menu items of a form, found by name and index ("mnuExit", 1), in creation order.
class MenuSet {
 public:
  explicit MenuSet(Form& form) : form_(form) {}
  Menu& Add(const std::string& name, int index, Menu* parent, int at = -1);
  void Remove(Menu& menu);
  Menu* Find(const std::string& name, int index = -1) const;
  Menu& Get(const std::string& name, int index = -1) const;
  Menu* FindByCommand(int commandId) const;
  const std::vector<Menu*>& TopLevel() const { return topLevel_; }
  std::vector<Menu*> All() const;

 private:
  Form& form_;
  std::vector<std::unique_ptr<Menu>> menus_;
  std::vector<Menu*> topLevel_;
  std::map<std::pair<std::string, int>, Menu*> byName_;
};

// An indexed array of like menu items served by one handler that takes the index.
class MenuArray {
 public:
  MenuArray(const MenuSet& set, std::string name) : set_(set), name_(std::move(name)) {}
  Menu& operator[](int index) const { return set_.Get(name_, index); }
  bool Exists(int index) const { return set_.Find(name_, index) != nullptr; }
  // The highest index present, or -1.
  int UBound() const;

 private:
  const MenuSet& set_;
  std::string name_;
};

}  // namespace tapestrel
