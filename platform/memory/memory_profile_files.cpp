#include "platform/memory/memory_profile_files.h"

#include "platform/text.h"

namespace tapestrel {

namespace {
std::string slotName(const std::string& file, const std::string& section, const std::string& key) {
  return ToLower(file + "|" + section + "|" + key);
}
}  // namespace

std::string MemoryProfileFiles::ReadProfileValue(const std::string& file, const std::string& section,
                                                 const std::string& key, const std::string& fallback) {
  const auto it = values_.find(slotName(file, section, key));
  return it == values_.end() ? fallback : it->second;
}

bool MemoryProfileFiles::WriteProfileValue(const std::string& file, const std::string& section,
                                            const std::string& key, const std::string& value) {
  if (!readOnlyFile.empty() && EqualsIgnoreCase(file, readOnlyFile)) return false;
  values_[slotName(file, section, key)] = value;
  return true;
}

}  // namespace tapestrel
