// Tests of the order in which motions and edits ask the display for painting:
// only the cursor line inside the view, the whole pane past its edge, shifted
// rows when the view scrolls by one row, a cleared row after a join.
#include <gtest/gtest.h>

#include "text/editing.h"
#include "text/motion.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

struct display_order : testing::text_test {
  display_order() : text_test({1, 0, 5, 10, 8, false}) {}  // rows 1..5, columns 0..9
};

TEST_F(display_order, a_step_repaints_the_cursor_line_inside_the_view_and_the_pane_past_its_edge) {
  text({"0123456789abc", "x"}, 0, 8);
  forward_char(document, context, true);
  EXPECT_EQ(screen.take(), (log_lines{"erase 1,8", "paint 0", "status", "draw 1,9"}));
  forward_char(document, context, true);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 1,9"}));
  forward_char(document, context, false);
  EXPECT_TRUE(screen.log.empty());
  EXPECT_EQ(document.column, 11);
}

TEST_F(display_order, scrolling_by_one_row_shifts_the_rows) {
  text({"0", "1", "2", "3", "4ab", "5ab", "6"}, 4, 2);
  forward_line(document, context, true, true, false);
  EXPECT_EQ(screen.take(), (log_lines{"erase 5,2", "shift up", "paint 5", "paint 4", "paint 5", "status", "draw 5,2"}));
  backward_line(document, context, true, true, false);  // inside the view: the two lines and the cursor
  EXPECT_EQ(screen.take(), (log_lines{"erase 5,2", "paint 5", "paint 4", "status", "draw 4,2"}));
}

TEST_F(display_order, typing_repaints_the_line_and_a_join_clears_the_row_left_free) {
  text({"abc", "x", "y"}, 0, 1);
  insert_string(document, context, "XY", true, true, false);
  EXPECT_EQ(screen.take(), (log_lines{"erase 1,1", "paint 0", "status", "draw 1,3", "menus"}));
  forward_tail(document, context, true);
  screen.log.clear();
  delete_char(document, context, true, true, false);
  EXPECT_EQ(screen.take(), (log_lines{"clear 3", "repaint", "draw 1,5", "menus"}));
}

}  // namespace
}  // namespace vintorel
