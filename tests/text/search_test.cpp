// Tests of matching (the star and backslash rules of word search, boundaries,
// case folding, character starts, the scanner against a plain check) and of
// searching through a text.
#include "text/search.h"

#include <gtest/gtest.h>

#include <random>

#include "text/char_class.h"
#include "text/search_pattern.h"
#include "text/search_strings.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

TEST(search_pattern, stars_backslashes_boundaries_case_and_character_starts) {
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
      {"a* b", 0, "a\\*", false, true, true},  // an escaped star as it stands
      {"ab\x95\x5C", 0, "a\\b\x95\x5C", false, true, true},  // 0x5C as a second byte stays
      {"\x95\x5Cx", 0, "\x95\x5C*", false, true, true},      // ... and escapes no star
      {"*a\\*", 0, "*a\\*", false, false, true},             // no word search: as it is
      // A double-byte character is a boundary even with a letter-like second byte.
      {"\x83\x41int\x83\x41", 2, "int", false, true, true},
      {"x INT y", 2, "int", true, true, true},
      {"\x83\x61", 0, "\x83\x41", true, true, false},  // double bytes are not folded
      {"\x82\xA0\xA0", 1, "\xA0", false, false, false},  // a second byte is no start
      {"a\x82\xA0", 0, "a\x82", false, false, false},  // no half of the next character
      {"ab", 1, "bc", false, false, false},  // never past the line's end
      {"*\r\n", 0, "*", false, true, false},  // nothing left to look for
      {"a\r\nb", 0, "a\r\nb", false, false, false},
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
    byte_string line, search;
    for (int i = static_cast<int>(random() % 30); i > 0; --i) line += piece();
    line += "\r\n";
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i) search += piece();
    search_pattern pattern = prepare_pattern(search, random() % 2, random() % 2);
    std::vector<std::size_t> expected, found;
    for (std::size_t p = 0; p < line.size(); ++p) {
      bool second_byte = is_trail_byte(line.c_str(), line.c_str() + p);
      if (matches_at(line, p, pattern)) (second_byte ? found : expected).push_back(p);
    }
    match_scanner scanner(line, pattern);
    for (std::size_t at = scanner.next(0, line.size(), line.size()); at != std::string_view::npos;
         at = scanner.next(at + 1, line.size(), line.size()))
      found.push_back(at);
    ASSERT_EQ(found, expected) << "line \"" << line << "\" search \"" << search << "\"";
  }
}

struct searching : testing::text_test {
  search_strings strings;

  searching() : text_test({1, 0, 20, 40, 8, false}) { context.search = &strings; }
};

TEST_F(searching, forward_and_backward_skip_the_match_at_the_cursor_and_never_stop_on_a_second_byte) {
  strings.search_string = "int";
  text({"int a; print int;", "a int b"});
  EXPECT_TRUE(search_forward(document, context, true));
  EXPECT_EQ(shown(), "int a; print |int;\na int b");
  EXPECT_TRUE(search_forward(document, context, true));
  EXPECT_FALSE(search_forward(document, context, true));
  put_cursor(1, 3);
  EXPECT_TRUE(search_backward(document, context, false));  // a match may reach past the cursor
  EXPECT_EQ(document.position, 2);
  EXPECT_TRUE(search_backward(document, context, false));
  EXPECT_EQ(shown(), "int a; print |int;\na int b");
  strings.search_string = "\xA0";
  context.settings.word_search = false;
  text({"\x82\xA0\x82\xA0x\xA0"});
  ASSERT_TRUE(search_forward(document, context, false));
  EXPECT_EQ(document.position, 5);
  put_cursor(0, 5);
  ASSERT_FALSE(search_backward(document, context, false));
  // The copy for the dialog never splits a character.
  EXPECT_EQ(cut_for_dialog(byte_string(254, 'a') + "\x82\xA0" + "b").size(), 254u);
}

}  // namespace
}  // namespace vintorel
