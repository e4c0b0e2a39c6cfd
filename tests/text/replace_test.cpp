// Tests of replacement at the cursor and of the bulk replacements: what they
// replace, where the cursor and the block end up, the requests made of the
// display, and a replace-all over a large text.
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

TEST_F(replacing, at_the_cursor_only_when_a_match_starts_there) {
  strings_are("int", "long");
  text({"print int", "x"}, 0, 2);
  EXPECT_FALSE(replace_at_cursor(document, context, true));
  EXPECT_EQ(shown(), "pr|int int\nx");
  EXPECT_TRUE(screen.take().empty());
  put_cursor(0, 6);
  screen.log.clear();
  EXPECT_TRUE(replace_at_cursor(document, context, true));
  EXPECT_EQ(shown(), "print |long\nx");
  EXPECT_EQ(document.end_column, 10);
  EXPECT_EQ(screen.take(), (log_lines{"paint 0", "draw 1,6", "menus"}));
  expect_sound();
}

TEST_F(replacing, at_the_cursor_moves_an_anchor_behind_it) {
  strings_are("ab", "abcd");
  text({"ab ab x"}, 0, 6);
  toggle_block(document, context);  // anchor at 6
  backward_head(document, context, false);
  ASSERT_TRUE(replace_at_cursor(document, context, false));
  EXPECT_EQ(document.anchor_position, 8);
  // An anchor inside the replaced text goes to the replacement's end.
  strings_are("abcd ab", "z");
  document.anchor_position = 2;
  ASSERT_TRUE(replace_at_cursor(document, context, false));
  EXPECT_EQ(shown(), "|z x");
  EXPECT_EQ(document.anchor_position, 1);
}

TEST_F(replacing, refuses_replacements_that_would_break_the_line) {
  text({"int", "x"});
  for (const byte_string& bad : {byte_string("a\r\nb"), byte_string("\x1A"), byte_string("a\x82")}) {
    strings_are("int", bad);
    EXPECT_FALSE(replace_at_cursor(document, context, true));
    EXPECT_EQ(replace_all(document, context), 0);
  }
  EXPECT_EQ(shown(), "|int\nx");
  EXPECT_EQ(document.state, unchanged_state);
}

TEST_F(replacing, replace_all_replaces_every_match_even_right_behind_another) {
  strings_are("int", "x");
  text({"int int", "int", "a int;int", "print"}, 3, 2);
  EXPECT_EQ(replace_all(document, context), 5);
  EXPECT_EQ(shown(), "x x\nx\na x;x\npr|int");
  EXPECT_EQ(document.state, modified_state);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 4,2", "menus"}));
  expect_sound();
}

TEST_F(replacing, replace_all_returns_to_the_remembered_column_and_top) {
  strings_are("b", "bbb");
  std::vector<byte_string> lines(50, "a b");
  text(lines, 30, 2);
  document.top_line = 25;
  EXPECT_EQ(replace_all(document, context), 50);
  EXPECT_EQ(document.current_line, 30);
  EXPECT_EQ(document.column, 2);
  EXPECT_EQ(document.top_line, 25);
  expect_sound();
}

TEST_F(replacing, replaced_text_is_not_searched_again_but_judged_for_word_rules) {
  strings_are("a", "aa");
  context.settings.word_search = false;
  text({"aXa", "a"});
  EXPECT_EQ(replace_all(document, context), 3);
  EXPECT_EQ(internal_lines(document), (std::vector<byte_string>{"aaXaa\r\n", "aa\x1A"}));
  expect_sound();
  // After "a" became "-", the next "a" starts a word.
  context.settings.word_search = true;
  strings_are("a", "-");
  text({"a a"});
  EXPECT_EQ(replace_all(document, context), 2);
  // "x" before the first "ab" is a word character: no match; the others are words.
  strings_are("ab", "");
  text({"xabab ab"});
  EXPECT_EQ(replace_all(document, context), 1);
  EXPECT_EQ(internal_lines(document)[0], byte_string("xabab \x1A"));
}

TEST_F(replacing, replace_forward_and_backward_start_at_the_cursor_and_need_no_block) {
  strings_are("int", "x");
  text({"int int", "int"});
  EXPECT_EQ(replace_forward(document, context), 2);
  EXPECT_EQ(shown(), "|int x\nx");
  expect_sound();
  strings_are("int", "long");
  text({"int", "int", "a int b"}, 2, 2);
  EXPECT_EQ(replace_backward(document, context), 2);
  EXPECT_EQ(shown(), "long\nlong\na |int b");
  // A match that starts before the cursor may reach past it.
  put_cursor(2, 3);
  EXPECT_EQ(replace_backward(document, context), 1);
  EXPECT_EQ(internal_lines(document)[2], byte_string("a long b\x1A"));
  expect_sound();
  strings_are("a", "b");
  text({"a a a"}, 0, 2);
  toggle_block(document, context);
  EXPECT_EQ(replace_forward(document, context), 0);
  EXPECT_EQ(replace_backward(document, context), 0);
  EXPECT_EQ(document.state, unchanged_state);
}

TEST_F(replacing, in_a_character_block_only_matches_wholly_inside) {
  strings_are("a", "bb");
  text({"a a a", "a a ab"}, 0, 2);
  toggle_block(document, context);
  forward_line(document, context, false, false, false);
  forward_char(document, context, false);
  ASSERT_EQ(document.position, 3);
  // Line 0 from offset 2, line 1 up to offset 3: "a a" there, but not the
  // "a" at the block's end.
  EXPECT_EQ(replace_in_block(document, context), 4);
  EXPECT_EQ(shown(), "a bb bb\nbb bb| ab");
  // The block still covers the same text.
  EXPECT_EQ(document.block_state, 2);
  EXPECT_EQ(document.anchor_line, 0);
  EXPECT_EQ(document.anchor_position, 2);
  expect_sound();
}

TEST_F(replacing, in_a_block_before_the_anchor_the_first_match_counts) {
  strings_are("a", "c");
  text({"x a a a"}, 0, 5);
  toggle_block(document, context);
  for (int i = 0; i < 3; ++i) backward_char(document, context, false);
  ASSERT_EQ(document.position, 2);
  // The block is "a a" from the cursor's match to the anchor.
  EXPECT_EQ(replace_in_block(document, context), 2);
  EXPECT_EQ(shown(), "x |c c a");
  EXPECT_TRUE(document.block_backward);
  EXPECT_EQ(document.anchor_position, 5);
}

TEST_F(replacing, in_a_line_block_whole_lines) {
  strings_are("a", "long");
  text({"a", "a", "a"});
  toggle_block(document, context);
  forward_line(document, context, false, true, false);
  forward_line(document, context, false, true, false);
  ASSERT_EQ(document.block_state, 1);
  EXPECT_EQ(replace_in_block(document, context), 2);
  EXPECT_EQ(internal_lines(document),
            (std::vector<byte_string>{"long\r\n", "long\r\n", "a\x1A"}));
  EXPECT_EQ(document.block_state, 1);
  expect_sound();
}

// A one-byte string replaced by a ten-byte string that contains it, over
// 100,000 lines mixing it with double-byte characters whose second byte has the
// same value.
TEST_F(replacing, replace_all_over_a_large_text) {
  std::mt19937 random(11);
  const char* const pieces[] = {"a", "aa", " ", "b", "\x83\x61", "\x82\xA0", "xa"};
  std::vector<byte_string> lines;
  std::vector<byte_string> expected;
  std::int64_t matches = 0;
  const byte_string replacement = "[aaaaaaaa]";
  for (int i = 0; i < 100000; ++i) {
    byte_string line, after;
    for (int k = static_cast<int>(random() % 6); k > 0; --k) {
      byte_string piece = pieces[random() % std::size(pieces)];
      line += piece;
      for (std::size_t at = 0; at < piece.size(); ++at) {
        if (piece[at] == 'a' && !(at == 1 && piece[0] == '\x83')) {
          after += replacement;
          ++matches;
        } else {
          after += piece[at];
        }
      }
    }
    lines.push_back(line);
    expected.push_back(after + (i + 1 < 100000 ? "\r\n" : "\x1A"));
  }
  context.settings.word_search = false;
  strings_are("a", replacement);
  text(lines, 50000, 0);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(replace_all(document, context), matches);
  auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 5.0);
  EXPECT_EQ(internal_lines(document), expected);
  expect_sound();
}

}  // namespace
}  // namespace vintorel
