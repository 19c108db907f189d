// What the user does to the files selected in the current list. The decode operation
// hands them to the decoder; the list then shows what is on disk.
#pragma once

#include <string>
#include <vector>

#include "platform/shell.h"

namespace tapestrel {

class DecoderFrontEnd;
class FileList;
class FileSystem;
class FolderSet;
class FrmYesNoAllCancel;
class MainView;
class Shell;
class Ui;
struct Options;
struct ProgramState;

class FileOperations {
 public:
  enum Operation { Delete = 0, Move = 1, Remove = 2, Decode = 3 };
  FileOperations(FileSystem& files, Ui& ui, Shell& shell, const Options& options, ProgramState& state, FileList& list,
                 FolderSet& folders, DecoderFrontEnd& decoder, MainView& view, FrmYesNoAllCancel& dialog)
      : files_(files),
        ui_(ui),
        shell_(shell),
        options_(options),
        state_(state),
        list_(list),
        folders_(folders),
        decoder_(decoder),
        view_(view),
        dialog_(dialog) {}

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
    // Where a move takes it: the folder of the answer that confirmed it.
    std::string target;
  };
  std::vector<Selected> CollectSelected();
  // Takes off the list the processed files that are no longer where they were.
  void CheckProcessed(const std::vector<Selected>& processed);
  // Takes the items off the list by their paths, whatever places they have by then.
  void TakeOff(const std::vector<Selected>& items);
  // The shell's operation over its list, a batch at a time; the first failure's result.
  // A list the shell asks about goes whole, so that it asks once.
  int RunInBatches(const FileOperation& whole);
  int RunShell(const FileOperation& operation, bool& aborted);
  // Tells which of the files handed to the shell are still where they were.
  void TellNotDone(const std::vector<std::string>& handed, const char* what);
  void Tell(const std::string& text, int style);
  bool Confirm(Operation operation, const Selected& file);
  void Perform(Operation operation, const std::vector<Selected>& work);
  // Told once a run, before the first move or folder delete.
  void NoticeBeforeFirstShellUse();
  bool noticeShown_ = false;
  // How many files of its list the last shell operation was given.
  std::size_t lastHanded_ = 0;
  void RefreshFolderList();

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Shell& shell_;
  const Options& options_;
  ProgramState& state_;
  FileList& list_;
  FolderSet& folders_;
  DecoderFrontEnd& decoder_;
  MainView& view_;
  FrmYesNoAllCancel& dialog_;
};

}  // namespace tapestrel
