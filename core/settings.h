// Reading and writing the program's options in its settings store: the load group
// (start-up and "Load Settings"), the save-all group ("S&ave Settings", "Exit and &Save"),
// the options group, the decoder group, and the two list sections.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tapestrel {

class SettingsStore;
struct Options;
struct ProgramState;

inline constexpr const char* kStartUpSection = "StartUp";
inline constexpr const char* kActiveDirectoriesSection = "ActiveDirectories";
inline constexpr const char* kBackDropHistorySection = "BackDropHistory";
// Wallpapers the history remembers.
inline constexpr std::size_t kHistorySize = 5;

class Settings {
 public:
  Settings(SettingsStore& store, Options& options, ProgramState& state)
      : store_(store), options_(options), state_(state) {}

  // Reads every option in the load order; an absent key yields its default.
  void Load();
  // The start-up choice read before anything else is shown.
  void LoadNormalWindowAtStart();

  // Writes every option in the save-all order.
  void SaveAll();
  // The options group, also written when the options dialog is confirmed.
  void SaveOptions();
  void SaveDecoderSettings();
  // The arrangement of screens and the options of picking and shrinking for them.
  void SaveScreenOptions();
  // What confirming the options dialog writes at once: each start choice, or only those
  // that differ from `before` when it is given.
  void SaveStartChoices(const Options* before = nullptr);
  void SaveWallPaperName();
  // The media events' files ("mciEvents" and the event's digit), written on every unload
  // and when a CD event keeps the track it stopped at; and the video window's place.
  void SaveMediaEventFiles();
  void SaveMediaEventFile(int event);
  // An event's file as the store holds it (none: not there), and putting such a reading
  // back, so that a dialog cancelled can leave the store as it found it.
  std::optional<std::string> StoredMediaEventFile(int event);
  void PutBackMediaEventFile(int event, const std::optional<std::string>& stored);
  void SaveEventWindow();
  void SaveFolderHistories();
  void LoadFolderHistories();

  // "BackDropHistory": keys "1", "2", ...; reading stops at the first empty value.
  std::vector<std::string> LoadHistory();
  void SaveHistory(const std::vector<std::string>& paths, std::size_t slots = kHistorySize);

  // "ActiveDirectories": keys "000001", "000002", ...; reading stops at the first
  // missing or empty key.
  static std::string ActiveDirectoryKey(int position);
  std::vector<std::string> LoadActiveDirectories();
  void SaveActiveDirectories(const std::vector<std::string>& folders);
  // One more active folder, at its 1-based position.
  void AddActiveDirectory(int position, const std::string& folder);

 private:
  std::string Get(const std::string& key, const std::string& fallback);
  void Put(const std::string& key, const std::string& value);

  SettingsStore& store_;
  Options& options_;
  ProgramState& state_;
};

}  // namespace tapestrel
