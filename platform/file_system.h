// Files and folders by their Windows paths.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"

namespace tapestrel {

// One entry a directory search found.
struct FoundFile {
  std::string name;
  bool folder = false;
  std::uint64_t size = 0;
  DateTime modified;
};

// A file open for reading bytes; closed when the object goes.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `count` bytes into `into`; answers how many were read (0 at the end).
  virtual std::size_t Read(void* into, std::size_t count) = 0;
  virtual bool Seek(std::uint64_t position) = 0;
  virtual std::uint64_t Position() const = 0;
  virtual std::uint64_t Size() const = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // A directory search for exactly this name finds a normal file (not a folder).
  // Names with wildcards never count as existing files.
  virtual bool FileExists(const std::string& path) = 0;
  virtual bool FolderExists(const std::string& path) = 0;
  // Renames or moves a file; false when it could not (an existing target is kept).
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Deletes a file for good; false when it could not be deleted.
  virtual bool RemoveFile(const std::string& path) = 0;
  // The normal files (not folders) a directory search for `pattern` finds, such as
  // "C:\Pictures\*.jp?": '*' and '?' in the name part, letter case ignored, as Windows
  // searches do. In the order the system lists them. They replace what `found` held; its
  // room is kept, so that a fill searching folder after folder reuses it. When
  // `subFolders` is given, the same listing of the folder also answers its sub-folders
  // there (as SubFolders does), so that a folder and its files cost one listing.
  virtual void FindFiles(const std::string& pattern, std::vector<FoundFile>& found,
                         std::vector<std::string>* subFolders = nullptr) = 0;
  std::vector<FoundFile> FindFiles(const std::string& pattern) {
    std::vector<FoundFile> found;
    FindFiles(pattern, found);
    return found;
  }
  virtual std::uint64_t FileLength(const std::string& path) = 0;
  // Opens a file for reading; none when it cannot be opened.
  virtual std::unique_ptr<InputFile> OpenRead(const std::string& path) = 0;
  // Replaces (or creates) a file with these bytes: they go to a temporary file in the
  // same folder first, which is then renamed over the old one, so that no reader ever
  // sees half a file. False when it could not be written; the old file is then kept.
  virtual bool WriteFileAtomically(const std::string& path, const std::string& bytes) = 0;

  // Free bytes for the caller on the drive of `path`; 0 when unknown.
  virtual std::uint64_t FreeDiskSpace(const std::string& path) = 0;
  // The drives present, as "c:" and so on, and the sub-folders of a folder (names only,
  // sorted without regard to case).
  virtual std::vector<std::string> Drives() = 0;
  // Where a change to a drive ("c:") lands: the drive's current folder, its root when
  // it has none.
  virtual std::string DriveCurrentFolder(const std::string& drive) = 0;
  virtual std::vector<std::string> SubFolders(const std::string& folder) = 0;
  // A folder that is a junction, a symbolic link or another reparse point: it leads
  // somewhere else, possibly back up its own tree.
  virtual bool IsLink(const std::string& folder) = 0;

  // The Windows and system folders as the system reports them (no trailing backslash
  // is promised; callers normalise).
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  // The folder of the running program, without a trailing backslash (unless it is a
  // drive root), and the program's file name without ".exe".
  virtual std::string ProgramFolder() = 0;
  virtual std::string ProgramName() = 0;

  // The short (8.3) form of an existing path as the system gives it; the path itself
  // where the volume keeps no short names; empty text when there is no such path.
  virtual std::string ShortPathName(const std::string& path) = 0;
  // Makes a folder the current drive and folder of the program (and of what it starts).
  virtual bool SetCurrentFolder(const std::string& folder) = 0;
};

// Puts folder names in the order SubFolders answers them: without regard to case.
void SortFolderNames(std::vector<std::string>& names);

}  // namespace tapestrel
