#include "desktop/screen_saver.h"

#include "app/program.h"
#include "platform/text.h"

namespace tapestrel {

namespace {
constexpr const char* kSystemIni = "system.ini";
constexpr const char* kBoot = "boot";
constexpr const char* kScreenSaverKey = "SCRNSAVE.EXE";
constexpr unsigned kScreenSaveCommand = 0xF140;  // SC_SCREENSAVE
}  // namespace

std::string ScreenSaver::GetScreenSaverPath() {
  return TrimAtNull(program_.platform.profiles.ReadProfileValue(kSystemIni, kBoot, kScreenSaverKey, ""));
}

bool ScreenSaver::SetScreenSaverPath(const std::string& path) {
  if (program_.platform.profiles.WriteProfileValue(kSystemIni, kBoot, kScreenSaverKey, path)) return true;
  program_.platform.ui.MsgBox("The screen saver " + path + " could not be written to system.ini.\nThe screen saver stays as it was.",
                              mb::OkOnly | mb::Exclamation, kApplicationName);
  return false;
}

void ScreenSaver::StartScreenSaver() { program_.platform.desktop.PostSystemCommand(program_.frmMain.native, kScreenSaveCommand); }

bool ScreenSaver::EnsureScreenSaverInstalled() {
  if (!GetScreenSaverPath().empty()) return true;
  FileSystem& files = program_.platform.files;
  const std::string fallback = Trim(program_.options.DefaultScreenSaver);
  if (!fallback.empty() && files.FileExists(fallback)) return SetScreenSaverPath(files.ShortPathName(fallback));
  program_.platform.ui.MsgBox("No screen saver installed and \nno default one listed.", mb::OkOnly | mb::Information,
                              kApplicationName);
  return true;
}

bool ScreenSaver::SetScreenSaverActive(bool on) {
  if (on && !EnsureScreenSaverInstalled()) return false;
  const bool taken = program_.platform.desktop.SetScreenSaveActive(on);
  if (on) StartScreenSaver();
  return taken;
}

void ScreenSaver::ScreenSaverCommand(int index) {
  FrmMain& main = program_.frmMain;
  main.mnuScreenSaver[index == 1 ? 1 : 0].SetChecked(true);
  main.mnuScreenSaver[index == 1 ? 0 : 1].SetChecked(false);
  const bool active = LeadingNumber(program_.registry.GetRegistryValue("ScreenSaveActive")) == 1;
  if (index == 1) {
    if (active) {
      if (EnsureScreenSaverInstalled()) StartScreenSaver();
    } else if (SetScreenSaverActive(true)) {
      // The pictures would change under a running screen saver.
      if (main.tmrTapestrel[0].Enabled()) program_.rotation.TimerOnOff();
    } else {
      main.mnuScreenSaver[0].SetChecked(true);  // still off
      main.mnuScreenSaver[1].SetChecked(false);
    }
  } else if (active) {
    SetScreenSaverActive(false);
  }
  main.ScreenSaverRadioChecks(main.mnuScreenSaver[1].Checked());
}

void ScreenSaver::FindDefaultScreenSaver() {
  Options& o = program_.options;
  if (!Trim(o.DefaultScreenSaver).empty()) return;
  FileSystem& files = program_.platform.files;
  for (const std::string& folder : {program_.state.WindowsFolder, program_.state.SystemFolder}) {
    const auto found = files.FindFiles(folder + "*.scr");
    if (!found.empty()) {
      o.DefaultScreenSaver = folder + found.front().name;
      return;
    }
  }
}

std::string ScreenSaver::DefaultFieldLeft(const std::string& text, bool closing) {
  Options& o = program_.options;
  if (closing) return text;
  const std::string entered = Trim(text);
  if (!entered.empty() && !program_.platform.files.FileExists(entered)) {
    program_.platform.ui.MsgBox(
        "The screen saver entered cannot be found. Make sure you have entered the correct path and filename.",
        mb::OkOnly | mb::Exclamation, kApplicationName);
    return o.DefaultScreenSaver;
  }
  o.DefaultScreenSaver = entered;
  return entered;
}

}  // namespace tapestrel
