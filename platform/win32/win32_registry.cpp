#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {

HKEY rootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
  }
  return HKEY_CURRENT_USER;
}

HKEY toKey(RegistryHandle handle) { return reinterpret_cast<HKEY>(handle); }

}  // namespace

long Win32Registry::OpenKey(RegistryRoot root, const std::string& subKey, std::uint32_t access,
                            RegistryHandle& key) {
  HKEY opened = nullptr;
  const LONG code = RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, access, &opened);
  if (code == ERROR_SUCCESS) key = reinterpret_cast<RegistryHandle>(opened);
  return code;
}

long Win32Registry::CreateKey(RegistryRoot root, const std::string& subKey, std::uint32_t access,
                              RegistryHandle& key) {
  HKEY opened = nullptr;
  const LONG code =
      RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, 0, access, nullptr, &opened, nullptr);
  if (code == ERROR_SUCCESS) key = reinterpret_cast<RegistryHandle>(opened);
  return code;
}

long Win32Registry::DeleteValue(RegistryHandle key, const std::string& name) {
  return RegDeleteValueA(toKey(key), name.c_str());
}

long Win32Registry::QueryValue(RegistryHandle key, const std::string& name, std::string& buffer) {
  DWORD length = static_cast<DWORD>(buffer.size());
  return RegQueryValueExA(toKey(key), name.empty() ? nullptr : name.c_str(), nullptr, nullptr,
                          reinterpret_cast<BYTE*>(buffer.data()), &length);
}

long Win32Registry::QueryDefaultValue(RegistryHandle key, const std::string& subKey, std::string& buffer) {
  LONG length = static_cast<LONG>(buffer.size());
  return RegQueryValueA(toKey(key), subKey.empty() ? nullptr : subKey.c_str(), buffer.data(), &length);
}

long Win32Registry::SetStringValue(RegistryHandle key, const std::string& name, const std::string& data,
                                   std::uint32_t count) {
  return RegSetValueExA(toKey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()), count);
}

long Win32Registry::CloseKey(RegistryHandle key) { return RegCloseKey(toKey(key)); }

}  // namespace tapestrel
