// The texts and panes of the real main window: greyed commands, the console,
// switching texts and panes, the layouts, and texts going away.
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class texts_window_test : public main_window_test {
 protected:
  std::string a, b, c;
  void SetUp() override {
    main_window_test::SetUp();
    std::string forty;
    for (int i = 1; i <= 40; ++i) forty += "line " + std::to_string(i) + "\r\n";
    a = files.write("a.txt", forty);
    b = files.write("b.txt", "second\r\n");
    c = files.write("c.txt", "third\r\n");
  }
};

TEST_F(texts_window_test, greyed_commands_do_nothing) {
  struct situation {
    const char* name;
    std::function<void()> set_up;
    std::vector<int> ids;
  };
  const situation situations[] = {
      {"only the console", [&] { start(); }, {220, 221, 222, 226, 227, 228, 250}},
      {"the console current", [&] { start(files_to_open({a})); command(218); }, {220, 221, 226, 227}},
      {"an unmodified read-only text, nothing searched or stacked",
       [&] { start(files_to_open({a}, true)); }, {226, 236, 238, 239, 243, 244, 245, 246, 248, 249, 250}},
      {"a read-only text with a search string",
       [&] {
         start(files_to_open({a}, true));
         w->work().search.search_string = "line";
         w->work().search.replace_string = "row";
         w->refresh_menus();
       },
       {243, 244, 245, 246}},
  };
  for (const situation& s : situations) {
    s.set_up();
    answers.asked.clear();
    std::vector<std::string> texts = names();
    int index = w->work().current_text_index();
    std::int32_t cursor = current().current_line;
    byte_string first = line(0);
    for (int id : s.ids) command(id);
    for (int id : {0, -5, 229, 399, 99999}) command(id);  // no command at all
    EXPECT_TRUE(answers.asked.empty()) << s.name;
    EXPECT_EQ(names(), texts) << s.name;
    EXPECT_EQ(w->work().current_text_index(), index) << s.name;
    EXPECT_EQ(current().current_line, cursor) << s.name;
    EXPECT_EQ(line(0), first) << s.name;
    EXPECT_FALSE(w->display().layout.dual) << s.name;
    w->destroy();
  }
}

TEST_F(texts_window_test, open_console_from_a_text_and_from_the_console_with_one_and_two_panes) {
  start(files_to_open({a, b, c}));
  command(218);
  EXPECT_EQ(w->work().current_text_index(), 0);
  command(218);
  EXPECT_EQ(w->work().current_text_index(), 1) << "from the console the posted change_window moves on";
  // The console shown in the other pane: that pane becomes current.
  command(401);
  command(222);
  command(223);
  ASSERT_EQ(w->work().current_text_index(), 3);
  command(218);
  EXPECT_EQ(w->work().current_pane(), 0);
  EXPECT_EQ(w->work().current_text_index(), 0);
  // From the console, the last text in the other pane: the current pane takes the one before it.
  command(218);
  EXPECT_TRUE(w->display().layout.dual);
  EXPECT_EQ(w->work().current_pane(), 0);
  EXPECT_EQ(w->work().pane_text(0), 2);
  EXPECT_EQ(w->work().pane_text(1), 3);

  // Two texts in all: back to one pane, and the posted change_window moves on.
  w->destroy();
  start(files_to_open({a}));
  command(401);
  command(222);
  ASSERT_EQ(w->work().current_text_index(), 0);
  command(218);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->work().current_text_index(), 1);
}

TEST_F(texts_window_test, change_window_cycles_the_texts_without_the_console_or_switches_panes) {
  start(files_to_open({a}));
  command(223);
  EXPECT_EQ(w->work().current_text_index(), 1) << "one text besides the console: nothing to change to";
  w->open_text(w->work().text_count(), b, false);
  w->open_text(w->work().text_count(), c, false);
  command(223);
  EXPECT_EQ(w->work().current_text_index(), 1) << "from the last text to text 1";
  command(223);
  EXPECT_EQ(w->work().current_text_index(), 2);
  command(222);  // the last text below
  for (int pane : {1, 0}) {
    command(223);
    EXPECT_EQ(w->work().current_pane(), pane);
    EXPECT_EQ(w->work().current_text_index(), pane == 1 ? 3 : 2);
  }
}

TEST_F(texts_window_test, the_three_layouts_and_back_keep_the_panes_filled) {
  start(files_to_open({b, a}));
  for (int i = 0; i < 45; ++i) command(273);
  auto check_filled = [&](const char* layout) {
    for (int pane = 0; pane < (w->display().layout.dual ? 2 : 1); ++pane) {
      const text_document& shown = w->work().text_at(w->work().pane_text(pane));
      std::int32_t rows = w->display().layout.pane_rows;
      // No empty rows below the last line while the text could fill the pane.
      EXPECT_TRUE(shown.top_line == 0 || shown.top_line + rows <= shown.line_count()) << layout << " " << pane;
      EXPECT_LE(shown.top_line, shown.current_line) << layout << " " << pane;
      EXPECT_LT(shown.current_line, shown.top_line + rows) << layout << " " << pane;
    }
  };
  check_filled("one pane");
  command(222);
  ASSERT_TRUE(w->display().layout.dual);
  EXPECT_EQ(w->work().pane_text(1), 1);
  check_filled("one above the other");
  command(222);
  ASSERT_TRUE(w->display().layout.side_by_side);
  check_filled("side by side");
  command(222);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(current().name, a);
  check_filled("one pane again");
}

TEST_F(texts_window_test, a_pane_whose_text_was_closed_shows_none) {
  start(files_to_open({b}));
  command(401);
  command(222);
  command(223);
  ASSERT_EQ(w->work().current_text_index(), 1);
  // Reloading closes the text; its file is gone, so it cannot come back.
  std::filesystem::remove(b);
  answers.confirm_answers = {true};
  command(220);
  EXPECT_TRUE(was_asked("error 5 31"));
  EXPECT_EQ(w->work().text_count(), 1);
  ASSERT_TRUE(w->display().layout.dual);
  EXPECT_EQ(w->work().pane_text(1), -1);
  EXPECT_EQ(w->work().current_text(), nullptr);
  command(227);
  command(223);
  EXPECT_EQ(w->work().current_text_index(), 0);
}

TEST_F(texts_window_test, closing_the_second_pane_from_one_that_shows_none_keeps_a_text_shown) {
  start(files_to_open({b}));
  command(401);
  command(222);
  command(223);
  std::filesystem::remove(b);
  answers.confirm_answers = {true};
  command(220);  // the lower pane now shows none
  command(223);
  ASSERT_TRUE(w->open_text(1, a, false));
  command(223);
  ASSERT_EQ(w->work().current_text(), nullptr);
  command(222);  // side by side
  command(222);  // one pane: the empty pane was current
  ASSERT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->work().pane_text(0), 1);
  command(222);  // two panes again (this read the text at -1)
  EXPECT_TRUE(w->display().layout.dual);
  EXPECT_GE(w->work().pane_text(1), 0);
}

TEST_F(texts_window_test, texts_with_an_edited_cursor_line_are_discarded_without_telling_the_window) {
  // A discarded text commits its cursor line; the window heard of it while it
  // changed its list (found as a use after free by the address sanitizer).
  start(files_to_open({a, b, c}));
  for (int i = 1; i <= 3; ++i) {
    command(401 + i);
    type("x");
  }
  command(401 + 1);
  answers.choose_answers = {choice::no};
  command(227);
  EXPECT_EQ(names(), (std::vector<std::string>{std::string(console_text_name), b, c}));
  w.reset();  // deleted without being destroyed first
}

TEST_F(texts_window_test, the_hundredth_text_gets_no_menu_id) {
  start(files_to_open({a}));
  for (int i = 0; i < 100; ++i) w->new_text("???");
  EXPECT_EQ(w->menus().text_entry_count(), 99) << "no text gets an id above 499";
  EXPECT_EQ(w->menus().item(command_id::direct_command)->text().toStdString().rfind("直接", 0), 0u);
}

}  // namespace
}  // namespace vintorel
