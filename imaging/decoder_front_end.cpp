#include "imaging/decoder_front_end.h"

#include <algorithm>
#include <utility>

#include "catalogue/file_list.h"
#include "core/main_view.h"
#include "core/options.h"
#include "core/program_state.h"
#include "imaging/frm_decoding_in_progress.h"
#include "imaging/header_reader.h"
#include "platform/clock.h"
#include "platform/controls/controls.h"
#include "platform/desktop.h"
#include "platform/gvbox.h"
#include "platform/runtime_error.h"
#include "platform/settings_store.h"
#include "platform/text.h"
#include "platform/ui.h"
#include "wallpaper/wallpaper_writer.h"

namespace tapestrel {

namespace {

constexpr char kQuote = '"';
constexpr const char* kEightBitOption = "-colors 256";
// What the converter writes when it makes the wallpaper; renamed over the working bitmap
// once complete.
constexpr const char* kNextWorkingBitmapName = "Tapestrel Wallpaper (decoding).bmp";
// How often the wait on the converter looks up.
constexpr unsigned kWaitSliceMs = 250;

std::string lastThree(const std::string& path) { return path.size() >= 3 ? path.substr(path.size() - 3) : path; }

bool containsIgnoringCase(const std::string& haystack, const std::string& needle) {
  return ToLower(haystack).find(ToLower(needle)) != std::string::npos;
}

std::string quoted(const std::string& text) { return kQuote + text + kQuote; }

std::string fileNamePart(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path with its extension (after the last dot of the name) replaced.
std::string withExtension(const std::string& path, const std::string& extension) {
  const std::string::size_type dot = path.find_last_of('.');
  const std::string::size_type slash = path.find_last_of('\\');
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (hasDot ? path.substr(0, dot) : path) + "." + extension;
}

// The command interpreter expands %name% in a batch file even inside quotes; %% is
// one percent sign.
std::string batchEscaped(const std::string& line) {
  std::string out;
  for (char c : line) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

bool hasNonAscii(const std::string& text) {
  return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

std::string errorText(const RuntimeError& e) { return e.description + " (" + NumberText(e.number) + ") "; }

}  // namespace

DecoderFrontEnd::DecoderFrontEnd(FileSystem& files, Ui& ui, Gvbox& gvbox, Clock& clock, Processes& processes,
                                 Options& options, ProgramState& state, HeaderReader& headers, WallpaperWriter& writer,
                                 FileList& list, MainView& view, FrmDecodingInProgress& progress, PictureBox& picLoad,
                                 PictureBox& picWork)
    : files_(files),
      ui_(ui),
      gvbox_(gvbox),
      clock_(clock),
      processes_(processes),
      options_(options),
      state_(state),
      headers_(headers),
      writer_(writer),
      list_(list),
      view_(view),
      progress_(progress),
      picLoad_(picLoad),
      picWork_(picWork) {
  // The control decodes a picture no larger than the viewing size will show it.
  gvbox_.Fit = [this](PictureSize whole) { return writer_.FittedSize(whole); };
  // Esc stops a long decode. In a batch, Esc is the progress window's Cancel, which
  // lets the file under way finish and stops before the next.
  gvbox_.Cancelled = [this] { return !progress_.Visible() && list_.EscapePressed(); };
}

void DecoderFrontEnd::Tell(const std::string& text, int style, const std::string& title) {
  ui_.MsgBox(text, style, title.empty() ? kApplicationName : title);
}

std::string DecoderFrontEnd::BatchFile() const { return state_.ProgramFolder + kBatchFileName; }

bool DecoderFrontEnd::DecodeImage(const std::string& path) {
  const std::string type = lastThree(path);
  // The type by its whole extension (".webp" has four letters).
  const std::size_t dot = path.find_last_of(".\\");
  const std::string named = dot != std::string::npos && path[dot] == '.' ? path.substr(dot + 1) : type;
  // Ours by the last three letters ("peg" is a ".jpeg", "ebp" a ".webp", "iff" a ".tiff");
  // the newer kinds only the system's own codecs decode, when it has them.
  const bool ours = containsIgnoringCase(" jpg pcx png tga jpeg gif webp tif tiff ", type);
  const bool systems = !ours && containsIgnoringCase(kSystemPictureTypes, " " + named + " ");
  if (!ours && !systems) {
    Tell("Illegal file type.", mb::OkOnly | mb::Information);
    return false;
  }
  if (systems && !(options_.InternalDecoding && gvbox_.SystemDecodes(ToLower(named)))) {
    Tell("Graphic type " + named + " is not supported. Sorry!", mb::OkOnly | mb::Information, "Error");
    return false;
  }
  if (options_.InternalDecoding) {
    if (!InternalDecode(path)) return false;
    picLoad_.SetPicture(gvbox_.Picture());
    return true;
  }
  if (containsIgnoringCase(" jpg jpeg ", type)) return ExternalDecode(path);
  Tell("Graphic type " + named + " is not supported. Sorry!", mb::OkOnly | mb::Information, "Error");
  return false;
}

bool DecoderFrontEnd::InternalDecode(const std::string& path) {
  // The control knows ".jpeg" and ".jpe" itself: the user's file is never renamed.
  try {
    gvbox_.SetFileName(ToLower(path));
    state_.ImageWidth = static_cast<std::int32_t>(gvbox_.Get(Gvbox::kImageWidth));
    state_.ImageHeight = static_cast<std::int32_t>(gvbox_.Get(Gvbox::kImageHeight));
    return true;
  } catch (const RuntimeError& e) {
    if (e.number == decode_error::kDecodeStopped) {  // the user's own Esc: nothing to tell
      gvbox_.SetFileName("");
      return false;
    }
    const std::string loading = errorText(e) + "has occurred while loading " + gvbox_.FileName();
    if (e.number != decode_error::kJpegLoadFailed) {
      Tell(loading, mb::OkOnly | mb::Critical);
      gvbox_.SetFileName("");
      return false;
    }
    if (!options_.TryJpg2BmpNoConfirm && ui_.MsgBox(loading + "." + "\n" + "Do you want to try Jpg2bmp?",
                                                    mb::OkCancel | mb::Question, kApplicationName) == mb::IdCancel) {
      gvbox_.SetFileName("");
      return false;
    }
  }
  // The converter's BMP goes beside the picture under a name no file has, and is
  // removed again once the control holds it.
  gvbox_.SetFileName("");
  const std::string bitmap = FreeName(path + ".bmp");
  if (!ExternalDecode(path, bitmap)) {
    Tell("Unable to decode the file.", mb::OkOnly | mb::Exclamation);
    return false;
  }
  try {
    gvbox_.SetFileName(bitmap);
    state_.ImageWidth = static_cast<std::int32_t>(gvbox_.Get(Gvbox::kImageWidth));
    state_.ImageHeight = static_cast<std::int32_t>(gvbox_.Get(Gvbox::kImageHeight));
  } catch (const RuntimeError& e) {
    Tell(errorText(e) + "has occurred while loading " + bitmap, mb::OkOnly | mb::Critical);
    gvbox_.SetFileName("");
    files_.RemoveFile(bitmap);
    return false;
  }
  if (!files_.RemoveFile(bitmap)) Tell("Cannot delete file", mb::OkOnly | mb::Exclamation);
  return true;
}

std::string DecoderFrontEnd::FreeName(const std::string& wanted) {
  FileSystem& files = files_;
  return FreeNumberedName(wanted, [&files](const std::string& p) { return files.FileExists(p); });
}

bool DecoderFrontEnd::ExternalDecode(const std::string& path, const std::string& output) {
  const std::string in = ShortPath(path);
  // The working bitmap is the desktop's wallpaper: the converter writes beside it, and it
  // is replaced only by a complete new picture.
  const std::string working = writer_.WorkingBitmap();
  std::string out = DirectoryPart(working) + kNextWorkingBitmapName;
  if (!output.empty()) {
    const std::string folder = DirectoryPart(output);
    const std::string shortFolder = ShortPath(folder);
    out = NormalizeFolder(shortFolder.empty() ? folder : shortFolder) + fileNamePart(output);
  }
  const std::string command = Trim(std::string(kConverterName) + " " + " -outfile " + quoted(out) + " " +
                                   options_.ColorDepth + " " + quoted(in));
  // An earlier run's file must not pass for this run's result.
  if (files_.FileExists(out)) files_.RemoveFile(out);
  files_.SetCurrentFolder(state_.ProgramFolder);
  RunAndWait(command);
  const bool success = files_.FileExists(out);
  if (output.empty()) {
    if (!success) {
      // Without a word here the wallpaper would just stay as it was.
      Tell("Unable to decode the file.", mb::OkOnly | mb::Exclamation);
      return false;
    }
    const bool loaded = writer_.LoadPictureIntoBox(picLoad_, out);
    std::string bytes;
    if (loaded) {
      if (auto file = files_.OpenRead(out)) {
        bytes.resize(static_cast<std::size_t>(file->Size()));
        bytes.resize(file->Read(bytes.data(), bytes.size()));
      }
    }
    files_.RemoveFile(out);
    if (!loaded) return false;
    if (bytes.empty() || !files_.WriteFileAtomically(working, bytes)) {
      Tell("Unable to write " + working + ".", mb::OkOnly | mb::Exclamation);
      return false;
    }
  }
  return success;
}

void DecoderFrontEnd::RunAndWait(const std::string& commandLine) {
  const std::uint32_t started = clock_.TickCount();
  std::uint32_t askAt = started + PatienceMs;
  const auto keepWaiting = [&] {
    if (view_.ExitPending()) return false;  // Exit was chosen meanwhile
    const std::uint32_t now = clock_.TickCount();
    if (static_cast<std::int32_t>(now - askAt) < 0) return true;
    const std::string seconds = NumberText(static_cast<long>((now - started) / 1000));
    const bool wait = ui_.MsgBox(std::string(kConverterName) + " has been decoding for " + seconds + " seconds." +
                                     "\n" + "Retry to wait for it longer, Cancel to stop it.",
                                 mb::RetryCancel | mb::Question, kApplicationName) == mb::IdRetry;
    askAt = clock_.TickCount() + PatienceMs;
    return wait;
  };
  converting_ = true;
  const auto result = processes_.RunAndWait(commandLine, options_.DosBoxWindowState != 0, kWaitSliceMs, keepWaiting);
  converting_ = false;
  if (result == Processes::RunResult::NotStarted)
    Tell("Unable to start " + std::string(kConverterName) + " in " + state_.ProgramFolder,
         mb::OkOnly | mb::Exclamation);
}

std::string DecoderFrontEnd::ShortPath(const std::string& path) { return files_.ShortPathName(path); }

std::string DecoderFrontEnd::ConverterPath(const std::string& path) {
  std::string quotedPath = path;
  // The command interpreter reads a batch file in the console's code page: a name
  // beyond ASCII goes by its short form.
  if (quotedPath.size() > kMaxConverterPath || hasNonAscii(quotedPath)) {
    const std::string folder = ShortPath(DirectoryPart(path));
    if (!folder.empty()) quotedPath = NormalizeFolder(folder) + fileNamePart(path);
  }
  if (quotedPath.size() > kMaxConverterPath || hasNonAscii(quotedPath)) {
    const std::string whole = ShortPath(path);
    if (!whole.empty()) quotedPath = whole;
  }
  return quotedPath;
}

bool DecoderFrontEnd::WriteConverterLine(std::string& batch, const std::string& path, bool half) {
  state_.HeaderReaderQuiet = true;
  headers_.ReadJpegHeader(path);
  headers_.CloseFile();
  const std::string quotedPath = ConverterPath(path);
  if (quotedPath.size() > kMaxConverterPath) {
    Tell("Even your short name is too long!", mb::OkOnly | mb::Critical);
    return false;
  }
  const std::string line = Trim(std::string(kConverterName) + " " + options_.ColorDepth + " " +
                                (half ? "-Scale 1/2 " : "") + quoted(quotedPath));
  batch += batchEscaped(line) + "\r\n";
  return true;
}

void DecoderFrontEnd::DecodeSelectedFiles(const std::vector<std::string>& paths, bool half, int mode) {
  MainView& frm = view_;
  if (mode == 2) {
    std::string batch = "@echo off\r\n";
    // Where each converter line's BMP will be (the converter keeps a file of that name
    // too), so that a line that failed can be told; and the names no code page of the
    // command interpreter can spell (no short name on the volume), decoded here instead.
    std::vector<std::pair<std::string, std::string>> expected;
    std::vector<std::string> here;
    for (const std::string& path : paths) {
      if (!containsIgnoringCase("jpeg jpg", lastThree(path))) {
        Tell("Wrong Extension", mb::OkOnly | mb::Information);
        state_.HeaderReaderQuiet = false;
        return;
      }
      const std::string named = ConverterPath(path);
      if (hasNonAscii(named)) {
        here.push_back(path);
        continue;
      }
      // The converter names its BMP after the path it is given, the short one included.
      if (WriteConverterLine(batch, path, half)) expected.emplace_back(path, FreeName(withExtension(named, "bmp")));
    }
    state_.HeaderReaderQuiet = false;
    if (!expected.empty()) {
      if (!files_.WriteFileAtomically(BatchFile(), batch)) {
        Tell(errorText(RuntimeError{75, "Path/File access error"}) + "has occurred while attempting to decode file(s).",
             mb::OkOnly | mb::Critical);
        return;
      }
      files_.SetCurrentFolder(state_.ProgramFolder);
      frm.HideWindow();
      RunAndWait(quoted(BatchFile()));
      frm.ShowWindow();
      std::vector<std::string> failed;
      for (const auto& [path, bmp] : expected)
        if (!files_.FileExists(bmp)) failed.push_back(fileNamePart(path));
      if (!failed.empty())
        Tell(NumberText(static_cast<long>(failed.size())) + " of " + NumberText(static_cast<long>(expected.size())) +
                 " file(s) were not decoded by " + kConverterName + ":\n" + NamesOneALine(failed),
             mb::OkOnly | mb::Exclamation);
    }
    if (!here.empty()) {
      Options& o = options_;
      const bool internal = std::exchange(o.InternalDecoding, true);
      for (const std::string& path : here) {
        try {
          DecodeOneForBatch(path);
        } catch (const RuntimeError& e) {
          Tell(errorText(e) + "has occurred while attempting to decode file(s).", mb::OkOnly | mb::Critical);
        }
      }
      o.InternalDecoding = internal;
    }
    return;
  }
  frm.HideWindow();
  progress_.Load();
  progress_.Show();
  const std::size_t count = paths.size();
  for (std::size_t i = 0; i < count; ++i) {
    progress_.txtConversionInProgress.SetText("Decoding \n" + AbbreviatePath(paths[i], 50) + "\n" +
                                             NumberText(static_cast<long>(i + 1)) + " of " +
                                             NumberText(static_cast<long>(count)));
    if (CancelDecoding) break;
    ui_.DoEvents();
    if (CancelDecoding) break;
    try {
      DecodeOneForBatch(paths[i]);
    } catch (const RuntimeError& e) {
      Tell(errorText(e) + "has occurred while attempting to decode file(s).", mb::OkOnly | mb::Critical);
    }
  }
  progress_.Unload();
  frm.ShowWindow();
}

void DecoderFrontEnd::DecodeOneForBatch(const std::string& path) {
  const bool metafile = EqualsIgnoreCase(lastThree(path), "wmf");
  if (metafile ? !writer_.LoadPictureIntoBox(picLoad_, path) : !DecodeImage(path)) return;
  // A BMP of the same name that is already there is the user's: never replaced.
  const std::string output = FreeName(withExtension(path, "bmp"));
  const double zoom = writer_.ComputeFitZoom();
  const bool fromDecoder = !metafile && options_.InternalDecoding;
  if (zoom < 1) {
    writer_.ShrinkPictureToFile(picLoad_, picWork_, zoom, output, 0, fromDecoder);
  } else {
    writer_.SavePicture(*picLoad_.Picture(), output);
    picLoad_.SetPicture(nullptr);
    if (fromDecoder) gvbox_.SetFileName("");
  }
}

void DecoderFrontEnd::LoadDecoderOptions() {
  Options& o = options_;
  const int depth = writer_.ColorDepth();
  gvbox_.DisplayDepth = depth;
  // A damaged setting falls back to its default rather than stop the start.
  auto choice = [](int value, int fallback) { return value >= 0 && value <= 2 ? value : fallback; };
  o.DctMethod = choice(o.DctMethod, 2);
  gvbox_.Let(Gvbox::kDctMethod, o.DctMethod);
  if (depth <= 8) {
    // 256 colours or fewer on the screen: the pictures are reduced to fit them.
    o.ColorDepth = kEightBitOption;
    o.Dither = 2;
    o.JpegDither = 1;
  }
  o.Dither = choice(o.Dither, 0);
  o.JpegDither = choice(o.JpegDither, 0);
  gvbox_.Let(Gvbox::kDither, o.Dither);
  gvbox_.Let(Gvbox::kJpegDither, o.JpegDither);
  gvbox_.Let(Gvbox::kTwoPassQuantize, o.TwoPassQuantize);
  gvbox_.Let(Gvbox::kFancyUpsampling, o.FancyUpsampling);
  ShowMarks(gvbox_.Get(Gvbox::kTwoPassQuantize) != 0, gvbox_.Get(Gvbox::kFancyUpsampling) != 0);
}

void DecoderFrontEnd::ShowMarks() { ShowMarks(options_.TwoPassQuantize, options_.FancyUpsampling); }

void DecoderFrontEnd::ShowMarks(bool twoPass, bool fancy) {
  // Every choice sets the option, then the marks show the options in force, the
  // converter's colours among them.
  const Options& o = options_;
  view_.ShowDecoderMarks({o.DctMethod, o.Dither, o.JpegDither, !o.ColorDepth.empty(), twoPass, fancy,
                          o.InternalDecoding, o.ReduceJpegSize});
}

void DecoderFrontEnd::DctMethodChosen(int index) {
  gvbox_.Let(Gvbox::kDctMethod, index);
  options_.DctMethod = index;
  ShowMarks();
}

void DecoderFrontEnd::JpegDitherChosen(int index) {
  gvbox_.Let(Gvbox::kJpegDither, index);
  options_.JpegDither = index;
  ShowMarks();
}

void DecoderFrontEnd::DitherChosen(int index) {
  gvbox_.Let(Gvbox::kDither, index);
  options_.Dither = index;
  ShowMarks();
}

void DecoderFrontEnd::FancyUpsamplingToggled() {
  options_.FancyUpsampling = !options_.FancyUpsampling;
  gvbox_.Let(Gvbox::kFancyUpsampling, options_.FancyUpsampling);
  ShowMarks();
}

void DecoderFrontEnd::TwoPassQuantizeToggled() {
  options_.TwoPassQuantize = !options_.TwoPassQuantize;
  gvbox_.Let(Gvbox::kTwoPassQuantize, options_.TwoPassQuantize);
  ShowMarks();
}

void DecoderFrontEnd::ColorsChosen(bool eightBit) {
  options_.ColorDepth = eightBit ? kEightBitOption : "";
  ShowMarks();
}

void DecoderFrontEnd::InternalChosen() {
  if (options_.InternalDecoding) return;
  options_.InternalDecoding = true;
  ShowMarks();
}

void DecoderFrontEnd::ExternalChosen() {
  if (!options_.InternalDecoding) return;
  options_.InternalDecoding = false;
  ShowMarks();
}

}  // namespace tapestrel
