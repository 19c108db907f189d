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
#include "tests/fuzz/input_file_system.h"

namespace {

using namespace tapestrel;

struct World {
  MemoryPlatform memory;
  fuzzing::InputFileSystem files{memory.root()};
  Platform platform{memory.registry, memory.settings, memory.profiles, files,
                    memory.ui,       memory.clock,    memory.desktop,  memory.processes, memory.gvbox, memory.shell, memory.mci};
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
  for (const char* name : {"a.jpg", "a.bmp", "a.pcx", "a.tga", "a.wmf", "a.webp", "a.heic", "a.avif"})
    reader.ReadImageHeader(name);
  reader.ReadGifHeader("a.gif");
  reader.ReadTiffHeader("a.tif");
  if (reader.FileOpen()) std::abort();  // every reading must have closed its file
  (void)ReadBmp(w.files.bytes);
  w.memory.ui.ClearMessages();
  return 0;
}
