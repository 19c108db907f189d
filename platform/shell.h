// The shell's own file operations: deleting to the Recycle Bin and moving, with the
// shell's confirmations, progress and undo.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

// Functions and flags as the shell numbers them.
namespace shell_op {
inline constexpr int Move = 1;
inline constexpr int Delete = 3;
inline constexpr int MultiDestFiles = 0x01;
inline constexpr int RenameOnCollision = 0x08;
inline constexpr int NoConfirmation = 0x10;
inline constexpr int AllowUndo = 0x40;
inline constexpr int FilesOnly = 0x80;
}  // namespace shell_op

struct FileOperation {
  int function = 0;
  std::vector<std::string> from;  // each path; handed over zero-separated, double-zero ended
  std::vector<std::string> to;    // for moves: one target per source, or one folder
  int flags = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Runs the operation, owned by the program's main window; answers the shell's result
  // (0 when it went through). `aborted` tells whether the user stopped it in the shell's
  // own dialog.
  virtual int RunFileOperation(const FileOperation& operation, bool& aborted) = 0;
};

}  // namespace tapestrel
