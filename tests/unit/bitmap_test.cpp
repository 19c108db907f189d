#include <gtest/gtest.h>

#include "platform/bitmap.h"

namespace tapestrel {
namespace {

void put16(std::string& b, unsigned v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, unsigned v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

// A BMP file made by hand: 40-byte header, then the palette (or masks) and the pixel bytes.
std::string bmp(int bits, int width, int height, const std::string& extra, const std::string& pixels,
                unsigned compression = 0, unsigned colours = 0) {
  std::string b = "BM";
  put32(b, static_cast<unsigned>(54 + extra.size() + pixels.size()));
  put32(b, 0);
  put32(b, static_cast<unsigned>(54 + extra.size()));
  put32(b, 40);
  put32(b, static_cast<unsigned>(width));
  put32(b, static_cast<unsigned>(height));
  put16(b, 1);
  put16(b, static_cast<unsigned>(bits));
  put32(b, compression);
  put32(b, static_cast<unsigned>(pixels.size()));
  put32(b, 0);
  put32(b, 0);
  put32(b, colours);
  put32(b, 0);
  return b + extra + pixels;
}

std::string palette(std::initializer_list<unsigned> rgbs) {
  std::string p;
  for (unsigned rgb : rgbs) {
    p += static_cast<char>(rgb & 0xFF);
    p += static_cast<char>((rgb >> 8) & 0xFF);
    p += static_cast<char>((rgb >> 16) & 0xFF);
    p += '\0';
  }
  return p;
}

std::string bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s += static_cast<char>(v);
  return s;
}

constexpr unsigned kRed = 0xFF0000;
constexpr unsigned kGreen = 0x00FF00;
constexpr unsigned kBlue = 0x0000FF;
constexpr unsigned kWhite = 0xFFFFFF;

TEST(Bmp, WrittenPicturesReadBackTheSame) {
  Bitmap picture(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) picture.Set(x, y, static_cast<std::uint32_t>(x * 0x101010 + y * 0x400000));
  const std::string file = WriteBmp24(picture);
  EXPECT_EQ(file.size(), 54u + 3 * 16);  // rows padded to four bytes
  const auto back = ReadBmp(file);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 5);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->pixels, picture.pixels);
}

TEST(Bmp, PaletteDepthsAndRowOrder) {
  // 2 x 2 pictures, bottom row first in the file.
  const auto one = ReadBmp(bmp(1, 2, 2, palette({kRed, kBlue}), bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0})));
  ASSERT_TRUE(one);
  EXPECT_EQ(one->At(0, 1), kRed);
  EXPECT_EQ(one->At(1, 1), kBlue);
  EXPECT_EQ(one->At(0, 0), kBlue);
  EXPECT_EQ(one->At(1, 0), kRed);

  const auto four = ReadBmp(bmp(4, 2, 1, palette({kRed, kGreen, kBlue}), bytes({0x21, 0, 0, 0}), 0, 3));
  ASSERT_TRUE(four);
  EXPECT_EQ(four->At(0, 0), kBlue);
  EXPECT_EQ(four->At(1, 0), kGreen);

  const auto eight = ReadBmp(bmp(8, 1, 2, palette({kRed, kGreen}), bytes({1, 0, 0, 0, 0, 0, 0, 0}), 0, 2));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->At(0, 1), kGreen);
  EXPECT_EQ(eight->At(0, 0), kRed);

  // Top-down: a negative height, first row first.
  std::string topDown = bmp(24, 1, 2, "", bytes({0, 0, (char)0xFF, 0, (char)0xFF, 0, 0, 0}));
  topDown[22] = static_cast<char>(0xFE);
  topDown[23] = topDown[24] = topDown[25] = static_cast<char>(0xFF);
  const auto td = ReadBmp(topDown);
  ASSERT_TRUE(td);
  EXPECT_EQ(td->height, 2);
  EXPECT_EQ(td->At(0, 0), kRed);
  EXPECT_EQ(td->At(0, 1), kBlue);
}

TEST(Bmp, SixteenAndThirtyTwoBits) {
  const auto rgb555 = ReadBmp(bmp(16, 2, 1, "", bytes({0x00, 0x7C, (char)0xE0, 0x03})));
  ASSERT_TRUE(rgb555);
  EXPECT_EQ(rgb555->At(0, 0), kRed);
  EXPECT_EQ(rgb555->At(1, 0), kGreen);

  std::string masks;
  put32(masks, 0xF800);
  put32(masks, 0x07E0);
  put32(masks, 0x001F);
  const auto rgb565 = ReadBmp(bmp(16, 2, 1, masks, bytes({(char)0xE0, 0x07, 0x1F, 0x00}), 3));
  ASSERT_TRUE(rgb565);
  EXPECT_EQ(rgb565->At(0, 0), kGreen);
  EXPECT_EQ(rgb565->At(1, 0), kBlue);

  const auto bgrx = ReadBmp(bmp(32, 1, 1, "", bytes({0x10, 0x20, 0x30, 0x7F})));
  ASSERT_TRUE(bgrx);
  EXPECT_EQ(bgrx->At(0, 0), 0x302010u);
}

TEST(Bmp, RunLengthEncodings) {
  // RLE8, 4 x 2: bottom row "2 x red, then absolute green blue", top row: a delta skips
  // one pixel, then one blue; the end of the bitmap.
  const std::string rle8 = bytes({2, 0, 0, 3, 1, 2, 0, 0, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1});
  const auto eight = ReadBmp(bmp(8, 4, 2, palette({kRed, kGreen, kBlue}), rle8, 1, 3));
  ASSERT_TRUE(eight);
  EXPECT_EQ(eight->At(0, 1), kRed);
  EXPECT_EQ(eight->At(1, 1), kRed);
  EXPECT_EQ(eight->At(2, 1), kGreen);
  EXPECT_EQ(eight->At(3, 1), kBlue);  // the absolute run's third value falls off the row
  EXPECT_EQ(eight->At(1, 0), kBlue);

  // RLE4, 4 x 1: a run of 4 alternating 1 and 2, end of bitmap.
  const auto four = ReadBmp(bmp(4, 4, 1, palette({kWhite, kRed, kBlue}), bytes({4, 0x12, 0, 1}), 2, 3));
  ASSERT_TRUE(four);
  EXPECT_EQ(four->At(0, 0), kRed);
  EXPECT_EQ(four->At(1, 0), kBlue);
  EXPECT_EQ(four->At(2, 0), kRed);
}

TEST(Bmp, DamagedFilesAreRefused) {
  const std::string good = WriteBmp24(Bitmap(4, 4));
  std::string why;
  EXPECT_FALSE(ReadBmp(good.substr(0, good.size() - 1), &why));
  EXPECT_EQ(why, "pixels cut short");
  EXPECT_FALSE(ReadBmp("", &why));
  EXPECT_FALSE(ReadBmp("\x89PNG\r\n\x1a\n0000000000000000000000000000", &why));
  EXPECT_EQ(why, "not a BMP file");
  std::string huge = good;
  huge[18] = huge[19] = huge[20] = 0;  // width 0x7F000000
  huge[21] = 0x7F;
  EXPECT_FALSE(ReadBmp(huge, &why));
  std::string depth = good;
  depth[28] = 7;
  EXPECT_FALSE(ReadBmp(depth, &why));
  EXPECT_EQ(why, "unknown depth");
  // A run-length stream that never ends is cut short, not read past the file.
  EXPECT_FALSE(ReadBmp(bmp(8, 4, 4, palette({kRed}), bytes({2, 0, 2, 0}), 1, 1), &why));
}

// A run-length file of 301 KB whose header claims 16,000 x 16,000 pixels: runs of at most
// 255 pixels a byte pair cannot fill that, so it is refused before any picture memory is
// asked for (a gigabyte, more than a 32-bit program can count on).
TEST(Bmp, AHeaderClaimingMorePixelsThanTheRunsCanHoldIsRefused) {
  std::string runs;
  for (int i = 0; i < 301 * 1024 / 2; ++i) runs += std::string{'\xFF', '\x00'};
  std::string why;
  EXPECT_FALSE(ReadBmp(bmp(8, 16000, 16000, palette({kRed}), runs, 1, 1), &why));
  EXPECT_EQ(why, "compressed pixels cut short");
}

TEST(Stretch, GivesExactlyTheAskedSize) {
  Bitmap wide(2000, 1000);
  const Bitmap half = StretchNearest(wide, 1000, 500);
  EXPECT_EQ(half.width, 1000);
  EXPECT_EQ(half.height, 500);
  EXPECT_EQ(half.pixels.size(), 500000u);

  Bitmap row(4, 1);
  row.pixels = {1, 2, 3, 4};
  EXPECT_EQ(StretchNearest(row, 2, 1).pixels, (std::vector<std::uint32_t>{2, 4}));
  EXPECT_EQ(StretchNearest(row, 8, 1).pixels, (std::vector<std::uint32_t>{1, 1, 2, 2, 3, 3, 4, 4}));
  EXPECT_EQ(StretchNearest(row, 3, 1).pixels, (std::vector<std::uint32_t>{1, 3, 4}));
}

// One-pixel black and white stripes shrunk five times: taking the pixel under each centre
// gives black and white stripes five times wider, stripes the picture never had; averaging
// keeps the grey the eye sees, no two neighbours further apart than five pixels of a
// two-pixel pattern can leave (two or three of them white).
TEST(SmoothShrinking, FineStripesShrunkFiveTimesKeepTheirMeanAndMakeNoStripesOfTheirOwn) {
  Bitmap stripes(500, 100);
  for (int y = 0; y < stripes.height; ++y)
    for (int x = 0; x < stripes.width; ++x) stripes.Set(x, y, x % 2 ? 0xFFFFFF : 0x000000);
  auto mean = [](const Bitmap& b) {
    double sum = 0;
    for (std::uint32_t p : b.pixels) sum += p & 0xFF;
    return sum / static_cast<double>(b.pixels.size());
  };
  const Bitmap smooth = ShrinkSmooth(stripes, 100, 20);
  ASSERT_EQ(smooth.width, 100);
  ASSERT_EQ(smooth.height, 20);
  EXPECT_NEAR(mean(smooth), mean(stripes), 0.02 * 255);
  for (std::uint32_t p : smooth.pixels) {
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 128, 26);
    EXPECT_EQ(p, (p & 0xFF) * 0x010101u);  // still grey
  }
  auto widestStep = [](const Bitmap& b) {
    int widest = 0;
    for (int x = 1; x < b.width; ++x)
      widest = std::max(widest, std::abs(static_cast<int>(b.At(x, 0) & 0xFF) - static_cast<int>(b.At(x - 1, 0) & 0xFF)));
    return widest;
  };
  EXPECT_LE(widestStep(smooth), 52);
  EXPECT_EQ(widestStep(StretchNearest(stripes, 100, 20)), 255);
}

TEST(SmoothShrinking, AnAreaOfThePictureIsAveragedWithPartPixelsCountedByTheirShare) {
  Bitmap row(4, 1);
  row.pixels = {0x000000, 0x0000FF, 0x000000, 0x0000FF};
  EXPECT_EQ(ShrinkSmooth(row, 2, 1).pixels, (std::vector<std::uint32_t>{0x80, 0x80}));
  EXPECT_EQ(ShrinkSmooth(row, 1, 1).pixels, (std::vector<std::uint32_t>{0x80}));
  // Pixels 1 to 2.5: all of pixel 1 (255) and half of pixel 2 (0), two thirds 255.
  EXPECT_EQ(ScaleArea(row, 1, 0, 1.5, 1, 1, 1).pixels, (std::vector<std::uint32_t>{0xAA}));
  // Enlarged, each pixel stands for the one it lies over.
  EXPECT_EQ(ScaleArea(row, 0, 0, 2, 1, 4, 2).pixels,
            (std::vector<std::uint32_t>{0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF}));
  // A 1-pixel-wide picture over a wide area and an area outside the picture stay in it.
  Bitmap line(1, 3, 0x123456);
  EXPECT_EQ(ScaleArea(line, 0, 0, 1, 3, 40, 2).pixels, std::vector<std::uint32_t>(80, 0x123456));
  EXPECT_EQ(ScaleArea(line, -5, 7, 1, 1, 2, 2).pixels, std::vector<std::uint32_t>(4, 0x123456));
}

TEST(Stretch, BlitClipsToTheTarget) {
  Bitmap target(3, 3, 0);
  Bitmap dot(2, 2, 7);
  Blit(target, 2, -1, dot);
  EXPECT_EQ(target.At(2, 0), 7u);
  EXPECT_EQ(target.At(1, 0), 0u);
  EXPECT_EQ(target.At(2, 1), 0u);
}

}  // namespace
}  // namespace tapestrel
