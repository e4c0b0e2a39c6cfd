// Tests of block selection, the string stack and the clipboard: what a push
// takes, what a move deletes, where a pop or the clipboard puts its text, the
// full-stack question, and the edits a block refuses.
#include "text/block.h"

#include <gtest/gtest.h>

#include "platform/scripted_user_interface.h"
#include "text/clipboard.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/string_stack.h"
#include "text/undo.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using entries = std::vector<byte_string>;

struct blocks : testing::text_test {
  scripted_user_interface user;
  string_stack stack{4};
  deleted_char_buffer deleted{64};

  blocks() : text_test({1, 0, 5, 20, 8, false}) {
    context.ui = &user;
    context.stack = &stack;
    context.deleted = &deleted;
  }
  // A block from the cursor to `line`, `position`, made by motions.
  void select_to(std::int32_t line, std::int32_t position) {
    toggle_block(document, context);
    while (document.current_line < line) forward_line(document, context, false, true, false);
    while (document.current_line > line) backward_line(document, context, false, true, false);
    while (document.position < position) forward_char(document, context, false);
    while (document.position > position) backward_char(document, context, false);
  }
};

TEST_F(blocks, blocks_take_whole_lines_or_the_characters_between_their_ends) {
  text({"l0", "l1", "l2", "l3", "l4", "l5"}, 1, 1);
  select_to(4, 1);
  push_string(document, context, false);  // downward: the lines above the cursor line
  put_cursor(5, 0);
  select_to(3, 0);
  push_string(document, context, true);  // upward: without the anchor line
  EXPECT_EQ(user.clipboard, "l3\r\nl4\r\n");
  EXPECT_EQ(shown(), "l0\nl1\nl2\n|l5");
  text({"abcd", "efgh", "ijkl"}, 1, 1);
  select_to(0, 2);  // the cursor before the anchor
  push_string(document, context, true);
  EXPECT_EQ(shown(), "ab|fgh\nijkl");
  select_to(1, 4);  // up to the end of the last line, never its end mark
  push_string(document, context, true);
  EXPECT_EQ(shown(), "ab|");
  EXPECT_EQ(stack.entries, (entries{"Ll1\r\nl2\r\nl3\r\n", "Ll3\r\nl4\r\n", "Ccd\r\ne", "Cfgh\r\nijkl"}));
  expect_sound();
  // The stack is full: it is cleared only when the user agrees.
  push_string(document, context, true);  // Cancel
  EXPECT_EQ(user.asked, (std::vector<std::string>{"confirm 3 28"}));
  EXPECT_EQ(stack.size(), 4u);
  user.confirm_answers = {true};
  user.clipboard_fails = true;  // which does not stop the push
  push_string(document, context, false);
  EXPECT_EQ(stack.entries, (entries{"Cab"}));
}

TEST_F(blocks, without_a_block_the_cursor_line_is_taken_and_pops_go_at_the_cursor_or_above_its_line) {
  text({"one", "two", "three"}, 1, 2);
  push_string(document, context, true);
  put_cursor(1, 2);
  push_string(document, context, false);  // the last line has no line end: characters
  EXPECT_EQ(stack.entries, (entries{"Ltwo\r\n", "Cthree"}));
  pop_string(document, context, true);
  EXPECT_EQ(shown(), "one\nth|threeree");
  put_cursor(1, 1);
  pop_string(document, context, false);
  EXPECT_EQ(shown(), "one\nt|wo\nththreeree");  // at the old column of the new line
  EXPECT_EQ(stack.size(), 1u);
  put_cursor(2, 0);
  delete_line(document, context, true);
  delete_line(document, context, true);  // the emptied last line stays
  EXPECT_EQ(shown(), "one\ntwo\n|");
  expect_sound();
}

TEST_F(blocks, a_block_refuses_edits_and_undo_but_not_the_case_flip) {
  text({"Abc", "def"}, 0, 2);
  delete_char(document, context, true, true, false);
  toggle_block(document, context);
  insert_string(document, context, "x", true, true, false);
  delete_char(document, context, true, true, false);
  backspace_word(document, context);
  undo_char(document, context);
  undo_line(document, context);
  EXPECT_EQ(shown(), "Ab|\ndef");
  put_cursor(0, 0);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "|ab\ndef");
  // Outside the block, undo_char works in whatever text is current.
  text_document other;
  testing::make_text(other, {"xyz"});
  testing::place_cursor(other, context, 0, 3);
  undo_char(other, context);
  EXPECT_EQ(testing::text_with_cursor(other), "xyz|c");
}

TEST_F(blocks, a_block_over_many_lines_is_taken_out_at_once) {
  // Removing index entries one at a time would move the rest of the index for
  // every line: seconds for this block, days for one of ten million lines.
  std::vector<byte_string> lines(300002, "x");
  lines.front() = "first";
  lines.back() = "last";
  text(lines, 0, 2);
  toggle_block(document, context);
  put_cursor(300001, 1);
  delete_block(document, context);
  EXPECT_EQ(shown(), "fi|ast");
  expect_sound();
}

TEST_F(blocks, the_clipboard_makes_lines_of_every_line_end_and_keeps_zeros_and_end_marks_out) {
  const std::pair<byte_string, const char*> rows[] = {
      {"a\nb\rc\r\n", "xa\nb\nc\n|y"},  // a final line end takes the cursor down
      {byte_string("a\x1A" "b\0c", 5), "xab|y"},
  };
  for (const auto& [clip, expected] : rows) {
    user.has_clipboard = true;
    user.clipboard = clip;
    text({"xy"}, 0, 1);
    insert_clipboard(document, context);
    EXPECT_EQ(shown(), expected);
    expect_sound();
  }
}

}  // namespace
}  // namespace vintorel
