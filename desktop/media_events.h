// Sounds, videos and CD tracks played when the program loads (event 0), when the
// wallpaper changes (1) and when the program exits (2), all through the system's Media
// Control Interface in text commands. Each event's file is opened under an alias of its
// own ("mciDevice" and the event's digit), so events can play at the same time; an audio
// CD is the device "CDAudio", addressed by tracks. The options dialog's "Play Settings"
// controls are served here.
#pragma once

#include <array>
#include <initializer_list>
#include <string>

#include "core/options.h"

namespace tapestrel {

class Desktop;
class FileSystem;
class FrmOptions;
class MainView;
class Mci;
class ProfileFiles;
class Registry;
class Settings;
class TrayTip;
class Ui;

class MediaEvents {
 public:
  MediaEvents(Mci& mci, FileSystem& files, Ui& ui, ProfileFiles& profiles, Registry& registry, Desktop& desktop,
              Options& options, Settings& settings, MainView& view, TrayTip& tray, FrmOptions& dialog);

  // Sends one command; false when it failed. `reply` receives the answer, or the error
  // code in decimal on failure, when `errorText` (if given) receives the error's text.
  // A failure is told in a message box unless its code is one of the expected ones.
  bool SendMci(const std::string& command, std::string& reply, std::string* errorText = nullptr);

  bool OpenMciDevice(int event);
  bool SetMciTimeFormat(int event);
  // Plays an event's file in the background, or waiting until it ends (at most ten
  // seconds); `alreadyOpen` when the caller has opened the device.
  bool PlayMci(int event, bool waiting, bool alreadyOpen = false);
  // "Play", and the entry of the event sources: checks the file and the device, moves
  // on to the next file when asked to, and plays.
  void PlayEvent(int event, bool waiting = false);
  // The options dialog's "Play": the file in the event's field, even where the device
  // still holds the one it had before.
  void PlayButton(int event);
  // An event has happened and is switched on.
  void TriggerEvent(int event);
  // "Stop": closes the event's device; a CD event can keep the track it stopped at.
  void CloseMci(int event, bool keepTrack = false);
  void SetMciAudio(int event);
  void NextEventFile(int event);

  bool PlayCdTrack(int track);
  void StopCd();
  // "CD &Door": opens the drive, or closes it when it is open.
  void CdDoor();
  // Once at start-up: tells what the CD drive cannot do.
  void CheckCdCapability();
  // The driver the system lists for a file extension ("mcivmpeg.drv" for MPEG), or
  // empty text.
  std::string MciDriverForExtension(const std::string& extension);
  // The device type the system lists for a file extension ("waveaudio" for "wav"), from
  // win.ini or the registry's list that stands for it; empty text when none is listed.
  std::string MciTypeForExtension(const std::string& extension);
  // What "open" names for a file: its type, "!" and its short path (the long one where
  // the volume has no short names), in quotes when it holds a blank.
  std::string DeviceName(const std::string& file);
  // What the main window's unload does with the media: the CD stopped with its track
  // kept, the files saved, the exit event played waiting, every device closed.
  void ExitSequence();

  // The "Play Settings" buttons and boxes beyond "Play" and "Stop".
  void PauseButton(int event);
  void RepeatButton(int event);
  void LoopVideoChanged(int event);
  void MuteVideoChanged(int event);
  void PlayOneCdTrackChanged();
  // How far the event's file or CD track has played, for the "Play" button's tip; empty
  // while nothing is open.
  std::string PlayStatusText(int event);

  bool DeviceInUse(int event) const { return inUse_.at(static_cast<std::size_t>(event)); }
  bool CdPlaying() const { return cdPlaying_; }
  int CdTracks() const { return cdTracks_; }

 private:
  bool Send(const std::string& command, std::string& reply, std::string* errorText,
            std::initializer_list<unsigned long> alsoQuiet);
  // An open that failed, told unless the failure has been told already.
  void TellOpenFailure(const std::string& code, const std::string& errorText);
  const std::string& File(int event) const;
  static std::string Alias(int event);
  bool IsCd(int event) const;
  // The device's mode ("playing", "paused", "stopped", ...), or "closed" when it is not open.
  std::string DeviceMode(int event);
  std::string BackgroundPlayCommand(int event) const;
  void SetEventFile(int event, const std::string& file);
  void TellMissing(const std::string& file);
  void ResetPauseCaption(int event);
  void Tell(const std::string& text, int style, const std::string& title);
  // The video window's handle as the device tells it; 0 when it has none.
  unsigned long VideoWindow(int event);
  void PlaceVideoWindow(int event);
  void StoreVideoWindow(int event);
  void WireOptionsDialog();

  // Collaborators.
  Mci& mci_;
  FileSystem& files_;
  Ui& ui_;
  ProfileFiles& profiles_;
  Registry& registry_;
  Desktop& desktop_;
  Options& options_;
  Settings& settings_;
  MainView& view_;
  TrayTip& tray_;
  // The options dialog's Play Settings, which this group serves.
  FrmOptions& dialog_;
  std::array<bool, kMediaEvents> inUse_{};
  // The file each event's device was opened with.
  std::array<std::string, kMediaEvents> openFiles_{};
  bool cdPlaying_ = false;
  // The event that started the CD, whose file keeps the track when it stops.
  int cdEvent_ = 0;
  int cdTracks_ = 0;
  // What "Pause" sends to go on playing a CD it stopped.
  std::string pendingCdCommand_;
};

}  // namespace tapestrel
