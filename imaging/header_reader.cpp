#include "imaging/header_reader.h"

#include <algorithm>
#include <cstring>

#include <cmath>
#include <limits>

#include "core/options.h"
#include "core/program_state.h"
#include "platform/desktop.h"
#include "platform/picture_decoder.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "platform/ui.h"

namespace tapestrel {

namespace {

constexpr const char* kTitle = "Tapestrel";

std::uint32_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | static_cast<std::uint32_t>(b[at + 1]) << 8;
}
std::int32_t sle16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int16_t>(le16(b, at));
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

bool isStartOfFrame(int marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}


}  // namespace

bool HeaderReader::Open(const std::string& path) {
  file_ = files_.OpenRead(path);
  buffered_ = 0;
  next_ = 0;
  bufferStart_ = 0;
  if (!file_) return false;
  ++HeaderFileNumber;
  HeaderFileName = path;
  return true;
}

int HeaderReader::ReadByte() {
  if (next_ >= buffered_) {
    if (!file_) throw runtime_error::InputPastEnd();
    bufferStart_ += buffered_;
    buffered_ = file_->Read(buffer_.data(), kReadAhead);
    next_ = 0;
    if (buffered_ == 0) throw runtime_error::InputPastEnd();
  }
  return buffer_[next_++];
}

std::uint32_t HeaderReader::ReadWord() {
  const std::uint32_t first = static_cast<std::uint32_t>(ReadByte());
  const std::uint32_t second = static_cast<std::uint32_t>(ReadByte());
  return HeaderLittleEndian ? first | second << 8 : first << 8 | second;
}

std::int32_t HeaderReader::ReadLong() {
  const std::uint32_t first = ReadWord();
  const std::uint32_t second = ReadWord();
  return static_cast<std::int32_t>(HeaderLittleEndian ? first | second << 16 : first << 16 | second);
}

void HeaderReader::Skip(std::uint64_t count) { SeekTo(bufferStart_ + next_ + count); }

void HeaderReader::SeekTo(std::uint64_t target) {
  if (target >= bufferStart_ && target <= bufferStart_ + buffered_) {
    next_ = static_cast<std::size_t>(target - bufferStart_);
    return;
  }
  // Past what was read ahead: start reading again from there (past the end, the next
  // read finds nothing and fails as reading would). No size is asked for: a photo's
  // large segments are skipped this way once per file.
  if (file_) file_->Seek(target);
  bufferStart_ = target;
  buffered_ = 0;
  next_ = 0;
}

void HeaderReader::Tell(const std::string& text, int style, const std::string& title) {
  if (!state_.HeaderReaderQuiet) ui_.MsgBox(text, style, title);
}

void HeaderReader::SetSize(std::int64_t width, std::int64_t height, std::int64_t depth) {
  // A size that does not fit the program's 32-bit measurements is no size at all.
  constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
  const bool fits = width >= 0 && height >= 0 && depth >= 0 && width <= most && height <= most && depth <= most;
  state_.ImageWidth = fits ? static_cast<std::int32_t>(width) : 0;
  state_.ImageHeight = fits ? static_cast<std::int32_t>(height) : 0;
  state_.ImageBitDepth = fits ? static_cast<std::int32_t>(depth) : 0;
}

// JPEG -------------------------------------------------------------------------------------

void HeaderReader::ReadJpegHeader(const std::string& path, int* fileNumber) {
  HeaderLittleEndian = false;
  HeaderStop = false;
  orientation_ = 1;
  if (!Open(path)) {
    if (missingIsSilent_) return;
    const RuntimeError e = runtime_error::FileNotFound();
    Tell(e.description + " (" + std::to_string(e.number) + ") " + " has occurred while reading " + path,
         mb::OkOnly | mb::Exclamation, kTitle);
    return;
  }
  if (fileNumber) *fileNumber = HeaderFileNumber;

  int first = -1;
  int second = -1;
  try {
    first = ReadByte();
    second = ReadByte();
  } catch (const RuntimeError&) {
  }
  if (first != 0xFF || second != 0xD8) {
    Tell("Not a JPEG file\n" + path, mb::OkOnly | mb::Exclamation, kTitle);
    CloseFile();
    Tell("Expected SOI marker first", mb::OkOnly | mb::Exclamation, kTitle);
    return;
  }

  // Retry goes on reading from where the failure was (a download may still be arriving);
  // Cancel ends the walk.
  for (;;) {
    try {
      if (Walk(NextMarker()) == Step::Stop) return;
    } catch (const RuntimeError& e) {
      if (!AskAfterReadError(e.description, e.number)) {
        CloseFile();
        return;
      }
    }
  }
}

bool HeaderReader::AskAfterReadError(const std::string& description, int number) {
  if (state_.HeaderReaderQuiet) return false;
  const int answer =
      ui_.MsgBox(description + " (" + std::to_string(number) + ") " + " has occurred while reading " + HeaderFileName,
                 mb::RetryCancel | mb::Exclamation, kTitle);
  return answer == mb::IdRetry;
}

int HeaderReader::NextMarker() {
  int passed = 0;
  int byte = ReadByte();
  while (byte != 0xFF) {
    ++passed;
    byte = ReadByte();
  }
  do {
    byte = ReadByte();
  } while (byte == 0xFF);
  if (passed > 0) {
    Tell("Garbage found in JPEG file", mb::OkOnly | mb::Exclamation, kTitle);
    CloseFile();
    return -1;
  }
  return byte;
}

HeaderReader::Step HeaderReader::Walk(int marker) {
  if (marker == -1) {
    Tell("Error ocurred", mb::OkOnly | mb::Exclamation, "JPEG Reader");
    return Step::Stop;
  }
  if (isStartOfFrame(marker)) return ReadFrameHeader();
  switch (marker) {
    case 0xDA:  // start of scan: the size is known
    case 0xD8:
    case 0xD9:
      return Step::Stop;
    case 0xFE:
      return ReadComment();
    case 0xE1:
      return ReadExif();
    default:
      return SkipSegment();
  }
}

HeaderReader::Step HeaderReader::ReadFrameHeader() {
  const std::uint32_t length = ReadWord();
  const int precision = ReadByte();
  // Each measurement counts as soon as it is read: a file cut inside the frame header
  // keeps what it gave.
  const std::uint32_t height = ReadWord();
  state_.ImageHeight = static_cast<std::int32_t>(height);
  const std::uint32_t width = ReadWord();
  state_.ImageWidth = static_cast<std::int32_t>(width);
  const int components = ReadByte();
  // A photo taken upright is shown turned: its width and height are those as shown.
  const bool turned = orientation_ >= 5;
  SetSize(turned ? height : width, turned ? width : height, static_cast<std::int64_t>(precision) * components);
  if (length != 8u + 3u * static_cast<std::uint32_t>(components)) {
    Tell("Bogus SOF marker length", mb::OkOnly | mb::Exclamation, kTitle);
    CloseFile();
    HeaderStop = true;
    return Step::Stop;
  }
  Skip(3u * static_cast<std::uint64_t>(components));
  return Step::Go;
}

HeaderReader::Step HeaderReader::ReadComment() {
  const std::uint32_t length = ReadWord();
  if (length < 2) {
    ReportMarkerLength();
    return Step::Stop;
  }
  std::string comment;
  comment.reserve(length - 2);
  for (std::uint32_t i = 2; i < length; ++i) comment += static_cast<char>(ReadByte());
  if (!state_.HeaderReaderQuiet && options_.JpegCommentOn != 0) {
    const int answer =
        ui_.MsgBox(comment, mb::OkCancel | mb::Information, "JPEG Comment for " + FilePart(HeaderFileName));
    if (answer == mb::IdCancel) options_.JpegCommentOn = 0;
  }
  return HeaderStop ? Step::Stop : Step::Go;
}

HeaderReader::Step HeaderReader::ReadExif() {
  const std::uint32_t length = ReadWord();
  if (length < 2) {
    ReportMarkerLength();
    return Step::Stop;
  }
  // The orientation sits in the first directory, near the start of the segment.
  constexpr std::uint32_t kLooked = 512;
  std::uint8_t head[kLooked];
  const std::uint32_t count = std::min(length - 2, kLooked);
  for (std::uint32_t i = 0; i < count; ++i) head[i] = static_cast<std::uint8_t>(ReadByte());
  if (const int orientation = ExifOrientation(head, count); orientation != 1) orientation_ = orientation;
  Skip(length - 2 - count);
  return Step::Go;
}

HeaderReader::Step HeaderReader::SkipSegment() {
  const std::uint32_t length = ReadWord();
  if (length < 2) {
    ReportMarkerLength();
    return Step::Stop;
  }
  Skip(length - 2);
  return Step::Go;
}

void HeaderReader::ReportMarkerLength() {
  Tell("Errroneous JPEG marker length", mb::OkOnly | mb::Exclamation, kTitle);
  CloseFile();
}

// The other readers ----------------------------------------------------------------------

bool HeaderReader::ReadFixedHeader(const std::string& path, std::size_t size, std::vector<std::uint8_t>& header) {
  if (!Open(path)) return false;
  header.assign(size, 0);
  const std::size_t got = file_->Read(header.data(), size);
  CloseFile();
  return got == size;
}

void HeaderReader::ReadBmpHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 14 + 40, h) || h[0] != 'B' || h[1] != 'M') return;
  if (le32(h, 14) == 12) {  // OS/2 header: 16-bit sizes
    SetSize(le16(h, 18), le16(h, 20), le16(h, 24));
    return;
  }
  const std::int64_t height = static_cast<std::int32_t>(le32(h, 22));
  SetSize(static_cast<std::int32_t>(le32(h, 18)), height < 0 ? -height : height, le16(h, 28));
}

void HeaderReader::ReadGifHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 13, h) || h[0] != 'G' || h[1] != 'I' || h[2] != 'F') return;
  SetSize(le16(h, 6), le16(h, 8), (h[10] & 7) + 1);
}

void HeaderReader::ReadWebpHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 30, h) || std::memcmp(h.data(), "RIFF", 4) != 0 || std::memcmp(h.data() + 8, "WEBP", 4) != 0)
    return;
  const auto le24 = [&h](std::size_t at) { return static_cast<std::int64_t>(h[at] | h[at + 1] << 8 | h[at + 2] << 16); };
  if (std::memcmp(h.data() + 12, "VP8 ", 4) == 0 && h[23] == 0x9D && h[24] == 0x01 && h[25] == 0x2A) {
    SetSize(le16(h, 26) & 0x3FFF, le16(h, 28) & 0x3FFF, 24);
  } else if (std::memcmp(h.data() + 12, "VP8L", 4) == 0 && h[20] == 0x2F) {
    const std::uint32_t bits = le32(h, 21);
    SetSize((bits & 0x3FFF) + 1, (bits >> 14 & 0x3FFF) + 1, bits >> 28 & 1 ? 32 : 24);
  } else if (std::memcmp(h.data() + 12, "VP8X", 4) == 0) {
    SetSize(le24(24) + 1, le24(27) + 1, h[20] & 0x10 ? 32 : 24);
  }
}

void HeaderReader::ReadIsoMediaHeader(const std::string& path) {
  // The properties lie near the file's head (in "meta"); 256 KB holds them in any real file.
  if (!Open(path)) return;
  if (file_->Size() < 16) {  // not even a file-type box and the start of another
    CloseFile();
    return;
  }
  std::vector<std::uint8_t> h(static_cast<std::size_t>(std::min<std::uint64_t>(file_->Size(), 256 * 1024)));
  h.resize(file_->Read(h.data(), h.size()));
  CloseFile();
  const auto be16 = [&h](std::size_t at) { return static_cast<std::uint32_t>(h[at] << 8 | h[at + 1]); };
  const auto be32 = [&h](std::size_t at) {
    return static_cast<std::uint32_t>(h[at]) << 24 | h[at + 1] << 16 | h[at + 2] << 8 | h[at + 3];
  };
  struct Property {
    std::string type;
    std::size_t body;  // where its contents start
    std::size_t end;
  };
  std::vector<Property> properties;               // "ipco"'s children, numbered from 1
  std::uint32_t primary = 0;                       // "pitm": the item shown
  std::vector<std::uint32_t> ofPrimary;            // "ipma": the property numbers of that item
  std::size_t ipma = 0, ipmaEnd = 0;
  // Boxes within [from, to): the containers on the way to the properties are opened.
  const auto walk = [&](auto& self, std::size_t from, std::size_t to, int depth, bool inIpco) -> void {
    for (std::size_t at = from; at + 8 <= to && depth < 8;) {
      std::uint64_t size = be32(at);
      std::size_t header = 8;
      if (size == 1 && at + 16 <= to) {
        size = static_cast<std::uint64_t>(be32(at + 8)) << 32 | be32(at + 12);
        header = 16;
      } else if (size == 0) {
        size = to - at;
      }
      if (size < header || size > to - at) return;  // damaged, or running past what was read
      const std::string type(reinterpret_cast<const char*>(h.data() + at + 4), 4);
      const std::size_t end = at + static_cast<std::size_t>(size);
      if (inIpco) properties.push_back({type, at + header, end});
      else if (type == "meta") self(self, at + header + 4, end, depth + 1, false);  // version and flags first
      else if (type == "iprp") self(self, at + header, end, depth + 1, false);
      else if (type == "ipco") self(self, at + header, end, depth + 1, true);
      else if (type == "pitm" && at + header < end) {
        // Version 0 numbers the item in 16 bits, later versions in 32; a box too short
        // for its number names no item.
        const std::size_t id = at + header + 4, idBytes = h[at + header] == 0 ? 2 : 4;
        if (id + idBytes <= end) primary = idBytes == 2 ? be16(id) : be32(id);
      }
      else if (type == "ipma") ipma = at + header, ipmaEnd = end;
      at = end;
    }
  };
  if (h.size() < 12 || std::memcmp(h.data() + 4, "ftyp", 4) != 0) return;
  walk(walk, 0, h.size(), 0, false);
  // The associations: per item its id, a count, then per property a number (7 or 15 bits).
  if (ipma && ipma + 8 <= ipmaEnd) {
    const bool longIds = h[ipma] >= 1, wide = (h[ipma + 3] & 1) != 0;
    std::size_t at = ipma + 8;
    for (std::uint32_t entries = be32(ipma + 4); entries > 0 && at < ipmaEnd; --entries) {
      if (at + (longIds ? 5 : 3) > ipmaEnd) break;
      const std::uint32_t item = longIds ? be32(at) : be16(at);
      at += longIds ? 4 : 2;
      const int count = h[at++];
      for (int k = 0; k < count && at + (wide ? 2 : 1) <= ipmaEnd; ++k, at += wide ? 2 : 1)
        if (item == primary) ofPrimary.push_back(wide ? be16(at) & 0x7FFF : h[at] & 0x7Fu);
    }
  }
  // Without the associations, every property stands for the primary picture's.
  if (ofPrimary.empty())
    for (std::uint32_t n = 1; n <= properties.size(); ++n) ofPrimary.push_back(n);
  std::int64_t width = 0, height = 0, apertureWidth = 0, apertureHeight = 0;
  bool turned = false;
  for (const std::uint32_t n : ofPrimary) {
    if (n == 0 || n > properties.size()) continue;
    const Property& p = properties[n - 1];
    if (p.type == "ispe" && p.body + 12 <= p.end) {
      // Two 32-bit extents multiply past a signed 64-bit number; unsigned they fit.
      const std::uint64_t w = be32(p.body + 4), hgt = be32(p.body + 8);
      if (w * hgt > static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height))
        width = static_cast<std::int64_t>(w), height = static_cast<std::int64_t>(hgt);
    } else if (p.type == "clap" && p.body + 16 <= p.end) {
      // The clean aperture: a coded size padded out, cut back to the picture's own.
      const std::uint32_t wd = be32(p.body + 4), hd = be32(p.body + 12);
      if (wd && hd) apertureWidth = be32(p.body) / wd, apertureHeight = be32(p.body + 8) / hd;
    } else if (p.type == "irot" && p.body < p.end) {
      turned = (h[p.body] & 1) != 0;  // a quarter or three quarters round
    }
  }
  if (apertureWidth > 0 && apertureHeight > 0 && apertureWidth <= width && apertureHeight <= height)
    width = apertureWidth, height = apertureHeight;
  if (turned) std::swap(width, height);
  if (width > 0 && height > 0) SetSize(width, height, 24);
}

void HeaderReader::ReadPcxHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 128, h) || h[0] != 0x0A) return;
  SetSize(static_cast<std::int64_t>(le16(h, 8)) - le16(h, 4) + 1, static_cast<std::int64_t>(le16(h, 10)) - le16(h, 6) + 1,
          static_cast<std::int64_t>(h[3]) * h[65]);
}

void HeaderReader::ReadTgaHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 18, h)) return;
  SetSize(le16(h, 12), le16(h, 14), h[16]);
}

void HeaderReader::ReadWmfHeader(const std::string& path) {
  std::vector<std::uint8_t> h;
  if (!ReadFixedHeader(path, 22, h) || le32(h, 0) != 0x9AC6CDD7u) return;
  const std::uint32_t unitsPerInch = le16(h, 14);
  if (unitsPerInch == 0) return;
  // Inches to screen pixels through the screen's twips (1440 to the inch).
  const double pixelsPerInch = 1440.0 / desktop_.TwipsPerPixel();
  const auto pixels = [&](std::int32_t from, std::int32_t to) {
    return static_cast<std::int64_t>(std::nearbyint((to - from) * pixelsPerInch / unitsPerInch));
  };
  SetSize(pixels(sle16(h, 6), sle16(h, 10)), pixels(sle16(h, 8), sle16(h, 12)), desktop_.ColorDepth());
}

void HeaderReader::ReadTiffHeader(const std::string& path) {
  SetSize(0, 0, 0);
  if (!Open(path)) return;
  try {
    const int first = ReadByte();
    const int second = ReadByte();
    HeaderLittleEndian = first == 'I' && second == 'I';
    ReadWord();  // the format's number, 42
    const std::uint32_t directory = static_cast<std::uint32_t>(ReadLong());
    if (directory < 8) throw runtime_error::InputPastEnd();  // the directory cannot lie in the file's head
    Skip(static_cast<std::uint64_t>(directory) - 8);
    const std::uint32_t entries = ReadWord();
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t bitsPerSample = 1;
    std::int64_t samplesPerPixel = 1;
    // Several bits-per-sample values that do not fit the entry lie elsewhere in the file:
    // the entry holds their offset, and the first value counts.
    std::int64_t bitsOffset = -1;
    std::uint32_t bitsType = 3;
    for (std::uint32_t i = 0; i < entries; ++i) {
      const std::uint32_t tag = ReadWord();
      const std::uint32_t type = ReadWord();
      const std::int32_t count = ReadLong();
      const std::uint32_t field = static_cast<std::uint32_t>(ReadLong());
      // A SHORT is the first two bytes of the field, in the file's order.
      const std::int64_t value = type == 3 ? (HeaderLittleEndian ? field & 0xFFFF : field >> 16) : field;
      switch (tag) {
        case 0x100: width = value; break;
        case 0x101: height = value; break;
        case 0x102:
          if (count == 3) bitsPerSample = 8;
          else if (static_cast<std::int64_t>(count) * (type == 3 ? 2 : 4) > 4) {
            bitsOffset = field;
            bitsType = type;
          }
          else bitsPerSample = value;
          break;
        case 0x115: samplesPerPixel = value; break;
        default: break;
      }
    }
    if (bitsOffset >= 0) {
      SeekTo(static_cast<std::uint64_t>(bitsOffset));
      bitsPerSample = bitsType == 3 ? ReadWord() : static_cast<std::uint32_t>(ReadLong());
    }
    // Samples and their bits are small numbers; anything else is damage, not a depth.
    const bool sane = bitsPerSample >= 0 && bitsPerSample <= 0xFFFF && samplesPerPixel >= 0 && samplesPerPixel <= 0xFFFF;
    SetSize(width, height, sane ? bitsPerSample * samplesPerPixel : -1);
  } catch (const RuntimeError&) {
    SetSize(0, 0, 0);
  }
  CloseFile();
  HeaderLittleEndian = false;
}

void HeaderReader::ReadImageHeader(const std::string& path) {
  SetSize(0, 0, 0);
  const std::string type = ToLower(path.size() >= 3 ? path.substr(path.size() - 3) : path);
  // A path that is not there has no size: each reader leaves 0 when it cannot open it.
  if (type == "bmp") ReadBmpHeader(path);
  else if (type == "jpg" || type == "peg" || type == "jpe") {
    missingIsSilent_ = true;
    ReadJpegHeader(path);
    missingIsSilent_ = false;
  }
  else if (type == "pcx") ReadPcxHeader(path);
  else if (type == "tga") ReadTgaHeader(path);
  else if (type == "wmf") ReadWmfHeader(path);
  else if (type == "ebp") ReadWebpHeader(path);  // ".webp"
  else if (type == "eic" || type == "eif" || type == "vif") ReadIsoMediaHeader(path);  // ".heic", ".heif", ".avif"
  CloseFile();
}

}  // namespace tapestrel
