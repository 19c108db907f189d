#include "desktop/run_at_start_up.h"

#include "app/program.h"
#include "platform/text.h"

namespace tapestrel {

std::string StartUpCommand(const std::string& programFolder, const std::string& programName) {
  // In quotes when the path holds a blank: unquoted, Windows would try "c:\program.exe"
  // and "c:\program files\tape.exe" before the program itself.
  return CommandArgument(ToLower(NormalizeFolder(programFolder) + programName + ".exe"));
}

void ApplyRunAtStartUp(Program& program) {
  FileSystem& files = program.platform.files;
  // The registry routine writes empty text in place of the command while the option is off.
  program.registry.SetRegistryValue("Tapestrel", StartUpCommand(files.ProgramFolder(), files.ProgramName()));
  program.platform.settings.SaveSetting(kStartUpSection, "RunProgramAtStartUp", program.options.RunProgramAtStartUp ? "1" : "0");
}

}  // namespace tapestrel
