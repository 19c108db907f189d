// The per-user settings of the application "Tapestrel": string values addressed by
// section and key. Keys compare without regard to case.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tapestrel {

inline constexpr const char* kApplicationName = "Tapestrel";

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // The stored value, or `fallback` when the key (or its section) is absent.
  virtual std::string GetSetting(const std::string& section, const std::string& key,
                                 const std::string& fallback) = 0;
  virtual void SaveSetting(const std::string& section, const std::string& key, const std::string& value) = 0;
  virtual void DeleteSection(const std::string& section) = 0;
  virtual void DeleteSetting(const std::string& section, const std::string& key) = 0;
  // Every key and value of a section, ordered by key text without regard to case.
  virtual std::vector<std::pair<std::string, std::string>> GetAllSettings(const std::string& section) = 0;
};

}  // namespace tapestrel
