// The persistent options of the program, as held during a run. The settings routines
// read them at start-up and write them on save; menus and dialogs show and change them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace tapestrel {

// The program loaded, the wallpaper changed, the program exiting.
inline constexpr std::size_t kMediaEvents = 3;

struct WindowPlacement {
  long left = 0;
  long top = 0;
  long width = 0;
  long height = 0;
  bool operator==(const WindowPlacement&) const = default;
};

// The shortest and the longest interval between wallpaper changes, in minutes (the
// longest: 30 days).
inline constexpr double kShortestInterval = 0.1;
inline constexpr double kLongestInterval = 43200;

struct Options {
  // View and sort.
  std::array<int, 2> ListViewView{0, 0};
  int SortKey = 0;
  std::int16_t SortOrder = 0;
  int BackdropMode = 0;

  // Monitors and quality: how pictures are arranged on several screens (0 the same on
  // each, 1 one for each, 2 one across all), whether shrinking averages pixels, and
  // which pictures a screen passes over: those standing the other way than it does,
  // and those smaller than this percentage of it (0: none).
  int ScreenArrangement = 0;
  bool SmoothShrinking = true;
  bool MatchOrientation = false;
  int SkipSmallerThanPercent = 0;

  // Wallpaper.
  std::string WallPaperName;
  double WallPaperChangeInterval = 1;  // minutes
  std::string AlternateFilePattern = ".jp?";

  // Window geometry.
  long StartupSplitPoint = 0;
  bool HasWindowPosition = false;  // false: the window keeps its design size
  WindowPlacement WindowPosition;

  // The folder table: positions 0-4 picture folders, 5-9 move-to folders, newest first.
  std::array<std::string, 10> Folders;
  int PictureDirectory = 0;
  int MoveDirectory = 5;

  // Check marks of the menu.
  bool DeleteConfirmation = true;
  bool RenameOnCollision = true;

  // Start choices written by the options dialog.
  bool NormalWindowAtStart = true;
  int ChangeWallpaperAtStart = 0;
  int FillFromActiveFolders = 0;

  // Outside programs: positions 0-4 viewers, 5-9 editors.
  std::array<std::string, 10> Programs{"internal",        "internal",        "internal",        "internal",
                                       "internal",        "Enter an editor", "Enter an editor", "Enter an editor",
                                       "Enter an editor", "Enter an editor"};
  int Viewer = 0;
  int Editor = 5;

  // File filters.
  std::array<std::string, 3> ActiveFilters{"*", "*", "*"};
  std::array<std::string, 5> NotBmpFileFilter{"*", "*", "*", "*", "*"};
  std::array<std::string, 5> BmpFileFilter{"*", "*", "*", "*", "*"};
  std::array<std::string, 5> CustomFilter{"*.*", "*.*", "*.*", "*.*", "*.*"};

  // Desktop hot key: modifier flags and virtual-key code (F12).
  int HotKeyModifier = 0;
  int HotKeyCode = 123;

  // The options of the options dialog.
  int MinimizeToTray = 0;
  int DefaultStyle = 0;
  int ClearActiveFolders = 0;
  int TryJpg2BmpNoConfirm = 0;
  int ViewingWindowSize = 0;
  int ImageCenterStyle = 1;
  std::string Defaults;
  // The default screen saver, installed when none is.
  std::string DefaultScreenSaver;
  int ChangeRandomly = 0;
  int JpegCommentOn = 1;
  int DosBoxWindowState = 0;
  int LoadAltsOnBoot = 0;
  int SaveSettingsImmediately = 1;
  int SortAtStart = 0;
  int SpeedFill = 1;
  int RunProgramAtStartUp = 0;
  int OpenExplorerStyle = 0;
  int RemoveAfterDecode = 0;
  int ToolBarWrappable = 1;

  // Decoder.
  std::string ColorDepth;
  bool InternalDecoding = false;
  bool ReduceJpegSize = true;
  int DctMethod = 2;
  int Dither = 0;
  int JpegDither = 0;
  bool FancyUpsampling = true;
  bool TwoPassQuantize = true;

  // Media events, by event: 0 the program loaded, 1 the wallpaper changed, 2 the
  // program exiting.
  int PlayOneCDTrack = 1;
  std::array<std::string, kMediaEvents> mciEvents{};
  std::array<int, kMediaEvents> mciEventsOn{};
  std::array<int, kMediaEvents> PlayNext{};
  std::array<int, kMediaEvents> MuteAvi{};
  std::array<int, kMediaEvents> LoopVideo{};
  // Where the video window was last: left and top in pixels, one blank between.
  std::string EventWindow;

  bool operator==(const Options&) const = default;
};

}  // namespace tapestrel
