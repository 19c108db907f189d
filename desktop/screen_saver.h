// Switching the Windows screen saver on and off from the program's menus, and making
// sure one is installed when it is switched on: the desktop's "ScreenSaveActive", the
// "SCRNSAVE.EXE" entry of system.ini and the system's screen-saver switch, with a default
// screen saver of the program's own to install when none is.
#pragma once

#include <string>

namespace tapestrel {

class Desktop;
class FileSystem;
class MainView;
class ProfileFiles;
class RegistryRoutines;
class Rotation;
class Ui;
struct Options;
struct ProgramState;

class ScreenSaver {
 public:
  ScreenSaver(Desktop& desktop, FileSystem& files, Ui& ui, ProfileFiles& profiles, Options& options,
              const ProgramState& state, RegistryRoutines& registry, Rotation& rotation, MainView& view)
      : desktop_(desktop),
        files_(files),
        ui_(ui),
        profiles_(profiles),
        options_(options),
        state_(state),
        registry_(registry),
        rotation_(rotation),
        view_(view) {}

  std::string GetScreenSaverPath();
  // False, told, when system.ini could not be written.
  bool SetScreenSaverPath(const std::string& path);
  void StartScreenSaver();
  // False when the default screen saver could not be installed for want of a write.
  bool EnsureScreenSaverInstalled();
  // Answers whether the system took the change; switching on with an install that
  // failed leaves the switch as it was.
  bool SetScreenSaverActive(bool on);
  // "Screen Saver O&ff" (0) and "Screen Saver O&n" (1).
  void ScreenSaverCommand(int index);
  // At start-up, with no default screen saver set: the first of the Windows folder, or
  // of the system folder.
  void FindDefaultScreenSaver();
  // The options dialog's default screen-saver field when it loses the focus: answers
  // the text the field shows afterwards.
  std::string DefaultFieldLeft(const std::string& text, bool closing);

 private:
  // Collaborators.
  Desktop& desktop_;
  FileSystem& files_;
  Ui& ui_;
  ProfileFiles& profiles_;
  Options& options_;
  const ProgramState& state_;
  RegistryRoutines& registry_;
  Rotation& rotation_;
  MainView& view_;
};

}  // namespace tapestrel
