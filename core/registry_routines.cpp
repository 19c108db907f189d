#include "core/registry_routines.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

#include "core/options.h"
#include "core/program_state.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {

constexpr const char* kDesktopKey = "Control Panel\\DeskTop";
constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kRunEntry = "Tapestrel";
constexpr const char* kMissingValueText = "Bad Key Name!";
constexpr std::size_t kValueBufferSize = 255;
// A class that redirects more often than this is taken to loop.
constexpr int kMaxRedirections = 8;

struct KeyOf {
  RegistryRoot root;
  const char* subKey;
};

// The Run entry lives under the machine's Run key; every other value is a desktop value.
KeyOf keyFor(const std::string& valueName) {
  if (valueName == kRunEntry) return {RegistryRoot::LocalMachine, kRunKey};
  return {RegistryRoot::CurrentUser, kDesktopKey};
}

std::string blankBuffer() { return std::string(kValueBufferSize, ' '); }

std::string readDefaultValue(Registry& registry, const std::string& subKey, bool& opened) {
  OpenRegistryKey key(registry, RegistryRoot::ClassesRoot, subKey);
  opened = key.ok();
  if (!opened) return {};
  std::string buffer = blankBuffer();
  if (registry.QueryDefaultValue(key.handle(), "", buffer) != registry_code::Success) return {};
  return TrimAtNull(buffer);
}

}  // namespace

std::string RegistryRoutines::RegistryErrorText(long code) {
  static const std::map<long, const char*> texts{
      {1009, "The Registry Database is corrupt!"},
      {1015, "The Registry Database is corrupt!"},
      {2, "Bad Key Name!"},
      {1010, "Bad Key Name!"},
      {1011, "Can't Open Key"},
      {4, "Can't Read Key"},
      {1012, "Can't Read Key"},
      {5, "Access to this key is denied."},
      {1013, "Can't Write Key"},
      {8, "Out of memory"},
      {14, "Out of memory"},
      {87, "Invalid Parameter"},
      {234, "Error - There is more data than the buffer can handle!"},
  };
  const auto it = texts.find(code);
  if (it != texts.end()) return it->second;
  return "Undefined Key Error Code " + std::to_string(code) + "!";
}

void RegistryRoutines::Report(const std::string& text) { ui_.MsgBox(text, mb::OkOnly, kApplicationName); }

std::string RegistryRoutines::GetRegistryValue(const std::string& valueName) {
  const KeyOf where = keyFor(valueName);
  std::string result;
  {
    OpenRegistryKey key(registry_, where.root, where.subKey);
    if (!key.ok()) {
      Report(RegistryErrorText(key.code()));
      return {};
    }
    std::string buffer = blankBuffer();
    const long code = registry_.QueryValue(key.handle(), valueName, buffer);
    if (code == registry_code::Success) return TrimAtNull(buffer);
    if (RegistryErrorText(code) != kMissingValueText) {
      Report(RegistryErrorText(code));
      return {};
    }
  }
  // The value does not exist yet: create it so that later reads succeed quietly.
  if (valueName != "Wallpaper") result = "0";
  SetRegistryValue(valueName, result);
  return result;
}

void RegistryRoutines::SetRegistryValue(const std::string& valueName, const std::string& text) {
  const KeyOf where = keyFor(valueName);
  OpenRegistryKey key(registry_, where.root, where.subKey);
  if (!key.ok()) {
    Report(RegistryErrorText(key.code()) + " while opening the key for " + valueName);
    return;
  }
  const std::size_t callerLength = text.size();
  std::string value;
  if (valueName == kRunEntry) {
    value = options_.RunProgramAtStartUp == 0 ? std::string() : text;
  } else {
    value = NumberText(LeadingNumber(text));  // desktop values are numbers: "02" is written "2"
  }
  const auto count = static_cast<std::uint32_t>(std::min(callerLength, value.size()));
  const long code = registry_.SetStringValue(key.handle(), valueName, value, count);
  if (code != registry_code::Success) Report(RegistryErrorText(code) + " while setting the key for " + valueName);
}

namespace {
// Writes the Run entry under one root's Run key; answers the system's code and, in
// `opening`, whether it was the opening that failed.
long writeRunEntry(Registry& registry, RegistryRoot root, const std::string& command, bool& opening) {
  RegistryHandle handle = 0;
  long code = root == RegistryRoot::CurrentUser ? registry.CreateKey(root, kRunKey, KeyReadWriteAccess, handle)
                                                 : registry.OpenKey(root, kRunKey, KeyReadWriteAccess, handle);
  opening = code != registry_code::Success;
  if (opening) return code;
  code = registry.SetStringValue(handle, kRunEntry, command, static_cast<std::uint32_t>(command.size()));
  registry.CloseKey(handle);
  return code;
}

void deleteRunEntry(Registry& registry, RegistryRoot root) {
  OpenRegistryKey key(registry, root, kRunKey);
  if (key.ok()) registry.DeleteValue(key.handle(), kRunEntry);
}
}  // namespace

RegistryRoutines::RunEntryPlace RegistryRoutines::SetRunEntry(const std::string& command) {
  bool opening = false;
  long code = writeRunEntry(registry_, RegistryRoot::LocalMachine, command, opening);
  if (code == registry_code::Success) {
    deleteRunEntry(registry_, RegistryRoot::CurrentUser);
    return RunEntryPlace::Machine;
  }
  if (code == registry_code::AccessDenied) {
    // An ordinary user: the entry starts the program for this user alone.
    code = writeRunEntry(registry_, RegistryRoot::CurrentUser, command, opening);
    if (code == registry_code::Success) {
      deleteRunEntry(registry_, RegistryRoot::LocalMachine);
      return RunEntryPlace::User;
    }
  }
  Report(RegistryErrorText(code) + (opening ? " while opening the key for " : " while setting the key for ") + kRunEntry);
  return RunEntryPlace::None;
}

void RegistryRoutines::RemoveRunEntry() {
  deleteRunEntry(registry_, RegistryRoot::LocalMachine);
  deleteRunEntry(registry_, RegistryRoot::CurrentUser);
}

std::string RegistryRoutines::ClassForExtension(const std::string& extension) {
  const std::string name = (!extension.empty() && extension[0] == '.') ? extension : "." + ToLower(extension);
  for (const std::string& candidate : {name, ToUpper(name)}) {
    OpenRegistryKey key(registry_, RegistryRoot::ClassesRoot, candidate);
    if (!key.ok()) continue;
    std::string buffer = blankBuffer();
    if (registry_.QueryDefaultValue(key.handle(), "", buffer) != registry_code::Success) return {};
    return TrimAtNull(buffer);
  }
  return {};
}

std::string RegistryRoutines::ProgramForClass(std::string& className, std::int16_t& iconIndex) {
  std::set<std::string> seen;
  for (int step = 0; step <= kMaxRedirections; ++step) {
    if (className.empty() || !seen.insert(ToLower(className)).second) return {};
    for (const char* place : {"\\DefaultIcon", "\\protocol\\StdFileEditing\\server", "\\shell\\open\\command"}) {
      bool opened = false;
      const std::string found = readDefaultValue(registry_, className + place, opened);
      if (opened) return ExistingProgram(found, iconIndex);
    }
    bool redirected = false;
    const std::string next = readDefaultValue(registry_, className + "\\CurVer", redirected);
    if (!redirected) return {};
    className = next;
  }
  return {};
}

std::string RegistryRoutines::ExistingProgram(const std::string& text, std::int16_t& iconIndex) {
  const auto unquote = [](std::string s) {
    if (!s.empty() && s.front() == '"') s.erase(0, 1);
    if (!s.empty() && s.back() == '"') s.pop_back();
    return s;
  };
  const auto comma = text.find(',');
  if (comma != std::string::npos) {
    // "program,index": the index may be negative (a resource id) and must fit 16 bits.
    const std::string program = unquote(Trim(text.substr(0, comma)));
    const std::int32_t index = LeadingInteger(text.substr(comma + 1));
    const bool fits =
        index >= std::numeric_limits<std::int16_t>::min() && index <= std::numeric_limits<std::int16_t>::max();
    iconIndex = fits ? static_cast<std::int16_t>(index) : 0;
    if (files_.FileExists(program)) return program;
    if (DirectoryPart(program).empty()) {
      const std::string inSystem = state_.SystemFolder + program;
      if (files_.FileExists(inSystem)) return inSystem;
    }
    return {};
  }
  iconIndex = 0;
  const auto exe = FindIgnoreCase(text, ".exe");
  if (exe != std::string::npos) {
    std::string program = text.substr(0, exe + 4);
    if (!program.empty() && program.front() == '"') program.erase(0, 1);
    return files_.FileExists(program) ? program : std::string();
  }
  return files_.FileExists(text) ? text : std::string();
}

}  // namespace tapestrel
