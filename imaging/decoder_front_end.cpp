#include "imaging/decoder_front_end.h"

#include <algorithm>
#include <utility>

#include "app/program.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

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

DecoderFrontEnd::DecoderFrontEnd(Program& program) : program_(program) {
  // The control decodes a picture no larger than the viewing size will show it.
  program_.platform.gvbox.Fit = [this](PictureSize whole) { return program_.wallpaper.FittedSize(whole); };
  // Esc stops a long decode. In a batch, Esc is the progress window's Cancel, which
  // lets the file under way finish and stops before the next.
  program_.platform.gvbox.Cancelled = [this] {
    return !program_.frmDecodingInProgress.Visible() && program_.files.EscapePressed();
  };
}

void DecoderFrontEnd::Tell(const std::string& text, int style, const std::string& title) {
  program_.platform.ui.MsgBox(text, style, title.empty() ? kApplicationName : title);
}

std::string DecoderFrontEnd::BatchFile() const { return program_.state.ProgramFolder + kBatchFileName; }

bool DecoderFrontEnd::DecodeImage(const std::string& path) {
  const std::string type = lastThree(path);
  if (!containsIgnoringCase(" jpg pcx png tga jpeg ", type)) {
    Tell("Illegal file type.", mb::OkOnly | mb::Information);
    return false;
  }
  if (program_.options.InternalDecoding) {
    if (!InternalDecode(path)) return false;
    program_.frmFullScreen.picLoad.SetPicture(program_.platform.gvbox.Picture());
    return true;
  }
  if (containsIgnoringCase(" jpg jpeg ", type)) return ExternalDecode(path);
  Tell("Graphic type " + type + " is not supported. Sorry!", mb::OkOnly | mb::Information, "Error");
  return false;
}

bool DecoderFrontEnd::InternalDecode(const std::string& path) {
  // The control knows ".jpeg" and ".jpe" itself: the user's file is never renamed.
  Gvbox& gvbox = program_.platform.gvbox;
  try {
    gvbox.SetFileName(ToLower(path));
    program_.state.ImageWidth = static_cast<std::int32_t>(gvbox.Get(Gvbox::kImageWidth));
    program_.state.ImageHeight = static_cast<std::int32_t>(gvbox.Get(Gvbox::kImageHeight));
    return true;
  } catch (const RuntimeError& e) {
    if (e.number == decode_error::kDecodeStopped) {  // the user's own Esc: nothing to tell
      gvbox.SetFileName("");
      return false;
    }
    const std::string loading = errorText(e) + "has occurred while loading " + gvbox.FileName();
    if (e.number != decode_error::kJpegLoadFailed) {
      Tell(loading, mb::OkOnly | mb::Critical);
      gvbox.SetFileName("");
      return false;
    }
    if (!program_.options.TryJpg2BmpNoConfirm &&
        program_.platform.ui.MsgBox(loading + "." + "\n" + "Do you want to try Jpg2bmp?", mb::OkCancel | mb::Question,
                                    kApplicationName) == mb::IdCancel) {
      gvbox.SetFileName("");
      return false;
    }
  }
  // The converter's BMP goes beside the picture under a name no file has, and is
  // removed again once the control holds it.
  gvbox.SetFileName("");
  const std::string bitmap = FreeName(path + ".bmp");
  if (!ExternalDecode(path, bitmap)) {
    Tell("Unable to decode the file.", mb::OkOnly | mb::Exclamation);
    return false;
  }
  try {
    gvbox.SetFileName(bitmap);
    program_.state.ImageWidth = static_cast<std::int32_t>(gvbox.Get(Gvbox::kImageWidth));
    program_.state.ImageHeight = static_cast<std::int32_t>(gvbox.Get(Gvbox::kImageHeight));
  } catch (const RuntimeError& e) {
    Tell(errorText(e) + "has occurred while loading " + bitmap, mb::OkOnly | mb::Critical);
    gvbox.SetFileName("");
    program_.platform.files.RemoveFile(bitmap);
    return false;
  }
  if (!program_.platform.files.RemoveFile(bitmap)) Tell("Cannot delete file", mb::OkOnly | mb::Exclamation);
  return true;
}

std::string DecoderFrontEnd::FreeName(const std::string& wanted) {
  FileSystem& files = program_.platform.files;
  return FreeNumberedName(wanted, [&files](const std::string& p) { return files.FileExists(p); });
}

bool DecoderFrontEnd::ExternalDecode(const std::string& path, const std::string& output) {
  FileSystem& files = program_.platform.files;
  const std::string in = ShortPath(path);
  // The working bitmap is the desktop's wallpaper: the converter writes beside it, and it
  // is replaced only by a complete new picture.
  const std::string working = program_.wallpaper.WorkingBitmap();
  std::string out = DirectoryPart(working) + kNextWorkingBitmapName;
  if (!output.empty()) {
    const std::string folder = DirectoryPart(output);
    const std::string shortFolder = ShortPath(folder);
    out = NormalizeFolder(shortFolder.empty() ? folder : shortFolder) + fileNamePart(output);
  }
  const std::string command =
      Trim(std::string(kConverterName) + " " + " -outfile " + quoted(out) + " " + program_.options.ColorDepth + " " +
           quoted(in));
  // An earlier run's file must not pass for this run's result.
  if (files.FileExists(out)) files.RemoveFile(out);
  files.SetCurrentFolder(program_.state.ProgramFolder);
  RunAndWait(command);
  const bool success = files.FileExists(out);
  if (output.empty()) {
    if (!success) {
      // Without a word here the wallpaper would just stay as it was.
      Tell("Unable to decode the file.", mb::OkOnly | mb::Exclamation);
      return false;
    }
    const bool loaded = program_.wallpaper.LoadPictureIntoBox(program_.frmFullScreen.picLoad, out);
    std::string bytes;
    if (loaded) {
      if (auto file = files.OpenRead(out)) {
        bytes.resize(static_cast<std::size_t>(file->Size()));
        bytes.resize(file->Read(bytes.data(), bytes.size()));
      }
    }
    files.RemoveFile(out);
    if (!loaded) return false;
    if (bytes.empty() || !files.WriteFileAtomically(working, bytes)) {
      Tell("Unable to write " + working + ".", mb::OkOnly | mb::Exclamation);
      return false;
    }
  }
  return success;
}

void DecoderFrontEnd::RunAndWait(const std::string& commandLine) {
  const std::uint32_t started = program_.platform.clock.TickCount();
  std::uint32_t askAt = started + PatienceMs;
  const auto keepWaiting = [&] {
    if (program_.frmMain.PendingExit() >= 0) return false;  // Exit was chosen meanwhile
    const std::uint32_t now = program_.platform.clock.TickCount();
    if (static_cast<std::int32_t>(now - askAt) < 0) return true;
    const std::string seconds = NumberText(static_cast<long>((now - started) / 1000));
    const bool wait = program_.platform.ui.MsgBox(std::string(kConverterName) + " has been decoding for " + seconds +
                                                      " seconds." + "\n" +
                                                      "Retry to wait for it longer, Cancel to stop it.",
                                                  mb::RetryCancel | mb::Question, kApplicationName) == mb::IdRetry;
    askAt = program_.platform.clock.TickCount() + PatienceMs;
    return wait;
  };
  converting_ = true;
  const auto result = program_.platform.processes.RunAndWait(commandLine, program_.options.DosBoxWindowState != 0,
                                                             kWaitSliceMs, keepWaiting);
  converting_ = false;
  if (result == Processes::RunResult::NotStarted)
    Tell("Unable to start " + std::string(kConverterName) + " in " + program_.state.ProgramFolder,
         mb::OkOnly | mb::Exclamation);
}

std::string DecoderFrontEnd::ShortPath(const std::string& path) { return program_.platform.files.ShortPathName(path); }

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
  ProgramState& state = program_.state;
  state.HeaderReaderQuiet = true;
  program_.headers.ReadJpegHeader(path);
  program_.headers.CloseFile();
  const std::string quotedPath = ConverterPath(path);
  if (quotedPath.size() > kMaxConverterPath) {
    Tell("Even your short name is too long!", mb::OkOnly | mb::Critical);
    return false;
  }
  const std::string line = Trim(std::string(kConverterName) + " " + program_.options.ColorDepth + " " +
                                (half ? "-Scale 1/2 " : "") + quoted(quotedPath));
  batch += batchEscaped(line) + "\r\n";
  return true;
}

void DecoderFrontEnd::DecodeSelectedFiles(const std::vector<std::string>& paths, bool half, int mode) {
  FrmMain& frm = program_.frmMain;
  if (mode == 2) {
    std::string batch = "@echo off\r\n";
    FileSystem& files = program_.platform.files;
    // Where each converter line's BMP will be (the converter keeps a file of that name
    // too), so that a line that failed can be told; and the names no code page of the
    // command interpreter can spell (no short name on the volume), decoded here instead.
    std::vector<std::pair<std::string, std::string>> expected;
    std::vector<std::string> here;
    for (const std::string& path : paths) {
      if (!containsIgnoringCase("jpeg jpg", lastThree(path))) {
        Tell("Wrong Extension", mb::OkOnly | mb::Information);
        program_.state.HeaderReaderQuiet = false;
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
    program_.state.HeaderReaderQuiet = false;
    if (!expected.empty()) {
      if (!files.WriteFileAtomically(BatchFile(), batch)) {
        Tell(errorText(RuntimeError{75, "Path/File access error"}) + "has occurred while attempting to decode file(s).",
             mb::OkOnly | mb::Critical);
        return;
      }
      files.SetCurrentFolder(program_.state.ProgramFolder);
      frm.Hide();
      RunAndWait(quoted(BatchFile()));
      frm.Show();
      std::vector<std::string> failed;
      for (const auto& [path, bmp] : expected)
        if (!files.FileExists(bmp)) failed.push_back(fileNamePart(path));
      if (!failed.empty())
        Tell(NumberText(static_cast<long>(failed.size())) + " of " + NumberText(static_cast<long>(expected.size())) +
                 " file(s) were not decoded by " + kConverterName + ":\n" + NamesOneALine(failed),
             mb::OkOnly | mb::Exclamation);
    }
    if (!here.empty()) {
      Options& o = program_.options;
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

  FrmDecodingInProgress& progress = program_.frmDecodingInProgress;
  frm.Hide();
  progress.Load();
  progress.Show();
  const std::size_t count = paths.size();
  for (std::size_t i = 0; i < count; ++i) {
    progress.txtConversionInProgress.SetText("Decoding \n" + AbbreviatePath(paths[i], 50) + "\n" +
                                             NumberText(static_cast<long>(i + 1)) + " of " +
                                             NumberText(static_cast<long>(count)));
    if (CancelDecoding) break;
    program_.platform.ui.DoEvents();
    if (CancelDecoding) break;
    try {
      DecodeOneForBatch(paths[i]);
    } catch (const RuntimeError& e) {
      Tell(errorText(e) + "has occurred while attempting to decode file(s).", mb::OkOnly | mb::Critical);
    }
  }
  progress.Unload();
  frm.Show();
}

void DecoderFrontEnd::DecodeOneForBatch(const std::string& path) {
  FrmFullScreen& screen = program_.frmFullScreen;
  WallpaperWriter& writer = program_.wallpaper;
  const bool metafile = EqualsIgnoreCase(lastThree(path), "wmf");
  if (metafile ? !writer.LoadPictureIntoBox(screen.picLoad, path) : !DecodeImage(path)) return;
  // A BMP of the same name that is already there is the user's: never replaced.
  const std::string output = FreeName(withExtension(path, "bmp"));
  const double zoom = writer.ComputeFitZoom();
  const bool fromDecoder = !metafile && program_.options.InternalDecoding;
  if (zoom < 1) {
    writer.ShrinkPictureToFile(screen.picLoad, screen.picFullScreen, zoom, output, 0, fromDecoder);
  } else {
    writer.SavePicture(*screen.picLoad.Picture(), output);
    screen.picLoad.SetPicture(nullptr);
    if (fromDecoder) program_.platform.gvbox.SetFileName("");
  }
}

void DecoderFrontEnd::LoadDecoderOptions() {
  Options& o = program_.options;
  FrmMain& frm = program_.frmMain;
  Gvbox& gvbox = program_.platform.gvbox;
  const int depth = program_.wallpaper.ColorDepth();
  gvbox.DisplayDepth = depth;
  // A damaged setting falls back to its default rather than stop the start.
  auto choice = [](int value, int fallback) { return value >= 0 && value <= 2 ? value : fallback; };
  o.DctMethod = choice(o.DctMethod, 2);
  gvbox.Let(Gvbox::kDctMethod, o.DctMethod);
  frm.RadioCheck(frm.Mnu_DCT, 3, o.DctMethod);
  if (depth <= 8) {
    // 256 colours or fewer on the screen: the pictures are reduced to fit them.
    o.ColorDepth = kEightBitOption;
    o.Dither = 2;
    o.JpegDither = 1;
  }
  o.Dither = choice(o.Dither, 0);
  o.JpegDither = choice(o.JpegDither, 0);
  // The marks show the converter option that is in force.
  frm.mnu24bitColor.SetChecked(o.ColorDepth.empty());
  frm.mnu8bitColor.SetChecked(!o.ColorDepth.empty());
  gvbox.Let(Gvbox::kDither, o.Dither);
  gvbox.Let(Gvbox::kJpegDither, o.JpegDither);
  frm.RadioCheck(frm.Mnu_Dith, 3, o.Dither);
  frm.RadioCheck(frm.Mnu_JPGDith, 3, o.JpegDither);
  gvbox.Let(Gvbox::kTwoPassQuantize, o.TwoPassQuantize);
  gvbox.Let(Gvbox::kFancyUpsampling, o.FancyUpsampling);
  frm.Mnu_TwoPass.SetChecked(gvbox.Get(Gvbox::kTwoPassQuantize) != 0);
  frm.Mnu_Fancy.SetChecked(gvbox.Get(Gvbox::kFancyUpsampling) != 0);
  frm.mnuInternalDecode.SetChecked(o.InternalDecoding);
  frm.mnuExternalDecodeOn.SetChecked(!o.InternalDecoding);
  frm.Mnu_ReduceJpegSize.SetChecked(o.ReduceJpegSize);
}

void DecoderFrontEnd::SaveDecoderOptions() {
  // Every menu handler sets the option together with the control and the mark, so the
  // options are what the control and the menus show.
  program_.settings.SaveDecoderSettings();
}

void DecoderFrontEnd::DctMethodChosen(int index) {
  program_.platform.gvbox.Let(Gvbox::kDctMethod, index);
  program_.options.DctMethod = index;
  program_.frmMain.RadioCheck(program_.frmMain.Mnu_DCT, 3, index);
}

void DecoderFrontEnd::JpegDitherChosen(int index) {
  program_.platform.gvbox.Let(Gvbox::kJpegDither, index);
  program_.options.JpegDither = index;
  program_.frmMain.RadioCheck(program_.frmMain.Mnu_JPGDith, 3, index);
}

void DecoderFrontEnd::DitherChosen(int index) {
  program_.platform.gvbox.Let(Gvbox::kDither, index);
  program_.options.Dither = index;
  program_.frmMain.RadioCheck(program_.frmMain.Mnu_Dith, 3, index);
}

void DecoderFrontEnd::FancyUpsamplingToggled() {
  Menu& item = program_.frmMain.Mnu_Fancy;
  item.SetChecked(!item.Checked());
  program_.options.FancyUpsampling = item.Checked();
  program_.platform.gvbox.Let(Gvbox::kFancyUpsampling, item.Checked());
}

void DecoderFrontEnd::TwoPassQuantizeToggled() {
  Menu& item = program_.frmMain.Mnu_TwoPass;
  item.SetChecked(!item.Checked());
  program_.options.TwoPassQuantize = item.Checked();
  program_.platform.gvbox.Let(Gvbox::kTwoPassQuantize, item.Checked());
}

void DecoderFrontEnd::ColorsChosen(bool eightBit) {
  program_.options.ColorDepth = eightBit ? kEightBitOption : "";
  program_.frmMain.mnu8bitColor.SetChecked(eightBit);
  program_.frmMain.mnu24bitColor.SetChecked(!eightBit);
}

void DecoderFrontEnd::InternalChosen() {
  FrmMain& frm = program_.frmMain;
  if (frm.mnuInternalDecode.Checked()) return;
  frm.mnuExternalDecodeOn.SetChecked(false);
  frm.mnuInternalDecode.SetChecked(true);
  program_.options.InternalDecoding = true;
}

void DecoderFrontEnd::ExternalChosen() {
  FrmMain& frm = program_.frmMain;
  if (frm.mnuExternalDecodeOn.Checked()) return;
  frm.mnuExternalDecodeOn.SetChecked(true);
  program_.options.InternalDecoding = false;
  frm.mnuInternalDecode.SetChecked(false);
}

}  // namespace tapestrel
