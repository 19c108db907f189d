// The lines of the folder tree for one open folder: the drive root and each folder on
// the way down to the open one, then the open folder's sub-folders one level deeper.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/file_system.h"

namespace tapestrel {

// A folder path as the tree shows it: no trailing backslash, except on a drive root.
std::string TreePath(const std::string& folder);

// `subFolders`, when given, are the open folder's sub-folders as a search already found
// them; otherwise the folder is listed for them.
std::vector<FolderEntry> FolderTreeEntries(FileSystem& files, const std::string& folder,
                                           const std::vector<std::string>* subFolders = nullptr);

}  // namespace tapestrel
