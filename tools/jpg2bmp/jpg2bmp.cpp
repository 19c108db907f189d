// Jpg2Bmp: converts one JPEG file into a 24-bit BMP file, then exits.
//
//   Jpg2Bmp [-outfile NAME] [-Scale 1/N] [-colors N] FILE.JPG
//
// Without -outfile the BMP goes beside the JPEG under its name with the extension
// ".bmp"; a file of that name that is already there is kept, and the BMP is then named
// "NAME (2).bmp", "NAME (3).bmp" and so on. With -outfile that file is replaced. The
// file is written under a temporary name and renamed when complete, so no reader ever
// sees half a picture. Exit code 0 on success; 1 for a wrong command line, 2 when the
// JPEG cannot be read, 3 when it cannot be decoded, 4 when the BMP cannot be written.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "platform/bitmap.h"
#include "platform/picture_decoder.h"
#include "platform/runtime_error.h"
#include "platform/text.h"

namespace {

using tapestrel::Bitmap;
using tapestrel::DecodeOptions;
using tapestrel::RuntimeError;

const char kUsage[] =
    "Jpg2Bmp: converts a JPEG file into a BMP file.\n"
    "\n"
    "Usage: Jpg2Bmp [options] file.jpg\n"
    "\n"
    "  -outfile NAME  write the BMP file NAME (replaced if it exists)\n"
    "  -Scale 1/N     decode at 1/N of the size (N = 1, 2, 4 or 8)\n"
    "  -colors N      reduce the picture to N colours (2 to 256)\n"
    "  --help         show this text\n"
    "\n"
    "Without -outfile the BMP file is written beside the JPEG file, with the extension\n"
    "\".bmp\" in place of the JPEG's; an existing file of that name is kept, and the new\n"
    "one is named \"name (2).bmp\" (or the next free number) instead.\n";

bool same(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if ((*a | 0x20) != (*b | 0x20)) return false;
  return *a == *b;
}

bool exists(const std::string& path) {
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    std::fclose(f);
    return true;
  }
  return false;
}

std::string defaultOutput(const std::string& input) {
  const std::string::size_type slash = input.find_last_of("\\/");
  const std::string::size_type dot = input.find_last_of('.');
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return tapestrel::FreeNumberedName((hasDot ? input.substr(0, dot) : input) + ".bmp", exists);
}

bool readAll(const std::string& path, std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  return ok;
}

bool replaceFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

bool writeWhole(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".part";
  FILE* f = std::fopen(temporary.c_str(), "wb");
  if (!f) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  const bool closed = std::fclose(f) == 0;
  if (written && closed && replaceFile(temporary, path)) return true;
  std::remove(temporary.c_str());
  return false;
}

int fail(int code, const std::string& text) {
  std::fprintf(stderr, "Jpg2Bmp: %s\n", text.c_str());
  return code;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, output;
  DecodeOptions options;
  options.dctMethod = 0;   // slow integer: the most accurate
  options.jpegDither = 2;  // Floyd-Steinberg when reducing colours
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (same(arg, "--help") || same(arg, "-help") || same(arg, "/?")) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (same(arg, "-outfile") && hasValue) {
      output = argv[++i];
    } else if (same(arg, "-scale") && hasValue) {
      const char* value = argv[++i];
      if (std::strncmp(value, "1/", 2) != 0) return fail(1, std::string("wrong scale ") + value + "\n\n" + kUsage);
      const int denominator = std::atoi(value + 2);
      if (denominator != 1 && denominator != 2 && denominator != 4 && denominator != 8)
        return fail(1, std::string("wrong scale ") + value);
      options.scaleDenominator = denominator;
    } else if (same(arg, "-colors") && hasValue) {
      options.colors = std::atoi(argv[++i]);
      if (options.colors < 2 || options.colors > 256) return fail(1, std::string("wrong colour count ") + argv[i]);
    } else if (arg[0] == '-' && arg[1] != '\0') {
      return fail(1, std::string("unknown option ") + arg + "\n\n" + kUsage);
    } else if (input.empty()) {
      input = arg;
    } else {
      return fail(1, "more than one input file\n\n" + std::string(kUsage));
    }
  }
  if (input.empty()) return fail(1, std::string("no input file\n\n") + kUsage);
  if (output.empty()) output = defaultOutput(input);

  std::string bytes;
  if (!readAll(input, bytes)) return fail(2, "cannot read " + input);
  Bitmap picture;
  try {
    picture = tapestrel::DecodePicture(bytes, tapestrel::PictureFormat::Jpeg, options);
  } catch (const RuntimeError& e) {
    return fail(3, input + ": " + e.description);
  }
  std::string().swap(bytes);
  if (!writeWhole(output, tapestrel::WriteBmp24(picture))) return fail(4, "cannot write " + output);
  return 0;
}
