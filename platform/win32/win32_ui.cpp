#include <windows.h>

#include "platform/win32/win32_services.h"

namespace tapestrel {

int Win32Ui::MsgBox(const std::string& prompt, int style, const std::string& title) {
  return MessageBoxA(GetActiveWindow(), prompt.c_str(), title.c_str(), static_cast<UINT>(style));
}

void Win32Ui::DoEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
      return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void Win32Ui::Beep() { MessageBeep(MB_OK); }

Win32Clock::Win32Clock() : random_(GetTickCount()) {}

DateTime Win32Clock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

double Win32Clock::Random() { return std::generate_canonical<double, 53>(random_); }

}  // namespace tapestrel
