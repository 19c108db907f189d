// What the end-to-end tests share: starting the real program, finding its windows and
// message boxes, pressing keys, and reading and writing the registry it uses.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

namespace tapestrel::e2e {

std::string programPath();
std::string storedSetting(const char* key, const char* section = "StartUp");
void setStoredSetting(const char* key, const std::string& value);
void deleteStore();
// The program's main window once it shows (it exists hidden while the program starts).
HWND waitForWindow(const char* caption, DWORD milliseconds);
// The message box another process shows, found by its text.
HWND findMessageBox(const char* text, DWORD milliseconds);
void pressKeys(std::initializer_list<WORD> keys);
// A left click at a point of the screen, as the mouse would give it.
void clickAt(POINT screen);
// A left click in the middle of a window.
void clickOn(HWND window);
std::string desktopValue(const char* name);
bool waitForDesktopValue(const char* name, const std::string& value, DWORD milliseconds);

class RunningProgram {
 public:
  RunningProgram();
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  bool started() const { return started_; }
  bool WaitForExit(DWORD milliseconds, DWORD& code);

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

}  // namespace tapestrel::e2e
