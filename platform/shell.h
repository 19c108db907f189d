// The shell's own file operations (deleting to the Recycle Bin and moving, with the
// shell's confirmations, progress and undo) and the program's icon in the taskbar's
// notification area.
#pragma once

#include <array>
#include <cstdint>
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

// The notification-area record as the program fills it: the size it gives (88, the
// record's size in the 32-bit program), the window that hears the icon's mouse messages
// (a form's native window), the icon's number, which fields count (1 message, 2 icon,
// 4 tip), the message the icon's mouse activity comes as, and the tip with its zero byte.
struct NotifyIconData {
  std::uint32_t size = 0;
  void* window = nullptr;
  std::uint32_t id = 0;
  std::uint32_t flags = 0;
  std::uint32_t callbackMessage = 0;
  bool programIcon = false;  // the icon is the program's own
  std::array<char, 64> tip{};
};

// How a started program's window first shows, as Windows numbers it.
namespace show_window {
inline constexpr int Normal = 1;
inline constexpr int Minimized = 2;
}  // namespace show_window

namespace notify_icon {
inline constexpr int Add = 0;
inline constexpr int Modify = 1;
inline constexpr int Delete = 2;
}  // namespace notify_icon

class Shell {
 public:
  virtual ~Shell() = default;
  // Runs the operation, owned by the program's main window; answers the shell's result
  // (0 when it went through). `aborted` tells whether the user stopped it in the shell's
  // own dialog.
  virtual int RunFileOperation(const FileOperation& operation, bool& aborted) = 0;
  // Adds, changes or deletes the program's notification-area icon; false when the
  // system refused.
  virtual bool NotifyIcon(int message, const NotifyIconData& data) = 0;
  // Opens a file with the program the system associates with its type (its default
  // action), owned by a window (a form's native window); answers the shell's number:
  // above 32 when it went through, 2 file not found, 5 access denied, 31 no association.
  virtual int Execute(void* owner, const std::string& file, int showCommand) = 0;
};

}  // namespace tapestrel
