// The options dialog's frame of active folders, as the folder set fills and searches it:
// the list of folders, the way a chosen folder is added, and the search's progress.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class ActiveFolderFrame {
 public:
  // How a chosen folder is added: alone, with its sub-folders, or with all below it.
  enum AddStyle { FolderOnly = 0, SubFolders = 1, AllBelow = 2 };

  virtual ~ActiveFolderFrame() = default;
  virtual AddStyle ActiveAddStyle() const = 0;
  virtual void ShowActiveFolders(const std::vector<std::string>& folders) = 0;
  // The entry chosen in the list (-1: none); taking it out answers the folders left.
  virtual int ChosenActiveFolder() const = 0;
  virtual std::vector<std::string> RemoveActiveFolder(int index) = 0;
  // The frame's controls usable or not while a search runs, and what it shows meanwhile.
  virtual void EnableActiveFrame(bool enabled) = 0;
  virtual void ShowSearchProgress(const std::string& text) = 0;
  // Out of the topmost band while a folder browser is up, so that it shows above.
  virtual void KeepOnTop(bool onTop) = 0;
};

}  // namespace tapestrel
