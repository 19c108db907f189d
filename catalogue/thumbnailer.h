// Makes the small pictures of the file lists' Thumbnails view. Nothing is made until the
// list draws an item; the making then goes on a few pictures at a time between the
// window's events, so that the window keeps answering. The items drawn last come first:
// the screen the user is looking at fills before anything scrolled past.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>

namespace tapestrel {

class Clock;
class Gvbox;
class ListView;
class ThumbnailList;
struct ListItem;

class Thumbnailer {
 public:
  // The side of a thumbnail at 96 dots an inch; larger on screens of more.
  static constexpr int kCellPixels = 96;

  Thumbnailer(Gvbox& gvbox, Clock& clock, ThumbnailList& pictures);

  // The side of a cell on a screen of so many twips a pixel (15 at 96 DPI).
  static int CellFor(int twipsPerPixel);
  // What a picture is known by: its file with the size and date the list shows, so that
  // a file changed since gets a new picture when the list is read again.
  static std::string KeyOf(const ListItem& item);

  // The slot showing a list's item, or -1 for its icon. An item whose picture has not
  // been made yet is put in line for it.
  int Want(ListView& list, int index);
  bool Pending() const { return !line_.empty(); }
  // Makes pictures in line for at least one and at most about `milliseconds`, telling
  // each list to draw its item again; answers whether more are in line.
  bool MakeSome(std::uint32_t milliseconds);
  // Forgets what is in line (Esc, another folder): what the list draws next comes in
  // line again.
  void Stop();

 private:
  struct Wanted {
    ListView* list;
    int index;
    std::string key;
    std::string path;
  };
  // (round, order): the latest round first, then the order in which the items were drawn.
  using Place = std::pair<std::uint64_t, std::uint64_t>;
  struct Later {
    bool operator()(const Place& a, const Place& b) const {
      return a.first != b.first ? a.first > b.first : a.second < b.second;
    }
  };

  bool CanShow(const std::string& name);
  void Make(const Wanted& wanted);
  void Forget(const std::string& key);

  Gvbox& gvbox_;
  Clock& clock_;
  ThumbnailList& pictures_;
  std::map<Place, Wanted, Later> line_;
  std::unordered_map<std::string, Place> placeOf_;
  std::unordered_map<std::string, bool> kinds_;  // extension: whether it can be decoded
  std::uint64_t round_ = 0;
  std::uint64_t order_ = 0;
};

}  // namespace tapestrel
