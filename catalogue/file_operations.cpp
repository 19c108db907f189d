#include "catalogue/file_operations.h"

#include "app/program.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tapestrel {

namespace {
const char* const kNothingToDo[] = {"There are no files to delete.", "There are no files to move.",
                                    "There are no items to remove.", "There are no files to decode."};
}  // namespace

void FileOperations::Tell(const std::string& text, int style) {
  program_.platform.ui.MsgBox(text, style, kApplicationName);
}

std::vector<FileOperations::Selected> FileOperations::CollectSelected() {
  std::vector<Selected> selected;
  const ListView& list = program_.files.Current();
  for (int i = 0; i < list.Count(); ++i) {
    const ListItem& item = list.Items()[static_cast<std::size_t>(i)];
    if (item.selected) selected.push_back({i, item.Column(1) + item.text});
  }
  return selected;
}

void FileOperations::OperateOnFiles(Operation operation) {
  try {
    const ListView& list = program_.files.Current();
    if (list.Count() == 0) {
      Tell(kNothingToDo[operation], mb::OkOnly | mb::Information);
      return;
    }
    if (list.SelectedCount() == 0) {
      Tell("Select the an item, please.", mb::OkOnly | mb::Information);
      return;
    }
    if (operation != Decode) return;  // the other operations come with their dialog
    const std::vector<Selected> work = CollectSelected();
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < work.size(); ++i) {
      program_.files.ShowProgress(static_cast<int>(i + 1), 0, static_cast<int>(work.size()), " <ESC> to stop");
      paths.push_back(work[i].path);
    }
    const Options& o = program_.options;
    program_.decoder.DecodeSelectedFiles(paths, o.ReduceJpegSize, o.InternalDecoding ? 1 : 2);
    if (o.RemoveAfterDecode) {
      ListView& shown = program_.files.Current();
      for (auto it = work.rbegin(); it != work.rend(); ++it) shown.RemoveItem(it->index);
    } else {
      CheckProcessed(work);
    }
    program_.files.SelectWallpaperItem();
    program_.files.ShowTotals();
  } catch (const RuntimeError& e) {
    Tell(e.description + " (" + NumberText(e.number) + ") " + "has occurred while attempting to operate on file(s)",
         mb::OkOnly | mb::Critical);
  }
}

void FileOperations::CheckProcessed(const std::vector<Selected>& processed) {
  ListView& list = program_.files.Current();
  const int total = static_cast<int>(processed.size());
  for (int i = total - 1; i >= 0; --i) {
    program_.files.ShowProgress(total - i, 2, total);
    const Selected& s = processed[static_cast<std::size_t>(i)];
    if (!program_.platform.files.FileExists(s.path)) list.RemoveItem(s.index);
  }
}

}  // namespace tapestrel
