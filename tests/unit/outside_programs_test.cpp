// Handing files to other programs: the Explorer's command lines, the associated program
// and each answer the shell can give, and the configured viewers and editors with the
// short paths, the all-files question and the advice when a viewer cannot be started.
#include <gtest/gtest.h>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

using Lines = std::vector<std::string>;

class OutsideProgramsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\My Pictures\\");
    for (const char* name : {"a.bmp", "sea side.bmp", "z.bmp"})
      memory.files.WriteFile(std::string("C:\\My Pictures\\") + name, WriteBmp24(Bitmap(8, 8)));
    memory.files.shortNames["C:\\My Pictures"] = "MYPICT~1";
    memory.files.shortNames["C:\\My Pictures\\sea side.bmp"] = "SEASID~1.BMP";
    memory.files.WriteFile("C:\\Tools\\Picture Viewer.exe", "MZ");
  }
  void start() {
    ASSERT_TRUE(program.Start());
    memory.ui.ClearMessages();
  }
  ListView& list() { return program.files.Current(); }
  int indexOf(const std::string& name) {
    for (int i = 0; i < list().Count(); ++i)
      if (list().Items()[static_cast<std::size_t>(i)].text == name) return i;
    return -1;
  }
  void selectOnly(const std::string& name) {
    list().SelectOnly(indexOf(name));
    list().SetFocusedIndex(indexOf(name));
  }
  Lines launched() {
    Lines lines;
    for (const auto& l : memory.processes.launched) lines.push_back(l.commandLine);
    return lines;
  }
  void menu(const char* name, int index) { program.frmMain.Menus().Get(name, index).Click(); }
  std::string explorer() { return program.state.WindowsFolder + "explorer.exe "; }

  MemoryPlatform memory;
  Program program{memory.platform()};
  OutsidePrograms& outside = program.outside;
};

TEST_F(OutsideProgramsTest, ExploreCommandsGiveTheExplorerItsSwitchAndWhatToSelect) {
  memory.settings.SaveSetting("StartUp", "WallPaperName", "C:\\My Pictures\\sea side.bmp");
  memory.files.WriteFile("C:\\Pics\\one,two.bmp", WriteBmp24(Bitmap(8, 8)));
  memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Pics\\");
  start();
  menu("mnuExplorer", 1);
  program.options.OpenExplorerStyle = 1;  // "1&0) Open Explorer as a single pane?"
  menu("mnuExplorer", 1);
  program.options.OpenExplorerStyle = 0;
  menu("mnuExplorer", 4);
  menu("mnuExplorer", 2);
  EXPECT_EQ(launched(), (Lines{explorer() + "/e,/root,", explorer() + "/n,/root,",
                               explorer() + "/e,/select,\"C:\\My Pictures\\sea side.bmp\"",
                               explorer() + "/e,/select,C:\\Pics"}));
  EXPECT_EQ(memory.processes.launched.front().showCommand, show_window::Normal);

  // Explore File needs a selected file.
  list().SelectOnly(-1);
  menu("mnuExplorer", 3);
  ASSERT_EQ(memory.ui.Messages().size(), 1u);
  EXPECT_EQ(memory.ui.Messages()[0].prompt, "You must select an item to shell to");
  EXPECT_EQ(memory.ui.Messages()[0].title, "Shell error");
  // A comma would part the Explorer's arguments: the path goes in quotes.
  selectOnly("one,two.bmp");
  program.frmMain.mCustom3[7].Click();
  EXPECT_EQ(launched().back(), explorer() + "/e,/select,\"C:\\Pics\\one,two.bmp\"");
}

TEST_F(OutsideProgramsTest, RunFileTellsEachAnswerOfTheShell) {
  start();
  program.frmMain.mCustom3[0].Click();
  EXPECT_EQ(memory.ui.Prompts(), Lines{"Select a file to open it"});
  selectOnly("z.bmp");
  struct Case {
    int answer;
    bool opened;
    const char* told;  // nullptr: nothing
  };
  const Case cases[] = {
      {42, true, nullptr},
      {5, false, nullptr},
      {31, false, "There is no association for the specified file type"},
      {8, false, "ShellExecute has unsuccessfully tried to open the file\nError number 8 has occurred"},
  };
  for (const Case& c : cases) {
    memory.ui.ClearMessages();
    memory.shell.executeAnswer = c.answer;
    EXPECT_EQ(outside.OpenWithAssociation("C:\\My Pictures\\z.bmp", show_window::Normal), c.opened) << c.answer;
    EXPECT_EQ(memory.ui.Prompts(), c.told ? Lines{c.told} : Lines{}) << c.answer;
  }
  EXPECT_EQ(memory.shell.executed.back().owner, program.frmMain.native);

  // Enter in the list runs the focused file; a file gone from the disk leaves the list.
  memory.ui.ClearMessages();
  memory.shell.executeAnswer = 2;
  int enter = 13;
  list().KeyDown(enter, 0);
  EXPECT_EQ(memory.shell.executed.back().file, "C:\\My Pictures\\z.bmp");
  EXPECT_EQ(memory.ui.Prompts(), Lines{"z.bmp is not present!\nTherefore, it will be removed from the list."});
  EXPECT_EQ(indexOf("z.bmp"), -1);
  EXPECT_EQ(list().Count(), 2);
}

TEST_F(OutsideProgramsTest, AViewerGetsEachSelectedFileAsOneArgument) {
  memory.settings.SaveSetting("StartUp", "Viewer2", "C:\\Tools\\Picture Viewer.exe");
  memory.settings.SaveSetting("StartUp", "Viewer", "1");
  start();
  EXPECT_EQ(program.frmMain.mCustom3[1].Caption(), "View files using Picture Viewer");
  list().SelectOnly(indexOf("a.bmp"));
  list().UserSelected(indexOf("sea side.bmp"), true);
  menu("mnuViewFiles", 0);
  const std::string viewer = "\"C:\\Tools\\Picture Viewer.exe\" ";
  // The short paths need no quotes.
  EXPECT_EQ(launched().back(), viewer + "C:\\MYPICT~1\\a.bmp C:\\MYPICT~1\\SEASID~1.BMP");
  // On a volume without short names the long paths go in quotes.
  memory.files.shortNames.clear();
  menu("mnuViewFiles", 0);
  EXPECT_EQ(launched().back(), viewer + "\"C:\\My Pictures\\a.bmp\" \"C:\\My Pictures\\sea side.bmp\"");
  EXPECT_TRUE(memory.ui.Prompts().empty());

  // With nothing selected the whole list is offered; No starts nothing.
  list().SelectOnly(-1);
  memory.ui.Answer(mb::IdNo);
  menu("mnuViewFiles", 0);
  EXPECT_EQ(memory.ui.Prompts().back(), "View all pictures in the directory ?");
  EXPECT_EQ(launched().size(), 2u);
  memory.ui.Answer(mb::IdYes);
  menu("mnuViewFiles", 0);
  ASSERT_EQ(launched().size(), 3u);
  std::string every = viewer;
  for (const ListItem& item : list().Items()) every += (every == viewer ? "\"" : " \"") + item.Column(1) + item.text + "\"";
  EXPECT_EQ(launched().back(), every);

  // A viewer that cannot be started: the advice, naming the file.
  memory.processes.startFailure = runtime_error::FileNotFound();
  selectOnly("z.bmp");
  menu("mnuViewFiles", 0);
  EXPECT_EQ(memory.ui.Prompts().back(),
            "File not found (53) has occurred while attempting to view the following file:\n\tC:\\My Pictures\\z.bmp\n"
            "Try changing the viewer to an external one through the options dialog \n"
            "or open it using the associated application by selecting the file \n"
            "and pressing return or double-clicking on it.");
}

TEST_F(OutsideProgramsTest, InternalViewingNeedsAFocusedFileAndAMissingEditorIsTold) {
  memory.settings.SaveSetting("StartUp", "Viewer1", "");  // empty: the program's own view
  start();
  EXPECT_EQ(program.options.Programs[0], "internal");
  EXPECT_EQ(program.frmMain.mCustom3[1].Caption(), "Full-screen view");
  list().SelectOnly(indexOf("a.bmp"));
  list().SetFocusedIndex(-1);
  menu("mnuViewFiles", 0);
  EXPECT_EQ(memory.ui.Prompts(),
            Lines{"Please select a file for full-screen viewing and make sure the selected file has the focus."});
  EXPECT_FALSE(program.frmFullScreen.Visible());
  EXPECT_TRUE(launched().empty());

  memory.ui.ClearMessages();
  program.options.Programs[6] = "C:\\Gone\\paint.exe";
  program.options.Editor = 6;
  selectOnly("a.bmp");
  menu("mnuViewFiles", 1);
  EXPECT_EQ(memory.ui.Prompts(),
            Lines{"C:\\Gone\\paint.exe cannot be found.\nMake sure you have entered the correct path and filename."});
  EXPECT_TRUE(launched().empty());

  // A pattern names no one program, even where files match it.
  memory.files.WriteFile("C:\\Tools\\paint.exe", "MZ");
  program.options.Programs[6] = "C:\\Tools\\*.exe";
  memory.ui.ClearMessages();
  menu("mnuViewFiles", 1);
  EXPECT_EQ(memory.ui.Prompts(),
            Lines{"C:\\Tools\\*.exe cannot be found.\nMake sure you have entered the correct path and filename."});
  EXPECT_TRUE(launched().empty());
}

}  // namespace
}  // namespace tapestrel
