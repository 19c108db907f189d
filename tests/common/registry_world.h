// What the registry-routine cases need from the registry they run against: the
// in-memory registry natively, Wine's real registry in the Windows test run.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_ui.h"

namespace tapestrel::testing {

class RegistryWorld {
 public:
  virtual ~RegistryWorld() = default;
  virtual Program& program() = 0;
  virtual MemoryUi& ui() = 0;
  virtual void SetValue(RegistryRoot root, const std::string& subKey, const std::string& name,
                        const std::string& value) = 0;
  virtual std::optional<std::string> Value(RegistryRoot root, const std::string& subKey, const std::string& name) = 0;
  virtual void DeleteValue(RegistryRoot root, const std::string& subKey, const std::string& name) = 0;
  virtual void DeleteTree(RegistryRoot root, const std::string& subKey) = 0;
  // Creates an empty file with this name in a scratch folder; returns its full path.
  virtual std::string MakeFile(const std::string& name) = 0;
};

// A registry to run the cases against, named for the test listing.
struct RegistryWorldFactory {
  std::string name;
  std::function<std::unique_ptr<RegistryWorld>()> make;
  friend void PrintTo(const RegistryWorldFactory& f, std::ostream* out) { *out << f.name; }
};

inline constexpr const char* kDesktop = "Control Panel\\DeskTop";
inline constexpr const char* kProbe = "TapestrelProbeValue";

// The shared cases; each test program instantiates them with its own world.
class RegistryRoutinesCases : public ::testing::TestWithParam<RegistryWorldFactory> {
 protected:
  void SetUp() override {
    world = GetParam().make();
    Clean();
  }
  void TearDown() override { Clean(); }

  // Leaves no probe value or test class behind in a real registry.
  void Clean() {
    world->DeleteValue(RegistryRoot::CurrentUser, kDesktop, kProbe);
    for (const char* cls : {".tpsttest", "Tapestrel.TestFile", "Tapestrel.TestFile.2", "Tapestrel.Loop1",
                            "Tapestrel.Loop2", "Tapestrel.NoIcon"})
      world->DeleteTree(RegistryRoot::ClassesRoot, cls);
  }

  RegistryRoutines& routines() { return world->program().registry; }
  std::vector<std::string> prompts() { return world->ui().Prompts(); }

  std::unique_ptr<RegistryWorld> world;
};


}  // namespace tapestrel::testing
