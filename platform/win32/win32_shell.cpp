#include <windows.h>
#include <shellapi.h>

#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {
// Paths one after another, each ended by a zero, and a zero after the last.
std::string zeroSeparated(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) list += path + '\0';
  return list + '\0';
}
}  // namespace

int Win32Shell::RunFileOperation(const FileOperation& operation, bool& aborted) {
  const std::string from = zeroSeparated(operation.from);
  const std::string to = zeroSeparated(operation.to);
  SHFILEOPSTRUCTA op{};
  op.hwnd = GetActiveWindow();
  op.wFunc = static_cast<UINT>(operation.function);
  op.pFrom = from.c_str();
  op.pTo = operation.to.empty() ? nullptr : to.c_str();
  op.fFlags = static_cast<FILEOP_FLAGS>(operation.flags);
  HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  const int result = SHFileOperationA(&op);
  SetCursor(old);
  aborted = op.fAnyOperationsAborted != FALSE;
  return result;
}

}  // namespace tapestrel
