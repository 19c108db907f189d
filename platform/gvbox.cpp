#include "platform/gvbox.h"

#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace tapestrel {

namespace {
// Larger than any picture file the decoders take on (see kMaxPicturePixels).
constexpr std::uint64_t kMaxFileBytes = std::uint64_t{1} << 30;

[[noreturn]] void invalidValue() { throw RuntimeError{380, "Invalid property value"}; }
[[noreturn]] void noSuchMember() { throw RuntimeError{438, "Object doesn't support this property or method"}; }
}  // namespace

long Gvbox::Get(int member) {
  switch (member) {
    case kFancyUpsampling: return options_.fancyUpsampling ? -1 : 0;
    case kTwoPassQuantize: return options_.twoPassQuantize ? -1 : 0;
    case kDither: return options_.dither;
    case kHdc: return static_cast<long>(DrawingSurface());
    case kDctMethod: return options_.dctMethod;
    case kJpegDither: return options_.jpegDither;
    case kImageWidth: return picture_ ? picture_->FullWidth() : 0;
    case kImageHeight: return picture_ ? picture_->FullHeight() : 0;
    default: noSuchMember();
  }
}

void Gvbox::Let(int member, long value) {
  auto choice = [value](int& field) {
    if (value < 0 || value > 2) invalidValue();
    field = static_cast<int>(value);
  };
  switch (member) {
    case kFancyUpsampling: options_.fancyUpsampling = value != 0; break;
    case kTwoPassQuantize: options_.twoPassQuantize = value != 0; break;
    case kDither: choice(options_.dither); break;
    case kDctMethod: choice(options_.dctMethod); break;
    case kJpegDither: choice(options_.jpegDither); break;
    case kHdc:
    case kImageWidth:
    case kImageHeight: throw RuntimeError{383, "Property is read-only"};
    default: noSuchMember();
  }
}

void Gvbox::Clear() {
  fileName_.clear();
  picture_.reset();
  PictureChanged();
}

void Gvbox::SetFileName(const std::string& path) {
  // The old picture goes first: two large pictures at once may not fit in memory.
  Clear();
  if (path.empty()) return;
  // The name is held even when the load fails, so that the failure can name the file.
  fileName_ = path;
  DecodeOptions options = options_;
  options.colors = DisplayDepth <= 8 ? 256 : 0;
  options.fit = Fit;
  options.smooth = Smooth;
  options.background = Background;
  options.maxPixels = MaxPixels;
  options.cancelled = Cancelled;
  picture_ = std::make_shared<const Bitmap>(Decode(path, options));
  PictureChanged();
}

Bitmap Gvbox::Decode(const std::string& path, const DecodeOptions& options) {
  const std::string::size_type dot = path.find_last_of('.');
  const std::string extension = dot == std::string::npos ? std::string() : path.substr(dot + 1);
  const std::optional<PictureFormat> format = FormatOfExtension(extension);
  if (!format && !SystemDecodes(extension)) throw RuntimeError{decode_error::kPictureLoadFailed, "Unsupported picture type"};
  auto file = files_.OpenRead(path);
  if (!file) {
    if (format == PictureFormat::Jpeg) throw RuntimeError{decode_error::kJpegLoadFailed, "Unable to open the JPEG file"};
    throw runtime_error::FileNotFound();
  }
  if (file->Size() > kMaxFileBytes)
    throw RuntimeError{decode_error::kPictureTooLarge, "The file is too large to be a picture"};
  std::string bytes = WithPictureMemory([&] { return std::string(static_cast<std::size_t>(file->Size()), '\0'); });
  bytes.resize(file->Read(bytes.data(), bytes.size()));
  file.reset();
  if (format) return DecodePicture(bytes, *format, options);
  std::optional<Bitmap> decoded = DecodeBySystem(bytes, options);
  if (!decoded) throw RuntimeError{decode_error::kPictureLoadFailed, "Unsupported picture type"};
  return std::move(*decoded);
}

}  // namespace tapestrel
