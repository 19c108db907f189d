#include "platform/win32/win32_platform.h"

#include "platform/win32/win32_services.h"

namespace tapestrel {

Win32Platform::Win32Platform()
    : registry_(std::make_unique<Win32Registry>()),
      settings_(std::make_unique<Win32SettingsStore>()),
      profiles_(std::make_unique<Win32ProfileFiles>()),
      files_(std::make_unique<Win32FileSystem>()),
      ui_(std::make_unique<Win32Ui>()),
      clock_(std::make_unique<Win32Clock>()),
      desktop_(std::make_unique<Win32Desktop>()),
      processes_(std::make_unique<Win32Processes>()),
      gvbox_(std::make_unique<Win32Gvbox>(*files_)),
      shell_(std::make_unique<Win32Shell>()),
      mci_(std::make_unique<Win32Mci>()),
      platform_(std::make_unique<Platform>(Platform{*registry_, *settings_, *profiles_, *files_, *ui_, *clock_,
                                                    *desktop_, *processes_, *gvbox_, *shell_, *mci_})) {}

Win32Platform::~Win32Platform() = default;

void Win32Platform::SetWorkMessageFilter(std::function<bool(void* message)> filter) {
  static_cast<Win32Ui&>(*ui_).WorkMessageFilter = std::move(filter);
}

}  // namespace tapestrel
