// The program on Windows' real registry, files and desktop, with its settings store and
// message boxes in memory, so that tests never touch the user's own settings and can
// read what the program said.
#pragma once

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_services.h"

namespace tapestrel::testing {

// Real processes, but no single-instance mark: a test's program must not stand in the
// way of a real Tapestrel.exe that another test starts.
struct ProcessesWithoutMark : Win32Processes {
  bool ClaimSingleInstance() override { return true; }
};

struct ProgramOnWindows {
  MemoryPlatform memory;
  Win32Registry registry;
  Win32FileSystem files;
  Win32Desktop desktop;
  ProcessesWithoutMark processes;
  Win32Gvbox gvbox{files};
  Win32Shell shell;
  Win32Mci mci;
  Platform platform{registry, memory.settings, memory.profiles, files, memory.ui, memory.clock, desktop, processes, gvbox, shell, mci};
  Program program{platform};
};

}  // namespace tapestrel::testing
