// Tests of the editing and undo commands beyond the golden files: the order of
// their display requests and what a block refuses.
#include "text/editing.h"

#include <gtest/gtest.h>

#include "text/deleted_chars.h"
#include "text/motion.h"
#include "text/undo.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

struct editing : testing::text_test {
  deleted_char_buffer deleted{1024};

  editing() : text_test({1, 0, 5, 20, 8, false}) { context.deleted = &deleted; }
};

TEST_F(editing, typing_repaints_the_line_and_a_join_clears_the_row_left_free) {
  text({"abc", "x", "y"}, 0, 1);
  insert_string(document, context, "XY", true, true, false);
  EXPECT_EQ(shown(), "aXY|bc\nx\ny");
  EXPECT_EQ(screen.take(), (log_lines{"erase 1,1", "paint 0", "status", "draw 1,3", "menus"}));
  forward_tail(document, context, true);
  screen.log.clear();
  delete_char(document, context, true, true, false);
  EXPECT_EQ(shown(), "aXYbc|x\ny");
  EXPECT_EQ(screen.take(), (log_lines{"clear 3", "repaint", "draw 1,5", "menus"}));
}

TEST_F(editing, a_block_refuses_edits_and_undo_but_not_the_case_flip) {
  text({"Abc", "def"}, 0, 2);
  delete_char(document, context, true, true, false);
  document.block_state = 2;
  insert_string(document, context, "x", true, true, false);
  delete_char(document, context, true, true, false);
  backspace_word(document, context);
  undo_char(document, context);
  undo_line(document, context);
  EXPECT_EQ(shown(), "Ab|\ndef");
  put_cursor(0, 0);
  change_word_case(document, context);
  EXPECT_EQ(shown(), "|ab\ndef");
  // undo_char works in whatever text is current.
  text_document other;
  testing::make_text(other, {"xyz"});
  testing::place_cursor(other, context, 0, 3);
  undo_char(other, context);
  EXPECT_EQ(testing::text_with_cursor(other), "xyz|c");
}

}  // namespace
}  // namespace vintorel
