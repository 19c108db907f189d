#include "catalogue/folder_set.h"

#include <algorithm>

#include "app/program.h"
#include "catalogue/folder_tree.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tapestrel {

void FolderSet::ChangePictureFolder(const std::string& path, bool fromDrop) {
  std::string folder = path;
  if (fromDrop && !program_.platform.files.FolderExists(folder)) folder = DirectoryPart(folder);
  if (folder.empty()) return;
  program_.frmMain.cboPictureDirectories.SetText(NormalizeFolder(folder));
  ComboEnter();
}

void FolderSet::ComboEnter() {
  FrmMain& frm = program_.frmMain;
  FileSystem& files = program_.platform.files;
  const std::string text = Trim(frm.cboPictureDirectories.Text());
  if (text.empty()) return;
  if (EqualsIgnoreCase(TreePath(text), frm.dirPictures.Path())) {
    // The folder shown already: read its files again.
    if (!program_.state.AppendRecord) program_.files.ClearListView();
    program_.files.FillListView();
    return;
  }
  if (!files.FolderExists(text)) {
    program_.platform.ui.MsgBox("Path not found (76) has occurred \nwhile trying to change the folder using the combo box.",
                                mb::OkOnly | mb::Exclamation, kApplicationName);
    return;
  }
  const bool suppress = SuppressFolderEvents;
  SuppressFolderEvents = true;  // the drive change must not move the folder box first
  frm.drvPictureDirectories.SetDrive(ToLower(text.substr(0, 2)));
  SuppressFolderEvents = suppress;
  frm.dirPictures.SetPath(TreePath(text), FolderTreeEntries(files, text));
}

void FolderSet::DriveChanged() {
  if (SuppressFolderEvents) return;
  FrmMain& frm = program_.frmMain;
  FileSystem& files = program_.platform.files;
  try {
    for (;;) {
      const std::string folder = files.DriveCurrentFolder(frm.drvPictureDirectories.Drive());
      if (files.FolderExists(folder)) {
        frm.dirPictures.SetPath(TreePath(folder), FolderTreeEntries(files, folder));
        return;
      }
      if (program_.platform.ui.MsgBox("Device unavailable.", mb::RetryCancel | mb::Exclamation, kApplicationName) != mb::IdRetry)
        break;
    }
    // Cancelled: the drive box shows the drive of the folder shown again.
    SuppressFolderEvents = true;
    frm.drvPictureDirectories.SetDrive(ToLower(frm.dirPictures.Path().substr(0, 2)));
    SuppressFolderEvents = false;
  } catch (const RuntimeError& e) {
    SuppressFolderEvents = false;
    program_.platform.ui.MsgBox(e.description + " (" + NumberText(e.number) + ") " + "has occurred " + "\n" +
                                    "while trying to change to another drive.",
                                mb::OkOnly | mb::Exclamation, kApplicationName);
  }
}

void FolderSet::PictureFolderChanged() {
  if (SuppressFolderEvents) return;
  FrmMain& frm = program_.frmMain;
  if (program_.files.Busy()) {
    // Not while the list is being filled: the folder pane goes back to what it showed.
    program_.platform.ui.Beep();
    const std::string back = program_.files.FolderAtFillStart();
    SuppressFolderEvents = true;
    frm.dirPictures.SetPath(back, FolderTreeEntries(program_.platform.files, back));
    SuppressFolderEvents = false;
    return;
  }
  const std::string folder = NormalizeFolder(frm.dirPictures.Path());
  const auto& items = frm.lstvFiles[frm.CurrentList()].Items();
  const bool listed = std::any_of(items.begin(), items.end(),
                                  [&](const ListItem& item) { return EqualsIgnoreCase(item.Column(1), folder); });
  if (program_.options.FillFromActiveFolders && program_.state.RefillFromActives && listed) {
    // Going to a folder the active-folder fill already shows keeps the whole fill.
    ReadActiveFolders();
    program_.state.RefillFromActives = false;
  } else {
    if (!program_.state.AppendRecord) program_.files.ClearListView();
    program_.files.FillListView();
  }
  UpdateFolderHistory(0, folder);
  frm.cboPictureDirectories.SetText(folder);
}

void FolderSet::UpdateFolderHistory(int history, const std::string& folder) {
  Options& o = program_.options;
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
    ComboBox& combo = program_.frmMain.cboPictureDirectories;
    combo.Clear();
    for (int i = first; i < first + 5; ++i)
      if (!o.Folders[i].empty()) combo.AddItem(o.Folders[i]);
  }
}

std::vector<std::string> FolderSet::LoadActiveFolders() { return program_.settings.LoadActiveDirectories(); }

void FolderSet::RewriteWithoutRepeats(const std::vector<std::string>& folders) {
  // Neighbours that differ only in letter case are one folder.
  std::vector<std::string> kept;
  for (const std::string& folder : folders)
    if (kept.empty() || !EqualsIgnoreCase(kept.back(), folder)) kept.push_back(folder);
  program_.settings.SaveActiveDirectories(kept);
}

void FolderSet::CleanUpActiveFoldersKey(const std::vector<std::string>* folders) {
  std::vector<std::string> all = folders ? *folders : LoadActiveFolders();
  std::stable_sort(all.begin(), all.end(), [](const std::string& a, const std::string& b) { return ToLower(a) < ToLower(b); });
  RewriteWithoutRepeats(all);
}

bool FolderSet::ReadActiveFolders(const std::vector<std::string>* folders, bool filesAlso) {
  FrmMain& frm = program_.frmMain;
  if (program_.files.Busy()) {
    program_.platform.ui.Beep();
    return false;
  }
  if (program_.state.AppendRecord) {
    program_.platform.ui.MsgBox("Turn off append-files option in settings.", mb::OkOnly | mb::Information, "Tapestrel error");
    return false;
  }
  program_.files.ClearListView();
  const std::vector<std::string> active = folders ? *folders : LoadActiveFolders();
  program_.state.Escape = false;
  frm.ChangeMainStatusMsg("");
  // Each folder is appended to what the ones before it gave.
  program_.state.AppendRecord = true;
  program_.files.BeginActiveFill();
  bool stopped = false;
  for (const std::string& folder : active) {
    program_.files.FillListView(folder);
    if ((stopped = program_.files.StoppedByEscape())) break;
  }
  program_.files.EndActiveFill();
  program_.state.AppendRecord = false;
  if (stopped) return true;  // "User hit escape" stays in the status bar
  if (!filesAlso) program_.files.SortAfterFill();
  program_.files.SelectWallpaperItem();
  program_.files.ShowTotals();
  program_.state.RefillFromActives = !folders;
  return true;
}

void FolderSet::ToggleAppendRecord() {
  FrmMain& frm = program_.frmMain;
  const bool on = !frm.mnuAppendToList.Checked();
  frm.mnuAppendToList.SetChecked(on);
  program_.state.AppendRecord = on;
  if (on) {
    const std::string folder = NormalizeFolder(frm.dirPictures.Path());
    if (program_.platform.files.FindFiles(folder + program_.files.CurrentPattern()).empty()) {
      // Nothing to record: the active folders stay as they are.
      program_.platform.ui.MsgBox("To record the folder there must be files in it which match the present filter.",
                                  mb::OkOnly | mb::Information, "Append");
      frm.mnuAppendToList.SetChecked(false);
      program_.state.AppendRecord = false;
      return;
    }
    std::vector<std::string> active;
    if (program_.options.ClearActiveFolders) program_.platform.settings.DeleteSection(kActiveDirectoriesSection);
    else active = LoadActiveFolders();
    program_.platform.settings.SaveSetting(kActiveDirectoriesSection,
                                           Settings::ActiveDirectoryKey(static_cast<int>(active.size()) + 1), folder);
  } else {
    CleanUpActiveFoldersKey();
  }
  program_.files.Resort();
}

void FolderSet::RecordActive(const std::string& folder) {
  ++activeCount_;
  program_.platform.settings.SaveSetting(kActiveDirectoriesSection, Settings::ActiveDirectoryKey(activeCount_), folder);
}

void FolderSet::ReloadActiveCombo() {
  ComboBox& combo = program_.frmOptions.cboActiveDirectories;
  combo.Clear();
  for (const std::string& folder : LoadActiveFolders()) combo.AddItem(folder);
}

void FolderSet::EnableFrame(bool enabled) {
  FrmOptions& options = program_.frmOptions;
  for (int i = 0; i < 3; ++i) options.optActiveDirectoryAddStyle[i].SetEnabled(enabled);
  options.cboActiveDirectories.SetEnabled(enabled);
  options.cmdBrowseForActiveDirectories.SetEnabled(enabled);
  options.lblOptions[5].SetCaption(enabled ? "Search progress" : "Press <ESC> to stop.");
}

void FolderSet::BrowseForActiveDirectories() {
  FrmOptions& options = program_.frmOptions;
  // Out of the topmost band while the browser is up, so that it shows above the dialog.
  options.SetTopMost(false);
  const std::string chosen = program_.platform.ui.BrowseForFolder("Select a folder where picture files are.");
  options.SetTopMost(true);
  if (!chosen.empty()) {
    const std::string folder = NormalizeFolder(chosen);
    activeCount_ = static_cast<int>(LoadActiveFolders().size());
    if (options.optActiveDirectoryAddStyle[0].Value()) {
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
  program_.platform.ui.DoEvents();
  if (program_.platform.desktop.KeyPressed(27)) Searching = false;
  if (!Searching) return false;
  FrmOptions& options = program_.frmOptions;
  FileSystem& files = program_.platform.files;
  std::vector<std::string> found;
  for (const std::string& name : files.SubFolders(folder)) {
    const std::string sub = NormalizeFolder(NormalizeFolder(folder) + name);
    // Junctions and links are passed by: one that leads back up the tree would make the
    // search endless, and one that leads elsewhere would list another tree's pictures.
    if (files.IsLink(sub)) continue;
    found.push_back(sub);
    options.lblOptions[5].SetCaption(sub + "\nDirectory count: " + NumberText(activeCount_) + "\n Press <ESC> to stop.");
    RecordActive(sub);  // saved at once: an interrupted search keeps what it found
  }
  if (!options.optActiveDirectoryAddStyle[2].Value()) return true;  // one level only
  if (depth + 1 >= kMaxSearchDepth) return true;
  for (const std::string& sub : found)
    if (!DirDiver(sub, depth + 1)) return false;
  return true;
}

void FolderSet::ActiveDirectoriesKeyDown(int& keyCode, int shift) {
  if (keyCode != 46 || (shift & 2)) return;
  ComboBox& combo = program_.frmOptions.cboActiveDirectories;
  const int index = combo.ListIndex();
  if (index < 0) return;
  combo.RemoveItem(index);
  program_.settings.SaveActiveDirectories(combo.List());
  activeCount_ = combo.ListCount();
}

bool FolderSet::IsFolder(const std::string& folder) {
  if (folder.size() <= 3) {
    program_.platform.ui.MsgBox("Not a folder.", mb::OkOnly | mb::Information, kApplicationName);
    return false;
  }
  return true;
}

void FolderSet::RecordDroppedFolders(const std::vector<std::string>& folders) {
  std::vector<std::string> active;
  if (program_.options.ClearActiveFolders) program_.platform.settings.DeleteSection(kActiveDirectoriesSection);
  else active = LoadActiveFolders();
  active.insert(active.end(), folders.begin(), folders.end());
  program_.settings.SaveActiveDirectories(active);
  CleanUpActiveFoldersKey();
}

}  // namespace tapestrel
