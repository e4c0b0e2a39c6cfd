// Tests of replacement at the cursor and of the bulk replacements: what they
// replace, what they refuse, where the cursor and the block end up, and a
// replace-all over a large text.
#include "text/replace.h"

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "text/block.h"
#include "text/motion.h"
#include "text/search_strings.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::internal_lines;

struct replacing : testing::text_test {
  search_strings strings;

  replacing() : text_test({1, 0, 20, 40, 8, false}) { context.search = &strings; }
  void strings_are(const byte_string& search, const byte_string& replacement) {
    strings.search_string = search;
    strings.replace_string = replacement;
  }
};

TEST_F(replacing, at_the_cursor_only_when_a_match_starts_there_and_never_breaking_the_line) {
  strings_are("int", "long");
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

TEST_F(replacing, replace_all_takes_every_match_even_right_behind_another) {
  strings_are("int", "x");
  text({"int int", "int", "a int;int", "print"}, 3, 2);
  EXPECT_EQ(replace_all(document, context), 5);
  EXPECT_EQ(shown(), "x x\nx\na x;x\npr|int");
  expect_sound();
}

TEST_F(replacing, in_a_character_block_only_matches_wholly_inside) {
  strings_are("a", "bb");
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
TEST_F(replacing, replace_all_over_a_large_text) {
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
  strings_are("a", "[aaaaaaaa]");
  text(lines, 50000, 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(replace_all(document, context), matches);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
  EXPECT_EQ(internal_lines(document), after);
  expect_sound();
}

}  // namespace
}  // namespace vintorel
