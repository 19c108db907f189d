#include "platform/bitmap.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

namespace tapestrel {

namespace {

std::uint32_t le16(const std::string& b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}

std::uint32_t le32(const std::string& b, std::size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

void put16(std::string& b, std::uint32_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}

void put32(std::string& b, std::uint32_t v) {
  put16(b, v & 0xFFFF);
  put16(b, v >> 16);
}

bool fail(std::string* why, const char* text) {
  if (why) *why = text;
  return false;
}

// Scales a value under a channel mask to 0..255.
std::uint32_t channel(std::uint32_t value, std::uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  const std::uint32_t bits = mask >> shift;
  const std::uint32_t v = (value & mask) >> shift;
  return bits == 0xFF ? v : static_cast<std::uint32_t>((static_cast<std::uint64_t>(v) * 255 + bits / 2) / bits);
}

struct Layout {
  int width = 0;
  int height = 0;  // always positive here
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = 0;
  std::vector<std::uint32_t> palette;
  std::array<std::uint32_t, 3> masks{};
  std::size_t data = 0;
};

bool readLayout(const std::string& b, Layout& l, std::string* why) {
  if (b.size() < 26 || b[0] != 'B' || b[1] != 'M') return fail(why, "not a BMP file");
  const std::uint32_t infoSize = le32(b, 14);
  if (infoSize < 12 || 14 + static_cast<std::uint64_t>(infoSize) > b.size()) return fail(why, "header cut short");
  std::int64_t width = 0;
  std::int64_t height = 0;
  std::size_t paletteEntry = 4;
  std::uint32_t colours = 0;
  if (infoSize == 12) {  // OS/2: 16-bit sizes, three-byte palette entries
    width = static_cast<std::int16_t>(le16(b, 18));
    height = static_cast<std::int16_t>(le16(b, 20));
    l.bits = static_cast<int>(le16(b, 24));
    paletteEntry = 3;
  } else {
    if (infoSize < 40) return fail(why, "unknown header");
    width = static_cast<std::int32_t>(le32(b, 18));
    height = static_cast<std::int32_t>(le32(b, 22));
    l.bits = static_cast<int>(le16(b, 28));
    l.compression = le32(b, 30);
    colours = le32(b, 46);
  }
  l.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (width <= 0 || height <= 0) return fail(why, "no picture");
  if (static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxPicturePixels)
    return fail(why, "picture too large");
  l.width = static_cast<int>(width);
  l.height = static_cast<int>(height);

  static constexpr int known[] = {1, 4, 8, 16, 24, 32};
  if (std::find(std::begin(known), std::end(known), l.bits) == std::end(known)) return fail(why, "unknown depth");
  const bool bitfields = l.compression == 3 || l.compression == 6;
  if (l.compression > 3 && l.compression != 6) return fail(why, "unknown compression");
  if ((l.compression == 1 && l.bits != 8) || (l.compression == 2 && l.bits != 4)) return fail(why, "bad compression");
  if (bitfields && l.bits != 16 && l.bits != 32) return fail(why, "bad bit fields");
  if ((l.compression == 1 || l.compression == 2) && l.topDown) return fail(why, "top-down RLE");

  std::size_t at = 14 + infoSize;
  if (bitfields) {
    if (infoSize >= 52) {
      for (int i = 0; i < 3; ++i) l.masks[i] = le32(b, 54 + 4 * static_cast<std::size_t>(i));
    } else {
      if (at + 12 > b.size()) return fail(why, "masks cut short");
      for (int i = 0; i < 3; ++i) l.masks[i] = le32(b, at + 4 * static_cast<std::size_t>(i));
      at += 12;
    }
  } else if (l.bits == 16) {
    l.masks = {0x7C00, 0x03E0, 0x001F};
  } else if (l.bits == 32) {
    l.masks = {0xFF0000, 0x00FF00, 0x0000FF};
  }
  if (l.bits <= 8) {
    const std::uint32_t most = 1u << l.bits;
    const std::uint32_t count = colours == 0 || colours > most ? most : colours;
    for (std::uint32_t i = 0; i < count; ++i) {
      if (at + paletteEntry > b.size()) break;  // a short palette leaves the rest black
      const auto* p = reinterpret_cast<const std::uint8_t*>(b.data() + at);
      l.palette.push_back(static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[0]);
      at += paletteEntry;
    }
    l.palette.resize(most, 0);
  }
  const std::uint32_t offset = le32(b, 10);
  l.data = offset >= 26 && offset < b.size() ? offset : at;
  // Ask for no more memory than the file can fill: every row of an uncompressed picture
  // is in the file, and a run-length byte pair stands for at most 255 pixels.
  const std::uint64_t pixels = static_cast<std::uint64_t>(l.width) * static_cast<std::uint64_t>(l.height);
  const std::uint64_t available = b.size() - l.data;
  if (l.compression == 1 || l.compression == 2) {
    if (pixels > (available + 1) / 2 * 255) return fail(why, "compressed pixels cut short");
  } else if (((static_cast<std::uint64_t>(l.width) * l.bits + 31) / 32) * 4 * static_cast<std::uint64_t>(l.height) >
             available) {
    return fail(why, "pixels cut short");
  }
  return true;
}

bool readPlain(const std::string& b, const Layout& l, Bitmap& out, std::string* why) {
  const std::uint64_t stride = ((static_cast<std::uint64_t>(l.width) * l.bits + 31) / 32) * 4;
  if (l.data + stride * static_cast<std::uint64_t>(l.height) > b.size()) return fail(why, "pixels cut short");
  const auto* base = reinterpret_cast<const std::uint8_t*>(b.data() + l.data);
  for (int row = 0; row < l.height; ++row) {
    const std::uint8_t* p = base + stride * static_cast<std::uint64_t>(row);
    const int y = l.topDown ? row : l.height - 1 - row;
    for (int x = 0; x < l.width; ++x) {
      std::uint32_t rgb = 0;
      switch (l.bits) {
        case 1: rgb = l.palette[(p[x / 8] >> (7 - x % 8)) & 1]; break;
        case 4: rgb = l.palette[(p[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
        case 8: rgb = l.palette[p[x]]; break;
        case 16:
        case 32: {
          const std::uint32_t v = l.bits == 16 ? (p[2 * x] | p[2 * x + 1] << 8)
                                               : (p[4 * x] | p[4 * x + 1] << 8 | p[4 * x + 2] << 16 |
                                                  static_cast<std::uint32_t>(p[4 * x + 3]) << 24);
          rgb = channel(v, l.masks[0]) << 16 | channel(v, l.masks[1]) << 8 | channel(v, l.masks[2]);
          break;
        }
        case 24: rgb = static_cast<std::uint32_t>(p[3 * x + 2]) << 16 | p[3 * x + 1] << 8 | p[3 * x]; break;
      }
      out.Set(x, y, rgb);
    }
  }
  return true;
}

// Run-length encoded rows (bottom-up); pixels the runs never reach stay black.
bool readRle(const std::string& b, const Layout& l, Bitmap& out, std::string* why) {
  std::fill(out.pixels.begin(), out.pixels.end(), l.palette[0]);
  const bool four = l.bits == 4;
  std::size_t at = l.data;
  int x = 0;
  int row = 0;
  const auto put = [&](std::uint32_t index) {
    if (x < l.width && row < l.height) out.Set(x, l.height - 1 - row, l.palette[index & (four ? 0xF : 0xFF)]);
    ++x;
  };
  while (at + 1 < b.size()) {
    const auto count = static_cast<std::uint8_t>(b[at]);
    const auto value = static_cast<std::uint8_t>(b[at + 1]);
    at += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) put(four ? (i % 2 ? value & 0xF : value >> 4) : value);
      continue;
    }
    if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return true;
    } else if (value == 2) {
      if (at + 1 >= b.size()) break;
      x += static_cast<std::uint8_t>(b[at]);
      row += static_cast<std::uint8_t>(b[at + 1]);
      at += 2;
    } else {
      const std::size_t bytes = four ? (value + 1u) / 2 : value;
      if (at + bytes > b.size()) break;
      for (int i = 0; i < value; ++i) {
        const auto byte = static_cast<std::uint8_t>(b[at + (four ? i / 2 : i)]);
        put(four ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
      }
      at += (bytes + 1) & ~std::size_t{1};  // absolute runs end on a word boundary
    }
    if (row >= l.height) return true;
  }
  return fail(why, "compressed pixels cut short");
}

}  // namespace

std::optional<Bitmap> ReadBmp(const std::string& bytes, std::string* why) {
  Layout layout;
  if (!readLayout(bytes, layout, why)) return std::nullopt;
  Bitmap picture(layout.width, layout.height, 0);
  const bool ok = layout.compression == 1 || layout.compression == 2 ? readRle(bytes, layout, picture, why)
                                                                     : readPlain(bytes, layout, picture, why);
  if (!ok) return std::nullopt;
  return picture;
}

std::string WriteBmp24(const Bitmap& picture) {
  const std::uint32_t stride = ((static_cast<std::uint32_t>(picture.width) * 24 + 31) / 32) * 4;
  const std::uint32_t size = stride * static_cast<std::uint32_t>(picture.height);
  std::string out;
  out.reserve(54 + size);
  out += "BM";
  put32(out, 54 + size);
  put32(out, 0);
  put32(out, 54);
  put32(out, 40);
  put32(out, static_cast<std::uint32_t>(picture.width));
  put32(out, static_cast<std::uint32_t>(picture.height));
  put16(out, 1);
  put16(out, 24);
  put32(out, 0);
  put32(out, size);
  put32(out, 2835);  // 72 dots per inch
  put32(out, 2835);
  put32(out, 0);
  put32(out, 0);
  std::string row(stride, '\0');
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t rgb = picture.At(x, y);
      row[3 * static_cast<std::size_t>(x)] = static_cast<char>(rgb & 0xFF);
      row[3 * static_cast<std::size_t>(x) + 1] = static_cast<char>((rgb >> 8) & 0xFF);
      row[3 * static_cast<std::size_t>(x) + 2] = static_cast<char>((rgb >> 16) & 0xFF);
    }
    out += row;
  }
  return out;
}

Bitmap StretchNearest(const Bitmap& source, int width, int height) {
  Bitmap out(std::max(width, 0), std::max(height, 0), 0);
  if (source.Empty() || out.Empty()) return out;
  std::vector<int> columns(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x)
    columns[x] = static_cast<int>((2ll * x + 1) * source.width / (2ll * width));
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>((2ll * y + 1) * source.height / (2ll * height));
    const std::uint32_t* from = source.pixels.data() + static_cast<std::size_t>(sy) * source.width;
    std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) to[x] = from[columns[x]];
  }
  return out;
}

void AreaRows::Spans(int sourceCount, double from, double length, int count, std::vector<int>& start,
                     std::vector<Share>& shares) {
  start.assign(static_cast<std::size_t>(count) + 1, 0);
  shares.clear();
  const double step = length / count;
  for (int i = 0; i < count; ++i) {
    start[static_cast<std::size_t>(i)] = static_cast<int>(shares.size());
    double a = std::clamp(from + step * i, 0.0, static_cast<double>(sourceCount));
    double b = std::clamp(from + step * (i + 1), 0.0, static_cast<double>(sourceCount));
    if (b - a < 1e-9) {  // an area thinner than nothing: the pixel under it
      const int s = std::clamp(static_cast<int>(a), 0, sourceCount - 1);
      shares.push_back({s, 1.0f});
      continue;
    }
    const std::size_t first = shares.size();
    for (int s = static_cast<int>(std::floor(a)); s < b && s < sourceCount; ++s) {
      const double part = std::min(b, s + 1.0) - std::max(a, static_cast<double>(s));
      if (part > 1e-9) shares.push_back({s, static_cast<float>(part / (b - a))});
    }
    if (shares.size() == first) shares.push_back({std::clamp(static_cast<int>(a), 0, sourceCount - 1), 1.0f});
  }
  start[static_cast<std::size_t>(count)] = static_cast<int>(shares.size());
}

AreaRows::AreaRows(int sourceWidth, int sourceHeight, double left, double top, double across, double down, int width,
                   int height)
    : out_(std::max(width, 1), std::max(height, 1), 0) {
  width = out_.width;
  height = out_.height;
  sourceWidth = std::max(sourceWidth, 1);
  sourceHeight = std::max(sourceHeight, 1);
  Spans(sourceWidth, left, across, width, columnStart_, columns_);
  // Down: the target rows each source row feeds, and the row that completes each.
  std::vector<int> downStart;
  std::vector<Share> downShares;
  Spans(sourceHeight, top, down, height, downStart, downShares);
  lastSourceRow_.assign(static_cast<std::size_t>(height), 0);
  rowStart_.assign(static_cast<std::size_t>(sourceHeight) + 1, 0);
  for (int j = 0; j < height; ++j)
    for (int n = downStart[static_cast<std::size_t>(j)]; n < downStart[static_cast<std::size_t>(j) + 1]; ++n) {
      const Share& s = downShares[static_cast<std::size_t>(n)];
      ++rowStart_[static_cast<std::size_t>(s.index) + 1];
      lastSourceRow_[static_cast<std::size_t>(j)] = std::max(lastSourceRow_[static_cast<std::size_t>(j)], s.index);
    }
  for (std::size_t r = 1; r < rowStart_.size(); ++r) rowStart_[r] += rowStart_[r - 1];
  rowsOfSource_.resize(downShares.size());
  std::vector<int> next(rowStart_.begin(), rowStart_.end() - 1);
  for (int j = 0; j < height; ++j)
    for (int n = downStart[static_cast<std::size_t>(j)]; n < downStart[static_cast<std::size_t>(j) + 1]; ++n) {
      const Share& s = downShares[static_cast<std::size_t>(n)];
      rowsOfSource_[static_cast<std::size_t>(next[static_cast<std::size_t>(s.index)]++)] = {j, s.weight};
    }
  across_.resize(static_cast<std::size_t>(width) * 3);
  open_.resize(static_cast<std::size_t>(height));
}

bool AreaRows::Wanted(int sourceRow) const {
  return sourceRow >= 0 && sourceRow + 1 < static_cast<int>(rowStart_.size()) &&
         rowStart_[static_cast<std::size_t>(sourceRow)] != rowStart_[static_cast<std::size_t>(sourceRow) + 1];
}

void AreaRows::Feed(int sourceRow, const std::uint32_t* row) {
  if (!Wanted(sourceRow)) return;
  const std::size_t width = static_cast<std::size_t>(out_.width);
  for (std::size_t x = 0; x < width; ++x) {
    float r = 0, g = 0, b = 0;
    for (int n = columnStart_[x]; n < columnStart_[x + 1]; ++n) {
      const Share& s = columns_[static_cast<std::size_t>(n)];
      const std::uint32_t p = row[s.index];
      r += s.weight * static_cast<float>((p >> 16) & 0xFF);
      g += s.weight * static_cast<float>((p >> 8) & 0xFF);
      b += s.weight * static_cast<float>(p & 0xFF);
    }
    across_[3 * x] = r;
    across_[3 * x + 1] = g;
    across_[3 * x + 2] = b;
  }
  for (int n = rowStart_[static_cast<std::size_t>(sourceRow)]; n < rowStart_[static_cast<std::size_t>(sourceRow) + 1];
       ++n) {
    const Share& s = rowsOfSource_[static_cast<std::size_t>(n)];
    const std::size_t j = static_cast<std::size_t>(s.index);
    std::vector<float>& sum = open_[j];
    if (sum.empty()) sum.assign(width * 3, 0.0f);
    for (std::size_t k = 0; k < sum.size(); ++k) sum[k] += s.weight * across_[k];
    if (lastSourceRow_[j] != sourceRow) continue;
    std::uint32_t* to = out_.pixels.data() + j * width;
    auto channel = [](float v) { return static_cast<std::uint32_t>(std::clamp(v + 0.5f, 0.0f, 255.0f)); };
    for (std::size_t x = 0; x < width; ++x)
      to[x] = channel(sum[3 * x]) << 16 | channel(sum[3 * x + 1]) << 8 | channel(sum[3 * x + 2]);
    std::vector<float>().swap(sum);
  }
}

Bitmap ScaleArea(const Bitmap& source, double left, double top, double across, double down, int width, int height) {
  AreaRows area(source.width, source.height, left, top, across, down, width, height);
  if (source.Empty()) return std::move(area.Result());
  for (int y = 0; y < source.height; ++y)
    if (area.Wanted(y)) area.Feed(y, source.pixels.data() + static_cast<std::size_t>(y) * source.width);
  return std::move(area.Result());
}

Bitmap StretchAreaNearest(const Bitmap& source, double left, double top, double across, double down, int width,
                          int height) {
  Bitmap out(std::max(width, 1), std::max(height, 1), 0);
  if (source.Empty()) return out;
  std::vector<int> columns(static_cast<std::size_t>(out.width));
  for (int x = 0; x < out.width; ++x)
    columns[static_cast<std::size_t>(x)] =
        std::clamp(static_cast<int>(std::floor(left + (x + 0.5) * across / out.width)), 0, source.width - 1);
  for (int y = 0; y < out.height; ++y) {
    const int sy = std::clamp(static_cast<int>(std::floor(top + (y + 0.5) * down / out.height)), 0, source.height - 1);
    const std::uint32_t* from = source.pixels.data() + static_cast<std::size_t>(sy) * source.width;
    std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * out.width;
    for (int x = 0; x < out.width; ++x) to[x] = from[columns[static_cast<std::size_t>(x)]];
  }
  return out;
}

Bitmap ShrinkSmooth(const Bitmap& source, int width, int height) {
  return ScaleArea(source, 0, 0, source.width, source.height, width, height);
}

void Blit(Bitmap& target, int x, int y, const Bitmap& source) {
  const int left = std::max(0, x);
  const int top = std::max(0, y);
  const int right = std::min(target.width, x + source.width);
  const int bottom = std::min(target.height, y + source.height);
  for (int ty = top; ty < bottom; ++ty)
    for (int tx = left; tx < right; ++tx) target.Set(tx, ty, source.At(tx - x, ty - y));
}

}  // namespace tapestrel
