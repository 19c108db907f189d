// What the end-to-end tests share: starting the real program, finding its windows and
// message boxes, pressing keys, and reading and writing the registry it uses.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace tapestrel::e2e {

std::string programPath();
std::string storedSetting(const char* key, const char* section = "StartUp");
// Waits for a stored setting to read `value` (the program writes it a moment after what
// the test watched); answers whether it did.
bool waitForStoredSetting(const char* key, const char* section, const std::string& value, DWORD milliseconds);
void setStoredSetting(const char* key, const std::string& value);
void deleteStore();
// The program's main window once it shows (it exists hidden while the program starts).
HWND waitForWindow(const char* caption, DWORD milliseconds);
// The message box another process shows, found by its text.
HWND findMessageBox(const char* text, DWORD milliseconds);
void pressKeys(std::initializer_list<WORD> keys);
// A left click at a point of the screen, as the mouse would give it.
void clickAt(POINT screen);
// One mouse event at a point of the screen: MOUSEEVENTF_MOVE, _LEFTDOWN, _RIGHTUP and so on.
void mouseAt(POINT screen, DWORD event);
// A left click in the middle of a window.
void clickOn(HWND window);
std::string desktopValue(const char* name);
bool waitForDesktopValue(const char* name, const std::string& value, DWORD milliseconds);

// Typed as characters, the way an input method delivers them.
void typeText(const std::string& text);

// Reading another program's list view, header and status bar: their messages take
// pointers, so the records and texts go through memory lent by that program.
std::string listItemText(HWND list, int item, int column);
std::string statusText(HWND bar, int part);
std::string headerText(HWND header, int index);
// Where a list view's item shows its icon or picture (LVIR_ICON), on the screen.
RECT listItemIconRect(HWND list, int item);
// Where a column header, or a tab of a tab strip, lies on the screen.
RECT headerItemRect(HWND header, int index);
RECT tabItemRect(HWND tabs, int index);
// The pop-up menu that shows (a window of the system's class for menus), of one process
// or of any (0), once it opens.
HWND waitForOpenMenu(DWORD process, DWORD milliseconds);
// The first child window of a class whose window is visible, searched through every level.
HWND findVisibleChild(HWND parent, const char* className);

// The running processes of a program file name ("explorer.exe"), each with its command
// line as the process holds it.
struct ProcessSeen {
  DWORD id;
  std::string commandLine;
};
std::vector<ProcessSeen> processesNamed(const char* exeName);
// The first child window of a window with this text (a button's or a box's caption).
HWND childWithText(HWND parent, const char* text);

// The working bitmap the program writes every composed, shrunk or decoded wallpaper to.
std::string workingBitmap();
// A whole file's bytes; empty when it cannot be read.
std::string readWhole(const std::string& path);

// Writes a whole file, replacing one that is there.
void writeFile(const std::string& path, const std::string& bytes);

// A folder under the temporary folder, removed with what was written into it.
class TempFolder {
 public:
  explicit TempFolder(const char* name);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::string& path() const { return path_; }  // ends in a backslash
  // Writes a file of the folder; returns its full path.
  std::string write(const std::string& name, const std::string& bytes);
  // A 24-bit BMP of one colour.
  std::string writeBitmap(const std::string& name, int width, int height, unsigned rgb);

 private:
  std::string path_;
  std::vector<std::string> files_;
};

class RunningProgram {
 public:
  RunningProgram();
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  bool started() const { return started_; }
  // The program's main window once it shows, brought to the front; none when the
  // program did not start or its window did not show.
  HWND MainWindowInFront(DWORD milliseconds = 20000);
  bool WaitForExit(DWORD milliseconds, DWORD& code);

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

}  // namespace tapestrel::e2e
