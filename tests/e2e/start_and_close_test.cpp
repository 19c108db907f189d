// The real Tapestrel.exe started as its own process and watched from outside: its
// window, and what it leaves in the settings store.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The build hands over a Linux path; Wine shows the Linux root as drive Z:.
std::string programPath() {
  std::string path = TAPESTREL_EXE;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string storedSetting(const char* key) {
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Tapestrel\\StartUp", 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS)
    return "<absent>";
  char data[1024] = {};
  DWORD size = sizeof data - 1;
  const LONG code = RegQueryValueExA(k, key, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(k);
  return code == ERROR_SUCCESS ? std::string(data) : "<absent>";
}

void deleteStore() {
  for (const char* section : {"Software\\Tapestrel\\StartUp", "Software\\Tapestrel\\BackDropHistory",
                              "Software\\Tapestrel\\ActiveDirectories", "Software\\Tapestrel"})
    RegDeleteKeyA(HKEY_CURRENT_USER, section);
}

HWND waitForWindow(const char* caption, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50) {
    // The window exists, hidden, while the program starts; it shows when start-up is done.
    if (HWND w = FindWindowA("TapestrelForm", caption); w && IsWindowVisible(w)) return w;
    Sleep(50);
  }
  return nullptr;
}

class RunningProgram {
 public:
  RunningProgram() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string command = "\"" + programPath() + "\"";
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info_) != 0;
  }
  ~RunningProgram() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  bool WaitForExit(DWORD milliseconds, DWORD& code) {
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(info_.hProcess, &code);
    return true;
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

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
    char t[256] = {};
    GetWindowTextA(child, t, sizeof t);
    if (std::string(t) == search.text) {
      search.found = w;
      return FALSE;
    }
  }
  return TRUE;
}

// The message box another process shows, found by its text.
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

TEST(EndToEnd, SecondCopySaysSoAndExitAndSaveWritesTheSettings) {
  deleteStore();
  RunningProgram first;
  ASSERT_TRUE(first.started());
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");

  {
    RunningProgram second;
    ASSERT_TRUE(second.started());
    const HWND box = findMessageBox("Tapestrel is already runninng", 20000);
    ASSERT_NE(box, nullptr) << "the second copy showed no message";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(20000, code));
    EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");  // it touched no setting
    EXPECT_EQ(storedSetting("mciEvents"), "<absent>");
  }

  // Ctrl+K is "Exit and &Save".
  SetForegroundWindow(window);
  Sleep(300);
  pressKeys({VK_CONTROL, 'K'});
  DWORD code = 1;
  ASSERT_TRUE(first.WaitForExit(20000, code)) << "Ctrl+K did not end the program";
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(storedSetting("BackdropMode"), "0");
  EXPECT_EQ(storedSetting("DeleteConfirmation"), "True");
  EXPECT_EQ(storedSetting("GVBox_DCTMethod"), "2");
  EXPECT_EQ(storedSetting("AlternateFilePattern"), ".jp?");
  const std::string position = storedSetting("WindowPosition");
  EXPECT_EQ(std::count(position.begin(), position.end(), ' '), 3) << position;
  deleteStore();
}

TEST(EndToEnd, StartsWithItsWindowAndClosesKeepingItsSettings) {
  deleteStore();
  RunningProgram program;
  ASSERT_TRUE(program.started()) << programPath();
  const HWND window = waitForWindow("Tapestrel", 20000);
  ASSERT_NE(window, nullptr) << "no window captioned Tapestrel";
  EXPECT_TRUE(IsWindowVisible(window));

  // The end of start-up records the folder histories.
  EXPECT_EQ(storedSetting("PictureDirectory"), "0");
  EXPECT_EQ(storedSetting("MoveDirectory"), "5");
  EXPECT_NE(storedSetting("PictureDirectory1").find("\\"), std::string::npos);

  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(20000, code)) << "the program did not end after its window was closed";
  EXPECT_EQ(code, 0u);
  // Closing saves no options, but the media events are kept on every unload.
  EXPECT_EQ(storedSetting("mciEvents"), "");
  EXPECT_EQ(storedSetting("BackdropMode"), "<absent>");
  deleteStore();
}

}  // namespace
