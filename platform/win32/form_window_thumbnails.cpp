#include "platform/win32/form_window_parts.h"

#include <algorithm>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/controls/thumbnail_list.h"

namespace tapestrel {

using namespace win32_detail;

// The Thumbnails view of a list: an image list of cells the pictures' size, holding the
// list's type icons and then the pictures the program made.

namespace {

// A cell's colour image and its mask (set bits: transparent), made on memory device
// contexts and handed to the image list, which copies them.
class Cell {
 public:
  explicit Cell(int size) : size_(size) {
    const HDC screen = GetDC(nullptr);
    imageDc_ = CreateCompatibleDC(screen);
    maskDc_ = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    image_ = CreateDIBSection(screen, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    ReleaseDC(nullptr, screen);
    mask_ = CreateBitmap(size, size, 1, 1, nullptr);
    oldImage_ = SelectObject(imageDc_, image_);
    oldMask_ = SelectObject(maskDc_, mask_);
    // All transparent (mask white, image black) until something is drawn.
    PatBlt(maskDc_, 0, 0, size, size, WHITENESS);
    PatBlt(imageDc_, 0, 0, size, size, BLACKNESS);
  }
  ~Cell() {
    SelectObject(imageDc_, oldImage_);
    SelectObject(maskDc_, oldMask_);
    DeleteDC(imageDc_);
    DeleteDC(maskDc_);
    if (image_) DeleteObject(image_);
    if (mask_) DeleteObject(mask_);
  }
  Cell(const Cell&) = delete;
  Cell& operator=(const Cell&) = delete;

  bool Made() const { return image_ && mask_ && bits_; }

  // A picture centred in the cell.
  void DrawPicture(const Bitmap& picture) {
    const int w = std::min(picture.width, size_);
    const int h = std::min(picture.height, size_);
    const int left = (size_ - w) / 2;
    const int top = (size_ - h) / 2;
    GdiFlush();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bits_[static_cast<std::size_t>(top + y) * size_ + left + x] = picture.At(x, y) & 0xFFFFFF;
    PatBlt(maskDc_, left, top, w, h, BLACKNESS);
  }

  // An icon centred in the cell at a third of its side.
  void DrawIcon(HICON icon) {
    const int side = std::max(size_ / 3, 16);
    const int at = (size_ - side) / 2;
    DrawIconEx(imageDc_, at, at, icon, side, side, 0, nullptr, DI_IMAGE);
    DrawIconEx(maskDc_, at, at, icon, side, side, 0, nullptr, DI_MASK);
  }

  // The image list copies the bitmaps; they must not be selected while it does.
  template <typename Use>
  bool Hand(Use use) {
    SelectObject(imageDc_, oldImage_);
    SelectObject(maskDc_, oldMask_);
    const bool done = use(image_, mask_);
    oldImage_ = SelectObject(imageDc_, image_);
    oldMask_ = SelectObject(maskDc_, mask_);
    return done;
  }

 private:
  int size_;
  HDC imageDc_ = nullptr;
  HDC maskDc_ = nullptr;
  HBITMAP image_ = nullptr;
  HBITMAP mask_ = nullptr;
  std::uint32_t* bits_ = nullptr;
  HGDIOBJ oldImage_ = nullptr;
  HGDIOBJ oldMask_ = nullptr;
};

int addCell(HIMAGELIST list, Cell& cell) {
  int index = -1;
  cell.Hand([&](HBITMAP image, HBITMAP mask) { return (index = ImageList_Add(list, image, mask)) >= 0; });
  return index;
}

}  // namespace

HIMAGELIST Win32FormRenderer::ThumbnailsFor(const ListView& list) {
  if (!list.Pictures || list.Pictures->Size() <= 0) return nullptr;
  const ThumbnailList& pictures = *list.Pictures;
  ThumbnailHandle& images = thumbnailLists_[list.Pictures];
  const HIMAGELIST icons = ImagesFor(list.Icons);
  static const std::vector<ImageList::Image> none;
  const std::vector<ImageList::Image>& wantedIcons = list.Icons ? list.Icons->Images() : none;
  const bool iconsGrow = GrowsInto(images.iconSources, wantedIcons);
  // A new size, or icons changed other than by growing: everything is laid in again.
  if (!images.handle || images.size != pictures.Size() || !iconsGrow) {
    if (images.handle) ImageList_Destroy(images.handle);
    images = ThumbnailHandle{};
    images.size = pictures.Size();
    images.handle = ImageList_Create(images.size, images.size, ILC_COLOR24 | ILC_MASK, 64, 64);
    if (!images.handle) return nullptr;
    for (auto& [control, cw] : controls_)
      if (control->Kind() == ControlKind::ListView && static_cast<const ListView&>(*control).Pictures == list.Pictures &&
          static_cast<const ListView&>(*control).GetView() == ListView::Thumbnails)
        ListView_SetImageList(cw->hwnd, images.handle, LVSIL_NORMAL);
  }
  // The icons come first, so their images keep their numbers as pictures come and go.
  for (std::size_t i = images.iconSources.size(); i < wantedIcons.size(); ++i) {
    Cell cell(images.size);
    if (HICON icon = icons ? ImageList_GetIcon(icons, static_cast<int>(i), ILD_NORMAL) : nullptr) {
      cell.DrawIcon(icon);
      DestroyIcon(icon);
    }
    if (addCell(images.handle, cell) < 0) break;
    images.iconSources.push_back(wantedIcons[i].source);
  }
  const auto& slots = pictures.Slots();
  for (std::size_t s = 0; s < slots.size(); ++s) {
    if (s < images.slotSerials.size() && images.slotSerials[s] == slots[s].serial) continue;
    Cell cell(images.size);
    if (!cell.Made()) break;
    cell.DrawPicture(slots[s].picture);
    if (s < images.slotImages.size()) {
      const int at = images.slotImages[s];
      if (!cell.Hand([&](HBITMAP image, HBITMAP mask) { return ImageList_Replace(images.handle, at, image, mask) != FALSE; }))
        break;
      images.slotSerials[s] = slots[s].serial;
    } else {
      const int at = addCell(images.handle, cell);
      if (at < 0) break;
      images.slotImages.push_back(at);
      images.slotSerials.push_back(slots[s].serial);
    }
  }
  return images.handle;
}

int Win32FormRenderer::ThumbnailImageOf(ListView& list, int index) {
  const int slot = list.ThumbnailFor ? list.ThumbnailFor(index) : -1;
  const auto found = thumbnailLists_.find(list.Pictures);
  if (found == thumbnailLists_.end()) return -1;
  const ThumbnailHandle& images = found->second;
  // A picture made since the image list was last brought up to date shows at the next
  // redraw the thumbnailer asks for.
  if (slot >= 0 && static_cast<std::size_t>(slot) < images.slotImages.size() &&
      images.slotSerials[slot] == list.Pictures->Slots()[slot].serial)
    return images.slotImages[slot];
  if (!list.Icons) return -1;
  int icon = list.Icons->IndexOf(list.Items()[index].icon);
  if (icon < 0) icon = list.Icons->IndexOf("NONE");
  return icon >= 0 && static_cast<std::size_t>(icon) < images.iconSources.size() ? icon : -1;
}

void Win32FormRenderer::ShowViewImages(ControlWindow& cw, bool newView) {
  const auto& list = static_cast<const ListView&>(*cw.control);
  const HIMAGELIST thumbnails = list.GetView() == ListView::Thumbnails ? ThumbnailsFor(list) : nullptr;
  ListView_SetImageList(cw.hwnd, thumbnails ? thumbnails : ImagesFor(list.Icons), LVSIL_NORMAL);
  ListView_SetImageList(cw.hwnd, ImagesFor(list.SmallImages), LVSIL_SMALL);
  if (!newView) return;
  if (thumbnails) {
    // Room round each picture for its name below it.
    const int size = list.Pictures->Size();
    const int across = size + size / 4;
    const int down = size + MulDiv(size, 2, 5);
    SendMessageA(cw.hwnd, LVM_SETICONSPACING, 0, MAKELPARAM(across, down));
  } else {
    SendMessageA(cw.hwnd, LVM_SETICONSPACING, 0, MAKELPARAM(-1, -1));  // the system's own
  }
}

}  // namespace tapestrel
