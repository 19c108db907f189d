// Routine groups built on their own, from exactly the parts their constructors name, with
// no program around them: what a group needs is what its header lists.
#include <gtest/gtest.h>

#include "core/options.h"
#include "core/program_state.h"
#include "core/registry_routines.h"
#include "core/settings.h"
#include "desktop/run_at_start_up.h"
#include "imaging/header_reader.h"
#include "platform/bitmap.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

TEST(StandaloneGroups, AHeaderReaderAloneMeasuresAPictureIntoItsState) {
  MemoryPlatform memory;
  Options options;
  ProgramState state;
  HeaderReader reader{memory.files, memory.ui, memory.desktop, options, state};
  memory.files.WriteFile("C:\\Pictures\\wide.bmp", WriteBmp24(Bitmap(320, 200)));
  reader.ReadImageHeader("C:\\Pictures\\wide.bmp");
  EXPECT_EQ(state.ImageWidth, 320);
  EXPECT_EQ(state.ImageHeight, 200);
  EXPECT_EQ(state.ImageBitDepth, 24);
  reader.ReadImageHeader("C:\\Pictures\\gone.bmp");  // a missing picture measures nothing
  EXPECT_EQ(state.ImageWidth, 0);
}

TEST(StandaloneGroups, SettingsAloneKeepTheHistoryInTheStoreTheyAreGiven) {
  MemoryPlatform memory;
  Options options;
  ProgramState state;
  Settings settings{memory.settings, options, state};
  settings.SaveHistory({"C:\\a.bmp", "C:\\b.bmp"});
  EXPECT_EQ(memory.settings.GetSetting("BackDropHistory", "2", ""), "C:\\b.bmp");
  EXPECT_EQ(settings.LoadHistory(), (std::vector<std::string>{"C:\\a.bmp", "C:\\b.bmp"}));
  EXPECT_EQ(state.History.size(), 2u);
}

TEST(StandaloneGroups, TheStartUpEntryNeedsOnlyFilesRegistryStoreAndOptions) {
  MemoryPlatform memory;
  Options options;
  ProgramState state;
  RegistryRoutines registry{memory.registry, memory.ui, memory.files, options, state};
  const char* run = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  memory.registry.CreateKey(RegistryRoot::LocalMachine, run);
  options.RunProgramAtStartUp = 1;
  EXPECT_EQ(ApplyRunAtStartUp(memory.files, registry, memory.settings, options), RegistryRoutines::RunEntryPlace::Machine);
  EXPECT_TRUE(memory.registry.Value(RegistryRoot::LocalMachine, run, "Tapestrel"));
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "RunProgramAtStartUp", ""), "1");
}

}  // namespace
}  // namespace tapestrel
