// The registry routines against a registry that answers as Windows does. Compiled into
// the native tests (memory registry) and the Windows tests (Wine's registry).
#include <gtest/gtest.h>

#include "tests/common/registry_world.h"

namespace tapestrel::testing {
namespace {

constexpr const char* kRun = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

TEST_P(RegistryRoutinesCases, MissingDesktopValueIsCreatedAsZeroThenReadQuietly) {
  EXPECT_EQ(routines().GetRegistryValue(kProbe), "0");
  EXPECT_EQ(world->Value(RegistryRoot::CurrentUser, kDesktop, kProbe), "0");
  world->SetValue(RegistryRoot::CurrentUser, kDesktop, kProbe, "7");
  EXPECT_EQ(routines().GetRegistryValue(kProbe), "7");
  EXPECT_TRUE(prompts().empty());
}

TEST_P(RegistryRoutinesCases, MissingWallpaperIsCreatedEmpty) {
  const auto saved = world->Value(RegistryRoot::CurrentUser, kDesktop, "Wallpaper");
  world->DeleteValue(RegistryRoot::CurrentUser, kDesktop, "Wallpaper");
  EXPECT_EQ(routines().GetRegistryValue("Wallpaper"), "");
  EXPECT_EQ(world->Value(RegistryRoot::CurrentUser, kDesktop, "Wallpaper"), "");
  EXPECT_TRUE(prompts().empty());
  if (saved) world->SetValue(RegistryRoot::CurrentUser, kDesktop, "Wallpaper", *saved);
}

TEST_P(RegistryRoutinesCases, ValueLongerThanTheBufferIsReported) {
  world->SetValue(RegistryRoot::CurrentUser, kDesktop, kProbe, std::string(256, 'x'));
  EXPECT_EQ(routines().GetRegistryValue(kProbe), "");
  ASSERT_EQ(prompts().size(), 1u);
  EXPECT_EQ(prompts()[0], "Error - There is more data than the buffer can handle!");
  EXPECT_EQ(world->ui().Messages()[0].title, "Tapestrel");

  // 254 characters and the terminating zero fit the 255-byte buffer; 255 do not.
  world->ui().ClearMessages();
  world->SetValue(RegistryRoot::CurrentUser, kDesktop, kProbe, std::string(254, 'y'));
  EXPECT_EQ(routines().GetRegistryValue(kProbe), std::string(254, 'y'));
  world->SetValue(RegistryRoot::CurrentUser, kDesktop, kProbe, std::string(255, 'z'));
  EXPECT_EQ(routines().GetRegistryValue(kProbe), "");
  EXPECT_EQ(prompts().size(), 1u);
}

TEST_P(RegistryRoutinesCases, DesktopValuesAreWrittenAsNumbers) {
  const struct {
    const char* given;
    const char* stored;
  } cases[] = {{"1", "1"}, {"02", "2"}, {"", ""}, {"abc", "0"}, {"12 px", "12"}, {"0", "0"}};
  for (const auto& c : cases) {
    routines().SetRegistryValue(kProbe, c.given);
    EXPECT_EQ(world->Value(RegistryRoot::CurrentUser, kDesktop, kProbe), c.stored) << "given '" << c.given << "'";
  }
  EXPECT_TRUE(prompts().empty());
}

TEST_P(RegistryRoutinesCases, RunEntryIsEmptyWhileTheOptionIsOff) {
  const auto saved = world->Value(RegistryRoot::LocalMachine, kRun, "Tapestrel");
  world->program().options.RunProgramAtStartUp = 0;
  routines().SetRegistryValue("Tapestrel", "c:\\program files\\tapestrel\\tapestrel.exe");
  EXPECT_EQ(world->Value(RegistryRoot::LocalMachine, kRun, "Tapestrel"), "");

  world->program().options.RunProgramAtStartUp = 1;
  routines().SetRegistryValue("Tapestrel", "c:\\program files\\tapestrel\\tapestrel.exe");
  EXPECT_EQ(world->Value(RegistryRoot::LocalMachine, kRun, "Tapestrel"), "c:\\program files\\tapestrel\\tapestrel.exe");
  EXPECT_EQ(routines().GetRegistryValue("Tapestrel"), "c:\\program files\\tapestrel\\tapestrel.exe");
  EXPECT_TRUE(prompts().empty());

  if (saved) world->SetValue(RegistryRoot::LocalMachine, kRun, "Tapestrel", *saved);
  else world->DeleteValue(RegistryRoot::LocalMachine, kRun, "Tapestrel");
}

TEST_P(RegistryRoutinesCases, ClassForExtensionWithAndWithoutTheDot) {
  world->SetValue(RegistryRoot::ClassesRoot, ".tpsttest", "", "Tapestrel.TestFile");
  EXPECT_EQ(routines().ClassForExtension("tpsttest"), "Tapestrel.TestFile");
  EXPECT_EQ(routines().ClassForExtension("TPSTTEST"), "Tapestrel.TestFile");
  EXPECT_EQ(routines().ClassForExtension(".tpsttest"), "Tapestrel.TestFile");
  EXPECT_EQ(routines().ClassForExtension(".TPSTTEST"), "Tapestrel.TestFile");
  EXPECT_EQ(routines().ClassForExtension("tpstnone"), "");
  EXPECT_TRUE(prompts().empty());
}

TEST_P(RegistryRoutinesCases, DefaultIconGivesProgramAndIconIndex) {
  const std::string program = world->MakeFile("tpstview.exe");
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.TestFile\\DefaultIcon", "", program + ",3");
  std::string cls = "Tapestrel.TestFile";
  std::int16_t icon = -1;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), program);
  EXPECT_EQ(icon, 3);
  EXPECT_EQ(cls, "Tapestrel.TestFile");
}

TEST_P(RegistryRoutinesCases, QuotedOpenCommandGivesThePathAlone) {
  const std::string program = world->MakeFile("tpst edit.exe");
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.TestFile\\shell\\open\\command", "",
                  "\"" + program + "\" \"%1\"");
  std::string cls = "Tapestrel.TestFile";
  std::int16_t icon = 9;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), program);
  EXPECT_EQ(icon, 0);
}

TEST_P(RegistryRoutinesCases, ProgramThatDoesNotExistGivesNothing) {
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.TestFile\\DefaultIcon", "", "C:\\nowhere\\gone.exe,1");
  std::string cls = "Tapestrel.TestFile";
  std::int16_t icon = 0;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), "");
}

TEST_P(RegistryRoutinesCases, CurVerRedirectsTheClass) {
  const std::string program = world->MakeFile("tpstnew.exe");
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.TestFile\\CurVer", "", "Tapestrel.TestFile.2");
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.TestFile.2\\DefaultIcon", "", program + ",0");
  std::string cls = "Tapestrel.TestFile";
  std::int16_t icon = 5;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), program);
  EXPECT_EQ(cls, "Tapestrel.TestFile.2");
  EXPECT_EQ(icon, 0);
}

TEST_P(RegistryRoutinesCases, CurVerLoopEndsWithNothing) {
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.Loop1\\CurVer", "", "Tapestrel.Loop2");
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.Loop2\\CurVer", "", "Tapestrel.Loop1");
  std::string cls = "Tapestrel.Loop1";
  std::int16_t icon = 0;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), "");
  EXPECT_TRUE(prompts().empty());
}

TEST_P(RegistryRoutinesCases, ClassWithoutAnyProgramGivesNothing) {
  world->SetValue(RegistryRoot::ClassesRoot, "Tapestrel.NoIcon", "", "A class with no program");
  std::string cls = "Tapestrel.NoIcon";
  std::int16_t icon = 0;
  EXPECT_EQ(routines().ProgramForClass(cls, icon), "");
  std::string none;
  EXPECT_EQ(routines().ProgramForClass(none, icon), "");
}

}  // namespace
}  // namespace tapestrel::testing
