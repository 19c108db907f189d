// The folders the catalogue draws from: the picture folder of the folder pane with its
// history, and the list of active folders kept in the settings.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class Program;

class FolderSet {
 public:
  explicit FolderSet(Program& program) : program_(program) {}

  // Makes a folder the picture folder (a dropped file stands for its folder).
  void ChangePictureFolder(const std::string& path, bool fromDrop = false);
  // The folder box now shows a new folder: fill the list from it and remember it.
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
  // A path of three characters or fewer is no folder to work on.
  bool IsFolder(const std::string& folder);

  // While set, a change of the folder box does not fill the list (start-up).
  bool SuppressFolderEvents = false;

 private:
  Program& program_;
};

}  // namespace tapestrel
