// The program as a whole: the system services it was given, its run-time state and
// options, and every window and routine group. One exists per run; tests build a fresh
// one on the in-memory platform.
#pragma once

#include "app/frm_main.h"
#include "app/options.h"
#include "app/program_state.h"
#include "app/registry_routines.h"
#include "app/settings.h"
#include "platform/platform.h"

namespace tapestrel {

class Program {
 public:
  explicit Program(Platform& services) : platform(services) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  // Finds the program's folders, reads the settings and shows the main window.
  void Start();
  // Copies the main window's placement into the options and writes every setting.
  void SaveAllSettings();

  Platform& platform;
  ProgramState state;
  Options options;
  Settings settings{*this};
  RegistryRoutines registry{*this};
  FrmMain frmMain{*this};

 private:
  void FindFolders();
  void ApplyWindowPosition();
};

}  // namespace tapestrel
