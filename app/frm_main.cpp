#include "app/frm_main.h"

#include "app/program.h"

namespace tapestrel {

void FrmMain::Form_Unload() {
  // The media event assignments are kept on every unload, saved or not.
  program_.platform.settings.SaveSetting(kStartUpSection, "mciEvents", program_.options.mciEvents);
}

}  // namespace tapestrel
