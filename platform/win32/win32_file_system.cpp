#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/text.h"
#include "platform/win32/win32_services.h"

namespace tapestrel {

namespace {

std::string modulePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string Win32ProfileFiles::ReadProfileValue(const std::string& file, const std::string& section,
                                                 const std::string& key, const std::string& fallback) {
  std::vector<char> buffer(1024);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), file.c_str());
    if (n + 1 < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 4);
  }
}

bool Win32ProfileFiles::WriteProfileValue(const std::string& file, const std::string& section,
                                           const std::string& key, const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

namespace {
// The attributes of a path of any length: the ANSI calls refuse more than 260
// characters, so a long full path goes to the wide call in its "\\?\" form.
DWORD attributesOf(const std::string& path) {
  if (path.size() < MAX_PATH || !IsFullPath(path)) return GetFileAttributesA(path.c_str());
  std::string local = path;
  std::replace(local.begin(), local.end(), '/', '\\');
  const int length = MultiByteToWideChar(CP_ACP, 0, local.c_str(), -1, nullptr, 0);
  if (length <= 0) return INVALID_FILE_ATTRIBUTES;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, local.c_str(), -1, wide.data(), length);
  wide.pop_back();
  const std::wstring prefixed = local.rfind("\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + wide.substr(2) : L"\\\\?\\" + wide;
  return GetFileAttributesW(prefixed.c_str());
}
}  // namespace

bool Win32FileSystem::FileExists(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  const DWORD attributes = attributesOf(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32FileSystem::RenameFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

namespace {

class Win32InputFile : public InputFile {
 public:
  explicit Win32InputFile(HANDLE file) : file_(file) {}
  ~Win32InputFile() override { CloseHandle(file_); }
  std::size_t Read(void* into, std::size_t count) override {
    DWORD got = 0;
    if (!ReadFile(file_, into, static_cast<DWORD>(count), &got, nullptr)) return 0;
    return got;
  }
  bool Seek(std::uint64_t position) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
  }
  std::uint64_t Position() const override {
    LARGE_INTEGER zero{};
    LARGE_INTEGER at{};
    SetFilePointerEx(file_, zero, &at, FILE_CURRENT);
    return static_cast<std::uint64_t>(at.QuadPart);
  }
  std::uint64_t Size() const override {
    LARGE_INTEGER size{};
    GetFileSizeEx(file_, &size);
    return static_cast<std::uint64_t>(size.QuadPart);
  }

 private:
  HANDLE file_;
};

bool writeAll(HANDLE file, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD wrote = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 24));
    if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return FlushFileBuffers(file) != 0;
}

}  // namespace

namespace {

bool isDotEntry(const char* name) { return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)); }

// Dates of a search are shown in local time. The system converts with the time zone's
// present bias, so one bias serves the whole search.
class LocalTimes {
 public:
  LocalTimes() {
    FILETIME now, local;
    GetSystemTimeAsFileTime(&now);
    FileTimeToLocalFileTime(&now, &local);
    bias_ = ticks(local) - ticks(now);
  }
  DateTime Of(const FILETIME& utc) const {
    const ULONGLONG t = ticks(utc) + static_cast<ULONGLONG>(bias_);
    FILETIME local{static_cast<DWORD>(t), static_cast<DWORD>(t >> 32)};
    SYSTEMTIME s;
    if (!FileTimeToSystemTime(&local, &s)) return {};
    return {s.wYear, s.wMonth, s.wDay, s.wHour, s.wMinute, s.wSecond};
  }

 private:
  static ULONGLONG ticks(const FILETIME& f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; }
  LONGLONG bias_ = 0;
};

}  // namespace

void Win32FileSystem::FindFiles(const std::string& pattern, std::vector<FoundFile>& found,
                                std::vector<std::string>* subFolders) {
  found.clear();
  // A search that also answers the sub-folders lists the whole folder and matches the
  // names itself, the long name or the short one, as the system's own search does.
  const std::string folder = DirectoryPart(pattern);
  const std::string_view names = std::string_view(pattern).substr(folder.size());
  if (subFolders) subFolders->clear();
  WIN32_FIND_DATAA data;
  const HANDLE search = FindFirstFileA(subFolders ? (folder + "*").c_str() : pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  const LocalTimes times;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (subFolders && !isDotEntry(data.cFileName)) subFolders->emplace_back(data.cFileName);
      continue;
    }
    if (subFolders && !MatchesFilePattern(data.cFileName, names) &&
        !(data.cAlternateFileName[0] && MatchesFilePattern(data.cAlternateFileName, names)))
      continue;
    FoundFile& file = found.emplace_back();
    file.name = data.cFileName;
    file.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    file.modified = times.Of(data.ftLastWriteTime);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  if (subFolders) SortFolderNames(*subFolders);
}

std::uint64_t Win32FileSystem::FileLength(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::unique_ptr<InputFile> Win32FileSystem::OpenRead(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32InputFile>(file);
}

namespace {

// Moves `from` over `to`. Another program reading `to` (the desktop loading the wallpaper, a
// virus scanner, a viewer) holds it for a moment without letting it be replaced: the move
// is tried again for up to a second before it counts as failed.
bool replaceWhenFree(const char* from, const std::string& to) {
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExA(from, to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    const bool held = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
    if (!held || attempt == 20) return false;
    Sleep(50);
  }
}

}  // namespace

bool Win32FileSystem::WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const std::string folder = DirectoryPart(path);
  char temporary[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "Wal", 0, temporary)) return false;
  const HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool written = file != INVALID_HANDLE_VALUE && writeAll(file, bytes);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  written = written && replaceWhenFree(temporary, path);
  if (!written) DeleteFileA(temporary);
  return written;
}

std::uint64_t Win32FileSystem::FreeDiskSpace(const std::string& path) {
  ULARGE_INTEGER available{};
  const std::string root = path.size() >= 3 && path[1] == ':' ? path.substr(0, 3) : path;
  if (!GetDiskFreeSpaceExA(root.c_str(), &available, nullptr, nullptr)) return 0;
  return available.QuadPart;
}

std::vector<std::string> Win32FileSystem::Drives() {
  std::vector<std::string> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i)
    if (mask & (1u << i)) drives.push_back(std::string(1, static_cast<char>('a' + i)) + ":");
  return drives;
}

std::string Win32FileSystem::DriveCurrentFolder(const std::string& drive) {
  // "c:" alone names the drive's current folder.
  char full[MAX_PATH + 1] = {};
  const DWORD n = GetFullPathNameA(drive.substr(0, 2).c_str(), sizeof full, full, nullptr);
  return n > 0 && n < sizeof full ? NormalizeFolder(full) : ToUpper(drive.substr(0, 2)) + "\\";
}

std::vector<std::string> Win32FileSystem::SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA((NormalizeFolder(folder) + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !isDotEntry(found.cFileName)) names.emplace_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  SortFolderNames(names);
  return names;
}

bool Win32FileSystem::IsLink(const std::string& folder) {
  std::string path = NormalizeFolder(folder);
  if (path.size() > 3) path.pop_back();
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string Win32FileSystem::WindowsDirectory() {
  char buffer[MAX_PATH + 1] = {};
  GetWindowsDirectoryA(buffer, sizeof buffer);
  return TrimAtNull(std::string(buffer, sizeof buffer));
}

std::string Win32FileSystem::SystemDirectory() {
  char buffer[MAX_PATH + 1] = {};
  GetSystemDirectoryA(buffer, sizeof buffer);
  return TrimAtNull(std::string(buffer, sizeof buffer));
}

std::string Win32FileSystem::ShortPathName(const std::string& path) {
  char buffer[MAX_PATH];
  DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  if (length == 0) return {};
  if (length < MAX_PATH) return std::string(buffer, length);
  // Longer than the usual buffer: asked again with room enough, never cut off.
  std::string longer(length, '\0');
  length = GetShortPathNameA(path.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
  if (length == 0 || length >= longer.size()) return {};
  longer.resize(length);
  return longer;
}

bool Win32FileSystem::SetCurrentFolder(const std::string& folder) { return SetCurrentDirectoryA(folder.c_str()) != 0; }

std::string Win32FileSystem::ProgramFolder() {
  std::string folder = DirectoryPart(modulePath());
  if (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  return folder;
}

std::string Win32FileSystem::ProgramName() {
  const std::string path = modulePath();
  std::string name = path.substr(DirectoryPart(path).size());
  const auto dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

}  // namespace tapestrel
