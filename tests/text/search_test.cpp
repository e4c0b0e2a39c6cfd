// Tests of searching forward and backward through a text and of picking up the
// search string from the text, with the requests made of the display.
#include "text/search.h"

#include <gtest/gtest.h>

#include "text/motion.h"
#include "text/search_strings.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

struct searching : testing::text_test {
  search_strings strings;

  searching() : text_test({1, 0, 20, 40, 8, false}) { context.search = &strings; }
};

TEST_F(searching, forward_finds_the_next_match_not_the_one_under_the_cursor) {
  strings.search_string = "int";
  text({"int a; print int;", "integer int"});
  EXPECT_TRUE(search_forward(document, context, true));
  EXPECT_EQ(shown(), "int a; print |int;\ninteger int");
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 1,13"}));
  EXPECT_TRUE(search_forward(document, context, true));
  EXPECT_EQ(shown(), "int a; print int;\ninteger |int");
  // No further match: the cursor stays, nothing is painted.
  EXPECT_FALSE(search_forward(document, context, true));
  EXPECT_EQ(shown(), "int a; print int;\ninteger |int");
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 2,8"}));
  expect_sound();
}

TEST_F(searching, backward_finds_the_match_just_behind_the_cursor) {
  strings.search_string = "int";
  text({"int x", "a int b"}, 1, 5);
  EXPECT_TRUE(search_backward(document, context, true));
  EXPECT_EQ(shown(), "int x\na |int b");
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "draw 2,2"}));
  // On the match's start the search goes on to the one before.
  EXPECT_TRUE(search_backward(document, context, false));
  EXPECT_EQ(shown(), "|int x\na int b");
  EXPECT_FALSE(search_backward(document, context, false));
  EXPECT_EQ(shown(), "|int x\na int b");
  // A match may reach past the cursor.
  text({"a bcd"}, 0, 3);
  strings.search_string = "bcd";
  EXPECT_TRUE(search_backward(document, context, false));
  EXPECT_EQ(document.position, 2);
}

TEST_F(searching, found_lines_are_centred_and_columns_scrolled_into_view) {
  std::vector<byte_string> lines(100, "x");
  lines[3] = lines[50] = lines[95] = "key";
  strings.search_string = "key";
  text(lines, 0, 0);
  const std::pair<std::int32_t, std::int32_t> stops[] = {{3, 0}, {50, 40}, {95, 80}};
  for (auto [line, top] : stops) {
    ASSERT_TRUE(search_forward(document, context, false));
    EXPECT_EQ(document.current_line, line);
    EXPECT_EQ(document.top_line, top);
  }
  expect_sound();
  strings.search_string = "far";
  text({byte_string(100, '.') + "far", "x"});
  ASSERT_TRUE(search_forward(document, context, true));
  EXPECT_EQ(document.column, 100);
  EXPECT_EQ(document.left_column, 61);
  expect_sound();
}

TEST_F(searching, never_stops_on_a_second_byte) {
  // "\x82\xA0" (a hiragana) followed by the half-width katakana "\xA0"... the
  // second byte 0xA0 of the pair must not count as a match.
  strings.search_string = "\xA0";
  context.settings.word_search = false;
  for (bool ignore_case : {false, true}) {
    context.settings.ignore_case = ignore_case;
    text({"\x82\xA0\x82\xA0x\xA0"});
    ASSERT_TRUE(search_forward(document, context, false));
    EXPECT_EQ(document.position, 5);
    ASSERT_FALSE(search_forward(document, context, false));
    put_cursor(0, 6);
    ASSERT_TRUE(search_backward(document, context, false));
    EXPECT_EQ(document.position, 5);
    ASSERT_FALSE(search_backward(document, context, false));
  }
}

TEST_F(searching, an_empty_or_unusable_search_string_finds_nothing) {
  text({"a*b"});
  strings.search_string = "";
  EXPECT_FALSE(search_forward(document, context, true));
  strings.search_string = "*";  // word search leaves nothing to look for
  EXPECT_FALSE(search_forward(document, context, true));
  EXPECT_TRUE(screen.take_screen().empty());
}

TEST_F(searching, get_search_string_takes_runs_and_grows_by_runs) {
  text({"foo_1(x, y)", "\tz"});
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "foo_1");
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint", "other pane", "draw 1,0"}));
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "foo_1(");
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "foo_1(x");
  // Elsewhere the run at the cursor replaces the string.
  put_cursor(0, 6);
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "x");
  // A TAB at the cursor, or behind the string, changes nothing.
  put_cursor(1, 0);
  screen.log.clear();
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "x");
  EXPECT_TRUE(screen.take_screen().empty());
  strings.search_string = "z";
  text({"z\tq"});
  get_search_string(document, context);
  EXPECT_EQ(strings.search_string, "z");
}

TEST_F(searching, the_dialog_copy_never_splits_a_character) {
  byte_string text = byte_string(254, 'a') + "\x82\xA0" + "b";
  EXPECT_EQ(cut_for_dialog(text).size(), 254u);
  EXPECT_EQ(cut_for_dialog(byte_string(300, 'a')).size(), 255u);
  EXPECT_EQ(cut_for_dialog("short"), "short");
}

}  // namespace
}  // namespace vintorel
