// Tests of a large file shown before it is wholly indexed: moves on the first
// screen run at once, other commands wait, keys typed during the wait follow
// in order, Cancel closes the text, and a load that fails at its end closes it.
#include <QTimer>

#include "files/index_loader.h"
#include "main_window_fixture.h"

namespace vintorel::window_test {
namespace {

// Lines "line N" with CR LF, past the size below which files load whole.
std::string large_text(bool nul_near_end = false) {
  std::string bytes;
  bytes.reserve(9u << 20);
  for (int i = 0; bytes.size() < (9u << 20); ++i) bytes += "line " + std::to_string(i) + "\r\n";
  if (nul_near_end) bytes[bytes.size() - 100] = '\0';
  return bytes;
}

class loading_window_test : public main_window_test {
 protected:
  void TearDown() override {
    hold_index_loaders(false);
    main_window_test::TearDown();
  }
  // Runs events until no text is being indexed.
  void settle_loading() {
    for (int i = 0; i < 500 && w->is_loading(); ++i) {
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QTest::qWait(10);
    }
    settle();
  }
  int count_of(const std::string& path) {
    text_document whole;
    load_text_file(whole, path, false, 0, 0, 0, 0, shift_jis, crlf);
    return whole.line_count();
  }
};

TEST_F(loading_window_test, keys_typed_while_a_command_waits_follow_it_in_order) {
  std::string path = files.write("big.txt", large_text());
  hold_index_loaders(true);
  start(files_to_open({path}));
  text_document& d = current();
  ASSERT_GE(d.loading_percent, 0);
  ASSERT_LT(d.line_count(), count_of(path));

  // A move on the lines already indexed does not wait.
  command(to_int(command_id::forward_line));
  EXPECT_EQ(d.current_line, 1);
  EXPECT_GE(d.loading_percent, 0);

  // The last line waits for the index; what is typed meanwhile comes after.
  QTimer::singleShot(100, [this] { QTest::keyClicks(w->client(), "ab"); });
  QTimer::singleShot(400, [] { hold_index_loaders(false); });
  w->send_command(to_int(command_id::forward_line_tail));
  settle();
  EXPECT_TRUE(was_asked("wait 2 44"));
  EXPECT_EQ(d.loading_percent, -1);
  EXPECT_EQ(d.line_count(), count_of(path));
  EXPECT_EQ(d.current_line, d.line_count() - 1);
  EXPECT_EQ(line(d.current_line), "ab\x1A");
  EXPECT_EQ(line(1), "line 1\r\n");
}

TEST_F(loading_window_test, cancelling_the_wait_closes_the_text_and_drops_what_was_typed) {
  std::string path = files.write("big.txt", large_text());
  hold_index_loaders(true);
  start(files_to_open({path}));
  answers.cancel_waits = true;
  QTimer::singleShot(50, [this] { QTest::keyClicks(w->client(), "zz"); });
  w->send_command(to_int(command_id::forward_line_tail));
  settle();
  EXPECT_TRUE(was_asked("wait 2 44"));
  EXPECT_FALSE(w->is_loading());
  EXPECT_EQ(names(), std::vector<std::string>{std::string(console_text_name)});
  for (const byte_string& l : console_lines()) EXPECT_EQ(l.find("zz"), byte_string::npos);
}

TEST_F(loading_window_test, closing_a_text_being_indexed_does_not_wait) {
  std::string path = files.write("big.txt", large_text());
  hold_index_loaders(true);
  start(files_to_open({path}));
  ASSERT_TRUE(w->is_loading());
  command(to_int(command_id::close_file));
  EXPECT_FALSE(w->is_loading());
  EXPECT_EQ(names(), std::vector<std::string>{std::string(console_text_name)});
  EXPECT_FALSE(was_asked("wait 2 44"));
}

TEST_F(loading_window_test, a_file_found_binary_at_its_end_is_closed_without_a_word) {
  std::string path = files.write("binary.txt", large_text(true));
  start(files_to_open({path}));
  settle_loading();
  EXPECT_FALSE(w->is_loading());
  EXPECT_EQ(names(), std::vector<std::string>{std::string(console_text_name)});
  EXPECT_TRUE(answers.asked.empty()) << answers.asked[0];
}

TEST_F(loading_window_test, the_index_is_completed_by_the_timer_without_any_command) {
  std::string path = files.write("big.txt", large_text());
  start(files_to_open({path}));
  settle_loading();
  text_document& d = current();
  EXPECT_EQ(d.loading_percent, -1);
  EXPECT_EQ(d.line_count(), count_of(path));
  EXPECT_TRUE(d.lines.check());
  EXPECT_EQ(d.state, unchanged_state);
}

}  // namespace
}  // namespace vintorel::window_test
