// The confirmation asked for one file at a time before a delete, move, remove or decode:
// Yes, Yes to All, No or Cancel; for a move also the folder the files go to.
#pragma once

#include <string>

#include "platform/controls/controls.h"
#include "platform/controls/form.h"

namespace tapestrel {

class FileSystem;
class FolderSet;
class Ui;
struct Options;

class FrmYesNoAllCancel : public Form {
 public:
  enum Result { None = 0, Yes = 1, No = 2, Cancel = 3, YesToAll = 4 };
  FrmYesNoAllCancel(FileSystem& files, Ui& ui, const Options& options, FolderSet& folders);

  // A question of a delete, remove or decode: no move-to folder.
  void Ask(const std::string& caption, const std::string& text);
  // The move question for one file and the folder it is in.
  void Display(const std::string& file, const std::string& folder);
  // The folder question of a folder move: the user picks where.
  void AskFolderMove(const std::string& folder);
  int DialogResult() const { return result_; }
  // The move-to folder as the combo holds it.
  // The folder the last Yes or "Yes to &All" moves to, as it stood at that answer: a full
  // path of an existing folder, ending in a backslash.
  const std::string& MoveTarget() const { return moveTarget_; }
  // A folder's last part in single quotes, a drive root whole, nothing for none.
  static std::string Quoted(const std::string& folder);

  CommandButton cmdYes{*this, "cmdYes"};
  CommandButton cmdYesToAll{*this, "cmdYesToAll"};
  CommandButton cmdNo{*this, "cmdNo"};
  CommandButton cmdCancel{*this, "cmdCancel"};
  Label lblYesNoCancel{*this, "lblYesNoCancel"};
  PictureBox Image1{*this, "Image1"};
  ComboBox cboMoveDirectories{*this, "cboMoveDirectories"};
  CommandButton cmdBrowseForMoveDirectory{*this, "cmdBrowseForMoveDirectory"};

 protected:
  bool Form_QueryUnload() override;

 private:
  void Prepare(const std::string& caption, bool move);
  void Answer(Result result, const char* where);
  void MoveTargetChanged();
  void FillMoveHistory();

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  const Options& options_;
  FolderSet& folders_;
  int result_ = None;
  std::string moveTarget_;
  std::string file_;
  std::string folder_;
};

}  // namespace tapestrel
