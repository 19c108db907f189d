#include <algorithm>
#include <vector>

#include <gtest/gtest.h>

#include "catalogue/file_list.h"
#include "platform/text.h"
#include "wallpaper/rotation.h"

namespace tapestrel {
namespace {

TEST(Text, TrimAtNullCutsAtTheFirstNulAndTrimsBlanks) {
  EXPECT_EQ(TrimAtNull(std::string("  C:\\WINDOWS\0garbage   ", 23)), "C:\\WINDOWS");
  EXPECT_EQ(TrimAtNull(std::string(255, ' ')), "");
  EXPECT_EQ(TrimAtNull(std::string("\0abc", 4)), "");
  EXPECT_EQ(TrimAtNull("plain"), "plain");
}

TEST(Text, DirectoryPart) {
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {{"C:\\Pictures\\sea.bmp", "C:\\Pictures\\"},
               {"C:/Pictures/sea.bmp", "C:/Pictures/"},
               {"C:\\sea.bmp", "C:\\"},
               {"C:sea.bmp", ""},
               {"sea.bmp", ""},
               {"\\\\server\\share\\a.jpg", "\\\\server\\share\\"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(DirectoryPart(c.path), c.folder) << c.path;
}

TEST(Text, FreeNumberedNamesCountPastTakenOnesAndKeepTheExtension) {
  const std::vector<std::string> taken{"C:\\a\\sea.jpg", "C:\\a\\sea (2).jpg", "C:\\v1.0\\notes"};
  const auto isTaken = [&](const std::string& p) { return std::find(taken.begin(), taken.end(), p) != taken.end(); };
  EXPECT_EQ(FreeNumberedName("C:\\a\\alps.jpg", isTaken), "C:\\a\\alps.jpg");
  EXPECT_EQ(FreeNumberedName("C:\\a\\sea.jpg", isTaken), "C:\\a\\sea (3).jpg");
  EXPECT_EQ(FreeNumberedName("C:\\v1.0\\notes", isTaken), "C:\\v1.0\\notes (2)");  // the folder's dot is no extension
}

TEST(Text, NormalizeFolderEndsInExactlyOneBackslash) {
  const struct {
    const char* given;
    const char* normal;
  } cases[] = {{"C:\\Pictures", "C:\\Pictures\\"},
               {"C:\\Pictures\\", "C:\\Pictures\\"},
               {"  C:\\Pictures  ", "C:\\Pictures\\"},
               {"C:\\Pictures\\\\", "C:\\Pictures\\"},
               {"C:\\\\Pictures\\\\Sea", "C:\\Pictures\\\\Sea\\"},  // only the first pair folds
               {"\\\\server\\share", "\\\\server\\share\\"},        // a network path keeps its lead
               {"\\\\server\\share\\\\", "\\\\server\\share\\"},
               {"", "\\"}};
  for (const auto& c : cases) EXPECT_EQ(NormalizeFolder(c.given), c.normal) << c.given;
}

TEST(Text, LeadingNumbers) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"02", 2},     {"  15", 15},  {"12abc", 12}, {"", 0},     {"abc", 0},   {"-3", -3},
               {"0.5", 0.5},  {".5", 0.5},   {"1.2.3", 1.2}, {"+7", 7},  {"-", 0},     {"0 123", 0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
  EXPECT_EQ(LeadingInteger("2.5"), 2);  // half to even
  EXPECT_EQ(LeadingInteger("3.5"), 4);
  EXPECT_EQ(LeadingInteger("99999999999"), 2147483647);
  EXPECT_TRUE(StartsWithNumber(" -.5"));
  EXPECT_FALSE(StartsWithNumber("x1"));
  EXPECT_FALSE(StartsWithNumber("-"));
}

TEST(Text, StoredFlagsReadAsTextOrNumber) {
  const struct {
    const char* text;
    bool fallback;
    bool value;
  } cases[] = {{"True", false, true},  {"False", true, false}, {"true", false, true}, {"FALSE", true, false},
               {"0", true, false},     {"-1", false, true},    {"1", false, true},    {"2", false, true},
               {"", true, true},       {"", false, false},     {"maybe", true, true}, {" True ", false, true}};
  for (const auto& c : cases) EXPECT_EQ(ReadFlag(c.text, c.fallback), c.value) << "'" << c.text << "'";
  EXPECT_EQ(FlagText(true), "True");
  EXPECT_EQ(FlagText(false), "False");
}

TEST(Text, NumberTextIsTheShortestDecimal) {
  EXPECT_EQ(NumberText(2), "2");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(0.5), "0.5");
  EXPECT_EQ(NumberText(15.25), "15.25");
  EXPECT_EQ(NumberText(2147483647), "2147483647");
  EXPECT_EQ(NumberText(0.1 + 0.2), "0.3");
}

TEST(Text, NumericPictures) {
  const struct {
    double value;
    const char* picture;
    const char* text;
  } cases[] = {{1, "000000", "000001"},          {123456, "000000", "123456"},
               {1234567, "000000", "1234567"},   {999, "#,###", "999"},
               {1234, "#,###", "1,234"},         {1234567, "#,###", "1,234,567"},
               {0, "#,###", "0"},                {1234.56, "#,###.#", "1,234.6"},
               {12, "#,###.#", "12"},            {0.5, "#,###.#", "0.5"},
               {1.005, "#,###.##", "1.01"},      {976.5625, "#,###.##", "976.56"},
               {15, "0.0", "15.0"},              {0.5, "0.0", "0.5"},
               {9.96, "0.0", "10.0"},            {15, "0", "15"},
               {2.5, "0", "3"},                  {12.3, "00000000.0", "00000012.3"},
               {-1234.5, "#,###.#", "-1,234.5"}, {-0.01, "0.0", "0.0"}};
  for (const auto& c : cases) EXPECT_EQ(FormatNumber(c.value, c.picture), c.text) << c.value << " " << c.picture;
}

TEST(Text, DatesSortAsText) {
  EXPECT_EQ(FormatDateTime({2026, 3, 7, 9, 5, 0}), "2026/03/07 09:05:00");
  EXPECT_LT(FormatDateTime({2026, 3, 7, 9, 5, 0}), FormatDateTime({2026, 11, 1, 0, 0, 0}));
  EXPECT_EQ(FormatDateTime({1601, 1, 1, 0, 0, 0}), "1601/01/01 00:00:00");
}

TEST(Text, LikePatterns) {
  const struct {
    const char* text;
    const char* pattern;
    bool match;
  } cases[] = {{"sea.jpg", "*.jp?", true},      {"sea.jpeg", "*.jp?", false}, {"sea.jpe", "*.jp?", true},
               {"sea.bmp", "*.bmp", true},      {"sea.bmp", "*", true},       {"", "*", true},
               {"", "?", false},                {"a1.bmp", "a#.bmp", true},   {"ab.bmp", "a#.bmp", false},
               {"cat.png", "[bc]at.png", true}, {"rat.png", "[bc]at.png", false},
               {"rat.png", "[!bc]at.png", true}, {"m.gif", "[a-m].gif", true}, {"z.gif", "[a-m].gif", false},
               {"a*b", "a[*]b", true},          {"abcabc", "*abc", true},     {"ab", "a*b*", true},
               {"x.tga", "*.*", true},          {"noext", "*.*", false},      {"SEA.JPG", "*.jpg", false}};
  for (const auto& c : cases) EXPECT_EQ(Like(c.text, c.pattern), c.match) << c.text << " Like " << c.pattern;
}

TEST(Text, DirectorySearchPatternsIgnoreCase) {
  struct Case {
    const char* name;
    const char* pattern;
    bool match;
  } const cases[] = {
      {"Sea.BMP", "*.bmp", true},   {"photo.JPG", "*.jp?", true}, {"photo.jpeg", "*.jp?", false},
      {"README", "*.*", true},      {"a.b.c", "*.c", true},       {"notes.txt", "*.bmp", false},
      {"abc.gif", "A?C.*", true},   {"ac.gif", "a?c.*", false},   {"x", "*", true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MatchesFilePattern(c.name, c.pattern), c.match) << c.name << " against " << c.pattern;
}

// Names are UTF-8 under the program's code page: a '?' is one letter however many bytes
// it takes, and nothing cuts a name inside a letter. A byte of an older code page is a
// letter on its own.
TEST(Text, PatternsAndCutsTakeUtf8LettersWhole) {
  const std::string e = "\xC3\xA9";       // é
  const std::string sun = "\xE6\x97\xA5";  // 日
  EXPECT_TRUE(MatchesFilePattern(e + ".bmp", "?.bmp"));
  EXPECT_TRUE(MatchesFilePattern(sun + ".bmp", "?.bmp"));
  EXPECT_FALSE(MatchesFilePattern(sun + ".bmp", "??.bmp"));
  EXPECT_FALSE(MatchesFilePattern(sun + ".bmp", "*??.bmp"));  // not by starting inside the letter
  EXPECT_TRUE(MatchesFilePattern("x" + sun + ".bmp", "*??.bmp"));
  EXPECT_TRUE(MatchesFilePattern("\xE9.bmp", "?.bmp"));  // é in an ANSI code page
  EXPECT_TRUE(Like("caf" + e, "caf?"));
  EXPECT_FALSE(Like(sun, "??"));
  EXPECT_FALSE(Like(sun + "x", "*??x"));

  EXPECT_EQ(CharacterStart("a" + sun, 2), 4u);
  EXPECT_EQ(CharacterStart("a" + sun, 1), 1u);
  EXPECT_EQ(CharacterStart("ab\x97", 2), 2u);  // a stray byte is a letter of its own
  // A cut keeps whole characters: never a lead byte without the rest of its sequence.
  EXPECT_EQ(CutToLength("a" + sun + "b", 2), "a");
  EXPECT_EQ(CutToLength("a" + sun + "b", 4), "a" + sun);
  EXPECT_EQ(CutToLength("a" + sun + "b", 3), "a");
  EXPECT_EQ(CutToLength("abc", 5), "abc");
  EXPECT_EQ(CutToLength("ab\x97z", 3), "ab\x97");
  EXPECT_EQ(CommandArgument("C:\\My Tools\\a.exe"), "\"C:\\My Tools\\a.exe\"");
  EXPECT_EQ(CommandArgument("C:\\a,b"), "C:\\a,b");
  EXPECT_EQ(CommandArgument("C:\\a,b", " ,"), "\"C:\\a,b\"");
  for (const char* full : {"C:\\", "d:/x", "\\\\server\\share"}) EXPECT_TRUE(IsFullPath(full)) << full;
  for (const char* part : {"Trips", "C:Trips", "\\Trips", "", "1:\\x"}) EXPECT_FALSE(IsFullPath(part)) << part;
  EXPECT_EQ(FileList::FileTypeOf("x." + e + e), e);
  EXPECT_EQ(Rotation::ShortenedPath("C:\\" + std::string(20, 'a') + sun + sun + sun + "b.bmp", 16), "C:\\..." + sun + "b.bmp");
}

}  // namespace
}  // namespace tapestrel
