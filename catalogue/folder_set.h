// The folders the catalogue draws from: the picture folder of the folder pane with its
// history, and the list of active folders kept in the settings.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class FileSystem;

class ActiveFolderFrame;
class Desktop;
class FileList;
class MainView;
class Settings;
class Ui;
struct Options;
struct ProgramState;

class FolderSet {
 public:
  FolderSet(FileSystem& files, Ui& ui, Desktop& desktop, Options& options, ProgramState& state, Settings& settings,
            FileList& list, MainView& view, ActiveFolderFrame& frame)
      : files_(files),
        ui_(ui),
        desktop_(desktop),
        options_(options),
        state_(state),
        settings_(settings),
        list_(list),
        view_(view),
        frame_(frame) {}

  // Makes a folder the picture folder (a dropped file stands for its folder).
  void ChangePictureFolder(const std::string& path, bool fromDrop = false);
  // The folder box now shows a new folder: fill the list from it and remember it.
  // The drive box changed: to the drive's current folder, or Retry/Cancel when the
  // drive is not ready.
  void DriveChanged();
  void PictureFolderChanged();
  // Enter in the folder history combo.
  void ComboEnter();
  // Moves a folder into the picture-folder history (history 0) or the move-to one (1).
  void UpdateFolderHistory(int history, const std::string& folder);

  std::vector<std::string> LoadActiveFolders();
  void CleanUpActiveFoldersKey(const std::vector<std::string>* folders = nullptr);
  // "Fill From Actives"; false when it did not fill.
  bool ReadActiveFolders(const std::vector<std::string>* folders = nullptr, bool filesAlso = false);
  // "A&ppend/Record" switched by the user.
  void ToggleAppendRecord();
  // The options dialog's active-folder frame: browse for a folder and add it alone, with
  // its sub-folders, or with all folders below it; Delete takes the chosen entry out.
  void BrowseForActiveDirectories();
  // Records every sub-folder of `folder` (all levels for "Add All S&ub-folders");
  // answers false when the search was stopped with Esc.
  // Records the sub-folders of `folder`, and theirs when all levels are asked for, down
  // to kMaxSearchDepth levels below the chosen folder. False when stopped with Esc.
  bool DirDiver(const std::string& folder, int depth = 0);
  static constexpr int kMaxSearchDepth = 32;
  void ActiveDirectoriesKeyDown(int& keyCode, int shift);
  // Folders dropped on a file list join the active folders (which start afresh when
  // "Clear active folders at start" is on), then the list is tidied.
  void RecordDroppedFolders(const std::vector<std::string>& folders);

  // A path of three characters or fewer is no folder to work on.
  bool IsFolder(const std::string& folder);

  // While set, a change of the folder box does not fill the list (start-up).
  bool SuppressFolderEvents = false;
  // While set, a sub-folder search may go on; Esc clears it.
  bool Searching = false;
  // The options dialog's list of the active folders, read anew.
  void ReloadActiveCombo();

 private:
  void RecordActive(const std::string& folder);
  void RewriteWithoutRepeats(const std::vector<std::string>& folders);
  void EnableFrame(bool enabled);

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Desktop& desktop_;
  Options& options_;
  ProgramState& state_;
  Settings& settings_;
  FileList& list_;
  MainView& view_;
  ActiveFolderFrame& frame_;
  int activeCount_ = 0;
};

}  // namespace tapestrel
