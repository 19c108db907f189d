// Feeds arbitrary bytes to every decoder through the decoder control, as JPEG, PNG, TGA,
// PCX, BMP, WebP, GIF and TIFF, whole or fitted smaller, in full colour or reduced to 256 colours. A
// decoder must never crash, hang, read past its input or leak; a picture it cannot take
// is an error the control raises, and a picture larger than the limit is refused before
// its memory is asked for.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/gvbox.h"
#include "platform/memory/memory_platform.h"
#include "platform/runtime_error.h"
#include "tests/fuzz/input_file_system.h"

namespace {

using namespace tapestrel;

struct World {
  MemoryPlatform memory;
  fuzzing::InputFileSystem files{memory.root()};
  Gvbox gvbox{files};
};

World& world() {
  static World* w = new World;  // lives for the whole run
  return *w;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  World& w = world();
  w.files.bytes.assign(reinterpret_cast<const char*>(data), size);
  Gvbox& gvbox = w.gvbox;
  // A few megapixels: enough for every real starting picture, small enough for the fuzzer's memory.
  gvbox.MaxPixels = 1u << 22;
  const unsigned variant = size % 4;
  gvbox.DisplayDepth = variant & 1 ? 8 : 24;
  if (variant & 2) gvbox.Fit = [](PictureSize s) { return PictureSize{s.width / 3 + 1, s.height / 3 + 1}; };
  else gvbox.Fit = nullptr;
  for (const char* name : {"a.jpg", "a.png", "a.tga", "a.pcx", "a.bmp", "a.webp", "a.gif", "a.tif"}) {
    try {
      gvbox.SetFileName(name);
      const auto& picture = gvbox.Picture();
      if (!picture || picture->pixels.size() != static_cast<std::size_t>(picture->width) * picture->height) std::abort();
      if (gvbox.Get(Gvbox::kImageWidth) <= 0 || gvbox.Get(Gvbox::kImageHeight) <= 0) std::abort();
    } catch (const RuntimeError&) {
      if (gvbox.Picture()) std::abort();  // a failed load holds no picture
    }
  }
  gvbox.SetFileName("");
  return 0;
}
