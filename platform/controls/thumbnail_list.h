// The small pictures a list shows in its Thumbnails view, each under a key the program
// chooses (a file and its size and date). There are only as many places as a fixed
// amount of memory holds: when all are taken, the picture looked at longest ago gives
// its place up, so a folder of any size costs the same. A picture that could not be
// made is remembered too, so that it shows its type's icon without being tried again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/bitmap.h"

namespace tapestrel {

class ThumbnailList {
 public:
  struct Slot {
    std::string key;
    Bitmap picture;            // at most Size() x Size(), shown centred in its cell
    std::uint64_t serial = 0;  // changes each time the slot takes a new picture
  };

  // The pictures together stay within `budgetBytes` (4 bytes a pixel of a full cell).
  explicit ThumbnailList(std::size_t budgetBytes) : budget_(budgetBytes) {}

  // The side of a cell in pixels. A new size forgets every picture.
  int Size() const { return size_; }
  void SetSize(int pixels);
  int Capacity() const { return capacity_; }

  // The slot holding the key's picture (-1: none), which counts as just looked at.
  int Use(const std::string& key);
  // The same without counting as a look.
  int SlotOf(const std::string& key) const;
  bool Failed(const std::string& key) const { return failed_.count(key) != 0; }

  // Takes a picture no larger than a cell under a key; answers its slot (-1 before a
  // size is set).
  int Store(const std::string& key, Bitmap picture);
  // Remembers that the key's picture could not be made.
  void StoreFailed(const std::string& key) { failed_.insert(key); }

  const std::vector<Slot>& Slots() const { return slots_; }
  void Clear();

 private:
  std::size_t budget_;
  int size_ = 0;
  int capacity_ = 0;
  std::uint64_t serials_ = 0;
  std::vector<Slot> slots_;
  std::list<int> order_;  // slots, the one looked at longest ago first
  std::unordered_map<std::string, std::pair<int, std::list<int>::iterator>> byKey_;
  std::unordered_set<std::string> failed_;
};

}  // namespace tapestrel
