#include "platform/memory/memory_desktop.h"

namespace tapestrel {

Processes::RunResult MemoryProcesses::RunAndWait(const std::string& commandLine, bool showNormal, unsigned,
                                                 const std::function<bool()>& keepWaiting) {
  started.push_back({commandLine, showNormal});
  if (!program) return RunResult::NotStarted;
  for (int slice = 0; slice < slicesToRun; ++slice)
    if (!keepWaiting()) return RunResult::Stopped;
  program(commandLine);
  return RunResult::Ended;
}

}  // namespace tapestrel
