// Tests of the cursor motions where the order of the display requests is the
// point, and of motions without a cursor line.
#include "text/motion.h"

#include <gtest/gtest.h>

#include "text_fixture.h"

namespace vintorel {
namespace {

struct motion : testing::text_test {
  motion() : text_test({1, 0, 5, 10, 8, false}) {}  // rows 1..5, columns 0..9
};

TEST_F(motion, a_step_repaints_the_cursor_line_inside_the_view_and_the_pane_past_its_edge) {
  text({"0123456789abc", "x"}, 0, 8);
  forward_char(document, context, true);
  EXPECT_EQ(screen.take(), (log_lines{"erase 1,8", "paint 0", "status", "draw 1,9"}));
  forward_char(document, context, true);
  EXPECT_EQ(document.left_column, 1);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 1,9"}));
  forward_char(document, context, false);
  EXPECT_TRUE(screen.log.empty());
  EXPECT_EQ(document.column, 11);
}

TEST_F(motion, scrolling_by_one_row_shifts_the_rows) {
  text({"0", "1", "2", "3", "4ab", "5ab", "6"}, 4, 2);
  forward_line(document, context, true, true, false);
  EXPECT_EQ(document.top_line, 1);
  EXPECT_EQ(screen.take(), (log_lines{"erase 5,2", "shift up", "paint 5", "paint 4", "paint 5", "status", "draw 5,2"}));
  backward_line(document, context, true, true, false);  // inside the view: the two lines and the cursor
  EXPECT_EQ(screen.take(), (log_lines{"erase 5,2", "paint 5", "paint 4", "status", "draw 4,2"}));
}

TEST_F(motion, motions_without_a_current_line_do_nothing) {
  text({"0", "1", "2"}, 1, 1);
  document.commit_current_line();
  forward_char(document, context, true);
  forward_line(document, context, true, true, false);
  forward_line_page(document, context);
  backward_line_head(document, context, true);
  next_tab_stop(document, context);
  EXPECT_EQ(document.current_line, 1);
  EXPECT_TRUE(screen.log.empty());
}

}  // namespace
}  // namespace vintorel
