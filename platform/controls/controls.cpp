#include "platform/controls/controls.h"

#include <algorithm>

#include "platform/controls/form.h"

namespace tapestrel {

namespace {
// Inserts at a position, or at the end for -1 or a position past it.
void insertAt(std::vector<std::string>& items, const std::string& item, int at) {
  if (at < 0 || at > static_cast<int>(items.size())) items.push_back(item);
  else items.insert(items.begin() + at, item);
}
}  // namespace

void TextBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  selStart_ = std::min<int>(selStart_, static_cast<int>(text_.size()));
  selLength_ = 0;
  Changed(ControlProperty::Text);
}

void TextBox::SetSelection(int start, int length) {
  selStart_ = std::clamp(start, 0, static_cast<int>(text_.size()));
  selLength_ = std::clamp(length, 0, static_cast<int>(text_.size()) - selStart_);
  Changed(ControlProperty::Selection);
}

void TextBox::UserTyped(const std::string& text) {
  text_ = text;
  selStart_ = static_cast<int>(text.size());
  selLength_ = 0;
  Raise(Change);
}

void ComboBox::AddItem(const std::string& item, int at) {
  insertAt(items_, item, at);
  Changed(ControlProperty::Items);
}

void ComboBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  if (listIndex_ == index) listIndex_ = -1;
  else if (listIndex_ > index) --listIndex_;
  Changed(ControlProperty::Items);
}

void ComboBox::Clear() {
  items_.clear();
  listIndex_ = -1;
  if (style_ == DropDownList) text_.clear();
  Changed(ControlProperty::Items);
}

void ComboBox::SetText(const std::string& text) {
  if (text == text_) return;
  text_ = text;
  const auto it = std::find(items_.begin(), items_.end(), text);
  listIndex_ = it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
  Changed(ControlProperty::Text);
}

void ComboBox::SetListIndex(int index) {
  if (index < -1 || index >= ListCount()) return;
  listIndex_ = index;
  if (index >= 0) text_ = items_[index];
  Changed(ControlProperty::ListIndex);
  if (index >= 0) Raise(Click);
}

void ComboBox::UserHighlighted(int index) {
  if (index < 0 || index >= ListCount()) return;
  listIndex_ = index;
  text_ = items_[index];
}

void ComboBox::CloseDropDown() {
  if (!dropped_) return;
  dropped_ = false;
  Changed(ControlProperty::DroppedDown);
}

void ComboBox::UserTyped(const std::string& text) {
  text_ = text;
  listIndex_ = -1;
  Raise(Change);
}

void ListBox::AddItem(const std::string& item, int at) {
  if (Sorted && at < 0) at = static_cast<int>(std::upper_bound(items_.begin(), items_.end(), item) - items_.begin());
  insertAt(items_, item, at);
  Changed(ControlProperty::Items);
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  Changed(ControlProperty::Items);
}

void ListBox::Clear() {
  items_.clear();
  Changed(ControlProperty::Items);
}

void CommandButton::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(ControlProperty::Text);
}

void Label::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed(ControlProperty::Text);
}

void CheckBox::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed(ControlProperty::Text);
}

void CheckBox::SetValue(int value) {
  if (value == value_) return;
  value_ = value;
  Changed(ControlProperty::Value);
  Raise(Click);
}

void OptionButton::SetCaption(const std::string& caption) {
  caption_ = caption;
  Changed(ControlProperty::Text);
}

void OptionButton::SetValue(bool value) {
  if (value == value_) return;
  value_ = value;
  Changed(ControlProperty::Value);
  if (!value) return;
  // The buttons of one array are one group: choosing one clears the others.
  for (Control* other : Parent().Controls())
    if (other != this && other->Kind() == ControlKind::OptionButton && other->Name() == Name())
      static_cast<OptionButton*>(other)->SetValue(false);
  Raise(Click);
}

void Timer::SetInterval(int milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Changed(ControlProperty::Interval);
}

void PictureBox::SetPicture(std::shared_ptr<const Bitmap> picture) {
  picture_ = std::move(picture);
  Changed(ControlProperty::Value);
}

void PictureBox::SetPrintedText(std::string text) {
  printedText_ = std::move(text);
  Changed(ControlProperty::Value);
}

void DirListBox::SetPath(const std::string& path, std::vector<FolderEntry> entries) {
  const bool changed = path != path_;
  path_ = path;
  entries_ = std::move(entries);
  listIndex_ = -1;
  for (std::size_t i = 0; i < entries_.size(); ++i)
    if (entries_[i].path == path_) listIndex_ = static_cast<int>(i);
  Changed(ControlProperty::Items);
  if (changed) Raise(Change);
}

void DirListBox::SetListIndex(int index) {
  if (index < -1 || index >= static_cast<int>(entries_.size())) return;
  listIndex_ = index;
  Changed(ControlProperty::ListIndex);
}

void DriveListBox::SetList(std::vector<std::string> drives) {
  drives_ = std::move(drives);
  Changed(ControlProperty::Items);
}

void DriveListBox::SetDrive(const std::string& drive) {
  if (drive == drive_) return;
  drive_ = drive;
  Changed(ControlProperty::ListIndex);
  Raise(Change);
}

void ScrollBar::SetValue(int value) {
  value = std::clamp(value, std::min(Min, Max), std::max(Min, Max));
  if (value == value_) return;
  value_ = value;
  Changed(ControlProperty::Value);
  Raise(Change);
}

void TabStrip::SelectTab(int tab) {
  if (tab == selected_ || tab < 0 || tab >= static_cast<int>(Tabs.size())) return;
  selected_ = tab;
  Changed(ControlProperty::Value);
  Raise(Click);
}

void ImageList::Add(const std::string& key, const std::string& source) {
  images_.push_back({key, source});
  Changed(ControlProperty::Items);
}

bool ImageList::Has(const std::string& key) const { return IndexOf(key) >= 0; }

int ImageList::IndexOf(const std::string& key) const {
  for (std::size_t i = 0; i < images_.size(); ++i)
    if (images_[i].key == key) return static_cast<int>(i);
  return -1;
}

void ImageList::Clear() {
  images_.clear();
  Changed(ControlProperty::Items);
}

}  // namespace tapestrel
