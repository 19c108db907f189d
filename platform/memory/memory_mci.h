// A Media Control Interface in memory: devices opened on the files of a file system, a
// CD drive with a disc, and the answers, modes and error codes a real one gives. Every
// command is kept in order, so a test can see exactly what was sent.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/memory/memory_file_system.h"
#include "platform/mci.h"

namespace tapestrel {

class MemoryMci : public Mci {
 public:
  explicit MemoryMci(MemoryFileSystem& files) : files_(files) {}

  unsigned long SendString(const std::string& command, std::string& reply, void* callbackWindow) override;
  bool ErrorString(unsigned long code, std::string& text) override;
  std::optional<ScreenBox> WindowBox(unsigned long window) override;
  void PlaceOnTop(unsigned long window, long left, long top) override;

  // The drive and its disc.
  struct Cd {
    bool drive = true;
    bool disc = true;
    int tracks = 10;
    bool doorOpen = false;
    // A drive whose tray the program cannot pull in.
    bool doorClosesBySoftware = true;
    bool canEject = true;
    bool canPlay = true;
    // What the drive is doing; it goes on while no program holds the device open.
    std::string mode = "stopped";
    int track = 1;
    // The code every command for the CD answers when there is no drive.
    unsigned long missingDriveCode = 266;
  } cd;

  // An open device, by alias ("cdaudio" for the CD).
  struct Device {
    std::string file;
    long lengthMs = 0;
    std::string mode = "stopped";
    std::string timeFormat = "milliseconds";
    bool muted = false;
    bool repeating = false;
    unsigned long window = 0;
  };
  const Device* Find(const std::string& alias) const;
  // Ends a background play as its file's end would.
  void FinishPlaying(const std::string& alias);

  std::vector<std::string> sent;
  // Every waiting play and how long it held the caller, in milliseconds.
  std::vector<long> waited;
  // Answers a code for the next command that starts with this text (lower case), once.
  std::map<std::string, unsigned long> failNext;
  std::map<unsigned long, ScreenBox> windows;
  void* lastCallbackWindow = nullptr;
  // Video windows' size, and where the first one is made.
  static constexpr long kVideoWidth = 320;
  static constexpr long kVideoHeight = 240;

 private:
  unsigned long Run(const std::vector<std::string>& words, std::string& answer);
  unsigned long Open(const std::vector<std::string>& words, const std::string& file);
  unsigned long Status(Device& device, const std::vector<std::string>& words, std::string& answer);
  unsigned long Play(Device& device, const std::vector<std::string>& words);
  unsigned long CdCommand(Device& device, const std::vector<std::string>& words, std::string& answer);
  // The length of a file as a device would find it: a wave file from its header, any
  // other kind five seconds.
  long MediaLength(const std::string& file);

  MemoryFileSystem& files_;
  std::map<std::string, Device> devices_;
  unsigned long nextWindow_ = 0x1000;
};

}  // namespace tapestrel
