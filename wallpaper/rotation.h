// Which picture becomes the wallpaper and when: the change requests (next, previous,
// selected, default, remove default), the rotation clock, the change interval, the
// random order and the wallpaper history.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tapestrel {

class Clock;
class DecoderFrontEnd;
class FileList;
class FileSystem;
class HeaderReader;
class MainView;
class PictureViewer;
class Settings;
class TrayTip;
class Ui;
class WallpaperWriter;
struct Options;
struct ProgramState;

class TextBox;

class Rotation {
 public:
  enum Request { Next = 0, Previous = 1, Selected = 2, Default = 3 };

  Rotation(Ui& ui, FileSystem& files, Clock& clock, Options& options, ProgramState& state, Settings& settings,
           HeaderReader& headers, WallpaperWriter& writer, FileList& list, DecoderFrontEnd& decoder, MainView& view,
           TrayTip& tray, PictureViewer& viewer)
      : ui_(ui),
        files_(files),
        clock_(clock),
        options_(options),
        state_(state),
        settings_(settings),
        headers_(headers),
        writer_(writer),
        list_(list),
        decoder_(decoder),
        view_(view),
        tray_(tray),
        viewer_(viewer) {}

  // Wired by the program: after every successful change (the change event plays), and
  // after each tick's countdown is shown (the system menu shows it too).
  std::function<void()> WallpaperChanged;
  std::function<void()> CountdownShown;

  // True when a picture was set.
  bool ChangeWallpaper(int request, bool restore = false);
  // One tick of the rotation clock, `milliseconds` long.
  void ChangeBackdropAtUserSetTime(double milliseconds);
  void TimerOnOff();
  void SetTimeIntervalMenu(int index);
  // The custom box: typed text, focus in and out, and the spin button's steps.
  void CustomIntervalTyped(const std::string& text);
  // What an interval box's whole text gives, typed or pasted: the minutes to use (at
  // least a tenth), or none while it is still being typed (empty, a lone point) or when
  // it is refused; then the user is told and the box shows the interval in force again.
  std::optional<double> TypedInterval(TextBox& box);
  // The same for a text, `putBack` given the interval in force when the text is refused.
  std::optional<double> TypedInterval(const std::string& text, const std::function<void(const std::string&)>& putBack);
  void CustomIntervalFocus(bool entering);
  void SpinTimeInterval(bool up);
  // A new interval from elsewhere (the floating changer): "Custom" checked, the box
  // showing it, and the countdown from its start.
  void SetInterval(double minutes);
  // Applies the loaded interval to its menu item and the box.
  void ShowInterval();

  int NextRandomIndex();
  // The pictures for the screens after the first when each has its own: those that
  // follow `first` in the rotation (random ones in random order), each suiting its screen.
  std::vector<std::string> PicturesFollowing(const std::string& first, std::size_t count);
  // Whether a picture suits a screen of this size by the user's choices: standing the
  // same way, and not smaller than the share of it asked for. A picture whose size
  // cannot be read suits.
  bool Suits(const std::string& path, long screenWidth, long screenHeight);
  // The 1-based position of the item whose folder and name are `path`, 0 when absent.
  int FindInList(const std::string& path) const;
  void AddToHistory(const std::string& path);
  void LoadHistory();
  void HistoryItemChosen(int index);
  // The path shortened to `limit` characters: its head, "..." and its tail.
  static std::string ShortenedPath(const std::string& path, std::size_t limit);

  double Elapsed() const { return elapsed_; }
  int Position() const { return position_; }
  // The viewer shows pictures of its own choosing: the rotation goes on from there.
  void SetPosition(int position) { position_ = position; }
  // The countdown as the last tick told it.
  const std::string& CountdownText() const { return countdown_; }
  // The time left until the next change, "h:mm:ss".
  std::string RemainingText() const;
  // The next change now, as though the interval had passed (a running clock only).
  void ChangeNow();

 private:
  // Switches a running clock off; a stopped one stays stopped.
  void StopClock();
  void RebuildHistoryMenu();
  // "Wallpaper name: " with the file's name and its place in the list.
  void ShowWallpaperCaption(const std::string& path, int position, int count);
  std::string PathOf(int position) const;  // 1-based
  // How many pictures one change takes: one for each screen when each has its own.
  int Group() const;
  // From `position` (1-based), the first position in steps of `step` (1 or -1) whose
  // picture suits the first screen; `position` itself when none does.
  int Suiting(int position, int step);
  // A random position whose picture suits the first screen, if any of a round does.
  int SuitingRandom();
  int Count() const;

  // Collaborators.
  Ui& ui_;
  FileSystem& files_;
  Clock& clock_;
  Options& options_;
  ProgramState& state_;
  Settings& settings_;
  HeaderReader& headers_;
  WallpaperWriter& writer_;
  FileList& list_;
  DecoderFrontEnd& decoder_;
  MainView& view_;
  TrayTip& tray_;
  PictureViewer& viewer_;
  double elapsed_ = 0;
  int position_ = 0;
  int nextPosition_ = 1;
  bool paused_ = false;
  bool writingBox_ = false;
  std::vector<int> order_;
  bool inTick_ = false;
  std::string countdown_;
  std::size_t cursor_ = 0;
};

}  // namespace tapestrel
