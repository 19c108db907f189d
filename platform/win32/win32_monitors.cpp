// The desktop's monitors. The monitor calls came with Windows 98 and 2000: they are looked
// up at run time, so that the program still starts where they are missing, and there the
// one screen and its work area stand for the only monitor.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {

PixelRect pixels(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

using EnumMonitors = BOOL(WINAPI*)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
using MonitorInfo = BOOL(WINAPI*)(HMONITOR, LPMONITORINFO);

struct Search {
  MonitorInfo info;
  std::vector<Monitor> found;
};

BOOL CALLBACK takeMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
  Search& search = *reinterpret_cast<Search*>(data);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (search.info(monitor, &info))
    search.found.push_back({pixels(info.rcMonitor), pixels(info.rcWork), (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
  return TRUE;
}

}  // namespace

std::vector<Monitor> Win32Desktop::Monitors() {
  const HMODULE user = GetModuleHandleA("user32.dll");
  const auto enumerate = user ? reinterpret_cast<EnumMonitors>(
                                    reinterpret_cast<void*>(GetProcAddress(user, "EnumDisplayMonitors")))
                              : nullptr;
  const auto info =
      user ? reinterpret_cast<MonitorInfo>(reinterpret_cast<void*>(GetProcAddress(user, "GetMonitorInfoA"))) : nullptr;
  Search search{info, {}};
  if (enumerate && info) enumerate(nullptr, nullptr, takeMonitor, reinterpret_cast<LPARAM>(&search));
  if (search.found.empty()) {
    RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const PixelRect screen{0, 0, work.right, work.bottom};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return {{screen, pixels(work), true}};
  }
  // The primary monitor first, the others in the order the system gave them.
  std::stable_partition(search.found.begin(), search.found.end(), [](const Monitor& m) { return m.primary; });
  return search.found;
}

std::uint32_t Win32Desktop::DesktopColor() {
  const COLORREF c = GetSysColor(COLOR_BACKGROUND);
  return static_cast<std::uint32_t>(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

}  // namespace tapestrel
