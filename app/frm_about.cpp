#include "app/frm_about.h"

#include "core/program_state.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/settings_store.h"
#include "platform/text.h"

namespace tapestrel {

namespace {
constexpr long kWidth = 6300;
constexpr long kHeight = 4500;

std::string megabytes(std::uint64_t bytes) {
  return FormatNumber(static_cast<double>(bytes) / (1024.0 * 1024.0), "#,###.#") + " MB";
}
}  // namespace

FrmAbout::FrmAbout(Desktop& desktop, FileSystem& files, const ProgramState& state)
    : Form("frmAbout", kWidth, kHeight), desktop_(desktop), files_(files), state_(state) {
  Sizable = false;
  SetCaption(std::string("About ") + kApplicationName);
  lblTitle.SetCaption(kApplicationName);
  lblTitle.SetFont({"MS Sans Serif", 14, true});
  lblTitle.Move(240, 180, 5700, 450);
  lblVersion.SetCaption(std::string("Version ") + kProgramVersion);
  lblVersion.Move(240, 660, 5700, 270);
  lblComment.SetCaption(kProgramComment);
  lblComment.Move(240, 960, 5700, 270);
  fraSystem.SetCaption("System information");
  fraSystem.Move(240, 1350, 5700, 1950);
  lblSystem.Move(390, 1620, 5400, 1620);
  lblSystem.SetContainer(&fraSystem);
  cmdOK.SetCaption("OK");
  cmdOK.Move(4740, 3450, 1200, 375);
  cmdOK.Click = [this] { Unload(); };
}

std::string FrmAbout::SystemInformation() const {
  Desktop& desktop = desktop_;
  const MemoryStatus memory = desktop.Memory();
  const std::string folder = state_.ProgramFolder;
  return "Platform: " + desktop.PlatformText() + "\n" + "Processor: " + desktop.ProcessorText() + "\n" +
         "Memory load: " + NumberText(memory.loadPercent) + "%\n" +
         "Physical memory: " + megabytes(memory.availablePhysical) + " free of " + megabytes(memory.totalPhysical) +
         "\n" + "Page file: " + megabytes(memory.availablePageFile) + " free of " + megabytes(memory.totalPageFile) +
         "\n" + "Free disk space on " + folder.substr(0, 2) + " " + megabytes(files_.FreeDiskSpace(folder));
}

void FrmAbout::ShowBox(bool splash) {
  lblSystem.SetCaption(SystemInformation());
  cmdOK.SetVisible(!splash);
  TopMost = splash;
  Desktop& desktop = desktop_;
  Move((desktop.ScreenWidth() - Width()) / 2, (desktop.ScreenHeight() - Height()) / 2, Width(), Height());
  Show();
}

}  // namespace tapestrel
