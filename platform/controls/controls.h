// The simple controls of the control model. Each holds its properties and event slots;
// which of its property setters also raise an event is said next to the setter.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/bitmap.h"
#include "platform/controls/control.h"

namespace tapestrel {

class TextBox : public Control {
 public:
  TextBox(Form& form, std::string name, int index = -1) : Control(form, ControlKind::TextBox, std::move(name), index) {}
  const std::string& Text() const { return text_; }
  // Setting the text raises no Change; the user's typing does (UserTyped).
  void SetText(const std::string& text);
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  void SetSelection(int start, int length);
  void UserTyped(const std::string& text);
  std::function<void()> Change;
  // Set before the form loads: several lines ("\n" between them), and no typing.
  bool MultiLine = false;
  bool Locked = false;

 private:
  std::string text_;
  int selStart_ = 0;
  int selLength_ = 0;
};

class ComboBox : public Control {
 public:
  enum Style { DropDownCombo = 0, SimpleCombo = 1, DropDownList = 2 };
  ComboBox(Form& form, std::string name, int index = -1, Style style = DropDownCombo)
      : Control(form, ControlKind::ComboBox, std::move(name), index), style_(style) {}
  Style GetStyle() const { return style_; }
  const std::vector<std::string>& List() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  void AddItem(const std::string& item, int at = -1);
  void RemoveItem(int index);
  void Clear();
  const std::string& Text() const { return text_; }
  void SetText(const std::string& text);
  int ListIndex() const { return listIndex_; }
  // Choosing an entry by program sets the text too and raises Click, as the control does.
  void SetListIndex(int index);
  void UserChose(int index) { SetListIndex(index); }
  void UserTyped(const std::string& text);
  // Whether the drop-down list is open. While it is, stepping through it only shows the
  // highlighted entry as the text: nothing is chosen (no Click) until the list closes
  // on a pick, or a key handler decides.
  bool Dropped() const { return dropped_; }
  void UserDropped(bool dropped) { dropped_ = dropped; }
  void UserHighlighted(int index);
  void CloseDropDown();
  std::function<void()> Click;
  // The mouse over the combo's edit field (MouseMove is the rest of it).
  std::function<void(int button, int shift, long x, long y)> EditMouseMove;
  std::function<void()> Change;
  std::function<void()> DropDown;

 private:
  Style style_;
  std::vector<std::string> items_;
  std::string text_;
  int listIndex_ = -1;
  bool dropped_ = false;
};

class ListBox : public Control {
 public:
  ListBox(Form& form, std::string name, int index = -1) : Control(form, ControlKind::ListBox, std::move(name), index) {}
  const std::vector<std::string>& List() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  void AddItem(const std::string& item, int at = -1);
  void RemoveItem(int index);
  void Clear();
  bool Sorted = false;

 private:
  std::vector<std::string> items_;
};

class CommandButton : public Control {
 public:
  CommandButton(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::CommandButton, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  std::function<void()> Click;
  // The window's cancel button: Esc presses it.
  bool Cancel = false;

 private:
  std::string caption_;
};

// Caption-bearing controls that raise nothing of their own: labels and frames.
class Label : public Control {
 public:
  Label(Form& form, std::string name, int index = -1, ControlKind kind = ControlKind::Label)
      : Control(form, kind, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  std::function<void()> Click;

 private:
  std::string caption_;
};

class Frame : public Label {
 public:
  Frame(Form& form, std::string name, int index = -1) : Label(form, std::move(name), index, ControlKind::Frame) {}
};

class CheckBox : public Control {
 public:
  CheckBox(Form& form, std::string name, int index = -1) : Control(form, ControlKind::CheckBox, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  int Value() const { return value_; }
  // 0 unchecked, 1 checked, 2 grey. Setting a new value raises Click, as the control does.
  void SetValue(int value);
  std::function<void()> Click;

 private:
  std::string caption_;
  int value_ = 0;
};

class OptionButton : public Control {
 public:
  OptionButton(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::OptionButton, std::move(name), index) {}
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Value() const { return value_; }
  // Setting it on clears the other buttons of its array (its group) and raises Click, as
  // the control does.
  void SetValue(bool value);
  std::function<void()> Click;

 private:
  std::string caption_;
  bool value_ = false;
};

class Timer : public Control {
 public:
  Timer(Form& form, std::string name, int index = -1) : Control(form, ControlKind::Timer, std::move(name), index) {
    SetEnabled(false);
  }
  int Interval() const { return interval_; }
  void SetInterval(int milliseconds);
  // One tick: raised by the renderer's system timer, or by a test.
  void Tick() { Raise(Elapsed); }
  std::function<void()> Elapsed;

 private:
  int interval_ = 0;
};

class PictureBox : public Control {
 public:
  PictureBox(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::PictureBox, std::move(name), index) {}
  // The picture the box holds (none: empty).
  const std::shared_ptr<const Bitmap>& Picture() const { return picture_; }
  void SetPicture(std::shared_ptr<const Bitmap> picture);
  // 0 the arrow, 9 the west-east sizing arrows, 11 the hourglass.
  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int pointer) { mousePointer_ = pointer; }
  // One of the system's icons shown in the box (32514 the question mark; 0 none); set
  // before the form loads.
  int SystemIcon = 0;
  // The colour behind the picture (0x00RRGGBB; negative: the system's face colour).
  long BackColor = -1;
  // A text printed at the box's top left corner over its back colour, in its font.
  const std::string& PrintedText() const { return printedText_; }
  void SetPrintedText(std::string text);
  std::function<void()> Click;
  std::function<void()> DblClick;

 private:
  int mousePointer_ = 0;
  std::shared_ptr<const Bitmap> picture_;
  std::string printedText_;
};

// One line of a folder list: the folder's name and how deep it sits.
struct FolderEntry {
  std::string name;
  std::string path;
  int level = 0;
  bool operator==(const FolderEntry&) const = default;
};

// The folder tree of a drive: the open folder's ancestors, the open folder and its
// sub-folders. The program fills the lines when it sets the path.
class DirListBox : public Control {
 public:
  DirListBox(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::DirListBox, std::move(name), index) {}
  const std::string& Path() const { return path_; }
  const std::vector<FolderEntry>& Entries() const { return entries_; }
  // Sets the path and its lines; raises Change when the path is a new one.
  void SetPath(const std::string& path, std::vector<FolderEntry> entries);
  int ListIndex() const { return listIndex_; }
  void SetListIndex(int index);
  std::function<void()> Change;
  std::function<void()> Click;
  std::function<void()> DblClick;

 private:
  std::string path_;
  std::vector<FolderEntry> entries_;
  int listIndex_ = -1;
};

class DriveListBox : public Control {
 public:
  DriveListBox(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::DriveListBox, std::move(name), index) {}
  const std::vector<std::string>& List() const { return drives_; }
  void SetList(std::vector<std::string> drives);
  const std::string& Drive() const { return drive_; }
  // Choosing another drive raises Change, as the control does.
  void SetDrive(const std::string& drive);
  std::function<void()> Change;

 private:
  std::vector<std::string> drives_;
  std::string drive_;
};

class SpinButton : public Control {
 public:
  SpinButton(Form& form, std::string name, int index = -1)
      : Control(form, ControlKind::SpinButton, std::move(name), index) {}
  std::function<void()> SpinUp;
  std::function<void()> SpinDown;
};

class ScrollBar : public Control {
 public:
  ScrollBar(Form& form, std::string name, int index = -1) : Control(form, ControlKind::ScrollBar, std::move(name), index) {}
  // Set before the form loads.
  bool Vertical = false;
  int Min = 0;
  int Max = 32767;
  int SmallChange = 1;
  int LargeChange = 1;
  int Value() const { return value_; }
  // A new value raises Change, as the control does.
  void SetValue(int value);
  std::function<void()> Change;

 private:
  int value_ = 0;
};

class TabStrip : public Control {
 public:
  TabStrip(Form& form, std::string name, int index = -1) : Control(form, ControlKind::TabStrip, std::move(name), index) {}
  std::vector<std::string> Tabs;
  int SelectedTab() const { return selected_; }
  // Selecting another tab raises Click, as the control does.
  void SelectTab(int tab);
  std::function<void()> Click;

 private:
  int selected_ = 0;
};

// Images found by key. The source says where a picture comes from: "glyph:<key>" for the
// program's own drawings, "icon:<file>,<index>" for an icon in a file, "stock:<name>" for
// a picture the system provides.
class ImageList : public Control {
 public:
  struct Image {
    std::string key;
    std::string source;
  };
  ImageList(Form& form, std::string name, int size)
      : Control(form, ControlKind::ImageList, std::move(name)), size_(size) {
    SetVisible(false);
  }
  int ImageSize() const { return size_; }
  const std::vector<Image>& Images() const { return images_; }
  void Add(const std::string& key, const std::string& source);
  bool Has(const std::string& key) const;
  int IndexOf(const std::string& key) const;
  void Clear();

 private:
  int size_;
  std::vector<Image> images_;
};

}  // namespace tapestrel
