// The program on Windows' real registry, files and desktop, with its settings store and
// message boxes in memory, so that tests never touch the user's own settings and can
// read what the program said.
#pragma once

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "platform/win32/win32_services.h"

namespace tapestrel::testing {

struct ProgramOnWindows {
  MemoryPlatform memory;
  Win32Registry registry;
  Win32FileSystem files;
  Win32Desktop desktop;
  Platform platform{registry, memory.settings, memory.profiles, files, memory.ui, memory.clock, desktop, memory.processes};
  Program program{platform};
};

}  // namespace tapestrel::testing
