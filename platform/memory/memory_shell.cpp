#include "platform/memory/memory_shell.h"

#include <filesystem>

#include "platform/text.h"

namespace tapestrel {

namespace {
constexpr int kCancelled = 0x4C7;  // ERROR_CANCELLED

std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }
}  // namespace

bool MemoryShell::Move(const std::string& from, const std::string& to, bool rename) {
  std::string target = to;
  if (files_.FileExists(target)) {
    if (rename && renamesOnCollision) {
      target = FreeNumberedName(target, [this](const std::string& p) { return files_.FileExists(p); });
    } else {
      files_.RemoveFile(target);
    }
  }
  return files_.RenameFile(from, target);
}

int MemoryShell::RunFileOperation(const FileOperation& operation, bool& aborted) {
  operations.push_back(operation);
  aborted = false;
  if (userCancels) {
    userCancels = false;
    aborted = true;
    return kCancelled;
  }
  bool failed = false;
  for (std::size_t i = 0; i < operation.from.size(); ++i) {
    const std::string& from = operation.from[i];
    if (!(operation.flags & shell_op::FilesOnly) && files_.FolderExists(from)) {
      // A whole folder: deleted, or moved into the target folder.
      std::error_code ec;
      if (operation.function == shell_op::Delete) {
        recycled.push_back({from, ""});
        failed |= std::filesystem::remove_all(files_.HostPath(from), ec) == 0;
      } else {
        std::filesystem::rename(files_.HostPath(from), files_.HostPath(NormalizeFolder(operation.to.at(0)) + nameOf(from)), ec);
        failed |= static_cast<bool>(ec);
      }
      continue;
    }
    if (operation.function == shell_op::Delete) {
      if (!files_.FileExists(from)) {
        failed = true;
        continue;
      }
      recycled.push_back({from, files_.ReadFile(from)});
      files_.RemoveFile(from);
    } else if (operation.function == shell_op::Move) {
      const bool each = operation.flags & shell_op::MultiDestFiles;
      const std::string to = each ? operation.to.at(i) : NormalizeFolder(operation.to.at(0)) + nameOf(from);
      failed |= !Move(from, to, operation.flags & shell_op::RenameOnCollision);
    }
  }
  if (afterOperation) afterOperation();
  return failed ? 2 : 0;
}

bool MemoryShell::NotifyIcon(int message, const NotifyIconData& data) {
  iconCalls.push_back({message, data});
  switch (message) {
    case notify_icon::Add:
      if (icon) return false;  // one icon of that number already
      icon = data;
      return true;
    case notify_icon::Modify:
      if (!icon) return false;
      icon->tip = data.tip;
      return true;
    case notify_icon::Delete:
      if (!icon) return false;
      icon.reset();
      return true;
    default:
      return false;
  }
}

}  // namespace tapestrel

namespace tapestrel {

int MemoryShell::Execute(void* owner, const std::string& file, int showCommand) {
  executed.push_back({owner, file, showCommand});
  return executeAnswer;
}

}  // namespace tapestrel
