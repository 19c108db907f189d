#include "platform/controls/list_view.h"

#include <algorithm>
#include <cctype>

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
  sorted_ = false;
  ItemsAltered();
}

void ListView::Sort(int column, bool descending) {
  std::vector<std::pair<std::string, std::size_t>> keys;
  keys.reserve(items_.size());
  for (std::size_t i = 0; i < items_.size(); ++i) {
    std::string key = items_[i].Column(column);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    keys.emplace_back(std::move(key), i);
  }
  std::stable_sort(keys.begin(), keys.end(), [descending](const auto& a, const auto& b) {
    return descending ? b.first < a.first : a.first < b.first;
  });
  std::vector<ListItem> sortedItems;
  sortedItems.reserve(items_.size());
  int focused = -1;
  for (const auto& [key, from] : keys) {
    if (static_cast<int>(from) == focused_) focused = static_cast<int>(sortedItems.size());
    sortedItems.push_back(std::move(items_[from]));
  }
  items_ = std::move(sortedItems);
  focused_ = focused;
  sorted_ = true;
  sortKey_ = column;
  descending_ = descending;
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

void ListView::RedrawItem(int index) {
  redrawRequest_ = index;
  Changed(ControlProperty::ItemImage);
}

void ListView::UserSelected(int index, bool selected) {
  if (index < 0) {
    for (ListItem& item : items_) item.selected = selected;
  } else if (index < Count()) {
    items_[index].selected = selected;
  }
}

}  // namespace tapestrel
