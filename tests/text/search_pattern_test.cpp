// Tests of the prepared search pattern and of matching: the star and backslash
// rules of word search, word boundaries, case folding, character starts, and
// the scanner against a plain check at every character start.
#include "text/search_pattern.h"

#include <gtest/gtest.h>

#include <random>

#include "text/char_class.h"

namespace vintorel {
namespace {

TEST(search_pattern, stars_and_backslashes_under_word_search) {
  // need_start / need_end: 1 or 0 as expected, -1 not checked.
  struct row { const char* search; bool word; const char* bytes; int start, end; };
  const row rows[] = {
      {"int*", true, "int", 1, 0},
      {"*int", true, "int", 0, 1},
      {"a\\*", true, "a*", -1, 1},                       // escaped last star is literal
      {"a\\b\x95\x5C", true, "ab\x95\x5C", -1, -1},   // 0x5C as a second byte stays
      {"\x95\x5C*", true, "\x95\x5C", -1, 0},          // ... and escapes no star
      {"*a\\*", false, "*a\\*", -1, -1},               // no word search: as it is
  };
  for (const row& r : rows) {
    search_pattern p = prepare_pattern(r.search, false, r.word);
    EXPECT_EQ(p.bytes, r.bytes) << r.search;
    if (r.start >= 0) {
      EXPECT_EQ(p.need_start, r.start == 1) << r.search;
    }
    if (r.end >= 0) {
      EXPECT_EQ(p.need_end, r.end == 1) << r.search;
    }
  }
  // Nothing left, or a line end inside: nothing can match.
  EXPECT_FALSE(prepare_pattern("*", false, true).usable);
  EXPECT_FALSE(prepare_pattern("a\r\nb", false, false).usable);
  EXPECT_FALSE(matches_at("*\r\n", 0, prepare_pattern("*", false, true)));
}

TEST(search_pattern, boundaries_case_and_character_starts) {
  struct row { byte_string line; std::size_t p; const char* search; bool ignore_case, word, match; };
  const byte_string line = "print int integer";
  const row rows[] = {
      {line, 2, "int", false, true, false},  // inside print
      {line, 6, "int", false, true, true},
      {line, 10, "int", false, true, false},  // the start of integer
      {line, 10, "int*", false, true, true},
      {line, 2, "int*", false, true, false},
      {line, 2, "*int", false, true, true},
      {line, 10, "*int", false, true, false},
      {line, 2, "int", false, false, true},
      {"a* b", 0, "a\\*", false, true, true},  // an escaped star as it stands
      {"ab", 0, "a\\*", false, true, false},
      {"a(b", 1, "(b", false, true, true},  // punctuation needs no boundary
      // A double-byte character is a boundary even with a letter-like second byte.
      {"\x83\x41int\x83\x41", 2, "int", false, true, true},
      {"\x83\x41" "B", 0, "\x83\x41", false, true, true},
      {"x INT y", 2, "int", true, true, true},
      {"x INT y", 2, "int", false, true, false},
      {"\x83\x61", 0, "\x83\x41", true, true, false},  // double bytes are not folded
      {"\x83\x41", 0, "\x83\x41", true, true, true},
      {"\x82\xA0\xA0", 1, "\xA0", false, false, false},  // a second byte is no start
      {"\x82\xA0\xA0", 2, "\xA0", false, false, true},
      {"a\x82\xA0", 0, "a\x82", false, false, false},  // no half of the next character
      {"a\x82\r\n", 0, "a\x82", false, false, true},
      {"ab", 1, "bc", false, false, false},  // never past the line's end
      {"ab", 5, "b", false, false, false},
  };
  for (const row& r : rows)
    EXPECT_EQ(matches_at(r.line, r.p, prepare_pattern(r.search, r.ignore_case, r.word)), r.match)
        << r.line << " @" << r.p << " " << r.search;
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
