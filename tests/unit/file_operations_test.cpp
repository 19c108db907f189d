// Deleting, moving and removing the selected files: one question a file, the shell's
// operation with its flags, and a list that shows afterwards what is on disk.
#include <gtest/gtest.h>

#include <deque>

#include "app/program.h"
#include "platform/memory/memory_platform.h"

namespace tapestrel {
namespace {

class FileOperationsTest : public ::testing::Test {
 protected:
  FileOperationsTest() {
    program.frmMain.Load();
    // The user at the dialog: the next answer each time it shows.
    dialog.WhileModal = [this] {
      ASSERT_FALSE(answers.empty()) << "asked once more than expected: " << dialog.lblYesNoCancel.Caption();
      asked.push_back(dialog.lblYesNoCancel.Caption());
      CommandButton* buttons[] = {nullptr, &dialog.cmdYes, &dialog.cmdNo, &dialog.cmdCancel, &dialog.cmdYesToAll};
      const int answer = answers.front();
      answers.pop_front();
      buttons[answer]->Click();
    };
  }
  void listFiles(int count) {
    for (int i = 1; i <= count; ++i) {
      const std::string name = "photo " + std::to_string(i) + ".jpg";
      memory.files.WriteFile("C:\\Pics\\" + name, "picture " + std::to_string(i));
      ListItem item;
      item.text = name;
      item.SetSubItem(1, "C:\\Pics\\");
      list().AddItem(item);
      list().UserSelected(i - 1, true);
    }
  }
  ListView& list() { return program.files.Current(); }
  std::vector<std::string> listed() {
    std::vector<std::string> names;
    for (const ListItem& item : list().Items()) names.push_back(item.text);
    return names;
  }
  void run(FileOperations::Operation operation) { program.operations.OperateOnFiles(operation); }

  MemoryPlatform memory;
  Program program{memory.platform()};
  FrmYesNoAllCancel& dialog = program.frmYesNoAllCancel;
  std::deque<int> answers;
  std::vector<std::string> asked;
};

using R = FrmYesNoAllCancel;

TEST_F(FileOperationsTest, YesNoYesToAllDeletesTheFilesSaidYesToAndTheListShowsWhatIsLeft) {
  listFiles(5);
  answers = {R::Yes, R::No, R::YesToAll};
  run(FileOperations::Delete);
  EXPECT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[0], "Send\n\n     photo 1.jpg\n\nto the Recycle Bin?");
  EXPECT_EQ(dialog.Caption(), "Delete file?");
  ASSERT_EQ(memory.shell.operations.size(), 1u);
  const FileOperation& op = memory.shell.operations[0];
  EXPECT_EQ(op.function, shell_op::Delete);
  EXPECT_EQ(op.flags, 0xC0);  // undo, files only; the shell confirms too
  EXPECT_EQ(op.from, (std::vector<std::string>{"C:\\Pics\\photo 1.jpg", "C:\\Pics\\photo 3.jpg", "C:\\Pics\\photo 4.jpg",
                                               "C:\\Pics\\photo 5.jpg"}));
  EXPECT_EQ(listed(), std::vector<std::string>{"photo 2.jpg"});
  EXPECT_EQ(memory.shell.recycled.size(), 4u);
  EXPECT_EQ(memory.shell.recycled[0].second, "picture 1");
}

TEST_F(FileOperationsTest, CancelStopsTheAskingAndWhatWasConfirmedIsStillDone) {
  listFiles(3);
  program.options.DeleteConfirmation = false;
  answers = {R::Yes, R::Cancel};
  int key = 46;  // the Delete key in the list
  list().KeyDown(key, 0);
  ASSERT_EQ(memory.shell.operations.size(), 1u);
  EXPECT_EQ(memory.shell.operations[0].from, std::vector<std::string>{"C:\\Pics\\photo 1.jpg"});
  EXPECT_EQ(memory.shell.operations[0].flags, 0xD0);  // the shell asks nothing; our dialog did
  EXPECT_EQ(listed(), (std::vector<std::string>{"photo 2.jpg", "photo 3.jpg"}));
}

TEST_F(FileOperationsTest, ADeleteCancelledInTheShellLeavesTheFilesListed) {
  listFiles(2);
  memory.shell.userCancels = true;
  answers = {R::YesToAll};
  run(FileOperations::Delete);
  EXPECT_EQ(listed(), (std::vector<std::string>{"photo 1.jpg", "photo 2.jpg"}));
  EXPECT_TRUE(memory.files.FileExists("C:\\Pics\\photo 1.jpg"));
}

TEST_F(FileOperationsTest, AMoveNeverReplacesAFileWhenRenamingWasAskedForEvenWhereTheShellWould) {
  listFiles(2);
  memory.files.WriteFile("C:\\Kept\\photo 1.jpg", "the one already there");
  program.options.Folders[5] = "C:\\Kept\\";
  program.options.MoveDirectory = 5;
  program.options.RenameOnCollision = true;
  memory.shell.renamesOnCollision = false;  // as Wine does
  answers = {R::YesToAll};
  run(FileOperations::Move);
  EXPECT_EQ(asked[0], "Move photo 1.jpg\n\nFrom   'Pics'\n\nTo     'Kept' ?");
  EXPECT_EQ(dialog.Caption(), "Move file ?");
  ASSERT_EQ(memory.shell.operations.size(), 1u);
  EXPECT_EQ(memory.shell.operations[0].flags, 0xC9);
  EXPECT_EQ(memory.files.ReadFile("C:\\Kept\\photo 1.jpg"), "the one already there");
  EXPECT_EQ(memory.files.ReadFile("C:\\Kept\\photo 1 (2).jpg"), "picture 1");
  EXPECT_EQ(memory.files.ReadFile("C:\\Kept\\photo 2.jpg"), "picture 2");
  EXPECT_TRUE(listed().empty());
  EXPECT_EQ(memory.ui.Prompts().front(),
            "Tapestrel must initialize the Windows '95 file operation.\nThis only needs to be done once while the program "
            "is loaded.");

  // Without renaming the file there is never replaced either: that file stays, told.
  listFiles(2);
  memory.files.WriteFile("C:\\Kept\\photo 1.jpg", "the one already there");
  memory.files.RemoveFile("C:\\Kept\\photo 2.jpg");
  program.options.RenameOnCollision = false;
  answers = {R::YesToAll};
  run(FileOperations::Move);
  EXPECT_EQ(memory.shell.operations.back().flags, 0xC1);
  EXPECT_EQ(memory.shell.operations.back().from, std::vector<std::string>{"C:\\Pics\\photo 2.jpg"});
  EXPECT_EQ(memory.files.ReadFile("C:\\Kept\\photo 1.jpg"), "the one already there");
  EXPECT_EQ(memory.files.ReadFile("C:\\Pics\\photo 1.jpg"), "picture 1");
  EXPECT_EQ(listed(), std::vector<std::string>{"photo 1.jpg"});
  EXPECT_EQ(memory.ui.Prompts().back(),
            "1 file(s) were not moved, since a file of the same name is in the folder moved to:\n     photo 1.jpg\n"
            "Switch on \"Rename Moved\" to keep both.");
}

// Each file goes where the answer that confirmed it said; the hint and folders that are
// not there are never a target; a move onto itself does nothing.
TEST_F(FileOperationsTest, EachFileGoesWhereItsOwnAnswerSaidAndOnlyToAnExistingFolder) {
  listFiles(3);
  memory.files.WriteFile("C:\\W1A\\x.txt", "x");
  memory.files.WriteFile("C:\\New\\x.txt", "x");
  std::deque<std::string> typed = {"C:\\W1A\\", "Move-to directory name", "Trips", "C:\\Nowhere\\", "C:\\New\\", "C:\\Pics\\"};
  std::deque<int> buttons = {R::Yes, R::Yes, R::Yes, R::Yes, R::No, R::Yes};
  dialog.WhileModal = [&] {
    while (!typed.empty()) {
      dialog.cboMoveDirectories.SetText(typed.front());
      typed.pop_front();
      CommandButton* press[] = {nullptr, &dialog.cmdYes, &dialog.cmdNo, &dialog.cmdCancel, &dialog.cmdYesToAll};
      const int answer = buttons.front();
      buttons.pop_front();
      press[answer]->Click();
      if (!dialog.Visible()) return;  // answered; a refused target keeps the question up
    }
  };
  program.options.RenameOnCollision = true;
  run(FileOperations::Move);
  // photo 1: W1A. photo 2: the hint, a relative name and a missing folder refused, then
  // the new folder typed and No. photo 3: its own folder, so it stays.
  EXPECT_EQ(memory.files.ReadFile("C:\\W1A\\photo 1.jpg"), "picture 1");
  EXPECT_TRUE(memory.files.FileExists("C:\\Pics\\photo 2.jpg"));
  EXPECT_FALSE(memory.files.FileExists("C:\\New\\photo 1.jpg"));
  EXPECT_TRUE(memory.files.FileExists("C:\\Pics\\photo 3.jpg"));
  EXPECT_FALSE(memory.files.FileExists("C:\\Pics\\photo 3 (2).jpg"));
  EXPECT_EQ(listed(), (std::vector<std::string>{"photo 2.jpg", "photo 3.jpg"}));
  const auto prompts = memory.ui.Prompts();
  EXPECT_EQ(std::count_if(prompts.begin(), prompts.end(), [](const std::string& p) { return p.find("to move to.") != std::string::npos; }), 3);
  EXPECT_NE(std::find(prompts.begin(), prompts.end(),
                      "No folder is given to move to.\nEnter the full path of a folder, or choose one with Browse."),
            prompts.end());
  for (const std::string& folder : program.options.Folders) EXPECT_NE(folder, "Move-to directory name");
}

// What the shell did not do is told: a file deleted behind the list's back does not stop
// the others, and an Esc that closed a question does not cancel what was confirmed.
TEST_F(FileOperationsTest, WhatTheShellDidNotDoIsToldAndAnEscThatAnsweredIsSpent) {
  listFiles(3);
  memory.files.RemoveFile("C:\\Pics\\photo 2.jpg");  // gone since it was listed
  answers = {R::Yes, R::Yes};
  // The third question is answered with Esc, as its Cancel: the press is the dialog's.
  const auto answer = dialog.WhileModal;
  dialog.WhileModal = [&] {
    if (!answers.empty()) return answer();
    memory.desktop.escapeOnce = true;
    dialog.cmdCancel.Click();
  };
  run(FileOperations::Delete);
  dialog.WhileModal = answer;
  EXPECT_FALSE(memory.files.FileExists("C:\\Pics\\photo 1.jpg"));
  EXPECT_EQ(listed(), std::vector<std::string>{"photo 3.jpg"});
  EXPECT_EQ(memory.shell.operations.back().from, std::vector<std::string>{"C:\\Pics\\photo 1.jpg"});

  // The shell answers success but a file stays: told by name.
  memory.desktop.escapeAfter = -1;
  list().UserSelected(0, true);
  memory.shell.userCancels = true;
  answers = {R::Yes};
  run(FileOperations::Delete);
  EXPECT_EQ(memory.ui.Prompts().back(), "1 of 1 file(s) were not deleted:\n     photo 3.jpg\n");
  memory.shell.userCancels = false;

  // A second command while the operation asks is refused, and the list is left as it is.
  listFiles(2);
  for (int i = 0; i < list().Count(); ++i) list().UserSelected(i, true);
  answers = {R::YesToAll};
  dialog.WhileModal = [this] {
    const std::size_t before = list().Count();
    program.operations.OperateOnFiles(FileOperations::Remove);
    EXPECT_FALSE(program.files.SortByKey(0));
    EXPECT_EQ(static_cast<std::size_t>(list().Count()), before);
    dialog.cmdYesToAll.Click();
  };
  run(FileOperations::Delete);
  EXPECT_TRUE(listed().empty());
}

TEST_F(FileOperationsTest, RemoveTakesItemsOffTheListOnlyAndTheDialogWantsAnAnswer) {
  listFiles(3);
  answers = {R::Yes, R::No, R::Yes};
  run(FileOperations::Remove);
  EXPECT_EQ(asked[1], "Remove\n\n     photo 2.jpg\n\nfrom the list?");
  EXPECT_EQ(listed(), std::vector<std::string>{"photo 2.jpg"});
  EXPECT_TRUE(memory.files.FileExists("C:\\Pics\\photo 1.jpg"));
  EXPECT_TRUE(memory.shell.operations.empty());

  // Closed from its system menu without an answer: told, and it stays.
  dialog.Ask("Remove file?", "?");
  dialog.Load();
  dialog.Show();
  EXPECT_FALSE(dialog.UserClose());
  EXPECT_EQ(memory.ui.Prompts().back(), "Choose an option, please");
  EXPECT_TRUE(dialog.Visible());
}

TEST(MoveQuestion, FoldersAreNamedByTheirLastPart) {
  EXPECT_EQ(FrmYesNoAllCancel::Quoted("C:\\Photos\\Trips\\"), "'Trips'");
  EXPECT_EQ(FrmYesNoAllCancel::Quoted("C:\\"), "'C:\\'");
  EXPECT_EQ(FrmYesNoAllCancel::Quoted(""), "");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(FileOperationsTest, TheFolderPanesFolderIsDeletedAfterTheShellAsksOrMovedWhereTheUserPicks) {
  memory.files.WriteFile("C:\\Albums\\Old\\a.jpg", "a");
  memory.files.WriteFile("C:\\Albums\\Trip\\b.jpg", "b");
  memory.files.WriteFile("C:\\Archive\\keep.txt", "k");
  DirListBox& pane = program.frmMain.dirPictures;
  pane.SetPath("C:\\Albums\\Old\\", {});
  int key = 46;
  pane.KeyDown(key, 0);
  ASSERT_EQ(memory.shell.operations.size(), 1u);
  EXPECT_EQ(memory.shell.operations[0].flags, shell_op::AllowUndo);  // the shell asks; folders too
  EXPECT_EQ(memory.shell.operations[0].from, std::vector<std::string>{"C:\\Albums\\Old"});
  EXPECT_FALSE(memory.files.FolderExists("C:\\Albums\\Old"));
  EXPECT_EQ(pane.Path(), "C:\\Albums\\");  // the pane shows what is left

  // Cancelled in the shell: told.
  pane.SetPath("C:\\Albums\\Trip\\", {});
  memory.shell.userCancels = true;
  key = 46;
  pane.KeyDown(key, 0);
  EXPECT_EQ(memory.ui.Prompts().back(), "Unsuccessful delete operation.");
  EXPECT_TRUE(memory.files.FolderExists("C:\\Albums\\Trip"));

  // Moved: the dialog asks where to, and the folder goes there whole.
  dialog.WhileModal = [this] {
    EXPECT_EQ(dialog.Caption(), "Move folder to where?");
    EXPECT_EQ(dialog.lblYesNoCancel.Caption(), "Move\n\n'Trip'\n\n to where?");
    dialog.cboMoveDirectories.SetText("C:\\Archive\\");
    dialog.cmdYes.Click();
  };
  program.operations.MoveFolder();
  EXPECT_EQ(memory.shell.operations.back().to, std::vector<std::string>{"C:\\Archive"});
  EXPECT_EQ(memory.files.ReadFile("C:\\Archive\\Trip\\b.jpg"), "b");
  EXPECT_EQ(memory.files.ReadFile("C:\\Archive\\keep.txt"), "k");
  EXPECT_EQ(program.options.Folders[static_cast<std::size_t>(program.options.MoveDirectory)], "C:\\Archive\\");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(FileOperationsTest, DroppedFilesAndFoldersAreListedAndTheFoldersBecomeActive) {
  memory.files.WriteFile("C:\\Drop\\Sea\\wave.bmp", "BM");
  memory.files.WriteFile("C:\\Drop\\Sea\\shore.bmp", "BM");
  memory.files.WriteFile("C:\\Elsewhere\\lone.bmp", "BM");
  program.files.ShowList(1);
  list().AcceptsDrops = true;
  Raise(program.frmMain.lstvFiles[1].FilesDropped, std::vector<std::string>{"C:\\Drop\\Sea", "C:\\Elsewhere\\lone.bmp"});
  std::vector<std::string> names = listed();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"lone.bmp", "shore.bmp", "wave.bmp"}));
  const std::vector<std::string> active = program.folders.LoadActiveFolders();
  EXPECT_NE(std::find(active.begin(), active.end(), "C:\\Drop\\Sea\\"), active.end());

  // On the folder pane: one folder at a time.
  Raise(program.frmMain.dirPictures.FilesDropped, std::vector<std::string>{"C:\\Drop\\Sea", "C:\\Elsewhere"});
  EXPECT_EQ(memory.ui.Prompts().back(),
            "One folder at a time, please.\nYou can drop multiple folders on the file-selection pane.");
  Raise(program.frmMain.dirPictures.FilesDropped, std::vector<std::string>{"C:\\Elsewhere\\lone.bmp"});
  EXPECT_EQ(NormalizeFolder(program.frmMain.dirPictures.Path()), "C:\\Elsewhere\\");
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

TEST_F(FileOperationsTest, ManyFilesGoToTheShellInBatchesWithTheWindowPaintedBetween) {
  // Where the shell asks ("Confirm Deletes"), the whole list goes at once: one question.
  listFiles(60);
  answers = {R::YesToAll};
  run(FileOperations::Delete);
  ASSERT_EQ(memory.shell.operations.size(), 1u);
  EXPECT_EQ(memory.shell.operations[0].from.size(), 60u);
  EXPECT_EQ(memory.shell.operations[0].flags, 0xC0);
  memory.shell.operations.clear();

  program.options.DeleteConfirmation = false;
  listFiles(450);
  answers = {R::YesToAll};
  const int before = memory.ui.DoEventsCalls();
  run(FileOperations::Delete);
  ASSERT_EQ(memory.shell.operations.size(), 9u);
  EXPECT_EQ(memory.shell.operations[0].from.size(), 50u);
  EXPECT_EQ(memory.shell.operations[8].from.size(), 50u);
  EXPECT_EQ(memory.shell.operations[8].flags, 0xD0);
  EXPECT_GE(memory.ui.DoEventsCalls() - before, 452);
  EXPECT_TRUE(listed().empty());

  // Esc between two batches: what the shell was given is done and off the list, the rest
  // stays where it was and listed.
  listFiles(450);
  memory.shell.operations.clear();
  memory.shell.recycled.clear();
  answers = {R::YesToAll};
  memory.shell.afterOperation = [this] { memory.desktop.escapeAfter = memory.desktop.askings; };
  run(FileOperations::Delete);
  EXPECT_EQ(memory.shell.operations.size(), 1u);
  EXPECT_EQ(memory.shell.recycled.size(), 50u);
  EXPECT_EQ(listed().size(), 400u);
  EXPECT_TRUE(memory.files.FileExists("C:\\Pics\\photo 450.jpg"));
}

}  // namespace
}  // namespace tapestrel
