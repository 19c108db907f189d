#include "platform/memory/memory_file_system.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace tapestrel {

namespace fs = std::filesystem;

MemoryFileSystem::MemoryFileSystem(fs::path root) : root_(std::move(root)) {
  fs::create_directories(HostPath(kSystem));
  fs::create_directories(HostPath(kProgram));
}

fs::path MemoryFileSystem::HostPath(const std::string& windowsPath) const {
  std::string path = windowsPath;
  const bool absolute = path.size() >= 2 && path[1] == ':';
  if (!absolute) path = std::string(kProgram) + "\\" + path;
  fs::path host = root_ / std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  std::string part;
  for (std::size_t i = 2; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      if (!part.empty()) host /= part;
      part.clear();
    } else {
      part += path[i];
    }
  }
  return host;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  std::error_code ec;
  return fs::is_regular_file(HostPath(path), ec);
}

bool MemoryFileSystem::FolderExists(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  return fs::is_directory(HostPath(path), ec);
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  if (!FileExists(path)) return false;
  std::error_code ec;
  return fs::remove(HostPath(path), ec);
}

std::uint64_t MemoryFileSystem::FreeDiskSpace(const std::string& path) {
  std::error_code ec;
  const auto space = fs::space(root_, ec);
  (void)path;
  return ec ? 0 : space.available;
}

std::vector<std::string> MemoryFileSystem::Drives() {
  std::vector<std::string> drives;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root_, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == 1 && entry.is_directory()) drives.push_back(std::string(1, static_cast<char>(std::tolower(name[0]))) + ":");
  }
  std::sort(drives.begin(), drives.end());
  return drives;
}

std::vector<std::string> MemoryFileSystem::SubFolders(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(HostPath(folder), ec))
    if (entry.is_directory()) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  });
  return names;
}

void MemoryFileSystem::WriteFile(const std::string& windowsPath, const std::string& bytes) {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << bytes;
}

}  // namespace tapestrel
