#include "imaging/frm_full_screen.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "core/settings.h"
#include "imaging/decoder_front_end.h"
#include "imaging/header_reader.h"
#include "platform/bitmap.h"
#include "platform/controls/list_view.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/gvbox.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/rotation.h"
#include "wallpaper/wallpaper_writer.h"

namespace tapestrel {

namespace {

constexpr long kBarThickness = 255;  // twips: the scroll bars' width and height
constexpr int kKeyEscape = 27;
constexpr int kPageUp = 33, kPageDown = 34, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
// The pop-up entries of the viewer's menu that it shows and hides itself.
constexpr int kSwitchToTiled = 4;   // shown while single
constexpr int kSwitchToSingle = 5;  // shown while tiled
constexpr int kDefaultImage = 9;
constexpr int kRemoveDefault = 10;
constexpr int kExitUpdateWallpaper = 16;
// The pointer's display counter is driven past these so that other programs' calls
// cannot undo the choice; the loops stop after this many calls whatever the counter says.
constexpr int kCursorLimit = 5;
constexpr int kCursorCalls = 20;

std::string typeOf(const std::string& path) { return ToLower(path.size() >= 3 ? path.substr(path.size() - 3) : path); }
std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
bool decodable(const std::string& path) {
  const std::string extension = ToLower(path.substr(path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.')));
  for (const char* known : {".jpg", ".jpeg", ".pcx", ".png", ".tga"})
    if (extension == known) return true;
  return false;
}

}  // namespace

TileGrid TileGridFor(int windowWidth, int windowHeight, int tileWidth, int tileHeight) {
  if (tileWidth <= 0 || tileHeight <= 0) return {};
  return {(windowWidth + tileWidth - 1) / tileWidth, (windowHeight + tileHeight - 1) / tileHeight};
}

FrmFullScreen::FrmFullScreen(FileSystem& files, Ui& ui, Desktop& desktop, Gvbox& gvbox, Options& options,
                             ProgramState& state, Settings& settings, HeaderReader& headers, WallpaperWriter& writer,
                             Rotation& rotation, DecoderFrontEnd& decoder, MainView& view, const Form& optionsDialog,
                             const Form& aboutBox)
    : Form("frmFullScreen", 9600, 7200),
      files_(files),
      ui_(ui),
      desktop_(desktop),
      gvbox_(gvbox),
      options_(options),
      state_(state),
      settings_(settings),
      headers_(headers),
      writer_(writer),
      rotation_(rotation),
      decoder_(decoder),
      view_(view),
      optionsDialog_(optionsDialog),
      aboutBox_(aboutBox) {
  SetCaption("Tapestrel: Full-Screen View");
  Borderless = true;
  Sizable = false;
  TopMost = true;
  BackColor = 0x000000;
  KeyPreview = true;
  SetStartUpPosition(StartUpPosition::Manual);
  UserFrame(0, 0);
  picLoad.SetVisible(false);
  picMovePicture.SetVisible(false);
  picInfo.SetVisible(false);
  picInfo.BackColor = 0x00FF00;
  vsbFullScreenView.Vertical = true;
  vsbFullScreenView.SetVisible(false);
  hsbFullScreenView.SetVisible(false);
  vsbFullScreenView.Move(0, 0, kBarThickness, 1000);
  hsbFullScreenView.Move(0, 0, 1000, kBarThickness);
  picFullScreen.SetVisible(false);
  picFullScreen.BackColor = 0x000000;

  hsbFullScreenView.Change = [this] {
    picFullScreen.Move(ScrollBaseLeft - hsbFullScreenView.Value(), picFullScreen.Top(), picFullScreen.Width(),
                       picFullScreen.Height());
  };
  vsbFullScreenView.Change = [this] {
    picFullScreen.Move(picFullScreen.Left(), ScrollBaseTop - vsbFullScreenView.Value(), picFullScreen.Width(),
                       picFullScreen.Height());
  };
  KeyPress = [this](int& ascii) { KeyTyped(ascii); };
  KeyDown = [this](int& keyCode, int shift) { KeyDownInViewer(keyCode, shift); };
  MouseDown = [this](int button, int, long, long) { MouseDownInViewer(button); };
  DblClick = [this] { ShowInfo(); };
  picFullScreen.MouseDown = [this](int button, int, long x, long y) {
    MouseDownInViewer(button);
    if (button != 1) return;
    dragging_ = true;
    dragX_ = picFullScreen.Left() + x;
    dragY_ = picFullScreen.Top() + y;
  };
  picFullScreen.MouseMove = [this](int button, int, long x, long y) {
    if (dragging_ && (button & 1)) DragTo(picFullScreen.Left() + x, picFullScreen.Top() + y);
  };
  picFullScreen.MouseUp = [this](int button, int, long, long) {
    if (button == 1) dragging_ = false;
  };
  picFullScreen.DblClick = [this] { ShowInfo(); };
  picInfo.DblClick = [this] {
    HideInfo();
    picFullScreen.SetFocus();
  };
}

void FrmFullScreen::Tell(const std::string& text, int style) { ui_.MsgBox(text, style, kApplicationName); }

void FrmFullScreen::Form_Load() {
  Move(0, 0, desktop_.ScreenWidth(), desktop_.ScreenHeight());
  picInfo.SetVisible(false);
  MainView& main = view_;
  main.SetPopUpItemVisible(PopUp::Viewer, kDefaultImage, true);
  main.SetPopUpItemVisible(PopUp::Viewer, kRemoveDefault, false);
  main.SetPopUpItemChecked(PopUp::Viewer, 0, main.ClockRunning());
}

void FrmFullScreen::Form_Unload() {
  dragging_ = false;
  // The overlay and the viewer's menu hide the pointer without MouseHidden: whatever hid
  // it, leaving the viewer shows it again.
  ShowMouse();
}

bool FrmFullScreen::LoadMetafile(const std::string& path) {
  // The picture box holds a metafile as the bitmap it draws.
  return writer_.LoadPictureIntoBox(picLoad, path);
}

bool FrmFullScreen::LoadIntoPicLoad(const std::string& path, bool& fromDecoder) {
  const std::string type = typeOf(path);
  fromDecoder = false;
  if (type == "bmp") {
    headers_.ReadImageHeader(path);
    return writer_.LoadPictureIntoBox(picLoad, path);
  }
  if (type == "wmf") return LoadMetafile(path);
  if (!decoder_.DecodeImage(path)) return false;
  fromDecoder = options_.InternalDecoding;
  return true;
}

bool FrmFullScreen::ShowInViewer(const std::string& path) {
  try {
    MainView& main = view_;
    if (main.Showing()) main.LeaveForViewer();
    const bool firstShow = !Visible();
    if (firstShow) {
      if (!Loaded()) Load();
      MouseHidden = false;
      main.SetPopUpItemVisible(PopUp::Viewer, kSwitchToSingle, ViewerMode == 3);
      main.SetPopUpItemVisible(PopUp::Viewer, kSwitchToTiled, ViewerMode != 3);
      Show();
      if (optionsDialog_.Visible() && KeepOptionsOnTop) KeepOptionsOnTop();  // the dialog stays above the view
    }
    const bool needsClearing = std::exchange(ViewerNeedsClearing, false);
    const auto clearView = [&] {
      picFullScreen.SetVisible(false);
      if (needsClearing) {
        SetPicture(nullptr);
        picFullScreen.SetPicture(nullptr);
      }
      hsbFullScreenView.SetVisible(false);
      vsbFullScreenView.SetVisible(false);
      picMovePicture.SetVisible(false);
    };

    int mode = ViewerMode;
    if (state_.UseDefaultStyleOnce) {
      mode = options_.DefaultStyle == 1 ? 4 : 3;
      state_.UseDefaultStyleOnce = false;
      ViewerNeedsClearing = true;
    }
    if (mode == 3) {
      clearView();
      if (!ShowTiledInViewer(path)) return false;
    } else {
      // The picture shown stays until the next one has loaded: one that cannot be read
      // leaves it on the screen rather than a blank one.
      bool fromDecoder = false;
      if (!LoadIntoPicLoad(path, fromDecoder)) {
        ViewerNeedsClearing = ViewerNeedsClearing || needsClearing;
        return false;
      }
      clearView();
      // No tiles of an earlier picture stay around a single one.
      SetPicture(nullptr);
      const int size = options_.ViewingWindowSize;
      if (size >= 0 && size <= 3) {
        const double zoom = writer_.ComputeFitZoom();
        writer_.ShrinkPictureToFile(picLoad, picFullScreen, zoom, "", 1, fromDecoder);
      }
      const long tpp = desktop_.TwipsPerPixel();
      PositionPicture(state_.ImageWidth * tpp, state_.ImageHeight * tpp);
      if (size == 4) {
        if (Visible()) SetUpScrolling(state_.ImageWidth * tpp, state_.ImageHeight * tpp);
        if (fromDecoder) picLoad.SetPicture(gvbox_.Picture());
        picFullScreen.SetPicture(picLoad.Picture());
        picLoad.SetPicture(nullptr);
      }
      picFullScreen.SetVisible(true);
      if (firstShow) picFullScreen.SetFocus();  // the keys go to the picture, not to a bar
    }
    shownPath_ = path;
    if (main.PopUpItemVisible(PopUp::Viewer, kSwitchToTiled)) rotation_.AddToHistory(path);
    if (WallpaperChanged) WallpaperChanged();
    if (picInfo.Visible()) ShowInfo();  // the overlay tells of the new picture
    return true;
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " +
             "has occurred while attempting to change the full-screen view using:" + "\n\t" + path,
         mb::OkOnly | mb::Critical);
    return false;
  }
}

bool FrmFullScreen::ShowTiledInViewer(const std::string& path) {
  try {
    bool fromDecoder = false;
    if (!LoadIntoPicLoad(path, fromDecoder)) return false;
    const double zoom = writer_.ComputeFitZoom();
    if (zoom < 1) {
      writer_.ShrinkPictureToFile(picLoad, picFullScreen, zoom, "", 1, fromDecoder);
    } else {
      if (fromDecoder) picLoad.SetPicture(gvbox_.Picture());
      picFullScreen.SetPicture(picLoad.Picture());
    }
    if (view_.Showing()) view_.HideWindow();
    picFullScreen.SetVisible(false);
    return TileWindow(*this, picFullScreen);
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " +
             "has occurred while attempting to tile the full-screen view using:" + "\n\t" + path,
         mb::OkOnly | mb::Critical);
    return false;
  }
}

bool FrmFullScreen::TileWindow(Form& window, PictureBox& box) {
  if (!window.Visible()) window.Show();
  const long tpp = desktop_.TwipsPerPixel();
  const int width = static_cast<int>(window.ScaleWidth() / tpp);
  const int height = static_cast<int>(window.ScaleHeight() / tpp);
  const std::shared_ptr<const Bitmap> tile = box.Picture();
  if (tile && !tile->Empty() && width > 0 && height > 0) {
    const TileGrid grid = TileGridFor(width, height, tile->width, tile->height);
    auto tiled = WithPictureMemory([&] { return std::make_shared<Bitmap>(width, height, 0); });
    for (int row = 0; row < grid.rows; ++row)
      for (int column = 0; column < grid.columns; ++column) {
        const int x0 = column * tile->width, y0 = row * tile->height;
        const int w = std::min(tile->width, width - x0), h = std::min(tile->height, height - y0);
        for (int y = 0; y < h; ++y)
          std::copy_n(tile->pixels.begin() + static_cast<std::ptrdiff_t>(y) * tile->width, w,
                      tiled->pixels.begin() + static_cast<std::ptrdiff_t>(y0 + y) * width + x0);
      }
    window.SetPicture(std::move(tiled));
  } else {
    window.SetPicture(nullptr, "?!");
  }
  box.SetPicture(nullptr);
  return true;
}

void FrmFullScreen::PositionPicture(long w, long h) {
  const long sw = desktop_.ScreenWidth(), sh = desktop_.ScreenHeight();
  const long bar = hsbFullScreenView.Height();
  const bool wider = w > sw, taller = h > sh;
  const int style = std::clamp(options_.ImageCenterStyle, 0, 8);
  const int row = style / 3;     // 0 middle, 1 top, 2 bottom
  const int column = style % 3;  // 0 left, 1 centre, 2 right
  long left = 0;
  if (column == 1) left = wider ? 0 : taller ? (sw - w - bar) / 2 : (sw - w) / 2;
  else if (column == 2) left = wider ? 0 : taller ? sw - w - bar : sw - w;
  long top = 0;
  if (row == 0) top = taller ? 0 : wider ? (sh - h - bar) / 2 : (sh - h) / 2;
  else if (row == 2) top = taller ? 0 : wider ? sh - h - bar : sh - h;
  picFullScreen.Move(left, top, w, h);
  ScrollBaseLeft = (sw - picFullScreen.Width()) / 2;
  ScrollBaseTop = (sh - picFullScreen.Height()) / 2;
}

void FrmFullScreen::SetUpScrolling(long w, long h) {
  const long sw = desktop_.ScreenWidth(), sh = desktop_.ScreenHeight();
  ScrollBar& vertical = vsbFullScreenView;
  ScrollBar& horizontal = hsbFullScreenView;
  const auto setUp = [](ScrollBar& bar, long excess, long otherBar, int& smallStep) {
    bar.Min = static_cast<int>(-excess);
    bar.Max = static_cast<int>(excess + otherBar + 100);
    bar.LargeChange = bar.Max - bar.Min;
    bar.SmallChange = bar.LargeChange / 5;
    smallStep = bar.SmallChange;
  };
  if (h > sh - horizontal.Height()) {
    setUp(vertical, (h - sh) / 2, horizontal.Height(), ScrollSmallStepY);
    vertical.Move(sw - vertical.Width(), 0, vertical.Width(), sh - horizontal.Height());
    vertical.SetVisible(true);
    vertical.SetValue(vertical.Min);
  }
  if (w > sw - vertical.Width()) {
    setUp(horizontal, (w - sw) / 2, vertical.Width(), ScrollSmallStepX);
    horizontal.Move(0, sh - horizontal.Height(), sw - vertical.Width(), horizontal.Height());
    horizontal.SetVisible(true);
    horizontal.SetValue(horizontal.Min);
  }
  if (w <= sw && h <= sh) {
    vertical.SetVisible(false);
    horizontal.SetVisible(false);
  }
}

void FrmFullScreen::SetSmallChangeValue(ScrollBar& bar, bool ctrl) {
  if (ctrl) bar.SmallChange = desktop_.TwipsPerPixel();
  else bar.SmallChange = &bar == &hsbFullScreenView ? ScrollSmallStepX : ScrollSmallStepY;
}

void FrmFullScreen::ChangeScrollBarValue(ScrollBar& bar, int& keyCode, bool ctrl) {
  bar.SetFocus();
  const int s = bar.SmallChange;
  const int value = bar.Value();
  if (keyCode == kRight || keyCode == kDown || keyCode == kPageDown) {
    if (ctrl) {
      bar.SetValue(value + s);
    } else {
      // The next of the stops minimum + s .. minimum + 5s, then the maximum.
      int next = bar.Max;
      if (value <= bar.Min) next = bar.Min + s;
      else
        for (int k = 2; k <= 5; ++k)
          if (value < bar.Min + k * s) {
            next = bar.Min + k * s;
            break;
          }
      bar.SetValue(next);
    }
  } else if (keyCode == kLeft || keyCode == kUp || keyCode == kPageUp) {
    if (ctrl) {
      bar.SetValue(value - s);
    } else {
      int next = bar.Min;
      if (value >= bar.Max) next = bar.Max - s;
      else
        for (int k = 2; k <= 5; ++k)
          if (value > bar.Max - k * s) {
            next = bar.Max - k * s;
            break;
          }
      bar.SetValue(next);
    }
  }
  keyCode = 0;
}

void FrmFullScreen::HideMouse() {
  if (optionsDialog_.Visible()) return;
  for (int i = 0; i < kCursorCalls && desktop_.ShowCursor(false) > -kCursorLimit; ++i) {
  }
}

void FrmFullScreen::ShowMouse() {
  for (int i = 0; i < kCursorCalls && desktop_.ShowCursor(true) < kCursorLimit; ++i) {
  }
}

std::string FrmFullScreen::InfoText() const {
  const MainView& main = view_;
  const bool defaultShown = !main.PopUpItemVisible(PopUp::Viewer, kDefaultImage);
  const std::string size = " " + NumberText(state_.ImageWidth) + "w" + " x " + NumberText(state_.ImageHeight) + "h";
  std::string text;
  if (defaultShown) {
    text = " " + options_.Defaults + size;
  } else {
    const ListView& list = view_.CurrentFileList();
    text = " " + nameOf(shownPath_) + size + "\n\t" + NumberText(rotation_.FindInList(shownPath_)) + " of " +
           NumberText(list.Count());
  }
  if (main.ClockRunning()) text += "\n\t" + rotation_.CountdownText();
  return text;
}

void FrmFullScreen::ShowInfo() {
  Font font = picInfo.GetFont();
  if (const std::optional<std::string> face = desktop_.NonClientFontName()) font.name = *face;
  else Tell("Unable to obtain font characteristics.", mb::OkOnly | mb::Information);
  picInfo.SetFont(font);
  const std::string text = InfoText();
  const auto [width, height] = desktop_.TextSize(text, font.name, font.size);
  picInfo.SetPrintedText(text);
  // Centred across the screen, three quarters of the way down.
  const long w = width + 100;
  picInfo.Move(std::max(0L, (desktop_.ScreenWidth() - w) / 2), desktop_.ScreenHeight() * 3 / 4, w, height);
  picInfo.SetVisible(true);
}

void FrmFullScreen::HideInfo() { picInfo.SetVisible(false); }

void FrmFullScreen::ToggleInfo() {
  if (picInfo.Visible()) {
    HideInfo();
    if (!MouseHidden) ShowMouse();
    return;
  }
  HideMouse();
  ShowInfo();
}

void FrmFullScreen::DisplayPopUp2() {
  ShowMouse();
  view_.ShowViewerPopUp(kExitUpdateWallpaper);
  if (!view_.Showing() && !aboutBox_.Visible() && MouseHidden) HideMouse();
}

void FrmFullScreen::KeyTyped(int& ascii) {
  MainView& main = view_;
  const char key = static_cast<char>(ascii >= 'A' && ascii <= 'Z' ? ascii - 'A' + 'a' : ascii);
  switch (key) {
    case 'h':
      MouseHidden = true;
      HideMouse();
      break;
    case 's':
      MouseHidden = false;
      ShowMouse();
      break;
    case kKeyEscape:
      HideInfo();
      picFullScreen.SetFocus();
      if (MouseHidden) HideMouse();
      else ShowMouse();
      break;
    case 'i': ToggleInfo(); break;
    case '.':
    case '>':
      main.RunPopUpItem(PopUp::Viewer, 7);
      break;
    case ',':
    case '<':
      main.RunPopUpItem(PopUp::Viewer, 8);
      break;
    case 'r':
      main.RunPopUpItem(PopUp::Viewer, 23);
      break;
    case 'd':
      main.RunPopUpItem(PopUp::Viewer,
                        main.PopUpItemVisible(PopUp::Viewer, kSwitchToTiled) ? kSwitchToTiled : kSwitchToSingle);
      break;
    case 'n':
      if (main.ClockRunning()) rotation_.ChangeNow();
      break;
    case 'p': picMovePicture_Click(); break;
    case 'm': DisplayPopUp2(); break;
    default: return;
  }
  ascii = 0;
}

void FrmFullScreen::KeyDownInViewer(int& keyCode, int shift) {
  if (HotKeyPressed && HotKeyPressed(keyCode, shift)) {
    keyCode = 0;
    return;
  }
  ScrollBar* bar = nullptr;
  if (keyCode == kLeft || keyCode == kRight) bar = &hsbFullScreenView;
  else if (keyCode == kUp || keyCode == kDown || keyCode == kPageUp || keyCode == kPageDown) bar = &vsbFullScreenView;
  // A bar with the focus moves by its own keys.
  if (!bar || !bar->Visible() || ActiveControl() == bar) return;
  const bool ctrl = (shift & shift::Ctrl) != 0;
  SetSmallChangeValue(*bar, ctrl);
  ChangeScrollBarValue(*bar, keyCode, ctrl);
}

void FrmFullScreen::MouseDownInViewer(int button) {
  if (button == 2) DisplayPopUp2();
}

void FrmFullScreen::DragTo(long x, long y) {
  // The picture goes with the mouse as far as the bars reach; x and y are where the
  // mouse is on the window, whatever the picture did since.
  for (auto [bar, moved] : {std::pair{&hsbFullScreenView, x - dragX_}, std::pair{&vsbFullScreenView, y - dragY_}})
    if (bar->Visible()) bar->SetValue(std::clamp(static_cast<int>(bar->Value() - moved), bar->Min, bar->Max));
  dragX_ = x;
  dragY_ = y;
}

void FrmFullScreen::ChangeTime() {
  ShowMouse();
  if (OpenTimeChanger) OpenTimeChanger();
  if (MouseHidden) HideMouse();
}

void FrmFullScreen::picMovePicture_Click() {
  if (!picFullScreen.Visible() || !picFullScreen.Picture()) return;
  PositionPicture(picFullScreen.Width(), picFullScreen.Height());
  for (ScrollBar* bar : {&hsbFullScreenView, &vsbFullScreenView})
    if (bar->Visible()) bar->SetValue(bar->Min);
}

void FrmFullScreen::ShowNextImage(bool forward) {
  const ListView& list = view_.CurrentFileList();
  const int count = list.Count();
  if (count == 0) return;
  int index = 0;
  if (options_.ChangeRandomly) {
    index = rotation_.NextRandomIndex();
  } else {
    const int at = rotation_.FindInList(shownPath_);
    index = forward ? (at >= count ? 1 : at + 1) : (at <= 1 ? count : at - 1);
  }
  if (index < 1 || index > count) index = 1;
  const ListItem& item = list.Items()[static_cast<std::size_t>(index - 1)];
  if (ShowInViewer(item.Column(1) + item.text)) rotation_.SetPosition(index);
}

void FrmFullScreen::SwitchView() {
  ViewerMode = ViewerMode == 3 ? 4 : 3;
  writer_.SelectBackdropMode(ViewerMode);
  view_.SetPopUpItemVisible(PopUp::Viewer, kSwitchToSingle, ViewerMode == 3);
  view_.SetPopUpItemVisible(PopUp::Viewer, kSwitchToTiled, ViewerMode != 3);
  if (!shownPath_.empty()) {
    ViewerNeedsClearing = true;
    ShowInViewer(shownPath_);
  }
}

void FrmFullScreen::ShowDefaultImage(bool show) {
  MainView& main = view_;
  if (show) {
    const std::string& picture = options_.Defaults;
    if (picture.empty() || !files_.FileExists(picture)) {
      Tell("The default picture " + picture + " is not present.", mb::OkOnly | mb::Information);
      return;
    }
    if (main.ClockRunning()) rotation_.TimerOnOff();
    listPathBeforeDefault_ = shownPath_;
    state_.UseDefaultStyleOnce = true;
    if (!ShowInViewer(picture)) return;
  } else {
    ViewerNeedsClearing = true;
    if (!listPathBeforeDefault_.empty() && !ShowInViewer(listPathBeforeDefault_)) return;
  }
  main.SetPopUpItemVisible(PopUp::Viewer, kDefaultImage, !show);
  main.SetPopUpItemVisible(PopUp::Viewer, kRemoveDefault, show);
}

bool FrmFullScreen::ExitFullScreenDisplay(int changeWallPaperOrNot, bool leaveTimer) {
  try {
    MainView& main = view_;
    Options& o = options_;
    std::string path = o.WallPaperName;
    if (changeWallPaperOrNot == 1 && !shownPath_.empty()) {
      path = shownPath_;
      const std::string type = typeOf(path);
      bool done = false;
      if (type == "bmp") {
        headers_.ReadImageHeader(path);
        done = writer_.SetDesktopWallpaper(path) != 0;
      } else if (type == "wmf") {
        done = writer_.PrepareMetafileWallpaper(path);
      } else if (decodable(path)) {
        done = writer_.PrepareDecodedWallpaper(path);
      }
      if (!done) return false;
      o.WallPaperName = path;
      settings_.SaveWallPaperName();
      rotation_.AddToHistory(path);
      if (WallpaperChanged) WallpaperChanged();
    }
    const int position = rotation_.FindInList(path);
    rotation_.SetPosition(position);
    const ListView& list = main.CurrentFileList();
    main.ChangeMainStatusMsg(position > 0 ? "Wallpaper file: " + nameOf(path) + " " + NumberText(position) + " of " +
                                                NumberText(list.Count())
                                          : "Wallpaper file: " + Rotation::ShortenedPath(path, 50));
    Unload();
    main.ReturnFromViewer();
    if (!leaveTimer && main.ClockRunning()) rotation_.TimerOnOff();
    state_.ImageWidth = 0;
    state_.ImageHeight = 0;
    return true;
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " + "has occurred while exiting from full-screen view.",
         mb::OkOnly | mb::Critical);
    return false;
  }
}

}  // namespace tapestrel
