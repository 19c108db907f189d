#include "platform/picture_decoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <optional>
#include <unordered_set>
#include <vector>

#include "platform/runtime_error.h"
#include "platform/text.h"

extern "C" {
#include <jpeglib.h>
#include <tiffio.h>
#include <webp/decode.h>
#include <webp/demux.h>
}

#include "stb_image.h"

namespace tapestrel {

namespace {

[[noreturn]] void fail(int number, const std::string& description) { throw RuntimeError{number, description}; }

[[noreturn]] void tooLarge(std::uint64_t width, std::uint64_t height) {
  fail(decode_error::kPictureTooLarge,
       "The picture is too large to decode (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)");
}

void checkPixelCount(std::uint64_t width, std::uint64_t height, const DecodeOptions& options) {
  if (width * height > options.maxPixels) tooLarge(width, height);
}

// What a decode of a picture this size would hold at once, against the budget.
void checkMemory(std::uint64_t bytes, std::uint64_t width, std::uint64_t height) {
  if (bytes > kPictureMemoryBudget) tooLarge(width, height);
}

std::uint64_t bitmapBytes(int width, int height) {
  return static_cast<std::uint64_t>(std::max(width, 0)) * static_cast<std::uint64_t>(std::max(height, 0)) * 4;
}

// Where each pixel of the fitted picture comes from in the decoded one: the target's
// pixel centres taken to the nearest decoded pixel (as a COLORONCOLOR stretch does),
// through the turn or mirror the photo's orientation asks for. Decoded rows arrive one
// at a time, so each knows the target lines (rows, or columns for a turned photo) it
// feeds.
class RowSampler {
 public:
  RowSampler(int storedWidth, int storedHeight, int orientation, PictureSize target)
      : target_(target) {
    // Orientations 5 to 8 swap the axes; 2, 3, 7 mirror stored x; 3, 4, 6, 7 stored y.
    static const bool transpose[] = {false, false, false, false, false, true, true, true, true};
    static const bool flipX[] = {false, false, true, true, false, false, false, true, true};
    static const bool flipY[] = {false, false, false, true, true, false, true, true, false};
    if (orientation < 1 || orientation > 8) orientation = 1;
    transpose_ = transpose[orientation];
    const int shownWidth = transpose_ ? storedHeight : storedWidth;
    const int shownHeight = transpose_ ? storedWidth : storedHeight;
    const std::vector<int> across = centres(target.width, shownWidth);
    const std::vector<int> down = centres(target.height, shownHeight);
    // Along a target line runs stored x; the line number gives stored y.
    const std::vector<int>& alongLine = transpose_ ? down : across;
    const std::vector<int>& lineRow = transpose_ ? across : down;
    column_.resize(alongLine.size());
    for (std::size_t i = 0; i < alongLine.size(); ++i)
      column_[i] = flipX[orientation] ? storedWidth - 1 - alongLine[i] : alongLine[i];
    std::vector<int> rowOfLine(lineRow.size());
    for (std::size_t k = 0; k < lineRow.size(); ++k)
      rowOfLine[k] = flipY[orientation] ? storedHeight - 1 - lineRow[k] : lineRow[k];
    lineStart_.assign(static_cast<std::size_t>(storedHeight) + 1, 0);
    for (int row : rowOfLine) ++lineStart_[static_cast<std::size_t>(row) + 1];
    for (std::size_t r = 1; r < lineStart_.size(); ++r) lineStart_[r] += lineStart_[r - 1];
    lines_.resize(rowOfLine.size());
    std::vector<int> next(lineStart_.begin(), lineStart_.end() - 1);
    for (std::size_t k = 0; k < rowOfLine.size(); ++k)
      lines_[static_cast<std::size_t>(next[static_cast<std::size_t>(rowOfLine[k])]++)] = static_cast<int>(k);
    identity_ = orientation == 1 && target.width == storedWidth && target.height == storedHeight;
  }

  bool Identity() const { return identity_; }
  bool Wanted(int storedRow) const { return lineStart_[storedRow] != lineStart_[storedRow + 1]; }

  // One decoded row (0x??RRGGBB pixels; the top byte is dropped) into the picture.
  void Feed(int storedRow, const std::uint32_t* row, Bitmap& out) const {
    const std::size_t width = static_cast<std::size_t>(out.width);
    for (int n = lineStart_[storedRow]; n < lineStart_[storedRow + 1]; ++n) {
      const std::size_t line = static_cast<std::size_t>(lines_[static_cast<std::size_t>(n)]);
      if (!transpose_) {
        std::uint32_t* to = out.pixels.data() + line * width;
        for (std::size_t i = 0; i < column_.size(); ++i) to[i] = row[column_[i]] & 0xFFFFFF;
      } else {
        std::uint32_t* to = out.pixels.data() + line;
        for (std::size_t i = 0; i < column_.size(); ++i) to[i * width] = row[column_[i]] & 0xFFFFFF;
      }
    }
  }

 private:
  static std::vector<int> centres(int count, int from) {
    std::vector<int> at(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) at[static_cast<std::size_t>(i)] = static_cast<int>((2ll * i + 1) * from / (2ll * count));
    return at;
  }

  PictureSize target_;
  bool transpose_ = false;
  bool identity_ = false;
  std::vector<int> column_;
  std::vector<int> lineStart_;
  std::vector<int> lines_;
};

// The size a picture of this shown size is decoded to: what the caller fits it to,
// never larger than the picture and never empty.
PictureSize fitted(const DecodeOptions& options, PictureSize shown) {
  if (!options.fit) return shown;
  PictureSize size = options.fit(shown);
  size.width = std::clamp(size.width, 1, std::max(1, shown.width));
  size.height = std::clamp(size.height, 1, std::max(1, shown.height));
  return size;
}

Bitmap pictureOfSize(PictureSize size, PictureSize full) {
  Bitmap out = WithPictureMemory([&] { return Bitmap(size.width, size.height, 0); });
  if (size != full) {
    out.fullWidth = full.width;
    out.fullHeight = full.height;
  }
  return out;
}

// The averaged picture: from the rows fed already, or from a whole turned copy (then
// released first, before the caller keeps the result).
Bitmap finishSmooth(AreaRows& area, Bitmap* whole, PictureSize full) {
  if (whole) {
    for (int y = 0; y < whole->height; ++y)
      if (area.Wanted(y)) area.Feed(y, whole->pixels.data() + static_cast<std::size_t>(y) * whole->width);
    Bitmap().pixels.swap(whole->pixels);
  }
  Bitmap out = std::move(area.Result());
  if (PictureSize{out.width, out.height} != full) {
    out.fullWidth = full.width;
    out.fullHeight = full.height;
  }
  return out;
}

// ---- JPEG ----------------------------------------------------------------------------

struct JpegFailure {
  jpeg_error_mgr manager;  // first: the library hands back a pointer to it
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr info) {
  JpegFailure* failure = reinterpret_cast<JpegFailure*>(info->err);
  (*info->err->format_message)(info, failure->message);
  std::longjmp(failure->jump, 1);
}

// Warnings (a picture cut short, a damaged stretch) let the decoding go on, as a viewer
// shows what it can; they are not printed.
extern "C" void onJpegMessage(j_common_ptr) {}

// Watches a decode's progress: too many scans, or the user asking it to stop, end it
// through the library's own error path.
struct JpegWatch {
  jpeg_progress_mgr manager;  // first: the library hands back a pointer to it
  const DecodeOptions* options = nullptr;
  unsigned calls = 0;
  int stoppedWith = 0;  // the error number a stop raises
};

// Passes between two looks at the cancel question: it is asked of the system's key state.
constexpr unsigned kCallsBetweenCancelChecks = 32;

extern "C" void onJpegProgress(j_common_ptr common) {
  auto* watch = reinterpret_cast<JpegWatch*>(common->progress);
  const DecodeOptions& options = *watch->options;
  const char* why = nullptr;
  if (reinterpret_cast<j_decompress_ptr>(common)->input_scan_number > options.maxScans) {
    why = "The picture has more scans than any real picture";
    watch->stoppedWith = decode_error::kPictureTooLarge;
  } else if (options.cancelled && ++watch->calls % kCallsBetweenCancelChecks == 0 && options.cancelled()) {
    why = "Decoding stopped";
    watch->stoppedWith = decode_error::kDecodeStopped;
  }
  if (!why) return;
  JpegFailure* failure = reinterpret_cast<JpegFailure*>(common->err);
  std::snprintf(failure->message, sizeof failure->message, "%s", why);
  std::longjmp(failure->jump, 1);
}

// The library's state; released however the decoding ends.
struct JpegSession {
  jpeg_decompress_struct info{};
  JpegFailure failure{};
  JpegWatch watch{};
  explicit JpegSession(const DecodeOptions& options) {
    info.err = jpeg_std_error(&failure.manager);
    failure.manager.error_exit = onJpegError;
    failure.manager.output_message = onJpegMessage;
    jpeg_create_decompress(&info);
    watch.options = &options;
    watch.manager.progress_monitor = onJpegProgress;
    info.progress = &watch.manager;
  }
  ~JpegSession() { jpeg_destroy_decompress(&info); }
  JpegSession(const JpegSession&) = delete;
  JpegSession& operator=(const JpegSession&) = delete;
  [[noreturn]] void Fail() const {
    if (watch.stoppedWith != 0) fail(watch.stoppedWith, failure.message);
    fail(decode_error::kJpegLoadFailed, std::string("JPEG load failed: ") + failure.message);
  }
};

// The library's steps, each behind its own jump point: a failure comes back here and
// never passes over a C++ object that would need its destructor.
bool readJpegHeader(JpegSession& s, const std::string& bytes) {
  if (setjmp(s.failure.jump)) return false;
  jpeg_mem_src(&s.info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_save_markers(&s.info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_read_header(&s.info, TRUE);
  return true;
}

bool calculateJpegSize(JpegSession& s) {
  if (setjmp(s.failure.jump)) return false;
  jpeg_calc_output_dimensions(&s.info);
  return true;
}

bool startJpeg(JpegSession& s) {
  if (setjmp(s.failure.jump)) return false;
  jpeg_start_decompress(&s.info);
  return true;
}

bool readJpegLine(JpegSession& s, JSAMPROW row) {
  if (setjmp(s.failure.jump)) return false;
  jpeg_read_scanlines(&s.info, &row, 1);
  return true;
}

bool finishJpeg(JpegSession& s) {
  if (setjmp(s.failure.jump)) return false;
  jpeg_finish_decompress(&s.info);
  return true;
}

int orientationOf(const jpeg_decompress_struct& info) {
  for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1) {
      const int orientation = ExifOrientation(m->data, m->data_length);
      if (orientation != 1) return orientation;
    }
  return 1;
}

// Print software writes CMYK (and YCCK) JPEGs, Adobe's with inverted values.
std::uint32_t cmykToRgb(const JSAMPLE* p, bool inverted) {
  auto channel = [&](int c) {
    const int ink = inverted ? p[c] : 255 - p[c];
    const int black = inverted ? p[3] : 255 - p[3];
    return static_cast<std::uint32_t>((ink * black + 127) / 255);
  };
  return channel(0) << 16 | channel(1) << 8 | channel(2);
}

// The smallest eighth-steps scale at which the picture still covers `target` (stored
// orientation); libjpeg-turbo decodes n/8 of the size for n from 1 to 8.
int scaleEighths(const jpeg_decompress_struct& info, PictureSize target) {
  for (int n = 1; n < 8; ++n) {
    const std::uint64_t w = (static_cast<std::uint64_t>(info.image_width) * n + 7) / 8;
    const std::uint64_t h = (static_cast<std::uint64_t>(info.image_height) * n + 7) / 8;
    if (w >= static_cast<std::uint64_t>(target.width) && h >= static_cast<std::uint64_t>(target.height)) return n;
  }
  return 8;
}

Bitmap decodeJpeg(const std::string& bytes, const DecodeOptions& options) {
  JpegSession s(options);
  jpeg_decompress_struct& info = s.info;
  if (!readJpegHeader(s, bytes)) s.Fail();
  checkPixelCount(info.image_width, info.image_height, options);
  // A progressive (or multi-scan) picture keeps every coefficient until its last scan:
  // two bytes a sample, whatever size it is shown at. The library is held to the budget too.
  const std::uint64_t coefficients = static_cast<std::uint64_t>(info.image_width) * info.image_height *
                                     static_cast<std::uint64_t>(std::max(info.num_components, 1));
  if (jpeg_has_multiple_scans(&info)) checkMemory(coefficients * 2, info.image_width, info.image_height);
  info.mem->max_memory_to_use = static_cast<long>(std::min<std::uint64_t>(kPictureMemoryBudget, 0x7FFFFFFF));
  const int orientation = orientationOf(info);
  const bool turned = orientation >= 5;
  const PictureSize full{static_cast<int>(turned ? info.image_height : info.image_width),
                         static_cast<int>(turned ? info.image_width : info.image_height)};

  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  static const J_DCT_METHOD dct[] = {JDCT_ISLOW, JDCT_IFAST, JDCT_FLOAT};
  info.dct_method = dct[std::clamp(options.dctMethod, 0, 2)];
  info.do_fancy_upsampling = options.fancyUpsampling ? TRUE : FALSE;
  PictureSize target{};
  if (options.fit) {
    target = fitted(options, full);
    const PictureSize stored = turned ? PictureSize{target.height, target.width} : target;
    info.scale_num = static_cast<unsigned>(scaleEighths(info, stored));
    info.scale_denom = 8;
  } else {
    info.scale_num = 1;
    info.scale_denom = static_cast<unsigned>(std::clamp(options.scaleDenominator, 1, 8));
  }
  if (!calculateJpegSize(s)) s.Fail();
  const int width = static_cast<int>(info.output_width);
  const int height = static_cast<int>(info.output_height);
  const PictureSize decoded = turned ? PictureSize{height, width} : PictureSize{width, height};
  // Smooth shrinking averages the decoded rows down to the fitted size: as they come for
  // a photo as stored, through a turned copy at the decoded size for one held otherwise.
  const bool smoothing = options.smooth && options.fit && decoded != target;
  const bool turnedCopy = smoothing && orientation != 1;
  checkMemory(bitmapBytes(options.fit ? target.width : width, options.fit ? target.height : height) +
                  (turnedCopy ? bitmapBytes(width, height) : 0) + static_cast<std::uint64_t>(width) * (smoothing ? 32 : 8),
              info.image_width, info.image_height);
  if (!options.fit) target = decoded;
  const PictureSize shownFull = options.fit ? full : target;
  const RowSampler sampler(width, height, orientation, smoothing ? decoded : target);

  // Colours are reduced by the library when it decodes to the very size shown; a
  // picture shrunk further is reduced after shrinking, never at the larger size.
  const bool reduce = options.colors > 0;
  const bool quantize = reduce && !cmyk && sampler.Identity() && !smoothing;
  info.out_color_space = cmyk ? JCS_CMYK : quantize ? (info.num_components == 1 ? JCS_GRAYSCALE : JCS_RGB)
                                                     : JCS_EXT_BGRX;
  if (quantize) {
    static const J_DITHER_MODE dither[] = {JDITHER_NONE, JDITHER_ORDERED, JDITHER_FS};
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = std::clamp(options.colors, 8, 256);
    info.two_pass_quantize = options.twoPassQuantize ? TRUE : FALSE;
    info.dither_mode = dither[std::clamp(options.jpegDither, 0, 2)];
  }
  if (!startJpeg(s)) s.Fail();

  std::optional<AreaRows> area;
  if (smoothing) area.emplace(WithPictureMemory([&] {
    return turnedCopy ? AreaRows(decoded.width, decoded.height, 0, 0, decoded.width, decoded.height, target.width,
                                 target.height)
                      : AreaRows(width, height, 0, 0, width, height, target.width, target.height);
  }));
  Bitmap out = smoothing && !turnedCopy ? Bitmap() : pictureOfSize(smoothing ? decoded : target, shownFull);
  const bool direct = sampler.Identity() && !quantize && !cmyk && !smoothing;
  std::vector<JSAMPLE> samples;
  std::vector<std::uint32_t> row;
  WithPictureMemory([&] {
    if (!direct) {
      samples.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(info.output_components));
      row.resize(static_cast<std::size_t>(width));
    }
  });
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    if (direct) {
      // Decoded straight into the picture's row, four bytes a pixel (B, G, R, unused).
      std::uint32_t* to = out.pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
      if (!readJpegLine(s, reinterpret_cast<JSAMPROW>(to))) s.Fail();
      for (int x = 0; x < width; ++x) to[x] &= 0xFFFFFF;
      continue;
    }
    if (!readJpegLine(s, samples.data())) s.Fail();
    if (smoothing && !turnedCopy ? !area->Wanted(y) : !sampler.Wanted(y)) continue;
    const JSAMPLE* p = samples.data();
    if (quantize) {
      JSAMPARRAY map = info.colormap;
      const bool grey = info.out_color_components == 1;
      for (int x = 0; x < width; ++x) {
        const int i = p[x];
        row[static_cast<std::size_t>(x)] = grey ? 0x010101u * map[0][i]
                                                : static_cast<std::uint32_t>(map[0][i]) << 16 | map[1][i] << 8 | map[2][i];
      }
    } else if (cmyk) {
      for (int x = 0; x < width; ++x) row[static_cast<std::size_t>(x)] = cmykToRgb(p + 4 * x, info.saw_Adobe_marker);
    } else {
      std::memcpy(row.data(), p, row.size() * 4);
    }
    if (smoothing && !turnedCopy) area->Feed(y, row.data());
    else sampler.Feed(y, row.data(), out);
  }
  finishJpeg(s);  // trailing damage after the last row costs nothing already decoded
  if (smoothing) out = finishSmooth(*area, turnedCopy ? &out : nullptr, shownFull);
  if (reduce && !quantize) ReduceToColorCube(out, options.jpegDither != 0 ? 1 : 0);
  return out;
}

// ---- PNG and TGA (stb_image), PCX (our own) -------------------------------------------

// Rows of a whole decoded picture, handed to the sampler one at a time.
template <typename RowOf>
Bitmap sampleRows(PictureSize full, const DecodeOptions& options, RowOf&& rowOf) {
  const PictureSize target = fitted(options, full);
  const bool smoothing = options.smooth && options.fit && target != full;
  const RowSampler sampler(full.width, full.height, 1, target);
  std::optional<AreaRows> area;
  if (smoothing)
    area.emplace(WithPictureMemory([&] { return AreaRows(full.width, full.height, 0, 0, full.width, full.height, target.width, target.height); }));
  Bitmap out = smoothing ? Bitmap() : pictureOfSize(target, full);
  std::vector<std::uint32_t> row = WithPictureMemory([&] { return std::vector<std::uint32_t>(static_cast<std::size_t>(full.width)); });
  for (int y = 0; y < full.height; ++y) {
    if (smoothing ? !area->Wanted(y) : !sampler.Wanted(y)) continue;
    rowOf(y, row.data());
    if (smoothing) area->Feed(y, row.data());
    else sampler.Feed(y, row.data(), out);
  }
  if (smoothing) out = finishSmooth(*area, nullptr, full);
  if (options.colors > 0) ReduceToColorCube(out, options.dither);
  return out;
}

std::uint16_t le16(const std::string& b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<std::uint8_t>(b[at]) | static_cast<std::uint8_t>(b[at + 1]) << 8);
}

// stb_image "decodes" an uncompressed TGA that is cut short with zeros: refuse it.
void checkTgaLength(const std::string& bytes) {
  if (bytes.size() < 18) fail(decode_error::kPictureLoadFailed, "The TGA file is cut short");
  const int type = static_cast<std::uint8_t>(bytes[2]);
  if (type != 1 && type != 2 && type != 3) return;  // run-length coded: its own checks
  const std::uint64_t mapBytes = bytes[1] ? static_cast<std::uint64_t>(le16(bytes, 5)) *
                                                ((static_cast<std::uint8_t>(bytes[7]) + 7) / 8)
                                          : 0;
  const std::uint64_t pixelBytes = static_cast<std::uint64_t>(le16(bytes, 12)) * le16(bytes, 14) *
                                   ((static_cast<std::uint8_t>(bytes[16]) + 7) / 8);
  if (18 + static_cast<std::uint8_t>(bytes[0]) + mapBytes + pixelBytes > bytes.size())
    fail(decode_error::kPictureLoadFailed, "The TGA file is cut short");
}

struct StbPixels {
  unsigned char* data = nullptr;
  ~StbPixels() { stbi_image_free(data); }
};

Bitmap decodeWithStb(const std::string& bytes, PictureFormat format, const DecodeOptions& options) {
  const char* kind = format == PictureFormat::Png ? "PNG" : format == PictureFormat::Gif ? "GIF" : "TGA";
  if (format == PictureFormat::Tga) checkTgaLength(bytes);
  const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
  const int length = static_cast<int>(std::min<std::size_t>(bytes.size(), 0x7FFFFFFF));
  int width = 0, height = 0, channels = 0;
  if (!stbi_info_from_memory(data, length, &width, &height, &channels))
    fail(decode_error::kPictureLoadFailed, std::string(kind) + " load failed: " + stbi_failure_reason());
  checkPixelCount(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), options);
  // The whole picture is inflated at its own depth, then held at four bytes a pixel,
  // beside the fitted result.
  const std::uint64_t depth = stbi_is_16_bit_from_memory(data, length) ? 2 : 1;
  const std::uint64_t pixelCount = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
  const PictureSize target = fitted(options, {width, height});
  checkMemory(pixelCount * (static_cast<std::uint64_t>(channels) * depth + 4) + bitmapBytes(target.width, target.height),
              static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height));
  StbPixels pixels;
  pixels.data = stbi_load_from_memory(data, length, &width, &height, &channels, 4);
  if (!pixels.data) {
    const std::string why = stbi_failure_reason();
    if (why == "Out of memory") throw runtime_error::OutOfMemory();
    fail(decode_error::kPictureLoadFailed, std::string(kind) + " load failed: " + why);
  }
  // Transparent parts are shown over white, the picture box's background (a GIF's over
  // the background asked for).
  const std::uint32_t background = format == PictureFormat::Gif ? options.background : 0xFFFFFF;
  return sampleRows({width, height}, options, [&](int y, std::uint32_t* row) {
    const unsigned char* p = pixels.data + static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 4;
    for (int x = 0; x < width; ++x, p += 4)  // R, G, B, A
      row[x] = OverBackground(std::uint32_t{p[3]} << 24 | p[0] << 16 | p[1] << 8 | p[2], background);
  });
}

// ---- WebP (libwebp) -------------------------------------------------------------------

struct WebpDemuxer {
  WebPDemuxer* demux = nullptr;
  WebPIterator frame{};
  bool haveFrame = false;
  ~WebpDemuxer() {
    if (haveFrame) WebPDemuxReleaseIterator(&frame);
    WebPDemuxDelete(demux);
  }
};

struct WebpOutput {
  WebPDecoderConfig* config;
  ~WebpOutput() { WebPFreeDecBuffer(&config->output); }
};

// A WebP picture (an animation's first frame), decoded by the library straight to the
// fitted size where it is shown smaller.
Bitmap decodeWebp(const std::string& bytes, const DecodeOptions& options) {
  auto bad = [](const char* why) { fail(decode_error::kPictureLoadFailed, std::string("WebP load failed: ") + why); };
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  std::size_t size = bytes.size();
  WebPBitstreamFeatures features{};
  if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK) bad("not a WebP picture, or damaged");
  // The canvas an animation declares is checked before anything else is read of it.
  checkPixelCount(static_cast<std::uint64_t>(std::max(features.width, 0)),
                  static_cast<std::uint64_t>(std::max(features.height, 0)), options);
  WebpDemuxer demuxer;
  if (features.has_animation) {
    const WebPData whole{data, size};
    demuxer.demux = WebPDemux(&whole);
    if (!demuxer.demux) bad("the animation is damaged");
    demuxer.haveFrame = WebPDemuxGetFrame(demuxer.demux, 1, &demuxer.frame) != 0;
    if (!demuxer.haveFrame) bad("the animation has no frame");
    data = demuxer.frame.fragment.bytes;
    size = demuxer.frame.fragment.size;
    if (WebPGetFeatures(data, size, &features) != VP8_STATUS_OK) bad("the first frame is damaged");
  }
  const PictureSize full{features.width, features.height};
  if (full.width <= 0 || full.height <= 0) bad("the picture has no size");
  checkPixelCount(static_cast<std::uint64_t>(full.width), static_cast<std::uint64_t>(full.height), options);
  const PictureSize target = fitted(options, full);
  checkMemory(bitmapBytes(target.width, target.height) * 2 + static_cast<std::uint64_t>(full.width) * 64,
              static_cast<std::uint64_t>(full.width), static_cast<std::uint64_t>(full.height));

  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config)) bad("the library could not start");
  WebpOutput release{&config};
  if (target != full) {
    config.options.use_scaling = 1;
    config.options.scaled_width = target.width;
    config.options.scaled_height = target.height;
  }
  // Into memory of our own, four bytes a pixel: B, G, R, A as our pixels lie in memory.
  std::vector<std::uint8_t> pixels =
      WithPictureMemory([&] { return std::vector<std::uint8_t>(static_cast<std::size_t>(target.width) * target.height * 4); });
  config.output.colorspace = MODE_BGRA;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = pixels.data();
  config.output.u.RGBA.stride = target.width * 4;
  config.output.u.RGBA.size = pixels.size();
  const VP8StatusCode status = WebPDecode(data, size, &config);
  if (status == VP8_STATUS_OUT_OF_MEMORY) throw runtime_error::OutOfMemory();
  if (status != VP8_STATUS_OK) bad(status == VP8_STATUS_NOT_ENOUGH_DATA ? "the file is cut short" : "the picture is damaged");
  Bitmap out = pictureOfSize(target, full);
  for (std::size_t i = 0; i < out.pixels.size(); ++i) {  // B, G, R, A: a little-endian 0xAARRGGBB
    std::uint32_t argb;
    std::memcpy(&argb, pixels.data() + 4 * i, 4);
    out.pixels[i] = OverBackground(argb, options.background);
  }
  if (options.colors > 0) ReduceToColorCube(out, options.dither);
  return out;
}

// ---- TIFF (libtiff) ---------------------------------------------------------------------

// The file's bytes as libtiff reads them.
struct TiffSource {
  const std::string& bytes;
  std::uint64_t at = 0;
};

tmsize_t tiffRead(thandle_t handle, void* to, tmsize_t size) {
  auto& s = *static_cast<TiffSource*>(handle);
  const std::uint64_t left = s.at < s.bytes.size() ? s.bytes.size() - s.at : 0;
  const std::uint64_t n = std::min<std::uint64_t>(left, static_cast<std::uint64_t>(std::max<tmsize_t>(size, 0)));
  if (n) std::memcpy(to, s.bytes.data() + s.at, static_cast<std::size_t>(n));
  s.at += n;
  return static_cast<tmsize_t>(n);
}
tmsize_t tiffWrite(thandle_t, void*, tmsize_t) { return 0; }
toff_t tiffSeek(thandle_t handle, toff_t offset, int whence) {
  auto& s = *static_cast<TiffSource*>(handle);
  const std::uint64_t base = whence == SEEK_CUR ? s.at : whence == SEEK_END ? s.bytes.size() : 0;
  s.at = base + offset;
  return s.at;
}
int tiffClose(thandle_t) { return 0; }
toff_t tiffSize(thandle_t handle) { return static_cast<TiffSource*>(handle)->bytes.size(); }
int tiffMap(thandle_t, void**, toff_t*) { return 0; }
void tiffUnmap(thandle_t, void*, toff_t) {}

// libtiff's messages would go to the console (none in a Windows program): they are kept
// from it; a failure is told by what the calls answer.
void tiffQuiet(const char*, const char*, va_list) {}

struct TiffFile {
  TIFF* tiff = nullptr;
  TIFFOpenOptions* options = nullptr;
  ~TiffFile() {
    if (tiff) TIFFClose(tiff);
    if (options) TIFFOpenOptionsFree(options);
  }
};

// A TIFF's first page, turned as its orientation tag says, fitted like every picture.
Bitmap decodeTiff(const std::string& bytes, const DecodeOptions& options) {
  auto bad = [](const char* why) { fail(decode_error::kPictureLoadFailed, std::string("TIFF load failed: ") + why); };
  TIFFSetErrorHandler(tiffQuiet);
  TIFFSetWarningHandler(tiffQuiet);
  TiffSource source{bytes};
  TiffFile file;
  file.options = TIFFOpenOptionsAlloc();
  // No single block the library asks for may pass what one picture may take.
  TIFFOpenOptionsSetMaxSingleMemAlloc(file.options, static_cast<tmsize_t>(std::min<std::uint64_t>(kPictureMemoryBudget, 0x7FFFFFFF)));
  file.tiff = TIFFClientOpenExt("picture", "rm", &source, tiffRead, tiffWrite, tiffSeek, tiffClose, tiffSize, tiffMap,
                                tiffUnmap, file.options);
  if (!file.tiff) bad("not a TIFF picture, or damaged");
  std::uint32_t width = 0, height = 0;
  std::uint16_t orientation = ORIENTATION_TOPLEFT;
  TIFFGetField(file.tiff, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(file.tiff, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(file.tiff, TIFFTAG_ORIENTATION, &orientation);
  if (width == 0 || height == 0) bad("the picture has no size");
  checkPixelCount(width, height, options);
  char why[1024] = {};
  if (!TIFFRGBAImageOK(file.tiff, why)) bad("the kind of picture is not supported");
  const bool turned = orientation >= 5 && orientation <= 8;
  const PictureSize full = turned ? PictureSize{static_cast<int>(height), static_cast<int>(width)}
                                  : PictureSize{static_cast<int>(width), static_cast<int>(height)};
  const PictureSize target = fitted(options, full);
  // The whole page at four bytes a pixel, a turned copy of it, and the fitted result.
  checkMemory(bitmapBytes(full.width, full.height) * (turned ? 2 : 1) + bitmapBytes(target.width, target.height), width,
              height);
  // Read as stored, row 0 at the top: the turn is ours, as for a JPEG's EXIF orientation.
  std::vector<std::uint32_t> raster =
      WithPictureMemory([&] { return std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height); });
  TIFFRGBAImage image{};
  if (!TIFFRGBAImageBegin(&image, file.tiff, 0, why)) bad("the kind of picture is not supported");
  image.req_orientation = ORIENTATION_TOPLEFT;
  image.orientation = ORIENTATION_TOPLEFT;  // no flipping by the library
  const int got = TIFFRGBAImageGet(&image, raster.data(), width, height);
  TIFFRGBAImageEnd(&image);
  if (!got) bad("the picture is damaged or cut short");
  // libtiff's pixels (alpha in the top byte, then blue, green, red) over the background,
  // in place: the raster becomes the picture as stored.
  for (std::uint32_t& p : raster)
    p = OverBackground(TIFFGetA(p) << 24 | TIFFGetR(p) << 16 | TIFFGetG(p) << 8 | TIFFGetB(p), options.background);
  Bitmap stored;
  stored.width = static_cast<int>(width);
  stored.height = static_cast<int>(height);
  stored.pixels = std::move(raster);
  // Turned or mirrored first, as shown; then fitted like every picture.
  Bitmap shown;
  if (orientation > 1 && orientation <= 8) {
    shown = TurnedAsShown(stored, orientation);
    Bitmap().pixels.swap(stored.pixels);
  }
  const Bitmap& whole = shown.Empty() ? stored : shown;
  return sampleRows(full, options, [&whole](int y, std::uint32_t* row) {
    std::copy_n(whole.pixels.data() + static_cast<std::size_t>(y) * whole.width, whole.width, row);
  });
}

// ZSoft PCX: run-length coded planes; 1, 2, 4 or 8 bits and 1, 3 or 4 planes.
Bitmap decodePcx(const std::string& bytes, const DecodeOptions& options) {
  auto bad = [] { fail(decode_error::kPictureLoadFailed, "The PCX file is damaged or cut short"); };
  if (bytes.size() < 128 || bytes[0] != 0x0A || bytes[2] != 1) bad();
  const int bits = static_cast<std::uint8_t>(bytes[3]);
  const int width = le16(bytes, 8) - le16(bytes, 4) + 1;
  const int height = le16(bytes, 10) - le16(bytes, 6) + 1;
  const int planes = static_cast<std::uint8_t>(bytes[65]);
  const int lineBytes = le16(bytes, 66);
  const bool paletted = planes == 1 && (bits == 1 || bits == 2 || bits == 4 || bits == 8);
  const bool planar16 = planes == 4 && bits == 1;
  const bool truecolour = (planes == 3 || planes == 4) && bits == 8;
  if (width <= 0 || height <= 0 || (!paletted && !planar16 && !truecolour)) bad();
  if (static_cast<long long>(lineBytes) * 8 < static_cast<long long>(width) * bits) bad();
  checkPixelCount(static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(height), options);

  std::uint32_t palette[256];
  for (int i = 0; i < 16; ++i) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + 16 + 3 * i;
    palette[i] = static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2];
  }
  if (bits == 1 && planes == 1) palette[0] = 0, palette[1] = 0xFFFFFF;
  if (bits == 8 && planes == 1) {
    // The 256 colours follow a 12 at the end of the file; without them the picture is grey.
    const bool present = bytes.size() >= 128 + 769 && bytes[bytes.size() - 769] == 0x0C;
    for (int i = 0; i < 256; ++i) {
      const auto* p = reinterpret_cast<const std::uint8_t*>(bytes.data()) + bytes.size() - 768 + 3 * i;
      palette[i] = present ? static_cast<std::uint32_t>(p[0]) << 16 | p[1] << 8 | p[2] : 0x010101u * i;
    }
  }
  const std::size_t scanBytes = static_cast<std::size_t>(lineBytes) * static_cast<std::size_t>(planes);
  std::vector<std::uint8_t> line(scanBytes);
  std::size_t at = 128;
  int decodedRows = 0;
  auto nextLine = [&] {
    for (std::size_t n = 0; n < scanBytes;) {
      if (at >= bytes.size()) bad();
      std::uint8_t b = static_cast<std::uint8_t>(bytes[at++]);
      std::size_t count = 1;
      if ((b & 0xC0) == 0xC0) {
        count = b & 0x3F;
        if (at >= bytes.size()) bad();
        b = static_cast<std::uint8_t>(bytes[at++]);
      }
      for (; count > 0 && n < scanBytes; --count) line[n++] = b;
    }
    ++decodedRows;
  };
  return sampleRows({width, height}, options, [&](int y, std::uint32_t* row) {
    while (decodedRows <= y) nextLine();
    for (int x = 0; x < width; ++x) {
      if (truecolour) {
        const std::size_t i = static_cast<std::size_t>(x);
        row[x] = static_cast<std::uint32_t>(line[i]) << 16 | line[lineBytes + i] << 8 | line[2 * lineBytes + i];
      } else if (planar16) {
        int index = 0;
        for (int p = 0; p < 4; ++p) index |= ((line[p * lineBytes + x / 8] >> (7 - x % 8)) & 1) << p;
        row[x] = palette[index];
      } else {
        const int perByte = 8 / bits;
        const int shift = 8 - bits * (x % perByte + 1);
        row[x] = palette[(line[x / perByte] >> shift) & ((1 << bits) - 1)];
      }
    }
  });
}

Bitmap decodeBmp(const std::string& bytes, const DecodeOptions& options) {
  std::string why;
  std::optional<Bitmap> whole = ReadBmp(bytes, &why);
  if (!whole) fail(decode_error::kPictureLoadFailed, "BMP load failed: " + why);
  checkPixelCount(static_cast<std::uint64_t>(whole->width), static_cast<std::uint64_t>(whole->height), options);
  return sampleRows({whole->width, whole->height}, options,
                    [&](int y, std::uint32_t* row) { std::copy_n(&whole->pixels[static_cast<std::size_t>(y) * whole->width], whole->width, row); });
}

}  // namespace

std::optional<PictureFormat> FormatOfExtension(const std::string& extension) {
  static const std::pair<const char*, PictureFormat> table[] = {
      {"jpg", PictureFormat::Jpeg}, {"jpeg", PictureFormat::Jpeg}, {"jpe", PictureFormat::Jpeg},
      {"png", PictureFormat::Png},  {"tga", PictureFormat::Tga},   {"pcx", PictureFormat::Pcx},
      {"bmp", PictureFormat::Bmp},  {"webp", PictureFormat::Webp}, {"gif", PictureFormat::Gif},
      {"tif", PictureFormat::Tiff}, {"tiff", PictureFormat::Tiff}};
  const std::string lower = ToLower(extension);
  for (const auto& [name, format] : table)
    if (lower == name) return format;
  return std::nullopt;
}

Bitmap DecodePicture(const std::string& bytes, PictureFormat format, const DecodeOptions& options) {
  return WithPictureMemory([&] {
    switch (format) {
      case PictureFormat::Jpeg: return decodeJpeg(bytes, options);
      case PictureFormat::Png:
      case PictureFormat::Gif:
      case PictureFormat::Tga: return decodeWithStb(bytes, format, options);
      case PictureFormat::Webp: return decodeWebp(bytes, options);
      case PictureFormat::Tiff: return decodeTiff(bytes, options);
      case PictureFormat::Bmp: return decodeBmp(bytes, options);
      case PictureFormat::Pcx: break;
    }
    return decodePcx(bytes, options);
  });
}

std::uint32_t OverBackground(std::uint32_t argb, std::uint32_t background) {
  const std::uint32_t a = argb >> 24;
  auto over = [a](std::uint32_t c, std::uint32_t b) { return (c * a + b * (255 - a) + 127) / 255; };
  return over(argb >> 16 & 0xFF, background >> 16 & 0xFF) << 16 | over(argb >> 8 & 0xFF, background >> 8 & 0xFF) << 8 |
         over(argb & 0xFF, background & 0xFF);
}

Bitmap TurnedAsShown(const Bitmap& stored, int orientation) {
  if (orientation <= 1 || orientation > 8 || stored.Empty()) return stored;
  const PictureSize shown = orientation >= 5 ? PictureSize{stored.height, stored.width} : PictureSize{stored.width, stored.height};
  const RowSampler sampler(stored.width, stored.height, orientation, shown);
  Bitmap out = WithPictureMemory([&] { return Bitmap(shown.width, shown.height, 0); });
  for (int y = 0; y < stored.height; ++y)
    sampler.Feed(y, stored.pixels.data() + static_cast<std::size_t>(y) * stored.width, out);
  return out;
}

int ExifOrientation(const std::uint8_t* data, std::size_t size) {
  if (size < 14 || std::memcmp(data, "Exif\0\0", 6) != 0) return 1;
  const std::uint8_t* tiff = data + 6;
  const std::size_t length = size - 6;
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  auto u16 = [&](std::size_t at) -> std::uint32_t {
    return little ? tiff[at] | tiff[at + 1] << 8 : tiff[at] << 8 | tiff[at + 1];
  };
  auto u32 = [&](std::size_t at) -> std::uint32_t { return little ? u16(at) | u16(at + 2) << 16 : u16(at) << 16 | u16(at + 2); };
  const std::uint32_t ifd = u32(4);
  if (ifd > length - 2) return 1;
  const std::uint32_t entries = u16(ifd);
  for (std::uint32_t i = 0; i < entries; ++i) {
    const std::size_t entry = ifd + 2 + 12 * static_cast<std::size_t>(i);
    if (entry + 12 > length) break;
    if (u16(entry) == 0x0112 && u16(entry + 2) == 3) {
      const std::uint32_t value = u16(entry + 8);
      return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
  }
  return 1;
}

void ReduceToColorCube(Bitmap& picture, int dither) {
  if (picture.Empty()) return;
  if (dither == 2) {
    std::unordered_set<std::uint32_t> colours;
    for (std::uint32_t p : picture.pixels)
      if (colours.insert(p).second && colours.size() > 256) break;
    if (colours.size() <= 256) return;
    dither = 1;
  }
  auto level = [](int v) { return std::clamp((v + 25) / 51, 0, 5) * 51; };
  const std::size_t width = static_cast<std::size_t>(picture.width);
  // Floyd-Steinberg: each pixel's error goes on to its right and lower neighbours.
  std::vector<int> here((width + 2) * 3, 0), below((width + 2) * 3, 0);
  for (int y = 0; y < picture.height; ++y) {
    std::fill(below.begin(), below.end(), 0);
    for (std::size_t x = 0; x < width; ++x) {
      std::uint32_t& p = picture.pixels[static_cast<std::size_t>(y) * width + x];
      std::uint32_t result = 0;
      for (int c = 0; c < 3; ++c) {
        const int shift = 16 - 8 * c;
        const int wanted = static_cast<int>((p >> shift) & 0xFF) + (dither ? here[(x + 1) * 3 + c] / 16 : 0);
        const int got = level(std::clamp(wanted, 0, 255));
        result |= static_cast<std::uint32_t>(got) << shift;
        const int error = wanted - got;
        if (!dither) continue;
        here[(x + 2) * 3 + c] += error * 7;
        below[x * 3 + c] += error * 3;
        below[(x + 1) * 3 + c] += error * 5;
        below[(x + 2) * 3 + c] += error;
      }
      p = result;
    }
    std::swap(here, below);
  }
}

}  // namespace tapestrel
