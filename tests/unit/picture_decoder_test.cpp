// The decoders on files made by Debian's own tools (libjpeg-turbo's cjpeg and djpeg,
// ImageMagick), compared pixel for pixel with those tools' decoding.
#include "platform/picture_decoder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/runtime_error.h"
#include "tests/common/picture_builders.h"

extern "C" {
#include <jpeglib.h>
}

namespace tapestrel {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}


class PictureDecoderTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new fs::path(fs::temp_directory_path() / ("tapestrel-decoder-" + std::to_string(::getpid())));
    fs::create_directories(*dir_);
    // A photo-like picture with smooth gradients and sharp edges, and a large one.
    run("convert -size 160x120 plasma:fractal -depth 8 " + at("photo.ppm"));
    run("convert -size 1600x1200 gradient:red-blue -depth 8 " + at("large.ppm"));
    run("cjpeg -quality 80 -outfile " + at("photo.jpg") + " " + at("photo.ppm"));
    run("convert " + at("photo.ppm") + " PCX:" + at("true.pcx"));
  }
  static void TearDownTestSuite() {
    fs::remove_all(*dir_);
    delete dir_;
  }

  static std::string at(const std::string& name) { return (*dir_ / name).string(); }
  static void run(const std::string& command) {
    ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
  }
  // djpeg's own decoding of a JPEG, as a picture.
  static Bitmap reference(const std::string& jpeg, const std::string& options) {
    run("djpeg -bmp " + options + " -outfile " + at("reference.bmp") + " " + at(jpeg));
    return *ReadBmp(readFile(at("reference.bmp")));
  }
  static Bitmap decode(const std::string& file, PictureFormat format, const DecodeOptions& options = {}) {
    return DecodePicture(readFile(at(file)), format, options);
  }
  // ImageMagick's decoding of any picture, over white where it is transparent.
  static Bitmap magick(const std::string& file) {
    run("convert " + at(file) + " -background white -flatten -depth 8 " + at("magick.bmp"));
    return *ReadBmp(readFile(at("magick.bmp")));
  }

  static fs::path* dir_;
};
fs::path* PictureDecoderTest::dir_ = nullptr;

// The error number a decode raises; 0 when it decodes.
int errorOf(const std::string& bytes, PictureFormat format, const DecodeOptions& options = {}) {
  try {
    DecodePicture(bytes, format, options);
  } catch (const RuntimeError& e) {
    return e.number;
  }
  return 0;
}

int largestDifference(const Bitmap& a, const Bitmap& b) {
  int largest = 0;
  for (std::size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift : {0, 8, 16})
      largest = std::max(largest, std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                                           static_cast<int>((b.pixels[i] >> shift) & 0xFF)));
  return largest;
}

TEST_F(PictureDecoderTest, EveryOptionCombinationDecodesAsTheLibrarysOwnDecoder) {
  struct Case {
    int dct;
    bool fancy;
    int colors;
    bool twoPass;
    int dither;
    int scale;
    const char* djpeg;
  };
  const Case cases[] = {
      {0, true, 0, true, 0, 1, "-dct int"},
      {1, true, 0, true, 0, 1, "-dct fast"},
      {2, true, 0, true, 0, 1, "-dct float"},
      {2, false, 0, true, 0, 1, "-dct float -nosmooth"},
      {0, true, 256, true, 2, 1, "-dct int -colors 256 -dither fs"},
      {0, true, 256, false, 1, 1, "-dct int -colors 256 -onepass -dither ordered"},
      {1, true, 256, false, 0, 1, "-dct fast -colors 256 -onepass -dither none"},
      {2, true, 256, true, 2, 2, "-dct float -colors 256 -dither fs -scale 1/2"},
      {0, true, 0, true, 0, 4, "-dct int -scale 1/4"},
  };
  for (const Case& c : cases) {
    DecodeOptions options;
    options.dctMethod = c.dct;
    options.fancyUpsampling = c.fancy;
    options.colors = c.colors;
    options.twoPassQuantize = c.twoPass;
    options.jpegDither = c.dither;
    options.scaleDenominator = c.scale;
    const Bitmap ours = decode("photo.jpg", PictureFormat::Jpeg, options);
    const Bitmap theirs = reference("photo.jpg", c.djpeg);
    ASSERT_EQ(ours.width, theirs.width) << c.djpeg;
    ASSERT_EQ(ours.height, theirs.height) << c.djpeg;
    EXPECT_EQ(ours.pixels, theirs.pixels) << c.djpeg;
  }
}

TEST_F(PictureDecoderTest, JpegsOfEveryKindThePrintAndCameraWorldWrites) {
  struct Kind {
    const char* name;
    const char* cjpeg;
  };
  const Kind kinds[] = {{"progressive", "-progressive"}, {"arithmetic", "-arithmetic"},
                        {"grey", "-grayscale"},          {"444", "-sample 1x1"},
                        {"422", "-sample 2x1"},          {"420", "-sample 2x2"},
                        {"optimized", "-optimize -restart 1"}};
  for (const Kind& k : kinds) {
    const std::string file = std::string(k.name) + ".jpg";
    run(std::string("cjpeg ") + k.cjpeg + " -outfile " + at(file) + " " + at("photo.ppm"));
    const Bitmap ours = decode(file, PictureFormat::Jpeg);
    EXPECT_EQ(ours.pixels, reference(file, "-dct float").pixels) << k.name;
  }
  // CMYK from print software (Adobe's inverted inks): red stays red, white stays white.
  run("convert -size 40x20 xc:red xc:white +append -colorspace CMYK " + at("cmyk.jpg"));
  const Bitmap cmyk = decode("cmyk.jpg", PictureFormat::Jpeg);
  ASSERT_EQ(cmyk.width, 80);
  EXPECT_LE(largestDifference(Bitmap(1, 1, cmyk.At(10, 10)), Bitmap(1, 1, 0xFF0000)), 6);
  EXPECT_LE(largestDifference(Bitmap(1, 1, cmyk.At(70, 10)), Bitmap(1, 1, 0xFFFFFF)), 6);
}

// A JPEG whose APP1 segment says how the camera was held.
// What print software writes: inks (Adobe's inverted values) coded as YCCK.
std::string ycckJpeg(int width, int height, const unsigned char inverted[4]) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 4;
  info.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_colorspace(&info, JCS_YCCK);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 4);
  for (int x = 0; x < width; ++x) std::copy(inverted, inverted + 4, row.begin() + 4 * x);
  for (int y = 0; y < height; ++y) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

TEST(YcckJpeg, DecodesToTheColourOfItsInks) {
  const unsigned char red[4] = {255, 0, 0, 255};  // no cyan, full magenta and yellow, no black
  const Bitmap picture = DecodePicture(ycckJpeg(32, 16, red), PictureFormat::Jpeg, {});
  ASSERT_EQ(picture.width, 32);
  EXPECT_LE(largestDifference(Bitmap(1, 1, picture.At(8, 8)), Bitmap(1, 1, 0xFF0000)), 6);
}

TEST_F(PictureDecoderTest, PhotosStandAsTheCameraWasHeldAtAnySize) {
  // Stored 64 x 32: red on the left, blue on the right.
  run("convert -size 32x32 xc:red xc:blue +append -quality 95 " + at("sideways.jpg"));
  const std::string stored = readFile(at("sideways.jpg"));
  struct Expect {
    int orientation;
    int width, height;
    std::uint32_t topLeft, bottomRight;
  };
  const Expect cases[] = {{1, 64, 32, 0xFF0000, 0x0000FF}, {3, 64, 32, 0x0000FF, 0xFF0000},
                          {6, 32, 64, 0xFF0000, 0x0000FF}, {8, 32, 64, 0x0000FF, 0xFF0000},
                          {2, 64, 32, 0x0000FF, 0xFF0000}, {5, 32, 64, 0xFF0000, 0x0000FF}};
  for (const Expect& e : cases) {
    const std::string bytes = pictures::WithOrientation(stored, e.orientation);
    const Bitmap whole = DecodePicture(bytes, PictureFormat::Jpeg, {});
    ASSERT_EQ(whole.width, e.width) << e.orientation;
    ASSERT_EQ(whole.height, e.height) << e.orientation;
    EXPECT_LE(largestDifference(Bitmap(1, 1, whole.At(2, 2)), Bitmap(1, 1, e.topLeft)), 8) << e.orientation;
    EXPECT_LE(largestDifference(Bitmap(1, 1, whole.At(e.width - 3, e.height - 3)), Bitmap(1, 1, e.bottomRight)), 8);
    // Fitted to half its size, it keeps its whole size and stands the same way.
    DecodeOptions fit;
    fit.fit = [](PictureSize s) { return PictureSize{s.width / 2, s.height / 2}; };
    const Bitmap half = DecodePicture(bytes, PictureFormat::Jpeg, fit);
    EXPECT_EQ(half.width, e.width / 2);
    EXPECT_EQ(half.FullWidth(), e.width);
    EXPECT_EQ(half.FullHeight(), e.height);
    EXPECT_LE(largestDifference(Bitmap(1, 1, half.At(1, 1)), Bitmap(1, 1, e.topLeft)), 8) << e.orientation;
  }
}

// A progressive JPEG whose last scan comes again thousands of times costs a decoder a
// pass over the picture each time: it is refused before that, and a real progressive
// one of many scans, or a decode the user stops, is told apart.
TEST_F(PictureDecoderTest, AJpegOfThousandsOfScansIsRefusedAndALongDecodeCanBeStopped) {
  run("cjpeg -progressive -outfile " + at("progressive.jpg") + " " + at("large.ppm"));
  const std::string real = readFile(at("progressive.jpg"));
  const std::string bomb = pictures::WithLastScanRepeated(real, 3000);
  ASSERT_GT(bomb.size(), real.size());
  try {
    DecodePicture(bomb, PictureFormat::Jpeg, {});
    ADD_FAILURE() << "a picture of 3000 scans decoded";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, decode_error::kPictureTooLarge);
    EXPECT_NE(e.description.find("more scans"), std::string::npos) << e.description;
  }
  // A few scans more than the encoder wrote are still a picture.
  EXPECT_EQ(DecodePicture(pictures::WithLastScanRepeated(real, 5), PictureFormat::Jpeg, {}).width, 1600);
  // Stopped by the user: asked while it decodes, and the decode ends.
  int asked = 0;
  DecodeOptions stop;
  stop.cancelled = [&] { return ++asked == 2; };
  try {
    DecodePicture(real, PictureFormat::Jpeg, stop);
    ADD_FAILURE() << "a stopped decode went on";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, decode_error::kDecodeStopped);
  }
  EXPECT_EQ(asked, 2);
}

// Headers that promise a picture needing more memory than one picture may have (under
// the pixel cap all the same): refused at once with the size, nothing asked for.
TEST_F(PictureDecoderTest, PicturesThatWouldPassTheMemoryBudgetAreRefusedBeforeDecoding) {
  const auto refused = [](const std::string& bytes, PictureFormat format) {
    try {
      DecodePicture(bytes, format, {});
    } catch (const RuntimeError& e) {
      return e.number == decode_error::kPictureTooLarge && e.description.find("pixels") != std::string::npos;
    }
    return false;
  };
  const auto bigEndian = [](std::string& bytes, std::size_t at, unsigned value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>(value >> (8 * (size - 1 - i)));
  };
  run("convert -size 8x8 xc:white -depth 8 PNG24:" + at("small.png"));
  std::string png = readFile(at("small.png"));
  bigEndian(png, 16, 9000, 4);  // 81 million pixels of three bytes, then four: over 512 MiB
  bigEndian(png, 20, 9000, 4);
  EXPECT_TRUE(refused(png, PictureFormat::Png));

  run("cjpeg -progressive -outfile " + at("small-progressive.jpg") + " " + at("photo.ppm"));
  std::string jpeg = readFile(at("small-progressive.jpg"));
  const std::size_t frame = jpeg.find("\xFF\xC2");
  ASSERT_NE(frame, std::string::npos);
  bigEndian(jpeg, frame + 5, 12000, 2);  // 192 million pixels: every coefficient kept is over 1 GiB
  bigEndian(jpeg, frame + 7, 16000, 2);
  EXPECT_TRUE(refused(jpeg, PictureFormat::Jpeg));
}

TEST_F(PictureDecoderTest, ALargeJpegFittedSmallDecodesAtAReducedScaleThenShrinksToExactlyTheFit) {
  run("cjpeg -outfile " + at("large.jpg") + " " + at("large.ppm"));
  DecodeOptions options;
  options.fit = [](PictureSize) { return PictureSize{300, 225}; };
  const Bitmap fitted = decode("large.jpg", PictureFormat::Jpeg, options);
  ASSERT_EQ(fitted.width, 300);
  ASSERT_EQ(fitted.height, 225);
  EXPECT_EQ(fitted.FullWidth(), 1600);
  // The same as the library decoding at 2/8 (the smallest scale still covering 300 x 225)
  // and a nearest-neighbour shrink of that.
  EXPECT_EQ(fitted.pixels, StretchNearest(reference("large.jpg", "-dct float -scale 2/8"), 300, 225).pixels);

  // For a display of 256 colours the colours are reduced after shrinking: the shrunk
  // picture of full colour, then each pixel a palette colour.
  options.colors = 256;
  const Bitmap reduced = decode("large.jpg", PictureFormat::Jpeg, options);
  ASSERT_EQ(reduced.width, 300);
  for (std::uint32_t p : reduced.pixels)
    for (int shift : {0, 8, 16}) ASSERT_EQ(((p >> shift) & 0xFF) % 51, 0u);
}

TEST_F(PictureDecoderTest, SmoothShrinkingAveragesTheSmallestCoveringDctScaleDownToTheFit) {
  run("cjpeg -outfile " + at("large.jpg") + " " + at("large.ppm"));
  DecodeOptions options;
  options.fit = [](PictureSize) { return PictureSize{300, 225}; };
  options.smooth = true;
  const Bitmap fitted = decode("large.jpg", PictureFormat::Jpeg, options);
  ASSERT_EQ(fitted.width, 300);
  ASSERT_EQ(fitted.height, 225);
  EXPECT_EQ(fitted.FullWidth(), 1600);
  EXPECT_EQ(fitted.pixels, ShrinkSmooth(reference("large.jpg", "-dct float -scale 2/8"), 300, 225).pixels);
  // PNG: the whole picture averaged down.
  run("convert " + at("photo.ppm") + " " + at("photo.png"));
  options.fit = [](PictureSize) { return PictureSize{32, 24}; };
  EXPECT_EQ(decode("photo.png", PictureFormat::Png, options).pixels, ShrinkSmooth(magick("photo.png"), 32, 24).pixels);
  // A photo held upright turns before it is averaged: red stays on top.
  run("convert -size 320x32 xc:red xc:blue +append -quality 95 " + at("wide.jpg"));
  const std::string upright = pictures::WithOrientation(readFile(at("wide.jpg")), 6);
  options.fit = [](PictureSize s) { return PictureSize{s.width / 5, s.height / 5}; };
  const Bitmap turned = DecodePicture(upright, PictureFormat::Jpeg, options);
  ASSERT_EQ(turned.width, 32 / 5);
  ASSERT_EQ(turned.height, 640 / 5);
  EXPECT_LE(largestDifference(Bitmap(1, 1, turned.At(2, 2)), Bitmap(1, 1, 0xFF0000)), 8);
  EXPECT_LE(largestDifference(Bitmap(1, 1, turned.At(2, 125)), Bitmap(1, 1, 0x0000FF)), 8);
}

// dwebp's own decoding of a WebP, as a picture.
Bitmap dwebp(const std::string& webp, const std::string& bmp) {
  EXPECT_EQ(std::system(("dwebp -bmp -quiet " + webp + " -o " + bmp).c_str()), 0);
  std::ifstream in(bmp, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  auto b = ReadBmp(bytes.str());
  return b ? *b : Bitmap();
}

TEST_F(PictureDecoderTest, WebpLossyLosslessAnimatedAndScaledDecodeAsTheLibrarysOwnTools) {
  run("cwebp -quiet -q 80 " + at("photo.ppm") + " -o " + at("lossy.webp"));
  run("cwebp -quiet -lossless " + at("photo.ppm") + " -o " + at("lossless.webp"));
  // Lossy: the same as dwebp; lossless: the very pixels of the source.
  const Bitmap lossy = decode("lossy.webp", PictureFormat::Webp);
  ASSERT_EQ(lossy.width, 160);
  ASSERT_EQ(lossy.height, 120);
  EXPECT_LE(largestDifference(lossy, dwebp(at("lossy.webp"), at("dwebp.bmp"))), 2);
  EXPECT_EQ(decode("lossless.webp", PictureFormat::Webp).pixels, magick("photo.ppm").pixels);
  // Fitted smaller: decoded by the library at that size, standing for the whole.
  DecodeOptions fit;
  fit.fit = [](PictureSize) { return PictureSize{40, 30}; };
  const Bitmap small = decode("lossless.webp", PictureFormat::Webp, fit);
  ASSERT_EQ(small.width, 40);
  EXPECT_EQ(small.FullWidth(), 160);
  EXPECT_LE(largestDifference(small, ShrinkSmooth(magick("photo.ppm"), 40, 30)), 40);
  // Transparent: over the background asked for. An animation: its first frame.
  run("convert -size 20x10 xc:none -fill red -draw 'rectangle 0,0 9,9' " + at("half.png"));
  run("cwebp -quiet -lossless -exact " + at("half.png") + " -o " + at("half.webp"));
  DecodeOptions over;
  over.background = 0x3A6EA5;
  const Bitmap half = decode("half.webp", PictureFormat::Webp, over);
  EXPECT_EQ(half.At(2, 2), 0xFF0000u);
  EXPECT_EQ(half.At(15, 5), 0x3A6EA5u);
  run("convert -size 16x16 xc:blue " + at("blue.png") + " && convert -size 16x16 xc:lime " + at("lime.png"));
  run("img2webp -lossless " + at("blue.png") + " " + at("lime.png") + " -o " + at("anim.webp"));
  const Bitmap first = decode("anim.webp", PictureFormat::Webp);
  ASSERT_EQ(first.width, 16);
  EXPECT_EQ(first.At(8, 8), 0x0000FFu);
}

TEST_F(PictureDecoderTest, GifFirstFrameTransparencyOverTheBackgroundAndDamagedWebpAndGifAreRefused) {
  run("convert -size 16x16 xc:blue -size 16x16 xc:lime " + at("two.gif"));
  const Bitmap first = decode("two.gif", PictureFormat::Gif);
  ASSERT_EQ(first.width, 16);
  EXPECT_EQ(first.At(3, 3), 0x0000FFu);
  run("convert -size 20x10 xc:none -fill red -draw 'rectangle 0,0 9,9' " + at("half.gif"));
  DecodeOptions over;
  over.background = 0x3A6EA5;
  const Bitmap half = decode("half.gif", PictureFormat::Gif, over);
  EXPECT_EQ(half.At(2, 2), 0xFF0000u);
  EXPECT_EQ(half.At(15, 5), 0x3A6EA5u);
  EXPECT_EQ(decode("half.gif", PictureFormat::Gif).At(15, 5), 0xFFFFFFu);  // white when none is asked for

  // Cut short, or claiming a canvas of 2^30 pixels: refused with the picture error.
  run("cwebp -quiet -q 80 " + at("photo.ppm") + " -o " + at("lossy.webp"));
  const std::string webp = readFile(at("lossy.webp"));
  EXPECT_EQ(errorOf(webp.substr(0, webp.size() / 2), PictureFormat::Webp), decode_error::kPictureLoadFailed);
  std::string gif = readFile(at("two.gif"));
  EXPECT_EQ(errorOf(gif.substr(0, 20), PictureFormat::Gif), decode_error::kPictureLoadFailed);
  gif[6] = gif[7] = gif[8] = gif[9] = '\xFF';  // a 65535 x 65535 screen
  EXPECT_EQ(errorOf(gif, PictureFormat::Gif), decode_error::kPictureTooLarge);
  // A lossless WebP whose header claims 16384 x 16384 (14 bits each, all ones).
  run("cwebp -quiet -lossless " + at("photo.ppm") + " -o " + at("lossless.webp"));
  std::string lying = readFile(at("lossless.webp"));
  ASSERT_EQ(lying.substr(12, 4), "VP8L");
  lying[21] = '\xFF', lying[22] = '\xFF', lying[23] = '\xFF', lying[24] = static_cast<char>(lying[24] | 0x0F);
  DecodeOptions small;
  small.maxPixels = 1u << 20;
  try {
    DecodePicture(lying, PictureFormat::Webp, small);
    ADD_FAILURE() << "decoded";
  } catch (const RuntimeError& e) {
    EXPECT_EQ(e.number, decode_error::kPictureTooLarge);
  }
}

TEST_F(PictureDecoderTest, TiffOfEveryCompressionAndDepthDecodesAsImageMagickReadsItItsFirstPageTurnedAsTagged) {
  const struct {
    const char* name;
    const char* options;
    int tolerance;
  } kinds[] = {{"plain.tif", "-compress None", 0},   {"lzw.tif", "-compress LZW", 0},
               {"zip.tif", "-compress Zip", 0},      {"jpeg.tiff", "-compress JPEG -quality 90", 2},
               {"deep.tif", "-depth 16", 1},          {"grey.tif", "-colorspace Gray", 0},
               {"palette.tif", "-colors 16 -type Palette", 1}, {"cmyk.tif", "-colorspace CMYK", 2}};
  for (const auto& k : kinds) {
    run("convert " + at("photo.ppm") + " " + k.options + " " + at(k.name));
    const Bitmap got = decode(k.name, PictureFormat::Tiff);
    const Bitmap expected = magick(k.name);
    ASSERT_EQ(got.width, expected.width) << k.name;
    ASSERT_EQ(got.height, expected.height) << k.name;
    EXPECT_LE(largestDifference(got, expected), k.tolerance) << k.name;
  }
  // Three pages: the first. Stored sideways with orientation 6 ("right, top"): stands up.
  run("convert -size 30x20 xc:red -size 30x20 xc:lime -size 30x20 xc:blue " + at("pages.tif"));
  const Bitmap first = decode("pages.tif", PictureFormat::Tiff);
  ASSERT_EQ(first.width, 30);
  EXPECT_EQ(first.At(5, 5), 0xFF0000u);
  run("convert -size 32x32 xc:red xc:blue +append -orient RightTop " + at("sideways.tif"));
  const Bitmap upright = decode("sideways.tif", PictureFormat::Tiff);
  ASSERT_EQ(upright.width, 32);
  ASSERT_EQ(upright.height, 64);
  EXPECT_EQ(upright.At(16, 5), 0xFF0000u);
  EXPECT_EQ(upright.At(16, 60), 0x0000FFu);
  DecodeOptions fit;
  fit.fit = [](PictureSize s) { return PictureSize{s.width / 4, s.height / 4}; };
  fit.smooth = true;
  const Bitmap small = decode("sideways.tif", PictureFormat::Tiff, fit);
  EXPECT_EQ(small.width, 8);
  EXPECT_EQ(small.FullHeight(), 64);
  EXPECT_EQ(small.At(4, 1), 0xFF0000u);
  // Cut short, and a header claiming 2^31 pixels: refused.
  const std::string lzw = readFile(at("lzw.tif"));
  EXPECT_EQ(errorOf(lzw.substr(0, 6), PictureFormat::Tiff), decode_error::kPictureLoadFailed);
  DecodeOptions small4;
  small4.maxPixels = 100;
  EXPECT_EQ(errorOf(lzw, PictureFormat::Tiff, small4), decode_error::kPictureTooLarge);
}

TEST_F(PictureDecoderTest, PngOfEveryColourTypeAndDepthTgaAndPcxDecodeAsImageMagickReadsThem) {
  struct Kind {
    const char* file;
    const char* convert;
    PictureFormat format;
  };
  const Kind kinds[] = {
      {"palette.png", "-colors 64 PNG8:", PictureFormat::Png},
      {"greyalpha.png", "-colorspace Gray -alpha set -channel A -evaluate set 60% +channel PNG:", PictureFormat::Png},
      {"deep.png", "-depth 16 PNG48:", PictureFormat::Png},
      {"alpha16.png", "-alpha set -channel A -evaluate set 50% +channel -depth 16 PNG64:", PictureFormat::Png},
      {"grey1.png", "-colorspace Gray -threshold 50% -depth 1 PNG:", PictureFormat::Png},
      {"true.pcx", "PCX:", PictureFormat::Pcx},
      {"palette.pcx", "-colors 200 -type Palette PCX:", PictureFormat::Pcx},
      {"mono.pcx", "-monochrome PCX:", PictureFormat::Pcx},
  };
  for (const Kind& k : kinds) {
    const std::string recipe = k.convert;
    const std::string::size_type colon = recipe.rfind(' ');
    const std::string options = colon == std::string::npos ? "" : recipe.substr(0, colon);
    const std::string prefix = colon == std::string::npos ? recipe : recipe.substr(colon + 1);
    run("convert " + at("photo.ppm") + " " + options + " " + prefix + at(k.file));
    const Bitmap ours = decode(k.file, k.format);
    const Bitmap theirs = magick(k.file);
    ASSERT_EQ(ours.width, theirs.width) << k.file;
    ASSERT_EQ(ours.height, theirs.height) << k.file;
    EXPECT_LE(largestDifference(ours, theirs), 1) << k.file;  // 16 to 8 bits may round either way
  }
}

// An uncompressed 24-bit TGA of our own, bottom-up or top-down.
std::string tga(int width, int height, bool topDown, std::uint32_t (*colour)(int, int)) {
  std::string b(18, '\0');
  b[2] = 2;
  b[12] = static_cast<char>(width), b[13] = static_cast<char>(width >> 8);
  b[14] = static_cast<char>(height), b[15] = static_cast<char>(height >> 8);
  b[16] = 24;
  b[17] = topDown ? 0x20 : 0;
  for (int row = 0; row < height; ++row) {
    const int y = topDown ? row : height - 1 - row;
    for (int x = 0; x < width; ++x) {
      const std::uint32_t c = colour(x, y);
      b += static_cast<char>(c & 0xFF);
      b += static_cast<char>((c >> 8) & 0xFF);
      b += static_cast<char>(c >> 16);
    }
  }
  return b;
}

TEST_F(PictureDecoderTest, TgaEitherWayUpAndDamagedFilesAreRefusedWithTheirOwnErrors) {
  auto colour = [](int x, int y) -> std::uint32_t { return y < 2 ? 0xFF0000 : (x < 2 ? 0x00FF00 : 0x0000FF); };
  for (bool topDown : {false, true}) {
    const Bitmap t = DecodePicture(tga(4, 4, topDown, colour), PictureFormat::Tga, {});
    EXPECT_EQ(t.At(0, 0), 0xFF0000u);
    EXPECT_EQ(t.At(0, 3), 0x00FF00u);
    EXPECT_EQ(t.At(3, 3), 0x0000FFu);
  }
  const std::string whole = tga(64, 64, false, colour);
  EXPECT_EQ(errorOf(whole.substr(0, whole.size() - 100), PictureFormat::Tga), decode_error::kPictureLoadFailed);
  EXPECT_EQ(errorOf("not a picture at all", PictureFormat::Jpeg), decode_error::kJpegLoadFailed);
  EXPECT_EQ(errorOf("\x89PNG\r\n\x1a\n broken", PictureFormat::Png), decode_error::kPictureLoadFailed);
  const std::string pcx = readFile(at("true.pcx"));
  EXPECT_EQ(errorOf(pcx.substr(0, pcx.size() / 2), PictureFormat::Pcx), decode_error::kPictureLoadFailed);
  // A header that claims 40000 x 30000 pixels is refused before any memory is asked for.
  std::string huge = readFile(at("photo.jpg"));
  const std::string::size_type sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = static_cast<char>(30000 >> 8), huge[sof + 6] = static_cast<char>(30000 & 0xFF);
  huge[sof + 7] = static_cast<char>(40000 >> 8), huge[sof + 8] = static_cast<char>(40000 & 0xFF);
  EXPECT_EQ(errorOf(huge, PictureFormat::Jpeg), decode_error::kPictureTooLarge);
  // A download cut short still shows what arrived (the rest grey), as viewers do.
  const std::string photo = readFile(at("photo.jpg"));
  EXPECT_EQ(DecodePicture(photo.substr(0, photo.size() * 2 / 3), PictureFormat::Jpeg, {}).width, 160);
}

TEST(ColorCube, FewColoursStayAsTheyAreManyBecomeCubeColours) {
  Bitmap few(16, 16, 0x123456);
  few.Set(3, 3, 0xABCDEF);
  Bitmap kept = few;
  ReduceToColorCube(kept, 2);
  EXPECT_EQ(kept.pixels, few.pixels);
  Bitmap many(32, 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) many.Set(x, y, static_cast<std::uint32_t>(x * 8 << 16 | y * 8 << 8 | (x + y) * 4));
  for (int dither : {0, 1, 2}) {
    Bitmap reduced = many;
    ReduceToColorCube(reduced, dither);
    for (std::uint32_t p : reduced.pixels)
      for (int shift : {0, 8, 16}) ASSERT_EQ(((p >> shift) & 0xFF) % 51, 0u) << dither;
  }
}

}  // namespace
}  // namespace tapestrel
