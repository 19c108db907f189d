// The screen-saver commands against the desktop's "ScreenSaveActive", system.ini and the
// system's switch; the default screen saver found at start-up and entered in the options;
// and the Run entry that starts the program at log-on.
#include <gtest/gtest.h>

#include "app/program.h"
#include "desktop/run_at_start_up.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

class ScreenSaverTest : public ::testing::Test {
 protected:
  void start(const char* active) {
    memory.registry.SetValue(RegistryRoot::CurrentUser, kDesktop, "ScreenSaveActive", active);
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pictures\\");
    memory.files.WriteFile("C:\\Pictures\\a.bmp", WriteBmp24(Bitmap(8, 8)));
    ASSERT_TRUE(program.Start());
  }
  std::string installed() { return memory.profiles.ReadProfileValue("system.ini", "boot", "SCRNSAVE.EXE", ""); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmMain& main = program.frmMain;
};

TEST_F(ScreenSaverTest, OnWhileActiveStartsTheSaverAtOnceAndLeavesTheSwitchAlone) {
  memory.profiles.WriteProfileValue("system.ini", "boot", "SCRNSAVE.EXE", "C:\\WINDOWS\\ssmyst.scr");
  start("1");
  EXPECT_TRUE(main.mnuScreenSaver[1].Checked());
  main.mnuScreenSaver_Click(1);
  EXPECT_EQ(memory.desktop.systemCommands, std::vector<unsigned>{0xF140});
  EXPECT_TRUE(memory.desktop.screenSaveActiveCalls.empty());
  EXPECT_TRUE(memory.ui.Prompts().empty());
  // "Off" turns the switch off; the pop-up offers "on" again.
  main.mnuScreenSaver_Click(0);
  EXPECT_EQ(memory.desktop.screenSaveActiveCalls, std::vector<bool>{false});
  EXPECT_TRUE(main.mCustom[10].Visible());
  EXPECT_FALSE(main.mCustom[9].Visible());
}

TEST_F(ScreenSaverTest, OnWhileInactiveInstallsTheDefaultByItsShortPathFirstAndStopsTheClock) {
  memory.files.WriteFile("C:\\WINDOWS\\Long screen saver.scr", "MZ");
  start("0");
  // No default was set: the Windows folder's first screen saver is it.
  EXPECT_EQ(program.options.DefaultScreenSaver, "C:\\WINDOWS\\Long screen saver.scr");
  memory.ui.Answer(mb::IdYes);
  program.rotation.TimerOnOff();
  main.mnuScreenSaver_Click(1);
  EXPECT_EQ(installed(), memory.files.ShortPathName("C:\\WINDOWS\\Long screen saver.scr"));
  EXPECT_EQ(memory.desktop.screenSaveActiveCalls, std::vector<bool>{true});
  EXPECT_EQ(memory.desktop.systemCommands, std::vector<unsigned>{0xF140});
  EXPECT_FALSE(main.tmrTapestrel[0].Enabled());
  EXPECT_FALSE(main.mCustom[10].Visible());
}

// A system.ini that cannot be written: told, and the switch stays off with nothing to run.
TEST_F(ScreenSaverTest, AFailedInstallIsToldAndLeavesTheSwitchOff) {
  memory.files.WriteFile("C:\\WINDOWS\\stars.scr", "MZ");
  memory.profiles.readOnlyFile = "system.ini";
  start("0");
  main.mnuScreenSaver_Click(1);
  EXPECT_TRUE(memory.desktop.screenSaveActiveCalls.empty());
  EXPECT_TRUE(memory.desktop.systemCommands.empty());
  EXPECT_TRUE(main.mnuScreenSaver[0].Checked());
  EXPECT_FALSE(main.mnuScreenSaver[1].Checked());
  ASSERT_FALSE(memory.ui.Prompts().empty());
  EXPECT_NE(memory.ui.Prompts().back().find("could not be written to system.ini"), std::string::npos);
}

TEST_F(ScreenSaverTest, OffWhileInactiveChangesOnlyTheChecksAndNoneInstalledIsToldButTheSwitchIsSet) {
  start("0");
  main.mnuScreenSaver_Click(0);
  EXPECT_TRUE(memory.desktop.screenSaveActiveCalls.empty());
  EXPECT_TRUE(main.mnuScreenSaver[0].Checked());
  // Neither a screen saver nor a default anywhere.
  program.options.DefaultScreenSaver.clear();
  main.mnuScreenSaver_Click(1);
  EXPECT_EQ(memory.ui.Prompts().back(), "No screen saver installed and \nno default one listed.");
  EXPECT_EQ(memory.desktop.screenSaveActiveCalls, std::vector<bool>{true});
  EXPECT_TRUE(installed().empty());
}

TEST_F(ScreenSaverTest, TheDefaultFieldTakesAnEmptyTextOrAFileThatIsThere) {
  memory.files.WriteFile("C:\\WINDOWS\\SYSTEM\\found.scr", "MZ");
  start("0");
  EXPECT_EQ(program.options.DefaultScreenSaver, "C:\\WINDOWS\\SYSTEM\\found.scr");  // from the system folder
  ScreenSaver& saver = program.screenSaver;
  EXPECT_EQ(saver.DefaultFieldLeft("C:\\nowhere.scr", false), "C:\\WINDOWS\\SYSTEM\\found.scr");
  EXPECT_EQ(memory.ui.Prompts().back(),
            "The screen saver entered cannot be found. Make sure you have entered the correct path and filename.");
  const std::size_t told = memory.ui.Prompts().size();
  EXPECT_EQ(saver.DefaultFieldLeft("  ", false), "");
  EXPECT_EQ(memory.ui.Prompts().size(), told);
  EXPECT_EQ(program.options.DefaultScreenSaver, "");
}

TEST_F(ScreenSaverTest, TheRunEntryGoesWhereTheUserMayWriteItAndLeavesNothingWhenOff) {
  start("0");
  EXPECT_EQ(StartUpCommand("C:\\", "Tapestrel"), "c:\\tapestrel.exe");  // a drive root: one backslash
  EXPECT_EQ(StartUpCommand("D:\\My Tools\\", "Tapestrel"), "\"d:\\my tools\\tapestrel.exe\"");
  const std::string command = "\"c:\\program files\\tapestrel\\tapestrel.exe\"";
  const auto apply = [&](int on) {
    program.options.RunProgramAtStartUp = on;
    return ApplyRunAtStartUp(program.platform.files, program.registry, program.platform.settings, program.options);
  };
  using Place = RegistryRoutines::RunEntryPlace;
  EXPECT_EQ(apply(1), Place::Machine);
  EXPECT_EQ(memory.registry.Value(RegistryRoot::LocalMachine, kRun, "Tapestrel"), command);
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "RunProgramAtStartUp", ""), "1");
  EXPECT_EQ(apply(0), Place::None);
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::LocalMachine, kRun, "Tapestrel"));  // gone, not emptied
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "RunProgramAtStartUp", ""), "0");

  // An ordinary user may not write the machine's key: the user's own takes the entry,
  // quietly, and turning the option off takes it out again.
  memory.registry.FailOpen(RegistryRoot::LocalMachine, kRun, 5);
  const std::size_t told = memory.ui.Prompts().size();
  EXPECT_EQ(apply(1), Place::User);
  EXPECT_EQ(memory.registry.Value(RegistryRoot::CurrentUser, kRun, "Tapestrel"), command);
  EXPECT_EQ(memory.ui.Prompts().size(), told);
  EXPECT_EQ(apply(0), Place::None);
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::CurrentUser, kRun, "Tapestrel"));
  memory.registry.FailOpen(RegistryRoot::LocalMachine, kRun, 0);
  memory.registry.FailWrite(RegistryRoot::LocalMachine, kRun, 5);
  EXPECT_EQ(apply(1), Place::User);
  memory.registry.FailWrite(RegistryRoot::LocalMachine, kRun, 0);

  // Written for every user again, the user's own entry goes: the program starts once.
  EXPECT_EQ(apply(1), Place::Machine);
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::CurrentUser, kRun, "Tapestrel"));

  // An empty entry left by an older version goes when the option is turned off.
  memory.registry.SetValue(RegistryRoot::LocalMachine, kRun, "Tapestrel", "");
  memory.registry.SetValue(RegistryRoot::CurrentUser, kRun, "Tapestrel", "c:\\old\\tapestrel.exe");
  apply(0);
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::LocalMachine, kRun, "Tapestrel"));
  EXPECT_FALSE(memory.registry.Value(RegistryRoot::CurrentUser, kRun, "Tapestrel"));

  // Where neither key may be written, the user is told and the option kept all the same.
  memory.registry.FailOpen(RegistryRoot::LocalMachine, kRun, 5);
  memory.registry.FailOpen(RegistryRoot::CurrentUser, kRun, 5);
  EXPECT_EQ(apply(1), Place::None);
  ASSERT_FALSE(memory.ui.Prompts().empty());
  EXPECT_EQ(memory.ui.Prompts().back(), "Access to this key is denied. while opening the key for Tapestrel");
  EXPECT_EQ(memory.settings.GetSetting("StartUp", "RunProgramAtStartUp", ""), "1");
}

}  // namespace
}  // namespace tapestrel
