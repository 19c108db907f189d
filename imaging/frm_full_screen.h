// The full-screen viewer: a borderless window over the whole screen that shows one
// picture, tiled over the window or single, fitted to the viewing size and placed by
// the position option, with scroll bars for a picture larger than the screen, an
// information overlay, its own keys and pop-up menu. Its hidden boxes are also the work
// surfaces the wallpaper writer and the decoder load into and shrink into.
#pragma once

#include <functional>
#include <string>

#include "core/picture_viewer.h"
#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class DecoderFrontEnd;
class Desktop;
class FileSystem;
class Gvbox;
class HeaderReader;
class MainView;
class Rotation;
class Settings;
class Ui;
class WallpaperWriter;
struct Options;
struct ProgramState;

// How many tiles of w x h cover a window of W x H (the last row and column cut off).
struct TileGrid {
  int columns = 0;
  int rows = 0;
};
TileGrid TileGridFor(int windowWidth, int windowHeight, int tileWidth, int tileHeight);

class FrmFullScreen : public Form, public PictureViewer {
 public:
  FrmFullScreen(FileSystem& files, Ui& ui, Desktop& desktop, Gvbox& gvbox, Options& options, ProgramState& state,
                Settings& settings, HeaderReader& headers, WallpaperWriter& writer, Rotation& rotation,
                DecoderFrontEnd& decoder, MainView& view, const Form& optionsDialog, const Form& aboutBox);

  // Wired by the program: after the viewer made a picture the wallpaper (the change event
  // plays); the hot key, which opens the notification-area menu over the viewer; the
  // floating time changer; and the options dialog kept above the view when it opens.
  std::function<void()> WallpaperChanged;
  std::function<bool(int keyCode, int shift)> HotKeyPressed;
  std::function<void()> OpenTimeChanger;
  std::function<void()> KeepOptionsOnTop;

  PictureBox picLoad{*this, "picLoad"};
  PictureBox picMovePicture{*this, "picMovePicture"};
  PictureBox picInfo{*this, "picInfo"};
  ScrollBar vsbFullScreenView{*this, "vsbFullScreenView"};
  ScrollBar hsbFullScreenView{*this, "hsbFullScreenView"};
  PictureBox picFullScreen{*this, "picFullScreen"};

  // 3 tiled, 4 single: the internal mode shown.
  int ViewerMode = 4;
  bool ViewerNeedsClearing = false;
  bool MouseHidden = false;
  long ScrollBaseLeft = 0;
  long ScrollBaseTop = 0;
  int ScrollSmallStepX = 0;
  int ScrollSmallStepY = 0;

  // True when the picture is shown.
  bool ShowInViewer(const std::string& path) override;
  bool Showing() const override { return Visible(); }
  void SetViewerMode(int mode) override { ViewerMode = mode; }
  bool ShowTiledInViewer(const std::string& path);
  bool TileWindow(Form& window, PictureBox& box);
  // The picture's size in twips.
  void PositionPicture(long width, long height);
  void SetUpScrolling(long width, long height);
  // 1: the picture shown becomes the wallpaper; 0: the wallpaper stays as it was.
  bool ExitFullScreenDisplay(int changeWallPaperOrNot, bool leaveTimer = false);
  void SetSmallChangeValue(ScrollBar& bar, bool ctrl);
  // Sets the key code to 0: the key has done its work.
  void ChangeScrollBarValue(ScrollBar& bar, int& keyCode, bool ctrl);
  void HideMouse();
  void ShowMouse();

  // The information overlay.
  std::string InfoText() const;
  void ShowInfo();
  void HideInfo();
  void ToggleInfo();
  // The viewer's pop-up menu at the mouse.
  void DisplayPopUp2();
  // The viewer's own commands of its pop-up menu.
  void ShowNextImage(bool forward);
  void SwitchView();
  // The default picture shown instead of the list's (true), or the list's again.
  void ShowDefaultImage(bool show);
  // "Chan&ge time": the floating changer over the view, the pointer shown meanwhile.
  void ChangeTime();
  // Puts the picture back where it was first placed.
  void picMovePicture_Click();

  // The picture last shown, by its path ("" before the first).
  const std::string& ShownPath() const override { return shownPath_; }
  bool Dragging() const { return dragging_; }

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  // Closed by the user (Alt+F4): left as by "Exit", so the main window comes back.
  bool Form_UserClose() override { return ExitFullScreenDisplay(0); }

 private:
  bool LoadIntoPicLoad(const std::string& path, bool& fromDecoder);
  bool LoadMetafile(const std::string& path);
  void KeyTyped(int& ascii);
  void KeyDownInViewer(int& keyCode, int shift);
  void MouseDownInViewer(int button);
  void DragTo(long x, long y);
  void Tell(const std::string& text, int style);

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Desktop& desktop_;
  Gvbox& gvbox_;
  Options& options_;
  ProgramState& state_;
  Settings& settings_;
  HeaderReader& headers_;
  WallpaperWriter& writer_;
  Rotation& rotation_;
  DecoderFrontEnd& decoder_;
  MainView& view_;
  const Form& optionsDialog_;
  const Form& aboutBox_;
  std::string shownPath_;
  std::string listPathBeforeDefault_;
  bool dragging_ = false;
  long dragX_ = 0;
  long dragY_ = 0;
};

}  // namespace tapestrel
