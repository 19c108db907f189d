// The program's routines over the system registry: the desktop values under
// "Control Panel\DeskTop", the program's Run entry, and the look-up of the class and
// program registered for a file extension. Failures are told to the user here and
// never reach the caller.
#pragma once

#include <cstdint>
#include <string>

namespace tapestrel {

class FileSystem;
class Registry;
class Ui;
struct Options;
struct ProgramState;

class RegistryRoutines {
 public:
  RegistryRoutines(Registry& registry, Ui& ui, FileSystem& files, const Options& options, const ProgramState& state)
      : registry_(registry), ui_(ui), files_(files), options_(options), state_(state) {}

  static std::string RegistryErrorText(long code);

  // The value's text, or empty text on failure. A missing value is created: empty for
  // "Wallpaper", "0" for any other name (which is then the answer).
  std::string GetRegistryValue(const std::string& valueName);
  void SetRegistryValue(const std::string& valueName, const std::string& text);

  // The class registered for an extension given with or without its dot; empty when none.
  std::string ClassForExtension(const std::string& extension);
  // The program or icon file registered for a class, following "CurVer" redirections
  // (the class name is replaced by the class redirected to); empty when there is none.
  std::string ProgramForClass(std::string& className, std::int16_t& iconIndex);

 private:
  void Report(const std::string& text);
  std::string ExistingProgram(const std::string& text, std::int16_t& iconIndex);

  Registry& registry_;
  Ui& ui_;
  FileSystem& files_;
  const Options& options_;
  const ProgramState& state_;
};

}  // namespace tapestrel
