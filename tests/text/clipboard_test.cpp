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

TEST_F(clipboard, a_final_line_end_moves_the_cursor_down_and_zeros_and_end_marks_stay_out) {
  struct row { byte_string clip; byte_string line; const char* expected; };
  const row rows[] = {
      {"one\r\n\r\n", "xy", "one\n\n|xy"},
      {byte_string("a\x1A" "b\0c", 5), "", "ab|"},
  };
  for (const row& r : rows) {
    holds(r.clip);
    text({r.line}, 0, 0);
    insert_clipboard(document, context);
    EXPECT_EQ(shown(), r.expected);
    expect_sound();
  }
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
