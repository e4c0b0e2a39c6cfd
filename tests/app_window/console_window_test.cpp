// Commands run from the real main window: the console's lines after a run,
// the line limit, failures, stopping from the dialog, direct input, program
// entries, tag jump and URL opening.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <thread>

#include "app/window_entries.h"
#include "app/window_menus.h"
#include "main_window_fixture.h"
#include "scoped_env.h"
#include "text/motion.h"

namespace vintorel {
namespace {

using namespace std::chrono_literals;

class console_window_test : public window_test::main_window_test {
 protected:
  // Runs `act` on the modal dialog open `after` from now.
  void on_dialog(std::function<void(QWidget*)> act, int after_ms = 0) {
    QTimer::singleShot(after_ms, [act] {
      if (QWidget* box = QApplication::activeModalWidget()) act(box);
    });
  }
  static void click(QWidget* box, const char* label) {
    for (QPushButton* p : box->findChildren<QPushButton*>())
      if (p->text() == QString::fromUtf8(label)) p->click();
  }
  std::string echo(const std::string& command) { return files.dir() + ">" + command + "\r\n"; }
};

TEST_F(console_window_test, a_silent_command_adds_four_lines_and_runs_in_the_command_directory) {
  start(files_to_open({files.write("a.txt", "text\r\n")}));
  ASSERT_EQ(w->work().current_text_index(), 1);
  run_command_in(*w, files.dir(), "true");
  settle();
  // The console is shown, and what it had (one empty line) is followed by
  // an empty line, the echo, an empty line and the cursor's empty last line.
  EXPECT_EQ(w->work().current_text_index(), 0);
  std::vector<byte_string> want = {"\r\n", "\r\n", echo("true"), "\r\n", "\x1A"};
  EXPECT_EQ(console_lines(), want);
  EXPECT_EQ(w->work().text_at(0).current_line, 4);
  EXPECT_TRUE(answers.asked.empty());
}

TEST_F(console_window_test, a_long_run_is_trimmed_to_its_last_lines) {
  settings.buffer_console = 256;
  start();
  run_command_in(*w, files.dir(), "seq 1 299");
  std::vector<byte_string> lines = console_lines();
  ASSERT_EQ(lines.size(), 192u);
  // Empty line, echo, 1..299, the final line feed's empty line and the last.
  EXPECT_EQ(lines[189], "299\r\n");
  EXPECT_EQ(lines[0], "110\r\n");
  EXPECT_EQ(w->work().text_at(0).current_line, 191);
}

TEST_F(console_window_test, a_missing_interpreter_is_reported_once) {
  start();
  answers.asked.clear();  // the file dialog of an editor started empty
  test_support::scoped_env comspec("ComSpec", "/nonexistent");
  EXPECT_FALSE(w->execute_command("echo hi"));
  EXPECT_EQ(answers.asked, std::vector<std::string>{"error 5 29"});
  EXPECT_EQ(console_lines().size(), 1u);
}

TEST_F(console_window_test, the_stop_button_ends_a_command_that_never_would) {
  start();
  on_dialog([](QWidget* box) { click(box, "中止"); }, 500);
  auto began = std::chrono::steady_clock::now();
  EXPECT_TRUE(w->execute_command("echo started; sleep 1000"));
  EXPECT_LT(std::chrono::steady_clock::now() - began, 5s);
  std::vector<byte_string> lines = console_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "started\r\n"), lines.end());
  // The editor goes on: another command runs.
  EXPECT_TRUE(w->execute_command("echo again"));
  lines = console_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "again\r\n"), lines.end());
}

TEST_F(console_window_test, direct_input_takes_the_directory_with_a_slash_added) {
  std::filesystem::create_directories(files.path("sub"));
  start();
  on_dialog([this](QWidget* box) {
    QList<QLineEdit*> edits = box->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 2);
    EXPECT_EQ(edits[1]->text().toStdString(), files.dir());
    edits[0]->setText("pwd");
    edits[1]->setText(QString::fromStdString(files.path("sub")));
    click(box, "OK");
  });
  command(500);
  EXPECT_EQ(w->work().command_directory, files.path("sub/"));
  std::vector<byte_string> lines = console_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), files.path("sub") + "\r\n"), lines.end());
  // Cancel runs nothing.
  on_dialog([](QWidget* box) { click(box, "Cancel"); });
  command(500);
  EXPECT_EQ(console_lines(), lines);
}

TEST_F(console_window_test, program_entries_come_from_program_ini_and_confirm_as_asked) {
  files.write("program.ini", "[&Now]\nprogram=echo now\nconfirm=-\n[&Ask]\nprogram=echo asked\n");
  start();
  ASSERT_EQ(w->menus().program_entry_count(), 2);
  command(501);  // runs at once
  std::vector<byte_string> lines = console_lines();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "now\r\n"), lines.end());
  on_dialog([](QWidget* box) {
    QList<QLineEdit*> edits = box->findChildren<QLineEdit*>();
    EXPECT_EQ(edits[0]->text().toStdString(), "echo asked");
    click(box, "Cancel");
  });
  command(502);
  EXPECT_EQ(console_lines(), lines);
  command(503);  // no such entry: nothing
  EXPECT_EQ(console_lines(), lines);
  files.write("program.ini", "[&Only]\nprogram=true\n");
  rebuild_program_menus(*w);
  EXPECT_EQ(w->menus().program_entry_count(), 1);
}

TEST_F(console_window_test, tag_jump_steps_through_grep_output) {
  files.write("a.c", "one\r\ntwo x\r\nthree\r\n");
  std::filesystem::create_directories(files.path("src/sub"));
  files.write("src/sub/b.c", "1\r\n2\r\n3\r\n4 x\r\n");
  start();
  run_command_in(*w, files.dir(), "grep -n x a.c src/sub/b.c");
  // To the first output line, below the echo.
  text_document& console = w->work().text_at(0);
  edit_context c = w->context();
  vintorel::jump(console, c, 3);
  command(255);
  EXPECT_EQ(current().name, files.path("a.c"));
  EXPECT_EQ(current().current_line, 1);
  command(218);  // back to the console, whose cursor moved down a line
  ASSERT_EQ(w->work().current_text_index(), 0);
  EXPECT_EQ(console.current_line, 4);
  command(255);
  EXPECT_EQ(current().name, files.path("src/sub/b.c"));
  EXPECT_EQ(current().current_line, 3);
}

TEST_F(console_window_test, open_url_hands_the_address_alone_to_xdg_open) {
  std::filesystem::create_directories(files.path("bin"));
  files.write("bin/xdg-open", "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" >> \"" + files.path("opened") + "\"\n");
  std::filesystem::permissions(files.path("bin/xdg-open"), std::filesystem::perms::owner_all);
  std::string path = files.path("bin") + ":" + std::getenv("PATH");
  test_support::scoped_env on_path("PATH", path.c_str());
  files.write("links.txt", "go https://e.x/a;touch$IFS'" + files.path("x") + "' now\r\nHTTP://E.X/\r\n");
  start(files_to_open({files.path("links.txt")}));
  for (int i = 0; i < 5; ++i) command(265);  // onto the address
  command(312);
  command(273);
  command(312);  // capitals: nothing
  for (int i = 0; i < 100 && files.read("opened").empty(); ++i) std::this_thread::sleep_for(20ms);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(files.read("opened"), "1|https://e.x/a;touch$IFS'" + files.path("x") + "'\n");
  EXPECT_FALSE(std::filesystem::exists(files.path("x")));
}

}  // namespace
}  // namespace vintorel
