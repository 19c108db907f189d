#include "catalogue/thumbnailer.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/clock.h"
#include "platform/controls/list_view.h"
#include "platform/controls/thumbnail_list.h"
#include "platform/gvbox.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tapestrel {

namespace {

// Columns of the file lists: the folder, and the size and date shown.
constexpr int kFolderColumn = 1;
constexpr int kSizeColumn = 4;
constexpr int kDateColumn = 5;

// A whole picture's size brought within a square cell, its shape kept; never enlarged.
PictureSize withinCell(PictureSize whole, int cell) {
  if (whole.width <= cell && whole.height <= cell) return whole;
  const double scale = std::min(static_cast<double>(cell) / whole.width, static_cast<double>(cell) / whole.height);
  return {std::clamp(static_cast<int>(std::lround(whole.width * scale)), 1, cell),
          std::clamp(static_cast<int>(std::lround(whole.height * scale)), 1, cell)};
}

}  // namespace

Thumbnailer::Thumbnailer(Gvbox& gvbox, Clock& clock, ThumbnailList& pictures)
    : gvbox_(gvbox), clock_(clock), pictures_(pictures) {}

int Thumbnailer::CellFor(int twipsPerPixel) {
  // 1440 twips an inch: 15 a pixel at 96 DPI.
  return twipsPerPixel > 0 ? kCellPixels * 15 / twipsPerPixel : kCellPixels;
}

std::string Thumbnailer::KeyOf(const ListItem& item) {
  return item.Column(kFolderColumn) + item.text + '|' + item.Column(kSizeColumn) + '|' + item.Column(kDateColumn);
}

bool Thumbnailer::CanShow(const std::string& name) {
  const auto dot = name.find_last_of('.');
  if (dot == std::string::npos || dot + 1 == name.size()) return false;
  const std::string extension = ToLower(name.substr(dot + 1));
  const auto known = kinds_.find(extension);
  if (known != kinds_.end()) return known->second;
  // Asking the system walks its codecs: each kind is asked once.
  const bool can = FormatOfExtension(extension).has_value() || gvbox_.SystemDecodes(extension);
  kinds_.emplace(extension, can);
  return can;
}

int Thumbnailer::Want(ListView& list, int index) {
  if (index < 0 || index >= list.Count()) return -1;
  const ListItem& item = list.Items()[static_cast<std::size_t>(index)];
  std::string key = KeyOf(item);
  const int slot = pictures_.Use(key);
  if (slot >= 0 || pictures_.Failed(key) || !CanShow(item.text)) return slot;
  Forget(key);
  const Place place{round_, order_++};
  placeOf_[key] = place;
  line_.emplace(place, Wanted{&list, index, std::move(key), item.Column(kFolderColumn) + item.text});
  // Only so many wait: those drawn longest ago leave the line, so that pictures made for
  // items long scrolled past never push out those on the screen.
  const std::size_t most = static_cast<std::size_t>(std::max(pictures_.Capacity() / 2, 1));
  while (line_.size() > most) {
    auto last = std::prev(line_.end());
    placeOf_.erase(last->second.key);
    line_.erase(last);
  }
  return -1;
}

void Thumbnailer::Forget(const std::string& key) {
  const auto found = placeOf_.find(key);
  if (found == placeOf_.end()) return;
  line_.erase(found->second);
  placeOf_.erase(found);
}

bool Thumbnailer::MakeSome(std::uint32_t milliseconds) {
  // What the list asks for from here on belongs to a later round, and goes first.
  ++round_;
  const std::uint32_t start = clock_.TickCount();
  while (!line_.empty()) {
    Wanted wanted = std::move(line_.begin()->second);
    line_.erase(line_.begin());
    placeOf_.erase(wanted.key);
    // An item the list no longer holds where it was (another folder, another order) is
    // asked for again if the list draws it.
    const ListView& list = *wanted.list;
    if (wanted.index >= list.Count() || KeyOf(list.Items()[static_cast<std::size_t>(wanted.index)]) != wanted.key) continue;
    Make(wanted);
    if (clock_.TickCount() - start >= milliseconds) break;
  }
  return !line_.empty();
}

void Thumbnailer::Make(const Wanted& wanted) {
  DecodeOptions options;
  options.dctMethod = 1;  // fast integer: at the smallest scales it makes no difference
  options.smooth = true;
  const int cell = pictures_.Size();
  options.fit = [cell](PictureSize whole) { return withinCell(whole, cell); };
  try {
    Bitmap picture = gvbox_.Decode(wanted.path, options);
    if (picture.Empty()) throw RuntimeError{decode_error::kPictureLoadFailed, "Empty picture"};
    if (picture.width > cell || picture.height > cell) {
      const PictureSize size = withinCell({picture.width, picture.height}, cell);
      picture = ShrinkSmooth(picture, size.width, size.height);
    }
    pictures_.Store(wanted.key, std::move(picture));
  } catch (const RuntimeError&) {
    // A damaged picture, or one gone since the list was read: it shows its type's icon.
    pictures_.StoreFailed(wanted.key);
  } catch (const std::exception&) {
    pictures_.StoreFailed(wanted.key);
  }
  wanted.list->RedrawItem(wanted.index);
}

void Thumbnailer::Stop() {
  line_.clear();
  placeOf_.clear();
}

}  // namespace tapestrel
