#include "tests/e2e/e2e_support.h"

#include <commctrl.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <functional>
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

bool waitForStoredSetting(const char* key, const char* section, const std::string& value, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (storedSetting(key, section) == value) return true;
    Sleep(50);
  }
  return false;
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

// The first window, among the top-level ones or a parent's descendants, that passes a test.
struct WindowSearch {
  std::function<bool(HWND)> matches;
  HWND found = nullptr;
};

BOOL CALLBACK testWindow(HWND w, LPARAM p) {
  auto& search = *reinterpret_cast<WindowSearch*>(p);
  if (!search.matches(w)) return TRUE;
  search.found = w;
  return FALSE;
}

HWND findWindow(HWND parent, std::function<bool(HWND)> matches) {
  WindowSearch search{std::move(matches)};
  if (parent) EnumChildWindows(parent, testWindow, reinterpret_cast<LPARAM>(&search));
  else EnumWindows(testWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool hasClass(HWND w, const char* className) {
  char cls[64] = {};
  GetClassNameA(w, cls, sizeof cls);
  return lstrcmpiA(cls, className) == 0;
}

// A dialog (message box or input box) with a static text reading `text`.
bool isBoxSaying(HWND w, const char* text) {
  if (!hasClass(w, "#32770")) return false;
  HWND child = nullptr;
  while ((child = FindWindowExA(w, child, "Static", nullptr))) {
    char t[512] = {};
    GetWindowTextA(child, t, sizeof t);
    if (std::string(t) == text) return true;
  }
  return false;
}

}  // namespace

HWND findMessageBox(const char* text, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (HWND box = findWindow(nullptr, [&](HWND w) { return isBoxSaying(w, text); })) return box;
    Sleep(50);
  }
  return nullptr;
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

void mouseAt(POINT screen, DWORD event) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = event | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(INPUT));
}

void clickAt(POINT screen) {
  for (DWORD event : {DWORD{0}, DWORD{MOUSEEVENTF_LEFTDOWN}, DWORD{MOUSEEVENTF_LEFTUP}}) mouseAt(screen, event);
}

void clickOn(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void typeText(const std::string& text) {
  std::vector<INPUT> inputs;
  for (char c : text)
    for (DWORD flags : {DWORD{KEYEVENTF_UNICODE}, DWORD{KEYEVENTF_UNICODE | KEYEVENTF_KEYUP}}) {
      INPUT input{};
      input.type = INPUT_KEYBOARD;
      input.ki.wScan = static_cast<unsigned char>(c);
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

namespace {

// A block of memory in the process that owns a window, freed when done.
class Lent {
 public:
  Lent(HWND window, std::size_t size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~Lent() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  Lent(const Lent&) = delete;
  Lent& operator=(const Lent&) = delete;

  bool ok() const { return address_ != nullptr; }
  char* at(std::size_t offset) const { return static_cast<char*>(address_) + offset; }
  void put(std::size_t offset, const void* bytes, std::size_t count) {
    SIZE_T done = 0;
    WriteProcessMemory(process_, at(offset), bytes, count, &done);
  }
  void get(std::size_t offset, void* bytes, std::size_t count) const {
    SIZE_T done = 0;
    ReadProcessMemory(process_, at(offset), bytes, count, &done);
  }
  std::string text(std::size_t offset) const {
    std::vector<char> bytes(size_ - offset + 1, '\0');
    get(offset, bytes.data(), size_ - offset);
    return bytes.data();
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  std::size_t size_;
};

constexpr std::size_t kTextAt = 256;
constexpr std::size_t kLentSize = 1024;

}  // namespace

std::string listItemText(HWND list, int item, int column) {
  Lent lent(list, kLentSize);
  if (!lent.ok()) return "<unreadable>";
  LVITEMA record{};
  record.iSubItem = column;
  record.pszText = lent.at(kTextAt);
  record.cchTextMax = static_cast<int>(kLentSize - kTextAt - 1);
  lent.put(0, &record, sizeof record);
  SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(lent.at(0)));
  return lent.text(kTextAt);
}

std::string statusText(HWND bar, int part) {
  Lent lent(bar, kLentSize);
  if (!lent.ok()) return "<unreadable>";
  SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(lent.at(0)));
  return lent.text(0);
}

std::string headerText(HWND header, int index) {
  Lent lent(header, kLentSize);
  if (!lent.ok()) return "<unreadable>";
  HDITEMA record{};
  record.mask = HDI_TEXT;
  record.pszText = lent.at(kTextAt);
  record.cchTextMax = static_cast<int>(kLentSize - kTextAt - 1);
  lent.put(0, &record, sizeof record);
  SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(lent.at(0)));
  return lent.text(kTextAt);
}

namespace {
// The rectangle an item message (HDM_GETITEMRECT, TCM_GETITEMRECT, LVM_GETITEMRECT with
// the part asked for in `left`) gives, on the screen.
RECT itemRect(HWND control, UINT message, int index, RECT r = {}) {
  Lent lent(control, sizeof r);
  if (!lent.ok()) return RECT{};
  lent.put(0, &r, sizeof r);
  SendMessageA(control, message, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(lent.at(0)));
  lent.get(0, &r, sizeof r);
  MapWindowPoints(control, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

RECT headerItemRect(HWND header, int index) { return itemRect(header, HDM_GETITEMRECT, index); }
RECT listItemIconRect(HWND list, int item) { return itemRect(list, LVM_GETITEMRECT, item, RECT{LVIR_ICON, 0, 0, 0}); }
RECT tabItemRect(HWND tabs, int index) { return itemRect(tabs, TCM_GETITEMRECT, index); }

HWND findVisibleChild(HWND parent, const char* className) {
  return findWindow(parent, [&](HWND w) { return hasClass(w, className) && IsWindowVisible(w); });
}

HWND childWithText(HWND parent, const char* text) {
  return findWindow(parent, [&](HWND w) {
    char caption[256] = {};
    GetWindowTextA(w, caption, sizeof caption);
    return std::string(caption) == text;
  });
}

namespace {
// Another process's command line, read from its process parameters.
std::string commandLineOf(DWORD id) {
  using Query = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  static const auto query =
      reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  const HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
  if (!process) return {};
  std::string line;
  PROCESS_BASIC_INFORMATION basic{};
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (query && query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) == 0 &&
      ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) &&
      ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof parameters, nullptr)) {
    std::wstring wide(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
    if (ReadProcessMemory(process, parameters.CommandLine.Buffer, wide.data(), parameters.CommandLine.Length, nullptr)) {
      const int size = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
      line.resize(static_cast<std::size_t>(size));
      WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), line.data(), size, nullptr, nullptr);
    }
  }
  CloseHandle(process);
  return line;
}
}  // namespace

std::vector<ProcessSeen> processesNamed(const char* exeName) {
  std::vector<ProcessSeen> seen;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return seen;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, exeName) == 0) seen.push_back({entry.th32ProcessID, commandLineOf(entry.th32ProcessID)});
  CloseHandle(snapshot);
  return seen;
}

std::string desktopValue(const char* name) { return testing::DesktopValue(name); }

std::string workingBitmap() {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  std::string folder = windows;
  if (folder.back() != '\\') folder += '\\';
  return folder + "Tapestrel Wallpaper.bmp";
}

std::string readWhole(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

bool waitForDesktopValue(const char* name, const std::string& value, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    if (lstrcmpiA(desktopValue(name).c_str(), value.c_str()) == 0) return true;
    Sleep(50);
  }
  return false;
}

TempFolder::TempFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  path_ = std::string(temp) + name + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
  for (const std::string& file : files_) DeleteFileA(file.c_str());
  RemoveDirectoryA(path_.c_str());
}

void writeFile(const std::string& path, const std::string& bytes) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  DWORD wrote = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
  CloseHandle(h);
}

std::string TempFolder::write(const std::string& name, const std::string& bytes) {
  const std::string file = path_ + name;
  writeFile(file, bytes);
  files_.push_back(file);
  return file;
}

std::string TempFolder::writeBitmap(const std::string& name, int width, int height, unsigned rgb) {
  const int stride = (width * 3 + 3) & ~3;
  const auto le32 = [](std::string& out, unsigned v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  std::string bytes = "BM";
  le32(bytes, static_cast<unsigned>(54 + stride * height));
  le32(bytes, 0);
  le32(bytes, 54);
  le32(bytes, 40);
  le32(bytes, static_cast<unsigned>(width));
  le32(bytes, static_cast<unsigned>(height));
  bytes += std::string{1, 0, 24, 0};
  le32(bytes, 0);
  le32(bytes, static_cast<unsigned>(stride * height));
  le32(bytes, 2835);
  le32(bytes, 2835);
  le32(bytes, 0);
  le32(bytes, 0);
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x)
      bytes += {static_cast<char>(rgb & 0xFF), static_cast<char>((rgb >> 8) & 0xFF), static_cast<char>((rgb >> 16) & 0xFF)};
    bytes += std::string(static_cast<std::size_t>(stride - width * 3), '\0');
  }
  return write(name, bytes);
}

namespace {
struct MenuSearch {
  DWORD process;
  HWND found = nullptr;
};

BOOL CALLBACK testOpenMenu(HWND w, LPARAM p) {
  auto& search = *reinterpret_cast<MenuSearch*>(p);
  if (!hasClass(w, "#32768") || !IsWindowVisible(w)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (search.process && owner != search.process) return TRUE;
  search.found = w;
  return FALSE;
}
}  // namespace

HWND waitForOpenMenu(DWORD process, DWORD milliseconds) {
  MenuSearch search{process};
  for (DWORD waited = 0; waited < milliseconds && !search.found; waited += 50, Sleep(50))
    EnumWindows(testOpenMenu, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RunningProgram::MainWindowInFront(DWORD milliseconds) {
  if (!started_) return nullptr;
  const HWND window = waitForWindow("Tapestrel", milliseconds);
  if (!window) return nullptr;
  SetForegroundWindow(window);
  Sleep(300);
  return window;
}

RunningProgram::RunningProgram() {
  // The pointer out of the way, in the screen's bottom right corner: left over a window
  // by an earlier test, it would make that window show its hover texts.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  // The packaging test points the tests at an installed or unpacked copy, whose path may
  // hold letters of no code page: it is taken and started in UTF-16.
  wchar_t packaged[MAX_PATH * 4] = {};
  if (GetEnvironmentVariableW(L"TAPESTREL_PROGRAM", packaged, MAX_PATH * 4) > 0) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring command = L"\"" + std::wstring(packaged) + L"\"";
    started_ = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_) != 0;
    return;
  }
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
