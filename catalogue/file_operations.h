// What the user does to the files selected in the current list. The decode operation
// hands them to the decoder; the list then shows what is on disk.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace tapestrel {

class Program;

class FileOperations {
 public:
  enum Operation { Delete = 0, Move = 1, Remove = 2, Decode = 3 };
  explicit FileOperations(Program& program) : program_(program) {}

  // The command behind the menus, the pop-up, the toolbar and the keys.
  void OperateOnFiles(Operation operation);
  // The shell's delete (to the Recycle Bin) and move of whole lists; their results.
  int DeleteFiles(const std::vector<std::string>& paths, bool confirm, bool folders);
  int MoveFiles(const std::vector<std::string>& paths, const std::vector<std::string>& targets, bool rename);
  // The folder pane's folder: deleted to the Recycle Bin after the shell asks, or moved
  // where the user picks; the pane then shows what is on disk.
  void DeleteFolder();
  void MoveFolder();
  // Files and folders dropped from the shell on a file list (false) or the folder pane.
  void Dropped(const std::vector<std::string>& paths, bool onFolderPane);
  // The folder selected in the folder pane.
  std::string SelectedFolder() const;

 private:
  struct Selected {
    int index;
    std::string path;
  };
  std::vector<Selected> CollectSelected();
  // Takes off the list the processed files that are no longer where they were.
  void CheckProcessed(const std::vector<Selected>& processed);
  // Takes the items off the list, from the last to the first.
  void TakeOff(const std::vector<Selected>& items);
  // The shell's operation over its list, a batch at a time; the first failure's result.
  int RunInBatches(const FileOperation& whole);
  void Tell(const std::string& text, int style);
  bool Confirm(Operation operation, const Selected& file);
  void Perform(Operation operation, const std::vector<Selected>& work);
  // Told once a run, before the first move or folder delete.
  void NoticeBeforeFirstShellUse();
  bool noticeShown_ = false;
  void RefreshFolderList();

  Program& program_;
};

}  // namespace tapestrel
