// Tests of matching (the star and backslash rules of word search, boundaries,
// case folding, character starts, the scanner against a plain check), of
// searching through a text, and of replacing at the cursor, in all the text, in
// a block and over a large text.
#include "text/search.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "text/block.h"
#include "text/char_class.h"
#include "text/motion.h"
#include "text/replace.h"
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
      {line, 2, "*int", false, true, true},
      {"a* b", 0, "a\\*", false, true, true},  // an escaped star as it stands
      {"ab\x95\x5C", 0, "a\\b\x95\x5C", false, true, true},  // 0x5C as a second byte stays
      {"\x95\x5Cx", 0, "\x95\x5C*", false, true, true},      // ... and escapes no star
      {"*a\\*", 0, "*a\\*", false, false, true},             // no word search: as it is
      // A double-byte character is a boundary even with a letter-like second byte.
      {"\x83\x41int\x83\x41", 2, "int", false, true, true},
      {"x INT y", 2, "int", true, true, true},
      {"\x83\x61", 0, "\x83\x41", true, true, false},  // double bytes are not folded
      {"a\x82\xA0", 0, "a\x82", false, false, false},  // no half of the next character
      {"ab", 1, "bc", false, false, false},  // never past the line's end
      {"*\r\n", 0, "*", false, true, false},  // nothing left to look for
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
    // A match at a second byte goes to `found` only, so that the comparison fails.
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

TEST_F(searching, forward_and_backward_skip_the_match_at_the_cursor) {
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
  // The copy for the dialog never splits a character.
  EXPECT_EQ(cut_for_dialog(byte_string(254, 'a') + "\x82\xA0" + "b").size(), 254u);
}

TEST_F(searching, replace_at_the_cursor_only_when_a_match_starts_there_and_never_breaking_the_line) {
  strings = {"int", "long"};
  text({"print int", "x"}, 0, 2);
  EXPECT_FALSE(replace_at_cursor(document, context, true));
  put_cursor(0, 6);
  for (const byte_string& bad : {byte_string("a\r\nb"), byte_string("\x1A"), byte_string("a\x82")}) {
    strings.replace_string = bad;
    EXPECT_FALSE(replace_at_cursor(document, context, true));
    EXPECT_EQ(replace_all(document, context), 0);
  }
  EXPECT_EQ(document.state, unchanged_state);
  strings.replace_string = "long";
  EXPECT_TRUE(replace_at_cursor(document, context, true));
  EXPECT_EQ(shown(), "print |long\nx");
  expect_sound();
}

TEST_F(searching, replace_all_takes_every_match_even_right_behind_another) {
  strings = {"int", "x"};
  text({"int int", "int", "a int;int", "print"}, 3, 2);
  EXPECT_EQ(replace_all(document, context), 5);
  EXPECT_EQ(shown(), "x x\nx\na x;x\npr|int");
  expect_sound();
}

TEST_F(searching, replace_in_a_character_block_only_matches_wholly_inside) {
  strings = {"a", "bb"};
  text({"a a a", "a a ab"}, 0, 2);
  toggle_block(document, context);
  forward_line(document, context, false, false, false);
  forward_char(document, context, false);
  ASSERT_EQ(document.position, 3);
  EXPECT_EQ(replace_in_block(document, context), 4);
  EXPECT_EQ(shown(), "a bb bb\nbb bb| ab");
  EXPECT_EQ(document.anchor_position, 2);  // the block still covers the same text
  expect_sound();
}

// A one-byte string replaced by a ten-byte string that contains it, over
// 100,000 lines mixing it with double-byte characters whose second byte has the
// same value.
TEST_F(searching, replace_all_over_a_large_text) {
  std::mt19937 random(11);
  const char* const pieces[] = {"a", "aa", " ", "b", "\x83\x61", "\x82\xA0", "xa"};  // 0x61 is "a"
  std::vector<byte_string> lines(100000), after(100000);
  std::int64_t matches = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    for (int k = static_cast<int>(random() % 6); k > 0; --k) {
      byte_string piece = pieces[random() % std::size(pieces)];
      lines[i] += piece;
      for (char c : piece) after[i] += c == 'a' && piece[0] != '\x83' ? (++matches, "[aaaaaaaa]") : byte_string(1, c);
    }
    after[i] += i + 1 < lines.size() ? "\r\n" : "\x1A";
  }
  context.settings.word_search = false;
  strings = {"a", "[aaaaaaaa]"};
  text(lines, 50000, 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(replace_all(document, context), matches);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  EXPECT_EQ(testing::internal_lines(document), after);
  expect_sound();
}

}  // namespace
}  // namespace vintorel
