#include "platform/controls/thumbnail_list.h"

#include <algorithm>

namespace tapestrel {

void ThumbnailList::SetSize(int pixels) {
  pixels = std::max(pixels, 1);
  if (pixels == size_) return;
  size_ = pixels;
  const std::size_t cell = static_cast<std::size_t>(pixels) * static_cast<std::size_t>(pixels) * 4;
  capacity_ = static_cast<int>(std::max<std::size_t>(budget_ / cell, 1));
  Clear();
}

void ThumbnailList::Clear() {
  slots_.clear();
  order_.clear();
  byKey_.clear();
  failed_.clear();
}

int ThumbnailList::Use(const std::string& key) {
  const auto found = byKey_.find(key);
  if (found == byKey_.end()) return -1;
  order_.splice(order_.end(), order_, found->second.second);
  return found->second.first;
}

int ThumbnailList::SlotOf(const std::string& key) const {
  const auto found = byKey_.find(key);
  return found == byKey_.end() ? -1 : found->second.first;
}

int ThumbnailList::Store(const std::string& key, Bitmap picture) {
  if (capacity_ == 0) return -1;  // no size yet
  int slot = Use(key);
  if (slot < 0) {
    if (static_cast<int>(slots_.size()) < capacity_) {
      slot = static_cast<int>(slots_.size());
      slots_.emplace_back();
    } else {
      slot = order_.front();
      order_.pop_front();
      byKey_.erase(slots_[slot].key);
    }
    order_.push_back(slot);
    byKey_[key] = {slot, std::prev(order_.end())};
  }
  failed_.erase(key);
  Slot& s = slots_[slot];
  s.key = key;
  s.picture = std::move(picture);
  s.serial = ++serials_;
  return slot;
}

}  // namespace tapestrel
