#include "wallpaper/wallpaper_writer.h"

#include <cmath>
#include <memory>

#include "core/main_view.h"
#include "core/options.h"
#include "core/picture_viewer.h"
#include "core/program_state.h"
#include "core/registry_routines.h"
#include "core/settings.h"
#include "imaging/header_reader.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/desktop.h"
#include "platform/gvbox.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/screen_layout.h"

namespace tapestrel {

namespace {

constexpr const char* kTitle = "Tapestrel";
// Larger than any picture a bitmap can hold (2^28 pixels of three bytes): not read.
constexpr std::uint64_t kMaxPictureFileBytes = std::uint64_t{1} << 30;

int round16(double value) { return static_cast<int>(std::nearbyint(value)); }

std::string typeOf(const std::string& path) { return ToLower(path.size() >= 3 ? path.substr(path.size() - 3) : path); }

// Row and column of a single picture's place, by the index of the position option.
struct Place {
  int row;  // 0 middle, 1 top, 2 bottom
  int column;  // 0 left, 1 centre, 2 right
};
Place placeOf(int index) { return {index / 3, index % 3}; }

}  // namespace

struct WallpaperWriter::WallpaperDecodingScope {
  explicit WallpaperDecodingScope(WallpaperWriter& w) : writer(w) {
    writer.shrinkSmoothly_ = writer.options_.SmoothShrinking;
    writer.gvbox_.Smooth = writer.options_.SmoothShrinking;
    // On the desktop a transparent part shows the desktop's colour.
    writer.gvbox_.Background = writer.desktop_.DesktopColor();
  }
  ~WallpaperDecodingScope() {
    writer.shrinkSmoothly_ = false;
    writer.gvbox_.Smooth = false;
    writer.gvbox_.Background = 0xFFFFFF;
  }
  WallpaperWriter& writer;
};

std::string WallpaperWriter::WorkingBitmap() const { return state_.WindowsFolder + kWorkingBitmapName; }

int WallpaperWriter::ScreenWidthPixels() const {
  Desktop& d = desktop_;
  return round16(static_cast<double>(d.ScreenWidth()) / d.TwipsPerPixel());
}

int WallpaperWriter::ScreenHeightPixels() const {
  Desktop& d = desktop_;
  return round16(static_cast<double>(d.ScreenHeight()) / d.TwipsPerPixel());
}

int WallpaperWriter::ColorDepth() { return desktop_.ColorDepth(); }

void WallpaperWriter::SavePicture(const Bitmap& picture, const std::string& path) {
  // Written beside the old file and renamed over it: never half a wallpaper.
  if (!files_.WriteFileAtomically(path, WriteBmp24(picture))) throw RuntimeError{75, "Path/File access error"};
}

void WallpaperWriter::Report(const std::string& text, int style) { ui_.MsgBox(text, style, kTitle); }

bool WallpaperWriter::ChangeWallpaperTo(const std::string& path) {
  try {
    const std::string type = typeOf(path);
    bool prepared = false;
    if (type == "bmp") prepared = PrepareBitmapWallpaper(path);
    else if (type == "wmf") prepared = PrepareMetafileWallpaper(path);
    else prepared = PrepareDecodedWallpaper(path);
    if (!prepared) return false;
    options_.WallPaperName = path;
    settings_.SaveWallPaperName();
    if (WallpaperSet) WallpaperSet(path);
    return true;
  } catch (const RuntimeError& e) {
    Report(e.description + " (" + std::to_string(e.number) + ") " +
               "has occurred while attempting to change the wallpaper using." + "\n\t" + path,
           mb::OkOnly | mb::Critical);
    return false;  // the wallpaper did not change
  }
}

bool WallpaperWriter::PrepareBitmapWallpaper(const std::string& path) {
  if (Composes()) return PrepareComposedWallpaper(path);
  WallpaperDecodingScope smooth(*this);
  if (!LoadPictureIntoBox(picLoad_, path)) return false;
  const double zoom = ComputeFitZoom();
  if (zoom < 1) {
    ShrinkPictureToFile(picLoad_, picWork_, zoom, WorkingBitmap(), 0);
    SetDesktopWallpaper(WorkingBitmap());
  } else {
    SetDesktopWallpaper(path);  // the file itself becomes the wallpaper
  }
  return true;
}

bool WallpaperWriter::PrepareMetafileWallpaper(const std::string& path) {
  if (Composes()) return PrepareComposedWallpaper(path);
  WallpaperDecodingScope smooth(*this);
  if (!LoadPictureIntoBox(picLoad_, path)) return false;
  const double zoom = ComputeFitZoom();
  if (zoom < 1) {
    ShrinkPictureToFile(picLoad_, picWork_, zoom, WorkingBitmap(), 0);
  } else {
    SavePicture(*picLoad_.Picture(), WorkingBitmap());
  }
  SetDesktopWallpaper(WorkingBitmap());
  return true;
}

bool WallpaperWriter::PrepareDecodedWallpaper(const std::string& path) {
  if (Composes()) return PrepareComposedWallpaper(path);
  WallpaperDecodingScope smooth(*this);
  try {
    if (!(DecodeImage && DecodeImage(path))) return false;
    const double zoom = ComputeFitZoom();
    const bool internal = options_.InternalDecoding;
    if (zoom < 1) {
      ShrinkPictureToFile(picLoad_, picWork_, zoom, WorkingBitmap(), 0, internal);
    } else if (internal && picLoad_.Picture()) {
      SavePicture(*picLoad_.Picture(), WorkingBitmap());
    }
    SetDesktopWallpaper(WorkingBitmap());
    return true;
  } catch (const RuntimeError& e) {
    Report(e.description + " (" + std::to_string(e.number) + ") " +
               "has occurred while attempting to change the wallpaper using:" + "\n\t" + path + "\n" +
               "You can try the external decoder.",
           mb::OkOnly | mb::Critical);
    return false;
  }
}

int WallpaperWriter::EffectiveMode() const {
  if (state_.UseDefaultStyleOnce) return options_.DefaultStyle == 1 ? backdrop::kSingle : backdrop::kTiled;
  return options_.BackdropMode;
}

bool WallpaperWriter::Composes() const {
  const int mode = EffectiveMode();
  if (mode < 0 || mode >= backdrop::kCount || IsInternalMode(mode)) return false;
  return mode == backdrop::kFill || mode == backdrop::kFit ||
         Arrangement() != ScreenArrangement::Same;
}

ScreenArrangement WallpaperWriter::Arrangement() const {
  const int stored = options_.ScreenArrangement;
  return stored > 0 && stored < kScreenArrangements ? static_cast<ScreenArrangement>(stored) : ScreenArrangement::Same;
}

std::vector<PixelRect> WallpaperWriter::PictureScreens() const { return PictureRegions(Arrangement(), desktop_.Monitors()); }

bool WallpaperWriter::PrepareComposedWallpaper(const std::string& path) {
  std::vector<std::string> pictures{path};
  // The default picture stands alone on every screen.
  if (Arrangement() == ScreenArrangement::Each && OtherScreenPictures &&
      !state_.UseDefaultStyleOnce) {
    const std::size_t screens = desktop_.Monitors().size();
    if (screens > 1)
      for (std::string& other : OtherScreenPictures(path, screens - 1)) pictures.push_back(std::move(other));
  }
  return ComposeScreens(pictures);
}

bool WallpaperWriter::Recompose() {
  if (!Composes()) return false;
  if (screenPictures_.empty()) {
    if (options_.WallPaperName.empty()) return false;
    return PrepareComposedWallpaper(options_.WallPaperName);
  }
  const std::vector<std::string> pictures = screenPictures_;
  return ComposeScreens(pictures);
}

std::shared_ptr<const Bitmap> WallpaperWriter::LoadScreenPicture(const std::string& path, const FitFunction& fit) {
  const std::string type = typeOf(path);
  if (type == "bmp" || type == "wmf") {
    if (!LoadPictureIntoBox(picLoad_, path)) return nullptr;
  } else {
    composeFit_ = fit;
    struct Release {
      FitFunction& fit;
      ~Release() { fit = nullptr; }
    } release{composeFit_};
    if (!(DecodeImage && DecodeImage(path))) return nullptr;
  }
  std::shared_ptr<const Bitmap> picture = picLoad_.Picture();
  picLoad_.SetPicture(nullptr);
  gvbox_.SetFileName("");
  return picture;
}

bool WallpaperWriter::ComposeScreens(const std::vector<std::string>& pictures) {
  if (pictures.empty()) return false;
  WallpaperDecodingScope smooth(*this);
  const std::vector<Monitor> monitors = desktop_.Monitors();
  const PixelRect screen = VirtualScreen(monitors);
  std::vector<PixelRect> regions = PictureRegions(Arrangement(), monitors);
  for (PixelRect& r : regions) r = {r.left - screen.left, r.top - screen.top, r.right - screen.left, r.bottom - screen.top};
  Layout layout;
  layout.mode = EffectiveMode();
  layout.centreStyle = options_.ImageCenterStyle;
  layout.viewingSize = options_.ViewingWindowSize;
  layout.smooth = options_.SmoothShrinking;
  layout.background = desktop_.DesktopColor();
  // Which picture each region shows: a picture each in turn, or the first everywhere.
  const bool each = Arrangement() == ScreenArrangement::Each;
  auto pictureOf = [&](std::size_t region) { return each ? region % pictures.size() : 0; };
  // The bitmap of every screen is held whole, and written whole: refused before any
  // memory is asked for when that would pass what one picture may take.
  if (static_cast<std::uint64_t>(screen.Width()) * static_cast<std::uint64_t>(screen.Height()) * 4 > kPictureMemoryBudget)
    throw RuntimeError{7, "The screens together (" + NumberText(screen.Width()) + " x " + NumberText(screen.Height()) +
                              " pixels) are too large for one wallpaper bitmap"};
  Bitmap canvas = WithPictureMemory(
      [&] { return Bitmap(static_cast<int>(screen.Width()), static_cast<int>(screen.Height()), layout.background); });
  // One picture in memory at a time beside the canvas, decoded no larger than the
  // largest of its regions needs.
  for (std::size_t p = 0; p < pictures.size() && p < regions.size(); ++p) {
    std::vector<PixelRect> mine;
    for (std::size_t r = 0; r < regions.size(); ++r)
      if (pictureOf(r) == p) mine.push_back(regions[r]);
    if (mine.empty()) continue;
    const FitFunction fit = [&mine, &layout](PictureSize whole) {
      PictureSize need{1, 1};
      for (const PixelRect& r : mine) {
        const PictureSize n = NeededSize(whole, r.Width(), r.Height(), layout);
        need = {std::max(need.width, n.width), std::max(need.height, n.height)};
      }
      return need;
    };
    const std::shared_ptr<const Bitmap> picture = LoadScreenPicture(pictures[p], fit);
    if (!picture) return false;
    WithPictureMemory([&] {
      for (const PixelRect& r : mine) LayPicture(canvas, r, *picture, layout);
      return 0;
    });
  }
  if (!SpansWallpaper(desktop_.PlatformText())) RollForTiling(canvas, screen);
  state_.ImageWidth = canvas.width;
  state_.ImageHeight = canvas.height;
  SavePicture(canvas, WorkingBitmap());
  Bitmap().pixels.swap(canvas.pixels);
  screenPictures_ = pictures;
  SetDesktopWallpaper(WorkingBitmap());
  return true;
}

void WallpaperWriter::WriteComposedStyle() {
  // Windows 7 and later span one bitmap across every monitor themselves (style 22);
  // before that a tiled bitmap of the virtual screen, rolled to start at the primary's
  // corner, does the same.
  const bool span = SpansWallpaper(desktop_.PlatformText());
  WriteStyleValue("TileWallpaper", span ? 0 : 1, TileWallpaper);
  WriteStyleValue("WallPaperStyle", span ? 22 : 0, WallPaperStyle);
  WriteOrigin("wallpaperoriginx", 0, wallpaperoriginx);
  WriteOrigin("wallpaperoriginy", 0, wallpaperoriginy);
}

long WallpaperWriter::SetDesktopWallpaper(const std::string& path) {
  ApplyWallpaperStyle();
  lastSet_ = path;
  return desktop_.SetDesktopWallpaper(path);
}

void WallpaperWriter::DisplayChanged() {
  try {
    Recompose();
  } catch (const RuntimeError& e) {
    Report(e.description + " (" + std::to_string(e.number) + ") " +
               "has occurred while laying the wallpaper out for the screens anew.",
           mb::OkOnly | mb::Critical);
  }
}

void WallpaperWriter::RestoreIfLost() {
  if (lastSet_.empty() || EqualsIgnoreCase(desktop_.CurrentWallpaper(), lastSet_)) return;
  if (!files_.FileExists(lastSet_)) return;
  desktop_.SetDesktopWallpaper(lastSet_);
}

void WallpaperWriter::ReadWallpaperStyle() {
  TileWallpaper = LeadingInteger(registry_.GetRegistryValue("TileWallpaper"));
  WallPaperStyle = LeadingInteger(registry_.GetRegistryValue("WallPaperStyle"));
  wallpaperoriginx = static_cast<std::int16_t>(LeadingInteger(registry_.GetRegistryValue("wallpaperoriginx")));
  wallpaperoriginy = static_cast<std::int16_t>(LeadingInteger(registry_.GetRegistryValue("wallpaperoriginy")));
}

void WallpaperWriter::WriteStyleValue(const char* name, int value, int& cached) {
  if (value == cached) return;
  registry_.SetRegistryValue(name, NumberText(value));
  cached = value;
}

void WallpaperWriter::WriteOrigin(const char* name, int value, std::int16_t& cached) {
  if (value == cached) return;
  registry_.SetRegistryValue(name, NumberText(value));
  cached = static_cast<std::int16_t>(value);
}

void WallpaperWriter::ApplyWallpaperStyle() {
  ReadWallpaperStyle();
  if (Composes()) {
    WriteComposedStyle();
    state_.UseDefaultStyleOnce = false;
    return;
  }
  const Options& o = options_;
  int mode = o.BackdropMode;
  if (state_.UseDefaultStyleOnce) {
    mode = o.DefaultStyle == 1 ? 1 : 0;
    state_.UseDefaultStyleOnce = false;
  }
  switch (mode) {
    case 0:
    case 3:
      WriteStyleValue("TileWallpaper", 1, TileWallpaper);
      WriteStyleValue("WallPaperStyle", 1, WallPaperStyle);
      WriteOrigin("wallpaperoriginx", 0, wallpaperoriginx);
      WriteOrigin("wallpaperoriginy", 0, wallpaperoriginy);
      break;
    case 1:
    case 4: {
      WriteStyleValue("TileWallpaper", 0, TileWallpaper);
      WriteStyleValue("WallPaperStyle", 0, WallPaperStyle);
      if (o.ImageCenterStyle < 0 || o.ImageCenterStyle > 8) break;
      const Place place = placeOf(o.ImageCenterStyle);
      static const int edge[] = {0, -1, 0};
      const int x = place.column == 0 ? -1 : place.column == 1 ? 0 : ScreenWidthPixels() - state_.ImageWidth;
      const int y = place.row == 2 ? ScreenHeightPixels() - state_.ImageHeight : edge[place.row];
      WriteOrigin("wallpaperoriginx", x, wallpaperoriginx);
      WriteOrigin("wallpaperoriginy", y, wallpaperoriginy);
      break;
    }
    case 2:
      WriteStyleValue("TileWallpaper", 0, TileWallpaper);
      WriteStyleValue("WallPaperStyle", 2, WallPaperStyle);
      WriteOrigin("wallpaperoriginx", 0, wallpaperoriginx);
      break;
    default:
      Report("Invalid value for Backdrop mode of " + NumberText(mode), mb::OkOnly | mb::Exclamation);
      break;
  }
}

double WallpaperWriter::ComputeFitZoom() {
  const double w = state_.ImageWidth;
  const double h = state_.ImageHeight;
  const double zoom = FitZoom(w, h);
  state_.ImageWidth = round16(w * zoom);
  state_.ImageHeight = round16(h * zoom);
  if (zoom == 0) Report("Illegal zoom value of zero!", mb::OkOnly | mb::Exclamation);
  if (zoom > 1.0) Report("Illegal zoom value of greater than 1.0!", mb::OkOnly | mb::Exclamation);
  return zoom;
}

PictureSize WallpaperWriter::FittedSize(PictureSize whole) const {
  if (composeFit_) return composeFit_(whole);
  const double zoom = FitZoom(whole.width, whole.height);
  if (!(zoom > 0 && zoom < 1)) return whole;
  return {round16(whole.width * zoom), round16(whole.height * zoom)};
}

double WallpaperWriter::FitZoom(double w, double h) const {
  const int screenWidth = ScreenWidthPixels();
  const int screenHeight = ScreenHeightPixels();
  // The viewing box: the screen, three quarters, a half or a quarter of it, or the
  // picture's own size.
  static const int numerators[] = {4, 3, 2, 1};
  double boxWidth = w;
  double boxHeight = h;
  const int size = options_.ViewingWindowSize;
  if (size >= 0 && size <= 3) {
    boxWidth = static_cast<double>(screenWidth * numerators[size]) / 4;
    boxHeight = static_cast<double>(screenHeight * numerators[size]) / 4;
  }
  double zoom = 1.0;
  if (w > boxWidth && h <= boxHeight) zoom = boxWidth / w;
  else if (w <= boxWidth && h > boxHeight) zoom = boxHeight / h;
  else if (w > boxWidth && h > boxHeight) zoom = std::min(boxWidth / w, boxHeight / h);
  return zoom;
}

void WallpaperWriter::ShrinkPictureToFile(PictureBox& source, PictureBox& destination, double zoom,
                                          const std::string& output, int keep, bool fromDecoder) {
  if (fromDecoder) source.SetPicture(gvbox_.Picture());
  if (!source.Picture()) throw RuntimeError{481, "Invalid picture"};
  const std::shared_ptr<const Bitmap> from = source.Picture();
  // A decoder may have decoded the picture straight to the size it is shown at; the
  // sizes come from the whole picture it stands for.
  const int width = std::max(1, round16(from->FullWidth() * zoom));
  const int height = std::max(1, round16(from->FullHeight() * zoom));
  const bool sameSize = from->width == width && from->height == height;
  if (keep == 0 && sameSize) {
    SavePicture(*from, output);
    destination.SetPicture(nullptr);
  } else {
    auto shrunk = WithPictureMemory([&] {
      if (!sameSize)
        return std::make_shared<Bitmap>(shrinkSmoothly_ ? ShrinkSmooth(*from, width, height)
                                                        : StretchNearest(*from, width, height));
      auto copy = std::make_shared<Bitmap>(*from);
      copy->fullWidth = copy->fullHeight = 0;
      return copy;
    });
    if (keep == 0) {
      SavePicture(*shrunk, output);
      destination.SetPicture(nullptr);
    } else {
      destination.SetPicture(std::move(shrunk));
    }
  }
  if (fromDecoder) {
    gvbox_.SetFileName("");
    source.SetPicture(nullptr);
  }
}

bool WallpaperWriter::LoadPictureIntoBox(PictureBox& box, const std::string& path) {
  // A file that is not there, too large to be a picture, damaged, or more than the
  // memory can hold: the picture cannot be loaded, and the user is told so.
  std::optional<Bitmap> picture;
  try {
    auto file = files_.OpenRead(path);
    if (file && file->Size() <= kMaxPictureFileBytes) {
      std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
      bytes.resize(file->Read(bytes.data(), bytes.size()));
      file.reset();
      picture = typeOf(path) == "wmf" ? desktop_.DrawMetafile(bytes) : ReadBmp(bytes);
    }
    if (picture) box.SetPicture(std::make_shared<const Bitmap>(std::move(*picture)));
  } catch (const std::bad_alloc&) {
    picture.reset();
  }
  if (!picture) {
    Report("Couldn't find " + path, mb::OkOnly | mb::Exclamation);
    return false;
  }
  state_.ImageWidth = box.Picture()->width;
  state_.ImageHeight = box.Picture()->height;
  return true;
}

void WallpaperWriter::SelectBackdropMode(int index) {
  if (index < 0 || index >= backdrop::kCount) {
    Report("Unsuccesful menu radio button check", mb::OkOnly | mb::Information);
    return;
  }
  view_.ShowBackdropMode(index);
  options_.BackdropMode = index;
}

void WallpaperWriter::SelectScreenArrangement(int index) {
  if (index < 0 || index >= kScreenArrangements) return;
  view_.ShowScreenArrangement(index);
  options_.ScreenArrangement = index;
}

void WallpaperWriter::SwitchDisplay(bool toInternal) {
  const int mode = options_.BackdropMode;
  static const int internalOf[] = {3, 4, 4, 3, 4, 4, 4};
  static const int desktopOf[] = {0, 1, 2, 0, 1, 5, 6};
  static_assert(std::size(internalOf) == backdrop::kCount && std::size(desktopOf) == backdrop::kCount);
  if (mode < 0 || mode >= backdrop::kCount) {
    Report("Tapestrel mode is not set.", mb::OkOnly | mb::Information);
    return;
  }
  SelectBackdropMode(toInternal ? internalOf[mode] : desktopOf[mode]);
}

void WallpaperWriter::ViewingOptionsChanged() {
  const int size = options_.ViewingWindowSize;
  if (size != lastViewingSize_) {
    const bool first = lastViewingSize_ < 0;
    lastViewingSize_ = size;
    if (first) return;
    // Fit the focused file of the list anew.
    ListView& list = view_.CurrentFileList();
    const int focused = list.FocusedIndex();
    if (focused < 0 || focused >= list.Count()) return;
    const std::string path = list.Items()[focused].Column(1) + list.Items()[focused].text;
    // The full-screen window, when it shows, fits its picture anew instead.
    if (viewer_.Showing()) viewer_.ShowInViewer(path);
    else ChangeWallpaperTo(path);
    return;
  }
  // Same size: apply the current wallpaper again, so that a new position takes effect.
  if (Composes()) {
    Recompose();
    return;
  }
  const std::string current = registry_.GetRegistryValue("Wallpaper");
  if (current.empty()) return;
  headers_.ReadImageHeader(current);
  SetDesktopWallpaper(current);
}

}  // namespace tapestrel
