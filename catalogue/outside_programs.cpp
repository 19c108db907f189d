#include "catalogue/outside_programs.h"

#include <algorithm>

#include "catalogue/file_list.h"
#include "catalogue/program_fields.h"
#include "core/main_view.h"
#include "core/options.h"
#include "core/picture_viewer.h"
#include "core/program_state.h"
#include "platform/controls/list_view.h"
#include "platform/desktop.h"
#include "platform/settings_store.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/rotation.h"

namespace tapestrel {

namespace {

// The name a program is known by: its file name without the extension.
std::string fileTitle(const std::string& path) {
  std::string name = FilePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// A path as one argument of a command line; a comma would part the Explorer's arguments.
std::string oneArgument(const std::string& path) { return CommandArgument(path, " ,"); }

bool isPlaceholder(const std::string& path) {
  return EqualsIgnoreCase(path, kInternalViewer) || EqualsIgnoreCase(path, kNoEditor);
}

}  // namespace

int OutsidePrograms::ChosenItem() const {
  // The focused item when it is selected, else the first selected one.
  const ListView& list = list_.Current();
  const int focused = list.FocusedIndex();
  if (focused >= 0 && focused < list.Count() && list.Items()[static_cast<std::size_t>(focused)].selected) return focused;
  const auto first = std::find_if(list.Items().begin(), list.Items().end(), [](const ListItem& i) { return i.selected; });
  return first == list.Items().end() ? -1 : static_cast<int>(first - list.Items().begin());
}

void OutsidePrograms::Tell(const std::string& text, int style, const std::string& title) {
  ui_.MsgBox(text, style, title);
}

std::string OutsidePrograms::ExplorerSwitch() const { return options_.OpenExplorerStyle ? "/n" : "/e"; }

void OutsidePrograms::RunExplorer(const std::string& arguments, int showCommand) {
  const std::string command = oneArgument(state_.WindowsFolder + "explorer.exe") + " " + arguments;
  if (const auto failure = processes_.Start(command, showCommand))
    Tell(failure->description + " (" + NumberText(failure->number) + ") " + "has occurred while starting the Explorer.",
         mb::OkOnly | mb::Critical, kApplicationName);
}

void OutsidePrograms::Explore(int which) {
  const std::string select = ExplorerSwitch() + ",/select,";
  switch (which) {
    case 1:
      RunExplorer(ExplorerSwitch() + ",/root,", show_window::Normal);
      return;
    case 2: {
      std::string folder = view_.ChosenPaneFolder();
      // Without its closing backslash the folder is selected in its parent, not opened.
      if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
      RunExplorer(select + oneArgument(folder), show_window::Normal);
      return;
    }
    case 3: {
      const ListView& list = list_.Current();
      const int chosen = ChosenItem();
      if (chosen < 0) {
        Tell("You must select an item to shell to", mb::OkOnly | mb::Information, "Shell error");
        return;
      }
      const ListItem& item = list.Items()[static_cast<std::size_t>(chosen)];
      RunExplorer(select + oneArgument(item.Column(1) + item.text), show_window::Normal);
      return;
    }
    case 4: {
      const std::string& wallpaper = options_.WallPaperName;
      if (wallpaper.empty()) {
        Tell("There is no wallpaper file to explore.", mb::OkOnly | mb::Information, kApplicationName);
        return;
      }
      RunExplorer(select + oneArgument(wallpaper), show_window::Normal);
      return;
    }
    default:
      return;
  }
}

void OutsidePrograms::TellGone(int index) {
  ListView& list = list_.Current();
  Tell(list.Items()[static_cast<std::size_t>(index)].text + " is not present!" + "\n" +
           "Therefore, it will be removed from the list.",
       mb::OkOnly | mb::Information, kApplicationName);
  list.RemoveItem(index);
  list_.ShowTotals();
}

bool OutsidePrograms::OpenWithAssociation(const std::string& path, int showCommand) {
  const int r = shell_.Execute(view_.NativeHandle(), path, showCommand);
  if (r > 32) return true;
  if (r == 31) {
    Tell("There is no association for the specified file type", mb::OkOnly | mb::Information, kApplicationName);
  } else if (r == 2) {
    const ListView& list = list_.Current();
    const auto at = std::find_if(list.Items().begin(), list.Items().end(), [&path](const ListItem& i) {
      return EqualsIgnoreCase(i.Column(1) + i.text, path);
    });
    if (at != list.Items().end()) {
      TellGone(static_cast<int>(at - list.Items().begin()));
    } else {
      Tell(FilePart(path) + " is not present!", mb::OkOnly | mb::Information, kApplicationName);
    }
  } else if (r != 5) {
    Tell("ShellExecute has unsuccessfully tried to open the file\nError number " + NumberText(r) + " has occurred",
         mb::OkOnly | mb::Exclamation, kApplicationName);
  }
  return false;
}

void OutsidePrograms::RunFile() {
  const ListView& list = list_.Current();
  const int chosen = ChosenItem();
  if (chosen < 0) {
    Tell("Select a file to open it", mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  const ListItem& item = list.Items()[static_cast<std::size_t>(chosen)];
  OpenWithAssociation(item.Column(1) + item.text, show_window::Normal);
}

void OutsidePrograms::ViewInternal() {
  ListView& list = list_.Current();
  const int focused = list.FocusedIndex();
  if (focused < 0 || focused >= list.Count() || !list.Items()[static_cast<std::size_t>(focused)].selected) {
    Tell("Please select a file for full-screen viewing and make sure the selected file has the focus.",
         mb::OkOnly | mb::Information, kApplicationName);
    return;
  }
  const ListItem& item = list.Items()[static_cast<std::size_t>(focused)];
  const std::string path = item.Column(1) + item.text;
  if (!files_.FileExists(path)) {
    TellGone(focused);
    return;
  }
  if (!viewer_.Showing()) viewer_.SetViewerMode(options_.BackdropMode == 3 ? 3 : 4);
  if (viewer_.ShowInViewer(path)) rotation_.SetPosition(focused + 1);
}

std::string OutsidePrograms::ProgramInUse(Mode mode) const {
  const Options& o = options_;
  const int at = mode == View ? std::clamp(o.Viewer, 0, 4) : std::clamp(o.Editor, 5, 9);
  return o.Programs[static_cast<std::size_t>(at)];
}

std::string OutsidePrograms::CommandLinePath(const std::string& path) {
  // The short form needs no quotes; a volume without short names gives none, and the
  // long path then goes in quotes so that it stays one argument.
  const std::string shortPath = files_.ShortPathName(path);
  return oneArgument(shortPath.empty() ? path : shortPath);
}

bool OutsidePrograms::CollectFiles(bool all, std::vector<std::string>& files) {
  const ListView& list = list_.Current();
  list_.ForgetEarlierEscape();
  const int total = all ? list.Count() : list.SelectedCount();
  for (const ListItem& item : list.Items()) {
    if (!all && !item.selected) continue;
    if (!list_.StepGoesOn(static_cast<int>(files.size()) + 1, total, " <ESC> to stop.")) return false;
    files.push_back(CommandLinePath(item.Column(1) + item.text));
  }
  return true;
}

void OutsidePrograms::ViewOrEdit(Mode mode) {
  std::string shown;
  try {
    const std::string programPath = ProgramInUse(mode);
    if (mode == View && EqualsIgnoreCase(programPath, kInternalViewer)) {
      ViewInternal();
      return;
    }
    const ListView& list = list_.Current();
    if (list.Count() == 0) {
      Tell("There are no files in the list.", mb::OkOnly | mb::Information, kApplicationName);
      return;
    }
    if (!FileNameExist(programPath)) return;
    const bool all = list.SelectedCount() == 0;
    if (all && ui_.MsgBox(std::string(mode == View ? "View all pictures in the directory"
                                                   : "Edit all pictures in the directory") +
                              " ?",
                          mb::YesNo | mb::Information, kApplicationName) != mb::IdYes)
      return;
    const int chosen = all ? 0 : ChosenItem();
    const ListItem& first = list.Items()[static_cast<std::size_t>(chosen)];
    shown = first.Column(1) + first.text;
    std::vector<std::string> files;
    const bool complete = CollectFiles(all, files);
    list_.ShowTotals();
    if (!complete || files.empty()) return;
    std::string command = oneArgument(programPath);
    for (const std::string& file : files) command += " " + file;
    if (const auto failure = processes_.Start(command, show_window::Normal)) throw *failure;
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " + "has occurred while attempting to view the following file:" +
             "\n\t" + shown + "\n" + "Try changing the viewer to an external one through the options dialog " + "\n" +
             "or open it using the associated application by selecting the file " + "\n" +
             "and pressing return or double-clicking on it.",
         mb::OkOnly | mb::Exclamation, kApplicationName);
  }
}

bool OutsidePrograms::FileNameExist(const std::string& path) {
  // One existing file: a pattern such as "C:\\Tools\\*.exe" names no program.
  if (files_.FileExists(Trim(path))) return true;
  Tell(path + " cannot be found." + "\n" + "Make sure you have entered the correct path and filename.",
       mb::OkOnly | mb::Information, kApplicationName);
  return false;
}

void OutsidePrograms::CaptionUpdateforViewers() {
  // The pop-up names the one file it acts on when only one is selected.
  const bool one = list_.Current().SelectedCount() == 1;
  const std::string viewer = ProgramInUse(View);
  const bool internal = EqualsIgnoreCase(viewer, kInternalViewer);
  MainView& frm = view_;
  frm.SetPopUpItemCaption(
      PopUp::List, 1,
      internal ? "Full-screen view" : (one ? "View file using " : "View files using ") + fileTitle(viewer));
  frm.SetToolTip("view", internal ? "Full-screen view" : "View files using " + fileTitle(viewer));
}

void OutsidePrograms::CaptionUpdateforEditors() {
  const bool one = list_.Current().SelectedCount() == 1;
  const std::string editor = fileTitle(ProgramInUse(Edit));
  MainView& frm = view_;
  frm.SetPopUpItemCaption(PopUp::List, 2, (one ? "Edit file using " : "Edit files using ") + editor);
  frm.SetToolTip("edit", "Edit files using " + editor);
}

void OutsidePrograms::BrowseForProgram(int n) {
  OpenFileRequest request;
  request.filters = {{"Programs (*.exe)", "*.exe"}};
  request.defaultExtension = "exe";
  request.title = n < 5 ? "Browse for Viewer" : "Browse for Editor";
  // A placeholder names no file to start from.
  const std::string chosen = fields_.BrowseIntoProgramField(n, request, !isPlaceholder(Trim(fields_.ProgramField(n))));
  if (chosen.empty()) return;
  options_.Programs[static_cast<std::size_t>(n)] = chosen;
  FillProgramChoices();
}

void OutsidePrograms::FillProgramChoices() {
  const Options& o = options_;
  for (int k = 0; k < 2; ++k) {
    const int chosen = fields_.ProgramChoice(k);
    const int kept = chosen >= 0 ? chosen : (k == 0 ? o.Viewer : o.Editor - 5);
    std::vector<std::string> entries;
    for (int i = 0; i < 5; ++i) entries.push_back(fields_.ProgramField(k * 5 + i));
    fields_.ShowProgramChoices(k, entries, std::clamp(kept, 0, 4));
  }
}

bool OutsidePrograms::StoreProgramChoices() {
  Options& o = options_;
  const int viewerChoice = fields_.ProgramChoice(0);
  const int editorChoice = fields_.ProgramChoice(1);
  const int viewer = viewerChoice >= 0 ? std::min(viewerChoice, 4) : std::clamp(o.Viewer, 0, 4);
  const int editor = editorChoice >= 0 ? 5 + std::min(editorChoice, 4) : std::clamp(o.Editor, 5, 9);
  for (const int chosen : {viewer, editor}) {
    const std::string& path = o.Programs[static_cast<std::size_t>(chosen)];
    if (!isPlaceholder(path) && !FileNameExist(path)) return false;
  }
  o.Viewer = viewer;
  o.Editor = editor;
  CaptionUpdateforViewers();
  CaptionUpdateforEditors();
  return true;
}

}  // namespace tapestrel
