#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/program.h"
#include "platform/bitmap.h"
#include "platform/memory/memory_platform.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

using namespace pictures;

const std::string kSoi = StartOfImage();
const std::string kScan = ScanAndEnd();
const std::string kApp0 = App0();
const std::string kHuffman = HuffmanTable();

class HeaderReaderTest : public ::testing::Test {
 protected:
  std::string file(const std::string& name, const std::string& bytes) {
    const std::string path = "C:\\Pictures\\" + name;
    memory.files.WriteFile(path, bytes);
    return path;
  }
  void read(const std::string& name, const std::string& bytes) { program.headers.ReadImageHeader(file(name, bytes)); }
  std::vector<std::string> prompts() const { return memory.ui.Prompts(); }
  void expectSize(int width, int height, int depth) {
    EXPECT_EQ(program.state.ImageWidth, width);
    EXPECT_EQ(program.state.ImageHeight, height);
    EXPECT_EQ(program.state.ImageBitDepth, depth);
  }

  MemoryPlatform memory;
  Program program{memory.platform()};
};

TEST_F(HeaderReaderTest, FrameHeadersGiveSizeAndDepth) {
  read("colour.jpg", kSoi + kApp0 + kHuffman + FrameHeader(0xC0, 8, 640, 480, 3) + kScan);
  expectSize(640, 480, 24);
  read("grey.jpeg", kSoi + FrameHeader(0xC0, 8, 320, 200, 1) + kScan);
  expectSize(320, 200, 8);
  read("deep.jpe", kSoi + FrameHeader(0xC1, 12, 100, 50, 3) + kScan);
  expectSize(100, 50, 36);
  read("progressive.jpg", kSoi + kHuffman + FrameHeader(0xC2, 8, 1920, 1080, 3) + kScan);
  expectSize(1920, 1080, 24);
  // Fill bytes before a marker are allowed.
  read("filled.jpg", kSoi + "\xFF\xFF\xFF" + FrameHeader(0xC0, 8, 16, 8, 3).substr(1) + kScan);
  expectSize(16, 8, 24);
  // A phone photo taken upright (EXIF orientation 6 or 8) measures as it is shown; one
  // only mirrored or upside down (3) keeps its size.
  const auto exif = [](int orientation) {
    return Segment(0xE1, std::string("Exif\0\0", 6) + Tiff(true, {{0x0112, 3, 1, static_cast<unsigned>(orientation)}}));
  };
  read("upright.jpg", kSoi + exif(6) + FrameHeader(0xC0, 8, 4032, 3024, 3) + kScan);
  expectSize(3024, 4032, 24);
  read("turned.jpg", kSoi + exif(3) + FrameHeader(0xC0, 8, 4032, 3024, 3) + kScan);
  expectSize(4032, 3024, 24);
  EXPECT_TRUE(prompts().empty());
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(HeaderReaderTest, CommentsAreShownUntilCancelled) {
  const std::string twoComments = kSoi + Segment(0xFE, "Sunset at the pier") + Segment(0xFE, "second") +
                                  FrameHeader(0xC0, 8, 64, 48, 3) + kScan;
  read("sunset.jpg", twoComments);
  ASSERT_EQ(memory.ui.Messages().size(), 2u);
  EXPECT_EQ(memory.ui.Messages()[0].prompt, "Sunset at the pier");
  EXPECT_EQ(memory.ui.Messages()[0].style, 65);
  EXPECT_EQ(memory.ui.Messages()[0].title, "JPEG Comment for sunset.jpg");
  expectSize(64, 48, 24);

  memory.ui.ClearMessages();
  memory.ui.Answer(mb::IdCancel);
  read("sunset.jpg", twoComments);
  EXPECT_EQ(memory.ui.Messages().size(), 1u);  // Cancel turns the comments off at once
  EXPECT_EQ(program.options.JpegCommentOn, 0);
  read("sunset.jpg", twoComments);
  EXPECT_EQ(memory.ui.Messages().size(), 1u);
}

TEST_F(HeaderReaderTest, DamagedJpegsAreReported) {
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> messages;
  } cases[] = {
      {"bogus.jpg", kSoi + Segment(0xC0, std::string("\x08\x00\x10\x00\x20\x03", 6) + std::string(8, '\x11')) + kScan,
       {"Bogus SOF marker length"}},
      {"short.jpg", kSoi + std::string("\xFF\xE1\x00\x01", 4) + kScan, {"Errroneous JPEG marker length"}},
      {"garbage.jpg", kSoi + "junk" + FrameHeader(0xC0, 8, 16, 16, 3) + kScan,
       {"Garbage found in JPEG file", "Error ocurred"}},
      {"png.jpg", "\x89PNG\r\n\x1a\n" + std::string(32, '\0'),
       {"Not a JPEG file\nC:\\Pictures\\png.jpg", "Expected SOI marker first"}},
  };
  for (const auto& c : cases) {
    memory.ui.ClearMessages();
    read(c.name, c.bytes);
    EXPECT_EQ(prompts(), c.messages) << c.name;
    EXPECT_EQ(memory.files.OpenFiles(), 0) << c.name;
  }
  EXPECT_EQ(memory.ui.Messages().back().title, "Tapestrel");
  read("garbage.jpg", cases[2].bytes);
  EXPECT_EQ(memory.ui.Messages().back().title, "JPEG Reader");

  // Length 17 with three components is a right frame header; 16 is not (above).
  memory.ui.ClearMessages();
  read("right.jpg", kSoi + FrameHeader(0xC0, 8, 16, 32, 3) + kScan);
  EXPECT_TRUE(prompts().empty());
  // The size of a bogus frame header is kept.
  read("bogus.jpg", cases[0].bytes);
  expectSize(32, 16, 24);
}

TEST_F(HeaderReaderTest, QuietReadingTellsNothing) {
  program.state.HeaderReaderQuiet = true;
  read("png.jpg", "\x89PNG\r\n\x1a\n" + std::string(32, '\0'));
  read("sunset.jpg", kSoi + Segment(0xFE, "hello") + FrameHeader(0xC0, 8, 64, 48, 3) + kScan);
  read("cut.jpg", kSoi + FrameHeader(0xC0, 8, 64, 48, 3).substr(0, 9));
  EXPECT_TRUE(memory.ui.Messages().empty());
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(HeaderReaderTest, AFileCutShortAsksRetryGoesOnReadingAndCancelEnds) {
  const std::string cut = kSoi + kApp0.substr(0, 10);
  for (int i = 0; i < 5; ++i) memory.ui.Answer(mb::IdRetry);
  memory.ui.Answer(mb::IdCancel);
  read("cut.jpg", cut);
  ASSERT_EQ(memory.ui.Messages().size(), 6u);  // Retry never gives up by itself
  EXPECT_EQ(memory.ui.Messages()[0].prompt,
            "Input past end of file (62)  has occurred while reading C:\\Pictures\\cut.jpg");
  EXPECT_EQ(memory.ui.Messages()[0].style & 0xF, mb::RetryCancel);
  EXPECT_EQ(memory.files.OpenFiles(), 0);

  // A download still arriving: after Retry the reading finds the rest of the file.
  memory.ui.ClearMessages();
  const std::string whole = kSoi + kApp0 + FrameHeader(0xC0, 8, 640, 480, 3) + ScanAndEnd();
  memory.ui.Answer(mb::IdRetry);
  memory.ui.whilePending = [&] { memory.files.WriteFile("C:\\Pictures\\arriving.jpg", whole); };
  read("arriving.jpg", whole.substr(0, kSoi.size() + kApp0.size()));
  EXPECT_EQ(memory.ui.Messages().size(), 1u);
  expectSize(640, 480, 24);

  // Cut inside the frame header: the height read before the cut stays.
  memory.ui.ClearMessages();
  read("short-frame.jpg", kSoi + FrameHeader(0xC0, 8, 640, 480, 3).substr(0, 7));
  EXPECT_EQ(program.state.ImageHeight, 480);
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(HeaderReaderTest, JpegFileStaysOpenForTheCallerAfterAScanMarker) {
  const std::string path = file("open.jpg", kSoi + FrameHeader(0xC0, 8, 8, 8, 3) + kScan);
  int number = 0;
  program.headers.ReadJpegHeader(path, &number);
  EXPECT_GT(number, 0);
  EXPECT_TRUE(program.headers.FileOpen());
  program.headers.CloseFile();
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(HeaderReaderTest, SiblingReaders) {
  read("sea.bmp", WriteBmp24(Bitmap(300, 200)));
  expectSize(300, 200, 24);
  read("logo.gif", "GIF89a" + Le16(120) + Le16(80) + std::string("\xF6\0\0", 3));
  EXPECT_EQ(program.state.ImageWidth, 0);  // not read by the general reader
  program.headers.ReadGifHeader(file("logo.gif", "GIF89a" + Le16(120) + Le16(80) + std::string("\xF6\0\0", 3)));
  expectSize(120, 80, 7);
  std::string pcx(128, '\0');
  pcx[0] = 0x0A;
  pcx[3] = 8;
  pcx.replace(8, 4, Le16(639) + Le16(479));
  pcx[65] = 3;
  read("old.pcx", pcx);
  expectSize(640, 480, 24);
  std::string tga(18, '\0');
  tga[2] = 2;
  tga.replace(12, 5, Le16(800) + Le16(600) + std::string(1, 32));
  read("shot.tga", tga);
  expectSize(800, 600, 32);
  // A placeable metafile of 2 x 1 inches at 1440 units an inch: 192 x 96 pixels at 96 dpi.
  std::string wmf = Le32(0x9AC6CDD7) + Le16(0) + Le16(0) + Le16(0) + Le16(2880) + Le16(1440) + Le16(1440) +
                    Le32(0) + Le16(0);
  read("chart.wmf", wmf);
  expectSize(192, 96, 24);
  read("chart.wmf", Le32(0x12345678) + wmf.substr(4));
  expectSize(0, 0, 0);
  read("missing.bmp", "");
  memory.files.RemoveFile("C:\\Pictures\\missing.bmp");
  memory.ui.ClearMessages();
  program.headers.ReadImageHeader("C:\\Pictures\\missing.jpg");
  expectSize(0, 0, 0);
  EXPECT_TRUE(memory.ui.Messages().empty());
  read("other.png", "whatever");
  expectSize(0, 0, 0);
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

// WebP files as cwebp writes them: lossy (VP8), lossless (VP8L) and, with transparency
// kept lossy, extended (VP8X, the canvas's size).
TEST_F(HeaderReaderTest, WebpLossyLosslessAndExtendedGiveTheirSizes) {
  const std::string dir = ::testing::TempDir();
  const std::string png = dir + "header-webp.png";
  ASSERT_EQ(std::system(("convert -size 301x17 xc:none -fill red -draw 'rectangle 0,0 150,16' " + png).c_str()), 0);
  struct Case {
    const char* options;
    int depth;
  } cases[] = {{"-q 80 -noalpha", 24}, {"-lossless", 32}, {"-q 80", 32}};
  for (const Case& c : cases) {
    const std::string webp = dir + "header.webp";
    ASSERT_EQ(std::system(("cwebp -quiet " + std::string(c.options) + " " + png + " -o " + webp).c_str()), 0);
    std::ifstream in(webp, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    read("photo.webp", bytes);
    expectSize(301, 17, c.depth);
    read("photo.webp", bytes.substr(0, 20));  // cut short: no size
    expectSize(0, 0, 0);
  }
  EXPECT_TRUE(memory.ui.Messages().empty());
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

// HEIC and AVIF as ImageMagick (libheif) writes them: the size from the image's spatial
// extents, without decoding; a thumbnail's smaller extents do not win.
TEST_F(HeaderReaderTest, HeicAndAvifGiveTheirPrimaryPicturesSizeFromTheirProperties) {
  const std::string dir = ::testing::TempDir();
  for (const char* name : {"header.heic", "header.avif"}) {
    const std::string out = dir + name;
    ASSERT_EQ(std::system(("convert -size 301x171 plasma:fractal " + out + " 2>/dev/null").c_str()), 0) << name;
    std::ifstream in(out, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    read(std::string("phone.") + (name + 7), bytes);
    expectSize(301, 171, 24);
    read(std::string("phone.") + (name + 7), bytes.substr(0, 40));  // cut short: no size
    expectSize(0, 0, 0);
  }
  // A phone's photo: the primary item 1 has an extent of 4000 x 3000 and a quarter turn;
  // item 2, a 320 x 240 thumbnail, is not the picture.
  auto box = [](const std::string& type, const std::string& body) { return Be32(8 + body.size()) + type + body; };
  const std::string ipco = box("ipco", box("ispe", Be32(0) + Be32(320) + Be32(240)) +
                                           box("ispe", Be32(0) + Be32(4000) + Be32(3000)) + box("irot", "\x01"));
  const std::string ipma = box("ipma", Be32(0) + Be32(2) + Be16(1) + "\x02\x82\x03" + Be16(2) + "\x01\x81");
  const std::string phone = box("ftyp", "heic" + Be32(0)) +
                            box("meta", Be32(0) + box("pitm", Be32(0) + Be16(1)) + box("iprp", ipco + ipma));
  read("phone.heic", phone);
  expectSize(3000, 4000, 24);
  // A later version numbers the primary item in 32 bits: here the thumbnail's item 2.
  const std::string pitm1 = box("pitm", Be32(0x01000000) + Be32(2));
  read("phone.heic", box("ftyp", "heic" + Be32(0)) + box("meta", Be32(0) + box("iprp", ipco + ipma) + pitm1));
  expectSize(320, 240, 24);
  // The same box cut short after 16 bits at the end of the file names no item.
  read("phone.heic", box("ftyp", "heic" + Be32(0)) +
                         box("meta", Be32(0) + box("iprp", ipco + ipma) + box("pitm", Be32(0x01000000) + Be16(2))));
  expectSize(3000, 4000, 24);

  // A box claiming more than the file holds, and one of size 4: read no further.
  std::string lying = Be32(16) + "ftypheic" + Be32(0) + Be32(0x7FFFFFFF) + "meta" + std::string(16, '\0');
  read("lying.heic", lying);
  expectSize(0, 0, 0);
  read("tiny.avif", Be32(16) + "ftypavif" + Be32(0) + Be32(4) + "meta");
  expectSize(0, 0, 0);
  // Extents whose area passes 2^63 still count as the largest, and are no size at all.
  const std::string huge = box("ispe", Be32(0) + Be32(0xC0000000u) + Be32(0xC0000000u));
  read("huge.avif", box("ftyp", "avif" + Be32(0)) +
                        box("meta", Be32(0) + box("iprp", box("ipco", box("ispe", Be32(0) + Be32(4000) + Be32(3000)) + huge))));
  expectSize(0, 0, 0);
  EXPECT_TRUE(memory.ui.Messages().empty());
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

TEST_F(HeaderReaderTest, TiffInBothByteOrders) {
  // Little-endian: width as SHORT 800, height as LONG 600, three samples of 8 bits.
  std::string ii = "II" + Le16(42) + Le32(8) + Le16(4);
  ii += Le16(0x100) + Le16(3) + Le32(1) + Le16(800) + Le16(0);
  ii += Le16(0x101) + Le16(4) + Le32(1) + Le32(600);
  ii += Le16(0x102) + Le16(3) + Le32(3) + Le32(200);
  ii += Le16(0x115) + Le16(3) + Le32(1) + Le16(3) + Le16(0);
  program.headers.ReadTiffHeader(file("scan.tif", ii));
  expectSize(800, 600, 24);
  // Big-endian, grey.
  std::string mm = "MM" + Be16(42) + Be32(8) + Be16(2);
  mm += Be16(0x100) + Be16(3) + Be32(1) + Be16(1024) + Be16(0);
  mm += Be16(0x101) + Be16(3) + Be32(1) + Be16(768) + Be16(0);
  program.headers.ReadTiffHeader(file("scan.tif", mm));
  expectSize(1024, 768, 1);
  // Cut short inside the directory: no size, and the file is closed.
  program.headers.ReadTiffHeader(file("scan.tif", ii.substr(0, 20)));
  expectSize(0, 0, 0);
  // A size no 32-bit measurement can hold is refused.
  std::string huge = "II" + Le16(42) + Le32(8) + Le16(1) + Le16(0x100) + Le16(4) + Le32(1) + Le32(0xF0000000);
  program.headers.ReadTiffHeader(file("huge.tif", huge));
  expectSize(0, 0, 0);
  // Absurd sample counts make no depth (and no arithmetic overflow).
  std::string samples = "II" + Le16(42) + Le32(8) + Le16(3) + Le16(0x100) + Le16(3) + Le32(1) + Le32(64);
  samples += Le16(0x102) + Le16(4) + Le32(1) + Le32(0xFFFFFF00) + Le16(0x115) + Le16(4) + Le32(1) + Le32(0xFFFFFFFF);
  program.headers.ReadTiffHeader(file("samples.tif", samples));
  expectSize(0, 0, 0);
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

// Four samples (CMYK, or colour with alpha): their bits-per-sample values do not fit the
// entry, which holds where they are. The depth is the first value times the samples,
// in either byte order.
TEST_F(HeaderReaderTest, TiffWithFourSamplesReadsTheBitsWhereTheEntryPoints) {
  std::string ii = "II" + Le16(42) + Le32(8) + Le16(4);
  ii += Le16(0x100) + Le16(3) + Le32(1) + Le16(640) + Le16(0);
  ii += Le16(0x101) + Le16(3) + Le32(1) + Le16(480) + Le16(0);
  ii += Le16(0x102) + Le16(3) + Le32(4) + Le32(800);  // the values lie at offset 800
  ii += Le16(0x115) + Le16(3) + Le32(1) + Le16(4) + Le16(0);
  ii += Le32(0);
  ii += std::string(800 - ii.size(), '\0') + Le16(8) + Le16(8) + Le16(8) + Le16(8);
  program.headers.ReadTiffHeader(file("cmyk.tif", ii));
  expectSize(640, 480, 32);

  std::string mm = "MM" + Be16(42) + Be32(8) + Be16(3);
  mm += Be16(0x100) + Be16(3) + Be32(1) + Be16(100) + Be16(0);
  mm += Be16(0x102) + Be16(3) + Be32(4) + Be32(60);
  mm += Be16(0x115) + Be16(3) + Be32(1) + Be16(4) + Be16(0);
  mm += Be32(0);
  mm += std::string(60 - mm.size(), '\0') + Be16(16) + Be16(16) + Be16(16) + Be16(16);
  program.headers.ReadTiffHeader(file("rgba.tif", mm));
  EXPECT_EQ(program.state.ImageBitDepth, 64);
  // A count whose byte size does not fit 32 bits points past the file: no depth.
  std::string huge = "MM" + Be16(42) + Be32(8) + Be16(2);
  huge += Be16(0x100) + Be16(3) + Be32(1) + Be16(12) + Be16(0);
  huge += Be16(0x102) + Be16(3) + Be32(0x61400000) + Be32(84);
  program.headers.ReadTiffHeader(file("huge-count.tif", huge + Be32(0)));
  EXPECT_EQ(program.state.ImageBitDepth, 0);
  EXPECT_EQ(memory.files.OpenFiles(), 0);
}

}  // namespace
}  // namespace tapestrel
