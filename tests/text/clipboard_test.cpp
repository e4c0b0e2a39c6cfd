// Tests of inserting the clipboard's text: its line ends, where the cursor
// ends up, and what is kept out of the text.
#include "text/clipboard.h"

#include <gtest/gtest.h>

#include "platform/scripted_user_interface.h"
#include "text/block.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

struct clipboard : testing::text_test {
  scripted_user_interface user;

  clipboard() : text_test({1, 0, 5, 20, 8, false}) { context.ui = &user; }
  void holds(const byte_string& text) {
    user.has_clipboard = true;
    user.clipboard = text;
  }
};

TEST_F(clipboard, every_kind_of_line_end_makes_a_line) {
  holds("a\nb\rc\r\nd");
  text({"xy"}, 0, 1);
  insert_clipboard(document, context);
  EXPECT_EQ(shown(), "xa\nb\nc\nd|y");
  EXPECT_EQ(document.size, 12);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 4,1", "menus"}));
  expect_sound();
}

TEST_F(clipboard, a_final_line_end_leaves_the_cursor_on_the_next_line) {
  holds("one\r\n\r\n");
  text({"xy"}, 0, 0);
  insert_clipboard(document, context);
  EXPECT_EQ(shown(), "one\n\n|xy");
  expect_sound();
}

TEST_F(clipboard, zero_bytes_and_end_marks_never_get_in) {
  holds(byte_string("a\x1A" "b\0c", 5));
  text({""}, 0, 0);
  insert_clipboard(document, context);
  EXPECT_EQ(shown(), "ab|");
  expect_sound();
}

TEST_F(clipboard, nothing_happens_without_text_or_with_a_block) {
  text({"xy"}, 0, 1);
  insert_clipboard(document, context);  // no text
  holds("");
  insert_clipboard(document, context);
  holds("z");
  toggle_block(document, context);
  insert_clipboard(document, context);
  EXPECT_EQ(shown(), "x|y");
  EXPECT_TRUE(screen.take().empty());
}

}  // namespace
}  // namespace vintorel
