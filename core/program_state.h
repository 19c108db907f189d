// The values every part of the program reads and writes during a run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tapestrel {

struct ProgramState {
  // Measurements of the current picture, set by the header readers and decoders.
  std::int32_t ImageWidth = 0;
  std::int32_t ImageHeight = 0;
  std::int32_t ImageBitDepth = 0;

  // Each with exactly one trailing backslash, found once at start-up.
  std::string WindowsFolder;
  std::string SystemFolder;
  std::string ProgramFolder;

  // The wallpaper history, newest first.
  std::vector<std::string> History;

  bool AppendRecord = false;
  bool Escape = false;
  bool Searching = false;
  bool UseDefaultStyleOnce = false;
  // The current list was filled from the active folders and has not been filled otherwise
  // since: choosing one of its folders fills it again from the active folders, once.
  bool RefillFromActives = false;
  // The header readers tell nothing while this is set.
  bool HeaderReaderQuiet = false;
  bool Exiting = false;
};

}  // namespace tapestrel
