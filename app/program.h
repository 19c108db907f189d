// The program as a whole: the system services it was given, its run-time state and
// options, and every window and routine group. One exists per run; tests build a fresh
// one on the in-memory platform.
#pragma once

#include <functional>

#include "app/frm_about.h"
#include "app/frm_main.h"
#include "core/options.h"
#include "core/program_state.h"
#include "core/registry_routines.h"
#include "core/settings.h"
#include "platform/runtime_error.h"
#include "catalogue/file_list.h"
#include "catalogue/file_operations.h"
#include "catalogue/frm_yes_no_all_cancel.h"
#include "catalogue/folder_set.h"
#include "catalogue/outside_programs.h"
#include "catalogue/thumbnailer.h"
#include "desktop/frm_options.h"
#include "desktop/frm_events.h"
#include "desktop/frm_floating_time_changer.h"
#include "desktop/frm_tray_icon.h"
#include "desktop/media_events.h"
#include "desktop/screen_saver.h"
#include "desktop/system_menu.h"
#include "imaging/frm_full_screen.h"
#include "imaging/decoder_front_end.h"
#include "imaging/frm_decoding_in_progress.h"
#include "imaging/header_reader.h"
#include "wallpaper/rotation.h"
#include "wallpaper/wallpaper_writer.h"
#include "platform/platform.h"

namespace tapestrel {

inline constexpr const char* kHelpFile = "Tapstr.hlp";

class Program {
 public:
  explicit Program(Platform& services);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Brings the program up; false when it must end at once (another copy is running).
  bool Start(bool startMinimized = false);
  // "Load Settings": every setting read again and applied, the window's placement, the
  // folder histories and the wallpaper history included; the folder and list shown stay.
  void ReloadSettings();
  // Copies the main window's placement into the options and writes every setting.
  void SaveAllSettings();
  // Unloads every window but the main one, the most recently opened first.
  void UnloadOtherWindows();
  void ShowAbout();
  // Opens the help file at a context number (0: its contents).
  void ShowHelp(int context);
  // Whether a modal box or dialog of the program is open: nothing may open a pop-up
  // menu or another window over it.
  bool ModalShowing() const;
  // Whether long work that lets events run is under way: a fill, a file operation (a
  // batch decode among them), the outside converter.
  bool LongWorkRunning() const;

  // The hot key, pressed in one of the program's windows or heard from the desktop:
  // true when it opened the notification-area menu.
  bool HotKeyPressed(int keyCode, int modifier, bool atPointer = false);

  // A failure no routine caught, in the handler of `where`: told, and the program goes on.
  void ReportUnexpectedError(const RuntimeError& error, const std::string& where);

  // After every successful wallpaper change: the wallpaper-change event plays when it
  // is switched on, and a listener of a test hears of it.
  std::function<void()> WallpaperChanged;
  void RaiseWallpaperChanged();

  // What lies below every group: the system's services, the run-time state, the options
  // and the settings store.
  Platform& platform;
  ProgramState state;
  Options options;
  Settings settings{platform.settings, options, state};
  RegistryRoutines registry{platform.registry, platform.ui, platform.files, options, state};

  // The windows the groups speak to through an interface of their own (MainView, TrayTip,
  // PictureViewer, ActiveFolderFrame, Form) come before the groups, so that each is built when a group is given
  // it. They are given the groups they serve by reference, built or not yet: a window
  // uses none of them before the program starts.
  FrmMain frmMain{*this};
  FrmOptions frmOptions{platform.ui, platform.files, platform.settings, options, settings, registry, files,
                        folders,     outside,        wallpaper,         screenSaver, frmMain};
  FrmAbout frmAbout{platform.desktop, platform.files, state};
  FrmFullScreen frmFullScreen{platform.files, platform.ui, platform.desktop, platform.gvbox, options, state,
                              settings,       headers,     wallpaper,        rotation,       decoder, frmMain,
                              frmOptions,     frmAbout};
  FrmTrayIcon frmTrayIcon{platform.desktop, platform.shell, platform.ui, frmMain, frmFullScreen};

  // The routine groups and the other windows, each given exactly what it uses.
  HeaderReader headers{platform.files, platform.ui, platform.desktop, options, state};
  WallpaperWriter wallpaper{platform.files, platform.ui,       platform.desktop, platform.gvbox,
                            options,        state,             settings,         registry,
                            headers,        frmMain,           frmFullScreen,    frmFullScreen.picLoad,
                            frmFullScreen.picFullScreen};
  Rotation rotation{platform.ui, platform.files, platform.clock, options, state,    settings, headers,
                    wallpaper,   files,          decoder,        frmMain, frmTrayIcon, frmFullScreen};
  FileList files{platform.ui, platform.files, platform.desktop, options, state, settings, headers, frmMain, frmTrayIcon};
  Thumbnailer thumbnails{platform.gvbox, platform.clock, frmMain.thumbnailPictures};
  FolderSet folders{platform.files, platform.ui, platform.desktop, options, state, settings, files, frmMain, frmOptions};
  FileOperations operations{platform.files, platform.ui, platform.shell, options,  state,
                            files,          folders,     decoder,        frmMain,  frmYesNoAllCancel};
  OutsidePrograms outside{platform.files, platform.ui, platform.processes, platform.shell, options, state,
                          files,          rotation,    frmMain,            frmFullScreen,  frmOptions};
  DecoderFrontEnd decoder{platform.files,   platform.ui, platform.gvbox, platform.clock,        platform.processes,
                          options,          state,       headers,        wallpaper,             files,
                          frmMain,          frmDecodingInProgress,       frmFullScreen.picLoad, frmFullScreen.picFullScreen};
  FrmDecodingInProgress frmDecodingInProgress{decoder.CancelDecoding};
  FrmYesNoAllCancel frmYesNoAllCancel{platform.files, platform.ui, options, folders};
  FrmEvents frmEvents{platform.desktop, options, frmMain};
  FrmFloatingTimeChanger frmFloatingTimeChanger{options, rotation, frmMain};
  SystemMenu systemMenu{options, state, rotation, frmEvents, frmMain, frmMain, frmFullScreen};
  ScreenSaver screenSaver{platform.desktop, platform.files, platform.ui, platform.profiles, options,
                          state,            registry,       rotation,    frmMain};
  MediaEvents media{platform.mci,      platform.files, platform.ui, platform.profiles, platform.registry,
                    platform.desktop,  options,        settings,    frmMain,           frmTrayIcon,
                    frmOptions};

 private:
  // Wires the callbacks that break the cycles between groups.
  void Wire();
  bool StartSteps(bool startMinimized);
  void FindFolders();
  void DeleteLogFiles();
  void ApplyWindowPosition();
};

}  // namespace tapestrel
