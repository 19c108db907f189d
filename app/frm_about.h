// The About box: the program's name, version and comment, and what it can tell of the
// system. At start-up it also serves as the splash window.
#pragma once

#include "platform/controls/controls.h"
#include "tapestrel_version.h"
#include "platform/controls/form.h"

namespace tapestrel {

class Desktop;
class FileSystem;
struct ProgramState;

inline constexpr const char* kProgramVersion = TAPESTREL_VERSION;
inline constexpr const char* kProgramComment = "Changes the desktop wallpaper from folders of pictures.";

class FrmAbout : public Form {
 public:
  FrmAbout(Desktop& desktop, FileSystem& files, const ProgramState& state);

  // Fills in the system information and shows the box centred on the screen; as a
  // splash it has no OK button and stays above the other windows.
  void ShowBox(bool splash);
  // The system information as the box shows it.
  std::string SystemInformation() const;

  Label lblTitle{*this, "lblTitle"};
  Label lblVersion{*this, "lblVersion"};
  Label lblComment{*this, "lblComment"};
  Frame fraSystem{*this, "fraSystem"};
  Label lblSystem{*this, "lblSystem"};
  CommandButton cmdOK{*this, "cmdOK"};

 private:
  Desktop& desktop_;
  FileSystem& files_;
  const ProgramState& state_;
};

}  // namespace tapestrel
