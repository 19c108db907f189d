#include "desktop/screen_saver.h"

#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "core/registry_routines.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/profile_files.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/rotation.h"

namespace tapestrel {

namespace {
constexpr const char* kSystemIni = "system.ini";
constexpr const char* kBoot = "boot";
constexpr const char* kScreenSaverKey = "SCRNSAVE.EXE";
constexpr unsigned kScreenSaveCommand = 0xF140;  // SC_SCREENSAVE
}  // namespace

std::string ScreenSaver::GetScreenSaverPath() {
  return TrimAtNull(profiles_.ReadProfileValue(kSystemIni, kBoot, kScreenSaverKey, ""));
}

bool ScreenSaver::SetScreenSaverPath(const std::string& path) {
  if (profiles_.WriteProfileValue(kSystemIni, kBoot, kScreenSaverKey, path)) return true;
  ui_.MsgBox("The screen saver " + path + " could not be written to system.ini.\nThe screen saver stays as it was.",
             mb::OkOnly | mb::Exclamation, kApplicationName);
  return false;
}

void ScreenSaver::StartScreenSaver() { desktop_.PostSystemCommand(view_.NativeHandle(), kScreenSaveCommand); }

bool ScreenSaver::EnsureScreenSaverInstalled() {
  if (!GetScreenSaverPath().empty()) return true;
  const std::string fallback = Trim(options_.DefaultScreenSaver);
  if (!fallback.empty() && files_.FileExists(fallback)) return SetScreenSaverPath(files_.ShortPathName(fallback));
  ui_.MsgBox("No screen saver installed and \nno default one listed.", mb::OkOnly | mb::Information, kApplicationName);
  return true;
}

bool ScreenSaver::SetScreenSaverActive(bool on) {
  if (on && !EnsureScreenSaverInstalled()) return false;
  const bool taken = desktop_.SetScreenSaveActive(on);
  if (on) StartScreenSaver();
  return taken;
}

void ScreenSaver::ScreenSaverCommand(int index) {
  MainView& main = view_;
  main.ShowScreenSaverChoice(index == 1);
  const bool active = LeadingNumber(registry_.GetRegistryValue("ScreenSaveActive")) == 1;
  if (index == 1) {
    if (active) {
      if (EnsureScreenSaverInstalled()) StartScreenSaver();
    } else if (SetScreenSaverActive(true)) {
      // The pictures would change under a running screen saver.
      if (main.ClockRunning()) rotation_.TimerOnOff();
    } else {
      main.ShowScreenSaverChoice(false);  // still off
    }
  } else if (active) {
    SetScreenSaverActive(false);
  }
  main.ScreenSaverRadioChecks(main.ScreenSaverChecked());
}

void ScreenSaver::FindDefaultScreenSaver() {
  Options& o = options_;
  if (!Trim(o.DefaultScreenSaver).empty()) return;
  for (const std::string& folder : {state_.WindowsFolder, state_.SystemFolder}) {
    const auto found = files_.FindFiles(folder + "*.scr");
    if (!found.empty()) {
      o.DefaultScreenSaver = folder + found.front().name;
      return;
    }
  }
}

std::string ScreenSaver::DefaultFieldLeft(const std::string& text, bool closing) {
  Options& o = options_;
  if (closing) return text;
  const std::string entered = Trim(text);
  if (!entered.empty() && !files_.FileExists(entered)) {
    ui_.MsgBox("The screen saver entered cannot be found. Make sure you have entered the correct path and filename.",
               mb::OkOnly | mb::Exclamation, kApplicationName);
    return o.DefaultScreenSaver;
  }
  o.DefaultScreenSaver = entered;
  return entered;
}

}  // namespace tapestrel
