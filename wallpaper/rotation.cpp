#include "wallpaper/rotation.h"

#include <algorithm>
#include <cmath>

#include "catalogue/file_list.h"
#include "core/main_view.h"
#include "core/options.h"
#include "core/picture_viewer.h"
#include "core/program_state.h"
#include "core/settings.h"
#include "core/tray_tip.h"
#include "imaging/decoder_front_end.h"
#include "imaging/header_reader.h"
#include "platform/clock.h"
#include "platform/controls/controls.h"
#include "platform/controls/list_view.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/screen_layout.h"
#include "wallpaper/wallpaper_writer.h"

namespace tapestrel {

namespace {

constexpr double kIntervals[] = {60, 30, 15, 5, 1};

}  // namespace

int Rotation::Count() const { return view_.CurrentFileList().Count(); }

std::string Rotation::PathOf(int position) const {
  const ListItem& item = view_.CurrentFileList().Items()[static_cast<std::size_t>(position - 1)];
  return item.Column(1) + item.text;
}

int Rotation::FindInList(const std::string& path) const {
  for (int i = 1; i <= Count(); ++i)
    if (EqualsIgnoreCase(PathOf(i), path)) return i;
  return 0;
}

namespace {

// A position moved by `by` places around a list of `count` (1-based).
int around(int position, int by, int count) {
  if (count <= 0) return 0;
  return ((position - 1 + by) % count + count) % count + 1;
}

}  // namespace

int Rotation::Group() const {
  if (options_.ScreenArrangement != static_cast<int>(ScreenArrangement::Each) || !writer_.Composes()) return 1;
  return std::max<int>(1, static_cast<int>(writer_.PictureScreens().size()));
}

bool Rotation::Suits(const std::string& path, long screenWidth, long screenHeight) {
  const int percent = std::clamp(options_.SkipSmallerThanPercent, 0, 100);
  if (!options_.MatchOrientation && percent == 0) return true;
  // Read quietly, and the size of the picture in hand left as it was.
  const bool quiet = state_.HeaderReaderQuiet;
  const auto width = state_.ImageWidth;
  const auto height = state_.ImageHeight;
  state_.HeaderReaderQuiet = true;
  state_.ImageWidth = state_.ImageHeight = 0;
  try {
    headers_.ReadImageHeader(path);
  } catch (const RuntimeError&) {
    state_.ImageWidth = state_.ImageHeight = 0;
  }
  const long w = state_.ImageWidth;
  const long h = state_.ImageHeight;
  state_.HeaderReaderQuiet = quiet;
  state_.ImageWidth = width;
  state_.ImageHeight = height;
  if (w <= 0 || h <= 0) return true;
  if (options_.MatchOrientation && ((screenHeight > screenWidth && w > h) || (screenWidth > screenHeight && h > w)))
    return false;
  return w * 100 >= percent * screenWidth && h * 100 >= percent * screenHeight;
}

int Rotation::Suiting(int position, int step) {
  const std::vector<PixelRect> screens = writer_.PictureScreens();
  const int count = Count();
  if (screens.empty() || count <= 0) return position;
  for (int tried = 0, at = position; tried < count; ++tried, at = around(at, step, count))
    if (Suits(PathOf(at), screens.front().Width(), screens.front().Height())) return at;
  return position;
}

int Rotation::SuitingRandom() {
  const std::vector<PixelRect> screens = writer_.PictureScreens();
  int first = NextRandomIndex();
  if (screens.empty()) return first;
  for (int tried = 1, at = first; tried < Count() && at > 0; ++tried, at = NextRandomIndex())
    if (Suits(PathOf(at), screens.front().Width(), screens.front().Height())) return at;
  return first;
}

std::vector<std::string> Rotation::PicturesFollowing(const std::string& first, std::size_t count) {
  const std::vector<PixelRect> screens = writer_.PictureScreens();
  const int listed = Count();
  std::vector<std::string> pictures;
  if (listed <= 0) return pictures;
  int at = FindInList(first);
  for (std::size_t k = 1; k <= count; ++k) {
    const PixelRect screen = k < screens.size() ? screens[k] : PixelRect{};
    int chosen = 0;
    for (int tried = 0; tried < listed && chosen == 0; ++tried) {
      const int candidate = options_.ChangeRandomly ? NextRandomIndex() : (at = around(at, 1, listed));
      if (candidate > 0 && Suits(PathOf(candidate), screen.Width(), screen.Height())) chosen = candidate;
    }
    if (chosen == 0) chosen = options_.ChangeRandomly ? std::max(1, NextRandomIndex()) : at;
    pictures.push_back(PathOf(chosen));
  }
  return pictures;
}

int Rotation::NextRandomIndex() {
  const int count = Count();
  if (count <= 0) return 0;  // nothing to choose from
  if (cursor_ >= order_.size() || static_cast<int>(order_.size()) != count) {
    // A new permutation: every picture once before any repeats.
    clock_.Randomize(clock_.TickCount());
    std::vector<int> scratch(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) scratch[static_cast<std::size_t>(i)] = i;
    order_.clear();
    while (!scratch.empty()) {
      const auto at = std::min(scratch.size() - 1, static_cast<std::size_t>(clock_.Random() * static_cast<double>(scratch.size())));
      order_.push_back(scratch[at]);
      scratch.erase(scratch.begin() + static_cast<std::ptrdiff_t>(at));
    }
    cursor_ = 0;
  }
  return order_[cursor_++] + 1;
}

void Rotation::ShowWallpaperCaption(const std::string& path, int position, int count) {
  view_.SetCaption("Wallpaper name: " + FilePart(path) + " " + NumberText(position) + " of " + NumberText(count));
}

bool Rotation::ChangeWallpaper(int request, bool restore) {
  MainView& frm = view_;
  Options& o = options_;
  ListView& list = frm.CurrentFileList();
  std::string path;
  try {
    if (request == Selected && !restore) {
      const int focused = list.FocusedIndex();
      if (focused < 0 || focused >= list.Count() || !list.Items()[focused].selected) {
        ui_.MsgBox("The filename with focus must be selected to change the wallpaper.\nItems which have the focus are "
                  "enclosed in a dotted rectangle.",
                  mb::OkOnly | mb::Critical, "Wallpaper change");
        return false;
      }
    }
    if (list.Count() == 0) {
      ui_.MsgBox(
          "The file list box is empty since there are no files matching filter, " + list_.CurrentPattern() +
              ".\nThat is, there are no matching files in the present folder \nOR in the active folder(s), if you "
              "filled from the active list.",
          mb::OkOnly | mb::Information, "Wallpaper Change Error");
      return false;
    }
    if (restore) {
      // Back from the default picture: the wallpaper in use before it, prepared already.
      const std::string current =
          EqualsIgnoreCase(o.WallPaperName.substr(o.WallPaperName.size() >= 3 ? o.WallPaperName.size() - 3 : 0), "bmp") &&
                  !writer_.Composes()
              ? o.WallPaperName
              : writer_.WorkingBitmap();
      headers_.ReadImageHeader(current);
      writer_.SetDesktopWallpaper(current);
      frm.SwitchBossAndRestoreMenus(1);
      if (position_ >= 1 && position_ <= list.Count()) {
        list.EnsureVisible(position_ - 1);
        ShowWallpaperCaption(o.WallPaperName, position_, list.Count());
      }
      if (WallpaperChanged) WallpaperChanged();
      return true;
    }
    const bool randomOrder = o.ChangeRandomly != 0;
    int position = FindInList(o.WallPaperName);
    if (position == 0 && request != Selected) {
      const std::string question = randomOrder ? "Proceed with the random change?" : "Would you like to use the first file in the list?";
      if (ui_.MsgBox("No file in the list matches the present wallpaper name.\n" + question, mb::YesNo | mb::Question,
                    "Wallpaper change") != mb::IdYes)
        return false;
    }
    const int previousPosition = position_;
    const int count = list.Count();
    if (request == Default) {
      path = o.Defaults;
      state_.UseDefaultStyleOnce = true;
    } else {
      // With a picture for each screen a step passes over the whole group shown.
      const int group = position == 0 ? 1 : Group();
      if (randomOrder && (request == Next || request == Previous)) position = SuitingRandom();
      else if (request == Next) position = Suiting(around(position, group, count), 1);
      else if (request == Previous) position = Suiting(around(position, -group, count), -1);
      else position = list.FocusedIndex() + 1;
      nextPosition_ = position >= count ? 1 : position + 1;
      path = PathOf(position);
    }
    const std::string type = ToLower(path.size() >= 3 ? path.substr(path.size() - 3) : path);
    bool prepared = false;
    if (type == "bmp") prepared = writer_.PrepareBitmapWallpaper(path);
    else if (type == "wmf") prepared = writer_.PrepareMetafileWallpaper(path);
    else if (std::string(" jpg pcx png tga jpeg peg gif ebp tif iff eic eif vif jxl jxr wdp hdp dds ico ")
                 .find(" " + type + " ") != std::string::npos)  // ebp: .webp, iff: .tiff, eic: .heic, vif: .avif
      prepared = writer_.PrepareDecodedWallpaper(path);
    else {
      ui_.MsgBox("Graphic type " + type + " is not supported. Sorry!", mb::OkOnly | mb::Information, "Wallpaper-change error");
      return false;
    }
    // The default picture's style is for its own preparation only, whether or not the
    // preparation got as far as the desktop.
    state_.UseDefaultStyleOnce = false;
    if (!prepared) {
      position_ = previousPosition;
      return false;
    }
    elapsed_ = 0;  // every change starts the countdown again
    if (request == Default) {
      if (frm.ClockRunning()) TimerOnOff();
      frm.SetCaption("Wallpaper name: " + path);
      frm.SwitchBossAndRestoreMenus(0);
      if (WallpaperChanged) WallpaperChanged();
      return true;
    }
    position_ = position;
    list.SelectOnly(position - 1);
    list.EnsureVisible(position - 1);
    o.WallPaperName = path;
    settings_.SaveWallPaperName();
    AddToHistory(path);
    ShowWallpaperCaption(path, position, count);
    if (WallpaperChanged) WallpaperChanged();
    return true;
  } catch (const RuntimeError& e) {
    ui_.MsgBox(e.description + " (" + NumberText(e.number) + ") " +
                  "has occurred while attempting to change the wallpaper using this image:\n\t" + path,
              mb::OkOnly | mb::Critical, "Wallpaper-change error");
    return false;
  }
}

std::string Rotation::ShortenedPath(const std::string& path, std::size_t limit) {
  if (path.size() <= limit) return path;
  const std::size_t tail = CharacterStart(path, path.size() - (limit - 6));
  const std::size_t from = path.find('\\', tail);
  return path.substr(0, CharacterStart(path, 3)) + "..." + path.substr(from == std::string::npos ? tail : from);
}

void Rotation::StopClock() {
  if (view_.ClockRunning()) TimerOnOff();
}

void Rotation::ChangeBackdropAtUserSetTime(double milliseconds) {
  // The clock keeps ticking while a message box of an earlier tick is open: those ticks
  // pass, so that one failure makes one message. So do ticks while the converter is
  // being waited for (its question box lets them run): it is writing the working bitmap.
  if (inTick_ || decoder_.Converting()) return;
  struct TickMark {
    bool& inTick;
    ~TickMark() { inTick = false; }
  } mark{inTick_ = true};
  MainView& frm = view_;
  Options& o = options_;
  const int count = Count();
  if (count == 0) {
    StopClock();
    ui_.MsgBox("No wallpaper available in file list. Sorry!", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  elapsed_ += milliseconds;
  const double minutes = elapsed_ / 1000 / 60;
  const double remaining = std::max(0.0, o.WallPaperChangeInterval - minutes);
  // In the program's own window the picture counted down from is the one it shows.
  const PictureViewer& viewer = viewer_;
  const std::string& current = IsInternalMode(o.BackdropMode) && viewer.Showing() ? viewer.ShownPath() : o.WallPaperName;
  const std::string where = " " + FilePart(current) + " [" + NumberText(position_) + " of " + NumberText(count) + "].";
  const double seconds = std::floor(remaining * 60);
  if (remaining < 1) {
    countdown_ = FormatNumber(seconds, "00") + " sec. left" + where;
  } else {
    const double hours = std::floor(seconds / 3600);
    countdown_ = "Countdown: " + FormatNumber(hours, "##0") + ":" + FormatNumber(std::floor(std::fmod(seconds, 3600) / 60), "00") +
                 ":" + FormatNumber(std::fmod(seconds, 60), "00") + where;
  }
  frm.SetCaption(countdown_);
  tray_.TrayModify(countdown_);  // the tip, while no window shows
  if (CountdownShown) CountdownShown();
  if (minutes < o.WallPaperChangeInterval) return;

  std::string path;
  try {
    // The viewer leaves the wallpaper's name alone: there the rotation goes on from the
    // picture it showed last.
    const bool internal = IsInternalMode(o.BackdropMode);
    int index = 0;
    if (o.ChangeRandomly) {
      index = internal ? NextRandomIndex() : SuitingRandom();
    } else {
      index = internal ? position_ + 1 : FindInList(o.WallPaperName) + Group();
      if (index > count) index = around(index, 0, count);
    }
    if (index > count || index < 1) index = 1;
    if (!internal && !o.ChangeRandomly) index = Suiting(index, 1);
    path = PathOf(index);
    frm.SetCaption("Using " + FilePart(path) + " as the next wallpaper.");
    bool shown = false;
    if (internal) {
      if (!viewer_.Showing()) viewer_.SetViewerMode(o.BackdropMode);
      shown = viewer_.ShowInViewer(path);
    } else {
      shown = writer_.ChangeWallpaperTo(path);
    }
    if (!shown) {
      // Stopped, so that one failure makes one message rather than one a tick.
      StopClock();
      return;
    }
    frm.UpdatePopUpCaptions(PopUp::Tray);
    frm.UpdatePopUpCaptions(PopUp::Viewer);
    frm.SetCaption("Filename: " + ShortenedPath(path, 50) + " " + NumberText(index) + " of " + NumberText(count));
    position_ = index;
    ListView& list = frm.CurrentFileList();
    list.SelectOnly(index - 1);
    list.EnsureVisible(index - 1);
    elapsed_ = 0;
  } catch (const RuntimeError& e) {
    StopClock();
    ui_.MsgBox(e.description + ".\nThe filename is " + path + ".", mb::OkOnly | mb::Critical, kApplicationName);
  }
}

std::string Rotation::RemainingText() const {
  const double seconds = std::floor(std::max(0.0, options_.WallPaperChangeInterval * 60 - elapsed_ / 1000));
  return NumberText(std::floor(seconds / 3600)) + ":" + FormatNumber(std::floor(std::fmod(seconds, 3600) / 60), "00") + ":" +
         FormatNumber(std::fmod(seconds, 60), "00");
}

void Rotation::ChangeNow() {
  if (!view_.ClockRunning()) return;
  const double left = options_.WallPaperChangeInterval * 60 * 1000 - elapsed_;
  ChangeBackdropAtUserSetTime(std::max(0.0, left));
}

void Rotation::TimerOnOff() {
  MainView& frm = view_;
  if (!frm.ClockRunning()) {
    const int found = FindInList(options_.WallPaperName);
    if (found == 0 && !options_.ChangeRandomly && Count() > 0 &&
        ui_.MsgBox(options_.WallPaperName + " was not found\nWould you like to use the first file in the list?",
                   mb::YesNo | mb::Question, "Wallpaper error") != mb::IdYes)
      return;
    nextPosition_ = found + 1;
    position_ = found;
    elapsed_ = 0;
    frm.SetClockRunning(true);
    if (nextPosition_ <= Count()) frm.CurrentFileList().SelectOnly(nextPosition_ - 1);
  } else {
    frm.SetClockRunning(false);
    elapsed_ = 0;
    frm.SetCaption(FilePart(options_.WallPaperName) + " [" + NumberText(position_) + " of " + NumberText(Count()) +
                   "]");
  }
  frm.ShowClockState(frm.ClockRunning());
}

void Rotation::SetTimeIntervalMenu(int index) {
  MainView& frm = view_;
  if (index < 0 || index > 5) {
    ui_.MsgBox("Unsuccesful menu radio button check", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  frm.ShowIntervalChoice(index);
  if (index == 5) {
    frm.FocusIntervalBox();
    return;
  }
  const double minutes = kIntervals[index];
  options_.WallPaperChangeInterval = minutes;
  writingBox_ = true;
  frm.SetIntervalText(FormatNumber(minutes, minutes < 10 ? "0.0" : "0"));
  writingBox_ = false;
}

void Rotation::ShowInterval() {
  MainView& frm = view_;
  const double minutes = options_.WallPaperChangeInterval;
  const auto preset = std::find(std::begin(kIntervals), std::end(kIntervals), minutes);
  const int index = static_cast<int>(preset - std::begin(kIntervals));
  frm.ShowIntervalChoice(index);
  writingBox_ = true;
  frm.SetIntervalText(FormatNumber(minutes, "0.0"));
  writingBox_ = false;
}

std::optional<double> Rotation::TypedInterval(TextBox& box) {
  return TypedInterval(box.Text(), [&box](const std::string& text) {
    box.SetText(text);
    box.SetSelection(0, static_cast<int>(box.Text().size()));
  });
}

std::optional<double> Rotation::TypedInterval(const std::string& typed,
                                              const std::function<void(const std::string&)>& putBack) {
  const std::string text = Trim(typed);
  if (text.empty() || text == ".") return std::nullopt;
  const std::optional<double> minutes = PlainDecimal(text);
  if (minutes && *minutes <= kLongestInterval) return std::max(kShortestInterval, *minutes);
  ui_.MsgBox("\"" + text + "\" is not an interval. Enter a number of minutes from 0.1 to 43200 (30 days).",
             mb::OkOnly | mb::Exclamation, kApplicationName);
  writingBox_ = true;
  putBack(FormatNumber(options_.WallPaperChangeInterval, "0.0"));
  writingBox_ = false;
  return std::nullopt;
}

void Rotation::CustomIntervalTyped(const std::string&) {
  if (writingBox_) return;
  const std::optional<double> minutes = TypedInterval(view_.IntervalText(), [this](const std::string& text) {
    view_.SetIntervalText(text);
    view_.SelectIntervalText();
  });
  if (!minutes) return;
  options_.WallPaperChangeInterval = *minutes;
  elapsed_ = 0;
  view_.ShowIntervalChoice(5);
}

void Rotation::CustomIntervalFocus(bool entering) {
  if (entering) {
    if (view_.ClockRunning()) {
      view_.SetClockRunning(false);
      paused_ = true;
    }
    return;
  }
  writingBox_ = true;
  view_.SetIntervalText(FormatNumber(options_.WallPaperChangeInterval, "0.0"));
  writingBox_ = false;
  if (paused_) {
    paused_ = false;
    elapsed_ = 0;
    view_.SetClockRunning(true);
  }
}

void Rotation::SetInterval(double minutes) {
  options_.WallPaperChangeInterval = minutes;
  elapsed_ = 0;
  view_.ShowIntervalChoice(5);
  writingBox_ = true;
  view_.SetIntervalText(FormatNumber(minutes, "0.0"));
  writingBox_ = false;
}

void Rotation::SpinTimeInterval(bool up) {
  double& minutes = options_.WallPaperChangeInterval;
  // Tenths of a minute below ten minutes, whole minutes from ten on.
  const double step = minutes < 10 ? 0.1 : 1;
  // Tenths are kept exact so that 9.9 + 0.1 is 10, not 9.99999.
  minutes = std::clamp(std::round((minutes + (up ? step : -step)) * 10) / 10, kShortestInterval, kLongestInterval);
  elapsed_ = 0;
  view_.ShowIntervalChoice(5);
  writingBox_ = true;
  view_.SetIntervalText(FormatNumber(minutes, minutes < 10 ? "0.0" : "0"));
  writingBox_ = false;
}

void Rotation::AddToHistory(const std::string& path) {
  std::vector<std::string>& history = state_.History;
  history.erase(std::remove_if(history.begin(), history.end(), [&](const std::string& p) { return EqualsIgnoreCase(p, path); }),
                history.end());
  history.insert(history.begin(), path);
  if (history.size() > kHistorySize) history.resize(kHistorySize);
  settings_.SaveHistory(history);
  RebuildHistoryMenu();
}

void Rotation::LoadHistory() {
  settings_.LoadHistory();
  RebuildHistoryMenu();
}

void Rotation::RebuildHistoryMenu() { view_.ShowHistory(state_.History); }

void Rotation::HistoryItemChosen(int index) {
  const auto& history = state_.History;
  if (index < 1 || index > static_cast<int>(history.size())) return;
  const std::string path = history[static_cast<std::size_t>(index) - 1];
  MainView& frm = view_;
  if (!files_.FileExists(path)) {
    ui_.MsgBox(path + " does is not present", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  const int position = FindInList(path);
  if (position > 0) {
    frm.CurrentFileList().SelectOnly(position - 1);
    frm.SetCaption("Wallpaper file: " + FilePart(path) + " " + NumberText(position) + " of " + NumberText(Count()));
    nextPosition_ = position + 1;
  } else {
    frm.SetCaption("Wallpaper file: " + path + " is not in the list.");
  }
  writer_.ChangeWallpaperTo(path);
}

}  // namespace tapestrel
