#include "core/settings.h"

#include <functional>
#include <sstream>

#include "core/options.h"
#include "core/program_state.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace tapestrel {

namespace {

// One stored option: where it is read and written, its default, and how its text
// maps to the value held in `Options`. The decoder keys are read under one spelling
// and written under another; the store compares keys without regard to case.
struct Entry {
  std::string readKey;
  std::string writeKey;
  std::string fallback;
  std::function<void(Options&, const std::string&)> read;
  std::function<std::string(const Options&)> write;
};

using Group = std::vector<Entry>;

int readWhole(const std::string& text, int fallback) {
  return StartsWithNumber(text) ? LeadingInteger(text) : fallback;
}

Entry whole(const std::string& key, int Options::*member, int fallback) {
  return {key, key, NumberText(fallback),
          [member, fallback](Options& o, const std::string& t) { o.*member = readWhole(t, fallback); },
          [member](const Options& o) { return NumberText(o.*member); }};
}

Entry flag(const std::string& readKey, const std::string& writeKey, bool Options::*member, bool fallback) {
  return {readKey, writeKey, FlagText(fallback),
          [member, fallback](Options& o, const std::string& t) { o.*member = ReadFlag(t, fallback); },
          [member](const Options& o) { return FlagText(o.*member); }};
}

Entry text(const std::string& key, std::string Options::*member, const std::string& fallback) {
  return {key, key, fallback, [member](Options& o, const std::string& t) { o.*member = t; },
          [member](const Options& o) { return o.*member; }};
}

// An element of one of the text tables; an empty stored value reads as the default.
template <std::size_t N>
Entry item(const std::string& key, std::array<std::string, N> Options::*member, std::size_t index,
           const std::string& fallback) {
  return {
      key, key, fallback,
      [member, index, fallback](Options& o, const std::string& t) { (o.*member)[index] = t.empty() ? fallback : t; },
      [member, index](const Options& o) { return (o.*member)[index]; }};
}

// An element of one of the number tables.
template <std::size_t N>
Entry wholeItem(const std::string& key, std::array<int, N> Options::*member, std::size_t index, int fallback) {
  return {key, key, NumberText(fallback),
          [member, index, fallback](Options& o, const std::string& t) { (o.*member)[index] = readWhole(t, fallback); },
          [member, index](const Options& o) { return NumberText((o.*member)[index]); }};
}

Group operator+(Group a, const Group& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

template <std::size_t N>
Group series(const std::string& prefix, int first, std::array<std::string, N> Options::*member, std::size_t offset,
             std::size_t count, const std::string& fallback) {
  Group g;
  for (std::size_t i = 0; i < count; ++i)
    g.push_back(item(prefix + std::to_string(first + static_cast<int>(i)), member, offset + i, fallback));
  return g;
}

const Group& confirmationGroup() {
  static const Group g{flag("DeleteConfirmation", "DeleteConfirmation", &Options::DeleteConfirmation, true),
                       flag("RenameOnCollision", "RenameOnCollision", &Options::RenameOnCollision, true)};
  return g;
}

const Group& hotKeyGroup() {
  static const Group g{
      {"DesktopHotKey", "DesktopHotKey", "0 123",
       [](Options& o, const std::string& t) {
         std::istringstream in(t);
         int modifier = 0;
         int code = 123;
         if (in >> modifier >> code) {
           o.HotKeyModifier = modifier;
           o.HotKeyCode = code;
         } else {
           o.HotKeyModifier = 0;
           o.HotKeyCode = 123;
         }
       },
       [](const Options& o) { return NumberText(o.HotKeyModifier) + " " + NumberText(o.HotKeyCode); }}};
  return g;
}

const Group& viewGroup() {
  static const Group g{
      {"ListViewView0", "ListViewView0", "0",
       [](Options& o, const std::string& t) { o.ListViewView[0] = readWhole(t, 0); },
       [](const Options& o) { return NumberText(o.ListViewView[0]); }},
      {"ListViewView1", "ListViewView1", "0",
       [](Options& o, const std::string& t) { o.ListViewView[1] = readWhole(t, 0); },
       [](const Options& o) { return NumberText(o.ListViewView[1]); }},
      whole("SortKey", &Options::SortKey, 0),
      {"SortOrder", "SortOrder", "0",
       [](Options& o, const std::string& t) { o.SortOrder = static_cast<std::int16_t>(readWhole(t, 0)); },
       [](const Options& o) { return NumberText(o.SortOrder); }},
      whole("BackdropMode", &Options::BackdropMode, 0)};
  return g;
}

const Group& programsGroup() {
  static const Group g = series("Viewer", 1, &Options::Programs, 0, 5, "internal") +
                         series("Editor", 1, &Options::Programs, 5, 5, "Enter an editor") +
                         Group{whole("Viewer", &Options::Viewer, 0), whole("Editor", &Options::Editor, 5)};
  return g;
}

const Group& filtersGroup() {
  static const Group g = series("ActiveFilters", 0, &Options::ActiveFilters, 0, 3, "*") +
                         series("NotBmpFileFilter", 1, &Options::NotBmpFileFilter, 0, 5, "*") +
                         series("BmpFileFilter", 1, &Options::BmpFileFilter, 0, 5, "*") +
                         series("CustomFilter", 1, &Options::CustomFilter, 0, 5, "*.*");
  return g;
}

const Group& startChoicesGroup() {
  static const Group g{whole("ChangeWallpaperAtStart", &Options::ChangeWallpaperAtStart, 0),
                       whole("FillFromActiveFolders", &Options::FillFromActiveFolders, 0),
                       {"NormalWindowAtStart", "NormalWindowAtStart", "1",
                        [](Options& o, const std::string& t) { o.NormalWindowAtStart = ReadFlag(t, true); },
                        [](const Options& o) { return NumberText(o.NormalWindowAtStart ? 1 : 0); }}};
  return g;
}

// The options of the options dialog, in the order they are written.
const Group& dialogOptionsGroup() {
  static const Group g{text("Defaults", &Options::Defaults, ""),
                       text("Defaults1", &Options::DefaultScreenSaver, ""),
                       whole("ChangeRandomly", &Options::ChangeRandomly, 0),
                       whole("JpegCommentOn", &Options::JpegCommentOn, 1),
                       whole("DosBoxWindowState", &Options::DosBoxWindowState, 0),
                       whole("LoadAltsOnBoot", &Options::LoadAltsOnBoot, 0),
                       whole("SaveSettingsImmediately", &Options::SaveSettingsImmediately, 1),
                       whole("SortAtStart", &Options::SortAtStart, 0),
                       whole("SpeedFill", &Options::SpeedFill, 1),
                       whole("OpenExplorerStyle", &Options::OpenExplorerStyle, 0),
                       whole("RemoveAfterDecode", &Options::RemoveAfterDecode, 0),
                       whole("ToolBarWrappable", &Options::ToolBarWrappable, 1)};
  return g;
}

// The files of the three media events, each key followed by the event's digit.
const Group& mediaEventFilesGroup() {
  static const Group g = series("mciEvents", 0, &Options::mciEvents, 0, kMediaEvents, "");
  return g;
}

const Group& mediaGroup() {
  static const Group g = [] {
    Group media{whole("PlayOneCDTrack", &Options::PlayOneCDTrack, 1)};
    media = media + mediaEventFilesGroup();
    const std::pair<const char*, std::array<int, kMediaEvents> Options::*> flags[] = {
        {"mciEventsOn", &Options::mciEventsOn},
        {"PlayNext", &Options::PlayNext},
        {"MuteAvi", &Options::MuteAvi},
        {"LoopVideo", &Options::LoopVideo}};
    for (const auto& [key, member] : flags)
      for (std::size_t i = 0; i < kMediaEvents; ++i) media.push_back(wholeItem(key + std::to_string(i), member, i, 0));
    return media;
  }();
  return g;
}

// Written at once when a video window closes, never by the groups.
const Entry& eventWindowEntry() {
  static const Entry e = text("EventWindow", &Options::EventWindow, "");
  return e;
}

const Group& windowOptionsGroup() {
  static const Group g{whole("MinimizeToTray", &Options::MinimizeToTray, 0),
                       whole("DefaultStyle", &Options::DefaultStyle, 0),
                       whole("ClearActiveFolders", &Options::ClearActiveFolders, 0),
                       whole("TryJpg2BmpNoConfirm", &Options::TryJpg2BmpNoConfirm, 0),
                       whole("ViewingWindowSize", &Options::ViewingWindowSize, 0),
                       whole("ImageCenterStyle", &Options::ImageCenterStyle, 1)};
  return g;
}

// How pictures go on the screens, written after the older options.
const Group& screensGroup() {
  static const Group g{whole("ScreenArrangement", &Options::ScreenArrangement, 0),
                       flag("SmoothShrinking", "SmoothShrinking", &Options::SmoothShrinking, true),
                       flag("MatchOrientation", "MatchOrientation", &Options::MatchOrientation, false),
                       whole("SkipSmallerThanPercent", &Options::SkipSmallerThanPercent, 0)};
  return g;
}

// Written by "save options": from "Defaults" to the last custom filter.
const Group& saveOptionsGroup() {
  static const Group g =
      dialogOptionsGroup() + mediaGroup() + hotKeyGroup() + windowOptionsGroup() + programsGroup() + filtersGroup();
  return g;
}

// Read by "load options" (the media keys and the start choices have their own places).
const Group& loadOptionsGroup() {
  static const Group g = Group{startChoicesGroup()[0], startChoicesGroup()[1]} + windowOptionsGroup() +
                         dialogOptionsGroup() + Group{whole("RunProgramAtStartUp", &Options::RunProgramAtStartUp, 0)} +
                         screensGroup();
  return g;
}

const Group& decoderGroup() {
  static const Group g{
      text("ColorDepth", &Options::ColorDepth, ""),
      flag("InternalDecoding", "InternalDecoding", &Options::InternalDecoding, false),
      flag("ReduceJpegSize", "ReduceJpegSize", &Options::ReduceJpegSize, true),
      {"Gvbox_DCTMethod", "GVBox_DCTMethod", "2",
       [](Options& o, const std::string& t) { o.DctMethod = readWhole(t, 2); },
       [](const Options& o) { return NumberText(o.DctMethod); }},
      {"Gvbox_Dither", "GVBox_Dither", "0", [](Options& o, const std::string& t) { o.Dither = readWhole(t, 0); },
       [](const Options& o) { return NumberText(o.Dither); }},
      {"Gvbox_JPEGDither", "GVBox_JPEGDither", "0",
       [](Options& o, const std::string& t) { o.JpegDither = readWhole(t, 0); },
       [](const Options& o) { return NumberText(o.JpegDither); }},
      flag("Gvbox_FancyUpsampling", "GVBox_FancyUpsampling", &Options::FancyUpsampling, true),
      flag("Gvbox_TwoPassQuantize", "GVBox_TwoPassQuantize", &Options::TwoPassQuantize, true)};
  return g;
}

const Entry& wallPaperNameEntry() {
  static const Entry e = text("WallPaperName", &Options::WallPaperName, "");
  return e;
}

const Entry& intervalEntry() {
  static const Entry e{"WallPaperChangeInterval", "WallPaperChangeInterval", "1",
                       [](Options& o, const std::string& t) {
                         // An interval that is not a positive number would change the
                         // wallpaper on every tick; keep the default instead.
                         // One written in another form ("1e20") or beyond 30 days is kept
                         // within what the boxes take.
                         const double minutes = LeadingNumber(t);
                         o.WallPaperChangeInterval =
                             StartsWithNumber(t) && minutes > 0 ? std::min(minutes, kLongestInterval) : 1;
                       },
                       [](const Options& o) { return NumberText(o.WallPaperChangeInterval); }};
  return e;
}

const Entry& alternatePatternEntry() {
  static const Entry e{"AlternateFilePattern", "AlternateFilePattern", ".jp?",
                       [](Options& o, const std::string& t) { o.AlternateFilePattern = t.empty() ? ".jp?" : t; },
                       [](const Options& o) { return o.AlternateFilePattern; }};
  return e;
}

const Entry& splitPointEntry() {
  static const Entry e{"StartupSplitPoint", "StartupSplitPoint", "0",
                       [](Options& o, const std::string& t) { o.StartupSplitPoint = readWhole(t, 0); },
                       [](const Options& o) { return NumberText(o.StartupSplitPoint); }};
  return e;
}

}  // namespace

std::string Settings::Get(const std::string& key, const std::string& fallback) {
  return store_.GetSetting(kStartUpSection, key, fallback);
}

void Settings::Put(const std::string& key, const std::string& value) {
  store_.SaveSetting(kStartUpSection, key, value);
}

void Settings::Load() {
  Options& o = options_;
  const auto readOne = [&](const Entry& e) { e.read(o, Get(e.readKey, e.fallback)); };
  const auto read = [&](const Group& group) {
    for (const Entry& e : group) readOne(e);
  };
  readOne(wallPaperNameEntry());
  read(confirmationGroup());
  read(hotKeyGroup());
  (void)LoadHistory();
  readOne(intervalEntry());

  std::istringstream position(Get("WindowPosition", ""));
  WindowPlacement placement;
  o.HasWindowPosition =
      static_cast<bool>(position >> placement.left >> placement.top >> placement.width >> placement.height);
  if (o.HasWindowPosition) o.WindowPosition = placement;
  readOne(splitPointEntry());

  read(viewGroup());
  read(programsGroup());
  read(decoderGroup());
  read(filtersGroup());
  readOne(alternatePatternEntry());
  LoadFolderHistories();
  read(loadOptionsGroup());
  read(mediaGroup());
  readOne(eventWindowEntry());
}

void Settings::SaveMediaEventFiles() {
  for (const Entry& e : mediaEventFilesGroup()) Put(e.writeKey, e.write(options_));
}

void Settings::SaveMediaEventFile(int event) {
  const Entry& e = mediaEventFilesGroup().at(static_cast<std::size_t>(event));
  Put(e.writeKey, e.write(options_));
}

std::optional<std::string> Settings::StoredMediaEventFile(int event) {
  const Entry& e = mediaEventFilesGroup().at(static_cast<std::size_t>(event));
  constexpr const char* kAbsent = "\x01";
  const std::string value = Get(e.writeKey, kAbsent);
  if (value == kAbsent) return std::nullopt;
  return value;
}

void Settings::PutBackMediaEventFile(int event, const std::optional<std::string>& stored) {
  const Entry& e = mediaEventFilesGroup().at(static_cast<std::size_t>(event));
  if (StoredMediaEventFile(event) == stored) return;
  if (stored) Put(e.writeKey, *stored);
  else store_.DeleteSetting(kStartUpSection, e.writeKey);
}

void Settings::SaveEventWindow() { Put(eventWindowEntry().writeKey, options_.EventWindow); }

void Settings::LoadNormalWindowAtStart() {
  const Entry& e = startChoicesGroup()[2];
  e.read(options_, Get(e.readKey, e.fallback));
}

void Settings::SaveAll() {
  const Options& o = options_;
  const auto write = [&](const Entry& e) { Put(e.writeKey, e.write(o)); };
  write(splitPointEntry());
  if (o.HasWindowPosition) {
    const WindowPlacement& p = o.WindowPosition;
    Put("WindowPosition",
        NumberText(p.left) + " " + NumberText(p.top) + " " + NumberText(p.width) + " " + NumberText(p.height));
  }
  write(viewGroup()[4]);  // BackdropMode
  SaveOptions();
  SaveScreenOptions();
  SaveDecoderSettings();
  for (const Entry& e : confirmationGroup()) write(e);
  write(viewGroup()[0]);
  write(viewGroup()[1]);
  SaveFolderHistories();
  write(wallPaperNameEntry());
  write(viewGroup()[2]);  // SortKey
  write(viewGroup()[3]);  // SortOrder
  write(intervalEntry());
  write(alternatePatternEntry());
}

void Settings::SaveOptions() {
  for (const Entry& e : saveOptionsGroup()) Put(e.writeKey, e.write(options_));
}

void Settings::SaveScreenOptions() {
  for (const Entry& e : screensGroup()) Put(e.writeKey, e.write(options_));
}

void Settings::SaveDecoderSettings() {
  for (const Entry& e : decoderGroup()) Put(e.writeKey, e.write(options_));
}

void Settings::SaveStartChoices(const Options* before) {
  for (const Entry& e : startChoicesGroup()) {
    const std::string value = e.write(options_);
    if (!before || e.write(*before) != value) Put(e.writeKey, value);
  }
}

void Settings::SaveWallPaperName() { Put("WallPaperName", options_.WallPaperName); }

void Settings::SaveFolderHistories() {
  const Options& o = options_;
  for (int i = 1; i <= 5; ++i) {
    Put("PictureDirectory" + std::to_string(i), o.Folders[i - 1]);
    Put("MoveDirectory" + std::to_string(i), o.Folders[4 + i]);
  }
  Put("PictureDirectory", NumberText(o.PictureDirectory));
  Put("MoveDirectory", NumberText(o.MoveDirectory));
}

void Settings::LoadFolderHistories() {
  Options& o = options_;
  const std::string programFolder = state_.ProgramFolder;
  for (int i = 1; i <= 5; ++i) {
    o.Folders[i - 1] = Get("PictureDirectory" + std::to_string(i), programFolder);
    o.Folders[4 + i] = Get("MoveDirectory" + std::to_string(i), programFolder);
  }
  // A position outside its half of the table would name the wrong kind of folder.
  const int picture = readWhole(Get("PictureDirectory", "0"), 0);
  const int move = readWhole(Get("MoveDirectory", "5"), 5);
  o.PictureDirectory = picture >= 0 && picture <= 4 ? picture : 0;
  o.MoveDirectory = move >= 5 && move <= 9 ? move : 5;
}

std::vector<std::string> Settings::LoadHistory() {
  std::vector<std::string> paths;
  // The history keeps five; more stored by hand or by another version are not shown.
  for (int i = 1; paths.size() < kHistorySize; ++i) {
    std::string path = store_.GetSetting(kBackDropHistorySection, std::to_string(i), "");
    if (path.empty()) break;
    paths.push_back(std::move(path));
  }
  state_.History = paths;
  return paths;
}

void Settings::SaveHistory(const std::vector<std::string>& paths, std::size_t slots) {
  store_.DeleteSection(kBackDropHistorySection);
  for (std::size_t i = 0; i < std::max(slots, paths.size()); ++i)
    store_.SaveSetting(kBackDropHistorySection, std::to_string(i + 1), i < paths.size() ? paths[i] : "");
}

std::string Settings::ActiveDirectoryKey(int position) { return FormatNumber(position, "000000"); }

std::vector<std::string> Settings::LoadActiveDirectories() {
  std::vector<std::string> folders;
  for (int i = 1;; ++i) {
    std::string folder = store_.GetSetting(kActiveDirectoriesSection, ActiveDirectoryKey(i), "");
    if (folder.empty()) break;
    folders.push_back(std::move(folder));
  }
  return folders;
}

void Settings::SaveActiveDirectories(const std::vector<std::string>& folders) {
  store_.DeleteSection(kActiveDirectoriesSection);
  for (std::size_t i = 0; i < folders.size(); ++i)
    store_.SaveSetting(kActiveDirectoriesSection, ActiveDirectoryKey(static_cast<int>(i) + 1), folders[i]);
}

void Settings::AddActiveDirectory(int position, const std::string& folder) {
  store_.SaveSetting(kActiveDirectoriesSection, ActiveDirectoryKey(position), folder);
}

}  // namespace tapestrel
