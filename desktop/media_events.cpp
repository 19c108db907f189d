#include "desktop/media_events.h"

#include <algorithm>
#include <sstream>

#include "core/main_view.h"
#include "core/settings.h"
#include "core/tray_tip.h"
#include "desktop/frm_options.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/mci.h"
#include "platform/profile_files.h"
#include "platform/registry.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {

constexpr std::size_t kReplyLength = 200;
// Long exit sounds are cut here, so that leaving never takes longer.
constexpr long kLongestWaitMs = 10000;
constexpr const char* kCd = "CDAudio";
// What the CD device answers on a machine that has no CD drive.
constexpr unsigned long kNoCdDriver = 266;
// Reading a value is all the machine's key needs to allow.
constexpr std::uint32_t kQueryValueAccess = 1;

// The last three characters of a file's name, in lower case: what kind of file it is.
std::string kindOf(const std::string& file) {
  return ToLower(file.size() >= 3 ? std::string_view(file).substr(file.size() - 3) : std::string_view(file));
}

bool kindIn(const std::string& file, std::string_view kinds) { return kinds.find(kindOf(file)) != std::string_view::npos; }

// Files that play in a window of their own.
constexpr std::string_view kVideoKinds = " mpg mpeg avi mov pic jpg jpeg fli flc aas ";
// Files that can repeat until stopped.
constexpr std::string_view kLoopKinds = " mpg mpeg avi mov mpa dat mpv aif m1v ";

bool isOneOf(const std::string& reply, std::initializer_list<const char*> codes) {
  return std::any_of(codes.begin(), codes.end(), [&](const char* c) { return reply == c; });
}

// Codes that are expected in the normal course (a device not open, an alias in use, a
// keyword the device does not know) and so are never shown.
bool quiet(unsigned long code) {
  static constexpr unsigned long codes[] = {259, 261, 262, 263, 265, 270, 289, 290, 291, 346};
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

// The track of a CD track file: the two characters after "Track" ("Track07.cda").
int trackOf(const std::string& file) {
  const std::string name = FilePart(file);
  const std::size_t at = FindIgnoreCase(name, "Track");
  return at == std::string::npos ? 0 : LeadingInteger(name.substr(at + 5, 2));
}

std::string trackFile(const std::string& like, int track) {
  return DirectoryPart(like) + "Track" + FormatNumber(track, "00") + ".cda";
}

// "*.wav" and the like: any file of that kind, for "&Play next" to go through.
bool isPattern(const std::string& file) {
  const std::string name = FilePart(file);
  return name.size() > 2 && name[0] == '*' && name[1] == '.';
}

}  // namespace

MediaEvents::MediaEvents(Mci& mci, FileSystem& files, Ui& ui, ProfileFiles& profiles, Registry& registry,
                         Desktop& desktop, Options& options, Settings& settings, MainView& view, TrayTip& tray,
                         FrmOptions& dialog)
    : mci_(mci),
      files_(files),
      ui_(ui),
      profiles_(profiles),
      registry_(registry),
      desktop_(desktop),
      options_(options),
      settings_(settings),
      view_(view),
      tray_(tray),
      dialog_(dialog) {
  WireOptionsDialog();
}

const std::string& MediaEvents::File(int event) const { return options_.mciEvents.at(static_cast<std::size_t>(event)); }

std::string MediaEvents::Alias(int event) { return "mciDevice" + std::to_string(event); }

bool MediaEvents::IsCd(int event) const { return kindOf(File(event)) == "cda"; }

void MediaEvents::Tell(const std::string& text, int style, const std::string& title) { ui_.MsgBox(text, style, title); }

bool MediaEvents::SendMci(const std::string& command, std::string& reply, std::string* errorText) {
  return Send(command, reply, errorText, {});
}

bool MediaEvents::Send(const std::string& command, std::string& reply, std::string* errorText,
                       std::initializer_list<unsigned long> alsoQuiet) {
  std::string buffer(kReplyLength, ' ');
  const unsigned long code = mci_.SendString(command, buffer, view_.NativeHandle());
  if (code == 0) {
    reply = TrimAtNull(buffer);
    return true;
  }
  std::string text(kReplyLength, ' ');
  mci_.ErrorString(code, text);
  text = TrimAtNull(text);
  const bool expected = std::find(alsoQuiet.begin(), alsoQuiet.end(), code) != alsoQuiet.end();
  if (!quiet(code) && !expected) Tell(text, mb::OkOnly | mb::Exclamation, "mci Command Error " + std::to_string(code));
  if (errorText) *errorText = text;
  reply = std::to_string(code);
  return false;
}

bool MediaEvents::OpenMciDevice(int event) {
  std::string reply;
  std::string error;
  if (IsCd(event)) {
    if (SendMci("open CDAudio", reply)) return true;
    if (isOneOf(reply, {"289", "265", "262"})) {
      StopCd();
      return SendMci("open CDAudio", reply);
    }
    TellOpenFailure(reply, "");
    return false;
  }
  const std::string& file = File(event);
  const std::string command = "open " + DeviceName(file) + " alias " + Alias(event);
  if (!SendMci(command, reply, &error)) {
    if (isOneOf(reply, {"289", "265", "262"})) {
      CloseMci(event);
      if (!SendMci(command, reply)) return false;
    } else if (isOneOf(reply, {"276", "6", "277", "296"})) {
      return false;
    } else {
      TellOpenFailure(reply, error);
      return false;
    }
  }
  openFiles_.at(static_cast<std::size_t>(event)) = file;
  if (kindIn(file, kVideoKinds)) {
    SetMciAudio(event);
    PlaceVideoWindow(event);
  }
  return true;
}

void MediaEvents::TellOpenFailure(const std::string& code, const std::string& errorText) {
  // A code that is not an expected one has been told already.
  if (!quiet(std::strtoul(code.c_str(), nullptr, 10))) return;
  Tell("mci Command Error " + code, mb::OkOnly | mb::Exclamation, errorText);
}

bool MediaEvents::SetMciTimeFormat(int event) {
  const bool cd = IsCd(event);
  const std::string set = cd ? "Set CDAudio Time Format tmsf" : "set " + Alias(event) + " time format ms";
  const std::string check = cd ? "Status CDAudio Time Format" : "Status " + Alias(event) + " Time Format";
  const std::string wanted = cd ? "tmsf" : "milliseconds";
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (attempt == 1 && !OpenMciDevice(event)) break;
    std::string reply;
    SendMci(set, reply);
    if (SendMci(check, reply) && reply == wanted) return true;
  }
  Tell("Unable to set time format. Try again.", mb::OkOnly | mb::Exclamation, "MCI Error");
  return false;
}

std::string MediaEvents::BackgroundPlayCommand(int event) const {
  const bool loop = options_.LoopVideo.at(static_cast<std::size_t>(event)) != 0 && kindIn(File(event), kLoopKinds);
  return "play " + Alias(event) + " notify" + (loop ? " repeat" : "");
}

bool MediaEvents::PlayMci(int event, bool waiting, bool alreadyOpen) {
  std::string reply;
  if (IsCd(event)) {
    const bool wasPlaying = cdPlaying_;
    cdPlaying_ = true;
    if (!alreadyOpen && (!OpenMciDevice(event) || !SetMciTimeFormat(event))) {
      cdPlaying_ = wasPlaying;
      return false;
    }
    cdEvent_ = event;
    return PlayCdTrack(trackOf(File(event)));
  }
  if (!alreadyOpen && !OpenMciDevice(event)) return false;
  // Open now: closed again at exit whatever happens next.
  inUse_.at(static_cast<std::size_t>(event)) = true;
  if (!alreadyOpen && !SetMciTimeFormat(event)) return false;
  if (!waiting) return SendMci(BackgroundPlayCommand(event), reply);
  if (!SendMci("status " + Alias(event) + " length", reply)) return false;
  const std::string to = LeadingNumber(reply) <= kLongestWaitMs ? reply : std::to_string(kLongestWaitMs);
  return SendMci("play " + Alias(event) + " wait from 0 to " + to, reply);
}

std::string MediaEvents::DeviceMode(int event) {
  // A file's device is asked only while it is open: for an alias that is not, some
  // systems answer with an error that is not among the expected ones.
  if (!IsCd(event) && !DeviceInUse(event)) return "closed";
  std::string mode;
  const std::string device = IsCd(event) ? std::string(kCd) : Alias(event);
  return SendMci("status " + device + " Mode", mode) ? ToLower(mode) : "closed";
}

void MediaEvents::PlayEvent(int event, bool waiting) {
  const std::size_t n = static_cast<std::size_t>(event);
  if (Trim(File(event)).empty()) return;
  ResetPauseCaption(event);
  const std::string mode = DeviceMode(event);
  const bool moveOn = mode == "closed" && options_.PlayNext.at(n) != 0;
  // A pattern names no file of its own: only moving on to the next file gives one.
  if (!files_.FileExists(File(event)) && !(moveOn && isPattern(File(event)))) {
    TellMissing(File(event));
    return;
  }
  std::string identity;
  if (IsCd(event) && !SendMci("Info CDAudio identity", identity)) return;
  if (moveOn) {
    NextEventFile(event);
    if (!files_.FileExists(File(event))) {
      TellMissing(File(event));
      return;
    }
  }
  PlayMci(event, waiting, mode != "closed" && (!IsCd(event) || cdPlaying_));
}

void MediaEvents::PlayButton(int event) {
  // The device may still hold the file the event had before it was changed in the
  // dialog: the file now in the field is the one to hear, not the next one after it.
  const std::size_t n = static_cast<std::size_t>(event);
  if (!IsCd(event) && DeviceInUse(event) && openFiles_.at(n) != File(event)) {
    CloseMci(event);
    const int playNext = options_.PlayNext.at(n);
    options_.PlayNext.at(n) = 0;
    PlayEvent(event);
    options_.PlayNext.at(n) = playNext;
    return;
  }
  PlayEvent(event);
}

void MediaEvents::TriggerEvent(int event) {
  const std::string file = File(event);
  try {
    if (Trim(file).empty()) {
      ui_.Beep();
      return;
    }
    if (!files_.FileExists(file) && !isPattern(file)) {
      TellMissing(file);
      return;
    }
    const std::string mode = DeviceMode(event);
    if (mode == "playing") {
      ResetPauseCaption(event);
      return;
    }
    if (mode == "paused") return;  // the user paused it in the options dialog
    // A file that has played to its end stays open; close it, so that every change is
    // heard and "&Play next" moves on.
    if (mode != "closed" && !IsCd(event)) CloseMci(event);
    PlayEvent(event);
  } catch (const RuntimeError& e) {
    Tell("Error " + NumberText(e.number) + " occurred trying to play " + file, mb::OkOnly | mb::Exclamation,
         kApplicationName);
  }
}

void MediaEvents::NextEventFile(int event) {
  const std::string& file = File(event);
  if (IsCd(event)) {
    std::string tracks;
    if (!SendMci("Status CDAudio Number of Tracks", tracks)) return;
    int track = trackOf(file) + 1;
    if (track > LeadingInteger(tracks)) track = 1;
    SetEventFile(event, trackFile(file, track));
    return;
  }
  const std::string folder = DirectoryPart(file);
  const std::string name = FilePart(file);
  const std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : ToLower(name.substr(dot + 1));
  if (extension.rfind("mp", 0) == 0) extension = "mp*";
  else if (extension.rfind("jp", 0) == 0) extension = "jp*";
  std::vector<std::string> names;
  for (const FoundFile& f : files_.FindFiles(folder + "*." + extension)) names.push_back(f.name);
  if (names.empty()) return;
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return ToLower(a) < ToLower(b); });
  const auto current =
      std::find_if(names.begin(), names.end(), [&](const std::string& n) { return EqualsIgnoreCase(n, name); });
  const auto next = current == names.end() || current + 1 == names.end() ? names.begin() : current + 1;
  SetEventFile(event, folder + *next);
}

void MediaEvents::CloseMci(int event, bool keepTrack) {
  ResetPauseCaption(event);
  std::string reply;
  if (IsCd(event)) {
    const bool answered = SendMci("status CDAudio Mode", reply);
    if ((answered && EqualsIgnoreCase(reply, "open")) || (!answered && reply == "291")) {
      cdPlaying_ = false;
      return;
    }
    if (keepTrack && SendMci("Status CDAudio Current Track", reply) && StartsWithNumber(reply)) {
      SetEventFile(event, trackFile(File(event), LeadingInteger(reply)));
      settings_.SaveMediaEventFile(event);
    }
    StopCd();
    cdPlaying_ = false;
    return;
  }
  if (kindIn(File(event), kVideoKinds)) StoreVideoWindow(event);
  SendMci("close " + Alias(event), reply);
  inUse_.at(static_cast<std::size_t>(event)) = false;
}

void MediaEvents::SetMciAudio(int event) {
  const std::string kind = kindOf(File(event));
  if (kind != "avi" && kind != "mov" && kind != "mpg" && kind != "mpe") return;
  const bool mute = options_.MuteAvi.at(static_cast<std::size_t>(event)) != 0;
  std::string reply;
  SendMci("setaudio " + Alias(event) + (mute ? " off" : " on"), reply);
}

bool MediaEvents::PlayCdTrack(int track) {
  std::string reply;
  if (!SendMci("Status CDAudio Number of Tracks", reply)) return false;
  cdTracks_ = LeadingInteger(reply);
  if (track < 1 || track > cdTracks_) {
    Tell("Incorrect track number", mb::OkOnly | mb::Exclamation, "CD Access Error");
    return false;
  }
  const std::string number = std::to_string(track);
  if (options_.PlayOneCDTrack != 0 && track < cdTracks_) {
    pendingCdCommand_ = "Play CDAudio to " + std::to_string(track + 1);
    return SendMci("Play CDAudio from " + number + " To " + std::to_string(track + 1), reply);
  }
  // The last track, or the rest of the disc: there is no track after it to stop at.
  pendingCdCommand_ = "Play CDAudio";
  return SendMci("Seek CDAudio to " + number, reply) && SendMci("Play CDAudio", reply);
}

void MediaEvents::StopCd() {
  std::string reply;
  SendMci("Stop CDAudio", reply);
  SendMci("Close CDAudio", reply);
}

void MediaEvents::CdDoor() {
  std::string mode;
  std::string ready;
  std::string reply;
  // Without a CD drive every command fails alike: told once, and nothing more is sent.
  if (!SendMci("status CDAudio Mode", mode) && mode == std::to_string(kNoCdDriver)) return;
  SendMci("status CDAudio ready", ready);
  if (EqualsIgnoreCase(mode, "open")) {
    SendMci("Set CDAudio Door closed", reply);
    SendMci("status CDAudio Mode", mode);
    if (EqualsIgnoreCase(mode, "open") &&
        ui_.MsgBox("Would you like to insert a CD?", mb::YesNo | mb::Question, kApplicationName) == mb::IdYes)
      SendMci("Set CDAudio Door Open", reply);
    return;
  }
  if (EqualsIgnoreCase(ready, "true")) {
    StopCd();
    cdPlaying_ = false;
  }
  // An empty drive opens too, so that a disc can be put in.
  SendMci("Set CDAudio Door Open", reply);
}

void MediaEvents::CheckCdCapability() {
  tray_.TrayModify("Checking CD-Audio capability. Please wait...");
  std::string reply;
  // A machine without a CD drive answers that the driver cannot be loaded: nothing to
  // tell at every start.
  if (Send("capability CDAudio can eject", reply, nullptr, {kNoCdDriver}) && reply == "false")
    Tell("You can not eject CDs via software.", mb::OkOnly | mb::Information, kApplicationName);
  if (Send("capability CDAudio can play", reply, nullptr, {kNoCdDriver}) && reply == "false")
    Tell("You can not play CDs.", mb::OkOnly | mb::Information, kApplicationName);
  tray_.TrayModify(view_.Caption());
}

std::string MediaEvents::MciDriverForExtension(const std::string& extension) {
  const std::string type = TrimAtNull(profiles_.ReadProfileValue("win.ini", "mci extensions", extension, ""));
  if (type.empty()) return {};
  return TrimAtNull(profiles_.ReadProfileValue("system.ini", "mci", type, ""));
}

std::string MediaEvents::MciTypeForExtension(const std::string& extension) {
  const std::string fromIni = TrimAtNull(profiles_.ReadProfileValue("win.ini", "mci extensions", extension, ""));
  if (!fromIni.empty()) return fromIni;
  // Windows NT keeps the list in the registry, where win.ini's section is mapped.
  OpenRegistryKey key(registry_, RegistryRoot::LocalMachine, "Software\\Microsoft\\Windows NT\\CurrentVersion\\MCI Extensions",
                      kQueryValueAccess);
  if (!key.ok()) return {};
  std::string buffer(kReplyLength, ' ');
  if (registry_.QueryValue(key.handle(), extension, buffer) != registry_code::Success) return {};
  return TrimAtNull(buffer);
}

std::string MediaEvents::DeviceName(const std::string& file) {
  const std::string shortPath = files_.ShortPathName(file);
  const std::string element = shortPath.empty() ? file : shortPath;
  // With its type in front, the device reads everything after the first "!" as the
  // file, so a name that holds one opens too; unknown types are left to the system.
  const std::string name = FilePart(file);
  const std::size_t dot = name.rfind('.');
  const std::string type = dot == std::string::npos ? std::string() : MciTypeForExtension(ToLower(name.substr(dot + 1)));
  const std::string device = type.empty() ? element : type + "!" + element;
  // A volume without short names gives the long path back: in quotes it stays one word.
  return CommandArgument(device);
}

void MediaEvents::ExitSequence() {
  MainView& main = view_;
  Options& o = options_;
  if (cdPlaying_) {
    main.SetCaption("Closing CDAudio...");
    CloseMci(cdEvent_, true);
    main.SetCaption("Finished Closing CDAudio.");
  }
  settings_.SaveMediaEventFiles();
  if (o.mciEventsOn[2] != 0) {
    const std::string file = File(2);
    if (Trim(file).empty()) {
      ui_.Beep();
    } else if (IsCd(2)) {
      const int oneTrack = o.PlayOneCDTrack;
      o.PlayOneCDTrack = 1;
      PlayEvent(2, true);
      o.PlayOneCDTrack = oneTrack;
    } else if (!files_.FileExists(file) && !isPattern(file)) {
      // A pattern ("*.wav") is taken as the other events take it: "&Play next" finds its file.
      Tell(file + " not found", mb::OkOnly | mb::Exclamation, kApplicationName);
    } else {
      PlayEvent(2, true);
    }
  }
  for (int event = 0; event < static_cast<int>(kMediaEvents); ++event) {
    if (!DeviceInUse(event)) continue;
    std::string reply;
    SendMci("close " + Alias(event), reply);
    inUse_.at(static_cast<std::size_t>(event)) = false;
  }
}

void MediaEvents::PauseButton(int event) {
  std::string reply;
  if (IsCd(event)) {
    SendMci("status CDAudio Mode", reply);
    if (reply == "playing") {
      SendMci("Stop CDAudio", reply);
      dialog_.cmdPause[event].SetCaption("Resume");
    } else if (reply == "stopped" && !pendingCdCommand_.empty()) {
      SendMci(pendingCdCommand_, reply);
      dialog_.cmdPause[event].SetCaption("Pause");
    }
    return;
  }
  const std::string mode = DeviceMode(event);
  if (mode == "playing") {
    SendMci("pause " + Alias(event), reply);
    dialog_.cmdPause[event].SetCaption("Resume");
  } else if (mode == "paused") {
    SendMci(BackgroundPlayCommand(event), reply);
    dialog_.cmdPause[event].SetCaption("Pause");
  }
}

void MediaEvents::RepeatButton(int event) {
  std::string reply;
  if (IsCd(event)) {
    if (DeviceMode(event) == "playing" && SendMci("Status CDAudio Current Track", reply))
      PlayCdTrack(LeadingInteger(reply));
    return;
  }
  if (SendMci("status " + Alias(event) + " length", reply))
    SendMci("play " + Alias(event) + " notify from 0 to " + reply, reply);
}

void MediaEvents::LoopVideoChanged(int event) {
  std::string reply;
  if (!IsCd(event) && DeviceMode(event) == "playing") SendMci(BackgroundPlayCommand(event), reply);
}

void MediaEvents::MuteVideoChanged(int event) {
  if (DeviceInUse(event)) SetMciAudio(event);
}

void MediaEvents::PlayOneCdTrackChanged() {
  std::string mode;
  if (!cdPlaying_ || !SendMci("status CDAudio Mode", mode) || mode != "playing") return;
  Tell(options_.PlayOneCDTrack != 0 ? "One track play will not be enabled until you stop the audio CD."
                                    : "One track play will not be disabled until you stop the audio CD.",
       mb::OkOnly | mb::Information, kApplicationName);
}

std::string MediaEvents::PlayStatusText(int event) {
  // Status queries here are asked quietly: the tip is shown while the pointer moves.
  const auto ask = [this](const std::string& command) {
    std::string reply;
    return Send(command, reply, nullptr, {kNoCdDriver, 263, 281}) ? reply : std::string();
  };
  if (IsCd(event)) {
    if (!cdPlaying_) return {};
    const std::string track = ask("Status CDAudio Current Track");
    if (track.empty()) return {};
    return "Status for Track " + track + " of " + ask("Status CDAudio Number of Tracks") + "\nTime elapsed: " +
           ask("Status CDAudio Position") + "\nTime of track: " + ask("Status CDAudio Length Track " + track) +
           "\nCD Length: " + ask("Status CDAudio Length");
  }
  if (!DeviceInUse(event)) return {};
  const auto clock = [](const std::string& ms) {
    const long seconds = static_cast<long>(LeadingNumber(ms) / 1000);
    return std::to_string(seconds / 3600) + ":" + FormatNumber(seconds / 60 % 60, "00") + ":" +
           FormatNumber(seconds % 60, "00");
  };
  return "Play Status (h:min:sec)\nTime elapsed: " + clock(ask("status " + Alias(event) + " position")) +
         "\nTotal time: " + clock(ask("status " + Alias(event) + " length"));
}

void MediaEvents::TellMissing(const std::string& file) {
  Tell(file + " is not present", mb::OkOnly | mb::Exclamation, kApplicationName);
}

void MediaEvents::SetEventFile(int event, const std::string& file) {
  options_.mciEvents.at(static_cast<std::size_t>(event)) = file;
  dialog_.txtMciDevice[event].SetText(file);
}

void MediaEvents::ResetPauseCaption(int event) { dialog_.cmdPause[event].SetCaption("Pause"); }

unsigned long MediaEvents::VideoWindow(int event) {
  std::string reply;
  if (!SendMci("status " + Alias(event) + " window handle", reply) || !StartsWithNumber(reply)) return 0;
  return std::strtoul(reply.c_str(), nullptr, 10);
}

void MediaEvents::PlaceVideoWindow(int event) {
  const unsigned long window = VideoWindow(event);
  const auto box = window ? mci_.WindowBox(window) : std::nullopt;
  if (!box) return;
  std::istringstream stored(options_.EventWindow);
  long left = 0;
  long top = 0;
  if (!(stored >> left >> top)) {
    const int tpp = desktop_.TwipsPerPixel();
    left = (desktop_.ScreenWidth() / tpp - box->width) / 2;
    top = (desktop_.ScreenHeight() / tpp - box->height) / 2;
  }
  mci_.PlaceOnTop(window, left, top);
}

void MediaEvents::StoreVideoWindow(int event) {
  const unsigned long window = VideoWindow(event);
  const auto box = window ? mci_.WindowBox(window) : std::nullopt;
  if (!box) return;
  options_.EventWindow = std::to_string(box->left) + " " + std::to_string(box->top);
  settings_.SaveEventWindow();
}

void MediaEvents::WireOptionsDialog() {
  FrmOptions& dialog = dialog_;
  Options& o = options_;
  for (int i = 0; i < static_cast<int>(kMediaEvents); ++i) {
    const std::size_t n = static_cast<std::size_t>(i);
    dialog.cmdPlay[i].Click = [this, i] { PlayButton(i); };
    dialog.cmdPlay[i].MouseMove = [this, &dialog, i](int, int, long, long) {
      dialog.cmdPlay[i].SetToolTipText(PlayStatusText(i));
    };
    dialog.cmdStop[i].Click = [this, i] { CloseMci(i, true); };
    dialog.cmdPause[i].Click = [this, i] { PauseButton(i); };
    dialog.cmdRepeat[i].Click = [this, i] { RepeatButton(i); };
    dialog.chkMciEvent[i].Click = [&o, &dialog, i, n] { o.mciEventsOn[n] = dialog.chkMciEvent[i].Value() != 0; };
    dialog.chkPlayNext[i].Click = [&o, &dialog, i, n] { o.PlayNext[n] = dialog.chkPlayNext[i].Value() != 0; };
    dialog.chkLoopVideo[i].Click = [this, &o, &dialog, i, n] {
      const int value = dialog.chkLoopVideo[i].Value() != 0;
      if (value == o.LoopVideo[n]) return;
      o.LoopVideo[n] = value;
      LoopVideoChanged(i);
    };
    dialog.chkMuteVideo[i].Click = [this, &o, &dialog, i, n] {
      const int value = dialog.chkMuteVideo[i].Value() != 0;
      if (value == o.MuteAvi[n]) return;
      o.MuteAvi[n] = value;
      MuteVideoChanged(i);
    };
    dialog.txtMciDevice[i].LostFocus = [&o, &dialog, i, n] {
      if (!dialog.Leaving(dialog.txtMciDevice[i])) o.mciEvents[n] = Trim(dialog.txtMciDevice[i].Text());
    };
  }
  dialog.cmdEjectCD.Click = [this] { CdDoor(); };
  dialog.chkMiscOptions[15].Click = [this, &o, &dialog] {
    const int value = dialog.chkMiscOptions[15].Value() != 0;
    if (value == o.PlayOneCDTrack) return;
    o.PlayOneCDTrack = value;
    PlayOneCdTrackChanged();
  };
}

}  // namespace tapestrel
