// Windows paths over a real folder on disk: "C:\Windows\x.bmp" is the file
// <root>/C/Windows/x.bmp, found whatever the letter case of the path. Tests put real
// files there and look at what the program wrote.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tapestrel {

class MemoryFileSystem : public FileSystem {
 public:
  // Lays out a drive C: with a Windows folder, its system folder and the program's folder.
  explicit MemoryFileSystem(std::filesystem::path root);
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  using FileSystem::FindFiles;
  void FindFiles(const std::string& pattern, std::vector<FoundFile>& found,
                 std::vector<std::string>* subFolders = nullptr) override;
  std::uint64_t FileLength(const std::string& path) override;
  std::unique_ptr<InputFile> OpenRead(const std::string& path) override;
  bool WriteFileAtomically(const std::string& path, const std::string& bytes) override;
  // Reads a whole file (empty when missing).
  std::string ReadFile(const std::string& windowsPath) const;
  // How many files are open for reading right now.
  int OpenFiles() const { return *openFiles_; }
  std::uint64_t FreeDiskSpace(const std::string& path) override;
  std::vector<std::string> Drives() override;
  std::string DriveCurrentFolder(const std::string& drive) override;
  // Current folders of drives ("d:" -> "D:\\Photos\\"); a drive not here is at its root.
  std::map<std::string, std::string> driveFolders;
  std::vector<std::string> SubFolders(const std::string& folder) override;
  bool IsLink(const std::string& folder) override;
  std::string WindowsDirectory() override { return kWindows; }
  std::string SystemDirectory() override { return kSystem; }
  std::string ProgramFolder() override { return kProgram; }
  std::string ProgramName() override { return "Tapestrel"; }
  // Short names of folders and files by their long path (letter case ignored), as a
  // volume with 8.3 names would have them; a path part without one keeps its name.
  std::string ShortPathName(const std::string& path) override;
  std::map<std::string, std::string> shortNames;
  // The long path of one that may hold short names.
  std::string LongPathName(const std::string& path) const;
  bool SetCurrentFolder(const std::string& folder) override;
  std::string currentFolder;

  static constexpr const char* kWindows = "C:\\WINDOWS";
  static constexpr const char* kSystem = "C:\\WINDOWS\\SYSTEM";
  static constexpr const char* kProgram = "C:\\Program Files\\Tapestrel";

  // Where a Windows path lies on disk. A relative path is taken in the program's folder.
  std::filesystem::path HostPath(const std::string& windowsPath) const;
  // Writes a file with the given bytes, creating its folders.
  void WriteFile(const std::string& windowsPath, const std::string& bytes = {});

 private:
  static std::string MatchCase(const std::filesystem::path& folder, const std::string& name);
  static std::vector<std::string> PathParts(const std::string& windowsPath, char& drive);
  // Where a path lies on disk if its letter case is the disk's.
  std::filesystem::path ExactHostPath(const std::string& windowsPath) const;
  // The same as text, made without splitting and joining path objects (a fill reads
  // thousands of files one after another).
  std::string ExactHostText(const std::string& windowsPath) const;

  // The folder the last search looked in, held open so that reading its files right
  // after (a fill reads every header) opens them by name, without walking the whole path.
  void ForgetSearchedFolder();
  std::string searchedFolder_;  // host path, ending in a separator
  int searchedFolderFd_ = -1;

  std::filesystem::path root_;
  std::shared_ptr<int> openFiles_ = std::make_shared<int>(0);
};

}  // namespace tapestrel
