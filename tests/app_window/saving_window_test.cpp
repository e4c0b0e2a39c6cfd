// Saving, reloading, duplicating and closing through the real main window:
// questions answered every way, failures that must never lose text, the
// backup, saving vintorel.ini.
#include <QMainWindow>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include "files/file_seam.h"
#include "main_window_fixture.h"

namespace vintorel {
namespace {

using window_test::main_window_test;

class saving_window_test : public main_window_test {
 protected:
  std::string a, b, c;
  void SetUp() override {
    main_window_test::SetUp();
    a = files.write("a.txt", "one\r\ntwo\r\nthree\r\n");
    b = files.write("b.txt", "bee\r\n");
    c = files.write("c.txt", "sea\r\n");
    ::mkdir(files.path("tmp").c_str(), 0700);
    ::setenv("TMP_RAM", files.path("tmp/").c_str(), 1);
  }
  void TearDown() override {
    main_window_test::TearDown();
    ::unsetenv("TMP_RAM");
  }
};

TEST_F(saving_window_test, save_asks_and_a_changed_line_end_asks_again_both_ways) {
  start(files_to_open({a}));
  type("x");
  command(225);  // CR LF -> LF
  // OK to the save, Cancel to the line-end question: nothing happens.
  answers.confirm_answers = {true, false};
  command(226);
  EXPECT_TRUE(was_asked("confirm 3 22"));
  EXPECT_EQ(files.read("a.txt"), "one\r\ntwo\r\nthree\r\n");
  EXPECT_TRUE(current().is_modified());
  // Cancel to the first question asks nothing more.
  answers.asked.clear();
  command(226);
  EXPECT_EQ(answers.asked, std::vector<std::string>{"confirm 3 21"});
  // Both OK: written with LF, opened again at the same place writable.
  answers.confirm_answers = {true, true};
  command(226);
  EXPECT_EQ(files.read("a.txt"), "xone\ntwo\nthree\n");
  ASSERT_EQ(w->work().text_count(), 2);
  EXPECT_EQ(w->work().current_text_index(), 1);
  EXPECT_FALSE(current().is_modified());
  EXPECT_EQ(current().save_linefeed, lf);
  EXPECT_EQ(current().state, unchanged_state);
}

TEST_F(saving_window_test, a_changed_charset_alone_can_be_saved_to_convert_the_file) {
  start(files_to_open({files.write("k.txt", "\x8a\xbf\x8e\x9a\r\n")}));  // 漢字 in Shift_JIS
  answers.confirm_answers = {true, true};
  command(226);
  EXPECT_TRUE(answers.asked.empty());  // nothing to save yet: the command is greyed
  command(224);  // Shift_JIS -> ISO-2022-JP
  command(226);
  EXPECT_TRUE(was_asked("confirm 3 22"));
  EXPECT_EQ(files.read("k.txt"), "\x1b$B4A;z\x1b(B\r\n");
  EXPECT_EQ(current().file_charset, iso2022jp);
}

TEST_F(saving_window_test, a_new_text_is_asked_for_and_named_in_the_save_dialog) {
  start(files_to_open({a}));
  command(216);  // Cancel
  EXPECT_EQ(w->work().text_count(), 2);
  answers.confirm_answers = {true};
  command(216);
  ASSERT_EQ(w->work().text_count(), 3);
  type("new");
  answers.confirm_answers = {true};
  answers.file_answers = {files.path("new.txt")};
  command(226);
  EXPECT_EQ(files.read("new.txt"), "new");
  EXPECT_EQ(current().name, files.path("new.txt"));
  EXPECT_EQ(w->work().current_text_index(), 2);
}

TEST_F(saving_window_test, a_failed_save_keeps_the_text_open_until_a_later_save_succeeds) {
  const std::function<void()> faults[] = {
      [] { file_seam::rename = [](const char*, const char*) { return errno = EXDEV, -1; }; },
      [] { file_seam::fsync = [](int) { return errno = EIO, -1; }; },
      [] { file_seam::write = [](int, const void*, std::size_t) -> ssize_t { return errno = ENOSPC, -1; }; },
  };
  for (const auto& fault : faults) {
    start(files_to_open({a}));
    type("x");
    const int entries = files.entry_count();
    fault();
    answers.confirm_answers = {true};
    command(226);
    file_seam::reset();
    EXPECT_TRUE(was_asked("error 5 31"));
    EXPECT_EQ(files.read("a.txt"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(files.entry_count(), entries);  // no temporary file left behind
    ASSERT_EQ(w->work().text_count(), 2);
    EXPECT_TRUE(current().is_modified());
    EXPECT_EQ(line(2), "three\r\n");  // unedited lines still read from the file
    answers.confirm_answers = {true};
    command(226);
    EXPECT_EQ(files.read("a.txt"), "xone\r\ntwo\r\nthree\r\n");
    EXPECT_FALSE(current().is_modified());
    w->destroy();
    files.write("a.txt", "one\r\ntwo\r\nthree\r\n");
  }
}

TEST_F(saving_window_test, a_file_changed_by_another_program_is_not_overwritten_without_asking) {
  // Replaced through a rename: asked; Cancel keeps everything, OK saves.
  start(files_to_open({a}));
  type("x");
  files.write("other", "theirs\r\n");
  ASSERT_EQ(::rename(files.path("other").c_str(), a.c_str()), 0);
  answers.confirm_answers = {true, false};
  command(226);
  EXPECT_TRUE(was_asked("confirm 3 38"));
  EXPECT_EQ(files.read("a.txt"), "theirs\r\n");
  EXPECT_TRUE(current().is_modified());
  answers.confirm_answers = {true, true};
  command(226);
  EXPECT_EQ(files.read("a.txt"), "xone\r\ntwo\r\nthree\r\n");
  w->destroy();

  // Rewritten shorter in place: the unedited lines beyond what the text has
  // cached are gone, so the edited ones go to a rescue file beside the file
  // and the text stays open.
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "line " + std::to_string(i) + "\r\n";
  std::string big = files.write("big.txt", many);
  start(files_to_open({big}));
  type("y");
  command(273);  // forward_line: the edit is committed
  files.write("big.txt", "short");
  answers.asked.clear();
  answers.confirm_answers = {true, true};
  command(226);
  EXPECT_TRUE(was_asked("error 5 39 " + big + ".rescue"));
  EXPECT_EQ(files.read("big.txt.rescue"), "1\tyline 0\r\n40001\t");
  EXPECT_EQ(files.read("big.txt"), "short");
  ASSERT_EQ(w->work().text_count(), 2);
  EXPECT_TRUE(current().is_modified());
  EXPECT_EQ(line(0), "yline 0\r\n");
}

TEST_F(saving_window_test, backup_keeps_the_old_bytes_under_the_stamped_name) {
  settings.backup = true;
  start(files_to_open({a}));
  type("x");
  answers.confirm_answers = {true};
  command(226);
  EXPECT_EQ(files.read("a.txt"), "xone\r\ntwo\r\nthree\r\n");
  int backups = 0;
  for (const auto& entry : std::filesystem::directory_iterator(files.dir())) {
    std::string name = entry.path().filename().string();
    if (name.rfind("a(", 0) == 0 && name.size() == std::string("a(20260101000000).txt").size()) {
      ++backups;
      EXPECT_EQ(files.read(name), "one\r\ntwo\r\nthree\r\n");
    }
  }
  EXPECT_EQ(backups, 1);
}

TEST_F(saving_window_test, saving_the_settings_file_rebinds_and_tells_the_user) {
  files.write("vintorel.ini", "[key]\r\n");
  start(files_to_open({files.path("vintorel.ini")}));
  ASSERT_EQ(bound_command_id(key_binding_table, 86), 249);
  command(273);
  type("pagedown = forward_page");
  answers.confirm_answers = {true};
  command(226);
  EXPECT_TRUE(was_asked("notice 2 17"));
  EXPECT_EQ(files.read("vintorel.ini"), "[key]\r\npagedown = forward_page");
  EXPECT_EQ(bound_command_id(key_binding_table, 86), 269);
}

TEST_F(saving_window_test, close_yes_no_and_cancel) {
  start(files_to_open({a, b}));
  type("x");
  answers.choose_answers = {choice::cancel};
  command(227);
  EXPECT_EQ(w->work().text_count(), 3);
  answers.choose_answers = {choice::no};
  command(227);
  EXPECT_EQ(w->work().text_count(), 2);
  EXPECT_EQ(files.read("b.txt"), "bee\r\n");
  command(401 + 1);
  type("y");
  answers.choose_answers = {choice::yes};
  answers.asked.clear();
  command(227);
  EXPECT_EQ(files.read("a.txt"), "yone\r\ntwo\r\nthree\r\n");
  // Only the console left: the file dialog comes (and is cancelled).
  EXPECT_EQ(w->work().text_count(), 1);
  ASSERT_EQ(answers.asked.size(), 2u);
  EXPECT_EQ(answers.asked[1].rfind("open ", 0), 0u);
}

TEST_F(saving_window_test, close_all_cancelled_halfway_keeps_the_rest) {
  start(files_to_open({a, b, c}));
  for (int i = 1; i <= 3; ++i) {
    command(401 + i);
    type("z");
  }
  answers.choose_answers = {choice::no, choice::cancel};
  command(228);
  EXPECT_EQ(names(), (std::vector<std::string>{std::string(console_text_name), a, b}));
  EXPECT_EQ(w->work().current_text_index(), 2);
}

TEST_F(saving_window_test, quit_cancelled_keeps_the_window_and_no_closes_it_unsaved) {
  start(files_to_open({a, b}));
  type("x");
  answers.choose_answers = {choice::cancel};
  command(201);  // quit posts the close request
  settle();
  ASSERT_NE(w->frame(), nullptr);
  EXPECT_EQ(answers.asked, std::vector<std::string>{"choose 4 21"});
  EXPECT_EQ(w->work().text_count(), 3);
  EXPECT_TRUE(current().is_modified());

  answers.choose_answers = {choice::no};
  w->frame()->close();
  settle();
  EXPECT_EQ(answers.asked.size(), 2u) << "only the modified text asks";
  EXPECT_EQ(w->frame(), nullptr);
  EXPECT_EQ(files.read("b.txt"), "bee\r\n");
}

TEST_F(saving_window_test, reload_keeps_the_place_the_charset_and_the_line_end) {
  start(files_to_open({a}));
  command(273);
  command(273);
  type("x");
  command(225);
  command(330);  // EUC-JP
  command(220);  // cancelled
  EXPECT_EQ(line(2), "xthree\r\n");
  answers.confirm_answers = {true};
  command(220);
  ASSERT_EQ(w->work().text_count(), 2);
  EXPECT_EQ(w->work().current_text_index(), 1);
  EXPECT_EQ(current().current_line, 2);
  EXPECT_EQ(current().save_linefeed, lf);
  EXPECT_EQ(current().save_charset, euc_jp);
  EXPECT_EQ(line(2), "three\r\n");
  EXPECT_NE(current().state, read_only_state);
}

TEST_F(saving_window_test, duplicate_shows_a_read_only_copy_and_undoes_it_from_either_pane) {
  start(files_to_open({a, b}));
  command(273);
  command(221);
  ASSERT_TRUE(w->display().layout.dual);
  EXPECT_EQ(w->work().current_pane(), 0);
  int copy = w->work().pane_text(1);
  EXPECT_EQ(w->work().text_at(copy).name, b);
  EXPECT_EQ(w->work().text_at(copy).state, read_only_state);
  EXPECT_EQ(w->work().text_at(copy).current_line, 1);
  // From the writable pane: the copy goes, one pane remains.
  command(221);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->work().text_count(), 3);
  EXPECT_EQ(current().name, b);
  // From the read-only pane: it goes and the writable one stays current.
  command(221);
  command(223);
  ASSERT_EQ(current().state, read_only_state);
  command(221);
  EXPECT_FALSE(w->display().layout.dual);
  EXPECT_EQ(w->work().text_count(), 3);
  EXPECT_EQ(current().name, b);
  EXPECT_NE(current().state, read_only_state);
}

}  // namespace
}  // namespace vintorel
