// The workspace without a window: the console staying at 0, the order texts
// are switched to and closed in, and the pane changes with the texts each
// pane shows.
#include <gtest/gtest.h>

#include "display/painter.h"
#include "scratch_dir.h"
#include "shell/workspace.h"

namespace vintorel {
namespace {

struct workspace_test : ::testing::Test {
  test_support::scratch_dir dir;
  display_context display;
  settings_record settings;
  workspace work{display, settings, dir.path("ext.ini")};

  workspace_test() {
    set_pane_layout(display.layout, display.lines, display.columns, false, false);
    add(std::string(console_text_name));
  }
  // Appends a text of `lines` lines and shows it in the current pane.
  void add(const std::string& name, int lines = 1, int at = -1) {
    auto d = std::make_unique<text_document>();
    d->create_empty(name);
    for (int i = 1; i < lines; ++i) d->insert_line(i, "x\r\n");
    work.add_text(at < 0 ? work.text_count() : at, std::move(d));
  }
  std::string shown() {
    return std::to_string(work.pane_text(0)) + (work.dual() ? "," + std::to_string(work.pane_text(1)) : "") +
           " current " + std::to_string(work.current_pane());
  }
};

TEST_F(workspace_test, change_window_goes_round_the_texts_without_the_console) {
  EXPECT_EQ(work.next_text(), -1) << "only the console";
  add("a");
  EXPECT_EQ(work.next_text(), -1) << "the one text has nowhere to go";
  work.show_text(0);
  EXPECT_EQ(work.next_text(), 1) << "from the console to text 1";
  add("b");
  add("c");
  EXPECT_EQ(work.next_text(), 1) << "from the last back to text 1";
  work.show_text(1);
  EXPECT_EQ(work.next_text(), 2);
}

TEST_F(workspace_test, closing_in_one_pane_shows_the_last_text_and_never_takes_the_console) {
  add("a");
  add("b");
  add("c");
  work.show_text(1);
  EXPECT_FALSE(work.remove_current_text(false));
  ASSERT_EQ(work.text_count(), 3);
  EXPECT_EQ(work.text_at(1).name, "b");
  EXPECT_EQ(work.current_text_index(), 2) << "the last text";
  while (work.current_text_index() != 0) work.remove_current_text(false);
  EXPECT_EQ(work.text_count(), 1);
  EXPECT_TRUE(work.is_console(*work.current_text()));
  EXPECT_FALSE(work.remove_current_text(false));
  EXPECT_EQ(work.text_count(), 1) << "the console stays";
}

TEST_F(workspace_test, the_second_pane_opens_on_the_last_text_and_goes_side_by_side_and_back) {
  add("a");
  work.show_text(0);
  work.remove_current_text(false);  // nothing: the console is current
  EXPECT_TRUE(work.open_second_pane());
  EXPECT_EQ(shown(), "0,1 current 0");
  work.close_second_pane();
  work.show_text(1);
  ASSERT_TRUE(work.open_second_pane());
  EXPECT_EQ(shown(), "1,0 current 0") << "the last is shown already: the one before it";

  work.switch_pane();
  work.place_panes_side_by_side();
  EXPECT_TRUE(display.layout.side_by_side);
  EXPECT_EQ(shown(), "1,0 current 1") << "side by side keeps the panes and the current one";
  EXPECT_TRUE(work.close_second_pane());
  EXPECT_EQ(shown(), "0 current 0") << "pane 1 was current: its text stays";
  EXPECT_FALSE(work.close_second_pane());
}

TEST_F(workspace_test, refused_second_pane_and_texts_added_before_the_other_pane) {
  EXPECT_FALSE(work.open_second_pane()) << "one text is not enough";
  EXPECT_FALSE(work.dual());
  add("a");
  add("b");
  ASSERT_TRUE(work.open_second_pane());
  EXPECT_EQ(shown(), "2,1 current 0");
  add("new", 1, 1);
  EXPECT_EQ(shown(), "1,2 current 0") << "the other pane still shows a";
  EXPECT_EQ(work.text_at(work.pane_text(1)).name, "a");
}

TEST_F(workspace_test, closing_with_two_panes) {
  add("a");
  add("b");
  add("c");
  ASSERT_TRUE(work.open_second_pane());
  ASSERT_EQ(shown(), "3,2 current 0");
  // The current pane takes the last text the other pane does not show.
  EXPECT_FALSE(work.remove_current_text(false));
  EXPECT_EQ(shown(), "1,2 current 0");
  EXPECT_EQ(work.text_at(2).name, "b");

  // Only the console is left to show: with the panes kept the pane shows none.
  EXPECT_FALSE(work.remove_current_text(true));
  EXPECT_EQ(shown(), "-1,1 current 0");
  EXPECT_EQ(work.current_text(), nullptr);
  EXPECT_TRUE(work.close_second_pane());
  EXPECT_EQ(shown(), "1 current 0") << "the single pane shows the other pane's text";

  // Without keeping them, the second pane has to go and the other pane is current.
  add("d");
  work.show_text(1);
  ASSERT_TRUE(work.open_second_pane());
  ASSERT_EQ(shown(), "1,2 current 0");
  work.switch_pane();
  EXPECT_TRUE(work.remove_current_text(false));
  EXPECT_EQ(work.current_pane(), 0);
  work.close_second_pane();
  EXPECT_EQ(shown(), "1 current 0");
  EXPECT_EQ(work.text_count(), 2);
}

TEST_F(workspace_test, a_text_shown_in_both_panes_leaves_the_other_pane_empty_when_closed) {
  add("a");
  add("b");
  ASSERT_TRUE(work.open_second_pane());
  work.show_text(1);  // both panes show text 1
  ASSERT_EQ(shown(), "1,1 current 0");
  EXPECT_FALSE(work.remove_current_text(true));
  EXPECT_EQ(shown(), "1,-1 current 0") << "the current pane shows what was text 2";
  EXPECT_EQ(work.text_at(1).name, "b");
}

TEST_F(workspace_test, a_shown_text_is_scrolled_to_its_cursor_and_a_short_one_fills_the_pane) {
  add("long", 100);
  text_document& d = work.text_at(1);
  int rows = display.layout.pane_rows;
  d.current_line = 50;
  d.top_line = 0;
  work.show_text(1);
  EXPECT_EQ(d.top_line, 50 - rows + 1);
  d.current_line = 10;
  work.show_text(1);
  EXPECT_EQ(d.top_line, 10);
  d.top_line = 95;
  work.fit_top_line(d);
  EXPECT_EQ(d.top_line, 100 - rows);
}

TEST_F(workspace_test, describe_lists_texts_panes_and_the_command_directory) {
  add("/a");
  work.command_directory = "/work/";
  EXPECT_EQ(work.describe(), "text 0 " + std::to_string(work.text_at(0).state) + " console/scratch\ntext 1 " +
                                 std::to_string(work.text_at(1).state) + " /a\npane 0 1\ndirectory /work/\n");
}

}  // namespace
}  // namespace vintorel
