// The string commands through the real main window: the full stack, the
// search/replace and jump dialogs, replace questions, greyed commands.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class strings_window_test : public main_window_test {
 protected:
  std::string a, b;
  void SetUp() override {
    main_window_test::SetUp();
    std::string forty;
    for (int i = 1; i <= 40; ++i) forty += "line " + std::to_string(i) + "\r\n";
    a = files.write("a.txt", forty);
    b = files.write("b.txt", "same\r\nsame\r\n");
  }
  // Runs `act` on the dialog the next command opens.
  void on_dialog(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
      QWidget* box = QApplication::activeModalWidget();
      if (box) act(box);
    });
  }
  static QLineEdit* field(QWidget* box, int index) {
    QList<QLineEdit*> edits = box->findChildren<QLineEdit*>();
    return index < edits.size() ? edits[index] : nullptr;
  }
  static QPushButton* button(QWidget* box, const char* text) {
    for (QPushButton* p : box->findChildren<QPushButton*>())
      if (p->text() == text) return p;
    return nullptr;
  }
};

TEST_F(strings_window_test, push_on_a_full_stack_asks_and_cancel_keeps_it) {
  settings.buffer_block = 4;
  start(files_to_open({a}));
  for (int i = 0; i < 4; ++i) {
    command(235);
    command(273);
  }
  ASSERT_EQ(w->strings().size(), 4u);
  std::vector<byte_string> before = w->strings().entries;
  answers.confirm_answers = {false};
  command(235);
  EXPECT_EQ(answers.asked.back(), "confirm 3 28");
  EXPECT_EQ(w->strings().entries, before);
  answers.confirm_answers = {true};
  command(235);
  ASSERT_EQ(w->strings().size(), 1u);
  EXPECT_NE(w->strings().entries[0].find("line 5"), byte_string::npos);
}

TEST_F(strings_window_test, search_dialog_cuts_at_255_bytes_and_cancel_changes_nothing) {
  start(files_to_open({a}));
  // 300 bytes of double-byte characters with one byte in front: the cut at
  // 255 bytes must not split the last character.
  byte_string long_string = "a";
  for (int i = 0; i < 150; ++i) long_string += "\x82\xa0";
  w->searches().search_string = long_string;
  w->searches().replace_string = "r";
  QString shown;
  on_dialog([&](QWidget* box) {
    shown = field(box, 0)->text();
    field(box, 0)->setText("changed");
    button(box, "Cancel")->click();
  });
  command(241);
  EXPECT_EQ(shown.size(), 1 + 127);
  EXPECT_EQ(w->searches().search_string, long_string);
  EXPECT_EQ(w->searches().replace_string, "r");

  on_dialog([&](QWidget* box) {
    field(box, 0)->setText("line 3");
    field(box, 1)->setText("L3");
    button(box, "OK")->click();
  });
  command(241);
  EXPECT_EQ(w->searches().search_string, "line 3");
  EXPECT_EQ(w->searches().replace_string, "L3");
  // Now searching and replacing are offered.
  command(249);
  EXPECT_EQ(current().current_line, 2);
  command(243);
  EXPECT_EQ(line(2), "L3\r\n");
}

TEST_F(strings_window_test, jump_dialog_starts_on_the_cursor_line_and_stays_in_bounds) {
  start(files_to_open({a}));
  for (int i = 0; i < 11; ++i) command(273);
  int lines = current().line_count();
  QString shown, arrows_top, arrows_bottom, arrows_step;
  bool ok_at_first = true, ok_for_zero = true;
  on_dialog([&](QWidget* box) {
    shown = field(box, 0)->text();
    ok_at_first = button(box, "OK")->isEnabled();
    // The arrows stay between the first line and the last.
    QLineEdit* number = field(box, 0);
    number->setText(QString::number(lines));
    QTest::keyClick(number, Qt::Key_Up);
    arrows_top = number->text();
    number->setText("1");
    QTest::keyClick(number, Qt::Key_Down);
    arrows_bottom = number->text();
    QTest::keyClick(number, Qt::Key_Up);
    arrows_step = number->text();
    field(box, 0)->setText("0");
    ok_for_zero = button(box, "OK")->isEnabled();
    field(box, 0)->setText("9999");
    button(box, "OK")->click();
  });
  command(251);
  EXPECT_EQ(shown, "12");
  EXPECT_FALSE(ok_at_first);
  EXPECT_FALSE(ok_for_zero);
  EXPECT_EQ(arrows_top, QString::number(lines));
  EXPECT_EQ(arrows_bottom, "1");
  EXPECT_EQ(arrows_step, "2");
  EXPECT_EQ(current().current_line, current().line_count() - 1);

  on_dialog([&](QWidget* box) {
    field(box, 0)->setText("5");
    button(box, "Cancel")->click();
  });
  command(251);
  EXPECT_EQ(current().current_line, current().line_count() - 1);
  on_dialog([&](QWidget* box) {
    field(box, 0)->setText("5");
    button(box, "OK")->click();
  });
  command(251);
  EXPECT_EQ(current().current_line, 4);
}

TEST_F(strings_window_test, replace_questions_cancelled_change_nothing) {
  start(files_to_open({a}));
  w->searches().search_string = "line";
  w->searches().replace_string = "row";
  w->refresh_menus();
  command(249);
  for (int id : {244, 245, 246}) command(id);
  EXPECT_EQ(answers.asked,
            (std::vector<std::string>{"confirm 3 24", "confirm 3 26", "confirm 3 27"}));
  EXPECT_EQ(line(0), "line 1\r\n");
  answers.confirm_answers = {true};
  command(244);
  EXPECT_EQ(line(0), "row 1\r\n");
  EXPECT_EQ(line(39), "row 40\r\n");
}

TEST_F(strings_window_test, greyed_string_commands_do_nothing) {
  start(files_to_open({a}, true));
  std::int32_t line_before = current().current_line;
  // Empty search string, one pane, read-only text, empty stack.
  for (int id : {248, 249, 250, 239, 243, 244, 245, 246, 236, 238}) command(id);
  EXPECT_TRUE(answers.asked.empty());
  EXPECT_EQ(current().current_line, line_before);
  EXPECT_EQ(line(0), "line 1\r\n");
  // Searching works on a read-only text once there is a search string; the
  // replacements stay greyed.
  w->searches().search_string = "line 2";
  w->refresh_menus();
  command(249);
  EXPECT_EQ(current().current_line, 1);
  command(244);
  EXPECT_TRUE(answers.asked.empty());
}

TEST_F(strings_window_test, clipboard_line_ends_of_every_kind_paste_as_lines) {
  start(files_to_open({b}));
  // From here on the window talks to the system clipboard.
  responder.reset();
  w->user().set_clipboard_text("p\r\nq");
  EXPECT_EQ(QApplication::clipboard()->text(), "p\nq");
  for (const char* text : {"1\n2\n", "1\r\n2\r\n", "1\r2\r"}) {
    QApplication::clipboard()->setText(QString::fromLatin1(text));
    int lines_before = current().line_count();
    command(240);
    EXPECT_EQ(current().line_count(), lines_before + 2) << text;
    EXPECT_EQ(line(current().current_line - 2), "1\r\n") << text;
    EXPECT_EQ(line(current().current_line - 1), "2\r\n") << text;
  }
}

TEST_F(strings_window_test, side_by_side_panes_are_filled_and_the_layout_comes_back_to_one_pane) {
  start(files_to_open({b, a}));
  for (int i = 0; i < 45; ++i) command(273);
  command(222);
  ASSERT_TRUE(w->display().layout.dual);
  command(222);
  ASSERT_TRUE(w->display().layout.side_by_side);
  const pane_layout& layout = w->display().layout;
  text_document& shown = current();
  // No empty rows below the last line while the text could fill the pane.
  EXPECT_TRUE(shown.top_line == 0 || shown.top_line + layout.pane_rows <= shown.line_count())
      << shown.top_line << " " << layout.pane_rows << " " << shown.line_count();
  EXPECT_GE(shown.top_line, 0);
  EXPECT_LE(shown.top_line, shown.current_line);
  command(222);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(current().name, a);
}

}  // namespace
}  // namespace vintorel
