// Tests of comparing two texts from their cursors: agreement, the first
// difference in each pane, and the order in which the panes are repainted.
#include "text/compare.h"

#include <gtest/gtest.h>

#include "files/charset.h"
#include "files/load_text.h"
#include "scratch_dir.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::make_text;
using testing::place_cursor;

// Both panes paint into one log, a repaint naming the pane by its first row.
class two_pane_display : public recording_display {
 public:
  void repaint_pane(const pane_view& pane, text_document&) override {
    log.push_back("repaint pane " + std::to_string(pane.first_row));
  }
};

struct comparing : ::testing::Test {
  text_document a, b;
  two_pane_display screen;
  edit_context a_context, b_context;

  comparing() {
    a_context.display = b_context.display = &screen;
    a_context.pane = {1, 0, 5, 20, 4, false};
    b_context.pane = {7, 0, 5, 20, 8, false};
  }
  bool compare(const std::vector<byte_string>& first, const std::vector<byte_string>& second, std::int32_t line = 0,
               std::int32_t position = 0) {
    make_text(a, first);
    make_text(b, second);
    place_cursor(a, a_context, line, position);
    place_cursor(b, b_context, line, position);
    screen.log.clear();
    return compare_texts(a, a_context, b, b_context);
  }
};

TEST_F(comparing, identical_texts_agree_and_keep_their_cursors) {
  EXPECT_TRUE(compare({"one", "\ttwo", "\x82\xA0"}, {"one", "\ttwo", "\x82\xA0"}, 1, 1));
  EXPECT_EQ(a.column, 4);  // after the TAB with tab size 4
  EXPECT_EQ(b.column, 8);  // and with tab size 8
  EXPECT_TRUE(screen.take().empty());
  test_support::scratch_dir dir;  // the line ends of the files do not matter
  load_text_file(a, dir.write("crlf.txt", "one\r\ntwo\r\nthree"), false, 0, 0, 0, 0, shift_jis, crlf);
  load_text_file(b, dir.write("lf.txt", "one\ntwo\nthree"), false, 0, 0, 0, 0, shift_jis, lf);
  ASSERT_TRUE(reload_current_line(a, a_context) && reload_current_line(b, b_context));
  EXPECT_TRUE(compare_texts(a, a_context, b, b_context));
}

TEST_F(comparing, the_first_difference_at_a_text_end_a_character_or_far_right) {
  struct row { std::vector<byte_string> a, b; std::int32_t line, position; };
  const byte_string tabbed = "\t" + byte_string(30, 'x');
  const row rows[] = {
      {{"abc", "de"}, {"abc", "def", "g"}, 1, 2},  // on the end mark / the extra "f"
      {{"abc", "def", "g"}, {"abc", "de"}, 1, 2},
      {{"x\x82\xA0y"}, {"x\x82\xA2y"}, 0, 1},
      {{tabbed + "a"}, {tabbed + "b"}, 0, 31},
  };
  for (const row& r : rows) {
    EXPECT_FALSE(compare(r.a, r.b));
    EXPECT_EQ(a.current_line, r.line);
    EXPECT_EQ(b.current_line, r.line);
    EXPECT_EQ(a.position, r.position);
    EXPECT_EQ(b.position, r.position);
  }
  // Scrolled into view with each pane's tab size, the other pane first.
  EXPECT_EQ(a.left_column, 15);
  EXPECT_EQ(b.left_column, 19);
  EXPECT_EQ(screen.take(), (log_lines{"repaint pane 7", "repaint pane 1", "draw 1,19"}));
}

}  // namespace
}  // namespace vintorel
