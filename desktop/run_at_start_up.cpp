#include "desktop/run_at_start_up.h"

#include "core/options.h"
#include "core/registry_routines.h"
#include "core/settings.h"
#include "platform/file_system.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace tapestrel {

std::string StartUpCommand(const std::string& programFolder, const std::string& programName) {
  // In quotes when the path holds a blank: unquoted, Windows would try "c:\program.exe"
  // and "c:\program files\tape.exe" before the program itself.
  return CommandArgument(ToLower(NormalizeFolder(programFolder) + programName + ".exe"));
}

RegistryRoutines::RunEntryPlace ApplyRunAtStartUp(FileSystem& files, RegistryRoutines& registry, SettingsStore& store,
                                                  const Options& options) {
  RegistryRoutines::RunEntryPlace place = RegistryRoutines::RunEntryPlace::None;
  // Off: no entry is left behind, not even an empty one, in either Run key.
  if (options.RunProgramAtStartUp != 0) place = registry.SetRunEntry(StartUpCommand(files.ProgramFolder(), files.ProgramName()));
  else registry.RemoveRunEntry();
  store.SaveSetting(kStartUpSection, "RunProgramAtStartUp", options.RunProgramAtStartUp ? "1" : "0");
  return place;
}

}  // namespace tapestrel
