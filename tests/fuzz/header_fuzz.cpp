// Feeds arbitrary bytes to every picture-header reader and to the BMP reader. A reader
// must never crash, hang, read past its input or leave a file open, whatever it is given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program.h"
#include "platform/bitmap.h"
#include "platform/memory/memory_platform.h"

namespace {

using namespace tapestrel;

// One file whose bytes are the fuzzer's input, served without touching the disk.
class InputFileSystem : public MemoryFileSystem {
 public:
  using MemoryFileSystem::MemoryFileSystem;
  std::string bytes;

  bool FileExists(const std::string&) override { return true; }
  std::unique_ptr<InputFile> OpenRead(const std::string&) override { return std::make_unique<Buffer>(bytes); }

 private:
  class Buffer : public InputFile {
   public:
    explicit Buffer(const std::string& data) : data_(data) {}
    std::size_t Read(void* into, std::size_t count) override {
      const std::size_t n = position_ >= data_.size() ? 0 : std::min(count, data_.size() - static_cast<std::size_t>(position_));
      std::memcpy(into, data_.data() + position_, n);
      position_ += n;
      return n;
    }
    bool Seek(std::uint64_t position) override {
      position_ = position;
      return true;
    }
    std::uint64_t Position() const override { return position_; }
    std::uint64_t Size() const override { return data_.size(); }

   private:
    const std::string& data_;
    std::uint64_t position_ = 0;
  };
};

struct World {
  MemoryPlatform memory;
  InputFileSystem files{memory.root()};
  Platform platform{memory.registry, memory.settings, memory.profiles, files,
                    memory.ui,       memory.clock,    memory.desktop,  memory.processes, memory.gvbox};
  Program program{platform};
};

World& world() {
  static World* w = new World;  // lives for the whole run
  return *w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  World& w = world();
  w.files.bytes.assign(reinterpret_cast<const char*>(data), size);
  // Half the runs are quiet; the others answer every message with its first button.
  w.program.state.HeaderReaderQuiet = size % 2 == 0;
  w.program.options.JpegCommentOn = 1;
  HeaderReader& reader = w.program.headers;
  for (const char* name : {"a.jpg", "a.bmp", "a.pcx", "a.tga", "a.wmf"}) reader.ReadImageHeader(name);
  reader.ReadGifHeader("a.gif");
  reader.ReadTiffHeader("a.tif");
  if (reader.FileOpen()) std::abort();  // every reading must have closed its file
  (void)ReadBmp(w.files.bytes);
  w.memory.ui.ClearMessages();
  return 0;
}
