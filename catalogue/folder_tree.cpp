#include "catalogue/folder_tree.h"

#include "platform/text.h"

namespace tapestrel {

std::string TreePath(const std::string& folder) {
  std::string path = NormalizeFolder(folder);
  if (path.size() > 3) path.pop_back();
  return path;
}

std::vector<FolderEntry> FolderTreeEntries(FileSystem& files, const std::string& folder,
                                           const std::vector<std::string>* subFolders) {
  std::vector<FolderEntry> entries;
  const std::string normal = NormalizeFolder(folder);
  std::size_t start = 0;
  int level = 0;
  // Each separator ends one step of the way down: "C:\", "C:\Pictures\", ...
  for (std::size_t sep = normal.find('\\'); sep != std::string::npos; sep = normal.find('\\', sep + 1)) {
    const std::string upTo = normal.substr(0, sep + 1);
    std::string name = normal.substr(start, sep - start);
    if (level == 0) name = ToLower(upTo);
    if (!name.empty()) entries.push_back({name, TreePath(upTo), level++});
    start = sep + 1;
  }
  const std::vector<std::string> listed = subFolders ? std::vector<std::string>{} : files.SubFolders(normal);
  for (const std::string& sub : subFolders ? *subFolders : listed) entries.push_back({sub, TreePath(normal + sub), level});
  return entries;
}

}  // namespace tapestrel
