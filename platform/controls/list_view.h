// A list of items in columns, shown as large icons, small icons, a list, details or
// thumbnails (small pictures the program makes of the items' files).
// The renderer draws the items from here on demand, so that tens of thousands of them
// cost nothing to show; adding many items inside BeginUpdate/EndUpdate tells the
// renderer only once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/controls/control.h"

namespace tapestrel {

class ImageList;
class ThumbnailList;

struct ListItem {
  std::string text;
  std::vector<std::string> subItems;  // columns 1 and on
  std::string icon;                   // key in the image lists
  bool selected = false;

  // Column 0 is the text; columns past the sub-items read as empty.
  const std::string& Column(int column) const;
  void SetSubItem(int column, const std::string& value);
};

class ListView : public Control {
 public:
  enum View { LargeIcons = 0, SmallIcons = 1, List = 2, Details = 3, Thumbnails = 4 };
  static constexpr int kViews = 5;
  struct Column {
    std::string header;
    long width = 1440;
  };

  ListView(Form& form, std::string name, int index = -1) : Control(form, ControlKind::ListView, std::move(name), index) {}

  ImageList* Icons = nullptr;       // large (32x32)
  ImageList* SmallImages = nullptr; // small (16x16)
  ThumbnailList* Pictures = nullptr; // the Thumbnails view's pictures
  // Asked by the renderer for each item it draws in the Thumbnails view: the slot of
  // Pictures that shows it, or -1 for its icon. Answering may start the picture's making.
  std::function<int(int index)> ThumbnailFor;

  const std::vector<Column>& Columns() const { return columns_; }
  void AddColumn(const std::string& header, long width);
  void SetColumnWidth(int column, long width);
  View GetView() const { return view_; }
  void SetView(View view);

  const std::vector<ListItem>& Items() const { return items_; }
  int Count() const { return static_cast<int>(items_.size()); }
  ListItem& Item(int index) { return items_.at(static_cast<std::size_t>(index)); }
  int AddItem(ListItem item);
  void RemoveItem(int index);
  void Clear();
  // Items may be changed in place between these two; the renderer hears of it once.
  void BeginUpdate() { ++updating_; }
  void EndUpdate();
  // Tells the renderer that items changed in place.
  void ItemsChanged() { Changed(ControlProperty::Items); }

  // Sorts the items by the text of a column, letter case ignored; the order of equal
  // texts is kept.
  void Sort(int column, bool descending);
  bool Sorted() const { return sorted_; }
  int SortKey() const { return sortKey_; }
  bool SortDescending() const { return descending_; }

  int SelectedCount() const;
  int FocusedIndex() const { return focused_; }
  void SetFocusedIndex(int index);
  void SelectOnly(int index);
  void EnsureVisible(int index);
  int VisibleRequest() const { return visibleRequest_; }
  // Tells the renderer that an item's picture changed (-1: any item's may have).
  void RedrawItem(int index);
  int RedrawRequest() const { return redrawRequest_; }

  // What the user did, reported by the renderer.
  void UserSelected(int index, bool selected);
  void UserFocused(int index) { focused_ = index; }
  std::function<void(int column)> ColumnClick;
  std::function<void(int index)> ItemClick;
  std::function<void()> DblClick;

 private:
  void ItemsAltered();
  std::vector<Column> columns_;
  std::vector<ListItem> items_;
  View view_ = LargeIcons;
  int focused_ = -1;
  int visibleRequest_ = -1;
  int redrawRequest_ = -1;
  int updating_ = 0;
  bool pending_ = false;
  bool sorted_ = false;
  int sortKey_ = 0;
  bool descending_ = false;
};

}  // namespace tapestrel
