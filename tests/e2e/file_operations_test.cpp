// File operations in the real program, driven from outside as the shell and the user
// would: files and a folder dropped on the list and the folder pane by another program,
// a move chosen from the list's own menu through the confirmation dialog, and a folder
// deleted from the folder pane with the Delete key. Every file's bytes are counted before
// and after: nothing is lost.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/e2e/e2e_support.h"

namespace {

using namespace tapestrel::e2e;

std::string readFile(const std::string& path) {
  const HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return "<missing>";
  std::string bytes(static_cast<std::size_t>(GetFileSize(h, nullptr)), '\0');
  DWORD read = 0;
  ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(h);
  return bytes;
}

bool exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A drop handle as the shell makes one, a DROPFILES block with zero-separated names,
// written into the receiving program's memory. Windows carries a handle posted with
// WM_DROPFILES over to the receiver; Wine does not, but takes a fixed block of the
// receiver's own memory as the handle, as it takes the one its own drops make.
class DropHandle {
 public:
  DropHandle(HWND receiver, const std::vector<std::string>& paths) {
    std::string block(sizeof(DROPFILES), '\0');
    reinterpret_cast<DROPFILES*>(block.data())->pFiles = sizeof(DROPFILES);
    for (const std::string& p : paths) block += p + '\0';
    block += '\0';
    DWORD id = 0;
    GetWindowThreadProcessId(receiver, &id);
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, id);
    if (!process_) return;
    memory_ = VirtualAllocEx(process_, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (memory_ && !WriteProcessMemory(process_, memory_, block.data(), block.size(), nullptr)) memory_ = nullptr;
  }
  ~DropHandle() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  DropHandle(const DropHandle&) = delete;
  DropHandle& operator=(const DropHandle&) = delete;
  WPARAM handle() const { return reinterpret_cast<WPARAM>(memory_); }

 private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

// The values of a section of the program's store.
std::vector<std::string> storedValues(const char* section) {
  std::vector<std::string> values;
  HKEY k;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string("Software\\Tapestrel\\") + section).c_str(), 0, KEY_QUERY_VALUE, &k) !=
      ERROR_SUCCESS)
    return values;
  for (DWORD i = 0;; ++i) {
    char name[256], data[1024] = {};
    DWORD nameSize = sizeof name, dataSize = sizeof data - 1;
    if (RegEnumValueA(k, i, name, &nameSize, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS) break;
    values.push_back(data);
  }
  RegCloseKey(k);
  return values;
}

std::string windowText(HWND w) {
  char text[1024] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

// A dialog of the system's class by its caption.
HWND waitForDialog(const char* caption, DWORD milliseconds) {
  for (DWORD waited = 0; waited < milliseconds; waited += 50, Sleep(50))
    if (HWND w = FindWindowA("#32770", caption); w && IsWindowVisible(w)) return w;
  return nullptr;
}

// The entries of a list box of another program.
std::vector<std::string> listBoxEntries(HWND box) {
  std::vector<std::string> entries;
  const LRESULT count = SendMessageA(box, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    // Wine carries the text over between programs only in its wide form.
    wchar_t wide[MAX_PATH] = {};
    SendMessageW(box, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
    char entry[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, entry, sizeof entry, nullptr, nullptr);
    entries.push_back(entry);
  }
  return entries;
}

bool mentions(const std::vector<std::string>& entries, const std::string& part) {
  for (const std::string& e : entries)
    if (e.find(part) != std::string::npos) return true;
  return false;
}

// A child window of a class with a caption.
HWND childWithText(HWND parent, const char* className, const std::string& text) {
  for (HWND c = FindWindowExA(parent, nullptr, className, nullptr); c; c = FindWindowExA(parent, c, className, nullptr))
    if (windowText(c) == text) return c;
  return nullptr;
}

class FileOperationsEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    deleteStore();
    pictures.writeBitmap("sea & 100%.bmp", 8, 6, 0x3060C0);
    pictures.writeBitmap("alps, 'high'.bmp", 8, 6, 0x30C060);
    setStoredSetting("PictureDirectory1", pictures.path());
    setStoredSetting("PictureDirectory", "0");
    setStoredSetting("ListViewView1", "3");
    setStoredSetting("WindowPosition", "0 0 15000 9000");
  }
  void TearDown() override { deleteStore(); }

  void start() {
    ASSERT_TRUE(program.started());
    window = waitForWindow("Tapestrel", 20000);
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(waitForCount(2)) << listCount();
    SetForegroundWindow(window);
    Sleep(300);
  }
  HWND list() { return findVisibleChild(window, WC_LISTVIEWA); }
  int listCount() {
    const HWND l = list();
    return l ? ListView_GetItemCount(l) : -1;
  }
  bool waitForCount(int count, DWORD milliseconds = 5000) {
    for (DWORD waited = 0; waited < milliseconds; waited += 50, Sleep(50))
      if (listCount() == count) return true;
    return false;
  }
  std::vector<std::string> shown() {
    std::vector<std::string> names;
    for (int i = 0; i < listCount(); ++i) names.push_back(listItemText(list(), i, 0));
    return names;
  }
  // The folder pane: the list box that shows the picture folder's name.
  HWND pane() {
    const std::string folder = pictures.path().substr(0, pictures.path().size() - 1);
    const std::string name = folder.substr(folder.find_last_of('\\') + 1);
    for (HWND c = FindWindowExA(window, nullptr, "ListBox", nullptr); c; c = FindWindowExA(window, c, "ListBox", nullptr))
      if (mentions(listBoxEntries(c), name)) return c;
    return nullptr;
  }
  bool waitForNames(const std::set<std::string>& names) {
    for (DWORD waited = 0; waited < 5000; waited += 50, Sleep(50)) {
      const std::vector<std::string> now = shown();
      if (std::set<std::string>(now.begin(), now.end()) == names) return true;
    }
    return false;
  }
  // A message box of the program, waited for and answered with Enter.
  void answerBox(const char* text) {
    const HWND box = findMessageBox(text, 5000);
    ASSERT_NE(box, nullptr) << text;
    SetForegroundWindow(box);
    pressKeys({VK_RETURN});
  }
  // The one-time notice before the shell's first use.
  void acceptNotice() {
    answerBox("Tapestrel must initialize the Windows '95 file operation.\nThis only needs to be done once while the program is loaded.");
  }

  TempFolder pictures{"tapestrel-e2e-ops"};
  RunningProgram program;
  HWND window = nullptr;
};

TEST_F(FileOperationsEndToEnd, FilesAndFoldersDroppedByAnotherProgramAreTakenIn) {
  TempFolder sea{"tapestrel-e2e-ops-sea"};
  TempFolder more{"tapestrel-e2e-ops-more"};
  sea.writeBitmap("wave.bmp", 8, 6, 0xC06030);
  const std::string lone = more.writeBitmap("lone, 'one'.bmp", 8, 6, 0x603060);
  TempFolder distant{"tapestrel-e2e-ops-far"};
  distant.writeBitmap("far.bmp", 8, 6, 0x306060);
  const std::vector<std::string> dropped{sea.path() + "wave.bmp", lone, distant.path() + "far.bmp"};
  std::vector<std::string> bytes;
  for (const std::string& path : dropped) bytes.push_back(readFile(path));
  start();

  // A folder and a file on the list: the folder's pictures and the file are listed, and
  // the folder is recorded among the active ones. Each handle lives until its drop has
  // been taken in.
  const DropHandle both(list(), {sea.path(), lone});
  PostMessageA(list(), WM_DROPFILES, both.handle(), 0);
  EXPECT_TRUE(waitForNames({"wave.bmp", "lone, 'one'.bmp"}));
  // Dropped files beside the folder: the program says what it records.
  answerBox("Folders will not be added to the active list \nif files are dropped into the file-selection pane.");
  const std::vector<std::string> active = storedValues("ActiveDirectories");
  EXPECT_EQ(std::set<std::string>(active.begin(), active.end()).count(sea.path()), 1u);

  // One folder on the pane goes there; two are refused with the reason.
  const DropHandle one(pane(), {distant.path()});
  PostMessageA(pane(), WM_DROPFILES, one.handle(), 0);
  EXPECT_TRUE(waitForNames({"far.bmp"}));
  const HWND folders = pane();
  const DropHandle two(folders, {sea.path(), more.path()});
  PostMessageA(folders, WM_DROPFILES, two.handle(), 0);
  answerBox("One folder at a time, please.\nYou can drop multiple folders on the file-selection pane.");
  for (std::size_t i = 0; i < dropped.size(); ++i) EXPECT_EQ(readFile(dropped[i]), bytes[i]) << dropped[i];  // untouched
}

TEST_F(FileOperationsEndToEnd, MoveFromTheListsMenuKeepsTheFileThatWasThere) {
  TempFolder target{"tapestrel-e2e-ops-to"};
  start();
  // A file of the same name as the first item waits in the target folder.
  const std::string first = listItemText(list(), 0, 0), second = listItemText(list(), 1, 0);
  const std::string there = target.write(first, "already there");
  const std::string moving = readFile(pictures.path() + first);
  const std::string renamed = first.substr(0, first.size() - 4) + " (2).bmp";

  // The first item selected from the keyboard, the list's menu opened on it and "Move"
  // chosen (the fifth item).
  SetFocus(list());
  clickOn(list());
  pressKeys({VK_HOME});
  pressKeys({VK_SHIFT, VK_F10});
  Sleep(500);
  for (int i = 0; i < 5; ++i) pressKeys({VK_DOWN});
  pressKeys({VK_RETURN});

  const HWND dialog = waitForWindow("Move file ?", 5000);
  ASSERT_NE(dialog, nullptr);
  const HWND combo = FindWindowExA(dialog, nullptr, "ComboBox", nullptr);
  ASSERT_NE(combo, nullptr);
  clickOn(FindWindowExA(combo, nullptr, "Edit", nullptr));
  pressKeys({VK_END});
  pressKeys({VK_SHIFT, VK_HOME});
  typeText(target.path());
  clickOn(childWithText(dialog, "Button", "&Yes"));
  acceptNotice();

  EXPECT_TRUE(waitForNames({second}));
  EXPECT_FALSE(exists(pictures.path() + first));
  EXPECT_EQ(readFile(there), "already there");
  EXPECT_EQ(readFile(target.path() + renamed), moving);
  DeleteFileA((target.path() + renamed).c_str());
}

TEST_F(FileOperationsEndToEnd, DeleteOnTheFolderPaneSendsTheFolderToTheRecycleBinAfterTheShellAsks) {
  const std::string old = pictures.path() + "Old 100%";
  CreateDirectoryA(old.c_str(), nullptr);
  writeFile(old + "\\kept.bmp", "old picture");
  start();

  // The sub-folder is the pane's last entry.
  const HWND folders = pane();
  ASSERT_NE(folders, nullptr);
  clickOn(folders);
  pressKeys({VK_END});
  Sleep(300);
  pressKeys({VK_DELETE});
  acceptNotice();
  const HWND ask = waitForDialog("Confirm folder deletion", 5000);
  ASSERT_NE(ask, nullptr) << "the shell did not ask";
  SetForegroundWindow(ask);
  pressKeys({VK_RETURN});

  for (int waited = 0; waited < 5000 && exists(old); waited += 50) Sleep(50);
  EXPECT_FALSE(exists(old));
  EXPECT_FALSE(mentions(listBoxEntries(folders), "Old 100%"));
  // The bin holds it, with its file (under a name of its own where one was taken).
  char home[MAX_PATH];
  ASSERT_GT(GetEnvironmentVariableA("XDG_DATA_HOME", home, MAX_PATH), 0u);
  std::string trash = std::string("Z:") + home + "/Trash/";
  for (char& c : trash)
    if (c == '/') c = '\\';
  bool found = false;
  WIN32_FIND_DATAA entry;
  const HANDLE search = FindFirstFileA((trash + "files\\Old 100%*").c_str(), &entry);
  for (BOOL more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &entry)) {
    const std::string binned = trash + "files\\" + entry.cFileName;
    if (readFile(binned + "\\kept.bmp") != "old picture") continue;
    found = true;
    DeleteFileA((binned + "\\kept.bmp").c_str());
    RemoveDirectoryA(binned.c_str());
    DeleteFileA((trash + "info\\" + entry.cFileName + ".trashinfo").c_str());
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  EXPECT_TRUE(found) << trash;
}

}  // namespace
