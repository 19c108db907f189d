// The Win32 implementations of the system interfaces.
#pragma once

#include <functional>
#include <random>
#include <string>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/gvbox.h"
#include "platform/mci.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace tapestrel {

class Win32Registry : public Registry {
 public:
  long OpenKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) override;
  long QueryValue(RegistryHandle key, const std::string& name, std::string& buffer) override;
  long QueryDefaultValue(RegistryHandle key, const std::string& subKey, std::string& buffer) override;
  long SetStringValue(RegistryHandle key, const std::string& name, const std::string& data,
                      std::uint32_t count) override;
  long CloseKey(RegistryHandle key) override;
  long CreateKey(RegistryRoot root, const std::string& subKey, std::uint32_t access, RegistryHandle& key) override;
  long DeleteValue(RegistryHandle key, const std::string& name) override;
};

// HKEY_CURRENT_USER\Software\Tapestrel\<section>.
class Win32SettingsStore : public SettingsStore {
 public:
  std::string GetSetting(const std::string& section, const std::string& key, const std::string& fallback) override;
  void SaveSetting(const std::string& section, const std::string& key, const std::string& value) override;
  void DeleteSection(const std::string& section) override;
  void DeleteSetting(const std::string& section, const std::string& key) override;
  std::vector<std::pair<std::string, std::string>> GetAllSettings(const std::string& section) override;
};

class Win32ProfileFiles : public ProfileFiles {
 public:
  std::string ReadProfileValue(const std::string& file, const std::string& section, const std::string& key,
                               const std::string& fallback) override;
  bool WriteProfileValue(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
};

class Win32FileSystem : public FileSystem {
 public:
  std::string ShortPathName(const std::string& path) override;
  bool SetCurrentFolder(const std::string& folder) override;
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
  std::uint64_t FreeDiskSpace(const std::string& path) override;
  std::vector<std::string> Drives() override;
  std::string DriveCurrentFolder(const std::string& drive) override;
  std::vector<std::string> SubFolders(const std::string& folder) override;
  bool IsLink(const std::string& folder) override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string ProgramFolder() override;
  std::string ProgramName() override;
};

class Win32Ui : public Ui {
 public:
  int MsgBox(const std::string& prompt, int style, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title, const std::string& initial) override;
  std::string BrowseForFolder(const std::string& title) override;
  std::string OpenFileName(const OpenFileRequest& request) override;
  void DoEvents() override;
  void Beep() override;
  bool ShowHelp(const std::string& file, int context) override;
  // Sees each message DoEvents takes while long work runs (a MSG*); true when it handled
  // it. Only what may safely act during the work belongs here: a window's cancel button,
  // never the commands of the menus.
  std::function<bool(void* message)> WorkMessageFilter;

 private:
  unsigned long lastPass_ = 0;  // tick count of the last pass over the queue
};

class Win32Desktop : public Desktop {
 public:
  long ScreenWidth() override;
  long ScreenHeight() override;
  int TwipsPerPixel() override;
  std::string PlatformText() override;
  std::string ProcessorText() override;
  MemoryStatus Memory() override;
  bool KeyPressed(int virtualKey) override;
  int ColorDepth() override;
  std::vector<Monitor> Monitors() override;
  std::uint32_t DesktopColor() override;
  std::string CurrentWallpaper() override;
  long SetDesktopWallpaper(const std::string& path) override;
  std::optional<Bitmap> DrawMetafile(const std::string& bytes) override;
  int ShowCursor(bool show) override;
  std::optional<std::string> NonClientFontName() override;
  std::pair<long, long> TextSize(const std::string& text, const std::string& face, int points) override;
  bool KeyDown(int virtualKey) override;
  std::pair<long, long> CursorPosition() override;
  void* ForegroundWindow() override;
  bool ForegroundIsOwn() override;
  std::string WindowClassAt(long x, long y) override;
  bool TitledWindowVisible(const std::string& title) override;
  std::pair<long, long> ClientPoint(void* window, long x, long y) override;
  bool SetScreenSaveActive(bool active) override;
  void PostSystemCommand(void* window, unsigned command) override;

 private:
  // The last key asked about, when, and that it was not pressed then.
  int lastKey_ = -1;
  unsigned long lastAsked_ = 0;
};

// The single-instance mark is a named mutex held until the program ends.
class Win32Processes : public Processes {
 public:
  ~Win32Processes() override;
  bool ClaimSingleInstance() override;
  RunResult RunAndWait(const std::string& commandLine, bool showNormal, unsigned sliceMs,
                       const std::function<bool()>& keepWaiting) override;
  std::optional<RuntimeError> Start(const std::string& commandLine, int showCommand) override;

 private:
  void* mutex_ = nullptr;
};

// SHFileOperationA, owned by the window the user is working in.
class Win32Shell : public Shell {
 public:
  int RunFileOperation(const FileOperation& operation, bool& aborted) override;
  bool NotifyIcon(int message, const NotifyIconData& data) override;
  int Execute(void* owner, const std::string& file, int showCommand) override;
};

// The decoder control on Windows: its drawing surface is a memory device context that
// holds the decoded picture, made when first asked for.
class Win32Gvbox : public Gvbox {
 public:
  using Gvbox::Gvbox;
  ~Win32Gvbox() override;
  // Through the Windows Imaging Component: the extensions its installed decoders name.
  bool SystemDecodes(const std::string& extension) override;

 protected:
  std::uintptr_t DrawingSurface() override;
  void PictureChanged() override;
  std::optional<Bitmap> DecodeBySystem(const std::string& bytes, const DecodeOptions& options) override;

 private:
  void* dc_ = nullptr;
  void* bitmap_ = nullptr;
  void* oldBitmap_ = nullptr;
};

class Win32Clock : public Clock {
 public:
  Win32Clock();
  DateTime Now() override;
  std::uint32_t TickCount() override;
  void Randomize(std::uint32_t start) override { random_ = std::mt19937(start); }
  double Random() override;

 private:
  std::mt19937 random_;
};

class Win32Mci : public Mci {
 public:
  unsigned long SendString(const std::string& command, std::string& reply, void* callbackWindow) override;
  bool ErrorString(unsigned long code, std::string& text) override;
  std::optional<ScreenBox> WindowBox(unsigned long window) override;
  void PlaceOnTop(unsigned long window, long left, long top) override;
};

}  // namespace tapestrel
