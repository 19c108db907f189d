#include "catalogue/file_operations.h"

#include <algorithm>
#include <unordered_set>

#include "catalogue/file_list.h"
#include "catalogue/folder_set.h"
#include "catalogue/folder_tree.h"
#include "catalogue/frm_yes_no_all_cancel.h"
#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "imaging/decoder_front_end.h"
#include "platform/controls/list_view.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {
// Files handed to the shell at a time.
constexpr std::size_t kShellBatch = 50;
const char* const kNothingToDo[] = {"There are no files to delete.", "There are no files to move.",
                                    "There are no items to remove.", "There are no files to decode."};
}  // namespace

void FileOperations::Tell(const std::string& text, int style) { ui_.MsgBox(text, style, kApplicationName); }

std::vector<FileOperations::Selected> FileOperations::CollectSelected() {
  std::vector<Selected> selected;
  const ListView& list = list_.Current();
  for (int i = 0; i < list.Count(); ++i) {
    const ListItem& item = list.Items()[static_cast<std::size_t>(i)];
    if (item.selected) selected.push_back({i, item.Column(1) + item.text, {}});
  }
  return selected;
}

bool FileOperations::Confirm(Operation operation, const Selected& file) {
  const std::string name = file.path.substr(file.path.find_last_of('\\') + 1);
  const std::string folder = file.path.substr(0, file.path.size() - name.size());
  switch (operation) {
    case Delete: dialog_.Ask("Delete file?", "Send\n\n     " + name + "\n\nto the Recycle Bin?"); break;
    case Remove: dialog_.Ask("Remove file?", "Remove\n\n     " + name + "\n\nfrom the list?"); break;
    case Decode:
      dialog_.Ask(options_.InternalDecoding ? "Internal Decode" : "External Decode", "Decode \n\n     " + name + "?");
      break;
    case Move: dialog_.Display(name, folder); break;
  }
  dialog_.ShowModal();
  return true;
}

void FileOperations::NoticeBeforeFirstShellUse() {
  if (noticeShown_) return;
  noticeShown_ = true;
  Tell("Tapestrel must initialize the Windows '95 file operation.\nThis only needs to be done once while the program is loaded.",
       mb::OkOnly | mb::Information);
}

void FileOperations::OperateOnFiles(Operation operation) {
  if (list_.RefusedWhileBusy()) return;
  const FileList::OperationScope running(list_);
  try {
    const ListView& list = list_.Current();
    if (list.Count() == 0) {
      Tell(kNothingToDo[operation], mb::OkOnly | mb::Information);
      return;
    }
    if (list.SelectedCount() == 0) {
      Tell("Select the an item, please.", mb::OkOnly | mb::Information);
      return;
    }
    const std::vector<Selected> selected = CollectSelected();
    list_.ForgetEarlierEscape();
    std::vector<Selected> work;
    bool all = false;
    const int count = static_cast<int>(selected.size());
    for (int i = 0; i < count; ++i) {
      if (!list_.StepGoesOn(static_cast<int>(work.size()) + 1, count, " <ESC> to stop")) break;
      std::string target = work.empty() ? std::string() : work.back().target;
      if (!all) {
        Confirm(operation, selected[static_cast<std::size_t>(i)]);
        // An Esc that answered the question is spent: it must not stop what was confirmed.
        list_.ForgetEarlierEscape();
        const int answer = dialog_.DialogResult();
        if (answer == FrmYesNoAllCancel::No) continue;
        if (answer != FrmYesNoAllCancel::Yes && answer != FrmYesNoAllCancel::YesToAll) break;
        all = answer == FrmYesNoAllCancel::YesToAll;
        target = dialog_.MoveTarget();
      }
      work.push_back(selected[static_cast<std::size_t>(i)]);
      work.back().target = target;
    }
    if (work.empty()) {
      list_.ShowTotals();
      return;
    }
    Perform(operation, work);
    list_.SelectWallpaperItem();
    list_.ShowTotals();
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " + "has occurred while attempting to operate on file(s)",
         mb::OkOnly | mb::Critical);
  }
}

void FileOperations::Perform(Operation operation, const std::vector<Selected>& work) {
  const Options& o = options_;
  std::vector<std::string> paths;
  for (const Selected& s : work) paths.push_back(s.path);
  switch (operation) {
    case Delete: {
      // A file gone since it was listed would stop the shell there: it only leaves the list.
      std::vector<std::string> present;
      for (const std::string& path : paths)
        if (files_.FileExists(path)) present.push_back(path);
      if (!present.empty()) {
        DeleteFiles(present, o.DeleteConfirmation, false);
        TellNotDone({present.begin(), present.begin() + static_cast<std::ptrdiff_t>(lastHanded_)}, "deleted");
      }
      CheckProcessed(work);
      break;
    }
    case Move: {
      NoticeBeforeFirstShellUse();
      list_.ForgetEarlierEscape();  // the notice may have been closed with Esc
      std::vector<std::string> from;
      std::vector<std::string> targets;
      std::vector<std::string> kept;
      for (const Selected& s : work) {
        const std::string target = s.target + FilePart(s.path);
        if (EqualsIgnoreCase(target, s.path) || !files_.FileExists(s.path)) continue;  // onto itself, or gone
        // Never onto a file the user has: with renaming off, that file is not moved.
        if (!o.RenameOnCollision && files_.FileExists(target)) {
          kept.push_back(FilePart(s.path));
          continue;
        }
        from.push_back(s.path);
        targets.push_back(target);
      }
      if (!from.empty()) {
        MoveFiles(from, targets, o.RenameOnCollision);
        TellNotDone({from.begin(), from.begin() + static_cast<std::ptrdiff_t>(lastHanded_)}, "moved");
      }
      if (!kept.empty())
        Tell(NumberText(static_cast<double>(kept.size())) + " file(s) were not moved, since a file of the same name is in the "
                 "folder moved to:\n" + NamesOneALine(kept) + "Switch on \"Rename Moved\" to keep both.",
             mb::OkOnly | mb::Exclamation);
      CheckProcessed(work);
      break;
    }
    case Remove:
      TakeOff(work);
      break;
    case Decode:
      decoder_.DecodeSelectedFiles(paths, o.ReduceJpegSize, o.InternalDecoding ? 1 : 2);
      if (o.RemoveAfterDecode) {
        TakeOff(work);
      } else {
        CheckProcessed(work);
      }
      break;
  }
}

int FileOperations::DeleteFiles(const std::vector<std::string>& paths, bool confirm, bool folders) {
  FileOperation op;
  op.function = shell_op::Delete;
  op.flags = shell_op::AllowUndo | (folders ? 0 : shell_op::FilesOnly) | (confirm ? 0 : shell_op::NoConfirmation);
  const int total = static_cast<int>(paths.size());
  for (int i = 0; i < total; ++i) {
    if (!list_.StepGoesOn(i + 1, total, " <ESC> to cancel.")) break;
    op.from.push_back(paths[static_cast<std::size_t>(i)]);
  }
  return RunInBatches(op);
}

int FileOperations::RunShell(const FileOperation& operation, bool& aborted) {
  // The shell's own questions and progress are modal: nothing of the program's opens over them.
  const Ui::ModalScope modal(ui_);
  return shell_.RunFileOperation(operation, aborted);
}

int FileOperations::RunInBatches(const FileOperation& whole) {
  // The shell works through its list without letting the window paint (Wine's shows no
  // progress of its own): in batches, with the progress and Esc between them. A list the
  // shell confirms goes in one, so that the user is asked once for the whole of it.
  const std::size_t total = whole.from.size();
  const std::size_t batch = (whole.flags & shell_op::NoConfirmation) ? kShellBatch : std::max<std::size_t>(total, 1);
  int result = 0;
  lastHanded_ = 0;
  for (std::size_t first = 0; first < total; first += batch) {
    const std::size_t last = std::min(total, first + batch);
    lastHanded_ = last;
    FileOperation part;
    part.function = whole.function;
    part.flags = whole.flags;
    part.from.assign(whole.from.begin() + static_cast<std::ptrdiff_t>(first), whole.from.begin() + static_cast<std::ptrdiff_t>(last));
    if (whole.to.size() == total)
      part.to.assign(whole.to.begin() + static_cast<std::ptrdiff_t>(first), whole.to.begin() + static_cast<std::ptrdiff_t>(last));
    else
      part.to = whole.to;
    bool aborted = false;
    const int code = RunShell(part, aborted);
    if (result == 0) result = code;
    if (aborted) break;
    if (last == total) break;
    if (!list_.StepGoesOn(static_cast<int>(last), static_cast<int>(total), " <ESC> to stop")) break;
  }
  return result;
}

int FileOperations::MoveFiles(const std::vector<std::string>& paths, const std::vector<std::string>& targets, bool rename) {
  FileOperation op;
  op.function = shell_op::Move;
  op.flags = shell_op::AllowUndo | shell_op::FilesOnly | shell_op::MultiDestFiles | (rename ? shell_op::RenameOnCollision : 0);
  const int total = static_cast<int>(paths.size());
  for (int i = 0; i < total; ++i) {
    if (!list_.StepGoesOn(i + 1, total, " <ESC> to cancel.")) break;
    std::string target = targets[static_cast<std::size_t>(i)];
    // The shell may not honour the rename (Wine replaces the file that is there): the
    // program never lets a move replace a file when renaming was asked for.
    if (rename)
      target = FreeNumberedName(target, [&](const std::string& p) {
        return files_.FileExists(p) || std::find(op.to.begin(), op.to.end(), p) != op.to.end();
      });
    op.from.push_back(paths[static_cast<std::size_t>(i)]);
    op.to.push_back(target);
  }
  return RunInBatches(op);
}

void FileOperations::TakeOff(const std::vector<Selected>& items) {
  std::unordered_set<std::string> paths;
  for (const Selected& s : items) paths.insert(ToLower(s.path));
  ListView& list = list_.Current();
  list.BeginUpdate();  // thousands of items go; the window hears of it once
  // By path, not by the places read before the questions: the list may have moved since.
  for (int i = list.Count() - 1; i >= 0; --i) {
    const ListItem& item = list.Items()[static_cast<std::size_t>(i)];
    if (paths.count(ToLower(item.Column(1) + item.text))) list.RemoveItem(i);
  }
  list.EndUpdate();
}

void FileOperations::CheckProcessed(const std::vector<Selected>& processed) {
  const int total = static_cast<int>(processed.size());
  std::vector<Selected> gone;
  for (int i = total - 1; i >= 0; --i) {
    list_.ShowProgress(total - i, 2, total);
    ui_.DoEvents();
    const Selected& s = processed[static_cast<std::size_t>(i)];
    if (!files_.FileExists(s.path)) gone.push_back(s);
  }
  TakeOff(gone);
}

void FileOperations::TellNotDone(const std::vector<std::string>& handed, const char* what) {
  std::vector<std::string> left;
  for (const std::string& path : handed)
    if (files_.FileExists(path)) left.push_back(FilePart(path));
  if (left.empty()) return;
  Tell(NumberText(static_cast<double>(left.size())) + " of " + NumberText(static_cast<double>(handed.size())) +
           " file(s) were not " + what + ":\n" + NamesOneALine(left),
       mb::OkOnly | mb::Exclamation);
}

std::string FileOperations::SelectedFolder() const { return view_.ChosenPaneFolder(); }

void FileOperations::RefreshFolderList() {
  // A folder that went away leaves the pane at the nearest one still there.
  std::string path = view_.PaneFolder();
  while (path.size() > 3 && !files_.FolderExists(path)) path = DirectoryPart(path.substr(0, path.size() - 1));
  view_.ShowPaneFolder(path, FolderTreeEntries(files_, path));
}

namespace {
std::string withoutTrailingSlash(std::string folder) {
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}
}  // namespace

void FileOperations::DeleteFolder() {
  const std::string folder = SelectedFolder();
  if (!folders_.IsFolder(folder)) return;
  NoticeBeforeFirstShellUse();
  // The shell asks before a folder goes, whatever "Confirm Deletes" says.
  if (DeleteFiles({withoutTrailingSlash(folder)}, true, true) != 0) Tell("Unsuccessful delete operation.", mb::OkOnly | mb::Exclamation);
  RefreshFolderList();
}

void FileOperations::MoveFolder() {
  const std::string folder = SelectedFolder();
  if (!folders_.IsFolder(folder)) return;
  dialog_.AskFolderMove(folder);
  dialog_.ShowModal();
  if (dialog_.DialogResult() != FrmYesNoAllCancel::Yes && dialog_.DialogResult() != FrmYesNoAllCancel::YesToAll) return;
  NoticeBeforeFirstShellUse();
  FileOperation op;
  op.function = shell_op::Move;
  op.flags = shell_op::AllowUndo | (options_.RenameOnCollision ? shell_op::RenameOnCollision : 0);
  op.from = {withoutTrailingSlash(folder)};
  op.to = {withoutTrailingSlash(Trim(dialog_.MoveTarget()))};
  bool aborted = false;
  // A folder still where it was has not moved, whatever the shell answered (onto a
  // folder of the same name it does nothing and says nothing).
  const int code = RunShell(op, aborted);
  if (code != 0 || files_.FolderExists(folder)) Tell("Unsuccessful move operation.", mb::OkOnly | mb::Exclamation);
  RefreshFolderList();
}

void FileOperations::Dropped(const std::vector<std::string>& paths, bool onFolderPane) {
  list_.ForgetEarlierEscape();
  std::vector<std::string> folders;
  std::vector<std::string> dropped;
  for (const std::string& path : paths) {
    if (list_.EscapePressed()) {
      state_.Escape = false;
      Tell("User hit escape", mb::OkOnly | mb::Information);
      return;
    }
    if (files_.FolderExists(path)) folders.push_back(NormalizeFolder(path));
    else dropped.push_back(path);
  }
  if (onFolderPane) {
    if (paths.size() == 1) {
      folders_.ChangePictureFolder(paths.front(), true);
    } else if (paths.size() > 1) {
      Tell("One folder at a time, please.\nYou can drop multiple folders on the file-selection pane.",
           mb::OkOnly | mb::Information);
    }
    return;
  }
  if (!folders.empty()) {
    folders_.ReadActiveFolders(&folders, !dropped.empty());
    folders_.RecordDroppedFolders(folders);
  }
  if (!dropped.empty()) {
    // Dropped files_ join what the dropped folders gave.
    const bool append = state_.AppendRecord;
    state_.AppendRecord = append || !folders.empty();
    list_.FillListView("", &dropped);
    state_.AppendRecord = append;
  }
}

}  // namespace tapestrel
