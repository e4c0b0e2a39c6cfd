// Tests of the editing commands: insertion in both modes, line split and join
// with automatic indent, deletion and backspacing, and the case flip.
#include "text/editing.h"

#include <gtest/gtest.h>

#include "text/deleted_chars.h"
#include "text/motion.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

const byte_string hiragana_a = "\x82\xA0";

struct editing : testing::text_test {
  deleted_char_buffer deleted{1024};

  editing() : text_test({1, 0, 5, 20, 8, false}) { context.deleted = &deleted; }
};

TEST_F(editing, typing_inserts_and_moves_behind_the_text) {
  text({"abc", "x"}, 0, 1);
  insert_string(document, context, "XY", true, true, false);
  EXPECT_EQ(shown(), "aXY|bc\nx");
  EXPECT_EQ(document.column, 3);
  EXPECT_EQ(document.desired_column, 3);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 1,1", "paint 0", "status", "draw 1,3"}));
  insert_string(document, context, "-", true, false, false);
  EXPECT_EQ(shown(), "aXY|-bc\nx");
  expect_sound();
}

TEST_F(editing, a_line_end_splits_the_line) {
  text({"abcdef", "x"}, 0, 3);
  std::int64_t size = document.size;
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "abc\n|def\nx");
  EXPECT_EQ(document.size, size + 2);
  EXPECT_EQ(document.state, modified_state);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 2,0"}));
  expect_sound();
  // On the last line, at its end.
  put_cursor(2, 1);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "abc\ndef\nx\n|");
  expect_sound();
}

TEST_F(editing, delete_char_at_a_line_end_joins_the_next_line) {
  text({"ab", "cd", "ef"}, 0, 2);
  delete_char(document, context, true, true, false);
  EXPECT_EQ(shown(), "ab|cd\nef");
  EXPECT_EQ(document.state, modified_state);
  // Fewer lines than rows: the row below the new last line is cleared.
  EXPECT_EQ(screen.take_screen(), (log_lines{"clear 3", "repaint", "draw 1,2"}));
  expect_sound();
  // The end of the text cannot be deleted.
  put_cursor(1, 2);
  delete_char(document, context, true, true, false);
  EXPECT_EQ(shown(), "abcd\nef|");
  expect_sound();
}

TEST_F(editing, joining_keeps_the_view_inside_the_text) {
  text({"0", "1", "2", "3", "4", "5", "6"}, 5, 1);
  document.top_line = 2;  // the last possible top for 7 lines and 5 rows
  delete_char(document, context, true, true, false);
  EXPECT_EQ(document.line_count(), 6);
  EXPECT_EQ(document.top_line, 1);
  expect_sound();
}

TEST_F(editing, read_only_texts_and_blocks_refuse_every_edit) {
  text({"Abc", "def"}, 0, 1);
  document.state = read_only_state;
  insert_string(document, context, "x", true, true, false);
  insert_linefeed(document, context, true, true, false, true);
  delete_char(document, context, true, true, false);
  backspace_char(document, context, true, true);
  delete_tail(document, context, true, true);
  insert_line(document, context, true);
  put_cursor(0, 0);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "|Abc\ndef");
  EXPECT_EQ(document.state, read_only_state);
  EXPECT_EQ(deleted.count, 0);
  EXPECT_TRUE(screen.log.empty());

  text({"Abc", "def"}, 0, 1);
  document.block_state = 2;
  insert_string(document, context, "x", true, true, false);
  delete_char(document, context, true, true, false);
  backspace_word(document, context);
  EXPECT_EQ(shown(), "A|bc\ndef");
  change_word_case(document, context);  // needs only the cursor line
  put_cursor(0, 0);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "|abc\ndef");
}

TEST_F(editing, deleting_records_each_character_for_undo) {
  text({"a" + hiragana_a, "b"}, 0, 0);
  delete_char(document, context, true, true, false);
  delete_char(document, context, true, true, false);
  delete_char(document, context, true, true, false);  // the line end
  forward_char(document, context, true);
  backspace_char(document, context, true, true);
  ASSERT_EQ(deleted.count, 4);
  const unsigned char* s = deleted.storage.data();
  EXPECT_EQ(s[0], 0);
  EXPECT_EQ(s[1], 'a');
  EXPECT_EQ(s[2], 0);
  EXPECT_EQ(s[4], 0x82);
  EXPECT_EQ(s[5], 0xA0);
  EXPECT_EQ(s[7], 13);
  EXPECT_EQ(s[8], 10);
  EXPECT_EQ(s[9], 1);  // the backspace
  EXPECT_EQ(s[12], 0);
  expect_sound();
}

TEST_F(editing, size_follows_every_edit) {
  text({"abc", "def", "ghi"}, 1, 1);
  insert_string(document, context, hiragana_a, true, true, false);
  insert_linefeed(document, context, true, true, false, false);
  backspace_char(document, context, true, true);
  delete_tail(document, context, true, true);
  delete_char(document, context, true, true, false);
  insert_line(document, context, true);
  expect_sound();
  // An unknown size stays unknown.
  document.size = -1;
  insert_string(document, context, "x", true, true, false);
  EXPECT_EQ(document.size, -1);
}

}  // namespace
}  // namespace vintorel
