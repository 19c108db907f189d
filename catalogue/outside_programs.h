// Handing files and folders to other programs: the Explorer, the program the system
// associates with a file's type, and the viewers and editors the user configures in the
// options dialog (the first viewer may be the program's own full-screen view, "internal").
// Programs are started and not waited for.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

class FileList;
class FileSystem;
class MainView;
class PictureViewer;
class Processes;
class ProgramFields;
class Rotation;
class Shell;
class Ui;
struct Options;
struct ProgramState;

// The placeholders of the program table: they name no program.
inline constexpr const char* kInternalViewer = "internal";
inline constexpr const char* kNoEditor = "Enter an editor";

class OutsidePrograms {
 public:
  enum Mode { View = 0, Edit = 1 };
  OutsidePrograms(FileSystem& files, Ui& ui, Processes& processes, Shell& shell, Options& options,
                  const ProgramState& state, FileList& list, Rotation& rotation, MainView& view, PictureViewer& viewer,
                  ProgramFields& fields)
      : files_(files),
        ui_(ui),
        processes_(processes),
        shell_(shell),
        options_(options),
        state_(state),
        list_(list),
        rotation_(rotation),
        view_(view),
        viewer_(viewer),
        fields_(fields) {}

  // Starts the Explorer with an argument text ("/e,/root," and the like).
  void RunExplorer(const std::string& arguments, int showCommand);
  // The Explore commands: 1 the desktop, 2 the folder pane's folder, 3 the selected file,
  // 4 the wallpaper file.
  void Explore(int which);
  // Opens a file with its associated program; false when that did not happen.
  bool OpenWithAssociation(const std::string& path, int showCommand);
  // "&Run File", Enter and a double click in a file list: the focused selected file.
  void RunFile();
  // Views or edits the selected files with the program in use; with nothing selected
  // (and an outside program in use) every file of the list, after asking.
  void ViewOrEdit(Mode mode);
  // The program's own full-screen view of the focused selected file.
  void ViewInternal();
  // Whether a path names an existing file; tells the user when it does not.
  bool FileNameExist(const std::string& path);
  // The captions and tips that name the viewer and the editor in use.
  void CaptionUpdateforViewers();
  void CaptionUpdateforEditors();
  // The options dialog's "..." beside program field n (0-4 viewers, 5-9 editors).
  void BrowseForProgram(int n);
  // The options dialog's two program choices, listed anew from the ten fields.
  void FillProgramChoices();
  // What the options dialog's "O&K" checks and keeps of the program choices; false
  // when a chosen program cannot be found.
  bool StoreProgramChoices();

  // The path in use for a mode, and how a file is given to it on a command line.
  std::string ProgramInUse(Mode mode) const;
  std::string CommandLinePath(const std::string& path);

 private:
  // The selected files in list order (or all of them), collected with progress; Esc
  // stops the collecting and nothing is started.
  bool CollectFiles(bool all, std::vector<std::string>& files);
  // The file a one-file command means: the focused item when selected, else the first
  // selected one; -1 when nothing is selected.
  int ChosenItem() const;
  void Tell(const std::string& text, int style, const std::string& title);
  void TellGone(int index);
  // The switch that opens every Explorer command: two panes or one.
  std::string ExplorerSwitch() const;

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Processes& processes_;
  Shell& shell_;
  Options& options_;
  const ProgramState& state_;
  FileList& list_;
  Rotation& rotation_;
  MainView& view_;
  PictureViewer& viewer_;
  ProgramFields& fields_;
};

}  // namespace tapestrel
