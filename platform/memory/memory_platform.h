// Every system service in memory, over a private folder that is removed again at the
// end. Tests and headless runs build one and hand `platform()` to the program.
#pragma once

#include <filesystem>

#include "platform/memory/memory_clock.h"
#include "platform/memory/memory_desktop.h"
#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_mci.h"
#include "platform/memory/memory_profile_files.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/memory_settings_store.h"
#include "platform/memory/memory_shell.h"
#include "platform/memory/memory_ui.h"
#include "platform/platform.h"

namespace tapestrel {

class MemoryPlatform {
  // Declared first: the file system is built on it.
  std::filesystem::path root_;

 public:
  MemoryPlatform();
  ~MemoryPlatform();
  MemoryPlatform(const MemoryPlatform&) = delete;
  MemoryPlatform& operator=(const MemoryPlatform&) = delete;

  Platform& platform() { return platform_; }
  const std::filesystem::path& root() const { return root_; }

  MemoryRegistry registry;
  MemorySettingsStore settings;
  MemoryProfileFiles profiles;
  MemoryFileSystem files;
  MemoryUi ui;
  MemoryClock clock;
  MemoryDesktop desktop;
  MemoryProcesses processes;
  Gvbox gvbox{files};
  MemoryShell shell{files};
  MemoryMci mci{files};

 private:
  static std::filesystem::path MakeRoot();
  Platform platform_;
};

}  // namespace tapestrel
