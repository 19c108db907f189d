#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class ProgramTest : public ::testing::Test {
 protected:
  MemoryPlatform memory;
  Program program{memory.platform()};
};

TEST_F(ProgramTest, StartsOnAnEmptyStoreWithTheDefaults) {
  program.Start();
  EXPECT_EQ(program.state.WindowsFolder, "C:\\WINDOWS\\");
  EXPECT_EQ(program.state.SystemFolder, "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(program.options.Folders[0], "C:\\Program Files\\Tapestrel\\");
  EXPECT_EQ(program.frmMain.Caption(), "Tapestrel");
  EXPECT_TRUE(program.frmMain.Visible());
  EXPECT_EQ(program.frmMain.Width(), FrmMain::kDesignWidth);
  EXPECT_TRUE(memory.ui.Messages().empty());
  // The end of start-up records where the picture and move-to folders are.
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "PictureDirectory", ""), "0");
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "MoveDirectory1", ""), "C:\\Program Files\\Tapestrel\\");
}

// A failure while loading is told in the words for it, and the program still opens.
TEST(ProgramStart, AFailureDuringLoadingIsToldAndTheWindowStillOpens) {
  struct FailingDrives : MemoryFileSystem {
    using MemoryFileSystem::MemoryFileSystem;
    std::vector<std::string> Drives() override { throw std::bad_alloc(); }
  };
  MemoryPlatform memory;
  FailingDrives files{memory.root()};
  Platform platform{memory.registry, memory.settings, memory.profiles, files,
                    memory.ui,       memory.clock,    memory.desktop,  memory.processes, memory.gvbox, memory.shell, memory.mci};
  Program program{platform};
  EXPECT_TRUE(program.Start());
  ASSERT_FALSE(memory.ui.Messages().empty());
  EXPECT_EQ(memory.ui.Prompts().back(), "Out of memory (7) has occurred\nduring loading of Tapestrel.");
  EXPECT_TRUE(program.frmMain.Visible());
  EXPECT_FALSE(program.frmAbout.Loaded());
}

TEST_F(ProgramTest, StoredWindowPositionIsApplied) {
  memory.settings.SaveSetting("StartUp", "WindowPosition", "600 450 9000 6000");
  program.Start();
  EXPECT_EQ(program.frmMain.Left(), 600);
  EXPECT_EQ(program.frmMain.Top(), 450);
  EXPECT_EQ(program.frmMain.Width(), 9000);
  EXPECT_EQ(program.frmMain.Height(), 6000);
}

TEST_F(ProgramTest, UnloadWritesOnlyTheMediaEvents) {
  program.Start();
  memory.settings.ClearWrites();
  program.options.mciEvents[2] = "C:\\bye.wav";
  program.options.BackdropMode = 2;
  ASSERT_TRUE(program.frmMain.Unload());
  ASSERT_EQ(memory.settings.Writes().size(), 3u);
  EXPECT_EQ(memory.settings.Writes()[0].key, "mciEvents0");
  EXPECT_EQ(memory.settings.Writes()[2].key, "mciEvents2");
  EXPECT_EQ(memory.settings.Writes()[2].value, "C:\\bye.wav");
}

TEST_F(ProgramTest, SavingAllTakesTheWindowWhereTheUserLeftIt) {
  program.Start();
  program.frmMain.UserMoved(300, 150, 8000, 5000);
  program.SaveAllSettings();
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "WindowPosition", ""), "300 150 8000 5000");

  // A minimized window has no useful place to remember; the last normal one stays.
  program.frmMain.UserChangedState(WindowState::Minimized);
  program.frmMain.UserMoved(-32000, -32000, 2400, 450);
  program.SaveAllSettings();
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "WindowPosition", ""), "300 150 8000 5000");
}

}  // namespace
}  // namespace tapestrel
