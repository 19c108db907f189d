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

  // Where the program's Run entry went.
  enum class RunEntryPlace { None, Machine, User };
  // Writes the Run entry under the machine's Run key or, where an ordinary user may not
  // write that, under the user's own; the entry in the other key is taken out where it
  // may be, so that the program does not start twice. A failure is told.
  RunEntryPlace SetRunEntry(const std::string& command);
  // Takes the entry out of both Run keys, an empty one left by an older version too;
  // quietly where there is none or it may not be changed.
  void RemoveRunEntry();

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
