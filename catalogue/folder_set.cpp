#include "catalogue/folder_set.h"

#include <algorithm>

#include "catalogue/active_folder_frame.h"
#include "catalogue/file_list.h"
#include "catalogue/folder_tree.h"
#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "core/settings.h"
#include "platform/controls/list_view.h"
#include "platform/desktop.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

void FolderSet::ChangePictureFolder(const std::string& path, bool fromDrop) {
  std::string folder = path;
  if (fromDrop && !files_.FolderExists(folder)) folder = DirectoryPart(folder);
  if (folder.empty()) return;
  view_.SetFolderBoxText(NormalizeFolder(folder));
  ComboEnter();
}

void FolderSet::ComboEnter() {
  MainView& frm = view_;
  const std::string text = Trim(frm.FolderBoxText());
  if (text.empty()) return;
  if (EqualsIgnoreCase(TreePath(text), frm.PaneFolder())) {
    // The folder shown already: read its files_ again.
    if (!state_.AppendRecord) list_.ClearListView();
    list_.FillListView();
    return;
  }
  if (!files_.FolderExists(text)) {
    ui_.MsgBox("Path not found (76) has occurred \nwhile trying to change the folder using the combo box.",
               mb::OkOnly | mb::Exclamation, kApplicationName);
    return;
  }
  const bool suppress = SuppressFolderEvents;
  SuppressFolderEvents = true;  // the drive change must not move the folder box first
  frm.SetPaneDrive(ToLower(text.substr(0, 2)));
  SuppressFolderEvents = suppress;
  frm.ShowPaneFolder(TreePath(text), FolderTreeEntries(files_, text));
}

void FolderSet::DriveChanged() {
  if (SuppressFolderEvents) return;
  MainView& frm = view_;
  try {
    for (;;) {
      const std::string folder = files_.DriveCurrentFolder(frm.PaneDrive());
      if (files_.FolderExists(folder)) {
        frm.ShowPaneFolder(TreePath(folder), FolderTreeEntries(files_, folder));
        return;
      }
      if (ui_.MsgBox("Device unavailable.", mb::RetryCancel | mb::Exclamation, kApplicationName) != mb::IdRetry) break;
    }
    // Cancelled: the drive box shows the drive of the folder shown again.
    SuppressFolderEvents = true;
    frm.SetPaneDrive(ToLower(frm.PaneFolder().substr(0, 2)));
    SuppressFolderEvents = false;
  } catch (const RuntimeError& e) {
    SuppressFolderEvents = false;
    ui_.MsgBox(e.description + " (" + NumberText(e.number) + ") " + "has occurred " + "\n" +
                   "while trying to change to another drive.",
               mb::OkOnly | mb::Exclamation, kApplicationName);
  }
}

void FolderSet::PictureFolderChanged() {
  if (SuppressFolderEvents) return;
  MainView& frm = view_;
  if (list_.Busy()) {
    // Not while the list is being filled: the folder pane goes back to what it showed.
    ui_.Beep();
    const std::string back = list_.FolderAtFillStart();
    SuppressFolderEvents = true;
    frm.ShowPaneFolder(back, FolderTreeEntries(files_, back));
    SuppressFolderEvents = false;
    return;
  }
  const std::string folder = NormalizeFolder(frm.PaneFolder());
  const auto& items = frm.CurrentFileList().Items();
  const bool listed = std::any_of(items.begin(), items.end(),
                                  [&](const ListItem& item) { return EqualsIgnoreCase(item.Column(1), folder); });
  if (options_.FillFromActiveFolders && state_.RefillFromActives && listed) {
    // Going to a folder the active-folder fill already shows keeps the whole fill.
    ReadActiveFolders();
    state_.RefillFromActives = false;
  } else {
    if (!state_.AppendRecord) list_.ClearListView();
    list_.FillListView();
  }
  UpdateFolderHistory(0, folder);
  frm.SetFolderBoxText(folder);
}

void FolderSet::UpdateFolderHistory(int history, const std::string& folder) {
  Options& o = options_;
  const std::string text = Trim(folder);
  const int first = history == 0 ? 0 : 5;
  int& current = history == 0 ? o.PictureDirectory : o.MoveDirectory;
  for (int i = first; i < first + 5; ++i)
    if (EqualsIgnoreCase(o.Folders[i], text)) {
      current = i;  // known already: the order stays
      return;
    }
  for (int i = first + 4; i > first; --i) o.Folders[i] = o.Folders[i - 1];
  o.Folders[first] = text;
  current = first;
  if (history == 0) {
    std::vector<std::string> entries;
    for (int i = first; i < first + 5; ++i)
      if (!o.Folders[i].empty()) entries.push_back(o.Folders[i]);
    view_.ShowFolderBoxEntries(entries);
  }
}

std::vector<std::string> FolderSet::LoadActiveFolders() { return settings_.LoadActiveDirectories(); }

void FolderSet::RewriteWithoutRepeats(const std::vector<std::string>& folders) {
  // Neighbours that differ only in letter case are one folder.
  std::vector<std::string> kept;
  for (const std::string& folder : folders)
    if (kept.empty() || !EqualsIgnoreCase(kept.back(), folder)) kept.push_back(folder);
  settings_.SaveActiveDirectories(kept);
}

void FolderSet::CleanUpActiveFoldersKey(const std::vector<std::string>* folders) {
  std::vector<std::string> all = folders ? *folders : LoadActiveFolders();
  std::stable_sort(all.begin(), all.end(), [](const std::string& a, const std::string& b) { return ToLower(a) < ToLower(b); });
  RewriteWithoutRepeats(all);
}

bool FolderSet::ReadActiveFolders(const std::vector<std::string>* folders, bool filesAlso) {
  MainView& frm = view_;
  if (list_.Busy()) {
    ui_.Beep();
    return false;
  }
  if (state_.AppendRecord) {
    ui_.MsgBox("Turn off append-files option in settings.", mb::OkOnly | mb::Information, "Tapestrel error");
    return false;
  }
  list_.ClearListView();
  const std::vector<std::string> active = folders ? *folders : LoadActiveFolders();
  state_.Escape = false;
  frm.ChangeMainStatusMsg("");
  // Each folder is appended to what the ones before it gave.
  state_.AppendRecord = true;
  list_.BeginActiveFill();
  bool stopped = false;
  for (const std::string& folder : active) {
    list_.FillListView(folder);
    if ((stopped = list_.StoppedByEscape())) break;
  }
  list_.EndActiveFill();
  state_.AppendRecord = false;
  if (stopped) return true;  // "User hit escape" stays in the status bar
  if (!filesAlso) list_.SortAfterFill();
  list_.SelectWallpaperItem();
  list_.ShowTotals();
  state_.RefillFromActives = !folders;
  return true;
}

void FolderSet::ToggleAppendRecord() {
  MainView& frm = view_;
  const bool on = !frm.AppendChecked();
  frm.SetAppendChecked(on);
  state_.AppendRecord = on;
  if (on) {
    const std::string folder = NormalizeFolder(frm.PaneFolder());
    if (files_.FindFiles(folder + list_.CurrentPattern()).empty()) {
      // Nothing to record: the active folders stay as they are.
      ui_.MsgBox("To record the folder there must be files in it which match the present filter.",
                 mb::OkOnly | mb::Information, "Append");
      frm.SetAppendChecked(false);
      state_.AppendRecord = false;
      return;
    }
    std::vector<std::string> active;
    if (options_.ClearActiveFolders) settings_.SaveActiveDirectories({});
    else active = LoadActiveFolders();
    settings_.AddActiveDirectory(static_cast<int>(active.size()) + 1, folder);
  } else {
    CleanUpActiveFoldersKey();
  }
  list_.Resort();
}

void FolderSet::RecordActive(const std::string& folder) {
  ++activeCount_;
  settings_.AddActiveDirectory(activeCount_, folder);
}

void FolderSet::ReloadActiveCombo() { frame_.ShowActiveFolders(LoadActiveFolders()); }

void FolderSet::EnableFrame(bool enabled) { frame_.EnableActiveFrame(enabled); }

void FolderSet::BrowseForActiveDirectories() {
  // Out of the topmost band while the browser is up, so that it shows above the dialog.
  frame_.KeepOnTop(false);
  const std::string chosen = ui_.BrowseForFolder("Select a folder where picture files are.");
  frame_.KeepOnTop(true);
  if (!chosen.empty()) {
    const std::string folder = NormalizeFolder(chosen);
    activeCount_ = static_cast<int>(LoadActiveFolders().size());
    if (frame_.ActiveAddStyle() == ActiveFolderFrame::FolderOnly) {
      RecordActive(folder);
    } else {
      Searching = true;
      RecordActive(folder);
      EnableFrame(false);
      DirDiver(folder);
      Searching = false;
      EnableFrame(true);
    }
    // Neighbours met twice collapse to one, the list numbered again from the start.
    RewriteWithoutRepeats(LoadActiveFolders());
    ReloadActiveCombo();
  }
}

bool FolderSet::DirDiver(const std::string& folder, int depth) {
  ui_.DoEvents();
  if (desktop_.KeyPressed(27)) Searching = false;
  if (!Searching) return false;
  std::vector<std::string> found;
  for (const std::string& name : files_.SubFolders(folder)) {
    const std::string sub = NormalizeFolder(NormalizeFolder(folder) + name);
    // Junctions and links are passed by: one that leads back up the tree would make the
    // search endless, and one that leads elsewhere would list another tree's pictures.
    if (files_.IsLink(sub)) continue;
    found.push_back(sub);
    frame_.ShowSearchProgress(sub + "\nDirectory count: " + NumberText(activeCount_) + "\n Press <ESC> to stop.");
    RecordActive(sub);  // saved at once: an interrupted search keeps what it found
  }
  if (frame_.ActiveAddStyle() != ActiveFolderFrame::AllBelow) return true;  // one level only
  if (depth + 1 >= kMaxSearchDepth) return true;
  for (const std::string& sub : found)
    if (!DirDiver(sub, depth + 1)) return false;
  return true;
}

void FolderSet::ActiveDirectoriesKeyDown(int& keyCode, int shift) {
  if (keyCode != 46 || (shift & 2)) return;
  const int index = frame_.ChosenActiveFolder();
  if (index < 0) return;
  const std::vector<std::string> left = frame_.RemoveActiveFolder(index);
  settings_.SaveActiveDirectories(left);
  activeCount_ = static_cast<int>(left.size());
}

bool FolderSet::IsFolder(const std::string& folder) {
  if (folder.size() <= 3) {
    ui_.MsgBox("Not a folder.", mb::OkOnly | mb::Information, kApplicationName);
    return false;
  }
  return true;
}

void FolderSet::RecordDroppedFolders(const std::vector<std::string>& folders) {
  std::vector<std::string> active;
  if (options_.ClearActiveFolders) settings_.SaveActiveDirectories({});
  else active = LoadActiveFolders();
  active.insert(active.end(), folders.begin(), folders.end());
  settings_.SaveActiveDirectories(active);
  CleanUpActiveFoldersKey();
}

}  // namespace tapestrel
