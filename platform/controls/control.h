// The base of every control of the control model: a plain object holding what the
// program sets and reads, with slots for the events the user raises. Setting a property
// tells the owning form's renderer; events fire for user actions only, except where a
// control says otherwise next to its property.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tapestrel {

class Form;

enum class ControlKind {
  TextBox, ComboBox, CheckBox, OptionButton, CommandButton, Label, Frame, Timer, StatusBar, Toolbar,
  PictureBox, DirListBox, DriveListBox, SpinButton, ScrollBar, TabStrip, ImageList, ListView, ListBox
};

// What changed, for the renderer.
enum class ControlProperty {
  Text, Bounds, Visible, Enabled, Value, Items, ListIndex, ToolTip, Font, Columns, View, Panels, Buttons,
  Interval, Selection, Path, Parent, DroppedDown, ItemImage
};

// Shift-state bits of key and mouse events.
namespace shift {
inline constexpr int Shift = 1;
inline constexpr int Ctrl = 2;
inline constexpr int Alt = 4;
}  // namespace shift

struct Font {
  std::string name = "MS Sans Serif";
  int size = 8;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

class Control {
 public:
  Control(Form& form, ControlKind kind, std::string name, int index = -1);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Form& Parent() const { return form_; }
  ControlKind Kind() const { return kind_; }
  const std::string& Name() const { return name_; }
  int Index() const { return index_; }

  long Left() const { return left_; }
  long Top() const { return top_; }
  long Width() const { return width_; }
  long Height() const { return height_; }
  void Move(long left, long top, long width, long height);
  void SetHeight(long height) { Move(left_, top_, width_, height); }
  void SetWidth(long width) { Move(left_, top_, width, height_); }

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  const std::string& ToolTipText() const { return toolTip_; }
  void SetToolTipText(const std::string& text);
  const Font& GetFont() const { return font_; }
  void SetFont(const Font& font);
  // The control this one sits in (a frame, a picture box, a toolbar), or none.
  Control* Container() const { return container_; }
  void SetContainer(Control* container) { container_ = container; }

  // Gives this control the keyboard focus.
  void SetFocus();

  // Raised by the renderer (and by tests standing in for the user).
  std::function<void()> GotFocus;
  std::function<void()> LostFocus;
  std::function<void(int& keyCode, int shift)> KeyDown;
  std::function<void(int& keyAscii)> KeyPress;
  std::function<void(int& keyCode, int shift)> KeyUp;
  std::function<void(int button, int shift, long x, long y)> MouseDown;
  std::function<void(int button, int shift, long x, long y)> MouseMove;
  std::function<void(int button, int shift, long x, long y)> MouseUp;
  // Files and folders dropped on the control from the shell, by their paths; set
  // AcceptsDrops before the form loads.
  bool AcceptsDrops = false;
  // In a window with dialog keys, Tab, Enter and the arrow keys still reach this
  // control's own key handlers (a box that takes any key as its value).
  bool WantsAllKeys = false;
  std::function<void(const std::vector<std::string>& paths)> FilesDropped;

  // The renderer reports a size it decided (a toolbar's or status bar's own height),
  // without an echo back to it.
  void UserSized(long width, long height);

  // The renderer's own handle for this control.
  void* native = nullptr;

 protected:
  void Changed(ControlProperty property);

 private:
  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  long left_ = 0;
  long top_ = 0;
  long width_ = 1215;
  long height_ = 375;
  bool visible_ = true;
  bool enabled_ = true;
  std::string toolTip_;
  Font font_;
  Control* container_ = nullptr;
};

// Calls an event slot when the program has connected one.
template <class Slot, class... Args>
void Raise(const Slot& slot, Args&&... args) {
  if (slot) slot(std::forward<Args>(args)...);
}

}  // namespace tapestrel
