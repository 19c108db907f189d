#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tapestrel {

namespace {

char lowerChar(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
char upperChar(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string groupThousands(const std::string& digits) {
  std::string out;
  const std::size_t n = digits.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// One character against a bracket list such as "a-z" or "!abc" (without the brackets).
bool matchesCharList(char c, std::string_view list) {
  bool negate = false;
  if (!list.empty() && list.front() == '!') {
    negate = true;
    list.remove_prefix(1);
  }
  bool found = false;
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (i + 2 < list.size() && list[i + 1] == '-') {
      if (c >= list[i] && c <= list[i + 2]) found = true;
      i += 2;
    } else if (c == list[i]) {
      found = true;
    }
  }
  return found != negate;
}

}  // namespace

std::string Trim(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string TrimAtNull(std::string_view text) {
  const auto nul = text.find('\0');
  return Trim(nul == std::string_view::npos ? text : text.substr(0, nul));
}

std::string DirectoryPart(std::string_view path) {
  const auto sep = path.find_last_of("\\/");
  if (sep == std::string_view::npos) return {};
  return std::string(path.substr(0, sep + 1));
}

std::string FilePart(std::string_view path) { return std::string(path.substr(DirectoryPart(path).size())); }

std::string NormalizeFolder(std::string_view folder) {
  std::string out = Trim(folder);
  // A network path starts with two backslashes on purpose; only fold a pair after it.
  const std::size_t from = out.rfind("\\\\", 0) == 0 ? 2 : 0;
  const auto pair = out.find("\\\\", from);
  if (pair != std::string::npos) out.erase(pair, 1);
  if (out.empty() || out.back() != '\\') out += '\\';
  return out;
}

std::string ToLower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), lowerChar);
  return out;
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(), upperChar);
  return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerChar(x) == lowerChar(y); });
}

std::size_t FindIgnoreCase(std::string_view text, std::string_view needle) {
  return ToLower(text).find(ToLower(needle));
}

double LeadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
  bool point = false;
  bool digits = false;
  for (; i < text.size(); ++i) {
    if (isDigit(text[i])) {
      number += text[i];
      digits = true;
    } else if (text[i] == '.' && !point) {
      number += '.';
      point = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  return std::strtod(number.c_str(), nullptr);
}

bool StartsWithNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  if (i < text.size() && text[i] == '.') ++i;
  return i < text.size() && isDigit(text[i]);
}

std::int32_t LeadingInteger(std::string_view text) {
  const double value = std::nearbyint(LeadingNumber(text));  // default rounding: half to even
  if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

bool ReadFlag(std::string_view text, bool fallback) {
  const std::string t = Trim(text);
  if (EqualsIgnoreCase(t, "True")) return true;
  if (EqualsIgnoreCase(t, "False")) return false;
  if (!StartsWithNumber(t)) return fallback;
  return LeadingNumber(t) != 0.0;
}

std::string FlagText(bool value) { return value ? "True" : "False"; }

std::string NumberText(double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(value)).ptr;
    return std::string(buf, end);
  }
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.7g", value);
  return buf;
}

std::string FormatNumber(double value, std::string_view picture) {
  const auto point = picture.find('.');
  const std::string_view whole = picture.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view{} : picture.substr(point + 1);

  const auto minWhole = static_cast<std::size_t>(std::count(whole.begin(), whole.end(), '0'));
  const bool grouped = whole.find(',') != std::string_view::npos;
  std::size_t decimals = 0;
  std::size_t minDecimals = 0;
  for (char c : fraction) {
    if (c != '0' && c != '#') break;
    if (c == '0' && minDecimals == decimals) ++minDecimals;
    ++decimals;
  }

  const bool negative = value < 0;
  long double scale = 1;
  for (std::size_t i = 0; i < decimals; ++i) scale *= 10;
  // A tiny nudge so that values such as 1.05 stored as 1.0499999 still round up.
  const long double scaled = std::fabs(static_cast<long double>(value)) * scale * (1 + 1e-12L);
  const auto units = static_cast<unsigned long long>(std::floor(scaled + 0.5L));
  const auto divisor = static_cast<unsigned long long>(scale);

  std::string wholeDigits = std::to_string(units / divisor);
  if (wholeDigits.size() < minWhole) wholeDigits = std::string(minWhole - wholeDigits.size(), '0') + wholeDigits;
  if (grouped) wholeDigits = groupThousands(wholeDigits);

  std::string fractionDigits;
  if (decimals > 0) {
    fractionDigits = std::to_string(units % divisor);
    if (fractionDigits.size() < decimals) fractionDigits = std::string(decimals - fractionDigits.size(), '0') + fractionDigits;
    while (fractionDigits.size() > minDecimals && fractionDigits.back() == '0') fractionDigits.pop_back();
  }

  std::string out = (negative && units != 0) ? "-" : "";
  out += wholeDigits;
  if (!fractionDigits.empty()) out += "." + fractionDigits;
  return out;
}

std::string FormatDateTime(const DateTime& when) {
  if (when.year > 9999) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d/%02d/%02d %02d:%02d:%02d", when.year, when.month, when.day, when.hour, when.minute,
                  when.second);
    return buf;
  }
  // Written digit by digit: a fill formats one date a file.
  std::string text = "0000/00/00 00:00:00";
  const auto put = [&text](std::size_t end, int value, int digits) {
    if (value < 0) value = 0;
    for (int i = 0; i < digits; ++i, value /= 10) text[end - static_cast<std::size_t>(i)] = static_cast<char>('0' + value % 10);
  };
  put(3, when.year, 4);
  put(6, when.month, 2);
  put(9, when.day, 2);
  put(12, when.hour, 2);
  put(15, when.minute, 2);
  put(18, when.second, 2);
  return text;
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 1;
  if (length == 1 || at + length > text.size()) return 1;
  for (std::size_t i = at + 1; i < at + length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 1;
  return length;
}

std::size_t CharacterStart(std::string_view text, std::size_t at) {
  // A sequence is at most four bytes: look back that far for its lead.
  for (std::size_t back = 1; back <= 3 && back <= at; ++back) {
    const std::size_t lead = at - back;
    if ((static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) continue;
    const std::size_t length = CharacterLength(text, lead);
    return lead + length > at ? lead + length : at;
  }
  return at;
}

std::string CutToLength(std::string_view text, std::size_t length) {
  if (text.size() <= length) return std::string(text);
  std::size_t end = length;
  // Back to the lead of the sequence the cut falls in, unless that sequence fits whole.
  for (std::size_t back = 0; back <= 3 && back <= end; ++back) {
    const std::size_t lead = end - back;
    if (lead < text.size() && (static_cast<unsigned char>(text[lead]) & 0xC0) == 0x80) continue;
    if (lead < end && lead + CharacterLength(text, lead) > end) end = lead;
    break;
  }
  return std::string(text.substr(0, end));
}

bool IsFullPath(std::string_view path) {
  const bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
                     (path[2] == '\\' || path[2] == '/');
  return drive || (path.size() > 2 && path[0] == '\\' && path[1] == '\\');
}

std::string NamesOneALine(const std::vector<std::string>& names) {
  constexpr std::size_t kShown = 10;
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < kShown; ++i) text += "     " + names[i] + "\n";
  if (names.size() > kShown) text += "     and " + NumberText(static_cast<double>(names.size() - kShown)) + " more\n";
  return text;
}

std::string CommandArgument(std::string_view path, std::string_view breakers) {
  const bool quoted = path.size() > 1 && path.front() == '"';
  if (quoted || (path.find(' ') == std::string_view::npos && path.find_first_of(breakers) == std::string_view::npos))
    return std::string(path);
  return "\"" + std::string(path) + "\"";
}

bool Like(std::string_view text, std::string_view pattern) {
  std::size_t t = 0;
  std::size_t p = 0;
  std::size_t starP = std::string_view::npos;
  std::size_t starT = 0;
  while (t < text.size()) {
    if (p < pattern.size()) {
      const char pc = pattern[p];
      if (pc == '*') {
        starP = p++;
        starT = t;
        continue;
      }
      if (pc == '[') {
        const auto close = pattern.find(']', p + 1);
        if (close != std::string_view::npos) {
          if (matchesCharList(text[t], pattern.substr(p + 1, close - p - 1))) {
            p = close + 1;
            ++t;
            continue;
          }
        } else if (text[t] == '[') {  // an unclosed bracket stands for itself
          ++p;
          ++t;
          continue;
        }
      } else if (pc == '?') {
        ++p;
        t += CharacterLength(text, t);
        continue;
      } else if ((pc == '#' && isDigit(text[t])) || (pc != '#' && pc == text[t])) {
        ++p;
        ++t;
        continue;
      }
    }
    if (starP == std::string_view::npos) return false;
    p = starP + 1;
    t = starT += CharacterLength(text, starT);
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchesFilePattern(std::string_view name, std::string_view pattern) {
  // Letter case is ignored character by character: a directory search asks this of
  // every name in the folder.
  if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" && name.find('.') == std::string_view::npos)
    return MatchesFilePattern(name, pattern.substr(0, pattern.size() - 2));
  // Iterative wildcard match with one back-tracking point for the last '*'.
  std::size_t i = 0;
  std::size_t j = 0;
  std::size_t star = std::string_view::npos;
  std::size_t mark = 0;
  while (i < name.size()) {
    if (j < pattern.size() && pattern[j] == '?') {
      i += CharacterLength(name, i);
      ++j;
    } else if (j < pattern.size() && lowerChar(pattern[j]) == lowerChar(name[i])) {
      ++i;
      ++j;
    } else if (j < pattern.size() && pattern[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string_view::npos) {
      j = star + 1;
      i = mark += CharacterLength(name, mark);
    } else {
      return false;
    }
  }
  while (j < pattern.size() && (pattern[j] == '*' || pattern[j] == '?')) ++j;
  return j == pattern.size();
}

std::string AbbreviatePath(std::string_view path, std::size_t length) {
  if (path.size() <= length) return std::string(path);
  const std::size_t rootEnd = path.find('\\');
  const std::string_view root = rootEnd == std::string_view::npos ? std::string_view() : path.substr(0, rootEnd + 1);
  for (std::size_t at = path.find('\\', root.size()); at != std::string_view::npos; at = path.find('\\', at + 1)) {
    if (root.size() + 3 + path.size() - at <= length) return std::string(root) + "..." + std::string(path.substr(at));
  }
  if (length <= 3) return std::string(path.substr(path.size() - length));
  return "..." + std::string(path.substr(path.size() - (length - 3)));
}

std::string FreeNumberedName(const std::string& wanted, const std::function<bool(const std::string&)>& taken) {
  if (!taken(wanted)) return wanted;
  const std::string::size_type dot = wanted.find_last_of('.');
  const std::string::size_type slash = wanted.find_last_of("\\/");
  const bool hasDot = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  const std::string stem = hasDot ? wanted.substr(0, dot) : wanted;
  const std::string extension = hasDot ? wanted.substr(dot) : "";
  for (int n = 2;; ++n) {
    std::string candidate = stem + " (" + NumberText(n) + ")" + extension;
    if (!taken(candidate)) return candidate;
  }
}

bool AcceptsIntervalKey(int key) { return (key >= '0' && key <= '9') || key == '.' || key < 32; }

std::optional<double> PlainDecimal(std::string_view text) {
  const std::string trimmed = Trim(text);
  int digits = 0;
  int points = 0;
  for (const char c : trimmed) {
    if (c >= '0' && c <= '9') ++digits;
    else if (c == '.') ++points;
    else return std::nullopt;
  }
  if (digits == 0 || points > 1) return std::nullopt;
  return LeadingNumber(trimmed);
}

}  // namespace tapestrel
