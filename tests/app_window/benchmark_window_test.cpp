// The drawing benchmark run from the real main window: it types every
// full-width character into the console, 16 to a line, and reports the time;
// Shift stops it.
#include <chrono>
#include <iostream>

#include <QMainWindow>

#include "app/dialog_benchmark.h"
#include "main_window_fixture.h"
#include "platform/string_table.h"

namespace vintorel {
namespace {

class benchmark_window_test : public window_test::main_window_test {
 protected:
  static byte_string codes(unsigned first, int count) {
    byte_string s;
    for (int i = 0; i < count; ++i) {
      s += static_cast<char>((first + i) >> 8);
      s += static_cast<char>((first + i) & 0xFF);
    }
    return s;
  }
};

TEST_F(benchmark_window_test, run_from_another_text_fills_the_console_and_reports_the_time) {
  const std::string file = files.write("a.txt", "text\r\n");
  start(files_to_open({file}));
  ASSERT_EQ(w->work().current_text_index(), 1);
  const auto began = std::chrono::steady_clock::now();
  send(*w, command_id::benchmark);
  const auto took = std::chrono::steady_clock::now() - began;
  EXPECT_EQ(w->work().current_text_index(), 0);

  const std::vector<byte_string> lines = console_lines();
  // The console's empty line, 720 lines of characters, an empty line, the
  // report and the last line.
  ASSERT_EQ(lines.size(), 1u + 720u + 3u);
  EXPECT_EQ(lines[0], "\r\n");
  EXPECT_EQ(lines[1], codes(0x8140, 16) + "\r\n");
  EXPECT_EQ(lines[13], codes(0x8240, 16) + "\r\n");
  EXPECT_EQ(lines[31 * 12], codes(0x9FF0, 16) + "\r\n");
  EXPECT_EQ(lines[31 * 12 + 1], codes(0xE040, 16) + "\r\n");
  EXPECT_EQ(lines[720], codes(0xFCF0, 16) + "\r\n");
  std::size_t characters = 0;
  for (int i = 1; i <= 720; ++i) {
    ASSERT_EQ(lines[static_cast<std::size_t>(i)].size(), 34u) << i;
    characters += 16;
  }
  EXPECT_EQ(characters, 11520u);
  EXPECT_EQ(lines[721], "\r\n");
  const byte_string& done = load_string(string_benchmark_done);
  const byte_string& report = lines[722];
  ASSERT_GT(report.size(), done.size() + 2);
  const byte_string number = report.substr(0, report.size() - done.size() - 2);
  EXPECT_EQ(number.find_first_not_of("0123456789"), byte_string::npos) << number;
  EXPECT_EQ(report.substr(number.size()), done + "\r\n");
  EXPECT_EQ(lines[723], "\x1A");
  std::cout << "benchmark report: " << number << " ms (run took "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms)\n";
  // The other text is untouched.
  EXPECT_EQ(w->work().text_at(1).line_count(), 2);
}

TEST_F(benchmark_window_test, shift_stops_the_run_at_the_next_step_with_one_line_end_and_no_report) {
  start();
  int asked = 0;
  dialog_benchmark box(*w, [&asked] { return ++asked == 20; });
  EXPECT_EQ(box.run_modal(w->frame()), 2);
  const std::vector<byte_string> lines = console_lines();
  // 19 characters went in: a full line and three more, then one line end.
  const std::vector<byte_string> want = {"\r\n", codes(0x8140, 16) + "\r\n", codes(0x8150, 3) + "\r\n", "\x1A"};
  EXPECT_EQ(lines, want);
}

TEST_F(benchmark_window_test, shift_held_from_the_start_types_nothing) {
  start();
  dialog_benchmark box(*w, [] { return true; });
  EXPECT_EQ(box.run_modal(w->frame()), 2);
  const std::vector<byte_string> want = {"\r\n", "\r\n", "\x1A"};
  EXPECT_EQ(console_lines(), want);
}

}  // namespace
}  // namespace vintorel
