// Turns one picture file into the desktop wallpaper: lays it out by the backdrop mode,
// writes the desktop's style values, shrinks a picture too large for the viewing size
// into the working bitmap, and hands the file to Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/picture_decoder.h"

namespace tapestrel {

class FileSystem;

class Desktop;
class Gvbox;
class HeaderReader;
class MainView;
class PictureViewer;
class RegistryRoutines;
class Settings;
class Ui;
struct Options;
struct ProgramState;

class PictureBox;
enum class ScreenArrangement;

inline constexpr const char* kWorkingBitmapName = "Tapestrel Wallpaper.bmp";

class WallpaperWriter {
 public:
  WallpaperWriter(FileSystem& files, Ui& ui, Desktop& desktop, Gvbox& gvbox, Options& options, ProgramState& state,
                  Settings& settings, RegistryRoutines& registry, HeaderReader& headers, MainView& view,
                  PictureViewer& viewer, PictureBox& picLoad, PictureBox& picWork)
      : files_(files),
        ui_(ui),
        desktop_(desktop),
        gvbox_(gvbox),
        options_(options),
        state_(state),
        settings_(settings),
        registry_(registry),
        headers_(headers),
        view_(view),
        viewer_(viewer),
        picLoad_(picLoad),
        picWork_(picWork) {}

  // Wired by the program: the decoder that turns a picture into the loading box (the
  // decoder uses this writer's routines, so it is called back, not held), and what
  // follows a wallpaper set by path: the history and the wallpaper-change event.
  std::function<bool(const std::string& path)> DecodeImage;
  std::function<void(const std::string& path)> WallpaperSet;
  // Wired to the rotation: the pictures that follow `first` for the other screens, when
  // each screen has a picture of its own.
  std::function<std::vector<std::string>(const std::string& first, std::size_t count)> OtherScreenPictures;

  // True when the wallpaper was changed.
  bool ChangeWallpaperTo(const std::string& path);
  bool PrepareBitmapWallpaper(const std::string& path);
  bool PrepareMetafileWallpaper(const std::string& path);
  bool PrepareDecodedWallpaper(const std::string& path);
  // Whether wallpapers are composed into one bitmap of the virtual screen: for the fill
  // and fit modes, and for any arrangement of screens but the same picture on each.
  bool Composes() const;
  // The rectangles of the virtual screen that each take a picture in the arrangement
  // chosen: every monitor (the primary first), or all of them as one.
  std::vector<struct PixelRect> PictureScreens() const;
  // The pictures of the screens as last composed, the primary's first.
  const std::vector<std::string>& ScreenPictures() const { return screenPictures_; }
  // Composes the current pictures again for the monitors as they are now (after a
  // display change), without choosing new ones; false when nothing was composed.
  bool Recompose();
  // After a display change: the composed wallpaper laid out again for the monitors as
  // they are, failures told.
  void DisplayChanged();
  // After Explorer restarted: the wallpaper set again if the desktop lost it.
  void RestoreIfLost();
  long SetDesktopWallpaper(const std::string& path);
  void ApplyWallpaperStyle();
  void ReadWallpaperStyle();
  double ComputeFitZoom();
  // The size ComputeFitZoom will give a picture of this size, without telling anything:
  // what a decoder need not decode beyond.
  PictureSize FittedSize(PictureSize whole) const;
  // keep 0: the shrunk picture is saved at `output` and the destination emptied;
  // keep 1: it stays in the destination box.
  void ShrinkPictureToFile(PictureBox& source, PictureBox& destination, double zoom, const std::string& output,
                           int keep, bool fromDecoder = false);
  bool LoadPictureIntoBox(PictureBox& box, const std::string& path);
  int ColorDepth();
  // Saves a picture as a BMP file, whole or not at all; raises error 75 when it cannot.
  void SavePicture(const struct Bitmap& picture, const std::string& path);

  // The working bitmap every shrunk or decoded wallpaper is written to.
  std::string WorkingBitmap() const;
  int ScreenWidthPixels() const;
  int ScreenHeightPixels() const;

  // The mode menu: radio-checks mode `index` and makes it the backdrop mode.
  void SelectBackdropMode(int index);
  // The screens menu: radio-checks arrangement `index` and makes it the arrangement.
  void SelectScreenArrangement(int index);
  // Switches between showing pictures on the desktop and in the program's own window.
  void SwitchDisplay(bool toInternal);
  // What confirming the options dialog does to the wallpaper when the viewing size or
  // position may have changed.
  void ViewingOptionsChanged();

  // The desktop values as last read or written.
  int TileWallpaper = 0;
  int WallPaperStyle = 0;
  std::int16_t wallpaperoriginx = 0;
  std::int16_t wallpaperoriginy = 0;

 private:
  void WriteStyleValue(const char* name, int value, int& cached);
  void WriteOrigin(const char* name, int value, std::int16_t& cached);
  void Report(const std::string& text, int style);
  double FitZoom(double w, double h) const;
  // The mode in force for the next wallpaper (the default picture's style once).
  int EffectiveMode() const;
  bool PrepareComposedWallpaper(const std::string& path);
  bool ComposeScreens(const std::vector<std::string>& pictures);
  // A picture of a screen, decoded no larger than `fit` says; none when it cannot be.
  std::shared_ptr<const Bitmap> LoadScreenPicture(const std::string& path, const FitFunction& fit);
  void WriteComposedStyle();
  // For the duration of one wallpaper's preparation, shrinking averages pixels when the
  // user wants it, and transparent parts show the desktop's colour.
  struct WallpaperDecodingScope;
  // The arrangement of screens in force (a stored value out of range: the same picture on each).
  ScreenArrangement Arrangement() const;

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Desktop& desktop_;
  Gvbox& gvbox_;
  Options& options_;
  ProgramState& state_;
  Settings& settings_;
  RegistryRoutines& registry_;
  HeaderReader& headers_;
  MainView& view_;
  PictureViewer& viewer_;
  PictureBox& picLoad_;
  PictureBox& picWork_;
  int lastViewingSize_ = -1;
  bool shrinkSmoothly_ = false;
  // While a screen picture decodes: the size it is decoded to.
  FitFunction composeFit_;
  std::vector<std::string> screenPictures_;
  // The file last made the desktop's wallpaper.
  std::string lastSet_;
};

}  // namespace tapestrel
