// The string commands through the real main window: the full stack, the
// search/replace and jump dialogs, the replace questions.
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class strings_window_test : public main_window_test {
 protected:
  std::string a;
  void SetUp() override {
    main_window_test::SetUp();
    std::string forty;
    for (int i = 1; i <= 40; ++i) forty += "line " + std::to_string(i) + "\r\n";
    a = files.write("a.txt", forty);
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
  ASSERT_EQ(w->work().strings.size(), 4u);
  std::vector<byte_string> before = w->work().strings.entries;
  answers.confirm_answers = {false};
  command(235);
  EXPECT_EQ(answers.asked.back(), "confirm 3 28");
  EXPECT_EQ(w->work().strings.entries, before);
  answers.confirm_answers = {true};
  command(235);
  ASSERT_EQ(w->work().strings.size(), 1u);
  EXPECT_NE(w->work().strings.entries[0].find("line 5"), byte_string::npos);
}

TEST_F(strings_window_test, search_dialog_cuts_at_255_bytes_and_cancel_changes_nothing) {
  start(files_to_open({a}));
  // 300 bytes of double-byte characters with one byte in front: the cut at
  // 255 bytes must not split the last character.
  byte_string long_string = "a";
  for (int i = 0; i < 150; ++i) long_string += "\x82\xa0";
  w->work().search.search_string = long_string;
  w->work().search.replace_string = "r";
  QString shown;
  on_dialog([&](QWidget* box) {
    shown = field(box, 0)->text();
    field(box, 0)->setText("changed");
    button(box, "Cancel")->click();
  });
  command(241);
  EXPECT_EQ(shown.size(), 1 + 127);
  EXPECT_EQ(w->work().search.search_string, long_string);
  EXPECT_EQ(w->work().search.replace_string, "r");
}

TEST_F(strings_window_test, jump_dialog_starts_on_the_cursor_line_and_stays_in_bounds) {
  start(files_to_open({a}));
  for (int i = 0; i < 11; ++i) command(273);
  QString lines = QString::number(current().line_count());
  QString shown, arrows_top, arrows_bottom;
  bool ok_for_zero = true;
  on_dialog([&](QWidget* box) {
    // The arrows stay between the first line and the last.
    QLineEdit* number = field(box, 0);
    shown = number->text();
    number->setText(lines);
    QTest::keyClick(number, Qt::Key_Up);
    arrows_top = number->text();
    number->setText("1");
    QTest::keyClick(number, Qt::Key_Down);
    arrows_bottom = number->text();
    number->setText("0");
    ok_for_zero = button(box, "OK")->isEnabled();
    number->setText("9999");
    button(box, "OK")->click();
  });
  command(251);
  EXPECT_EQ(shown, "12");
  EXPECT_FALSE(ok_for_zero);
  EXPECT_EQ(arrows_top, lines);
  EXPECT_EQ(arrows_bottom, "1");
  EXPECT_EQ(current().current_line, current().line_count() - 1);

  on_dialog([&](QWidget* box) {
    field(box, 0)->setText("5");
    button(box, "Cancel")->click();
  });
  command(251);
  EXPECT_EQ(current().current_line, current().line_count() - 1);
}

TEST_F(strings_window_test, replace_questions_cancelled_change_nothing_and_ok_replaces) {
  struct question {
    int id;
    const char* asked;
    int from_line;             // where the cursor stands
    int first, last;           // the lines replaced on OK
  };
  for (const question q : {question{244, "confirm 3 24", 10, 0, 39}, question{245, "confirm 3 26", 10, 0, 9},
                           question{246, "confirm 3 27", 10, 11, 39}}) {
    start(files_to_open({a}));
    w->work().search.search_string = "line";
    w->work().search.replace_string = "row";
    w->refresh_menus();
    for (int i = 0; i < q.from_line; ++i) command(273);
    command(q.id);
    EXPECT_EQ(answers.asked, std::vector<std::string>{q.asked});
    EXPECT_EQ(line(0), "line 1\r\n");
    EXPECT_EQ(line(39), "line 40\r\n");
    answers.confirm_answers = {true};
    command(q.id);
    for (int i : {q.first - 1, q.first, q.last, q.last + 1}) {
      if (i < 0 || i >= 40) continue;
      bool replaced = i >= q.first && i <= q.last;
      EXPECT_EQ(line(i), (replaced ? "row " : "line ") + std::to_string(i + 1) + "\r\n") << q.id << " line " << i;
    }
    w->destroy();
    answers.asked.clear();
  }
}

}  // namespace
}  // namespace vintorel
