// Speed of the first screenful of the Thumbnails view: 40 thumbnails of 24-megapixel
// JPEGs made by the program (the list drawn, then the timer's ticks until all are made),
// beside the floor measured in the same run: the same 40 files read and decoded by
// libjpeg-turbo at DCT scale 1/8, and nothing more.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "app/command_ids.h"
#include "app/program.h"
#include "bench/bench_support.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace {

using namespace tapestrel;

constexpr int kScreenful = 40;
constexpr int kDistinctPhotos = 4;  // encoding a 24-megapixel photo takes a while

void floorDecode(const std::string& path) {
  const std::string jpeg = bench::ReadFile(path);
  jpeg_decompress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()), jpeg.size());
  jpeg_read_header(&info, TRUE);
  info.scale_num = 1;
  info.scale_denom = 8;
  info.dct_method = JDCT_IFAST;
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  std::vector<unsigned char> pixels(static_cast<std::size_t>(info.output_width) * info.output_height * 4);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = pixels.data() + static_cast<std::size_t>(info.output_scanline) * info.output_width * 4;
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
}

struct ProgramCase {
  MemoryPlatform memory;
  Program program{memory.platform()};
  explicit ProgramCase(const std::vector<std::string>& jpegs) {
    for (int i = 0; i < kScreenful; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "photo%02d.jpg", i);
      memory.files.WriteFile(std::string("C:\\Photos\\") + name, jpegs[static_cast<std::size_t>(i % kDistinctPhotos)]);
    }
    memory.settings.SaveSetting("StartUp", "PictureDirectory1", "C:\\Photos\\");
    memory.settings.SaveSetting("StartUp", "AlternateFilePattern", ".jp?");
    memory.settings.SaveSetting("StartUp", "LoadAltsOnBoot", "1");
    if (!program.Start() || program.frmMain.lstvFiles[0].Count() != kScreenful) std::abort();
    program.frmMain.Dispatch(IDM_VIEW_STYLE + 4);
  }
  std::string Path(int i) {
    const ListItem& item = program.frmMain.lstvFiles[0].Items()[static_cast<std::size_t>(i)];
    return memory.files.HostPath(item.Column(1) + item.text).string();
  }
  // The list draws its first screen, and the timer ticks until every picture is made.
  void FirstScreen() {
    program.frmMain.thumbnailPictures.Clear();
    ListView& list = program.frmMain.lstvFiles[0];
    for (int i = 0; i < kScreenful; ++i) list.ThumbnailFor(i);
    while (program.frmMain.tmrThumbnails.Enabled()) program.frmMain.tmrThumbnails.Tick();
    for (int i = 0; i < kScreenful; ++i)
      if (list.ThumbnailFor(i) < 0) std::abort();
  }
};

}  // namespace

int main() {
  std::vector<std::string> jpegs;
  for (int i = 0; i < kDistinctPhotos; ++i) {
    Bitmap photo = pictures::PhotoLike(6000, 4000);
    for (std::uint32_t& p : photo.pixels) p ^= static_cast<std::uint32_t>(i * 0x102030);
    jpegs.push_back(pictures::EncodedJpeg(photo, 90));
  }
  std::printf("The first screenful: %d thumbnails of 24-megapixel (6000 x 4000) JPEGs of about %.1f MB\n", kScreenful,
              jpegs[0].size() / 1e6);
  ProgramCase program(jpegs);
  std::vector<std::string> paths;
  for (int i = 0; i < kScreenful; ++i) paths.push_back(program.Path(i));

  const double floorTime = bench::MedianSeconds(5, [&] {
    for (const std::string& path : paths) floorDecode(path);
  });
  const double programTime = bench::MedianSeconds(5, [&] { program.FirstScreen(); });
  std::printf("  floor    %7.3f s  (40 reads and DCT-1/8 decodes)\n  program  %7.3f s  (%.2fx the floor; at most 1.5x)\n",
              floorTime, programTime, programTime / floorTime);
  return 0;
}
