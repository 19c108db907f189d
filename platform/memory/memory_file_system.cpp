#include "platform/memory/memory_file_system.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#endif

namespace tapestrel {

namespace fs = std::filesystem;

MemoryFileSystem::MemoryFileSystem(fs::path root) : root_(std::move(root)) {
  fs::create_directories(HostPath(kSystem));
  fs::create_directories(HostPath(kProgram));
}

MemoryFileSystem::~MemoryFileSystem() { ForgetSearchedFolder(); }

void MemoryFileSystem::ForgetSearchedFolder() {
#ifndef _WIN32
  if (searchedFolderFd_ >= 0) ::close(searchedFolderFd_);
#endif
  searchedFolderFd_ = -1;
  searchedFolder_.clear();
}

std::vector<std::string> MemoryFileSystem::PathParts(const std::string& windowsPath, char& drive) {
  std::string path = windowsPath;
  const bool absolute = path.size() >= 2 && path[1] == ':';
  if (!absolute) path = std::string(kProgram) + "\\" + path;
  drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 2; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\' || path[i] == '/') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += path[i];
    }
  }
  return parts;
}

fs::path MemoryFileSystem::ExactHostPath(const std::string& windowsPath) const { return ExactHostText(windowsPath); }

std::string MemoryFileSystem::ExactHostText(const std::string& windowsPath) const {
  const bool absolute = windowsPath.size() >= 2 && windowsPath[1] == ':';
  if (!absolute) return ExactHostText(std::string(kProgram) + "\\" + windowsPath);
  std::string host = root_.string();
  host += fs::path::preferred_separator;
  host += static_cast<char>(std::toupper(static_cast<unsigned char>(windowsPath[0])));
  bool separatorPending = true;
  for (std::size_t i = 2; i < windowsPath.size(); ++i) {
    const char c = windowsPath[i];
    if (c == '\\' || c == '/') {
      separatorPending = true;
      continue;
    }
    if (separatorPending) host += fs::path::preferred_separator;
    separatorPending = false;
    host += c;
  }
  return host;
}

fs::path MemoryFileSystem::HostPath(const std::string& windowsPath) const {
  const fs::path exact = ExactHostPath(windowsPath);
  std::error_code ec;
  if (fs::exists(exact, ec)) return exact;  // the usual case: the path as written
  char drive = 'C';
  const auto parts = PathParts(windowsPath, drive);
  fs::path host = root_ / std::string(1, drive);
  for (const std::string& p : parts) host /= MatchCase(host, p);
  return host;
}

std::string MemoryFileSystem::MatchCase(const fs::path& folder, const std::string& name) {
  // Windows names ignore letter case: take the name on disk that matches, if any.
  std::error_code ec;
  if (fs::exists(folder / name, ec)) return name;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string found = entry.path().filename().string();
    if (found.size() == name.size() &&
        std::equal(found.begin(), found.end(), name.begin(), [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b)); }))
      return found;
  }
  return name;
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

bool MemoryFileSystem::RenameFile(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!FileExists(from) || fs::exists(HostPath(to), ec)) return false;
  fs::rename(HostPath(from), HostPath(to), ec);
  return !ec;
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
  SortFolderNames(names);
  return names;
}

std::string MemoryFileSystem::DriveCurrentFolder(const std::string& drive) {
  const auto known = driveFolders.find(ToLower(drive.substr(0, 2)));
  return known != driveFolders.end() ? known->second : ToUpper(drive.substr(0, 2)) + "\\";
}

bool MemoryFileSystem::IsLink(const std::string& folder) {
  std::string path = NormalizeFolder(folder);
  path.pop_back();  // the link itself, not where it leads
  std::error_code ec;
  return fs::is_symlink(HostPath(path), ec);
}

namespace {

class HostInputFile : public InputFile {
 public:
#ifndef _WIN32
  // Takes over a descriptor (negative when the open failed); the size is asked of the
  // system only when someone wants it.
  HostInputFile(int fd, std::shared_ptr<int> counter) : fd_(fd), counter_(std::move(counter)) { ++*counter_; }
#else
  HostInputFile(const std::string& path, std::shared_ptr<int> counter) : counter_(std::move(counter)) {
    in_.open(path, std::ios::binary | std::ios::ate);
    if (in_) {
      size_ = static_cast<std::uint64_t>(in_.tellg());
      in_.seekg(0);
    }
    ++*counter_;
  }
#endif
  ~HostInputFile() override {
#ifndef _WIN32
    if (fd_ >= 0) ::close(fd_);
#endif
    --*counter_;
  }
#ifndef _WIN32
  bool ok() const { return fd_ >= 0; }
  std::size_t Read(void* into, std::size_t count) override {
    const ssize_t got = ::read(fd_, into, count);
    if (got <= 0) return 0;
    position_ += static_cast<std::uint64_t>(got);
    return static_cast<std::size_t>(got);
  }
  bool Seek(std::uint64_t position) override {
    position_ = position;
    return ::lseek(fd_, static_cast<off_t>(position), SEEK_SET) >= 0;
  }
#else
  bool ok() const { return static_cast<bool>(in_); }
  std::size_t Read(void* into, std::size_t count) override {
    in_.read(static_cast<char*>(into), static_cast<std::streamsize>(count));
    const auto got = static_cast<std::size_t>(in_.gcount());
    position_ += got;
    if (!in_) in_.clear();
    return got;
  }
  bool Seek(std::uint64_t position) override {
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(position));
    position_ = position;
    return static_cast<bool>(in_);
  }
#endif
  std::uint64_t Position() const override { return position_; }
#ifndef _WIN32
  std::uint64_t Size() const override {
    struct stat info;
    return fstat(fd_, &info) == 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
  }
#else
  std::uint64_t Size() const override { return size_; }
#endif

 private:
#ifndef _WIN32
  int fd_ = -1;
#else
  std::ifstream in_;
  std::uint64_t size_ = 0;
#endif
  std::shared_ptr<int> counter_;
  std::uint64_t position_ = 0;
};

}  // namespace

namespace {

// Seconds since 1970 (already in local time) as a calendar date and time.
DateTime calendarTime(std::int64_t seconds) {
  std::int64_t days = seconds / 86400;
  std::int64_t rest = seconds % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  // Days to civil date (proleptic Gregorian calendar).
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t dayOfEra = days - era * 146097;
  const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t mp = (5 * dayOfYear + 2) / 153;
  const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
  return {year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60)};
}

// The local time's distance from UTC now, in seconds.
std::int64_t localOffset() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
#ifdef _WIN32
  localtime_s(&local, &now);
  gmtime_s(&utc, &now);
#else
  localtime_r(&now, &local);
  gmtime_r(&now, &utc);
#endif
  utc.tm_isdst = local.tm_isdst;
  return static_cast<std::int64_t>(std::difftime(std::mktime(&local), std::mktime(&utc)));
}

}  // namespace

void MemoryFileSystem::FindFiles(const std::string& pattern, std::vector<FoundFile>& found,
                                 std::vector<std::string>* subFolders) {
  found.clear();
  const std::string folder = DirectoryPart(pattern);
  if (subFolders) *subFolders = MemoryFileSystem::SubFolders(folder.empty() ? "." : folder);
  const std::string namePattern = pattern.substr(folder.size());
  const std::int64_t offset = localOffset();
  const fs::path where = HostPath(folder.empty() ? "." : folder);
#ifndef _WIN32
  // One stat a file, relative to the open folder: the search is as cheap as the disk allows.
  ForgetSearchedFolder();
  DIR* dir = opendir(where.c_str());
  if (!dir) return;
  const int dirFd = dirfd(dir);
  searchedFolderFd_ = ::fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
  found.reserve(256);
  if (searchedFolderFd_ >= 0) searchedFolder_ = ExactHostText(folder) + '/';
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_type != DT_REG && entry->d_type != DT_UNKNOWN) continue;
    if (!MatchesFilePattern(entry->d_name, namePattern)) continue;
    struct stat info;
    if (fstatat(dirFd, entry->d_name, &info, 0) != 0 || !S_ISREG(info.st_mode)) continue;
    FoundFile& file = found.emplace_back();
    file.name = entry->d_name;
    file.size = static_cast<std::uint64_t>(info.st_size);
    file.modified = calendarTime(info.st_mtime + offset);
  }
  closedir(dir);
#else
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(where, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::string name = entry.path().filename().string();
    if (!MatchesFilePattern(name, namePattern)) continue;
    const auto since = std::chrono::time_point_cast<std::chrono::seconds>(
        std::chrono::file_clock::to_sys(entry.last_write_time(ec)));
    found.push_back({std::move(name), false, entry.file_size(ec), calendarTime(since.time_since_epoch().count() + offset)});
  }
#endif
}

std::uint64_t MemoryFileSystem::FileLength(const std::string& path) {
  std::error_code ec;
  const auto size = fs::file_size(HostPath(path), ec);
  return ec ? 0 : size;
}

std::unique_ptr<InputFile> MemoryFileSystem::OpenRead(const std::string& path) {
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return nullptr;
  // The path as written first; only when that fails is its letter case looked into.
#ifndef _WIN32
  const std::string exact = ExactHostText(path);
  int fd = -1;
  if (searchedFolderFd_ >= 0 && exact.size() > searchedFolder_.size() && exact.compare(0, searchedFolder_.size(), searchedFolder_) == 0 &&
      exact.find('/', searchedFolder_.size()) == std::string::npos)
    fd = ::openat(searchedFolderFd_, exact.c_str() + searchedFolder_.size(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fd = ::open(exact.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) fd = ::open(HostPath(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return nullptr;
  return std::make_unique<HostInputFile>(fd, openFiles_);
#else
  auto file = std::make_unique<HostInputFile>(ExactHostText(path), openFiles_);
  if (file->ok()) return file;
  file = std::make_unique<HostInputFile>(HostPath(path).string(), openFiles_);
  if (!file->ok()) return nullptr;
  return file;
#endif
}

bool MemoryFileSystem::WriteFileAtomically(const std::string& path, const std::string& bytes) {
  const fs::path target = HostPath(path);
  std::error_code ec;
  if (!fs::is_directory(target.parent_path(), ec)) return false;
  const fs::path temporary = target.parent_path() / ("~tps" + target.filename().string() + ".tmp");
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) {
      fs::remove(temporary, ec);
      return false;
    }
  }
  fs::rename(temporary, target, ec);
  if (!ec) return true;
  fs::remove(temporary, ec);
  return false;
}

std::string MemoryFileSystem::ReadFile(const std::string& windowsPath) const {
  std::ifstream in(HostPath(windowsPath), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void MemoryFileSystem::WriteFile(const std::string& windowsPath, const std::string& bytes) {
  const fs::path host = HostPath(windowsPath);
  fs::create_directories(host.parent_path());
  std::ofstream(host, std::ios::binary) << bytes;
}

}  // namespace tapestrel

namespace tapestrel {

std::string MemoryFileSystem::ShortPathName(const std::string& path) {
  if (!FileExists(path) && !FolderExists(path)) return {};
  std::string result;
  std::string longSoFar;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string part = path.substr(start, end - start);
    longSoFar += (start ? "\\" : "") + part;
    std::string shortPart = part;
    for (const auto& [longPath, shortName] : shortNames)
      if (EqualsIgnoreCase(longPath, longSoFar)) shortPart = shortName;
    result += (start ? "\\" : "") + shortPart;
    if (end == path.size()) break;
    start = end + 1;
  }
  return result;
}

std::string MemoryFileSystem::LongPathName(const std::string& path) const {
  std::string result = path;
  for (const auto& [longPath, shortName] : shortNames) {
    // A folder's long path sorts before those of its files, so it is put back first.
    const std::string folder = DirectoryPart(longPath);
    const std::string shortPath = folder + shortName;
    if (EqualsIgnoreCase(result.substr(0, shortPath.size()), shortPath) &&
        (result.size() == shortPath.size() || result[shortPath.size()] == '\\'))
      result = longPath + result.substr(shortPath.size());
  }
  return result;
}

bool MemoryFileSystem::SetCurrentFolder(const std::string& folder) {
  if (!FolderExists(folder)) return false;
  currentFolder = folder;
  return true;
}

}  // namespace tapestrel
