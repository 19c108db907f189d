#include <windows.h>

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

bool Win32FileSystem::FileExists(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  WIN32_FIND_DATAA found;
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool Win32FileSystem::FolderExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::RemoveFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

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
