// The system registry as the program uses it: open a key, read and write string
// values, close it. Results are Win32 error codes (0 success, 2 missing, 5 denied,
// 234 more data than the buffer holds).
#pragma once

#include <cstdint>
#include <string>

namespace tapestrel {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

using RegistryHandle = std::uintptr_t;

namespace registry_code {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long InvalidHandle = 6;
inline constexpr long MoreData = 234;
}  // namespace registry_code

// Query value, set value, create sub-key, enumerate sub-keys, notify, create link.
inline constexpr std::uint32_t KeyReadWriteAccess = 0x3F;

class Registry {
 public:
  virtual ~Registry() = default;

  virtual long OpenKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) = 0;

  // Reads the named value into `buffer`, whose size is the room given (the terminating
  // zero of a string value needs room too). On success the data, then a zero, are
  // copied to its start and the rest is left as it was.
  virtual long QueryValue(RegistryHandle key, const std::string& name, std::string& buffer) = 0;

  // Reads the default value of `subKey` below `key` the same way. An unset default
  // value reads as empty text.
  virtual long QueryDefaultValue(RegistryHandle key, const std::string& subKey, std::string& buffer) = 0;

  // Writes a string value made of the first `count` bytes of `data` (no terminator counted).
  virtual long SetStringValue(RegistryHandle key, const std::string& name, const std::string& data,
                              std::uint32_t count) = 0;

  virtual long CloseKey(RegistryHandle key) = 0;

  // Opens a key, making it (and the keys above it) first where it is not there.
  virtual long CreateKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) = 0;
  // Takes a value out of a key; a value that is not there gives 2.
  virtual long DeleteValue(RegistryHandle key, const std::string& name) = 0;
};

// Opens a key and closes it again when it goes out of scope.
class OpenRegistryKey {
 public:
  OpenRegistryKey(Registry& registry, RegistryRoot root, const std::string& subKey,
                  std::uint32_t access = KeyReadWriteAccess)
      : registry_(registry), code_(registry.OpenKey(root, subKey, access, handle_)) {}
  ~OpenRegistryKey() {
    if (code_ == registry_code::Success) registry_.CloseKey(handle_);
  }
  OpenRegistryKey(const OpenRegistryKey&) = delete;
  OpenRegistryKey& operator=(const OpenRegistryKey&) = delete;

  long code() const { return code_; }
  bool ok() const { return code_ == registry_code::Success; }
  RegistryHandle handle() const { return handle_; }

 private:
  Registry& registry_;
  RegistryHandle handle_ = 0;
  long code_;
};

}  // namespace tapestrel
