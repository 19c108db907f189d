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

void ApplyRunAtStartUp(FileSystem& files, RegistryRoutines& registry, SettingsStore& store, const Options& options) {
  // The registry routine writes empty text in place of the command while the option is off.
  registry.SetRegistryValue("Tapestrel", StartUpCommand(files.ProgramFolder(), files.ProgramName()));
  store.SaveSetting(kStartUpSection, "RunProgramAtStartUp", options.RunProgramAtStartUp ? "1" : "0");
}

}  // namespace tapestrel
