// Profile (ini) files held in memory: file, section and key compare without regard to case.
#pragma once

#include <map>
#include <string>

#include "platform/profile_files.h"

namespace tapestrel {

class MemoryProfileFiles : public ProfileFiles {
 public:
  std::string ReadProfileValue(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& fallback) override;
  bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  // Writes to files of this name fail, as on a read-only or locked system.ini.
  std::string readOnlyFile;

 private:
  std::map<std::string, std::string> values_;  // "file|section|key", lower case
};

}  // namespace tapestrel
