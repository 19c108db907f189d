// The settings store in memory. It also keeps the writes in the order they came, so
// that tests can check what a save wrote and in which order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/settings_store.h"

namespace tapestrel {

class MemorySettingsStore : public SettingsStore {
 public:
  struct Write {
    std::string section;
    std::string key;
    std::string value;
  };

  std::string GetSetting(const std::string& section, const std::string& key, const std::string& fallback) override;
  void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;
  void DeleteSection(const std::string& section) override;
  void DeleteSetting(const std::string& section, const std::string& key) override;
  std::vector<std::pair<std::string, std::string>> GetAllSettings(const std::string& section) override;

  const std::vector<Write>& Writes() const { return writes_; }
  void ClearWrites() { writes_.clear(); }
  bool Empty() const { return sections_.empty(); }

 private:
  using Section = std::map<std::string, std::pair<std::string, std::string>>;  // lower key -> (key, value)
  std::map<std::string, Section> sections_;                                    // lower section name
  std::vector<Write> writes_;
};

}  // namespace tapestrel
