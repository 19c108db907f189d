#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>

#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {

int Win32Ui::MsgBox(const std::string& prompt, int style, const std::string& title) {
  const ModalScope open(*this);
  return MessageBoxA(GetActiveWindow(), prompt.c_str(), title.c_str(), static_cast<UINT>(style));
}

namespace {

constexpr int kPromptId = 100;
constexpr int kAnswerId = 101;

struct InputRequest {
  const std::string* prompt;
  const std::string* title;
  std::string answer;
};

// A dialog template built in memory: a prompt, an edit box, OK and Cancel.
class DialogTemplate {
 public:
  void Word(WORD w) { bytes_.push_back(w); }
  void Dword(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Align() {
    if (bytes_.size() % 2) Word(0);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD atom) {
    Align();
    Dword(style | WS_CHILD | WS_VISIBLE);
    Dword(0);
    Word(static_cast<WORD>(x)), Word(static_cast<WORD>(y)), Word(static_cast<WORD>(cx)), Word(static_cast<WORD>(cy));
    Word(id);
    Word(0xFFFF), Word(atom);  // a system class by its atom
    Word(0);                   // no text: set when the dialog opens
    Word(0);                   // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  std::vector<WORD> bytes_;
};

INT_PTR CALLBACK inputProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* request = reinterpret_cast<InputRequest*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      request = reinterpret_cast<InputRequest*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      SetWindowTextA(dialog, request->title->c_str());
      SetDlgItemTextA(dialog, kPromptId, request->prompt->c_str());
      SetDlgItemTextA(dialog, IDOK, "OK");
      SetDlgItemTextA(dialog, IDCANCEL, "Cancel");
      SetDlgItemTextA(dialog, kAnswerId, request->answer.c_str());
      SendDlgItemMessageA(dialog, kAnswerId, EM_SETSEL, 0, -1);
      SetFocus(GetDlgItem(dialog, kAnswerId));
      return FALSE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK) {
        char text[1024] = {};
        GetDlgItemTextA(dialog, kAnswerId, text, sizeof text);
        request->answer = text;
        EndDialog(dialog, IDOK);
        return TRUE;
      }
      if (LOWORD(wParam) == IDCANCEL) {
        request->answer.clear();
        EndDialog(dialog, IDCANCEL);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

std::string Win32Ui::InputBox(const std::string& prompt, const std::string& title, const std::string& initial) {
  DialogTemplate t;
  t.Dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
  t.Dword(0);
  t.Word(4);  // items
  t.Word(0), t.Word(0), t.Word(260), t.Word(110);
  t.Word(0), t.Word(0), t.Word(0);  // no menu, standard class, no title
  t.Word(8);
  for (const char* c = "MS Shell Dlg"; *c; ++c) t.Word(static_cast<WORD>(*c));
  t.Word(0);
  t.Item(SS_LEFT, 7, 7, 190, 70, kPromptId, 0x0082);
  t.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 203, 7, 50, 14, IDOK, 0x0080);
  t.Item(BS_PUSHBUTTON | WS_TABSTOP, 203, 25, 50, 14, IDCANCEL, 0x0080);
  t.Item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 88, 246, 14, kAnswerId, 0x0081);
  InputRequest request{&prompt, &title, initial};
  const ModalScope open(*this);
  DialogBoxIndirectParamA(GetModuleHandleA(nullptr), t.Get(), GetActiveWindow(), inputProc,
                          reinterpret_cast<LPARAM>(&request));
  return request.answer;
}

std::string Win32Ui::BrowseForFolder(const std::string& title) {
  BROWSEINFOA info{};
  info.hwndOwner = GetActiveWindow();
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  LPITEMIDLIST chosen = nullptr;
  {
    const ModalScope open(*this);
    chosen = SHBrowseForFolderA(&info);
  }
  if (!chosen) return {};
  char path[MAX_PATH + 1] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path) != 0;
  CoTaskMemFree(chosen);
  return ok ? TrimAtNull(std::string(path, sizeof path)) : std::string();
}

std::string Win32Ui::OpenFileName(const OpenFileRequest& request) {
  // Filters go as pairs of texts, each ended by a zero, with one more zero after the last.
  std::string filters;
  for (const auto& [description, pattern] : request.filters) filters += description + '\0' + pattern + '\0';
  filters += '\0';
  char file[MAX_PATH + 1] = {};
  request.initialFile.copy(file, std::min<std::size_t>(request.initialFile.size(), MAX_PATH));
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = GetActiveWindow();
  dialog.lpstrFilter = filters.c_str();
  dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = request.initialFolder.empty() ? nullptr : request.initialFolder.c_str();
  dialog.lpstrTitle = request.title.c_str();
  dialog.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
  dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
  const ModalScope open(*this);
  if (!GetOpenFileNameA(&dialog)) return {};
  return TrimAtNull(std::string(file, sizeof file));
}

void Win32Ui::DoEvents() {
  // A fill calls this for every file; a pass over the queue costs far more than listing a
  // file, so within a burst the queue is looked at every 10 ms, a hundred times a second,
  // which keeps the window painted and responsive. A call after a pause always passes.
  const DWORD now = GetTickCount();
  if (lastPass_ != 0 && now - lastPass_ < 10) return;
  lastPass_ = now;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // leave it for the main loop
      return;
    }
    if (WorkMessageFilter && WorkMessageFilter(&msg)) continue;
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

bool Win32Desktop::KeyPressed(int virtualKey) {
  // Loops ask about Esc once per item; within 10 ms of finding the key up the answer
  // stands. Nothing is missed: the key state remembers a press made since it was asked.
  const DWORD now = GetTickCount();
  if (virtualKey == lastKey_ && now - lastAsked_ < 10) return false;
  const bool pressed = (GetAsyncKeyState(virtualKey) & 0x8001) != 0;
  lastKey_ = pressed ? -1 : virtualKey;
  lastAsked_ = now;
  return pressed;
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

std::string Win32Desktop::CurrentWallpaper() {
  char buffer[MAX_PATH * 2] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, sizeof buffer - 1, buffer, 0)) return {};
  return buffer;
}

std::optional<Bitmap> Win32Desktop::DrawMetafile(const std::string& bytes) {
  // The placeable header (22 bytes) gives the picture's frame and units to the inch.
  if (bytes.size() <= 22) return std::nullopt;
  const auto* b = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const auto word = [b](int at) { return static_cast<std::int16_t>(b[at] | b[at + 1] << 8); };
  if ((b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24) != 0x9AC6CDD7u) return std::nullopt;
  const int unitsPerInch = static_cast<std::uint16_t>(word(14));
  if (unitsPerInch == 0) return std::nullopt;
  const HDC screen = GetDC(nullptr);
  const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  const int width = MulDiv(word(10) - word(6), dpiX, unitsPerInch);
  const int height = MulDiv(word(12) - word(8), dpiY, unitsPerInch);
  if (width <= 0 || height <= 0 || static_cast<std::uint64_t>(width) * height > kMaxPicturePixels) return std::nullopt;

  METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(width, 2540, dpiX), MulDiv(height, 2540, dpiY), nullptr};
  const HENHMETAFILE metafile = SetWinMetaFileBits(static_cast<UINT>(bytes.size() - 22), b + 22, nullptr, &picture);
  if (!metafile) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const HDC dc = CreateCompatibleDC(nullptr);
  const HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  std::optional<Bitmap> result;
  if (target && bits) {
    const HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PlayEnhMetaFile(dc, metafile, &all);
    GdiFlush();
    Bitmap drawn(width, height);
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < drawn.pixels.size(); ++i) drawn.pixels[i] = pixels[i] & 0xFFFFFF;
    result = std::move(drawn);
    SelectObject(dc, old);
  }
  if (target) DeleteObject(target);
  DeleteDC(dc);
  DeleteEnhMetaFile(metafile);
  return result;
}

int Win32Desktop::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

std::optional<std::string> Win32Desktop::NonClientFontName() {
  // The structure as the first systems that had it laid it out (340 bytes in the ANSI
  // form): every system since takes that size.
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof metrics.lfMessageFont;
  if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return std::nullopt;
  return std::string(metrics.lfCaptionFont.lfFaceName);
}

std::pair<long, long> Win32Desktop::TextSize(const std::string& text, const std::string& face, int points) {
  const HDC screen = GetDC(nullptr);
  const int height = -MulDiv(points, GetDeviceCaps(screen, LOGPIXELSY), 72);
  const HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
  const HGDIOBJ old = SelectObject(screen, font);
  RECT r{0, 0, 0, 0};
  DrawTextA(screen, text.c_str(), static_cast<int>(text.size()), &r, DT_CALCRECT | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(screen, old);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  const int tpp = TwipsPerPixel();
  return {static_cast<long>(r.right - r.left) * tpp, static_cast<long>(r.bottom - r.top) * tpp};
}

bool Win32Desktop::KeyDown(int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

std::pair<long, long> Win32Desktop::CursorPosition() {
  POINT at{};
  GetCursorPos(&at);
  return {at.x, at.y};
}

void* Win32Desktop::ForegroundWindow() { return GetForegroundWindow(); }

bool Win32Desktop::ForegroundIsOwn() {
  // By the window's process: the instance handle of another program's window is most
  // often the same number as this program's (both loaded at the usual base).
  const HWND front = GetForegroundWindow();
  DWORD process = 0;
  if (front) GetWindowThreadProcessId(front, &process);
  return front && process == GetCurrentProcessId();
}

std::string Win32Desktop::WindowClassAt(long x, long y) {
  const HWND under = WindowFromPoint(POINT{x, y});
  char name[64] = {};
  if (under) GetClassNameA(under, name, sizeof name);
  return name;
}

bool Win32Desktop::TitledWindowVisible(const std::string& title) {
  const HWND window = FindWindowA(nullptr, title.c_str());
  return window && IsWindowVisible(window);
}

std::pair<long, long> Win32Desktop::ClientPoint(void* window, long x, long y) {
  POINT at{x, y};
  ScreenToClient(static_cast<HWND>(window), &at);
  const long tpp = TwipsPerPixel();
  return {at.x * tpp, at.y * tpp};
}

bool Win32Desktop::SetScreenSaveActive(bool active) {
  return SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, active ? 1 : 0, nullptr, SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != FALSE;
}

void Win32Desktop::PostSystemCommand(void* window, unsigned command) {
  PostMessageA(static_cast<HWND>(window), WM_SYSCOMMAND, command, 0);
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

Processes::RunResult Win32Processes::RunAndWait(const std::string& commandLine, bool showNormal, unsigned sliceMs,
                                                const std::function<bool()>& keepWaiting) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;  // 68 bytes in the 32-bit program
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = showNormal ? SW_SHOWNORMAL : SW_SHOWMINNOACTIVE;
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  // The program and whatever it starts (a batch's converters) run in a job of their own,
  // so that stopping it stops all of them; started held, so nothing runs outside the job.
  const HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr,
                      nullptr, &startup, &process)) {
    if (job) CloseHandle(job);
    return RunResult::NotStarted;
  }
  // Where the program runs in a job that allows none inside it, the process alone is stopped.
  const bool inJob = job && AssignProcessToJobObject(job, process.hProcess);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  RunResult result = RunResult::Ended;
  while (WaitForSingleObject(process.hProcess, sliceMs) == WAIT_TIMEOUT) {
    if (keepWaiting()) continue;
    if (inJob) TerminateJobObject(job, 1);
    else TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    result = RunResult::Stopped;
    break;
  }
  CloseHandle(process.hProcess);
  if (job) CloseHandle(job);
  return result;
}

std::optional<RuntimeError> Win32Processes::Start(const std::string& commandLine, int showCommand) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION process{};
  std::string line = commandLine;  // CreateProcessA may write into it
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                      &process)) {
    switch (GetLastError()) {
      case ERROR_FILE_NOT_FOUND: return runtime_error::FileNotFound();
      case ERROR_PATH_NOT_FOUND: return runtime_error::PathNotFound();
      case ERROR_ACCESS_DENIED: return RuntimeError{70, "Permission denied"};
      default: return RuntimeError{5, "Invalid procedure call or argument"};
    }
  }
  // Not waited for: the handles are let go at once, the program runs on by itself.
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return std::nullopt;
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
