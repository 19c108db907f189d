// The registry routines on the in-memory registry: the shared cases, and what only the
// memory registry can show (which keys were opened, how, and that they were closed).
#include <gtest/gtest.h>

#include "platform/memory/memory_platform.h"
#include "tests/common/registry_world.h"

namespace tapestrel::testing {
namespace {

class MemoryWorld : public RegistryWorld {
 public:
  MemoryWorld() { program_.state.SystemFolder = "C:\\WINDOWS\\SYSTEM\\"; }
  Program& program() override { return program_; }
  MemoryUi& ui() override { return memory.ui; }
  void SetValue(RegistryRoot root, const std::string& subKey, const std::string& name,
                const std::string& value) override {
    memory.registry.SetValue(root, subKey, name, value);
  }
  std::optional<std::string> Value(RegistryRoot root, const std::string& subKey, const std::string& name) override {
    return memory.registry.Value(root, subKey, name);
  }
  void DeleteValue(RegistryRoot root, const std::string& subKey, const std::string& name) override {
    memory.registry.DeleteValue(root, subKey, name);
  }
  void DeleteTree(RegistryRoot root, const std::string& subKey) override { memory.registry.DeleteKey(root, subKey); }
  std::string MakeFile(const std::string& name) override {
    const std::string path = "C:\\Scratch\\" + name;
    memory.files.WriteFile(path);
    return path;
  }

  MemoryPlatform memory;

 private:
  Program program_{memory.platform()};
};

INSTANTIATE_TEST_SUITE_P(Memory, RegistryRoutinesCases,
                         ::testing::Values(RegistryWorldFactory{
                             "memory", [] { return std::make_unique<MemoryWorld>(); }}),
                         [](const auto& info) { return info.param.name; });

class MemoryRegistryRoutines : public ::testing::Test {
 protected:
  MemoryWorld world;
  MemoryRegistry& registry = world.memory.registry;
  RegistryRoutines& routines = world.program().registry;
};

TEST_F(MemoryRegistryRoutines, ErrorTexts) {
  const struct {
    long code;
    const char* text;
  } cases[] = {{1009, "The Registry Database is corrupt!"},
               {1015, "The Registry Database is corrupt!"},
               {2, "Bad Key Name!"},
               {1010, "Bad Key Name!"},
               {1011, "Can't Open Key"},
               {4, "Can't Read Key"},
               {1012, "Can't Read Key"},
               {5, "Access to this key is denied."},
               {1013, "Can't Write Key"},
               {8, "Out of memory"},
               {14, "Out of memory"},
               {87, "Invalid Parameter"},
               {234, "Error - There is more data than the buffer can handle!"},
               {6, "Undefined Key Error Code 6!"},
               {0, "Undefined Key Error Code 0!"}};
  for (const auto& c : cases) EXPECT_EQ(RegistryRoutines::RegistryErrorText(c.code), c.text) << c.code;
}

TEST_F(MemoryRegistryRoutines, OpenFailuresAreToldWithTheirTexts) {
  registry.FailOpen(RegistryRoot::CurrentUser, kDesktop, 6);
  EXPECT_EQ(routines.GetRegistryValue("TileWallpaper"), "");
  routines.SetRegistryValue("TileWallpaper", "1");
  ASSERT_EQ(world.ui().Messages().size(), 2u);
  EXPECT_EQ(world.ui().Messages()[0].prompt, "Undefined Key Error Code 6!");
  EXPECT_EQ(world.ui().Messages()[1].prompt, "Undefined Key Error Code 6! while opening the key for TileWallpaper");
  EXPECT_EQ(world.ui().Messages()[1].style, mb::OkOnly);
}

TEST_F(MemoryRegistryRoutines, WriteFailureIsToldAndNothingIsStored) {
  registry.CreateKey(RegistryRoot::CurrentUser, kDesktop);
  registry.FailWrite(RegistryRoot::CurrentUser, kDesktop, 5);
  routines.SetRegistryValue("TileWallpaper", "1");
  ASSERT_EQ(world.ui().Messages().size(), 1u);
  EXPECT_EQ(world.ui().Messages()[0].prompt, "Access to this key is denied. while setting the key for TileWallpaper");
  EXPECT_FALSE(registry.Value(RegistryRoot::CurrentUser, kDesktop, "TileWallpaper"));
}

TEST_F(MemoryRegistryRoutines, EveryKeyIsOpenedWithTheRightMaskAndClosedAgain) {
  registry.SetValue(RegistryRoot::ClassesRoot, ".jpg", "", "jpegfile");
  routines.GetRegistryValue("WallPaperStyle");
  routines.SetRegistryValue("Tapestrel", "x");
  routines.ClassForExtension("jpg");
  std::string cls = "jpegfile";
  std::int16_t icon = 0;
  routines.ProgramForClass(cls, icon);
  ASSERT_FALSE(registry.OpenLog().empty());
  for (const auto& open : registry.OpenLog()) EXPECT_EQ(open.access, 0x3Fu) << open.subKey;
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST_F(MemoryRegistryRoutines, RunEntryLivesUnderTheMachineRunKey) {
  world.program().options.RunProgramAtStartUp = 1;
  routines.SetRegistryValue("Tapestrel", "c:\\tapestrel\\tapestrel.exe");
  EXPECT_EQ(registry.OpenLog().back().root, RegistryRoot::LocalMachine);
  EXPECT_EQ(registry.OpenLog().back().subKey, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
  // Only the exact name is the Run entry; any other spelling is a desktop value.
  routines.SetRegistryValue("tapestrel", "3");
  EXPECT_EQ(registry.OpenLog().back().root, RegistryRoot::CurrentUser);
}

TEST_F(MemoryRegistryRoutines, ExtensionLookUpOrder) {
  routines.ClassForExtension("JPG");
  ASSERT_EQ(registry.OpenLog().size(), 2u);
  EXPECT_EQ(registry.OpenLog()[0].subKey, ".jpg");
  EXPECT_EQ(registry.OpenLog()[1].subKey, ".JPG");

  registry.ClearOpenLog();
  routines.ClassForExtension(".Jpg");
  ASSERT_EQ(registry.OpenLog().size(), 2u);
  EXPECT_EQ(registry.OpenLog()[0].subKey, ".Jpg");
  EXPECT_EQ(registry.OpenLog()[1].subKey, ".JPG");
}

TEST_F(MemoryRegistryRoutines, BareIconFileIsLookedForInTheSystemFolder) {
  world.memory.files.WriteFile("C:\\WINDOWS\\SYSTEM\\pictures.dll");
  registry.SetValue(RegistryRoot::ClassesRoot, "picfile\\DefaultIcon", "", "pictures.dll,-2");
  std::string cls = "picfile";
  std::int16_t icon = 0;
  EXPECT_EQ(routines.ProgramForClass(cls, icon), "C:\\WINDOWS\\SYSTEM\\pictures.dll");
  EXPECT_EQ(icon, -2);
}

TEST_F(MemoryRegistryRoutines, SearchOrderPrefersDefaultIconThenServerThenOpenCommand) {
  world.memory.files.WriteFile("C:\\apps\\server.exe");
  world.memory.files.WriteFile("C:\\apps\\open.exe");
  registry.SetValue(RegistryRoot::ClassesRoot, "docfile\\protocol\\StdFileEditing\\server", "", "C:\\apps\\server.exe");
  registry.SetValue(RegistryRoot::ClassesRoot, "docfile\\shell\\open\\command", "", "C:\\apps\\open.exe %1");
  std::string cls = "docfile";
  std::int16_t icon = 0;
  EXPECT_EQ(routines.ProgramForClass(cls, icon), "C:\\apps\\server.exe");
}

}  // namespace
}  // namespace tapestrel::testing
