// Reads a picture's size and colour depth from the head of its file without decoding
// it: the JPEG marker walk (with the comment shown when the user wants it) and the
// BMP, GIF, PCX, TGA, WebP, HEIC/AVIF, placeable WMF and TIFF headers. Results go to ImageWidth,
// ImageHeight and ImageBitDepth; problems are told (unless quiet) and end the reading.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace tapestrel {

class Desktop;
class Ui;
struct Options;
struct ProgramState;

class HeaderReader {
 public:
  HeaderReader(FileSystem& files, Ui& ui, Desktop& desktop, Options& options, ProgramState& state)
      : files_(files), ui_(ui), desktop_(desktop), options_(options), state_(state) {}

  // Leaves the file open (see FileOpen) when the walk stops at a scan, image start or
  // image end marker; `fileNumber` receives the number of the reading.
  void ReadJpegHeader(const std::string& path, int* fileNumber = nullptr);
  // Chooses the reader by the path's last three characters, then closes every file.
  void ReadImageHeader(const std::string& path);
  void ReadBmpHeader(const std::string& path);
  void ReadGifHeader(const std::string& path);
  // The sizes of a lossy (VP8), lossless (VP8L) or extended (VP8X: its canvas) WebP.
  void ReadWebpHeader(const std::string& path);
  // HEIC, HEIF and AVIF (ISO base media files): the size of the largest picture their
  // image-spatial-extents properties give (the primary picture's, not a thumbnail's or a
  // tile's), found without decoding anything.
  void ReadIsoMediaHeader(const std::string& path);
  void ReadPcxHeader(const std::string& path);
  void ReadTgaHeader(const std::string& path);
  void ReadWmfHeader(const std::string& path);
  void ReadTiffHeader(const std::string& path);

  // The next byte, two bytes and four bytes of the open file, in the order given by
  // HeaderLittleEndian. Past the end they raise "Input past end of file" (62).
  int ReadByte();
  std::uint32_t ReadWord();
  std::int32_t ReadLong();

  bool FileOpen() const { return file_ != nullptr; }
  void CloseFile() { file_.reset(); }

  int HeaderFileNumber = 0;
  std::string HeaderFileName;
  bool HeaderLittleEndian = false;
  bool HeaderStop = false;

 private:
  enum class Step { Go, Stop };

  bool Open(const std::string& path);
  void Skip(std::uint64_t count);
  // Reading goes on at this position of the file.
  void SeekTo(std::uint64_t position);
  void Tell(const std::string& text, int style, const std::string& title);
  void SetSize(std::int64_t width, std::int64_t height, std::int64_t depth);
  bool ReadFixedHeader(const std::string& path, std::size_t size, std::vector<std::uint8_t>& header);
  int NextMarker();
  Step Walk(int marker);
  Step ReadFrameHeader();
  Step ReadComment();
  Step SkipSegment();
  Step ReadExif();
  void ReportMarkerLength();
  bool AskAfterReadError(const std::string& description, int number);

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Desktop& desktop_;
  Options& options_;
  ProgramState& state_;
  std::unique_ptr<InputFile> file_;
  // While set, a file that cannot be opened is passed over without a word.
  bool missingIsSilent_ = false;
  // The EXIF orientation of the JPEG being read (1: as stored).
  int orientation_ = 1;
  // Bytes read ahead from the file (the first `buffered_` of the buffer), and where the
  // next one is.
  static constexpr std::size_t kReadAhead = 4096;
  std::array<std::uint8_t, kReadAhead> buffer_{};
  std::size_t buffered_ = 0;
  std::size_t next_ = 0;
  std::uint64_t bufferStart_ = 0;
};

}  // namespace tapestrel
