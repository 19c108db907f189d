#include "wallpaper/rotation.h"

#include <algorithm>
#include <cmath>

#include "app/command_ids.h"
#include "app/program.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tapestrel {

namespace {

constexpr double kIntervals[] = {60, 30, 15, 5, 1};

}  // namespace

int Rotation::Count() const {
  const FrmMain& frm = program_.frmMain;
  return frm.lstvFiles[frm.CurrentList()].Count();
}

std::string Rotation::PathOf(int position) const {
  const FrmMain& frm = program_.frmMain;
  const ListItem& item = frm.lstvFiles[frm.CurrentList()].Items()[static_cast<std::size_t>(position - 1)];
  return item.Column(1) + item.text;
}

int Rotation::FindInList(const std::string& path) const {
  for (int i = 1; i <= Count(); ++i)
    if (EqualsIgnoreCase(PathOf(i), path)) return i;
  return 0;
}

int Rotation::NextRandomIndex() {
  const int count = Count();
  if (count <= 0) return 0;  // nothing to choose from
  if (cursor_ >= order_.size() || static_cast<int>(order_.size()) != count) {
    // A new permutation: every picture once before any repeats.
    Clock& clock = program_.platform.clock;
    clock.Randomize(clock.TickCount());
    std::vector<int> scratch(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) scratch[static_cast<std::size_t>(i)] = i;
    order_.clear();
    while (!scratch.empty()) {
      const auto at = std::min(scratch.size() - 1, static_cast<std::size_t>(clock.Random() * static_cast<double>(scratch.size())));
      order_.push_back(scratch[at]);
      scratch.erase(scratch.begin() + static_cast<std::ptrdiff_t>(at));
    }
    cursor_ = 0;
  }
  return order_[cursor_++] + 1;
}

void Rotation::ShowWallpaperCaption(const std::string& path, int position, int count) {
  program_.frmMain.SetCaption("Wallpaper name: " + FilePart(path) + " " + NumberText(position) + " of " + NumberText(count));
}

bool Rotation::ChangeWallpaper(int request, bool restore) {
  FrmMain& frm = program_.frmMain;
  Ui& ui = program_.platform.ui;
  Options& o = program_.options;
  ListView& list = frm.lstvFiles[frm.CurrentList()];
  std::string path;
  try {
    if (request == Selected && !restore) {
      const int focused = list.FocusedIndex();
      if (focused < 0 || focused >= list.Count() || !list.Items()[focused].selected) {
        ui.MsgBox("The filename with focus must be selected to change the wallpaper.\nItems which have the focus are "
                  "enclosed in a dotted rectangle.",
                  mb::OkOnly | mb::Critical, "Wallpaper change");
        return false;
      }
    }
    if (list.Count() == 0) {
      ui.MsgBox("The file list box is empty since there are no files matching filter, " + program_.files.CurrentPattern() +
                    ".\nThat is, there are no matching files in the present folder \nOR in the active folder(s), if you "
                    "filled from the active list.",
                mb::OkOnly | mb::Information, "Wallpaper Change Error");
      return false;
    }
    if (restore) {
      // Back from the default picture: the wallpaper in use before it, prepared already.
      const std::string current = EqualsIgnoreCase(o.WallPaperName.substr(o.WallPaperName.size() >= 3 ? o.WallPaperName.size() - 3 : 0), "bmp")
                                      ? o.WallPaperName
                                      : program_.wallpaper.WorkingBitmap();
      program_.headers.ReadImageHeader(current);
      program_.wallpaper.SetDesktopWallpaper(current);
      frm.SwitchBossAndRestoreMenus(1);
      if (position_ >= 1 && position_ <= list.Count()) {
        list.EnsureVisible(position_ - 1);
        ShowWallpaperCaption(o.WallPaperName, position_, list.Count());
      }
      program_.RaiseWallpaperChanged();
      return true;
    }
    const bool randomOrder = o.ChangeRandomly != 0;
    int position = FindInList(o.WallPaperName);
    if (position == 0 && request != Selected) {
      const std::string question = randomOrder ? "Proceed with the random change?" : "Would you like to use the first file in the list?";
      if (ui.MsgBox("No file in the list matches the present wallpaper name.\n" + question, mb::YesNo | mb::Question,
                    "Wallpaper change") != mb::IdYes)
        return false;
    }
    const int previousPosition = position_;
    const int count = list.Count();
    if (request == Default) {
      path = o.Defaults;
      program_.state.UseDefaultStyleOnce = true;
    } else {
      if (randomOrder && (request == Next || request == Previous)) position = NextRandomIndex();
      else if (request == Next) position = position >= count ? 1 : position + 1;
      else if (request == Previous) position = position <= 1 ? count : position - 1;
      else position = list.FocusedIndex() + 1;
      nextPosition_ = position >= count ? 1 : position + 1;
      path = PathOf(position);
    }
    const std::string type = ToLower(path.size() >= 3 ? path.substr(path.size() - 3) : path);
    bool prepared = false;
    if (type == "bmp") prepared = program_.wallpaper.PrepareBitmapWallpaper(path);
    else if (type == "wmf") prepared = program_.wallpaper.PrepareMetafileWallpaper(path);
    else if (std::string(" jpg pcx png tga jpeg peg ").find(" " + type + " ") != std::string::npos)
      prepared = program_.wallpaper.PrepareDecodedWallpaper(path);
    else {
      ui.MsgBox("Graphic type " + type + " is not supported. Sorry!", mb::OkOnly | mb::Information, "Wallpaper-change error");
      return false;
    }
    // The default picture's style is for its own preparation only, whether or not the
    // preparation got as far as the desktop.
    program_.state.UseDefaultStyleOnce = false;
    if (!prepared) {
      position_ = previousPosition;
      return false;
    }
    elapsed_ = 0;  // every change starts the countdown again
    if (request == Default) {
      if (frm.tmrTapestrel[0].Enabled()) TimerOnOff();
      frm.SetCaption("Wallpaper name: " + path);
      frm.SwitchBossAndRestoreMenus(0);
      program_.RaiseWallpaperChanged();
      return true;
    }
    position_ = position;
    list.SelectOnly(position - 1);
    list.EnsureVisible(position - 1);
    o.WallPaperName = path;
    program_.settings.SaveWallPaperName();
    AddToHistory(path);
    ShowWallpaperCaption(path, position, count);
    program_.RaiseWallpaperChanged();
    return true;
  } catch (const RuntimeError& e) {
    ui.MsgBox(e.description + " (" + NumberText(e.number) + ") " +
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
  if (program_.frmMain.tmrTapestrel[0].Enabled()) TimerOnOff();
}

void Rotation::ChangeBackdropAtUserSetTime(double milliseconds) {
  // The clock keeps ticking while a message box of an earlier tick is open: those ticks
  // pass, so that one failure makes one message. So do ticks while the converter is
  // being waited for (its question box lets them run): it is writing the working bitmap.
  if (inTick_ || program_.decoder.Converting()) return;
  struct TickMark {
    bool& inTick;
    ~TickMark() { inTick = false; }
  } mark{inTick_ = true};
  FrmMain& frm = program_.frmMain;
  Options& o = program_.options;
  const int count = Count();
  if (count == 0) {
    StopClock();
    program_.platform.ui.MsgBox("No wallpaper available in file list. Sorry!", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  elapsed_ += milliseconds;
  const double minutes = elapsed_ / 1000 / 60;
  const double remaining = std::max(0.0, o.WallPaperChangeInterval - minutes);
  // In the program's own window the picture counted down from is the one it shows.
  const FrmFullScreen& viewer = program_.frmFullScreen;
  const std::string& current = o.BackdropMode >= 3 && viewer.Visible() ? viewer.ShownPath() : o.WallPaperName;
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
  program_.frmTrayIcon.TrayModify(countdown_);  // the tip, while no window shows
  program_.systemMenu.UpdateSystemMenuCaption();
  if (minutes < o.WallPaperChangeInterval) return;

  std::string path;
  try {
    // The viewer leaves the wallpaper's name alone: there the rotation goes on from the
    // picture it showed last.
    const bool internal = o.BackdropMode >= 3;
    int index = o.ChangeRandomly ? NextRandomIndex() : (internal ? position_ : FindInList(o.WallPaperName)) + 1;
    if (index > count || index < 1) index = 1;
    path = PathOf(index);
    frm.SetCaption("Using " + FilePart(path) + " as the next wallpaper.");
    bool shown = false;
    if (internal) {
      FrmFullScreen& viewer = program_.frmFullScreen;
      if (!viewer.Visible()) viewer.ViewerMode = o.BackdropMode;
      shown = viewer.ShowInViewer(path);
    } else {
      shown = program_.wallpaper.ChangeWallpaperTo(path);
    }
    if (!shown) {
      // Stopped, so that one failure makes one message rather than one a tick.
      StopClock();
      return;
    }
    frm.UpdatePopUpCaptions("mCustom");
    frm.UpdatePopUpCaptions("mCustom2");
    frm.SetCaption("Filename: " + ShortenedPath(path, 50) + " " + NumberText(index) + " of " + NumberText(count));
    position_ = index;
    ListView& list = frm.lstvFiles[frm.CurrentList()];
    list.SelectOnly(index - 1);
    list.EnsureVisible(index - 1);
    elapsed_ = 0;
  } catch (const RuntimeError& e) {
    StopClock();
    program_.platform.ui.MsgBox(e.description + ".\nThe filename is " + path + ".", mb::OkOnly | mb::Critical, kApplicationName);
  }
}

std::string Rotation::RemainingText() const {
  const double seconds = std::floor(std::max(0.0, program_.options.WallPaperChangeInterval * 60 - elapsed_ / 1000));
  return NumberText(std::floor(seconds / 3600)) + ":" + FormatNumber(std::floor(std::fmod(seconds, 3600) / 60), "00") + ":" +
         FormatNumber(std::fmod(seconds, 60), "00");
}

void Rotation::ChangeNow() {
  if (!program_.frmMain.tmrTapestrel[0].Enabled()) return;
  const double left = program_.options.WallPaperChangeInterval * 60 * 1000 - elapsed_;
  ChangeBackdropAtUserSetTime(std::max(0.0, left));
}

void Rotation::TimerOnOff() {
  FrmMain& frm = program_.frmMain;
  Timer& clock = frm.tmrTapestrel[0];
  if (!clock.Enabled()) {
    const int found = FindInList(program_.options.WallPaperName);
    if (found == 0 && !program_.options.ChangeRandomly && Count() > 0 &&
        program_.platform.ui.MsgBox(program_.options.WallPaperName + " was not found\nWould you like to use the first file in the list?",
                                    mb::YesNo | mb::Question, "Wallpaper error") != mb::IdYes)
      return;
    nextPosition_ = found + 1;
    position_ = found;
    elapsed_ = 0;
    clock.SetEnabled(true);
    if (nextPosition_ <= Count()) frm.lstvFiles[frm.CurrentList()].SelectOnly(nextPosition_ - 1);
  } else {
    clock.SetEnabled(false);
    elapsed_ = 0;
    frm.SetCaption(FilePart(program_.options.WallPaperName) + " [" + NumberText(position_) + " of " + NumberText(Count()) + "]");
  }
  const bool running = clock.Enabled();
  frm.tbrCommands.SetPressed("timer", running);
  frm.mCustom[0].SetChecked(running);
  frm.mCustom2[0].SetChecked(running);
  // The help lines say what choosing the item would do now.
  const char* const help = running ? "Turns the timer off." : "Turns the timer on.";
  for (Menu* item : {&frm.mnuTimerOnOff, &frm.mCustom[0], &frm.mCustom2[0]}) item->SetHelpLine(help);
}

void Rotation::SetTimeIntervalMenu(int index) {
  FrmMain& frm = program_.frmMain;
  if (index < 0 || index > 5) {
    program_.platform.ui.MsgBox("Unsuccesful menu radio button check", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  for (int i = 0; i < 6; ++i) frm.mnuTimeInterval[i].SetChecked(i == index);
  if (index == 5) {
    frm.txtCustomChangeInterval.SetFocus();
    frm.txtCustomChangeInterval.SetSelection(0, static_cast<int>(frm.txtCustomChangeInterval.Text().size()));
    return;
  }
  const double minutes = kIntervals[index];
  program_.options.WallPaperChangeInterval = minutes;
  writingBox_ = true;
  frm.txtCustomChangeInterval.SetText(FormatNumber(minutes, minutes < 10 ? "0.0" : "0"));
  writingBox_ = false;
}

void Rotation::ShowInterval() {
  FrmMain& frm = program_.frmMain;
  const double minutes = program_.options.WallPaperChangeInterval;
  const auto preset = std::find(std::begin(kIntervals), std::end(kIntervals), minutes);
  const int index = static_cast<int>(preset - std::begin(kIntervals));
  for (int i = 0; i < 6; ++i) frm.mnuTimeInterval[i].SetChecked(i == index);
  writingBox_ = true;
  frm.txtCustomChangeInterval.SetText(FormatNumber(minutes, "0.0"));
  writingBox_ = false;
}

std::optional<double> Rotation::TypedInterval(TextBox& box) {
  const std::string text = Trim(box.Text());
  if (text.empty() || text == ".") return std::nullopt;
  const std::optional<double> minutes = PlainDecimal(text);
  if (minutes && *minutes <= kLongestInterval) return std::max(kShortestInterval, *minutes);
  program_.platform.ui.MsgBox("\"" + text + "\" is not an interval. Enter a number of minutes from 0.1 to 43200 (30 days).",
                              mb::OkOnly | mb::Exclamation, kApplicationName);
  writingBox_ = true;
  box.SetText(FormatNumber(program_.options.WallPaperChangeInterval, "0.0"));
  box.SetSelection(0, static_cast<int>(box.Text().size()));
  writingBox_ = false;
  return std::nullopt;
}

void Rotation::CustomIntervalTyped(const std::string&) {
  if (writingBox_) return;
  const std::optional<double> minutes = TypedInterval(program_.frmMain.txtCustomChangeInterval);
  if (!minutes) return;
  program_.options.WallPaperChangeInterval = *minutes;
  elapsed_ = 0;
  for (int i = 0; i < 6; ++i) program_.frmMain.mnuTimeInterval[i].SetChecked(i == 5);
}

void Rotation::CustomIntervalFocus(bool entering) {
  Timer& clock = program_.frmMain.tmrTapestrel[0];
  if (entering) {
    if (clock.Enabled()) {
      clock.SetEnabled(false);
      paused_ = true;
    }
    return;
  }
  writingBox_ = true;
  program_.frmMain.txtCustomChangeInterval.SetText(FormatNumber(program_.options.WallPaperChangeInterval, "0.0"));
  writingBox_ = false;
  if (paused_) {
    paused_ = false;
    elapsed_ = 0;
    clock.SetEnabled(true);
  }
}

void Rotation::SetInterval(double minutes) {
  program_.options.WallPaperChangeInterval = minutes;
  elapsed_ = 0;
  for (int i = 0; i < 6; ++i) program_.frmMain.mnuTimeInterval[i].SetChecked(i == 5);
  writingBox_ = true;
  program_.frmMain.txtCustomChangeInterval.SetText(FormatNumber(minutes, "0.0"));
  writingBox_ = false;
}

void Rotation::SpinTimeInterval(bool up) {
  double& minutes = program_.options.WallPaperChangeInterval;
  // Tenths of a minute below ten minutes, whole minutes from ten on.
  const double step = minutes < 10 ? 0.1 : 1;
  // Tenths are kept exact so that 9.9 + 0.1 is 10, not 9.99999.
  minutes = std::clamp(std::round((minutes + (up ? step : -step)) * 10) / 10, kShortestInterval, kLongestInterval);
  elapsed_ = 0;
  for (int i = 0; i < 6; ++i) program_.frmMain.mnuTimeInterval[i].SetChecked(i == 5);
  writingBox_ = true;
  program_.frmMain.txtCustomChangeInterval.SetText(FormatNumber(minutes, minutes < 10 ? "0.0" : "0"));
  writingBox_ = false;
}

void Rotation::AddToHistory(const std::string& path) {
  std::vector<std::string>& history = program_.state.History;
  history.erase(std::remove_if(history.begin(), history.end(), [&](const std::string& p) { return EqualsIgnoreCase(p, path); }),
                history.end());
  history.insert(history.begin(), path);
  if (history.size() > kHistorySize) history.resize(kHistorySize);
  program_.settings.SaveHistory(history);
  RebuildHistoryMenu();
}

void Rotation::LoadHistory() {
  program_.settings.LoadHistory();
  RebuildHistoryMenu();
}

void Rotation::RebuildHistoryMenu() {
  FrmMain& frm = program_.frmMain;
  MenuSet& menus = frm.Menus();
  Menu& file = menus.Get("mnuFile");
  // Take the old entries out, then put one item a path after the separator.
  for (int i = 1; Menu* old = menus.Find("mnuBackdropHistory", i); ++i) menus.Remove(*old);
  if (Menu* trailing = menus.Find("mnuBackdropHistoryEnd")) menus.Remove(*trailing);
  int at = file.PositionOf(frm.mnuBackdropHistory[0]) + 1;
  const auto& history = program_.state.History;
  for (std::size_t i = 0; i < history.size(); ++i) {
    Menu& item = menus.Add("mnuBackdropHistory", static_cast<int>(i) + 1, &file, at++);
    item.SetHelpContextID(1006);
    item.SetCommandId(IDM_BACKDROP_HISTORY + static_cast<int>(i) + 1);
    item.SetCaption("&" + NumberText(static_cast<double>(i + 1)) + " " + history[i]);
    const int id = item.CommandId();
    item.Click = [&frm, id] { frm.Dispatch(id); };
  }
  if (!history.empty()) menus.Add("mnuBackdropHistoryEnd", -1, &file, at).SetCaption("-");
}

void Rotation::HistoryItemChosen(int index) {
  const auto& history = program_.state.History;
  if (index < 1 || index > static_cast<int>(history.size())) return;
  const std::string path = history[static_cast<std::size_t>(index) - 1];
  FrmMain& frm = program_.frmMain;
  if (!program_.platform.files.FileExists(path)) {
    program_.platform.ui.MsgBox(path + " does is not present", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  const int position = FindInList(path);
  if (position > 0) {
    frm.lstvFiles[frm.CurrentList()].SelectOnly(position - 1);
    frm.SetCaption("Wallpaper file: " + FilePart(path) + " " + NumberText(position) + " of " + NumberText(Count()));
    nextPosition_ = position + 1;
  } else {
    frm.SetCaption("Wallpaper file: " + path + " is not in the list.");
  }
  program_.wallpaper.ChangeWallpaperTo(path);
}

}  // namespace tapestrel
