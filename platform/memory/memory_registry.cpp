#include "platform/memory/memory_registry.h"

#include <cstring>

#include "platform/text.h"

namespace tapestrel {

namespace {

const char* rootName(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return "hkey_classes_root";
    case RegistryRoot::CurrentUser: return "hkey_current_user";
    case RegistryRoot::LocalMachine: return "hkey_local_machine";
  }
  return "";
}

}  // namespace

MemoryRegistry::MemoryRegistry() {
  CreateKey(RegistryRoot::CurrentUser, "Control Panel\\Desktop");
  CreateKey(RegistryRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
}

std::string MemoryRegistry::PathOf(RegistryRoot root, const std::string& subKey) {
  std::string path = rootName(root);
  std::string sub = ToLower(subKey);
  while (!sub.empty() && sub.back() == '\\') sub.pop_back();
  while (!sub.empty() && sub.front() == '\\') sub.erase(0, 1);
  if (!sub.empty()) path += "\\" + sub;
  return path;
}

const MemoryRegistry::Key* MemoryRegistry::Find(const std::string& path) const {
  const auto it = keys_.find(path);
  if (it != keys_.end()) return &it->second;
  static const Key rootKey;
  return path.find('\\') == std::string::npos ? &rootKey : nullptr;  // the roots always exist
}

long MemoryRegistry::OpenKey(RegistryRoot root, const std::string& subKey, std::uint32_t access,
                             RegistryHandle& key) {
  openLog_.push_back({root, subKey, access});
  const std::string path = PathOf(root, subKey);
  if (const auto failure = openFailures_.find(path); failure != openFailures_.end()) return failure->second;
  if (!Find(path)) return registry_code::FileNotFound;
  key = nextHandle_++;
  handles_[key] = path;
  return registry_code::Success;
}

long MemoryRegistry::CreateKey(RegistryRoot root, const std::string& subKey, std::uint32_t access,
                               RegistryHandle& key) {
  const std::string path = PathOf(root, subKey);
  // A key that may not be opened may not be made either.
  if (const auto failure = openFailures_.find(path); failure != openFailures_.end()) {
    openLog_.push_back({root, subKey, access});
    return failure->second;
  }
  Ensure(path);
  return OpenKey(root, subKey, access, key);
}

long MemoryRegistry::DeleteValue(RegistryHandle key, const std::string& name) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return registry_code::InvalidHandle;
  for (const auto& [prefix, code] : writeFailures_) {
    if (handle->second.rfind(prefix, 0) == 0) return code;
  }
  Key& k = keys_[handle->second];
  if (k.values.erase(ToLower(name)) == 0) return registry_code::FileNotFound;
  writeLog_.push_back(name + " deleted");
  return registry_code::Success;
}

long MemoryRegistry::ReadInto(const Key& key, const std::string& name, std::string& buffer) const {
  const auto value = key.values.find(ToLower(name));
  std::string data;
  if (value != key.values.end()) {
    data = value->second.second;
  } else if (!name.empty()) {
    return registry_code::FileNotFound;
  }
  if (data.size() + 1 > buffer.size()) return registry_code::MoreData;
  std::memcpy(buffer.data(), data.data(), data.size());
  buffer[data.size()] = '\0';
  return registry_code::Success;
}

long MemoryRegistry::QueryValue(RegistryHandle key, const std::string& name, std::string& buffer) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return registry_code::InvalidHandle;
  const Key* k = Find(handle->second);
  if (!k) return registry_code::FileNotFound;
  // The default value of a key that never had one is missing when asked by name.
  if (name.empty() && !k->values.count("")) return registry_code::FileNotFound;
  return ReadInto(*k, name, buffer);
}

long MemoryRegistry::QueryDefaultValue(RegistryHandle key, const std::string& subKey, std::string& buffer) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return registry_code::InvalidHandle;
  std::string path = handle->second;
  if (!subKey.empty()) path += "\\" + ToLower(subKey);
  const Key* k = Find(path);
  if (!k) return registry_code::FileNotFound;
  return ReadInto(*k, "", buffer);
}

long MemoryRegistry::SetStringValue(RegistryHandle key, const std::string& name, const std::string& data,
                                    std::uint32_t count) {
  const auto handle = handles_.find(key);
  if (handle == handles_.end()) return registry_code::InvalidHandle;
  for (const auto& [prefix, code] : writeFailures_) {
    if (handle->second.rfind(prefix, 0) == 0) return code;
  }
  Key& k = keys_[handle->second];
  const std::string stored = data.substr(0, std::min<std::size_t>(count, data.size()));
  auto& slot = k.values[ToLower(name)];
  if (slot.first.empty()) slot.first = name;  // the first spelling of a name stays
  slot.second = stored.substr(0, stored.find('\0'));
  writeLog_.push_back(name + "=" + slot.second);
  return registry_code::Success;
}

long MemoryRegistry::CloseKey(RegistryHandle key) {
  return handles_.erase(key) ? registry_code::Success : registry_code::InvalidHandle;
}

MemoryRegistry::Key& MemoryRegistry::Ensure(const std::string& path) {
  // Creating a key creates every key above it, as in the real registry.
  for (auto sep = path.find('\\'); sep != std::string::npos; sep = path.find('\\', sep + 1)) keys_[path.substr(0, sep)];
  return keys_[path];
}

void MemoryRegistry::CreateKey(RegistryRoot root, const std::string& subKey) { Ensure(PathOf(root, subKey)); }

void MemoryRegistry::SetValue(RegistryRoot root, const std::string& subKey, const std::string& name,
                              const std::string& value) {
  Ensure(PathOf(root, subKey)).values[ToLower(name)] = {name, value};
}

std::optional<std::string> MemoryRegistry::Value(RegistryRoot root, const std::string& subKey,
                                                 const std::string& name) const {
  const Key* k = Find(PathOf(root, subKey));
  if (!k) return std::nullopt;
  const auto value = k->values.find(ToLower(name));
  if (value == k->values.end()) return std::nullopt;
  return value->second.second;
}

void MemoryRegistry::DeleteKey(RegistryRoot root, const std::string& subKey) {
  const std::string path = PathOf(root, subKey);
  for (auto it = keys_.begin(); it != keys_.end();) {
    const bool below = it->first == path || it->first.rfind(path + "\\", 0) == 0;
    it = below ? keys_.erase(it) : std::next(it);
  }
}

void MemoryRegistry::DeleteValue(RegistryRoot root, const std::string& subKey, const std::string& name) {
  const auto key = keys_.find(PathOf(root, subKey));
  if (key != keys_.end()) key->second.values.erase(ToLower(name));
}

void MemoryRegistry::FailOpen(RegistryRoot root, const std::string& subKey, long code) {
  if (code == registry_code::Success) openFailures_.erase(PathOf(root, subKey));
  else openFailures_[PathOf(root, subKey)] = code;
}

void MemoryRegistry::FailWrite(RegistryRoot root, const std::string& subKey, long code) {
  // 0 lets writes through again, as FailOpen does for opening.
  if (code == registry_code::Success) writeFailures_.erase(PathOf(root, subKey));
  else writeFailures_[PathOf(root, subKey)] = code;
}

}  // namespace tapestrel
