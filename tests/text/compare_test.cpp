// Tests of comparing two texts from their cursors: agreement, the first
// difference in each pane, texts of different length and line ends, and the
// order in which the two panes are repainted.
#include "text/compare.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "files/charset.h"
#include "files/load_text.h"
#include "recording_display.h"
#include "scratch_dir.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::make_text;
using testing::place_cursor;

// Both panes paint into one log, each request naming the pane by its first row.
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
  void texts(const std::vector<byte_string>& first, const std::vector<byte_string>& second) {
    make_text(a, first);
    make_text(b, second);
    place_cursor(a, a_context, 0, 0);
    place_cursor(b, b_context, 0, 0);
    screen.log.clear();
  }
  bool compare() { return compare_texts(a, a_context, b, b_context); }
};

TEST_F(comparing, identical_texts_agree_and_keep_their_cursors) {
  texts({"one", "\ttwo", "\x82\xA0"}, {"one", "\ttwo", "\x82\xA0"});
  place_cursor(a, a_context, 1, 1);
  place_cursor(b, b_context, 1, 1);
  EXPECT_TRUE(compare());
  EXPECT_EQ(a.current_line, 1);
  EXPECT_EQ(a.column, 4);  // after the TAB with tab size 4
  EXPECT_EQ(b.current_line, 1);
  EXPECT_EQ(b.column, 8);  // and with tab size 8
  EXPECT_TRUE(screen.take().empty());
}

TEST_F(comparing, a_difference_leaves_both_cursors_on_it) {
  std::vector<byte_string> lines;
  for (int i = 0; i < 40; ++i) lines.push_back("line " + std::to_string(i));
  std::vector<byte_string> other = lines;
  other[30] = "line X";
  lines[3] = other[3] = "\t" + byte_string(30, 'x') + "a";
  texts(lines, other);
  EXPECT_FALSE(compare());
  EXPECT_EQ(a.current_line, 30);
  EXPECT_EQ(a.position, 5);
  EXPECT_EQ(b.current_line, 30);
  EXPECT_EQ(b.position, 5);
  // Each pane shows its cursor: the motions scrolled both.
  EXPECT_EQ(a.top_line, 26);
  EXPECT_EQ(b.top_line, 26);
  EXPECT_EQ(a.left_column, 0);
  EXPECT_EQ(screen.take_screen(), (log_lines{"repaint pane 7", "repaint pane 1", "draw 5,5"}));
}

TEST_F(comparing, the_first_difference_at_a_text_end_a_character_or_far_right) {
  struct row { std::vector<byte_string> a, b; std::int32_t line, a_position, b_position; };
  const byte_string tabbed = "\t" + byte_string(30, 'x');
  const row rows[] = {
      {{"abc", "de"}, {"abc", "def", "g"}, 1, 2, 2},  // on the end mark / the extra "f"
      {{"abc", "def", "g"}, {"abc", "de"}, 1, 2, 2},
      {{"x\x82\xA0y"}, {"x\x82\xA2y"}, 0, 1, 1},
      {{tabbed + "a"}, {tabbed + "b"}, 0, 31, 31},
  };
  for (const row& r : rows) {
    texts(r.a, r.b);
    EXPECT_FALSE(compare());
    EXPECT_EQ(a.current_line, r.line);
    EXPECT_EQ(b.current_line, r.line);
    EXPECT_EQ(a.position, r.a_position);
    EXPECT_EQ(b.position, r.b_position);
  }
  // Scrolled into view with each pane's tab size.
  EXPECT_EQ(a.column, 34);
  EXPECT_EQ(a.left_column, 15);
  EXPECT_EQ(b.column, 38);
  EXPECT_EQ(b.left_column, 19);
}

TEST_F(comparing, line_ends_of_the_files_do_not_matter) {
  test_support::scratch_dir dir;
  ASSERT_FALSE(dir.dir().empty());
  ASSERT_TRUE(test_support::write_bytes(dir / "crlf.txt", "one\r\ntwo\r\nthree"));
  ASSERT_TRUE(test_support::write_bytes(dir / "lf.txt", "one\ntwo\nthree"));
  load_text_file(a, dir / "crlf.txt", false, 0, 0, 0, 0, shift_jis, crlf);
  load_text_file(b, dir / "lf.txt", false, 0, 0, 0, 0, shift_jis, lf);
  ASSERT_TRUE(reload_current_line(a, a_context));
  ASSERT_TRUE(reload_current_line(b, b_context));
  EXPECT_TRUE(compare());
}

TEST_F(comparing, nothing_without_a_cursor_line) {
  texts({"a"}, {"b"});
  a.commit_current_line();
  EXPECT_FALSE(compare());
  EXPECT_EQ(b.position, 0);
  EXPECT_TRUE(screen.take().empty());
}

}  // namespace
}  // namespace vintorel
