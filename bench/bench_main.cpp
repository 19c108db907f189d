// Speed of the work that must feel instant: reading the headers of a folder of 20,000
// JPEG files (set beside a plain listing of the same folder, in the same run),
// shrinking a 6000 x 4000 picture to fit a 1920 x 1080 screen with the BMP write, and
// filling from 400 active folders beside the same files in one.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace {

namespace fs = std::filesystem;
using namespace tapestrel;

constexpr int kFiles = 20000;
constexpr const char* kFolder = "C:\\Bench\\";

// The program on the in-memory platform, with the folder of JPEG files made once.
struct Fixture {
  MemoryPlatform memory;
  Program program{memory.platform()};
  std::vector<std::string> paths;

  Fixture() {
    program.state.HeaderReaderQuiet = true;
    program.state.WindowsFolder = "C:\\WINDOWS\\";
    const fs::path folder = memory.files.HostPath(kFolder);
    fs::create_directories(folder);
    for (int i = 0; i < kFiles; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, "picture%05d.jpg", i);
      std::ofstream(folder / name, std::ios::binary) << pictures::Jpeg(320 + i % 1600, 200 + (i * 7) % 1000);
      paths.push_back(std::string(kFolder) + name);
    }
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void BM_PlainListing(benchmark::State& state) {
  const fs::path folder = fixture().memory.files.HostPath(kFolder);
  for (auto _ : state) {
    std::size_t names = 0;
    for (const auto& entry : fs::directory_iterator(folder)) names += entry.path().filename().native().size() > 0;
    benchmark::DoNotOptimize(names);
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// A plain listing with what a Windows directory search gives besides the names (sizes and
// dates): one stat a file, relative to the open folder.
void BM_PlainListingWithSizes(benchmark::State& state) {
  const std::string folder = fixture().memory.files.HostPath(kFolder).string();
  for (auto _ : state) {
    DIR* dir = opendir(folder.c_str());
    std::uint64_t bytes = 0;
    while (const dirent* entry = readdir(dir)) {
      struct stat info;
      if (entry->d_name[0] != '.' && fstatat(dirfd(dir), entry->d_name, &info, 0) == 0) bytes += static_cast<std::uint64_t>(info.st_size) + static_cast<std::uint64_t>(info.st_mtime);
    }
    closedir(dir);
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

// The program's own directory search of the folder: names, sizes and dates, as a
// Windows directory search gives them.
void BM_DirectorySearch(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) benchmark::DoNotOptimize(f.memory.files.FindFiles(std::string(kFolder) + "*.jp?").size());
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_ReadJpegHeaders(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    std::int64_t pixels = 0;
    for (const std::string& path : f.paths) {
      f.program.headers.ReadImageHeader(path);
      pixels += f.program.state.ImageWidth;
    }
    benchmark::DoNotOptimize(pixels);
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}

void BM_ShrinkToScreenAndWrite(benchmark::State& state) {
  Fixture& f = fixture();
  f.memory.desktop.screenWidth = 1920 * 15;
  f.memory.desktop.screenHeight = 1080 * 15;
  auto picture = std::make_shared<const Bitmap>(6000, 4000, 0x336699);
  PictureBox& source = f.program.frmFullScreen.picLoad;
  for (auto _ : state) {
    source.SetPicture(picture);
    f.program.state.ImageWidth = 6000;
    f.program.state.ImageHeight = 4000;
    const double zoom = f.program.wallpaper.ComputeFitZoom();
    f.program.wallpaper.ShrinkPictureToFile(source, f.program.frmFullScreen.picFullScreen, zoom,
                                            f.program.wallpaper.WorkingBitmap(), 0);
  }
}

// Filling the list model from the folder: with speed fill (names, types, dates), and with
// every header read for sizes.
void fill(benchmark::State& state, int speedFill) {
  Fixture& f = fixture();
  f.program.options.SpeedFill = speedFill;
  f.program.frmMain.SetCurrentList(0);
  f.program.options.AlternateFilePattern = ".jp?";
  for (auto _ : state) {
    f.program.files.ClearListView();
    f.program.files.FillListView(kFolder);
    if (f.program.frmMain.lstvFiles[0].Count() != kFiles) state.SkipWithError("not every file was listed");
  }
  state.SetItemsProcessed(state.iterations() * kFiles);
}
void BM_SpeedFill(benchmark::State& state) { fill(state, 1); }
void BM_FillWithHeaders(benchmark::State& state) { fill(state, 0); }

// Fill From Actives: 8,000 bitmaps in 400 active folders, beside the same 8,000 in one.
struct ActiveFixture {
  static constexpr int kFolders = 400;
  static constexpr int kPerFolder = 20;
  MemoryPlatform memory;
  Program program{memory.platform()};
  std::vector<std::string> many;
  std::vector<std::string> one{"C:\\Actives\\all\\"};

  ActiveFixture() {
    program.state.HeaderReaderQuiet = true;
    const std::string bytes = WriteBmp24(Bitmap(4, 4));
    for (int folder = 0; folder < kFolders; ++folder) {
      char name[48];
      std::snprintf(name, sizeof name, "C:\\Actives\\f%03d\\", folder);
      many.push_back(name);
      fs::create_directories(memory.files.HostPath(name));
      for (int i = 0; i < kPerFolder; ++i) {
        char file[32];
        std::snprintf(file, sizeof file, "p%05d.bmp", folder * kPerFolder + i);
        std::ofstream(memory.files.HostPath(name) / file, std::ios::binary) << bytes;
        fs::create_directories(memory.files.HostPath(one[0]));
        std::ofstream(memory.files.HostPath(one[0]) / file, std::ios::binary) << bytes;
      }
    }
  }
};

ActiveFixture& activeFixture() {
  static ActiveFixture f;
  return f;
}

void fillFromActives(benchmark::State& state, bool manyFolders) {
  ActiveFixture& f = activeFixture();
  const std::vector<std::string>& folders = manyFolders ? f.many : f.one;
  f.program.settings.SaveActiveDirectories(folders);
  for (auto _ : state) {
    f.program.folders.ReadActiveFolders(&folders);
    if (f.program.frmMain.lstvFiles[1].Count() != ActiveFixture::kFolders * ActiveFixture::kPerFolder)
      state.SkipWithError("not every file was listed");
  }
  state.SetItemsProcessed(state.iterations() * ActiveFixture::kFolders * ActiveFixture::kPerFolder);
}
void BM_FillFromActives400Folders(benchmark::State& state) { fillFromActives(state, true); }
void BM_FillFromActivesOneFolder(benchmark::State& state) { fillFromActives(state, false); }

BENCHMARK(BM_PlainListing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainListingWithSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DirectorySearch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpeedFill)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillWithHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadJpegHeaders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShrinkToScreenAndWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillFromActivesOneFolder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillFromActives400Folders)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
