// An in-memory registry that answers as Windows does: keys and value names compare
// without regard to case, a missing key or value gives 2, a value longer than the
// buffer gives 234, and tests can make a key refuse to open with any code.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace tapestrel {

class MemoryRegistry : public Registry {
 public:
  struct OpenRecord {
    RegistryRoot root;
    std::string subKey;
    std::uint32_t access;
  };

  // Starts with the keys every Windows installation has that the program writes to.
  MemoryRegistry();

  long OpenKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) override;
  long QueryValue(RegistryHandle key, const std::string& name, std::string& buffer) override;
  long QueryDefaultValue(RegistryHandle key, const std::string& subKey, std::string& buffer) override;
  long SetStringValue(RegistryHandle key, const std::string& name, const std::string& data,
                      std::uint32_t count) override;
  long CloseKey(RegistryHandle key) override;
  long CreateKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) override;
  long DeleteValue(RegistryHandle key, const std::string& name) override;

  // Setting up and inspecting the registry from a test. An empty name is the default value.
  void CreateKey(RegistryRoot root, const std::string& subKey);
  void SetValue(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& value);
  std::optional<std::string> Value(RegistryRoot root, const std::string& subKey, const std::string& name) const;
  void DeleteKey(RegistryRoot root, const std::string& subKey);
  void DeleteValue(RegistryRoot root, const std::string& subKey, const std::string& name);
  // Every later open of this key fails with `code` (0: opens succeed again).
  void FailOpen(RegistryRoot root, const std::string& subKey, long code);
  // Every later write below this key fails with `code`.
  void FailWrite(RegistryRoot root, const std::string& subKey, long code);

  const std::vector<OpenRecord>& OpenLog() const { return openLog_; }
  // Every value written through an open key, as "name=value", in order.
  const std::vector<std::string>& WriteLog() const { return writeLog_; }
  void ClearWriteLog() { writeLog_.clear(); }
  void ClearOpenLog() { openLog_.clear(); }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Key {
    std::map<std::string, std::pair<std::string, std::string>> values;  // lower-case name -> (name, data)
  };

  static std::string PathOf(RegistryRoot root, const std::string& subKey);
  const Key* Find(const std::string& path) const;
  Key& Ensure(const std::string& path);
  long ReadInto(const Key& key, const std::string& name, std::string& buffer) const;

  std::map<std::string, Key> keys_;
  std::map<std::string, long> openFailures_;
  std::map<std::string, long> writeFailures_;
  std::map<RegistryHandle, std::string> handles_;
  RegistryHandle nextHandle_ = 0x100;
  std::vector<OpenRecord> openLog_;
  std::vector<std::string> writeLog_;
};

}  // namespace tapestrel
