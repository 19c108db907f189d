// Pictures only the system's own codecs decode, through the Windows Imaging Component as
// Wine provides it: an icon decoded (first frame), scaled by WIC when fitted smaller, and
// a kind with no codec answered as not decodable; a photo turned as its metadata says.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/win32_services.h"
#include "tests/common/picture_builders.h"

namespace tapestrel {
namespace {

using pictures::Le16;
using pictures::Le32;

// A 32-bit icon of 16 x 16: red above, blue below, fully opaque.
std::string icon() {
  const int size = 16;
  std::string image = Le32(40) + Le32(size) + Le32(2 * size) + Le16(1) + Le16(32) + Le32(0) + Le32(0) + Le32(0) +
                      Le32(0) + Le32(0) + Le32(0);
  for (int row = size - 1; row >= 0; --row)  // bottom-up
    for (int x = 0; x < size; ++x) image += row < size / 2 ? std::string("\x00\x00\xFF\xFF", 4) : std::string("\xFF\x00\x00\xFF", 4);
  image += std::string(static_cast<std::size_t>(size) * 4, '\0');  // the AND mask, rows of 32 bits
  return Le16(0) + Le16(1) + Le16(1) + std::string{static_cast<char>(size), static_cast<char>(size), 0, 0} + Le16(1) +
         Le16(32) + Le32(static_cast<unsigned>(image.size())) + Le32(22) + image;
}

TEST(SystemCodecsOnWine, AnIconDecodesThroughWicWholeAndScaledAKindWithoutACodecIsNotTaken) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  const std::string path = std::string(temp) + "Tapestrel icon \xC3\xA9t\xC3\xA9.ico";
  Win32FileSystem files;
  ASSERT_TRUE(files.WriteFileAtomically(path, icon()));
  Win32Gvbox gvbox(files);
  EXPECT_TRUE(gvbox.SystemDecodes("ico"));
  EXPECT_TRUE(gvbox.SystemDecodes("ICO"));
  EXPECT_FALSE(gvbox.SystemDecodes("qqq"));
  // Wine's WIC has no HEIC, AVIF or JPEG XL codec: what it answers is only reported.
  std::printf("WIC here decodes heic: %d, avif: %d, jxl: %d, dds: %d, jxr: %d\n", gvbox.SystemDecodes("heic"),
              gvbox.SystemDecodes("avif"), gvbox.SystemDecodes("jxl"), gvbox.SystemDecodes("dds"),
              gvbox.SystemDecodes("jxr"));

  gvbox.SetFileName(path);
  ASSERT_TRUE(gvbox.Picture());
  EXPECT_EQ(gvbox.Picture()->width, 16);
  EXPECT_EQ(gvbox.Picture()->At(8, 2), 0xFF0000u);
  EXPECT_EQ(gvbox.Picture()->At(8, 13), 0x0000FFu);
  gvbox.Fit = [](PictureSize) { return PictureSize{8, 8}; };
  gvbox.SetFileName(path);
  ASSERT_TRUE(gvbox.Picture());
  EXPECT_EQ(gvbox.Picture()->width, 8);
  EXPECT_EQ(gvbox.Picture()->FullWidth(), 16);
  EXPECT_EQ(gvbox.Picture()->At(4, 1), 0xFF0000u);
  EXPECT_EQ(gvbox.Picture()->At(4, 6), 0x0000FFu);
  // Damaged: told as a failed load, holding nothing.
  ASSERT_TRUE(files.WriteFileAtomically(path, icon().substr(0, 30)));
  EXPECT_THROW(gvbox.SetFileName(path), RuntimeError);
  EXPECT_FALSE(gvbox.Picture());
  gvbox.SetFileName("");
  files.RemoveFile(path);
}

// The system's path as a phone photo takes it, tried with the one codec of Wine's that
// gives a picture's orientation (its TIFF decoder; its JPEG decoder reads no metadata):
// the picture stands as its orientation says.
class SystemDecodingOnly : public Win32Gvbox {
 public:
  using Win32Gvbox::Win32Gvbox;
  using Win32Gvbox::DecodeBySystem;
};

TEST(SystemCodecsOnWine, APhotoTakenUprightStandsAsTheCameraWasHeld) {
  // Stored 64 x 32, red on the left and blue on the right, taken upright (orientation 6).
  const unsigned width = 64, height = 32;
  const std::vector<pictures::TiffEntry> entries = {
      {256, 3, 1, width}, {257, 3, 1, height}, {258, 3, 1, 8},  {259, 3, 1, 1},  {262, 3, 1, 2},
      {273, 4, 1, 134},   {274, 3, 1, 6},      {277, 3, 1, 3},  {278, 3, 1, height}, {279, 4, 1, width * height * 3}};
  std::string tiff = pictures::Tiff(true, entries);
  ASSERT_EQ(tiff.size(), 134u);  // the pixels follow the directory
  for (unsigned y = 0; y < height; ++y)
    for (unsigned x = 0; x < width; ++x) tiff += x < width / 2 ? std::string("\xFF\x00\x00", 3) : std::string("\x00\x00\xFF", 3);
  Win32FileSystem files;
  SystemDecodingOnly gvbox(files);
  const auto upright = gvbox.DecodeBySystem(tiff, {});
  ASSERT_TRUE(upright);
  ASSERT_EQ(upright->width, 32);
  ASSERT_EQ(upright->height, 64);
  EXPECT_EQ(upright->At(16, 4), 0xFF0000u);  // red on top
  EXPECT_EQ(upright->At(16, 60), 0x0000FFu);
}

}  // namespace
}  // namespace tapestrel
