#include "platform/memory/memory_settings_store.h"

#include "platform/text.h"

namespace tapestrel {

std::string MemorySettingsStore::GetSetting(const std::string& section, const std::string& key,
                                            const std::string& fallback) {
  const auto s = sections_.find(ToLower(section));
  if (s == sections_.end()) return fallback;
  const auto k = s->second.find(ToLower(key));
  return k == s->second.end() ? fallback : k->second.second;
}

void MemorySettingsStore::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  auto& slot = sections_[ToLower(section)][ToLower(key)];
  if (slot.first.empty()) slot.first = key;
  slot.second = value;
  writes_.push_back({section, key, value});
}

void MemorySettingsStore::DeleteSection(const std::string& section) { sections_.erase(ToLower(section)); }

void MemorySettingsStore::DeleteSetting(const std::string& section, const std::string& key) {
  const auto s = sections_.find(ToLower(section));
  if (s == sections_.end()) return;
  s->second.erase(ToLower(key));
  if (s->second.empty()) sections_.erase(s);
}

std::vector<std::pair<std::string, std::string>> MemorySettingsStore::GetAllSettings(const std::string& section) {
  std::vector<std::pair<std::string, std::string>> all;
  const auto s = sections_.find(ToLower(section));
  if (s == sections_.end()) return all;
  for (const auto& entry : s->second) all.push_back(entry.second);  // the map orders by lower-case key
  return all;
}

}  // namespace tapestrel
