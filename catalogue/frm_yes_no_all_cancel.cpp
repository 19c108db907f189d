#include "catalogue/frm_yes_no_all_cancel.h"

#include "catalogue/folder_set.h"
#include "core/options.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {
constexpr int kMoveHistory = 1;
constexpr const char* kMoveHint = "Move-to directory name";
}  // namespace

FrmYesNoAllCancel::FrmYesNoAllCancel(FileSystem& files, Ui& ui, const Options& options, FolderSet& folders)
    : Form("frmYesNoAllCancel", 6360, 3120), files_(files), ui_(ui), options_(options), folders_(folders) {
  Sizable = false;
  Image1.Move(240, 240, 480, 480);
  Image1.SystemIcon = 32514;  // the question mark
  lblYesNoCancel.Move(900, 180, 5220, 1380);
  cboMoveDirectories.Move(240, 1650, 4680, 315);
  cboMoveDirectories.SetText(kMoveHint);
  cmdBrowseForMoveDirectory.SetCaption("&Browse...");
  cmdBrowseForMoveDirectory.Move(5040, 1635, 1080, 345);
  const char* captions[] = {"&Yes", "Yes to &All", "&No", "&Cancel"};
  CommandButton* buttons[] = {&cmdYes, &cmdYesToAll, &cmdNo, &cmdCancel};
  for (int i = 0; i < 4; ++i) {
    buttons[i]->SetCaption(captions[i]);
    buttons[i]->Move(240 + i * 1500, 2160, 1380, 375);
  }
  cmdCancel.Cancel = true;
  cmdYes.Click = [this] { Answer(Yes, "yes"); };
  cmdYesToAll.Click = [this] { Answer(YesToAll, "yes"); };
  cmdNo.Click = [this] { Answer(No, "no"); };
  cmdCancel.Click = [this] { Answer(Cancel, "cancel"); };
  cboMoveDirectories.Click = [this] { MoveTargetChanged(); };
  cmdBrowseForMoveDirectory.Click = [this] {
    const std::string chosen = ui_.BrowseForFolder("Select a folder to move files to.");
    if (chosen.empty()) return;
    folders_.UpdateFolderHistory(kMoveHistory, chosen);
    FillMoveHistory();
    cboMoveDirectories.SetText(NormalizeFolder(chosen));
    MoveTargetChanged();
  };
}

std::string FrmYesNoAllCancel::Quoted(const std::string& folder) {
  if (folder.empty()) return "";
  std::string trimmed = folder;
  if (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  if (trimmed.size() <= 3 && trimmed.size() >= 2 && trimmed[1] == ':') return "'" + folder + "'";
  return "'" + trimmed.substr(trimmed.find_last_of('\\') + 1) + "'";
}

void FrmYesNoAllCancel::Prepare(const std::string& caption, bool move) {
  result_ = None;
  SetCaption(caption);
  cboMoveDirectories.SetVisible(move);
  cmdBrowseForMoveDirectory.SetVisible(move);
}

void FrmYesNoAllCancel::Ask(const std::string& caption, const std::string& text) {
  Prepare(caption, false);
  lblYesNoCancel.SetCaption(text);
}

void FrmYesNoAllCancel::FillMoveHistory() {
  const Options& o = options_;
  cboMoveDirectories.Clear();
  for (int i = 5; i < 10; ++i)
    if (!o.Folders[static_cast<std::size_t>(i)].empty()) cboMoveDirectories.AddItem(o.Folders[static_cast<std::size_t>(i)]);
}

void FrmYesNoAllCancel::Display(const std::string& file, const std::string& folder) {
  Prepare("Move file ?", true);
  file_ = file;
  folder_ = folder;
  FillMoveHistory();
  const Options& o = options_;
  const std::string target = o.Folders[static_cast<std::size_t>(std::clamp(o.MoveDirectory, 5, 9))];
  cboMoveDirectories.SetText(target);
  lblYesNoCancel.SetCaption(folder.empty() ? "Move " + file + "\n\nFrom   " + folder + "\n\nTo     " + target + " ?"
                                           : "Move " + file + "\n\nFrom   " + Quoted(folder) + "\n\nTo     " +
                                                 Quoted(target) + " ?");
}

void FrmYesNoAllCancel::AskFolderMove(const std::string& folder) {
  Prepare("Move folder to where?", true);
  file_.clear();
  folder_ = folder;
  FillMoveHistory();
  lblYesNoCancel.SetCaption("Move\n\n" + Quoted(folder) + "\n\n to where?");
}

void FrmYesNoAllCancel::MoveTargetChanged() {
  try {
    const std::string target = cboMoveDirectories.Text();
    if (file_.empty()) return;
    lblYesNoCancel.SetCaption(folder_.empty() ? "Move " + file_ + "\n\nTo    " + Quoted(target) + " ?"
                                              : "Move " + file_ + "\n\nFrom: " + Quoted(folder_) + "\n\nTo: " +
                                                    Quoted(target) + " ?");
  } catch (const RuntimeError& e) {
    ui_.MsgBox(e.description + " (" + NumberText(e.number) + ") " + "has occurred while changing the move-to folder.",
               mb::OkOnly | mb::Critical, kApplicationName);
  }
}

void FrmYesNoAllCancel::Answer(Result result, const char* where) {
  try {
    const std::string target = Trim(cboMoveDirectories.Text());
    const bool moving = (result == Yes || result == YesToAll) && cboMoveDirectories.Visible();
    if (moving) {
      // Only an existing folder, named in full, is a place to move to; the hint never is.
      if (target.empty() || target == kMoveHint || !IsFullPath(target) ||
          !files_.FolderExists(NormalizeFolder(target))) {
        ui_.MsgBox((target.empty() || target == kMoveHint ? std::string("No folder is given")
                                                          : "\"" + target + "\" is not an existing folder") +
                       " to move to.\nEnter the full path of a folder, or choose one with Browse.",
                   mb::OkOnly | mb::Exclamation, kApplicationName);
        return;  // the question stays, with what was typed
      }
      moveTarget_ = NormalizeFolder(target);
      folders_.UpdateFolderHistory(kMoveHistory, target);
    }
    result_ = result;
    Hide();
  } catch (const RuntimeError& e) {
    ui_.MsgBox(
        NumberText(e.number) + " " + e.description + " " + "has occurred while pressing the " + where + " button.",
        mb::OkOnly | mb::Critical, kApplicationName);
  }
}

bool FrmYesNoAllCancel::Form_QueryUnload() {
  if (result_ != None) return true;
  ui_.MsgBox("Choose an option, please", mb::OkOnly | mb::Information, kApplicationName);
  return false;
}

}  // namespace tapestrel
