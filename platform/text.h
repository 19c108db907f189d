// Text helpers shared by every part of the program: cutting system-call results,
// folder paths, number and date formats, leading-number parsing, flag reading and
// the wildcard matching used by the file filters.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tapestrel {

// `wanted` when `taken` says it is free, else the first free one of "stem (2).ext",
// "stem (3).ext" and so on; the extension is what follows the last dot of the name.
std::string FreeNumberedName(const std::string& wanted, const std::function<bool(const std::string&)>& taken);

// Whether a character typed into an interval box stays: digits, the decimal point and
// the editing keys (below a blank). A second point is refused by the whole text's check,
// since a key may replace a selection that held the first.
bool AcceptsIntervalKey(int key);

// The number a whole text gives when it is a plain decimal: digits with at most one
// point ("12", "0.5", ".5", "3."), blanks around it allowed; none for anything else
// (a sign, an exponent, words, an empty text).
std::optional<double> PlainDecimal(std::string_view text);

// Cuts a system-call result at its first NUL character and strips blanks from both ends.
std::string TrimAtNull(std::string_view text);

// Strips blanks (spaces only, as the system-call buffers are padded with them) from both ends.
std::string Trim(std::string_view text);

// The text up to and including the last "\" or "/"; a drive letter and colon alone do
// not count as a separator. Empty when there is no separator.
std::string DirectoryPart(std::string_view path);
// What follows the directory part: the name of the file.
std::string FilePart(std::string_view path);

// Makes a folder path end in exactly one backslash: trims it, folds the first doubled
// backslash (not the leading pair of a network path) and appends "\" when missing.
std::string NormalizeFolder(std::string_view folder);
// A path shortened for display to at most `length` characters: its drive, "..." and as
// many of its last folders and its name as fit ("C:\...\Trips\beach.jpg"); a name that
// does not fit keeps its end.
std::string AbbreviatePath(std::string_view path, std::size_t length);

std::string ToLower(std::string_view text);
std::string ToUpper(std::string_view text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// Position of `needle` in `text` ignoring case, or npos.
std::size_t FindIgnoreCase(std::string_view text, std::string_view needle);

// The numeric value of the leading number of a text: leading blanks are skipped, an
// optional sign, digits and one decimal point are read; anything else ends the number.
// Empty or non-numeric text reads as 0.
double LeadingNumber(std::string_view text);

// True when the text, after leading blanks, starts with a number (digits, or a sign or
// point followed by a digit).
bool StartsWithNumber(std::string_view text);

// The leading number as a whole number, rounded half to even and clamped to 32 bits.
std::int32_t LeadingInteger(std::string_view text);

// Reads a stored flag: "True"/"False" in any case, or a number (0 false, other true).
// Anything else yields `fallback`.
bool ReadFlag(std::string_view text, bool fallback);

// The text form of a flag as stored: "True" or "False".
std::string FlagText(bool value);

// Shortest decimal text of a number with at most seven significant digits: "2", "0.5",
// "-3", "15.25". Used wherever a number is stored or written as text.
std::string NumberText(double value);

// Formats a number with a numeric picture made of '0' (digit always shown), '#' (digit
// shown when significant), ',' (thousands grouping) and '.' (decimal point):
// "000000", "#,###", "#,###.#", "#,###.##", "0.0", "0", "00000000.0".
// A picture of '#' only still shows a single "0" for values below one, and a decimal
// point with no digit after it is dropped, so 12 with "#,###.#" reads "12".
std::string FormatNumber(double value, std::string_view picture);

struct DateTime {
  int year = 1980;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// "yyyy/mm/dd hh:mm:ss".
std::string FormatDateTime(const DateTime& when);

// Names are UTF-8 where the system's code page is (the program asks for it); bytes of
// an older code page are one character each. The bytes of the character that starts at
// `at`: a whole UTF-8 sequence where one starts there, else one.
std::size_t CharacterLength(std::string_view text, std::size_t at);
// `at`, or the start of the next character when `at` falls inside a UTF-8 sequence.
std::size_t CharacterStart(std::string_view text, std::size_t at);

// The first `length` bytes of a text or fewer, never ending inside a character: a cut
// that would split a UTF-8 sequence keeps the text before that sequence instead.
std::string CutToLength(std::string_view text, std::size_t length);

// Whether a path is given in full: from a drive's root ("C:\\", "C:/") or a network
// share ("\\\\server\\...").
bool IsFullPath(std::string_view path);

// Names for a message box, one a line and indented, the first ten of them, then how many
// more there are.
std::string NamesOneALine(const std::vector<std::string>& names);

// A path as one argument of a command line: in quotes when it holds a blank or any of
// `breakers` (the Explorer's arguments are also parted at commas); left as it is when it
// is quoted already.
std::string CommandArgument(std::string_view path, std::string_view breakers = " ");

// Pattern matching with '?' (one character), '*' (any run), '#' (one digit),
// "[abc]", "[a-z]" and "[!abc]" (one character in or not in the list). Case-sensitive:
// callers lower-case both sides when they want otherwise.
bool Like(std::string_view text, std::string_view pattern);

// A file name against a Windows search pattern: '*' any run, '?' one character (or
// none at the end of the name), letter case ignored; a pattern ending in ".*" also takes
// names without a dot.
bool MatchesFilePattern(std::string_view name, std::string_view pattern);

}  // namespace tapestrel
