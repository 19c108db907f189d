#include "app/program.h"

#include "platform/text.h"

namespace tapestrel {

void Program::FindFolders() {
  FileSystem& files = platform.files;
  state.WindowsFolder = NormalizeFolder(files.WindowsDirectory());
  state.SystemFolder = NormalizeFolder(files.SystemDirectory());
  state.ProgramFolder = NormalizeFolder(files.ProgramFolder());
}

void Program::ApplyWindowPosition() {
  if (!options.HasWindowPosition) return;
  const WindowPlacement& p = options.WindowPosition;
  if (p.width <= 0 || p.height <= 0) return;
  frmMain.Move(p.left, p.top, p.width, p.height);
}

void Program::Start() {
  FindFolders();
  settings.LoadNormalWindowAtStart();
  settings.Load();
  ApplyWindowPosition();
  frmMain.SetCaption(kApplicationName);
  frmMain.Show();
  settings.SaveFolderHistories();
}

void Program::SaveAllSettings() {
  if (frmMain.Loaded() && frmMain.State() == WindowState::Normal) {
    options.HasWindowPosition = true;
    options.WindowPosition = {frmMain.Left(), frmMain.Top(), frmMain.Width(), frmMain.Height()};
  }
  settings.SaveAll();
}

}  // namespace tapestrel
