// Reads a value of the current user's desktop settings straight from the registry, for
// the Windows tests that check what the program wrote there.
#pragma once

#include <windows.h>

#include <string>

namespace tapestrel::testing {

inline std::string DesktopValue(const char* name) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return "";
  char data[MAX_PATH * 2] = {};
  DWORD size = sizeof data - 1;
  RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  return data;
}

}  // namespace tapestrel::testing
