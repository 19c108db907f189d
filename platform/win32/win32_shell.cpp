#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <tuple>

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

bool Win32Shell::NotifyIcon(int message, const NotifyIconData& data) {
  NOTIFYICONDATAA record{};
  // The first form of the record, which every system takes: 88 bytes in the 32-bit
  // program (the size the program gives), more in the 64-bit one.
  record.cbSize = data.size == 88 ? NOTIFYICONDATAA_V1_SIZE : data.size;
  record.hWnd = static_cast<HWND>(data.window);
  record.uID = data.id;
  record.uFlags = data.flags;
  record.uCallbackMessage = data.callbackMessage;
  if (data.programIcon) record.hIcon = LoadIcon(GetModuleHandleA(nullptr), MAKEINTRESOURCE(1));
  static_assert(sizeof record.szTip >= std::tuple_size_v<decltype(data.tip)>);
  std::copy(data.tip.begin(), data.tip.end(), record.szTip);
  return Shell_NotifyIconA(static_cast<DWORD>(message), &record) != FALSE;
}

int Win32Shell::Execute(void* owner, const std::string& file, int showCommand) {
  // No verb: the file type's default action.
  const HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), nullptr, file.c_str(), nullptr, nullptr, showCommand);
  return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

}  // namespace tapestrel
