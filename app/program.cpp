#include "app/program.h"

#include <algorithm>
#include <optional>

#include "desktop/hot_key.h"
#include "platform/text.h"

namespace tapestrel {

namespace {
// Below this a window is of no use; a stored placement is brought up to it.
constexpr long kMinWindowWidth = 4500;
constexpr long kMinWindowHeight = 1500;
}  // namespace

Program::Program(Platform& services) : platform(services) { Wire(); }

void Program::Wire() {
  // Cycles broken here: the writer is called back for decoding (the decoder uses the
  // writer's loading routines) and for what follows a wallpaper set by path (the
  // rotation keeps the history and uses the writer).
  wallpaper.DecodeImage = [this](const std::string& path) { return decoder.DecodeImage(path); };
  wallpaper.OtherScreenPictures = [this](const std::string& first, std::size_t count) {
    return rotation.PicturesFollowing(first, count);
  };
  wallpaper.WallpaperSet = [this](const std::string& path) {
    rotation.AddToHistory(path);
    RaiseWallpaperChanged();
  };
  rotation.WallpaperChanged = [this] { RaiseWallpaperChanged(); };
  frmFullScreen.WallpaperChanged = [this] { RaiseWallpaperChanged(); };
  // The viewer is opened by the windows it calls on here.
  frmFullScreen.HotKeyPressed = [this](int keyCode, int shift) { return HotKeyPressed(keyCode, shift, true); };
  frmFullScreen.OpenTimeChanger = [this] { frmFloatingTimeChanger.Open(); };
  frmEvents.HotKeyPressed = [this](int keyCode, int modifier) { return HotKeyPressed(keyCode, modifier, true); };
  frmOptions.HelpAsked = [this](int context) { ShowHelp(context); };
  // The media events wire the options dialog's Play Settings; the dialog's CANCEL calls
  // back for the video switches it puts back.
  frmOptions.LoopVideoPutBack = [this](int event) { media.LoopVideoChanged(event); };
  frmOptions.MuteVideoPutBack = [this](int event) { media.MuteVideoChanged(event); };
  frmFullScreen.KeepOptionsOnTop = [this] { frmOptions.SetTopMost(true); };
  // The system menu shows the countdown too, and it calls on the rotation itself.
  rotation.CountdownShown = [this] { systemMenu.UpdateSystemMenuCaption(); };
}

void Program::FindFolders() {
  FileSystem& files = platform.files;
  state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  state.SystemFolder = NormalizeFolder(files.SystemDirectory());
  state.ProgramFolder = NormalizeFolder(files.ProgramFolder());
}

void Program::DeleteLogFiles() {
  for (const char* log : {"Random File Use.log", "Events Timer.log"}) {
    const std::string path = state.ProgramFolder + log;
    if (platform.files.FileExists(path)) platform.files.RemoveFile(path);
  }
}

void Program::ApplyWindowPosition() {
  if (!options.HasWindowPosition) return;
  // A placement saved on a larger screen, or a broken one, is brought back onto this one.
  const WindowPlacement& p = options.WindowPosition;
  const long screenWidth = platform.desktop.ScreenWidth();
  const long screenHeight = platform.desktop.ScreenHeight();
  const long width = std::clamp(p.width, std::min(kMinWindowWidth, screenWidth), screenWidth);
  const long height = std::clamp(p.height, std::min(kMinWindowHeight, screenHeight), screenHeight);
  const long left = std::clamp(p.left, 0L, screenWidth - width);
  const long top = std::clamp(p.top, 0L, screenHeight - height);
  frmMain.Move(left, top, width, height);
}

bool Program::Start(bool startMinimized) {
  // A failure during loading is told; the program then goes on with its window.
  std::optional<RuntimeError> failure;
  try {
    return StartSteps(startMinimized);
  } catch (const RuntimeError& e) {
    failure = e;
  } catch (const std::bad_alloc&) {
    failure = runtime_error::OutOfMemory();
  } catch (const std::exception& e) {
    failure = RuntimeError{51, std::string("Internal error: ") + e.what()};
  }
  platform.ui.MsgBox(failure->description + " (" + NumberText(failure->number) + ") " + "has occurred" + "\n" +
                         "during loading of Tapestrel.",
                     mb::OkOnly | mb::Critical, kApplicationName);
  if (frmAbout.Loaded()) frmAbout.Unload();
  if (!frmMain.Loaded()) frmMain.Load();
  if (!frmMain.Visible()) frmMain.Show();
  return true;
}

void Program::ReportUnexpectedError(const RuntimeError& error, const std::string& where) {
  platform.ui.MsgBox(error.description + " (" + NumberText(error.number) + ") " + "has occurred in " + where + ".",
                     mb::OkOnly | mb::Critical, kApplicationName);
}

bool Program::StartSteps(bool startMinimized) {
  FindFolders();
  if (!platform.processes.ClaimSingleInstance()) {
    platform.ui.MsgBox("Tapestrel is already runninng", mb::OkOnly | mb::Exclamation, kApplicationName);
    return false;
  }
  DeleteLogFiles();
  frmAbout.ShowBox(true);
  settings.LoadNormalWindowAtStart();

  frmMain.Load();
  settings.Load();
  rotation.LoadHistory();
  ApplyWindowPosition();
  frmMain.SetCaption(kApplicationName);
  frmMain.ApplySettings();
  // The folder tree and the fill from the picture folder share one listing of it.
  const bool fillFromPictureFolder = !options.FillFromActiveFolders;
  std::vector<std::string> subFolders;
  if (fillFromPictureFolder) subFolders = files.SearchAhead(frmMain.PictureFolder());
  frmMain.ShowPictureFolder(fillFromPictureFolder ? &subFolders : nullptr);
  frmMain.LoadFileTypeIcons();

  screenSaver.FindDefaultScreenSaver();
  frmEvents.Load();
  systemMenu.BuildSystemMenu();
  const bool minimized = !options.NormalWindowAtStart || startMinimized;

  frmMain.ScreenSaverRadioChecks(LeadingNumber(registry.GetRegistryValue("ScreenSaveActive")) != 0);
  frmMain.SwitchBossAndRestoreMenus(1);
  frmMain.InitializeToolBar();
  frmAbout.Unload();

  // Fill the list: from the active folders, or from the picture folder.
  if (!fillFromPictureFolder) {
    folders.ReadActiveFolders();
  } else {
    files.FillListView();  // sorted by the stored key when "sort after filling" is on
  }

  if (minimized) frmMain.SetWindowState(WindowState::Minimized);
  if (minimized && options.MinimizeToTray) frmTrayIcon.Load();  // hidden, with only the icon
  else frmMain.Show();
  frmMain.UpdatePopUpCaptions("mCustom");
  frmMain.tmrTapestrel[1].SetEnabled(!minimized);
  media.CheckCdCapability();
  // Changing the wallpaper plays its own event in place of the loading one.
  if (options.ChangeWallpaperAtStart) rotation.ChangeWallpaper(Rotation::Next);
  else if (options.mciEventsOn[0] != 0) media.TriggerEvent(0);
  settings.SaveFolderHistories();
  frmTrayIcon.TrayModify(frmMain.Caption());
  return true;
}

void Program::ReloadSettings() {
  settings.Load();
  rotation.LoadHistory();
  ApplyWindowPosition();
  frmMain.ApplySettings(false);
  frmMain.ShowFolderHistory();
  frmMain.InitializeToolBar();
}

void Program::SaveAllSettings() {
  if (frmMain.Loaded() && frmMain.State() == WindowState::Normal) {
    options.HasWindowPosition = true;
    options.WindowPosition = {frmMain.Left(), frmMain.Top(), frmMain.Width(), frmMain.Height()};
  }
  options.StartupSplitPoint = frmMain.SplitPoint();
  settings.SaveAll();
}

void Program::UnloadOtherWindows() {
  // The icon goes with its window: none is left behind in the notification area.
  Form* const others[] = {&frmFloatingTimeChanger, &frmYesNoAllCancel, &frmDecodingInProgress, &frmFullScreen, &frmOptions, &frmAbout, &frmTrayIcon, &frmEvents};
  for (Form* form : others) {
    frmEvents.Unsubscribe(*form);
    form->Unload();
  }
}

void Program::RaiseWallpaperChanged() {
  if (options.mciEventsOn[1] != 0) media.TriggerEvent(1);
  if (WallpaperChanged) WallpaperChanged();
}

bool Program::HotKeyPressed(int keyCode, int modifier, bool atPointer) {
  return HotKeyCheck(options, frmOptions.Visible() || ModalShowing(), frmMain, keyCode, modifier, 0, 0, atPointer);
}

void Program::ShowAbout() { frmAbout.ShowBox(false); }

void Program::ShowHelp(int context) {
  const std::string file = state.ProgramFolder + kHelpFile;
  if (!platform.files.FileExists(file)) {
    platform.ui.MsgBox(file + " not found", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  platform.ui.ShowHelp(file, context);
}

bool Program::LongWorkRunning() const { return files.Busy() || decoder.Converting(); }

bool Program::ModalShowing() const {
  return platform.ui.ModalOpen() || frmYesNoAllCancel.ShowingModally() || frmFloatingTimeChanger.ShowingModally();
}

}  // namespace tapestrel
