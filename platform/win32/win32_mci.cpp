#include <windows.h>
#include <mmsystem.h>

#include "platform/win32/win32_services.h"

namespace tapestrel {

unsigned long Win32Mci::SendString(const std::string& command, std::string& reply, void* callbackWindow) {
  return mciSendStringA(command.c_str(), reply.empty() ? nullptr : reply.data(), static_cast<UINT>(reply.size()),
                        static_cast<HWND>(callbackWindow));
}

bool Win32Mci::ErrorString(unsigned long code, std::string& text) {
  if (text.empty()) return false;
  return mciGetErrorStringA(code, text.data(), static_cast<UINT>(text.size())) != FALSE;
}

std::optional<ScreenBox> Win32Mci::WindowBox(unsigned long window) {
  const HWND handle = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window));
  RECT box;
  if (!IsWindow(handle) || !GetWindowRect(handle, &box)) return std::nullopt;
  return ScreenBox{box.left, box.top, box.right - box.left, box.bottom - box.top};
}

void Win32Mci::PlaceOnTop(unsigned long window, long left, long top) {
  const HWND handle = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window));
  if (IsWindow(handle)) SetWindowPos(handle, HWND_TOPMOST, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace tapestrel
