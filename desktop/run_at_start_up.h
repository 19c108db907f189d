// Windows starting the program at log-on: the machine's Run entry named after the
// program holds its command (empty text while the option is off), and the option is saved.
#pragma once

#include <string>

namespace tapestrel {

class Program;

// The command Windows runs: the program's folder and file, in lower case.
std::string StartUpCommand(const std::string& programFolder, const std::string& programName);
// Run each time the options dialog is confirmed.
void ApplyRunAtStartUp(Program& program);

}  // namespace tapestrel
