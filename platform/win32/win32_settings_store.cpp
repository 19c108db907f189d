#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {

std::string sectionPath(const std::string& section) {
  return std::string("Software\\") + kApplicationName + "\\" + section;
}

// Closes the section's key when it goes out of scope.
class SectionKey {
 public:
  SectionKey(const std::string& section, bool create) {
    const std::string path = sectionPath(section);
    const LONG code = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                               KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr)
                             : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
    if (code != ERROR_SUCCESS) key_ = nullptr;
  }
  ~SectionKey() {
    if (key_) RegCloseKey(key_);
  }
  SectionKey(const SectionKey&) = delete;
  SectionKey& operator=(const SectionKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

bool readString(HKEY key, const char* name, std::string& out) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  std::vector<char> data(size + 1, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
    return false;
  out.assign(data.data());
  return true;
}

}  // namespace

std::string Win32SettingsStore::GetSetting(const std::string& section, const std::string& key,
                                           const std::string& fallback) {
  SectionKey k(section, false);
  std::string value;
  if (!k.get() || !readString(k.get(), key.c_str(), value)) return fallback;
  return value;
}

void Win32SettingsStore::SaveSetting(const std::string& section, const std::string& key, const std::string& value) {
  SectionKey k(section, true);
  if (!k.get()) return;
  RegSetValueExA(k.get(), key.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
}

void Win32SettingsStore::DeleteSection(const std::string& section) {
  RegDeleteKeyA(HKEY_CURRENT_USER, sectionPath(section).c_str());
}

void Win32SettingsStore::DeleteSetting(const std::string& section, const std::string& key) {
  SectionKey k(section, false);
  if (k.get()) RegDeleteValueA(k.get(), key.c_str());
}

std::vector<std::pair<std::string, std::string>> Win32SettingsStore::GetAllSettings(const std::string& section) {
  std::vector<std::pair<std::string, std::string>> all;
  SectionKey k(section, false);
  if (!k.get()) return all;
  for (DWORD index = 0;; ++index) {
    char name[16384];
    DWORD nameLength = sizeof name;
    if (RegEnumValueA(k.get(), index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    std::string value;
    if (readString(k.get(), name, value)) all.emplace_back(name, value);
  }
  std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return ToLower(a.first) < ToLower(b.first); });
  return all;
}

}  // namespace tapestrel
