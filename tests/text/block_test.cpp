// Tests of block selection and the string stack: what a push takes, what a
// move deletes, where a pop puts its text, the full-stack question, and the
// requests made of the display.
#include "text/block.h"

#include <gtest/gtest.h>

#include "platform/scripted_user_interface.h"
#include "text/deleted_chars.h"
#include "text/motion.h"
#include "text/string_stack.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::internal_lines;
using testing::make_text;
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
  void down(int lines) {
    for (int i = 0; i < lines; ++i) forward_line(document, context, false, true, false);
  }
};

TEST_F(blocks, toggling_paints_only_when_switching_off_and_an_empty_block_pushes_nothing) {
  text({"abc"}, 0, 1);
  toggle_block(document, context);
  EXPECT_EQ(document.block_state, 2);
  EXPECT_EQ(document.anchor_position, 1);
  EXPECT_TRUE(screen.take().empty());
  push_string(document, context, false);
  EXPECT_TRUE(stack.empty());
  EXPECT_EQ(document.block_state, 2);
  screen.log.clear();
  toggle_block(document, context);
  EXPECT_EQ(document.block_state, 0);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 1,1"}));
}

TEST_F(blocks, a_downward_line_block_pushes_and_moves_the_lines_above_the_cursor) {
  text({"l0", "l1", "l2", "l3", "l4", "l5", "l6", "l7"}, 3, 1);
  toggle_block(document, context);
  down(3);
  ASSERT_EQ(document.block_state, 1);
  push_string(document, context, false);
  EXPECT_EQ(stack.entries, (entries{"Ll3\r\nl4\r\nl5\r\n"}));
  EXPECT_EQ(user.clipboard, "l3\r\nl4\r\nl5\r\n");
  EXPECT_EQ(document.block_state, 0);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 5,1"}));

  put_cursor(3, 1);
  toggle_block(document, context);
  down(3);
  screen.log.clear();
  push_string(document, context, true);
  EXPECT_EQ(stack.size(), 2u);
  EXPECT_EQ(shown(), "l0\nl1\nl2\n|l6\nl7");
  EXPECT_EQ(screen.take(), (log_lines{"menus", "repaint", "draw 4,0", "menus"}));
  EXPECT_EQ(document.block_state, 0);
  EXPECT_EQ(deleted.count, 0);  // moves are not recorded for undo_char
  expect_sound();
}

TEST_F(blocks, an_upward_line_block_leaves_out_the_anchor_line) {
  text({"l0", "l1", "l2", "l3"}, 3, 0);
  toggle_block(document, context);
  backward_line(document, context, false, true, false);
  backward_line(document, context, false, true, false);
  push_string(document, context, true);
  EXPECT_EQ(stack.entries, (entries{"Ll1\r\nl2\r\n"}));
  EXPECT_EQ(shown(), "l0\n|l3");
  expect_sound();
}

TEST_F(blocks, a_character_block_pushes_from_its_start_to_its_end) {
  text({"abcd", "efgh", "ijkl"}, 0, 2);
  toggle_block(document, context);
  forward_line(document, context, false, false, false);
  backward_head(document, context, false);
  forward_char(document, context, false);
  push_string(document, context, false);
  EXPECT_EQ(stack.entries, (entries{"Ccd\r\ne"}));
  // Moving it joins what is left of the two lines; the cursor before the
  // anchor works the same way.
  put_cursor(1, 1);
  toggle_block(document, context);
  backward_line(document, context, false, false, false);
  forward_char(document, context, false);
  ASSERT_TRUE(document.block_backward);
  push_string(document, context, true);
  EXPECT_EQ(stack.entries.back(), "Ccd\r\ne");
  EXPECT_EQ(shown(), "ab|fgh\nijkl");
  expect_sound();
  // Up to the end of the last line, never its end mark.
  put_cursor(0, 3);
  toggle_block(document, context);
  forward_line_tail(document, context, false);
  forward_tail(document, context, false);
  push_string(document, context, true);
  EXPECT_EQ(stack.entries.back(), "Cgh\r\nijkl");
  EXPECT_EQ(shown(), "abf|");
  expect_sound();
}

TEST_F(blocks, without_a_block_the_cursor_line_is_pushed_or_moved) {
  text({"one", "two", ""}, 0, 1);
  push_string(document, context, false);
  put_cursor(1, 0);
  push_string(document, context, false);  // not the last line: "L"
  EXPECT_EQ(stack.entries, (entries{"Lone\r\n", "Ltwo\r\n"}));
  put_cursor(2, 0);
  push_string(document, context, false);  // the empty last line: nothing
  EXPECT_EQ(stack.size(), 2u);
  make_text(document, {"one", "last"});
  put_cursor(1, 2);
  stack.clear();
  push_string(document, context, true);
  EXPECT_EQ(stack.entries, (entries{"Clast"}));
  EXPECT_EQ(shown(), "one\n|");
  expect_sound();
  // Moving it takes the line out; the last line is emptied and then stays.
  text({"one", "two", "three"}, 1, 2);
  push_string(document, context, true);
  EXPECT_EQ(shown(), "one\n|three");
  delete_line(document, context, true);  // the last line is emptied
  EXPECT_EQ(shown(), "one\n|");
  delete_line(document, context, true);  // and then stays as it is
  EXPECT_EQ(shown(), "one\n|");
  expect_sound();
}

TEST_F(blocks, popping_lines_puts_them_above_the_cursor_line_and_characters_at_it) {
  text({"abcdef", "x"}, 0, 3);
  stack.entries = {"Lp\r\nq\r\n"};
  pop_string(document, context, false);
  EXPECT_EQ(shown(), "p|\nq\nabcdef\nx");
  EXPECT_EQ(stack.size(), 1u);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,1"}));
  // The cursor goes back to the old column of the remembered line.
  text({"abcdef", "x"}, 0, 3);
  stack.entries = {"Lpqrs\r\n"};
  pop_string(document, context, true);
  EXPECT_EQ(shown(), "pqr|s\nabcdef\nx");
  EXPECT_TRUE(stack.empty());
  expect_sound();
  text({"xy"}, 0, 1);
  stack.entries = {"Cab\r\ncd"};
  pop_string(document, context, true);
  EXPECT_EQ(shown(), "x|ab\ncdy");
  EXPECT_EQ(document.size, 8);
  expect_sound();
}

TEST_F(blocks, popping_into_a_block_inserts_nothing_but_drops_the_entry) {
  text({"xy"}, 0, 1);
  stack.entries = {"Cab"};
  toggle_block(document, context);
  pop_string(document, context, false);
  EXPECT_EQ(stack.size(), 1u);
  pop_string(document, context, true);
  EXPECT_TRUE(stack.empty());
  EXPECT_EQ(shown(), "x|y");
}

TEST_F(blocks, a_full_stack_is_cleared_only_when_the_user_agrees) {
  text({"a", "b"});
  stack.entries = {"C1", "C2", "C3", "C4"};
  push_string(document, context, true);  // Cancel
  EXPECT_EQ(user.asked, (std::vector<std::string>{"confirm 3 28"}));
  EXPECT_EQ(stack.size(), 4u);
  EXPECT_EQ(shown(), "|a\nb");
  user.confirm_answers = {true};
  push_string(document, context, false);
  EXPECT_EQ(stack.entries, (entries{"La\r\n"}));
}

TEST_F(blocks, read_only_texts_can_be_pushed_from_but_not_changed) {
  text({"abc", "def"}, 0, 1);
  document.state = read_only_state;
  toggle_block(document, context);
  forward_char(document, context, false);
  push_string(document, context, true);
  EXPECT_EQ(stack.entries, (entries{"Cb"}));
  EXPECT_EQ(internal_lines(document), (std::vector<byte_string>{"abc\r\n", "def\x1A"}));
  push_string(document, context, true);  // no block: the line, which stays
  EXPECT_EQ(stack.size(), 2u);
  EXPECT_EQ(document.line_count(), 2);
}

TEST_F(blocks, a_clipboard_that_cannot_be_opened_does_not_stop_a_push) {
  user.clipboard_fails = true;
  text({"abc"});
  push_string(document, context, false);
  EXPECT_EQ(stack.entries, (entries{"Cabc"}));
}

TEST_F(blocks, a_moved_block_far_down_keeps_the_cursor_in_view) {
  std::vector<byte_string> lines;
  for (int i = 0; i < 30; ++i) lines.push_back("line" + std::to_string(i));
  text(lines, 2, 0);
  toggle_block(document, context);
  forward_line_tail(document, context, false);
  push_string(document, context, true);
  EXPECT_EQ(shown(), "line0\nline1\n|line29");
  EXPECT_EQ(document.top_line, 0);
  expect_sound();
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
  EXPECT_EQ(document.line_count(), 1);
  EXPECT_TRUE(document.lines.check());
  expect_sound();
}

}  // namespace
}  // namespace vintorel
