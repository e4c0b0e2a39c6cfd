// Opening, switching and closing texts through the real main window: command
// line, file dialog, drops, hand-overs, panes and menus.
#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include "app/response_file.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class texts_window_test : public main_window_test {
 protected:
  std::string a, b, c;
  void SetUp() override {
    main_window_test::SetUp();
    a = files.write("a.txt", "first\r\n");
    b = files.write("b.txt", "second\r\n");
    c = files.write("c.txt", "third\r\n");
    ::setenv("TMP", files.dir().c_str(), 1);
  }
  void TearDown() override {
    main_window_test::TearDown();
    ::unsetenv("TMP");
  }
  int asked(const std::string& what) {
    return static_cast<int>(std::count_if(answers.asked.begin(), answers.asked.end(),
                                          [&](const std::string& s) { return s.rfind(what, 0) == 0; }));
  }
  void drop(std::vector<std::string> paths, Qt::KeyboardModifiers modifiers) {
    QMimeData data;
    QList<QUrl> urls;
    for (const std::string& p : paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(w->frame(), &enter);
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, modifiers);
    QApplication::sendEvent(w->frame(), &event);
    settle();
  }
  std::vector<int> states() {
    std::vector<int> out;
    for (int i = 1; i < w->text_count(); ++i) out.push_back(w->text_at(i).state);
    return out;
  }
  int greyed_entries() {
    int n = 0;
    for (int i = 0; i < w->menus().text_entry_count(); ++i) n += !w->menus().is_enabled(401 + i);
    return n;
  }
};

TEST_F(texts_window_test, no_arguments_open_the_file_dialog_and_cancel_leaves_the_console) {
  start();
  EXPECT_EQ(asked("open "), 1);
  EXPECT_EQ(w->text_count(), 1);
  EXPECT_EQ(current().name, "console/scratch");
  // The text-switch submenu holds the console's entry, greyed.
  EXPECT_EQ(w->menus().text_entry_count(), 1);
  EXPECT_FALSE(w->menus().is_enabled(401));
  EXPECT_FALSE(w->menus().is_enabled(228)) << "nothing to close";
}

TEST_F(texts_window_test, command_line_files_open_in_order_read_only_with_the_switch) {
  start(files_to_open({a, b}, true));
  EXPECT_EQ(names(), (std::vector<std::string>{"console/scratch", a, b}));
  EXPECT_EQ(states(), (std::vector<int>{read_only_state, read_only_state}));
  EXPECT_EQ(asked("open "), 0) << "no file dialog when files were opened";
  EXPECT_EQ(w->current_text_index(), 2);
}

TEST_F(texts_window_test, three_dropped_files_open_last_to_first_and_ctrl_makes_them_read_only) {
  start();
  drop({a, b, c}, Qt::ControlModifier);
  EXPECT_EQ(names(), (std::vector<std::string>{"console/scratch", c, b, a}));
  EXPECT_EQ(states(), (std::vector<int>{read_only_state, read_only_state, read_only_state}));
  EXPECT_EQ(w->current_text_index(), 3);
  // Without Ctrl they are writable; already open read-only, they load again.
  drop({a}, Qt::NoModifier);
  EXPECT_EQ(w->text_count(), 5);
  EXPECT_EQ(w->text_at(4).state, unchanged_state);
}

TEST_F(texts_window_test, open_file_with_ctrl_and_view_file_are_read_only_and_enter_closes_a_view) {
  start();
  answers.file_answers = {a};
  QTest::keyPress(w->client(), Qt::Key_Control);
  w->send_command(217);
  QTest::keyRelease(w->client(), Qt::Key_Control, Qt::ControlModifier);
  ASSERT_EQ(w->text_count(), 2);
  EXPECT_EQ(current().state, read_only_state);

  answers.file_answers = {b};
  w->send_command(217);
  EXPECT_EQ(current().state, unchanged_state);

  answers.file_answers = {c};
  w->send_command(219);
  ASSERT_EQ(w->text_count(), 4);
  EXPECT_EQ(current().state, read_only_state);
  int dialogs = asked("open ");
  click(Qt::Key_Return);
  EXPECT_EQ(names(), (std::vector<std::string>{"console/scratch", a, b})) << "Enter closes a view";
  EXPECT_EQ(asked("open "), dialogs) << "other texts are still open: no file dialog";
}

TEST_F(texts_window_test, an_open_file_is_shown_again_unless_the_access_differs) {
  start(files_to_open({a, b}));
  w->open_text(w->text_count(), a, false);
  EXPECT_EQ(w->text_count(), 3) << "opening it again shows the open text";
  EXPECT_EQ(w->current_text_index(), 1);
  w->open_text(w->text_count(), a, true);
  EXPECT_EQ(w->text_count(), 4) << "read-only next to the writable one";
  w->open_text(w->text_count(), a, true);
  EXPECT_EQ(w->text_count(), 4);
  EXPECT_EQ(w->current_text_index(), 3);
}

TEST_F(texts_window_test, binary_files_are_refused_silently_and_missing_ones_with_a_message) {
  start(files_to_open({a}));
  std::string jpeg = files.write("photo.JPEG", "text");
  std::string nul = files.write("nul.txt", std::string("a\0b", 3));
  EXPECT_FALSE(w->open_text(w->text_count(), jpeg, false));
  EXPECT_FALSE(w->open_text(w->text_count(), nul, false));
  EXPECT_EQ(asked("error"), 0);
  EXPECT_FALSE(w->open_text(w->text_count(), files.dir() + "missing.txt", false));
  EXPECT_EQ(asked("error 5 31"), 1);
  EXPECT_EQ(w->text_count(), 2);
}

TEST_F(texts_window_test, closing_the_window_asks_once_about_a_modified_text) {
  start(files_to_open({a, b}));
  type("x");
  answers.choose_answers = {choice::cancel};
  w->frame()->close();
  settle();
  ASSERT_NE(w->frame(), nullptr) << "Cancel keeps the window";
  EXPECT_EQ(asked("choose 4 21"), 1);
  EXPECT_EQ(w->text_count(), 3);

  answers.choose_answers = {choice::no};
  w->send_command(201);  // quit posts the close request
  settle();
  EXPECT_EQ(asked("choose 4 21"), 2) << "only the modified text asks";
  EXPECT_EQ(w->frame(), nullptr) << "the window is gone";
  EXPECT_EQ(files.read("b.txt"), "second\r\n") << "No discards the change";
}

TEST_F(texts_window_test, change_window_cycles_the_texts_without_the_console) {
  start(files_to_open({a}));
  w->send_command(223);
  EXPECT_EQ(w->current_text_index(), 1) << "one text besides the console: nothing to change to";
  w->send_command(401);
  EXPECT_EQ(w->current_text_index(), 0);
  w->send_command(223);
  EXPECT_EQ(w->current_text_index(), 1) << "from the console to text 1";
  w->open_text(w->text_count(), b, false);
  w->open_text(w->text_count(), c, false);
  w->send_command(223);
  EXPECT_EQ(w->current_text_index(), 1) << "from the last text to text 1";
  w->send_command(223);
  EXPECT_EQ(w->current_text_index(), 2);
}

TEST_F(texts_window_test, open_console_there_and_back_with_one_and_two_panes) {
  start(files_to_open({a, b}));
  w->send_command(218);
  EXPECT_EQ(w->current_text_index(), 0);
  w->send_command(218);
  settle();
  EXPECT_EQ(w->current_text_index(), 1) << "from the console the posted change_window moves on";

  // Two panes, the last text in the other: the current pane takes the one before it.
  w->send_command(401);
  w->send_command(222);
  ASSERT_EQ(w->pane_text(1), 2);
  w->send_command(218);
  settle();
  EXPECT_TRUE(w->display().layout.dual);
  EXPECT_EQ(w->current_pane_index(), 0);
  EXPECT_EQ(w->pane_text(0), 1);
  EXPECT_EQ(w->pane_text(1), 2);

  // Two texts in all: back to one pane, and the posted change_window moves on.
  w->destroy();
  start(files_to_open({a}));
  w->send_command(401);
  w->send_command(222);
  ASSERT_EQ(w->current_text_index(), 0);
  w->send_command(218);
  EXPECT_FALSE(w->display().layout.dual);
  settle();
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->current_text_index(), 1);
}

TEST_F(texts_window_test, the_pane_layout_cycles_and_greys_the_texts_shown) {
  start(files_to_open({a}));
  w->send_command(401);  // the console in the pane
  w->send_command(222);
  EXPECT_TRUE(w->display().layout.dual);
  EXPECT_FALSE(w->display().layout.side_by_side);
  EXPECT_EQ(w->pane_text(0), 0);
  EXPECT_EQ(w->pane_text(1), 1) << "the lower pane shows the last text";
  EXPECT_EQ(w->current_pane_index(), 0);
  EXPECT_EQ(greyed_entries(), 2);
  EXPECT_TRUE(w->menus().is_enabled(250)) << "compare needs two panes";

  w->send_command(223);
  EXPECT_EQ(w->current_pane_index(), 1);
  EXPECT_EQ(w->current_text_index(), 1);
  w->send_command(218);
  EXPECT_EQ(w->current_pane_index(), 0) << "the console is in the other pane";

  w->send_command(222);
  EXPECT_TRUE(w->display().layout.side_by_side);
  EXPECT_EQ(w->pane_text(1), 1);
  w->send_command(222);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->current_text_index(), 0);
  EXPECT_EQ(greyed_entries(), 1);
}

TEST_F(texts_window_test, a_second_pane_needs_two_texts) {
  start();
  w->send_command(222);
  EXPECT_FALSE(w->display().layout.dual);
}

TEST_F(texts_window_test, hand_overs_open_the_listed_files_and_take_the_command) {
  start();
  std::string rsp = files.dir() + "vintorel.rsp";
  ASSERT_TRUE(write_response_file(rsp, {a, b}));
  w->send_command(338, 1);
  EXPECT_EQ(names(), (std::vector<std::string>{"console/scratch", a, b}));
  EXPECT_EQ(states(), (std::vector<int>{read_only_state, read_only_state}));
  EXPECT_FALSE(response_file_exists(rsp));

  ASSERT_TRUE(write_response_file(rsp, {"/srv/src", "make all"}));
  w->send_command(339);
  EXPECT_EQ(w->command_directory(), "/srv/src/");
  EXPECT_EQ(w->last_command(), "make all");
  EXPECT_FALSE(response_file_exists(rsp));
}

TEST_F(texts_window_test, text_entries_show_size_mark_and_name_and_stop_at_99) {
  start(files_to_open({a}));
  QAction* entry = w->menus().item(402);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text().toStdString(), "            7   " + a);
  type("x");
  click(Qt::Key_Down);  // the edit is committed: the text is modified
  EXPECT_EQ(w->menus().item(402)->text().toStdString(), "            8 * " + a);
  for (int i = 0; i < 100; ++i) w->new_text("???");
  EXPECT_EQ(w->text_count(), 102);
  EXPECT_EQ(w->menus().text_entry_count(), 99) << "no text gets an id above 499";
  EXPECT_EQ(w->menus().item(500)->text().toStdString().rfind("直接", 0), 0u);
}

TEST_F(texts_window_test, dynamic_menus_from_program_ini_and_ext_ini) {
  files.write("program.ini", "[&Grep]\nprogram=grep\n[&Make]\nprogram=make\n");
  files.write("ext.ini", "[c/h]\ntab size=4\n");
  start();
  EXPECT_EQ(w->menus().program_entry_count(), 2);
  EXPECT_EQ(w->menus().style_entry_count(), 1);
  ASSERT_NE(w->menus().item(502), nullptr);
  ASSERT_NE(w->menus().item(702), nullptr);
  for (int i = 0; i < 120; ++i) w->menus().add_program_entry("p");
  EXPECT_EQ(w->menus().program_entry_count(), 99);
  w->menus().remove_program_entries();
  EXPECT_EQ(w->menus().program_entry_count(), 0);
  EXPECT_EQ(w->menus().top(3)->actions().size(), 1) << "the separator goes with the last entry";
}

}  // namespace
}  // namespace vintorel
