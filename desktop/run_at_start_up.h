// Windows starting the program at log-on: the machine's Run entry named after the
// program holds its command (empty text while the option is off), and the option is saved.
#pragma once

#include <string>

#include "core/registry_routines.h"

namespace tapestrel {

class FileSystem;
class SettingsStore;
struct Options;

// The command Windows runs: the program's folder and file, in lower case.
std::string StartUpCommand(const std::string& programFolder, const std::string& programName);
// Run each time the options dialog is confirmed.
// Writes the Run entry (none at all while the option is off) and the option itself;
// answers where the entry went.
RegistryRoutines::RunEntryPlace ApplyRunAtStartUp(FileSystem& files, RegistryRoutines& registry, SettingsStore& store,
                                                  const Options& options);

}  // namespace tapestrel
