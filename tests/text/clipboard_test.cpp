// Tests of inserting the clipboard's text: its line ends, where the cursor
// ends up, and what is kept out of the text.
#include "text/clipboard.h"

#include <gtest/gtest.h>

#include "recording_display.h"
#include "scripted_user_interface.h"
#include "text/block.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::make_text;
using testing::place_cursor;
using testing::text_with_cursor;
using log_lines = std::vector<std::string>;

struct clipboard : ::testing::Test {
  text_document document;
  recording_display screen;
  scripted_user_interface user;
  edit_context context;

  clipboard() {
    context.display = &screen;
    context.ui = &user;
    context.pane = {1, 0, 5, 20, 8, false};
  }
  void text(const std::vector<byte_string>& lines, std::int32_t line, std::int32_t position) {
    make_text(document, lines);
    place_cursor(document, context, line, position);
    screen.log.clear();
  }
  void holds(const byte_string& text) {
    user.has_clipboard = true;
    user.clipboard = text;
  }
};

TEST_F(clipboard, every_kind_of_line_end_makes_a_line) {
  holds("a\nb\rc\r\nd");
  text({"xy"}, 0, 1);
  insert_clipboard(document, context);
  EXPECT_EQ(text_with_cursor(document), "xa\nb\nc\nd|y");
  EXPECT_EQ(document.size, 12);
  EXPECT_EQ(screen.take(), (log_lines{"repaint", "draw 4,1", "menus"}));
  EXPECT_EQ(check_text(document, context), "");
}

TEST_F(clipboard, a_final_line_end_leaves_the_cursor_on_the_next_line) {
  holds("one\r\n\r\n");
  text({"xy"}, 0, 0);
  insert_clipboard(document, context);
  EXPECT_EQ(text_with_cursor(document), "one\n\n|xy");
  EXPECT_EQ(check_text(document, context), "");
}

TEST_F(clipboard, zero_bytes_and_end_marks_never_get_in) {
  holds(byte_string("a\x1A" "b\0c", 5));
  text({""}, 0, 0);
  insert_clipboard(document, context);
  EXPECT_EQ(text_with_cursor(document), "ab|");
  EXPECT_EQ(check_text(document, context), "");
}

TEST_F(clipboard, nothing_happens_without_text_or_with_a_block) {
  text({"xy"}, 0, 1);
  insert_clipboard(document, context);  // no text
  holds("");
  insert_clipboard(document, context);
  holds("z");
  toggle_block(document, context);
  insert_clipboard(document, context);
  EXPECT_EQ(text_with_cursor(document), "x|y");
  EXPECT_TRUE(screen.take().empty());
}

}  // namespace
}  // namespace vintorel
