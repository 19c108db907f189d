// Deleting and moving real files through the shell under Windows (Wine): a delete lands
// in the Recycle Bin, a move onto a name that is taken keeps both files, and no file is
// ever lost: every file's bytes are accounted for before and after.
#include <windows.h>

#include <cstdlib>
#include <set>

#include <gtest/gtest.h>

#include "app/program.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

class FileOperationsOnWine : public ::testing::Test {
 protected:
  FileOperationsOnWine() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "Tapestrel ops 100% & 'x', f\xC3\xBCr\\";
    from = root + "From\\";
    to = root + "To\\";
    for (const std::string& f : {root, from, to}) CreateDirectoryA(f.c_str(), nullptr);
    program.frmMain.Load();
    program.frmYesNoAllCancel.WhileModal = [this] { program.frmYesNoAllCancel.cmdYesToAll.Click(); };
    program.options.DeleteConfirmation = false;  // the shell's own dialog would wait for a click
    program.options.Folders[5] = to;
    program.options.MoveDirectory = 5;
  }
  ~FileOperationsOnWine() override {
    for (const std::string& f : {from, to}) {
      for (const auto& found : files.FindFiles(f + "*")) files.RemoveFile(f + found.name);
      RemoveDirectoryA(f.c_str());
    }
    RemoveDirectoryA(root.c_str());
  }
  void listed(const std::string& name, const std::string& bytes) {
    files.WriteFileAtomically(from + name, bytes);
    ListItem item;
    item.text = name;
    item.SetSubItem(1, from);
    ListView& list = program.files.Current();
    list.AddItem(item);
    list.UserSelected(list.Count() - 1, true);
  }
  std::string read(const std::string& path) {
    auto file = files.OpenRead(path);
    if (!file) return "<missing>";
    std::string bytes(static_cast<std::size_t>(file->Size()), '\0');
    bytes.resize(file->Read(bytes.data(), bytes.size()));
    return bytes;
  }
  // The bytes of every file of both folders.
  std::multiset<std::string> contents() {
    std::multiset<std::string> all;
    for (const std::string& f : {from, to})
      for (const auto& found : files.FindFiles(f + "*")) all.insert(read(f + found.name));
    return all;
  }

  testing::ProgramOnWindows windows;
  Program& program = windows.program;
  Win32FileSystem& files = windows.files;
  std::string root, from, to;
};

TEST_F(FileOperationsOnWine, AMoveOntoATakenNameKeepsBothFilesAndTheListFollows) {
  listed("holiday, day 1.jpg", "moved one");
  listed("Z\xC3\xBCrich & co.jpg", "second");
  files.WriteFileAtomically(to + "holiday, day 1.jpg", "already there");
  program.options.RenameOnCollision = true;
  const std::multiset<std::string> before = contents();
  program.operations.OperateOnFiles(FileOperations::Move);
  EXPECT_EQ(contents(), before);  // nothing lost, nothing doubled
  EXPECT_EQ(read(to + "holiday, day 1.jpg"), "already there");
  EXPECT_EQ(read(to + "holiday, day 1 (2).jpg"), "moved one");
  EXPECT_EQ(read(to + "Z\xC3\xBCrich & co.jpg"), "second");
  EXPECT_EQ(program.files.Current().Count(), 0);

  // Without "Rename Moved" the file there is kept all the same (Wine's shell would
  // replace it without asking): the one listed stays where it was, and the user is told.
  program.options.RenameOnCollision = false;
  listed("Z\xC3\xBCrich & co.jpg", "third");
  program.operations.OperateOnFiles(FileOperations::Move);
  EXPECT_EQ(read(to + "Z\xC3\xBCrich & co.jpg"), "second");
  EXPECT_EQ(read(from + "Z\xC3\xBCrich & co.jpg"), "third");
  EXPECT_EQ(program.files.Current().Count(), 1);
  EXPECT_NE(windows.memory.ui.Prompts().back().find("were not moved, since a file of the same name"), std::string::npos);
}

TEST_F(FileOperationsOnWine, ADeleteGoesToTheRecycleBinAndOffTheList) {
  listed("gone 100%.jpg", "to the bin");
  listed("kept.jpg", "stays");
  program.files.Current().UserSelected(1, false);
  program.operations.OperateOnFiles(FileOperations::Delete);
  EXPECT_FALSE(files.FileExists(from + "gone 100%.jpg"));
  EXPECT_EQ(read(from + "kept.jpg"), "stays");
  ASSERT_EQ(program.files.Current().Count(), 1);
  EXPECT_EQ(program.files.Current().Items()[0].text, "kept.jpg");
  // Wine's Recycle Bin is the desktop's trash folder.
  char trash[MAX_PATH];
  const DWORD n = GetEnvironmentVariableA("XDG_DATA_HOME", trash, MAX_PATH);
  ASSERT_GT(n, 0u) << "no trash folder to look in";
  std::string trashFiles = std::string("Z:") + trash + "/Trash/files/";
  for (char& c : trashFiles)
    if (c == '/') c = '\\';
  bool found = false;
  for (const auto& f : files.FindFiles(trashFiles + "gone 100%*"))
    if (read(trashFiles + f.name) == "to the bin") {
      found = true;
      files.RemoveFile(trashFiles + f.name);
    }
  EXPECT_TRUE(found) << trashFiles;
}

}  // namespace
}  // namespace tapestrel
