#include "platform/memory/memory_desktop.h"

#include <algorithm>

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

std::optional<RuntimeError> MemoryProcesses::Start(const std::string& commandLine, int showCommand) {
  if (startFailure) return startFailure;
  launched.push_back({commandLine, showCommand});
  return std::nullopt;
}

std::pair<long, long> MemoryDesktop::TextSize(const std::string& text, const std::string&, int) {
  long widest = 0, column = 0, lines = 1;
  for (char c : text) {
    if (c == '\n') {
      ++lines;
      column = 0;
    } else {
      column = c == '\t' ? (column / 8 + 1) * 8 : column + 1;
    }
    widest = std::max(widest, column);
  }
  return {widest * 90, lines * 195};
}

}  // namespace tapestrel
