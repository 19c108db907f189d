// The shell's file operations over the memory file system: every operation is
// recorded; deletes go to a recycle bin the test can look into, moves rename files,
// meeting a file of the same name the way the shell it stands for does.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_file_system.h"
#include "platform/shell.h"

namespace tapestrel {

class MemoryShell : public Shell {
 public:
  explicit MemoryShell(MemoryFileSystem& files) : files_(files) {}
  int RunFileOperation(const FileOperation& operation, bool& aborted) override;
  bool NotifyIcon(int message, const NotifyIconData& data) override;
  // Each file handed to its associated program, answered with `executeAnswer`.
  int Execute(void* owner, const std::string& file, int showCommand) override;
  struct Executed {
    void* owner;
    std::string file;
    int showCommand;
  };
  std::vector<Executed> executed;
  int executeAnswer = 42;

  std::vector<FileOperation> operations;
  // Deleted files, by path, with their bytes.
  std::vector<std::pair<std::string, std::string>> recycled;
  // The user stops the next operation in the shell's own dialog.
  bool userCancels = false;
  // Windows renames a moved file that meets one of the same name when asked to; Wine
  // replaces the one that was there.
  bool renamesOnCollision = true;
  // Called after each operation has run, as the user might act between them.
  std::function<void()> afterOperation;
  // Every notification-area call, and the icon as the area shows it (none: no icon).
  std::vector<std::pair<int, NotifyIconData>> iconCalls;
  std::optional<NotifyIconData> icon;

 private:
  bool Move(const std::string& from, const std::string& to, bool rename);
  MemoryFileSystem& files_;
};

}  // namespace tapestrel
