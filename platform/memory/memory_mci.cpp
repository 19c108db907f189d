#include "platform/memory/memory_mci.h"

#include <algorithm>
#include <sstream>

#include "platform/text.h"

namespace tapestrel {

namespace {

// The codes a real interface gives for the cases modelled here.
constexpr unsigned long kUnrecognizedKeyword = 259;
constexpr unsigned long kUnrecognizedCommand = 261;
constexpr unsigned long kNotOpen = 263;
constexpr unsigned long kDeviceOpen = 265;
constexpr unsigned long kFileNotFound = 275;
constexpr unsigned long kNotReady = 276;
constexpr unsigned long kOutOfRange = 282;
constexpr unsigned long kDuplicateAlias = 289;

const std::map<unsigned long, std::string>& errorTexts() {
  static const std::map<unsigned long, std::string> texts{
      {kUnrecognizedKeyword, "The driver cannot recognize the specified command parameter."},
      {kUnrecognizedCommand, "The driver cannot recognize the specified command."},
      {262, "There is a problem with your media device. Make sure it is working correctly or contact the device "
            "manufacturer."},
      {kNotOpen, "The specified device is not open or is not recognized by MCI."},
      {kDeviceOpen, "The device name is already being used as an alias by this application. Use a unique alias."},
      {266, "There is an undetectable problem in loading the specified device driver."},
      {kFileNotFound, "Cannot find the specified file. Make sure the path and filename are correct."},
      {kNotReady, "The device is not ready."},
      {kOutOfRange, "The specified parameter is out of range for the specified command."},
      {kDuplicateAlias, "The specified alias is already being used in this application. Use a unique alias."},
      {291, "The specified device is already in use. Wait until it is free, and then try again."},
      {296, "The specified file cannot be played on the specified MCI device. The file may be corrupt, or not in the "
            "correct format."},
  };
  return texts;
}

void writeAnswer(std::string& buffer, const std::string& answer) {
  const std::size_t n = std::min(answer.size(), buffer.empty() ? 0 : buffer.size() - 1);
  if (buffer.empty()) return;
  buffer.replace(0, n, answer, 0, n);
  buffer[n] = '\0';
}

std::string lastThree(const std::string& file) { return ToLower(file.size() >= 3 ? file.substr(file.size() - 3) : file); }

bool isVideo(const std::string& file) {
  static const std::string kinds = " avi mpg peg mov ";
  return kinds.find(" " + lastThree(file) + " ") != std::string::npos;
}

// Minutes, seconds and frames (75 to the second) of a CD track of three minutes and
// some seconds; track n lasts 3:n.
std::string trackLength(int track) { return "03:" + FormatNumber(track % 60, "00") + ":00"; }

bool argument(const std::vector<std::string>& words, const std::string& keyword, std::string& value) {
  const auto at = std::find(words.begin(), words.end(), keyword);
  if (at == words.end() || at + 1 == words.end()) return false;
  value = *(at + 1);
  return true;
}

bool has(const std::vector<std::string>& words, const std::string& keyword) {
  return std::find(words.begin(), words.end(), keyword) != words.end();
}

}  // namespace

unsigned long MemoryMci::SendString(const std::string& command, std::string& reply, void* callbackWindow) {
  sent.push_back(command);
  lastCallbackWindow = callbackWindow;
  const std::string lower = ToLower(command);
  for (auto it = failNext.begin(); it != failNext.end(); ++it) {
    if (lower.rfind(it->first, 0) == 0) {
      const unsigned long code = it->second;
      failNext.erase(it);
      return code;
    }
  }
  std::vector<std::string> words;
  std::istringstream in(lower);
  for (std::string word; in >> word;) words.push_back(word);
  std::string answer;
  unsigned long code = kUnrecognizedCommand;
  if (!words.empty() && words[0] == "open") {
    // The device as it was written: the second word of the command, or what stands
    // between quotes there; a type in front ends at the first "!".
    std::string device = command.substr(std::min(command.size(), command.find_first_not_of(' ', 4)));
    if (!device.empty() && device[0] == '"') device = device.substr(1, device.find('"', 1) - 1);
    else device = device.substr(0, device.find(' '));
    const std::size_t bang = device.find('!');
    code = Open(words, bang == std::string::npos ? device : device.substr(bang + 1));
  } else if (!words.empty()) {
    code = Run(words, answer);
  }
  writeAnswer(reply, code == 0 ? answer : std::string());
  return code;
}

unsigned long MemoryMci::Run(const std::vector<std::string>& words, std::string& answer) {
  const std::string& verb = words[0];
  if (words.size() < 2) return kUnrecognizedCommand;
  const std::string& alias = words[1];
  if (alias == "cdaudio") {
    if (!cd.drive) return cd.missingDriveCode;
    // A command to the CD that is not open opens it for that command alone.
    Device once;
    auto it = devices_.find(alias);
    Device& device = it != devices_.end() ? it->second : once;
    const unsigned long code = CdCommand(device, words, answer);
    if (code == 0 && verb == "close") devices_.erase(alias);
    return code;
  }
  auto it = devices_.find(alias);
  if (it == devices_.end()) return kNotOpen;
  Device& device = it->second;
  if (verb == "close") {
    windows.erase(device.window);
    devices_.erase(it);
    return 0;
  }
  if (verb == "status") return Status(device, words, answer);
  if (verb == "play") return Play(device, words);
  if (verb == "pause") {
    device.mode = "paused";
    return 0;
  }
  if (verb == "stop") {
    device.mode = "stopped";
    return 0;
  }
  if (verb == "set" && words.size() >= 5 && words[2] == "time" && words[3] == "format") {
    if (words[4] != "ms" && words[4] != "milliseconds") return kUnrecognizedKeyword;
    device.timeFormat = "milliseconds";
    return 0;
  }
  if (verb == "setaudio" && words.size() == 3 && (words[2] == "on" || words[2] == "off")) {
    device.muted = words[2] == "off";
    return 0;
  }
  return kUnrecognizedCommand;
}

unsigned long MemoryMci::Open(const std::vector<std::string>& words, const std::string& shortPath) {
  if (words.size() < 2) return kUnrecognizedCommand;
  if (words[1] == "cdaudio") {
    if (!cd.drive) return cd.missingDriveCode;
    if (devices_.count("cdaudio")) return kDeviceOpen;
    devices_["cdaudio"].timeFormat = "msf";
    return 0;
  }
  std::string alias;
  if (!argument(words, "alias", alias)) return kUnrecognizedKeyword;
  if (devices_.count(alias)) return kDuplicateAlias;
  const std::string file = files_.LongPathName(shortPath);
  if (!files_.FileExists(file)) return kFileNotFound;
  Device device;
  device.file = file;
  device.lengthMs = MediaLength(file);
  if (isVideo(file)) {
    device.window = nextWindow_++;
    windows[device.window] = {100, 100, kVideoWidth, kVideoHeight};
  }
  devices_[alias] = device;
  return 0;
}

unsigned long MemoryMci::Status(Device& device, const std::vector<std::string>& words, std::string& answer) {
  const std::string item = words.size() > 2 ? words[2] : std::string();
  if (item == "length") answer = std::to_string(device.lengthMs);
  else if (item == "position") answer = device.mode == "playing" ? "0" : std::to_string(device.lengthMs);
  else if (item == "mode") answer = device.mode;
  else if (item == "time" && has(words, "format")) answer = device.timeFormat;
  else if (item == "window" && has(words, "handle") && device.window != 0) answer = std::to_string(device.window);
  else return kUnrecognizedKeyword;
  return 0;
}

unsigned long MemoryMci::Play(Device& device, const std::vector<std::string>& words) {
  std::string to;
  const bool bounded = argument(words, "to", to);
  if (bounded && (!StartsWithNumber(to) || LeadingNumber(to) > device.lengthMs)) return kOutOfRange;
  if (has(words, "wait")) {
    waited.push_back(bounded ? LeadingInteger(to) : device.lengthMs);
    device.mode = "stopped";
    return 0;
  }
  device.mode = "playing";
  device.repeating = has(words, "repeat");
  return 0;
}

unsigned long MemoryMci::CdCommand(Device& device, const std::vector<std::string>& words, std::string& answer) {
  const std::string& verb = words[0];
  const auto rest = [&](std::size_t from) {
    std::string joined;
    for (std::size_t i = from; i < words.size(); ++i) joined += (joined.empty() ? "" : " ") + words[i];
    return joined;
  };
  const bool ready = cd.disc && !cd.doorOpen;
  const std::string what = rest(2);
  if (verb == "capability") {
    if (what == "can eject") answer = cd.canEject ? "true" : "false";
    else if (what == "can play") answer = cd.canPlay ? "true" : "false";
    else return kUnrecognizedKeyword;
    return 0;
  }
  if (verb == "status") {
    if (what == "mode") answer = cd.doorOpen ? "open" : ready ? cd.mode : "not ready";
    else if (what == "ready") answer = ready ? "true" : "false";
    else if (what == "time format") answer = device.timeFormat;
    else if (!ready) return kNotReady;
    else if (what == "number of tracks") answer = std::to_string(cd.tracks);
    else if (what == "current track") answer = std::to_string(cd.track);
    else if (what == "position") answer = FormatNumber(cd.track, "00") + ":00:00:00";
    else if (what == "length") answer = FormatNumber(3 * cd.tracks + 1, "00") + ":00:00";
    else if (words.size() == 5 && words[2] == "length" && words[3] == "track") {
      const int track = LeadingInteger(words[4]);
      if (track < 1 || track > cd.tracks) return kOutOfRange;
      answer = trackLength(track);
    } else {
      return kUnrecognizedKeyword;
    }
    return 0;
  }
  if (verb == "set" && what == "time format tmsf") {
    device.timeFormat = "tmsf";
    return 0;
  }
  if (verb == "set" && (what == "door open" || what == "door closed")) {
    if (what == "door open") {
      cd.doorOpen = true;
      cd.mode = "stopped";
    } else if (cd.doorClosesBySoftware) {
      cd.doorOpen = false;
    }
    return 0;
  }
  if (verb == "close") return 0;
  if (verb == "info" && what == "identity") {
    if (!ready) return kNotReady;
    answer = "0123abcd";
    return 0;
  }
  if (!ready) return kNotReady;
  if (verb == "stop") {
    cd.mode = "stopped";
    return 0;
  }
  std::string from;
  std::string to;
  const bool hasFrom = argument(words, "from", from);
  const bool hasTo = argument(words, "to", to);
  const auto inRange = [&](const std::string& track) {
    const int n = LeadingInteger(track);
    return StartsWithNumber(track) && n >= 1 && n <= cd.tracks;
  };
  if (verb == "seek" && hasTo) {
    if (!inRange(to)) return kOutOfRange;
    cd.track = LeadingInteger(to);
    cd.mode = "stopped";
    return 0;
  }
  if (verb == "play") {
    if ((hasFrom && !inRange(from)) || (hasTo && !inRange(to))) return kOutOfRange;
    if (hasFrom) cd.track = LeadingInteger(from);
    cd.mode = "playing";
    return 0;
  }
  return kUnrecognizedCommand;
}

long MemoryMci::MediaLength(const std::string& file) {
  if (lastThree(file) != "wav") return 5000;
  // The header of a plain wave file: the byte rate at 28 and the data chunk's size at 40.
  auto in = files_.OpenRead(file);
  unsigned char header[44] = {};
  if (!in || in->Read(header, sizeof header) != sizeof header) return 0;
  const auto le32 = [&](int at) {
    return static_cast<unsigned long>(header[at]) | static_cast<unsigned long>(header[at + 1]) << 8 |
           static_cast<unsigned long>(header[at + 2]) << 16 | static_cast<unsigned long>(header[at + 3]) << 24;
  };
  const unsigned long byteRate = le32(28);
  return byteRate == 0 ? 0 : static_cast<long>(static_cast<unsigned long long>(le32(40)) * 1000 / byteRate);
}

bool MemoryMci::ErrorString(unsigned long code, std::string& text) {
  const auto it = errorTexts().find(code);
  writeAnswer(text, it == errorTexts().end() ? std::string() : it->second);
  return it != errorTexts().end();
}

std::optional<ScreenBox> MemoryMci::WindowBox(unsigned long window) {
  const auto it = windows.find(window);
  if (it == windows.end()) return std::nullopt;
  return it->second;
}

void MemoryMci::PlaceOnTop(unsigned long window, long left, long top) {
  const auto it = windows.find(window);
  if (it == windows.end()) return;
  it->second.left = left;
  it->second.top = top;
}

const MemoryMci::Device* MemoryMci::Find(const std::string& alias) const {
  const auto it = devices_.find(ToLower(alias));
  return it == devices_.end() ? nullptr : &it->second;
}

void MemoryMci::FinishPlaying(const std::string& alias) {
  const auto it = devices_.find(ToLower(alias));
  if (it != devices_.end() && it->second.mode == "playing") it->second.mode = "stopped";
}

}  // namespace tapestrel
