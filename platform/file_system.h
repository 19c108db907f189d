// Files and folders by their Windows paths.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tapestrel {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A directory search for exactly this name finds a normal file (not a folder).
  // Names with wildcards never count as existing files.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Deletes a file for good; false when it could not be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;

  // Free bytes for the caller on the drive of `path`; 0 when unknown.
  virtual std::uint64_t FreeDiskSpace(const std::string& path) = 0;
  // The drives present, as "c:" and so on, and the sub-folders of a folder (names only,
  // sorted without regard to case).
  virtual std::vector<std::string> Drives() = 0;
  virtual std::vector<std::string> SubFolders(const std::string& folder) = 0;

  // The Windows and system folders as the system reports them (no trailing backslash
  // is promised; callers normalise).
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // The folder of the running program, without a trailing backslash (unless it is a
  // drive root), and the program's file name without ".exe".
  virtual std::string ProgramFolder() = 0;
  virtual std::string ProgramName() = 0;
};

}  // namespace tapestrel
