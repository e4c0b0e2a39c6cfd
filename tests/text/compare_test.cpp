// Tests of comparing two texts from their cursors: agreement, the first
// difference in each pane, and the order in which the panes are repainted.
#include "text/compare.h"

#include <gtest/gtest.h>

#include "text_fixture.h"

namespace vintorel {
namespace {

// Both panes log into one display, a repaint naming the pane by its first row.
struct two_panes : recording_display {
  void repaint_pane(const pane_view& pane, text_document&) override {
    log.push_back("repaint " + std::to_string(pane.first_row));
  }
};

struct comparing : testing::text_test {
  two_panes both;
  text_document other;
  edit_context other_context;

  comparing() : text_test({1, 0, 5, 20, 4, false}) {
    context.display = other_context.display = &both;
    other_context.pane = {7, 0, 5, 20, 8, false};
  }
};

TEST_F(comparing, both_cursors_stop_at_the_first_difference) {
  struct row { std::vector<byte_string> a, b; bool same; std::int32_t line, position; };
  const byte_string tabbed = "\t" + byte_string(30, 'x');
  const row rows[] = {
      {{"one", "\ttwo", "\x82\xA0"}, {"one", "\ttwo", "\x82\xA0"}, true, 1, 1},  // the cursors stay
      {{"abc", "de"}, {"abc", "def", "g"}, false, 1, 2},  // on the end mark / the extra "f"
      {{"abc", "def", "g"}, {"abc", "de"}, false, 1, 2},
      {{"x\x82\xA0y"}, {"x\x82\xA2y"}, false, 0, 1},
      {{tabbed + "a"}, {tabbed + "b"}, false, 0, 31},
  };
  for (const row& r : rows) {
    testing::make_text(other, r.b);
    testing::place_cursor(other, other_context, r.same, r.same);
    text(r.a, r.same, r.same);
    both.log.clear();
    EXPECT_EQ(compare_texts(document, context, other, other_context), r.same);
    EXPECT_EQ(std::pair(document.current_line, document.position), std::pair(r.line, r.position));
    EXPECT_EQ(std::pair(other.current_line, other.position), std::pair(r.line, r.position));
  }
  // Scrolled into view with each pane's tab size, the other pane first.
  EXPECT_EQ(document.left_column, 15);
  EXPECT_EQ(other.left_column, 19);
  EXPECT_EQ(both.take(), (log_lines{"repaint 7", "repaint 1", "draw 1,19"}));
}

}  // namespace
}  // namespace vintorel
