// Every system service over the real Windows calls, for the program and the tests
// that run under Windows (or Wine).
#pragma once

#include <functional>
#include <memory>

#include "platform/platform.h"

namespace tapestrel {

class Win32Platform {
 public:
  Win32Platform();
  ~Win32Platform();
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Platform& platform() { return *platform_; }
  // See Win32Ui::WorkMessageFilter.
  void SetWorkMessageFilter(std::function<bool(void* message)> filter);

 private:
  std::unique_ptr<Registry> registry_;
  std::unique_ptr<SettingsStore> settings_;
  std::unique_ptr<ProfileFiles> profiles_;
  std::unique_ptr<FileSystem> files_;
  std::unique_ptr<Ui> ui_;
  std::unique_ptr<Clock> clock_;
  std::unique_ptr<Desktop> desktop_;
  std::unique_ptr<Processes> processes_;
  std::unique_ptr<Gvbox> gvbox_;
  std::unique_ptr<Shell> shell_;
  std::unique_ptr<Mci> mci_;
  std::unique_ptr<Platform> platform_;
};

}  // namespace tapestrel
