// The picture-decoder control: setting its file name loads and decodes the picture,
// which it then holds for the program to show, fit and save. Its members are reached
// by the dispatch identifiers the program has always used. Like the control it stands
// for, it raises its failures (RuntimeError): 20003 when a JPEG cannot be loaded,
// other numbers for other failures.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/bitmap.h"
#include "platform/picture_decoder.h"

namespace tapestrel {

class FileSystem;

class Gvbox {
 public:
  // Dispatch identifiers of the members.
  enum Member : int {
    kFancyUpsampling = 1,  // boolean
    kTwoPassQuantize = 2,  // boolean
    kDither = 4,           // 0 none, 1 always, 2 extra colours
    kFileName = 5,         // text: setting it loads the file, "" clears the control
    kHdc = 7,              // device context of the drawing surface (read only)
    kPicture = 8,          // the decoded picture (read only)
    kDctMethod = 13,       // 0 slow integer, 1 fast integer, 2 floating point
    kJpegDither = 14,      // 0 none, 1 ordered, 2 Floyd-Steinberg
    kImageWidth = 15,      // size of the loaded picture in pixels (read only)
    kImageHeight = 16,
  };

  explicit Gvbox(FileSystem& files) : files_(files) {}
  virtual ~Gvbox() = default;
  Gvbox(const Gvbox&) = delete;
  Gvbox& operator=(const Gvbox&) = delete;

  // Numeric members (1, 2, 4, 7, 13, 14, 15, 16); booleans read as -1 and 0. An
  // identifier the control does not have raises 438, a value out of range 380.
  long Get(int member);
  void Let(int member, long value);
  // Member 5.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& path);
  // A file decoded as loading it would be, with these options, while the control keeps
  // the picture it holds (a list's small pictures are made this way).
  Bitmap Decode(const std::string& path, const DecodeOptions& options);
  // Member 8: none while nothing is loaded.
  const std::shared_ptr<const Bitmap>& Picture() const { return picture_; }

  // The size a loaded picture is going to be shown at, from its whole size: the control
  // then decodes no more of it than that (none: always the whole picture).
  FitFunction Fit;
  // Shrinks by averaging the pixels under each shown one rather than taking the one under
  // its centre.
  bool Smooth = false;
  // What shows through a WebP or GIF picture's transparent parts (0x00RRGGBB).
  std::uint32_t Background = 0xFFFFFF;
  // Bits per pixel of the display: at 8 or fewer pictures are reduced to 256 colours.
  int DisplayDepth = 24;
  // Pictures of more pixels than this are refused rather than decoded.
  std::uint64_t MaxPixels = kMaxPicturePixels;
  // Asked now and then during a long decode: true stops it (20006).
  std::function<bool()> Cancelled;

  // Whether the system has a codec of its own for pictures of this extension ("heic",
  // "avif", "jxl", "jxr", "dds", "ico"...), which loading a file of it then uses.
  virtual bool SystemDecodes(const std::string& extension) { (void)extension; return false; }

 protected:
  // A picture of a kind the program has no decoder of its own for, decoded by the
  // system's codec at the fitted size; none when the system has no codec for it. Raises
  // as the decoders do for a damaged or too large picture.
  virtual std::optional<Bitmap> DecodeBySystem(const std::string& bytes, const DecodeOptions& options) {
    (void)bytes, (void)options;
    return std::nullopt;
  }
  // The device context the picture is drawn on; 0 where there is no display.
  virtual std::uintptr_t DrawingSurface() { return 0; }
  // The held picture changed (drawing surfaces follow it).
  virtual void PictureChanged() {}

 private:
  void Clear();

  FileSystem& files_;
  DecodeOptions options_;
  std::string fileName_;
  std::shared_ptr<const Bitmap> picture_;
};

}  // namespace tapestrel
