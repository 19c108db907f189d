#include <windows.h>
#include <shellapi.h>

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

bool Win32Ui::ShowHelp(const std::string& file, int context) {
  // The help engine runs as a program of its own with the file and the context.
  std::string command = "winhlp32.exe";
  std::string arguments = context ? "-n " + std::to_string(context) + " \"" + file + "\"" : "\"" + file + "\"";
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteA(GetActiveWindow(), "open", command.c_str(), arguments.c_str(), nullptr, SW_SHOWNORMAL));
  return result > 32;
}

long Win32Desktop::ScreenWidth() { return static_cast<long>(GetSystemMetrics(SM_CXSCREEN)) * TwipsPerPixel(); }
long Win32Desktop::ScreenHeight() { return static_cast<long>(GetSystemMetrics(SM_CYSCREEN)) * TwipsPerPixel(); }

int Win32Desktop::TwipsPerPixel() {
  const HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? 1440 / dpi : 15;
}

std::string Win32Desktop::PlatformText() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  GetVersionExA(&version);
#pragma GCC diagnostic pop
  const char* family = version.dwPlatformId == VER_PLATFORM_WIN32_NT ? "Windows NT" : "Windows";
  return std::string(family) + " " + std::to_string(version.dwMajorVersion) + "." +
         std::to_string(version.dwMinorVersion) + " (build " + std::to_string(version.dwBuildNumber & 0xFFFF) + ")";
}

std::string Win32Desktop::ProcessorText() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  static const struct {
    WORD architecture;
    const char* name;
  } names[] = {{PROCESSOR_ARCHITECTURE_INTEL, "x86"}, {PROCESSOR_ARCHITECTURE_AMD64, "x64"},
               {PROCESSOR_ARCHITECTURE_ARM, "ARM"}, {PROCESSOR_ARCHITECTURE_IA64, "Itanium"}};
  std::string name = "unknown";
  for (const auto& n : names)
    if (n.architecture == info.wProcessorArchitecture) name = n.name;
  return name + " family " + std::to_string(info.wProcessorLevel) + ", " +
         std::to_string(info.dwNumberOfProcessors) + " processor(s)";
}

MemoryStatus Win32Desktop::Memory() {
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  GlobalMemoryStatusEx(&status);
  return {static_cast<int>(status.dwMemoryLoad), status.ullTotalPhys, status.ullAvailPhys, status.ullTotalPageFile,
          status.ullAvailPageFile};
}

int Win32Desktop::ColorDepth() {
  const HDC screen = GetDC(nullptr);
  const int depth = GetDeviceCaps(screen, PLANES) * GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return depth;
}

long Win32Desktop::SetDesktopWallpaper(const std::string& path) {
  std::string buffer = path;  // the call takes a writable string
  return SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, buffer.data(), SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
}

Win32Processes::~Win32Processes() {
  if (mutex_) CloseHandle(mutex_);
}

bool Win32Processes::ClaimSingleInstance() {
  if (mutex_) return true;
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Tapestrel.SingleInstance");
  if (!mutex) return true;  // without the mark, run rather than refuse
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  mutex_ = mutex;
  return true;
}

Win32Clock::Win32Clock() : random_(GetTickCount()) {}

DateTime Win32Clock::Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

double Win32Clock::Random() { return std::generate_canonical<double, 53>(random_); }

}  // namespace tapestrel
