// The converter as the program starts it on Windows: Jpg2Bmp.exe by CreateProcess with
// each option, and the batch file through the command interpreter, with names that a
// batch file could easily mangle.
#include <windows.h>

#include <set>

#include <gtest/gtest.h>

#include "app/program.h"
#include "tests/common/picture_builders.h"
#include "tests/win32/support/program_on_windows.h"

namespace tapestrel {
namespace {

std::string readWhole(Win32FileSystem& files, const std::string& path) {
  std::string bytes;
  auto file = files.OpenRead(path);
  if (!file) return bytes;
  bytes.resize(static_cast<std::size_t>(file->Size()));
  bytes.resize(file->Read(bytes.data(), bytes.size()));
  return bytes;
}

class DecoderOnWine : public ::testing::Test {
 protected:
  DecoderOnWine() {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    // Blanks, a percent sign, an ampersand, quotes and letters beyond ASCII.
    folder = std::string(temp) + "Tapestrel 100% & 'Bilder' f\xC3\xBCr\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    program.state.ProgramFolder = TAPESTREL_CONVERTER_FOLDER "\\";
    program.state.WindowsFolder = folder;  // the working bitmap goes here too
    jpeg = folder + "Z\xC3\xBCrich at night.jpg";
    const std::string bytes = pictures::EncodedJpeg(pictures::Quarters(320, 200));
    files.WriteFileAtomically(jpeg, bytes);
  }
  ~DecoderOnWine() override {
    for (const auto& f : files.FindFiles(folder + "*")) files.RemoveFile(folder + f.name);
    RemoveDirectoryA(folder.c_str());
  }
  std::optional<Bitmap> decoded(const std::string& path) { return ReadBmp(readWhole(files, path)); }

  testing::ProgramOnWindows windows;
  Program& program = windows.program;
  Win32FileSystem& files = windows.files;
  std::string folder;
  std::string jpeg;
};

TEST_F(DecoderOnWine, TheProgramRunsTheConverterWithEachOption) {
  ASSERT_TRUE(program.decoder.ExternalDecode(jpeg, folder + "full colour.bmp"));
  const auto full = decoded(folder + "full colour.bmp");
  ASSERT_TRUE(full);
  EXPECT_EQ(full->width, 320);
  EXPECT_GT(full->At(300, 190) & 0xFF, 0xF0u);

  program.options.ColorDepth = "-colors 256";
  ASSERT_TRUE(program.decoder.ExternalDecode(jpeg, folder + "few colours.bmp"));
  const auto few = decoded(folder + "few colours.bmp");
  ASSERT_TRUE(few);
  EXPECT_LE(std::set<std::uint32_t>(few->pixels.begin(), few->pixels.end()).size(), 256u);
  EXPECT_TRUE(windows.memory.ui.Messages().empty());
}

TEST_F(DecoderOnWine, TheBatchFileConvertsAtHalfSizeWhateverTheNames) {
  const std::string second = folder + "second one.jpeg";
  files.WriteFileAtomically(second, pictures::EncodedJpeg(pictures::Quarters(64, 48)));
  program.frmMain.Load();
  program.decoder.DecodeSelectedFiles({jpeg, second}, true, 2);
  EXPECT_TRUE(windows.memory.ui.Messages().empty());
  // Each beside its JPEG, named by the converter (the short name where the long one is
  // beyond the batch file's code page).
  int found = 0;
  for (const auto& f : files.FindFiles(folder + "*.bmp")) {
    const auto picture = decoded(folder + f.name);
    ASSERT_TRUE(picture) << f.name;
    EXPECT_TRUE(picture->width == 160 || picture->width == 32) << f.name << " " << picture->width;
    ++found;
  }
  EXPECT_EQ(found, 2);
  EXPECT_TRUE(files.FileExists(folder + "second one.bmp"));
}

TEST_F(DecoderOnWine, InProcessTheControlDecodesIntoTheWorkBoxAndOffersAPictureSurface) {
  program.options.InternalDecoding = true;
  ASSERT_TRUE(program.decoder.DecodeImage(jpeg));
  EXPECT_EQ(program.state.ImageWidth, 320);
  const HDC surface = reinterpret_cast<HDC>(windows.gvbox.Get(Gvbox::kHdc));
  ASSERT_NE(surface, nullptr);
  EXPECT_GT(GetPixel(surface, 10, 10) & 0xFF, 0xF0u);  // COLORREF: red in the low byte
  windows.gvbox.SetFileName("");
  EXPECT_EQ(windows.gvbox.Picture(), nullptr);
}

}  // namespace
}  // namespace tapestrel

namespace tapestrel {
namespace {

// Stopping a batch stops what the command interpreter started as well: a converter left
// running would write its file long after the user had cancelled.
TEST(ProcessesOnWine, StoppingABatchStopsTheProgramsItStarted) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string record = std::string(temp) + "tapestrel-late-write.txt";
  DeleteFileA(record.c_str());
  SetEnvironmentVariableA("TAPESTREL_RECORD_TO", record.c_str());
  SetEnvironmentVariableA("TAPESTREL_RECORD_DELAY", "1500");
  Win32Processes processes;
  int asked = 0;
  const auto result = processes.RunAndWait("cmd.exe /c \"" TAPESTREL_RECORDER "\" late", false, 100,
                                           [&] { return ++asked < 3; });
  SetEnvironmentVariableA("TAPESTREL_RECORD_DELAY", nullptr);
  EXPECT_EQ(result, Processes::RunResult::Stopped);
  Sleep(2500);
  EXPECT_EQ(GetFileAttributesA(record.c_str()), INVALID_FILE_ATTRIBUTES) << "the started program wrote after the stop";
  DeleteFileA(record.c_str());

  // Left to end, the same batch's program does its work.
  SetEnvironmentVariableA("TAPESTREL_RECORD_DELAY", "100");
  EXPECT_EQ(processes.RunAndWait("cmd.exe /c \"" TAPESTREL_RECORDER "\" done", false, 100, [] { return true; }),
            Processes::RunResult::Ended);
  SetEnvironmentVariableA("TAPESTREL_RECORD_DELAY", nullptr);
  EXPECT_NE(GetFileAttributesA(record.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(record.c_str());
}

}  // namespace
}  // namespace tapestrel
