// Tests of the cursor motions: where they leave the cursor and the view, and the
// order of the display requests they make.
#include "text/motion.h"

#include <gtest/gtest.h>

#include "text_fixture.h"

namespace vintorel {
namespace {

const byte_string hiragana_a = "\x82\xA0";

struct motion : testing::text_test {
  motion() : text_test({1, 0, 5, 10, 8, false}) {}  // rows 1..5, columns 0..9
  std::vector<byte_string> numbered(int count) {
    std::vector<byte_string> lines;
    for (int i = 0; i < count; ++i) lines.push_back("line " + std::to_string(i));
    return lines;
  }
};

TEST_F(motion, a_step_inside_the_view_repaints_only_the_cursor_line) {
  text({"abcdef", "x"}, 0, 2);
  forward_char(document, context, true);
  EXPECT_EQ(document.position, 3);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 1,2", "paint 0", "status", "draw 1,3"}));
  backward_char(document, context, true);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 1,3", "paint 0", "status", "draw 1,2"}));
  forward_char(document, context, false);
  EXPECT_TRUE(screen.log.empty());
  EXPECT_EQ(document.column, 3);
}

TEST_F(motion, a_step_past_the_right_edge_repaints_the_pane) {
  text({"0123456789abc", "x"}, 0, 9);
  forward_char(document, context, true);
  EXPECT_EQ(document.left_column, 1);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,9"}));
  backward_head(document, context, true);
  EXPECT_EQ(document.left_column, 0);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,0"}));
  expect_sound();
}

TEST_F(motion, a_double_byte_character_never_starts_in_the_last_column) {
  text({"012345678" + hiragana_a + "z", "x"}, 0, 8);
  forward_char(document, context, true);  // onto the character at column 9
  EXPECT_EQ(document.column, 9);
  EXPECT_EQ(document.left_column, 1);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,8"}));
  expect_sound();
}

TEST_F(motion, scrolling_by_one_row_shifts_the_rows) {
  text(numbered(8), 4, 2);
  forward_line(document, context, true, true, false);
  EXPECT_EQ(document.current_line, 5);
  EXPECT_EQ(document.top_line, 1);
  EXPECT_EQ(screen.take_screen(),
            (log_lines{"erase 5,2", "shift up", "paint 5", "paint 4", "paint 5", "status", "draw 5,2"}));
  // Back up inside the view: the two lines and the cursor.
  backward_line(document, context, true, true, false);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 5,2", "paint 5", "paint 4", "status", "draw 4,2"}));
  for (int i = 0; i < 3; ++i) backward_line(document, context, true, true, false);
  screen.log.clear();
  backward_line(document, context, true, true, false);  // past the top row
  EXPECT_EQ(document.top_line, 0);
  EXPECT_EQ(screen.take_screen(),
            (log_lines{"erase 1,2", "shift down", "paint 0", "paint 1", "paint 0", "status", "draw 1,2"}));
  expect_sound();
}

TEST_F(motion, a_line_motion_to_an_unseen_column_repaints_the_pane) {
  text({"0123456789abcdef", "short"}, 0, 14);
  EXPECT_EQ(document.left_column, 0);
  document.left_column = 6;
  forward_line(document, context, true, true, false);
  EXPECT_EQ(document.column, 5);
  EXPECT_EQ(document.left_column, 0);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 1,8", "repaint", "draw 2,5"}));
  expect_sound();
}

TEST_F(motion, nothing_happens_at_the_ends_of_the_text) {
  text({"ab", "cd"}, 0, 0);
  backward_char(document, context, true);
  EXPECT_EQ(document.position, 0);
  put_cursor(1, 2);  // on the end mark
  screen.log.clear();
  forward_char(document, context, true);
  forward_line(document, context, true, true, false);
  next_tab_stop(document, context);
  EXPECT_EQ(document.current_line, 1);
  EXPECT_EQ(document.position, 2);
  EXPECT_TRUE(screen.log.empty());
}

TEST_F(motion, page_motions_within_the_line) {
  text({"0123456789012345678901234", "x"}, 0, 3);
  forward_page(document, context);
  EXPECT_EQ(document.column, 13);
  EXPECT_EQ(document.left_column, 10);
  forward_page(document, context);
  EXPECT_EQ(document.column, 23);
  EXPECT_EQ(document.left_column, 16);  // the line's end limits the scroll
  expect_sound();
  backward_page(document, context);
  EXPECT_EQ(document.column, 13);
  EXPECT_EQ(document.left_column, 6);
  backward_page(document, context);
  EXPECT_EQ(document.column, 3);
  EXPECT_EQ(document.left_column, 0);
  backward_page(document, context);
  EXPECT_EQ(document.column, 0);
  expect_sound();
}

TEST_F(motion, next_tab_stop_moves_to_the_next_stop_or_line) {
  context.pane.columns = 40;
  text({"abcdefghijkl", "x"}, 0, 1);
  next_tab_stop(document, context);
  EXPECT_EQ(document.column, 8);
  next_tab_stop(document, context);
  EXPECT_EQ(document.column, 12);  // the stop lies past the end: the terminator
  next_tab_stop(document, context);
  EXPECT_EQ(document.current_line, 1);
  EXPECT_EQ(document.column, 0);
}

TEST_F(motion, line_pages_move_by_one_row_less_than_the_pane) {
  context.pane.rows = 20;
  text(numbered(100), 0, 0);
  forward_line_page(document, context);
  EXPECT_EQ(document.current_line, 19);
  EXPECT_EQ(document.top_line, 19);
  expect_sound();
  forward_line_tail(document, context, true);
  EXPECT_EQ(document.current_line, 99);
  EXPECT_EQ(document.top_line, 80);
  forward_line_page(document, context);  // already on the last line
  EXPECT_EQ(document.current_line, 99);
  backward_line_page(document, context);
  EXPECT_EQ(document.current_line, 80);
  EXPECT_EQ(document.top_line, 61);
  expect_sound();
  backward_line_head(document, context, true);
  EXPECT_EQ(document.current_line, 0);
  EXPECT_EQ(document.top_line, 0);
  expect_sound();
}

TEST_F(motion, go_to_position_clamps_the_line_and_the_view) {
  context.pane.rows = 20;
  text(numbered(100), 0, 0);
  go_to_position(document, context, 500, 3, -1, true);
  EXPECT_EQ(document.current_line, 99);
  EXPECT_EQ(document.top_line, 80);
  EXPECT_EQ(document.column, 3);
  go_to_position(document, context, 3, 0, -1, true);
  EXPECT_EQ(document.top_line, 0);
  go_to_position(document, context, 50, 0, -1, true);
  EXPECT_EQ(document.top_line, 40);
  EXPECT_EQ(screen.take_screen().back(), "draw 11,0");
  // A remembered top that would hide the line is not kept.
  go_to_position(document, context, 50, 0, 2, false);
  EXPECT_EQ(document.top_line, 40);
  go_to_position(document, context, 50, 0, 45, false);
  EXPECT_EQ(document.top_line, 45);
  expect_sound();
}

TEST_F(motion, vertical_motions_make_a_character_block_line_wise_off_the_anchor_line) {
  text(numbered(10), 3, 2);
  document.block_state = 2;
  document.anchor_line = 3;
  document.anchor_position = 2;
  forward_line(document, context, true, true, false);
  EXPECT_EQ(document.block_state, 1);
  EXPECT_FALSE(document.block_backward);
  EXPECT_EQ(screen.take_screen(), (log_lines{"erase 4,2", "repaint", "draw 5,2"}));
  backward_line(document, context, true, true, false);  // back on the anchor line
  EXPECT_EQ(document.block_state, 2);
  backward_line(document, context, true, true, false);
  EXPECT_EQ(document.block_state, 1);
  EXPECT_TRUE(document.block_backward);
  // A character motion makes it character-wise again and repaints the pane.
  screen.log.clear();
  forward_char(document, context, true);
  EXPECT_EQ(document.block_state, 2);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 3,3"}));
  // Backward char at column 0 lands on the previous line, character-wise.
  put_cursor(4, 0);
  document.block_state = 1;
  backward_char(document, context, true);
  EXPECT_EQ(document.block_state, 2);
  EXPECT_EQ(document.current_line, 3);
}

TEST_F(motion, motions_without_a_current_line_do_nothing) {
  text(numbered(5), 2, 1);
  document.commit_current_line();
  forward_char(document, context, true);
  forward_line(document, context, true, true, false);
  forward_line_page(document, context);
  backward_line_head(document, context, true);
  next_tab_stop(document, context);
  EXPECT_EQ(document.current_line, 2);
  EXPECT_TRUE(screen.log.empty());
}

}  // namespace
}  // namespace vintorel
