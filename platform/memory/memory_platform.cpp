#include "platform/memory/memory_platform.h"

#include <atomic>
#include <random>
#include <string>
#include <system_error>

namespace tapestrel {

namespace fs = std::filesystem;

fs::path MemoryPlatform::MakeRoot() {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  const fs::path root = fs::temp_directory_path() /
                        ("tapestrel-" + std::to_string(entropy()) + "-" + std::to_string(counter++));
  fs::create_directories(root);
  return root;
}

MemoryPlatform::MemoryPlatform()
    : root_(MakeRoot()), files(root_), platform_{registry, settings, profiles, files, ui, clock, desktop, processes, gvbox, shell, mci} {}

MemoryPlatform::~MemoryPlatform() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

}  // namespace tapestrel
