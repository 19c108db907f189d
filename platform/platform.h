// The system services the program is given. An entry point (the Windows program, a
// test, a benchmark) builds one implementation and hands it over; logic never knows which.
#pragma once

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/gvbox.h"
#include "platform/mci.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace tapestrel {

struct Platform {
  Registry& registry;
  SettingsStore& settings;
  ProfileFiles& profiles;
  FileSystem& files;
  Ui& ui;
  Clock& clock;
  Desktop& desktop;
  Processes& processes;
  Gvbox& gvbox;
  Shell& shell;
  Mci& mci;
};

}  // namespace tapestrel
