#include "tests/e2e/e2e_support.h"

#include <vector>

#include "tests/win32/support/desktop_value.h"

namespace tapestrel::e2e {

// The build hands over a Linux path; Wine shows the Linux root as drive Z:.
std::string programPath() {
  std::string path = TAPESTREL_EXE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string storedSetting(const char* key, const char* section) {
  HKEY k;
  const std::string path = std::string("Software\\Tapestrel\\") + section;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return "<absent>";
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  const LONG code = RegQueryValueExA(k, key, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(k);
  return code == ERROR_SUCCESS ? std::string(data) : "<absent>";
}

void setStoredSetting(const char* key, const std::string& value) {
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tapestrel\\StartUp", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExA(k, key, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

void deleteStore() {
  for (const char* section : {"Software\\Tapestrel\\StartUp", "Software\\Tapestrel\\BackDropHistory",
                              "Software\\Tapestrel\\ActiveDirectories", "Software\\Tapestrel"})
    RegDeleteKeyA(HKEY_CURRENT_USER, section);
}

HWND waitForWindow(const char* caption, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (HWND w = FindWindowA("TapestrelForm", caption); w && IsWindowVisible(w)) return w;
    Sleep(50);
  }
  return nullptr;
}

namespace {

struct BoxSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK matchMessageBox(HWND w, LPARAM p) {
  auto& search = *reinterpret_cast<BoxSearch*>(p);
  char cls[32] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::string(cls) != "#32770") return TRUE;
  HWND child = nullptr;
  while ((child = FindWindowExA(w, child, "Static", nullptr))) {
    char t[512] = {};
    GetWindowTextA(child, t, sizeof t);
    if (std::string(t) == search.text) {
      search.found = w;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

HWND findMessageBox(const char* text, DWORD milliseconds) {
  BoxSearch search{text, nullptr};
  for (DWORD waited = 0; waited < milliseconds && !search.found; waited += 50) {
    EnumWindows(matchMessageBox, reinterpret_cast<LPARAM>(&search));
    if (!search.found) Sleep(50);
  }
  return search.found;
}

void pressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT down{};
    down.type = INPUT_KEYBOARD;
    down.ki.wVk = key;
    inputs.push_back(down);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = *--it;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(up);
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void clickAt(POINT screen) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, width - 1);
    input.mi.dy = MulDiv(screen.y, 65535, height - 1);
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, inputs, sizeof(INPUT));
}

void clickOn(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

std::string desktopValue(const char* name) { return testing::DesktopValue(name); }

bool waitForDesktopValue(const char* name, const std::string& value, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (lstrcmpiA(desktopValue(name).c_str(), value.c_str()) == 0) return true;
    Sleep(50);
  }
  return false;
}

RunningProgram::RunningProgram() {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = "\"" + programPath() + "\"";
  started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_) != 0;
}

RunningProgram::~RunningProgram() {
  if (!started_) return;
  if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
  CloseHandle(info_.hThread);
  CloseHandle(info_.hProcess);
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD& code) {
  if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
  GetExitCodeProcess(info_.hProcess, &code);
  return true;
}

}  // namespace tapestrel::e2e
