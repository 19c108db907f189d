#include "tests/common/picture_builders.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/bitmap.h"

extern "C" {
#include <jpeglib.h>
}

namespace tapestrel::pictures {

std::string Be16(unsigned v) { return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }
std::string Le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string Le32(unsigned v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Be32(unsigned v) { return Be16(v >> 16) + Be16(v & 0xFFFF); }

std::string Segment(int marker, const std::string& body) {
  return std::string{static_cast<char>(0xFF), static_cast<char>(marker)} + Be16(static_cast<unsigned>(body.size() + 2)) +
         body;
}

std::string FrameHeader(int marker, int precision, unsigned width, unsigned height, int components) {
  std::string body = std::string(1, static_cast<char>(precision)) + Be16(height) + Be16(width) +
                     std::string(1, static_cast<char>(components));
  for (int i = 0; i < components; ++i) body += std::string{static_cast<char>(i + 1), 0x11, 0};
  return Segment(marker, body);
}

std::string StartOfImage() { return "\xFF\xD8"; }
std::string ScanAndEnd() { return Segment(0xDA, std::string(10, '\0')) + std::string(64, '\x55') + "\xFF\xD9"; }
std::string App0() { return Segment(0xE0, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14)); }
std::string HuffmanTable() { return Segment(0xC4, std::string(29, '\x01')); }

std::string Jpeg(unsigned width, unsigned height, int components, int marker, const std::string& comment) {
  std::string file = StartOfImage() + App0();
  if (!comment.empty()) file += Segment(0xFE, comment);
  file += Segment(0xDB, std::string(65, '\x10'));
  return file + FrameHeader(marker, 8, width, height, components) + HuffmanTable() + ScanAndEnd();
}

std::string Tiff(bool littleEndian, const std::vector<TiffEntry>& entries) {
  const auto w16 = littleEndian ? Le16 : Be16;
  const auto w32 = littleEndian ? Le32 : Be32;
  std::string file = std::string(littleEndian ? "II" : "MM") + w16(42) + w32(8) + w16(static_cast<unsigned>(entries.size()));
  for (const TiffEntry& e : entries) {
    // A SHORT sits in the first two bytes of the value field.
    const std::string value = e.type == 3 ? w16(e.value) + w16(0) : w32(e.value);
    file += w16(e.tag) + w16(e.type) + w32(e.count) + value;
  }
  return file + w32(0);
}

std::string Gif(unsigned width, unsigned height, int packed) {
  return "GIF89a" + Le16(width) + Le16(height) + std::string{static_cast<char>(packed), 0, 0} + ";";
}

std::string Pcx(unsigned width, unsigned height, int bitsPerPixel, int planes) {
  std::string header(128, '\0');
  header[0] = 0x0A;
  header[1] = 5;
  header[2] = 1;
  header[3] = static_cast<char>(bitsPerPixel);
  header.replace(8, 4, Le16(width - 1) + Le16(height - 1));
  header[65] = static_cast<char>(planes);
  return header + std::string(16, '\0');
}

std::string Tga(unsigned width, unsigned height, int depth) {
  std::string header(18, '\0');
  header[2] = 2;
  header.replace(12, 5, Le16(width) + Le16(height) + std::string(1, static_cast<char>(depth)));
  return header + std::string(static_cast<std::size_t>(width) * height * (depth / 8), '\x40');
}

std::string Wmf(unsigned width, unsigned height, unsigned unitsPerInch) {
  std::string file = Le32(0x9AC6CDD7) + Le16(0) + Le16(0) + Le16(0) + Le16(width) + Le16(height) + Le16(unitsPerInch) + Le32(0);
  unsigned sum = 0;
  for (std::size_t i = 0; i < file.size(); i += 2)
    sum ^= static_cast<unsigned char>(file[i]) | static_cast<unsigned char>(file[i + 1]) << 8;
  file += Le16(sum);
  file += Le16(1) + Le16(9) + Le16(0x300) + Le32(5 + 5 + 7 + 3) + Le16(0) + Le32(0) + Le16(0);
  file += Le32(5) + Le16(0x020B) + Le16(0) + Le16(0);                    // window origin
  file += Le32(5) + Le16(0x020C) + Le16(height) + Le16(width);           // window extent
  file += Le32(7) + Le16(0x041B) + Le16(height) + Le16(width) + Le16(0) + Le16(0);  // rectangle
  return file + Le32(3) + Le16(0);
}

std::string WithLastScanRepeated(const std::string& jpeg, int times) {
  const std::size_t scan = jpeg.rfind("\xFF\xDA");
  const std::size_t end = jpeg.rfind("\xFF\xD9");
  if (scan == std::string::npos || end == std::string::npos || end < scan) return jpeg;
  const std::string last = jpeg.substr(scan, end - scan);
  std::string out = jpeg.substr(0, end);
  for (int i = 0; i < times; ++i) out += last;
  return out + jpeg.substr(end);
}

std::string EncodedJpeg(const Bitmap& picture, int quality) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(picture.width);
  info.image_height = static_cast<JDIMENSION>(picture.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(picture.width) * 3);
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t p = picture.At(x, y);
      row[3 * x] = static_cast<JSAMPLE>(p >> 16);
      row[3 * x + 1] = static_cast<JSAMPLE>(p >> 8);
      row[3 * x + 2] = static_cast<JSAMPLE>(p);
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return bytes;
}

Bitmap Quarters(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.Set(x, y, y < height / 2 ? (x < width / 2 ? 0xFF0000 : 0x00FF00) : (x < width / 2 ? 0x0000FF : 0xFFFFFF));
  return b;
}

Bitmap PhotoLike(int width, int height) {
  Bitmap photo(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned grain = (static_cast<unsigned>(x) * 2654435761u ^ static_cast<unsigned>(y) * 40503u) >> 27;
      const unsigned r = (x * 220 / width + grain) & 0xFF;
      const unsigned g = (y * 220 / height + (grain ^ 7)) & 0xFF;
      const unsigned b = (((x + y) / 40) % 200 + grain) & 0xFF;
      photo.Set(x, y, r << 16 | g << 8 | b);
    }
  return photo;
}

std::string WithOrientation(const std::string& jpeg, int orientation) {
  std::string tiff = std::string("MM\0\x2A\0\0\0\x08", 8) + std::string("\0\x01", 2) + std::string("\x01\x12\0\x03\0\0\0\x01", 8) +
                     std::string(1, '\0') + std::string(1, static_cast<char>(orientation)) + std::string(2, '\0') +
                     std::string(4, '\0');
  const std::string payload = std::string("Exif\0\0", 6) + tiff;
  const std::size_t length = payload.size() + 2;
  const std::string segment = std::string("\xFF\xE1") + static_cast<char>(length >> 8) + static_cast<char>(length & 0xFF) + payload;
  return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

}  // namespace tapestrel::pictures
