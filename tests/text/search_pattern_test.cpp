// Tests of the prepared search pattern and of matching: the star and backslash
// rules of word search, word boundaries, case folding, character starts, and
// the scanner against a plain check at every character start.
#include "text/search_pattern.h"

#include <gtest/gtest.h>

#include <random>

#include "text/char_class.h"

namespace vintorel {
namespace {

bool matches(const byte_string& line, std::size_t p, const byte_string& search,
             bool ignore_case = false, bool word_search = true) {
  return matches_at(line, p, prepare_pattern(search, ignore_case, word_search));
}

TEST(search_pattern, stars_and_backslashes_under_word_search) {
  search_pattern p = prepare_pattern("int*", false, true);
  EXPECT_EQ(p.bytes, "int");
  EXPECT_TRUE(p.need_start);
  EXPECT_FALSE(p.need_end);
  p = prepare_pattern("*int", false, true);
  EXPECT_EQ(p.bytes, "int");
  EXPECT_FALSE(p.need_start);
  EXPECT_TRUE(p.need_end);
  // A backslash before the last star makes it a literal star.
  p = prepare_pattern("a\\*", false, true);
  EXPECT_EQ(p.bytes, "a*");
  EXPECT_TRUE(p.need_end);
  // Backslashes standing alone go; 0x5C as a second byte stays.
  p = prepare_pattern("a\\b\x95\x5C", false, true);
  EXPECT_EQ(p.bytes, "ab\x95\x5C");
  // ... and does not escape a star behind it.
  p = prepare_pattern("\x95\x5C*", false, true);
  EXPECT_EQ(p.bytes, "\x95\x5C");
  EXPECT_FALSE(p.need_end);
  // Without word search the string is taken as it is.
  p = prepare_pattern("*a\\*", false, false);
  EXPECT_EQ(p.bytes, "*a\\*");
  // Nothing left, or a line end inside: nothing can match.
  EXPECT_FALSE(prepare_pattern("*", false, true).usable);
  EXPECT_FALSE(prepare_pattern("a\r\nb", false, false).usable);
  EXPECT_FALSE(matches("*\r\n", 0, "*", false, true));
}

TEST(search_pattern, word_boundaries) {
  const byte_string line = "print int integer";
  EXPECT_FALSE(matches(line, 2, "int"));   // inside print
  EXPECT_TRUE(matches(line, 6, "int"));
  EXPECT_FALSE(matches(line, 10, "int"));  // the start of integer
  EXPECT_TRUE(matches(line, 10, "int*"));
  EXPECT_FALSE(matches(line, 2, "int*"));
  EXPECT_TRUE(matches(line, 2, "*int"));
  EXPECT_FALSE(matches(line, 10, "*int"));
  EXPECT_TRUE(matches(line, 2, "int", false, false));  // no word search
  // An escaped star is searched for as it stands.
  EXPECT_TRUE(matches("a* b", 0, "a\\*"));
  EXPECT_FALSE(matches("ab", 0, "a\\*"));
  // Punctuation at the pattern's edges needs no boundary.
  EXPECT_TRUE(matches("a(b", 1, "(b"));
  // A double-byte character before or after a word is a boundary, even when
  // its second byte looks like a letter (0x83 0x41).
  EXPECT_TRUE(matches("\x83\x41int\x83\x41", 2, "int"));
  EXPECT_TRUE(matches("\x83\x41" "B", 0, "\x83\x41"));
}

TEST(search_pattern, case_folding_leaves_double_byte_characters_alone) {
  EXPECT_TRUE(matches("x INT y", 2, "int", true));
  EXPECT_FALSE(matches("x INT y", 2, "int", false));
  // 0x83 0x41 and 0x83 0x61 are different characters.
  EXPECT_FALSE(matches("\x83\x61", 0, "\x83\x41", true));
  EXPECT_TRUE(matches("\x83\x41", 0, "\x83\x41", true));
}

TEST(search_pattern, matches_start_and_end_on_character_boundaries) {
  // "\x82\xA0" followed by "\xA0": the second byte of the pair is no start.
  EXPECT_FALSE(matches("\x82\xA0\xA0", 1, "\xA0", false, false));
  EXPECT_TRUE(matches("\x82\xA0\xA0", 2, "\xA0", false, false));
  // A pattern ending in a lone lead byte must not take half of the next
  // character.
  EXPECT_FALSE(matches("a\x82\xA0", 0, "a\x82", false, false));
  EXPECT_TRUE(matches("a\x82\r\n", 0, "a\x82", false, false));
  // Never past the end of the line.
  EXPECT_FALSE(matches("ab", 1, "bc", false, false));
  EXPECT_FALSE(matches("ab", 5, "b", false, false));
}

// The scanner must find exactly the matches that matches_at finds at character
// starts, whatever mix of lead bytes, letters and second bytes the line holds.
TEST(search_pattern, scanner_agrees_with_the_plain_check) {
  std::mt19937 random(7);
  const char* const pieces[] = {"a", "A", "b", "_", " ", "\x82\xA0", "\x83\x41", "\x88\x9F",
                                "\x95\x5C", "\x81\x81", "\x81", "\\", "*", "\x83\x61"};
  auto piece = [&] { return byte_string(pieces[random() % std::size(pieces)]); };
  for (int round = 0; round < 4000; ++round) {
    byte_string line;
    for (int i = static_cast<int>(random() % 30); i > 0; --i) line += piece();
    line += "\r\n";
    byte_string search;
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i) search += piece();
    search_pattern pattern = prepare_pattern(search, random() % 2, random() % 2);
    std::vector<std::size_t> expected;
    for (std::size_t p = 0; p < line.size(); p += character_length(line, p))
      if (matches_at(line, p, pattern)) expected.push_back(p);
    for (std::size_t p = 0; p < line.size(); ++p) {
      if (!is_trail_byte(line.c_str(), line.c_str() + p)) continue;
      ASSERT_FALSE(matches_at(line, p, pattern)) << "second byte " << p << " of \"" << line << "\"";
    }
    std::vector<std::size_t> found;
    match_scanner scanner(line, pattern);
    for (std::size_t at = scanner.next(0, line.size(), line.size()); at != std::string_view::npos;
         at = scanner.next(at + 1, line.size(), line.size()))
      found.push_back(at);
    ASSERT_EQ(found, expected) << "line \"" << line << "\" search \"" << search << "\"";
  }
}

}  // namespace
}  // namespace vintorel
