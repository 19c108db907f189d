// Brings every picture that is not a bitmap or metafile into the work picture box or
// into a BMP file: in-process through the decoder control, or through the Jpg2Bmp.exe
// converter started as a process of its own. Also the decoder options of the menus and
// the batch decoding of files chosen in the list.
#pragma once

#include <string>
#include <vector>

namespace tapestrel {

// The kinds of picture only the system's own codecs decode (HEIC, AVIF and JPEG XL with the
// Windows extensions, JPEG XR, DirectDraw surfaces, icons), each between blanks.
inline constexpr const char* kSystemPictureTypes = " heic heif avif jxl jxr wdp hdp dds ico ";

class Clock;
class FileList;
class FileSystem;
class FrmDecodingInProgress;
class Gvbox;
class HeaderReader;
class MainView;
class PictureBox;
class Processes;
class Ui;
class WallpaperWriter;
struct Options;
struct ProgramState;

inline constexpr const char* kConverterName = "Jpg2Bmp.exe";
inline constexpr const char* kBatchFileName = "Tapestrel.bat";
// Longest path a converter line of the batch file may quote.
inline constexpr std::size_t kMaxConverterPath = 123;

class DecoderFrontEnd {
 public:
  DecoderFrontEnd(FileSystem& files, Ui& ui, Gvbox& gvbox, Clock& clock, Processes& processes, Options& options,
                  ProgramState& state, HeaderReader& headers, WallpaperWriter& writer, FileList& list, MainView& view,
                  FrmDecodingInProgress& progress, PictureBox& picLoad, PictureBox& picWork);

  // True when the picture is in picLoad (and, decoded in-process, in the control).
  bool DecodeImage(const std::string& path);
  bool InternalDecode(const std::string& path);
  // True when the output file exists afterwards; without `output` the working bitmap
  // is written and loaded into picLoad.
  bool ExternalDecode(const std::string& path, const std::string& output = {});
  void RunAndWait(const std::string& commandLine);
  std::string ShortPath(const std::string& path);
  // Appends one converter line to `batch`; false when the path cannot be made short enough.
  bool WriteConverterLine(std::string& batch, const std::string& path, bool half);
  // The path a converter line names: the short form where the long one is too long or
  // holds letters beyond ASCII and the volume has short names.
  std::string ConverterPath(const std::string& path);
  // mode 1: in-process, each picture fitted and saved beside it as a BMP file;
  // mode 2: one batch file of converter lines, run at once.
  void DecodeSelectedFiles(const std::vector<std::string>& paths, bool half, int mode);
  void LoadDecoderOptions();

  // The decoder menus.
  void DctMethodChosen(int index);
  void JpegDitherChosen(int index);
  void DitherChosen(int index);
  void FancyUpsamplingToggled();
  void TwoPassQuantizeToggled();
  void ColorsChosen(bool eightBit);
  void InternalChosen();
  void ExternalChosen();

  std::string BatchFile() const;
  // While the converter runs (and the user is asked whether to wait for it longer).
  bool Converting() const { return converting_; }
  // Waiting on the converter: after this long the user is asked whether to go on waiting.
  unsigned PatienceMs = 60000;
  bool CancelDecoding = false;

 private:
  // The menus' marks from the options (two-pass and fancy as the control took them).
  void ShowMarks();
  void ShowMarks(bool twoPass, bool fancy);
  void Tell(const std::string& text, int style, const std::string& title = {});
  // A name beside `wanted` that no file has yet (`wanted` itself when it is free).
  std::string FreeName(const std::string& wanted);
  void DecodeOneForBatch(const std::string& path);

  // Collaborators.
  FileSystem& files_;
  Ui& ui_;
  Gvbox& gvbox_;
  Clock& clock_;
  Processes& processes_;
  Options& options_;
  ProgramState& state_;
  HeaderReader& headers_;
  WallpaperWriter& writer_;
  FileList& list_;
  MainView& view_;
  FrmDecodingInProgress& progress_;
  PictureBox& picLoad_;
  PictureBox& picWork_;
  bool converting_ = false;
};

}  // namespace tapestrel
