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
const byte_string wide_space = "\x81\x40";

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

TEST_F(editing, typing_past_the_right_edge_scrolls_the_pane) {
  text({byte_string(19, 'a'), "x"}, 0, 19);
  insert_string(document, context, "b", true, true, false);
  EXPECT_EQ(document.left_column, 1);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,19"}));
  expect_sound();
}

TEST_F(editing, overwriting_replaces_characters_but_never_the_terminator) {
  context.overwrite_mode = true;
  text({"abcd", "x"}, 0, 1);
  insert_string(document, context, "XY", true, true, false);
  EXPECT_EQ(shown(), "aXY|d\nx");
  insert_string(document, context, "123", true, true, false);  // runs past the end
  EXPECT_EQ(shown(), "aXY123|\nx");
  insert_string(document, context, "!", true, true, false);  // on the terminator
  EXPECT_EQ(shown(), "aXY123!|\nx");
  insert_string(document, context, "f", true, true, true);  // forced insertion
  EXPECT_EQ(shown(), "aXY123!f|\nx");
  expect_sound();
  // The last line keeps its end mark.
  put_cursor(1, 0);
  insert_string(document, context, "long", true, true, false);
  EXPECT_EQ(shown(), "aXY123!f\nlong|");
  expect_sound();
}

TEST_F(editing, overwriting_half_a_double_byte_character_leaves_a_blank) {
  context.overwrite_mode = true;
  text({hiragana_a + "b", "x"}, 0, 0);
  insert_string(document, context, "a", true, true, false);
  EXPECT_EQ(shown(), "a| b\nx");
  text({"x" + hiragana_a + hiragana_a, "x"}, 0, 0);
  insert_string(document, context, "ab", true, true, false);  // ends inside the first
  EXPECT_EQ(shown(), "ab| " + hiragana_a + "\nx");
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

TEST_F(editing, automatic_indent_repeats_the_lines_tabs) {
  context.pane.auto_indent = true;
  text({"\t\ta", "x"}, 0, 3);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "\t\ta\n\t\t|\nx");
  EXPECT_EQ(document.column, 16);
  expect_sound();
  // Between the two TABs the new line starts with a TAB already.
  text({"\t\ta", "x"}, 0, 1);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "\t\n|\ta\nx");
  // Without the pane's switch or the argument there is no indent.
  text({"\t\ta", "x"}, 0, 3);
  insert_linefeed(document, context, true, true, false, false);
  EXPECT_EQ(shown(), "\t\ta\n|\nx");
  context.pane.auto_indent = false;
  text({"\t\ta", "x"}, 0, 3);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "\t\ta\n|\nx");
  expect_sound();
}

TEST_F(editing, in_overwrite_mode_a_line_end_only_moves_to_the_next_line) {
  context.overwrite_mode = true;
  context.pane.auto_indent = true;
  text({"abc", "\t\tdef", "last"}, 0, 1);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "abc\n|\t\tdef\nlast");
  EXPECT_EQ(document.state, unchanged_state);
  // The cursor steps over as many characters as the line left had indent.
  text({"\t\tabc", "\tdef", "last"}, 0, 3);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "\t\tabc\n\td|ef\nlast");
  text({"\t\tabc", "x", "last"}, 0, 3);
  insert_linefeed(document, context, true, true, false, true);  // stops at the CR
  EXPECT_EQ(shown(), "\t\tabc\nx|\nlast");
  // The last line is split as in insert mode.
  put_cursor(2, 2);
  insert_linefeed(document, context, true, true, false, true);
  EXPECT_EQ(shown(), "\t\tabc\nx\nla\n|st");
  expect_sound();
}

TEST_F(editing, insert_line_opens_an_empty_line_above) {
  text({"abc", "def"}, 1, 2);
  insert_line(document, context, true);
  EXPECT_EQ(shown(), "abc\n|\ndef");
  expect_sound();
}

TEST_F(editing, delete_char_removes_the_character_at_the_cursor) {
  text({"a" + hiragana_a + "b", "x"}, 0, 1);
  delete_char(document, context, true, true, false);
  EXPECT_EQ(shown(), "a|b\nx");
  EXPECT_EQ(screen.take_screen(), (log_lines{"paint 0", "status", "draw 1,1"}));
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

TEST_F(editing, word_deletions_stop_at_class_changes) {
  text({"abc   def", "x"}, 0, 3);
  delete_word(document, context);
  EXPECT_EQ(shown(), "abc|def\nx");
  text({"abc def", "x"}, 0, 0);
  delete_word(document, context);
  EXPECT_EQ(shown(), "| def\nx");
  text({"abc", "x"}, 0, 3);
  delete_word(document, context);  // never joins
  EXPECT_EQ(shown(), "abc|\nx");
  text({"ab" + hiragana_a + hiragana_a + "cd", "x"}, 0, 6);
  backspace_word(document, context);
  EXPECT_EQ(shown(), "ab|cd\nx");
  backspace_word(document, context);
  EXPECT_EQ(shown(), "|cd\nx");
  backspace_word(document, context);  // stops at the line start
  EXPECT_EQ(shown(), "|cd\nx");
  expect_sound();
  EXPECT_EQ(deleted.count, 10);  // one entry per character
}

TEST_F(editing, tail_and_head_deletions) {
  text({"abc" + hiragana_a + "def", "x"}, 0, 2);
  delete_tail(document, context, true, true);
  EXPECT_EQ(shown(), "ab|\nx");
  EXPECT_EQ(deleted.count, 5);
  text({"abc" + hiragana_a + "def", "x"}, 0, 5);
  backspace_head(document, context, true, false);
  EXPECT_EQ(shown(), "|def\nx");
  EXPECT_EQ(deleted.count, 5);  // not recorded
  expect_sound();
}

TEST_F(editing, change_word_case_flips_a_run_of_letters) {
  text({"HeLLo1x wOrld", "x"}, 0, 0);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "|hello1x wOrld\nx");
  EXPECT_EQ(screen.take_screen(), (log_lines{"paint 0", "status", "draw 1,0"}));
  put_cursor(0, 8);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "hello1x |WORLD\nx");
  put_cursor(0, 5);  // on the digit: nothing
  change_word_case(document, context);
  EXPECT_EQ(shown(), "hello|1x WORLD\nx");
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
