#include "catalogue/file_list.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <unordered_set>

#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "core/settings.h"
#include "core/tray_tip.h"
#include "imaging/header_reader.h"
#include "platform/controls/list_view.h"
#include "platform/desktop.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {

constexpr int kEscape = 27;
// Types whose "image info" shows the picture's size after the file's.
constexpr const char* kMeasuredTypes = " bmp jpeg jpg gif pcx tga wmf tif ";
// Types whose headers a fill reads.
constexpr const char* kReadTypes = " bmp jpg jpe jpeg gif pcx tga tif wmf ";

std::string lowerKey(const std::string& folder, const std::string& name) { return ToLower(folder + name); }

// Runs one step of work under its own trap: a failure is told as "<description> (<number>)
// has occurred while <doing>" and answers false; the program goes on.
bool trapped(Ui& ui, const char* doing, const std::function<void()>& work) {
  try {
    WithPictureMemory(work);
    return true;
  } catch (const RuntimeError& e) {
    ui.MsgBox(e.description + " (" + NumberText(e.number) + ") " + "has occurred while " + doing, mb::OkOnly | mb::Exclamation,
              kApplicationName);
    return false;
  }
}

}  // namespace

ListView& FileList::Current() const { return view_.CurrentFileList(); }

std::string FileList::FileTypeOf(const std::string& name) {
  // The last three characters in lower case ("jpeg" and "mpeg" keep four).
  if (name.size() >= 4) {
    const std::string four = ToLower(std::string_view(name).substr(name.size() - 4));
    if (four == "jpeg" || four == "mpeg") return four;
  }
  // Cut at a character, never inside a UTF-8 sequence.
  return ToLower(std::string_view(name).substr(CharacterStart(name, name.size() >= 3 ? name.size() - 3 : 0)));
}

std::vector<std::string> FileList::CustomPatterns() const {
  std::vector<std::string> patterns;
  std::istringstream words(options_.ActiveFilters[2]);
  for (std::string word; words >> word;) patterns.push_back(ToLower(word));
  return patterns;
}

std::string FileList::CurrentPattern() const {
  const Options& o = options_;
  if (view_.CurrentList() == 1) return o.ActiveFilters[1] + ".bmp";
  if (o.AlternateFilePattern == "User") return "*.*";
  return o.ActiveFilters[0] + o.AlternateFilePattern;
}

std::string FileList::FormatFileSize(std::uint64_t size, bool inKiloBytes) {
  const double bytes = static_cast<double>(size);
  if (inKiloBytes) return FormatNumber(bytes / 1024, "#,###.#") + " kb ";
  if (size < 1000) return FormatNumber(bytes, "#,###") + " b ";
  if (size < 1000000) return FormatNumber(bytes / 1024, "#,###.##") + " kb ";
  return FormatNumber(bytes / 1024 / 1024, "#,###.##") + " Mb ";
}

bool FileList::RefusedWhileBusy() {
  if (!Busy()) return false;
  ui_.Beep();
  return true;
}

void FileList::BeginOperation() {
  operating_ = true;
  folderAtFillStart_ = view_.PaneFolder();
}

void FileList::ForgetEarlierEscape() {
  // The system remembers a press until someone asks: one made before this work began,
  // in another program or before this one started, must not stop it.
  (void)desktop_.KeyPressed(kEscape);
}

bool FileList::EscapePressed() {
  if (desktop_.KeyPressed(kEscape)) state_.Escape = true;
  return state_.Escape;
}

void FileList::ShowProgress(int current, int mode, int total, const std::string& suffix) {
  if (current % 10 != 0 && current != total) return;
  static const char* const heads[] = {"Processing selected file(s): Total ", "Reading in file list: Total ",
                                      "Checking for successful operation: Total "};
  std::string text = heads[std::clamp(mode, 0, 2)] + NumberText(current);
  if (mode != 1) text += " of " + NumberText(total);
  text += suffix;
  // While the window is minimized the notification-area tip takes progress instead.
  if (!view_.Minimized()) view_.ChangeMainStatusMsg(text);
  else tray_.TrayModify(text);
}

bool FileList::StepGoesOn(int done, int total, const char* suffix) {
  ShowProgress(done, 0, total, suffix);
  ui_.DoEvents();
  if (!EscapePressed()) return true;
  state_.Escape = false;
  return false;
}

void FileList::SetFilter(int kind, const std::string& filter) {
  Options& o = options_;
  std::array<std::string, 5>* const histories[] = {&o.NotBmpFileFilter, &o.BmpFileFilter, &o.CustomFilter};
  const std::size_t k = static_cast<std::size_t>(std::clamp(kind, 0, 2));
  o.ActiveFilters[k] = filter;
  AddToFilterHistory(*histories[k], filter);
  ShowFilterPanels();
}

void FileList::ShowFilterPanels() {
  const Options& o = options_;
  view_.ShowFilter(1, o.ActiveFilters[1] + ".bmp");
  view_.ShowFilter(0,
                   o.AlternateFilePattern == "User" ? o.ActiveFilters[2] : o.ActiveFilters[0] + o.AlternateFilePattern);
}

void FileList::ShowTotals() {
  const ListView& list = Current();
  std::string text = "Total " + NumberText(list.Count()) + " file(s)";
  text += options_.SpeedFill ? " (??? MB)" : " (" + FormatFileSize(totalBytes_, false) + ")";
  view_.ChangeMainStatusMsg(text);
}

void FileList::RefreshSelection() {
  const ListView& list = Current();
  if (shownList_ == view_.CurrentList() && shownCount_ == list.SelectedCount() && shownFocus_ == list.FocusedIndex())
    return;
  ShowSelection();
}

void FileList::ShowSelection() {
  const ListView& list = Current();
  shownList_ = view_.CurrentList();
  shownCount_ = list.SelectedCount();
  shownFocus_ = list.FocusedIndex();
  std::uint64_t bytes = 0;
  int count = 0;
  for (const ListItem& item : list.Items()) {
    if (!item.selected) continue;
    ++count;
    bytes += files_.FileLength(item.Column(1) + item.text);
  }
  view_.ChangeSecondStatusMsg(NumberText(count) + " file(s) selected " + "(" + FormatFileSize(bytes, false) + ")");
  ShowFocusedDimensions();
}

void FileList::ShowFocusedDimensions() {
  MainView& frm = view_;
  const ListView& list = Current();
  const int focused = list.FocusedIndex();
  if (!frm.InfoMode() || focused < 0 || focused >= list.Count()) return;
  const ListItem& item = list.Items()[static_cast<std::size_t>(focused)];
  // Read quietly: the status bar is no place for a damaged file's questions.
  const bool quiet = state_.HeaderReaderQuiet;
  state_.HeaderReaderQuiet = true;
  headers_.ReadImageHeader(item.Column(1) + item.text);
  state_.HeaderReaderQuiet = quiet;
  frm.ChangeThirdStatusMsg(NumberText(state_.ImageWidth) + "x" + NumberText(state_.ImageHeight));
}

void FileList::ItemClicked(int index) {
  ListView& list = Current();
  if (index >= 0 && index < list.Count()) {
    const ListItem& item = list.Items()[index];
    if (!files_.FileExists(item.Column(1) + item.text)) {
      ui_.MsgBox(item.text + " is not found!\nTherefore, it will be removed from the list.",
                 mb::OkOnly | mb::Information, kApplicationName);
      list.RemoveItem(index);
      ShowTotals();
    }
  }
  ShowSelection();
}

int FileList::RemoveMissingSelected() {
  ListView& list = Current();
  int removed = 0;
  for (int i = list.Count() - 1; i >= 0; --i) {
    const ListItem& item = list.Items()[i];
    if (item.selected && !files_.FileExists(item.Column(1) + item.text)) {
      list.RemoveItem(i);
      ++removed;
    }
  }
  if (removed > 0) {
    ui_.MsgBox("Non-existent files removed from list", mb::OkOnly | mb::Information, kApplicationName);
    ShowTotals();
  }
  return removed;
}

std::string FileList::FreeDiskSpaceText(const std::string& root) {
  if (!files_.FolderExists(root)) return "Unable to get free disk space for " + root;
  return FormatNumber(static_cast<double>(files_.FreeDiskSpace(root)), "#,##0") + " bytes on " + ToUpper(root);
}

std::vector<std::string> FileList::SearchAhead(const std::string& folder) {
  std::vector<std::string> subFolders;
  searchedAhead_ = NormalizeFolder(folder) + CurrentPattern();
  files_.FindFiles(searchedAhead_, found_, &subFolders);
  return subFolders;
}

bool FileList::FillListView(const std::string& folder, const std::vector<std::string>* dropped) {
  if (RefusedWhileBusy()) return false;
  struct FillingMark {
    bool& filling;
    ~FillingMark() { filling = false; }
  } mark{filling_ = true};
  MainView& frm = view_;
  folderAtFillStart_ = frm.PaneFolder();
  const std::string caption = frm.Caption();
  ListView& list = Current();
  const bool append = state_.AppendRecord;
  int repeats = 0;
  bool imagesReadIn = false;
  bool completed = true;
  stoppedByEscape_ = false;
  ForgetEarlierEscape();
  std::string from;
  try {
    // Dropped files each bring their folder; a searched folder is one for all its files.
    std::vector<FoundFile>& names = found_;
    const std::string searchedAhead = std::move(searchedAhead_);
    searchedAhead_.clear();
    std::vector<std::string> folders;
    if (dropped) {
      names.clear();
      const std::string pattern = ToLower(CurrentPattern());
      for (const std::string& path : *dropped) {
        const std::string name = FilePart(path);
        if (!Like(ToLower(name), pattern)) continue;
        FoundFile file;
        file.name = name;
        file.size = files_.FileLength(path);
        names.push_back(std::move(file));
        folders.push_back(NormalizeFolder(DirectoryPart(path)));
      }
    } else {
      from = NormalizeFolder(folder.empty() ? frm.PaneFolder() : folder);
      if (!EqualsIgnoreCase(searchedAhead, from + CurrentPattern())) files_.FindFiles(from + CurrentPattern(), names);
    }
    if (!(activeFill_ && listedKept_)) {
      listed_.clear();
      if (append)
        for (const ListItem& item : list.Items()) listed_.insert(lowerKey(item.Column(1), item.text));
      listedKept_ = activeFill_ && append;
    }
    list.BeginUpdate();  // the list is drawn once, when the fill is done
    for (std::size_t i = 0; i < names.size(); ++i) {
      const FoundFile& file = names[i];
      current_ = &file;
      const bool added = ListViewAdd(file.name, dropped ? folders[i] : from, append, imagesReadIn, repeats);
      current_ = nullptr;
      if (!added) {
        completed = false;
        break;
      }
      if (EscapePressed()) {
        state_.Escape = false;
        frm.ChangeMainStatusMsg("User hit escape");
        stoppedByEscape_ = true;
        completed = false;
        break;
      }
    }
    list.EndUpdate();
    if (dropped && append)
      ui_.MsgBox("Folders will not be added to the active list \nif files are dropped into the file-selection pane.",
                 mb::OkOnly | mb::Information, "Active Folder List");
    if (append && !dropped && imagesReadIn) {
      if (!activeFoldersKept_) activeFolders_ = settings_.LoadActiveDirectories();
      activeFoldersKept_ = activeFill_;
      std::vector<std::string>& active = activeFolders_;
      const bool known = std::any_of(active.begin(), active.end(), [&](const std::string& f) { return EqualsIgnoreCase(f, from); });
      if (!known) {
        settings_.AddActiveDirectory(static_cast<int>(active.size()) + 1, from);
        active.push_back(from);
      }
    }
  } catch (const RuntimeError& e) {
    list.EndUpdate();
    ui_.MsgBox(e.description + " (" + NumberText(e.number) + ")" + " has occurred." + "\n" +
                   "while trying to add files to the list box.",
               mb::OkCancel | mb::Exclamation, kApplicationName);
    completed = false;
  }
  frm.SetCaption(caption);
  SortAfterFill();
  if (!stoppedByEscape_) ShowTotals();
  if (repeats > 0) frm.ChangeMainStatusMsg("Repeats found: " + NumberText(repeats));
  return completed;
}

bool FileList::ListViewAdd(const std::string& name, const std::string& folder, bool checkForRepeats, bool& imagesReadIn,
                           int& repeatCount) {
  ListView& list = Current();
  MainView& frm = view_;
  if (list.Count() == 0) {
    readIn_ = 0;
    totalBytes_ = 0;
  }
  if (options_.AlternateFilePattern == "User" && frm.CurrentList() == 0) {
    const std::string lower = ToLower(name);
    const auto patterns = CustomPatterns();
    if (std::none_of(patterns.begin(), patterns.end(), [&](const std::string& p) { return Like(lower, p); })) return true;
  }
  // The same file met again while appending is counted, not listed twice.
  if (checkForRepeats && !listed_.insert(lowerKey(folder, name)).second) {
    ++repeatCount;
    frm.ChangeMainStatusMsg("Repeats found: " + NumberText(repeatCount));
    return true;
  }
  imagesReadIn = true;
  ++readIn_;
  ShowProgress(readIn_, 1, 0, " <Esc> to stop");

  ListItem item;
  item.subItems.reserve(5);
  item.text = name;
  item.SetSubItem(1, folder);
  const std::string type = FileTypeOf(name);
  if (type == "exe") {
    const auto dot = name.rfind('.');
    const std::string key = dot == std::string::npos ? "NONE" : name.substr(0, dot);
    // A program shows its own icons; when they cannot be taken it shows none of its own.
    const std::string icon = "icon:" + folder + name + ",0";
    const bool taken = key == "NONE" || frm.HasFileIcon(key) ||
                       (trapped(ui_, "extracting the large icon", [&] { frm.AddFileIcon(key, icon, true); }) &&
                        trapped(ui_, "extracting the small icon", [&] { frm.AddFileIcon(key, icon, false); }));
    item.icon = taken ? key : "NONE";
  } else {
    item.icon = frm.HasFileIcon(type) ? type : "NONE";
  }
  item.SetSubItem(2, type);
  if (!options_.SpeedFill && !ListViewAddHelp(item, name, type, folder + name)) return false;
  item.SetSubItem(3, FormatNumber(readIn_, "000000"));
  if (current_) item.SetSubItem(5, FormatDateTime(current_->modified));
  list.AddItem(std::move(item));
  ui_.DoEvents();
  return true;
}

bool FileList::ListViewAddHelp(ListItem& item, const std::string& name, const std::string& type,
                               const std::string& fullName) {
  state_.ImageWidth = state_.ImageHeight = state_.ImageBitDepth = 0;
  if (type == "bmp") headers_.ReadBmpHeader(fullName);
  else if (type == "jpg" || type == "jpe" || type == "jpeg") {
    headers_.ReadJpegHeader(fullName);
    headers_.CloseFile();
  } else if (type == "gif") headers_.ReadGifHeader(fullName);
  else if (type == "pcx") headers_.ReadPcxHeader(fullName);
  else if (type == "tga") headers_.ReadTgaHeader(fullName);
  else if (type == "tif") headers_.ReadTiffHeader(fullName);
  else if (type == "wmf") headers_.ReadWmfHeader(fullName);

  const std::uint64_t size = current_ ? current_->size : files_.FileLength(fullName);
  totalBytes_ += size;
  std::string info = FormatFileSize(size, true);
  if (type.size() <= 4 && std::string_view(kMeasuredTypes).find(" " + type + " ") != std::string_view::npos)
    info += NumberText(state_.ImageWidth) + "x" + NumberText(state_.ImageHeight);
  item.SetSubItem(4, info);

  // A picture named only by its extension (".jpg") cannot be handled: it gets a name.
  // Never another file that starts with a dot, and never onto a name that is taken.
  if (name.size() > 1 && name[0] == '.' && name.find('.', 1) == std::string::npos && EqualsIgnoreCase(name.substr(1), type) &&
      std::string_view(kReadTypes).find(" " + type + " ") != std::string_view::npos) {
    const std::string renamed = DirectoryPart(fullName) + "blank" + NumberText(readIn_) + "." + type;
    if (files_.FileExists(renamed) || files_.FolderExists(renamed) || !files_.RenameFile(fullName, renamed)) {
      ui_.MsgBox("Unable to rename " + fullName + " to " + renamed + ".", mb::OkOnly | mb::Exclamation,
                 kApplicationName);
      return true;  // listed under its own name
    }
    Current().Clear();
    listed_.clear();
    listedKept_ = false;
    return false;
  }
  return true;
}

bool FileList::SortByKey(int key, bool severalFolders) {
  if (RefusedWhileBusy()) return false;
  ListView& list = Current();
  if (key < 0 || key > 5 || list.Count() == 0) return false;
  if (key == 2 && options_.AlternateFilePattern != "User") {
    ui_.MsgBox("There is only one file type so sorting is not necessary.", mb::OkOnly | mb::Information,
               kApplicationName);
    return false;
  }
  // Appending or filling from the active folders can bring several folders together.
  if (key == 1 && !options_.FillFromActiveFolders && !severalFolders && !state_.AppendRecord) {
    ui_.MsgBox("There is only one folder so sorting is not necessary.", mb::OkOnly | mb::Information, kApplicationName);
    return false;
  }
  SortBy(key, list.Sorted() && list.SortKey() == key ? !list.SortDescending() : false);
  return true;
}

void FileList::SortBy(int key, bool descending) {
  ListView& list = Current();
  MainView& frm = view_;
  const bool bySize = key == 4;
  // Sizes as fixed-width text while sorting, so that text order is number order; a cell
  // that shows no size (a speed fill reads none) stays empty.
  const auto rewriteSizes = [&](auto&& rewrite) {
    for (int i = 0; i < list.Count(); ++i) {
      ListItem& item = list.Item(i);
      const std::string info = item.Column(4);
      if (info.empty()) continue;
      const auto end = std::min(info.size(), info.find(" kb"));
      item.SetSubItem(4, rewrite(info.substr(0, end)) + info.substr(end));
    }
  };
  list.BeginUpdate();
  if (bySize)
    rewriteSizes([](std::string digits) {
      digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
      return FormatNumber(LeadingNumber(digits), "00000000.0");
    });
  list.Sort(key, descending);
  if (bySize) rewriteSizes([](const std::string& digits) { return FormatNumber(LeadingNumber(digits), "#,###.#"); });
  list.EndUpdate();
  frm.ShowSortKey(key);
  frm.ChangeMainStatusMsg("Sorting done. Thank you.");
}

void FileList::SortAfterFill() {
  const Options& o = options_;
  if (!o.SortAtStart || activeFill_ || Current().Count() == 0 || o.SortKey < 0 || o.SortKey > 5) return;
  // Done by itself after every fill: a key that does not apply is passed by quietly.
  if (o.SortKey == 2 && o.AlternateFilePattern != "User") return;
  SortBy(o.SortKey, o.SortOrder != 0);
}

void FileList::BeginActiveFill() {
  activeFill_ = true;
  listedKept_ = activeFoldersKept_ = false;
}

void FileList::EndActiveFill() {
  activeFill_ = listedKept_ = activeFoldersKept_ = false;
  listed_.clear();
  activeFolders_.clear();
}

void FileList::Resort() {
  const ListView& list = Current();
  if (list.Sorted() && list.Count() > 0) SortBy(list.SortKey(), list.SortDescending());
}

void FileList::SelectWallpaperItem() {
  const int index = WallpaperIndex();
  if (index < 0) return;
  Current().SelectOnly(index);
  Current().EnsureVisible(index);
}

void FileList::ClearListView() {
  if (RefusedWhileBusy()) return;
  MainView& frm = view_;
  frm.ChangeMainStatusMsg("Clearing list of files. Please wait.");
  Current().Clear();
  readIn_ = 0;
  totalBytes_ = 0;
  state_.RefillFromActives = false;
  frm.ChangeMainStatusMsg("List of files removed. Thank you.");
}

void FileList::ShowList(int list) {
  if (RefusedWhileBusy()) return;
  MainView& frm = view_;
  trapped(ui_, "toggle to the file-selection pane", [&] { frm.ShowFileList(list); });
}

bool FileList::FindInList(const std::string& text) {
  ListView& list = Current();
  if (text.empty() || list.Count() == 0) return false;
  int start = 0;
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items()[i].selected) start = i + 1 < list.Count() ? i + 1 : 0;
  for (int n = 0; n < list.Count(); ++n) {
    const int i = (start + n) % list.Count();
    if (ToLower(list.Items()[i].text).rfind(ToLower(text), 0) == 0) {
      list.SelectOnly(i);
      list.EnsureVisible(i);
      view_.ChangeMainStatusMsg(text + " name found!");
      return true;
    }
  }
  view_.ChangeMainStatusMsg(text + " name not found!");
  return false;
}

void FileList::AddToFilterHistory(std::array<std::string, 5>& history, const std::string& filter) {
  if (std::any_of(history.begin(), history.end(), [&](const std::string& f) { return EqualsIgnoreCase(f, filter); }))
    return;
  std::rotate(history.begin(), history.begin() + 1, history.end());
  history.back() = filter;
}

void FileList::AskBmpFilter() {
  Options& o = options_;
  const std::string filter =
      Trim(ui_.InputBox("Enter a filter for BMP files\n\nPLEASE NOTE: Only the last five are saved", "Enter BMP filter",
                        o.ActiveFilters[1]));
  if (!filter.empty()) SetFilter(1, filter);
}

void FileList::AskAlternateFilter() {
  Options& o = options_;
  const std::string& pattern = o.AlternateFilePattern;
  if (pattern == "User") {
    ui_.MsgBox("You have the file pattern set to \"" + pattern + "\"\nChose only one extension or modify the \"" +
                   pattern + "\" filter to taste",
               mb::OkOnly | mb::Information, "Error");
    return;
  }
  const std::string filter =
      Trim(ui_.InputBox("Enter a filter for " + pattern + "-type files\n\nPLEASE NOTE: Only the last five are saved.",
                        "Enter " + pattern + "-type filter", o.ActiveFilters[0]));
  if (!filter.empty()) SetFilter(0, filter);
}

void FileList::AskAlternateExtension() {
  Options& o = options_;
  MainView& frm = view_;
  if (o.AlternateFilePattern == "User") {
    const std::string filters = Trim(ui_.InputBox(
        "Enter one or a series file filters \nIMPORTANT: Be sure to separate each filter by a space\nFor example: *.jpg *.gif",
        "Enter filters", o.ActiveFilters[2]));
    if (!filters.empty()) SetFilter(2, filters);
    return;
  }
  std::string extension = Trim(ui_.InputBox(
      "Enter extension for other (alt) images.\n\nNew extensions will be lost upon program termination",
      "Enter alternate file pattern", ""));
  if (extension.empty()) return;
  if (extension[0] != '.') extension = "." + extension;
  frm.SetUserAltPattern(extension == ".*" ? ".*" : extension.substr(1));
  ChooseAlternatePattern(kUserAltPatternPlace);
}

std::string AltPatternTip(const std::string& pattern) {
  if (pattern == ".*") return "List all files";
  // Named by what follows the dot ("jp?", "webp"), an other by its last three characters.
  const std::size_t dot = pattern.find('.');
  return "List " + (dot != std::string::npos ? pattern.substr(dot + 1)
                                             : pattern.substr(pattern.size() >= 3 ? pattern.size() - 3 : 0)) +
         " files";
}

void FileList::ChooseAlternatePattern(int index) {
  Options& o = options_;
  MainView& frm = view_;
  const std::vector<std::string> patterns = frm.AltPatterns();
  if (index < 0 || index >= static_cast<int>(patterns.size())) return;
  const std::string& entry = patterns[static_cast<std::size_t>(index)];
  o.AlternateFilePattern = index == kUserAltPatternPlace && entry != ".*" ? "." + entry : entry;
  const std::string& pattern = o.AlternateFilePattern;
  frm.ShowAltPatternTip(AltPatternTip(pattern));
  frm.ShowFilter(0, pattern == "User" ? o.ActiveFilters[2] : o.ActiveFilters[0] + pattern);
  ShowList(0);
  if (!state_.AppendRecord) ClearListView();
  FillListView();
}

void FileList::AskFind() {
  const std::string text = ui_.InputBox("Enter a file name to find.", "Find", lastFind_);
  if (text.empty()) return;
  lastFind_ = text;
  if (!FindInList(text)) ui_.MsgBox("No match found", mb::OkOnly | mb::Information, "Find");
}

int FileList::WallpaperIndex() const {
  const ListView& list = Current();
  const std::string& wallpaper = options_.WallPaperName;
  for (int i = 0; i < list.Count(); ++i)
    if (EqualsIgnoreCase(list.Items()[i].Column(1) + list.Items()[i].text, wallpaper)) return i;
  return -1;
}

}  // namespace tapestrel
