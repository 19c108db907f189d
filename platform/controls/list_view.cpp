#include "platform/controls/list_view.h"

#include <algorithm>

namespace tapestrel {

const std::string& ListItem::Column(int column) const {
  static const std::string empty;
  if (column == 0) return text;
  const auto i = static_cast<std::size_t>(column - 1);
  return column > 0 && i < subItems.size() ? subItems[i] : empty;
}

void ListItem::SetSubItem(int column, const std::string& value) {
  if (column <= 0) return;
  const auto i = static_cast<std::size_t>(column - 1);
  if (subItems.size() <= i) subItems.resize(i + 1);
  subItems[i] = value;
}

void ListView::AddColumn(const std::string& header, long width) {
  columns_.push_back({header, width});
  Changed(ControlProperty::Columns);
}

void ListView::SetColumnWidth(int column, long width) {
  if (column < 0 || column >= static_cast<int>(columns_.size())) return;
  columns_[column].width = width;
  Changed(ControlProperty::Columns);
}

void ListView::SetView(View view) {
  if (view == view_) return;
  view_ = view;
  Changed(ControlProperty::View);
}

void ListView::ItemsAltered() {
  if (updating_ > 0) pending_ = true;
  else Changed(ControlProperty::Items);
}

void ListView::EndUpdate() {
  if (updating_ > 0 && --updating_ == 0 && pending_) {
    pending_ = false;
    Changed(ControlProperty::Items);
  }
}

int ListView::AddItem(ListItem item) {
  items_.push_back(std::move(item));
  ItemsAltered();
  return Count() - 1;
}

void ListView::RemoveItem(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  if (focused_ == index) focused_ = -1;
  else if (focused_ > index) --focused_;
  ItemsAltered();
}

void ListView::Clear() {
  items_.clear();
  focused_ = -1;
  ItemsAltered();
}

int ListView::SelectedCount() const {
  return static_cast<int>(std::count_if(items_.begin(), items_.end(), [](const ListItem& i) { return i.selected; }));
}

void ListView::SetFocusedIndex(int index) {
  focused_ = index;
  Changed(ControlProperty::Selection);
}

void ListView::SelectOnly(int index) {
  for (std::size_t i = 0; i < items_.size(); ++i) items_[i].selected = static_cast<int>(i) == index;
  focused_ = index;
  Changed(ControlProperty::Selection);
}

void ListView::EnsureVisible(int index) {
  visibleRequest_ = index;
  Changed(ControlProperty::Selection);
}

void ListView::UserSelected(int index, bool selected) {
  if (index < 0) {
    for (ListItem& item : items_) item.selected = selected;
  } else if (index < Count()) {
    items_[index].selected = selected;
  }
}

}  // namespace tapestrel
