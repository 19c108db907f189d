// The shared registry cases against the real registry (Wine's, in the test run).
// Message boxes are recorded rather than shown, so the cases can look at them.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "platform/text.h"
#include "platform/win32/win32_services.h"
#include "tests/common/registry_world.h"

namespace tapestrel::testing {
namespace {

HKEY rootKey(RegistryRoot root) {
  static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  return roots[static_cast<int>(root)];
}

class RealRegistryWorld : public RegistryWorld {
 public:
  RealRegistryWorld() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    scratch_ = std::string(temp) + "tapestrel-registry-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(scratch_.c_str(), nullptr);
    program_.state.SystemFolder = NormalizeFolder(files_.SystemDirectory());
  }
  ~RealRegistryWorld() override {
    for (const auto& f : made_) DeleteFileA(f.c_str());
    RemoveDirectoryA(scratch_.c_str());
  }

  Program& program() override { return program_; }
  MemoryUi& ui() override { return memory_.ui; }

  void SetValue(RegistryRoot root, const std::string& subKey, const std::string& name,
                const std::string& value) override {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(rootKey(root), subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
  }
  std::optional<std::string> Value(RegistryRoot root, const std::string& subKey, const std::string& name) override {
    HKEY key;
    if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    char data[4096] = {};
    DWORD size = sizeof data - 1;
    const LONG code = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    if (code != ERROR_SUCCESS) return std::nullopt;
    return std::string(data, strnlen(data, size));
  }
  void DeleteValue(RegistryRoot root, const std::string& subKey, const std::string& name) override {
    HKEY key;
    if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, name.c_str());
    RegCloseKey(key);
  }
  void DeleteTree(RegistryRoot root, const std::string& subKey) override {
    // Children first: RegDeleteKeyA removes only a key without sub-keys.
    HKEY key;
    if (RegOpenKeyExA(rootKey(root), subKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
      std::vector<std::string> children;
      char name[256];
      for (DWORD i = 0; RegEnumKeyA(key, i, name, sizeof name) == ERROR_SUCCESS; ++i) children.push_back(name);
      RegCloseKey(key);
      for (const auto& child : children) DeleteTree(root, subKey + "\\" + child);
    }
    RegDeleteKeyA(rootKey(root), subKey.c_str());
  }
  std::string MakeFile(const std::string& name) override {
    const std::string path = scratch_ + "\\" + name;
    const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    made_.push_back(path);
    return path;
  }

 private:
  MemoryPlatform memory_;
  Win32Registry registry_;
  Win32FileSystem files_;
  Platform platform_{registry_,   memory_.settings, memory_.profiles, files_,
                     memory_.ui,  memory_.clock,    memory_.desktop,  memory_.processes, memory_.gvbox, memory_.shell, memory_.mci};
  Program program_{platform_};
  std::string scratch_;
  std::vector<std::string> made_;
};

INSTANTIATE_TEST_SUITE_P(Wine, RegistryRoutinesCases,
                         ::testing::Values(RegistryWorldFactory{
                             "real", [] { return std::make_unique<RealRegistryWorld>(); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace tapestrel::testing
