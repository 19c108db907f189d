#include "desktop/frm_options.h"

#include <algorithm>
#include <utility>

#include "catalogue/file_list.h"
#include "catalogue/folder_set.h"
#include "catalogue/outside_programs.h"
#include "core/main_view.h"
#include "core/settings.h"
#include "desktop/hot_key.h"
#include "desktop/run_at_start_up.h"
#include "desktop/screen_saver.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "wallpaper/wallpaper_writer.h"

namespace tapestrel {

namespace {

// The check boxes that each set one option to their value (box 10 sets none, box 15 is
// served by the media events).
struct BoxOption {
  int index;
  int Options::*option;
};
const BoxOption kBoxOptions[] = {
    {0, &Options::ToolBarWrappable},    {1, &Options::ChangeRandomly},
    {2, &Options::JpegCommentOn},       {3, &Options::DosBoxWindowState},
    {4, &Options::OpenExplorerStyle},   {5, &Options::RemoveAfterDecode},
    {6, &Options::SaveSettingsImmediately}, {7, &Options::SortAtStart},
    {8, &Options::SpeedFill},           {9, &Options::ChangeWallpaperAtStart},
    {11, &Options::FillFromActiveFolders}, {12, &Options::LoadAltsOnBoot},
    {13, &Options::RunProgramAtStartUp}, {14, &Options::TryJpg2BmpNoConfirm},
    {18, &Options::ClearActiveFolders}, {19, &Options::MinimizeToTray},
};
constexpr int kSplashBox = 10;

const char* const kMciBrowseTitles[] = {"Browse for events to associate with program load.",
                                        "Browse for events to associate with backdrop change.",
                                        "Browse for events to associate with exit."};

const std::vector<std::pair<std::string, std::string>>& mciFilters() {
  static const std::vector<std::pair<std::string, std::string>> filters{
      {"Mci files",
       "*.wav;*.rmi;*.mid;*.avi;*.fli;*.flc;*.aas;*.mpg;*.mpeg;*.mpe;*.mov;*.jpg;*.jpeg;*.pic;*.cda;*.au;*.snd;*.mp2"},
      {"CD audio (*.cda)", "*.cda"},
      {"Wave audio (*.wav)", "*.wav"},
      {"Midi and Rmi sequences (*.mid *.rmi)", "*.mid;*.rmi"},
      {"Avi video (*.avi)", "*.avi"},
      {"Mpeg video", "*.mpg;*.mpe;*.mpeg;*.dat;*.m1v;*.mpa;*.mpv"},
      {"QuickTime (*.mov *.pic *.jpg)", "*.mov;*.pic;*.jpg;*.jpe;*.jpeg"},
      {"Animations (*.fli *.flc *.aas)", "*.flc;*.aas;*.fli"}};
  return filters;
}

// The filter (counted from 1) the event browser opens on: the kind of the current
// file, else every media file.
int mciFilterFor(const std::string& file) {
  const std::string name = FilePart(file);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return 1;
  const std::string wanted = "*" + ToLower(name.substr(dot));
  const auto& filters = mciFilters();
  for (std::size_t i = 1; i < filters.size(); ++i) {
    const std::string& patterns = filters[i].second;
    std::size_t start = 0;
    while (start <= patterns.size()) {
      const std::size_t end = std::min(patterns.find(';', start), patterns.size());
      if (patterns.substr(start, end - start) == wanted) return static_cast<int>(i) + 1;
      start = end + 1;
    }
  }
  return 1;
}

}  // namespace

void CopyDialogOptions(const Options& from, Options& to) {
  for (const BoxOption& b : kBoxOptions) to.*b.option = from.*b.option;
  to.PlayOneCDTrack = from.PlayOneCDTrack;
  to.NormalWindowAtStart = from.NormalWindowAtStart;
  to.ViewingWindowSize = from.ViewingWindowSize;
  to.SmoothShrinking = from.SmoothShrinking;
  to.MatchOrientation = from.MatchOrientation;
  to.SkipSmallerThanPercent = from.SkipSmallerThanPercent;
  to.ImageCenterStyle = from.ImageCenterStyle;
  to.DefaultStyle = from.DefaultStyle;
  to.Defaults = from.Defaults;
  to.DefaultScreenSaver = from.DefaultScreenSaver;
  to.ActiveFilters = from.ActiveFilters;
  to.NotBmpFileFilter = from.NotBmpFileFilter;
  to.BmpFileFilter = from.BmpFileFilter;
  to.CustomFilter = from.CustomFilter;
  to.Programs = from.Programs;
  to.Viewer = from.Viewer;
  to.Editor = from.Editor;
  to.mciEvents = from.mciEvents;
  to.mciEventsOn = from.mciEventsOn;
  to.PlayNext = from.PlayNext;
  to.LoopVideo = from.LoopVideo;
  to.MuteAvi = from.MuteAvi;
  to.HotKeyModifier = from.HotKeyModifier;
  to.HotKeyCode = from.HotKeyCode;
}

FrmOptions::FrmOptions(Ui& ui, FileSystem& files, SettingsStore& store, Options& options, Settings& settings,
                       RegistryRoutines& registry, FileList& list, FolderSet& folders, OutsidePrograms& outside,
                       WallpaperWriter& writer, ScreenSaver& screenSaver, MainView& view)
    : Form("frmOptions", 7560, 6330),
      ui_(ui),
      files_(files),
      store_(store),
      options_(options),
      settings_(settings),
      registry_(registry),
      list_(list),
      folders_(folders),
      outside_(outside),
      writer_(writer),
      screenSaver_(screenSaver),
      view_(view) {
  Sizable = false;
  TopMost = true;
  DialogKeys = true;
  KeyPreview = true;
  SetCaptions();
  LayOut();
  ConnectEvents();
  ShowTab(FileOptions);
}

FrmOptions::AddStyle FrmOptions::ActiveAddStyle() const {
  if (optActiveDirectoryAddStyle[0].Value()) return FolderOnly;
  return optActiveDirectoryAddStyle[2].Value() ? AllBelow : SubFolders;
}

void FrmOptions::ShowActiveFolders(const std::vector<std::string>& folders) {
  cboActiveDirectories.Clear();
  for (const std::string& folder : folders) cboActiveDirectories.AddItem(folder);
}

std::vector<std::string> FrmOptions::RemoveActiveFolder(int index) {
  cboActiveDirectories.RemoveItem(index);
  return cboActiveDirectories.List();
}

void FrmOptions::EnableActiveFrame(bool enabled) {
  for (int i = 0; i < 3; ++i) optActiveDirectoryAddStyle[i].SetEnabled(enabled);
  cboActiveDirectories.SetEnabled(enabled);
  cmdBrowseForActiveDirectories.SetEnabled(enabled);
  lblOptions[5].SetCaption(enabled ? "Search progress" : "Press <ESC> to stop.");
}

void FrmOptions::ShowProgramChoices(int kind, const std::vector<std::string>& entries, int chosen) {
  ComboBox& combo = cboViewers[kind];
  combo.Clear();
  for (const std::string& entry : entries) combo.AddItem(entry);
  combo.SetListIndex(chosen);
}

void FrmOptions::ConnectEvents() {
  Options& o = options_;
  tabOptions.Click = [this] { ShowTab(tabOptions.SelectedTab()); };
  for (int i = 0; i < 3; ++i) cmdOptions[i].Click = [this, i] { cmdOptions_Click(i); };
  cmdOptions[Cancel].Cancel = true;
  KeyPress = [this](int& key) {
    if (key != 27) return;
    key = 0;
    cmdOptions_Click(Cancel);
  };
  cmdApply.Click = [this] { cmdApply_Click(); };
  Help = [this](Menu*) {
    if (HelpAsked) HelpAsked(5000);
  };

  for (const BoxOption& b : kBoxOptions) {
    const int index = b.index;
    int Options::*option = b.option;
    chkMiscOptions[index].Click = [this, &o, index, option] {
      if (!settingUp_) o.*option = chkMiscOptions[index].Value() != 0;
    };
  }
  chkSmoothShrinking.Click = [this, &o] { if (!settingUp_) o.SmoothShrinking = chkSmoothShrinking.Value() != 0; };
  chkMatchOrientation.Click = [this, &o] { if (!settingUp_) o.MatchOrientation = chkMatchOrientation.Value() != 0; };
  txtSkipSmaller.LostFocus = [this] { StoreSkipSmaller(); };
  optStartStyle[0].Click = [this, &o] { if (!settingUp_) o.NormalWindowAtStart = false; };
  optStartStyle[1].Click = [this, &o] { if (!settingUp_) o.NormalWindowAtStart = true; };
  for (int i = 0; i < 5; ++i)
    optWindowSize[i].Click = [this, &o, i] {
      if (settingUp_) return;
      o.ViewingWindowSize = i;
      cmdApply.SetEnabled(true);
    };
  for (int i = 0; i < 9; ++i)
    optImageJustification[i].Click = [this, &o, i] {
      if (settingUp_) return;
      o.ImageCenterStyle = i;
      cmdApply.SetEnabled(true);
    };
  for (int i = 0; i < 2; ++i) {
    optDefaultStyle[i].Click = [this, &o, i] { if (!settingUp_) o.DefaultStyle = i; };
    cmdBrowseForDefaults[i].Click = [this, i] { BrowseForDefault(i); };
  }
  txtDefaults[0].LostFocus = [this, &o] {
    if (!Leaving(txtDefaults[0])) o.Defaults = Trim(txtDefaults[0].Text());
  };
  txtDefaults[1].LostFocus = [this] {
    txtDefaults[1].SetText(screenSaver_.DefaultFieldLeft(txtDefaults[1].Text(), Leaving(txtDefaults[1])));
  };

  // The hot key: the key pressed in the box becomes it, and goes no further.
  txtPopUpHotKey.WantsAllKeys = true;  // Tab can be the hot key
  txtPopUpHotKey.KeyPress = [](int& key) { key = 0; };
  txtPopUpHotKey.Change = [this, &o] { txtPopUpHotKey.SetText(HotKeyText(o.HotKeyModifier, o.HotKeyCode)); };
  txtPopUpHotKey.KeyDown = [this, &o](int& key, int shift) {
    if (const auto choice = HotKeyEntry(key, shift)) {
      o.HotKeyModifier = choice->modifier;
      o.HotKeyCode = choice->code;
      txtPopUpHotKey.SetText(choice->text);
    }
    key = 0;
  };

  for (int n = 0; n < 10; ++n) {
    txtViewer[n].LostFocus = [this, n] { ProgramFieldLeft(n); };
    cmdBrowseForViewer[n].Click = [this, n] { outside_.BrowseForProgram(n); };
  }
  for (int k = 0; k < 3; ++k) cboFileFilters[k].LostFocus = [this, k] { StoreFilterField(k); };
  cmdOptions[Cancel].LostFocus = [this] {
    if (Control* field = std::exchange(passedOver_, nullptr); field && !Closing) Raise(field->LostFocus);
  };
  for (int event = 0; event < 3; ++event)
    cmdBrowseForMciDevice[event].Click = [this, event] { BrowseForMciDevice(event); };
  cmdBrowseForActiveDirectories.Click = [this] { folders_.BrowseForActiveDirectories(); };
  cboActiveDirectories.KeyDown = [this](int& key, int shift) { folders_.ActiveDirectoriesKeyDown(key, shift); };
}

int FrmOptions::TabOf(const Control& control) const {
  const auto at = std::find_if(tabs_.begin(), tabs_.end(), [&control](const auto& t) { return t.first == &control; });
  return at == tabs_.end() ? -1 : at->second;
}

void FrmOptions::ShowTab(int tab) {
  if (tabOptions.SelectedTab() != tab) tabOptions.SelectTab(tab);
  for (auto& [control, page] : tabs_) const_cast<Control*>(control)->SetVisible(page == tab);
}

void FrmOptions::Open() {
  // Opened again while it shows: it comes to the front with the copy it took first, so
  // that "CANCEL" still puts back everything changed since then.
  if (!Visible()) SetUp();
  if (!Loaded()) Load();
  SetTopMost(true);
  Show();
}

void FrmOptions::SetUp() {
  copy_ = options_;
  // "Stop" on a CD event writes its track at once: CANCEL puts the store back too.
  for (std::size_t i = 0; i < kMediaEvents; ++i)
    storedEventFiles_[i] = settings_.StoredMediaEventFile(static_cast<int>(i));
  Closing = false;
  SetFromOptions();
}

void FrmOptions::SetFromOptions() {
  const Options& o = options_;
  settingUp_ = true;
  for (const BoxOption& b : kBoxOptions) chkMiscOptions[b.index].SetValue(o.*b.option != 0);
  // The splash screen always shows; its box only says so.
  chkMiscOptions[kSplashBox].SetValue(1);
  chkMiscOptions[kSplashBox].SetEnabled(false);
  optStartStyle[o.NormalWindowAtStart ? 1 : 0].SetValue(true);
  optWindowSize[std::clamp(o.ViewingWindowSize, 0, 4)].SetValue(true);
  optImageJustification[std::clamp(o.ImageCenterStyle, 0, 8)].SetValue(true);
  optDefaultStyle[std::clamp(o.DefaultStyle, 0, 1)].SetValue(true);
  txtDefaults[0].SetText(o.Defaults);
  txtDefaults[1].SetText(o.DefaultScreenSaver);
  txtPopUpHotKey.SetText(HotKeyText(o.HotKeyModifier, o.HotKeyCode));

  const std::array<std::string, 5>* const histories[] = {&o.NotBmpFileFilter, &o.BmpFileFilter, &o.CustomFilter};
  for (int k = 0; k < 3; ++k) {
    ComboBox& combo = cboFileFilters[k];
    combo.Clear();
    for (const std::string& filter : *histories[k])
      if (!filter.empty()) combo.AddItem(filter);
    combo.SetText(o.ActiveFilters[static_cast<std::size_t>(k)]);
  }
  for (int n = 0; n < 10; ++n) txtViewer[n].SetText(o.Programs[static_cast<std::size_t>(n)]);
  for (int k = 0; k < 2; ++k) cboViewers[k].Clear();
  outside_.FillProgramChoices();
  folders_.ReloadActiveCombo();

  for (int event = 0; event < 3; ++event) {
    const std::size_t e = static_cast<std::size_t>(event);
    chkMciEvent[event].SetValue(o.mciEventsOn[e] != 0);
    txtMciDevice[event].SetText(o.mciEvents[e]);
    chkLoopVideo[event].SetValue(o.LoopVideo[e] != 0);
    chkMuteVideo[event].SetValue(o.MuteAvi[e] != 0);
    chkPlayNext[event].SetValue(o.PlayNext[e] != 0);
  }
  chkMiscOptions[15].SetValue(o.PlayOneCDTrack != 0);
  chkSmoothShrinking.SetValue(o.SmoothShrinking);
  chkMatchOrientation.SetValue(o.MatchOrientation);
  txtSkipSmaller.SetText(NumberText(std::clamp(o.SkipSmallerThanPercent, 0, 100)));
  cmdApply.SetEnabled(false);
  settingUp_ = false;
}

bool FrmOptions::Leaving(Control& field) {
  if (Closing) return true;
  if (ActiveControl() != &cmdOptions[Cancel]) return false;
  passedOver_ = &field;
  return true;
}

void FrmOptions::ProgramFieldLeft(int n) {
  if (Leaving(txtViewer[n])) return;
  std::string path = Trim(txtViewer[n].Text());
  if (path.empty()) path = n < 5 ? kInternalViewer : kNoEditor;
  if (path != txtViewer[n].Text()) txtViewer[n].SetText(path);
  options_.Programs[static_cast<std::size_t>(n)] = path;
  outside_.FillProgramChoices();
}

void FrmOptions::StoreFilterField(int kind) {
  if (Leaving(cboFileFilters[kind])) return;
  const std::string filter = Trim(cboFileFilters[kind].Text());
  if (filter.empty() || filter == options_.ActiveFilters[static_cast<std::size_t>(kind)]) return;
  list_.SetFilter(kind, filter);
}

std::string FrmOptions::BrowseIntoField(TextBox& field, OpenFileRequest request, bool fieldNamesFile) {
  if (fieldNamesFile) {
    const std::string current = Trim(field.Text());
    request.initialFile = FilePart(current);
    request.initialFolder = DirectoryPart(current);
  }
  SetTopMost(false);
  const std::string chosen = TrimAtNull(ui_.OpenFileName(request));
  SetTopMost(true);
  if (!chosen.empty()) field.SetText(chosen);
  return chosen;
}

void FrmOptions::BrowseForDefault(int index) {
  OpenFileRequest request;
  if (index == 0) {
    request.filters = {{"Bitmaps (*.bmp)", "*.bmp"}};
    request.defaultExtension = "bmp";
    request.title = "Browse for default wallpaper.";
  } else {
    request.filters = {{"Screen savers (*.scr)", "*.scr"}};
    request.defaultExtension = "scr";
    request.title = "Browse for default screen saver.";
  }
  const std::string chosen = BrowseIntoField(txtDefaults[index], request);
  if (chosen.empty()) return;
  (index == 0 ? options_.Defaults : options_.DefaultScreenSaver) = chosen;
}

void FrmOptions::BrowseForMciDevice(int event) {
  const std::string current = Trim(txtMciDevice[event].Text());
  OpenFileRequest request;
  request.filters = mciFilters();
  request.filterIndex = mciFilterFor(current);
  request.title = kMciBrowseTitles[event];
  const std::string chosen = BrowseIntoField(txtMciDevice[event], request);
  if (chosen.empty()) return;
  options_.mciEvents[static_cast<std::size_t>(event)] = chosen;
}

void FrmOptions::cmdOptions_Click(int index) {
  if (index == HelpButton) {
    if (HelpAsked) HelpAsked(5000);
    return;
  }
  // Esc during a search of sub-folders stops the search; the dialog stays.
  if (index == Cancel && folders_.Searching) {
    folders_.Searching = false;
    return;
  }
  view_.ChangeMenuHelpStatusMsg("");
  if (index == Ok) ConfirmDialog();
  else CancelDialog();
}

bool FrmOptions::StoreSkipSmaller() {
  const std::string text = Trim(txtSkipSmaller.Text());
  const bool whole = !text.empty() && text.size() <= 3 && text.find_first_not_of("0123456789") == std::string::npos;
  if (text.empty() || (whole && std::stoi(text) <= 100)) {
    options_.SkipSmallerThanPercent = text.empty() ? 0 : std::stoi(text);
    return true;
  }
  ui_.MsgBox("Enter a whole number from 0 to 100: the share of a screen a picture must have on each side. 0 skips none.",
             mb::OkOnly | mb::Exclamation, kApplicationName);
  txtSkipSmaller.SetText(NumberText(options_.SkipSmallerThanPercent));
  return false;
}

void FrmOptions::ConfirmDialog() {
  for (int k = 0; k < 3; ++k) StoreFilterField(k);
  if (!StoreSkipSmaller()) return;
  if (!outside_.StoreProgramChoices()) return;
  Options& o = options_;
  if (o.ToolBarWrappable != copy_.ToolBarWrappable) view_.InitializeToolBar();
  const auto place = ApplyRunAtStartUp(files_, registry_, store_, options_);
  if (place == RegistryRoutines::RunEntryPlace::User && copy_.RunProgramAtStartUp == 0)
    ui_.MsgBox("Tapestrel will start when you log on to Windows. Only an administrator can start it for every user, "
               "so it is entered for you alone.",
               mb::OkOnly | mb::Information, kApplicationName);
  settings_.SaveStartChoices(&copy_);
  if (o.SaveSettingsImmediately) {
    settings_.SaveOptions();
    settings_.SaveScreenOptions();
  }
  // A new viewing size or place not yet applied takes effect now.
  if (cmdApply.Enabled()) cmdApply_Click();
  Closing = true;
  passedOver_ = nullptr;
  Hide();
  Closing = false;
}

void FrmOptions::CancelDialog() {
  Closing = true;
  passedOver_ = nullptr;
  const Options changed = options_;
  CopyDialogOptions(copy_, options_);
  // What was already applied goes back as well: a playing video's loop and sound, and
  // event files the store took while the dialog was open.
  for (int i = 0; i < static_cast<int>(kMediaEvents); ++i) {
    const std::size_t n = static_cast<std::size_t>(i);
    if (changed.LoopVideo[n] != copy_.LoopVideo[n] && LoopVideoPutBack) LoopVideoPutBack(i);
    if (changed.MuteAvi[n] != copy_.MuteAvi[n] && MuteVideoPutBack) MuteVideoPutBack(i);
    settings_.PutBackMediaEventFile(i, storedEventFiles_[n]);
  }
  list_.ShowFilterPanels();
  Hide();
  Closing = false;
}

void FrmOptions::cmdApply_Click() {
  writer_.ViewingOptionsChanged();
  cmdApply.SetEnabled(false);
}

bool FrmOptions::Form_UserClose() {
  // The close box cancels; the dialog is only hidden.
  cmdOptions_Click(Cancel);
  return false;
}

}  // namespace tapestrel
