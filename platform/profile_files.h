// Private profile (ini) files such as system.ini and win.ini. A bare file name
// means the file in the Windows folder.
#pragma once

#include <string>

namespace tapestrel {

class ProfileFiles {
 public:
  virtual ~ProfileFiles() = default;
  virtual std::string ReadProfileValue(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& fallback) = 0;
  // False when the file could not be written.
  virtual bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                                  const std::string& value) = 0;
};

}  // namespace tapestrel
