// Real child processes through the worker thread: what reaches the console
// commands, stopping, and a missing interpreter.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "exec/thread_exec.h"
#include "platform/cp932.h"
#include "scoped_env.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using namespace std::chrono_literals;

// Writes down what the worker sends, as the console would show it: "<end>"
// for the move to the end and its line feed, the runs and "\n" per line feed.
class recording_console : public console_commands {
 public:
  std::string shown;
  std::vector<std::string> runs;
  void go_to_end() override { shown += "<end>\n"; }
  void append(const char* text) override {
    runs.emplace_back(text);
    shown += text;
  }
  void line_feed() override { shown += "\n"; }
};

struct run_result {
  int result = -1;
  std::chrono::milliseconds took{0};
};

run_result run(thread_exec& worker, std::chrono::milliseconds stop_after = 0ms, int signal_number = SIGTERM) {
  auto began = std::chrono::steady_clock::now();
  run_result r;
  if (!worker.start()) return r;
  bool stopped = false;
  while (!worker.is_finished()) {
    if (!stopped && stop_after > 0ms && std::chrono::steady_clock::now() - began >= stop_after)
      stopped = worker.stop(signal_number);
    std::this_thread::sleep_for(10ms);
  }
  r.result = worker.close();
  r.took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - began);
  return r;
}

class thread_exec_test : public ::testing::Test {
 protected:
  test_support::scratch_dir dir;
  recording_console console;
  // What the console shows after the echo of `command` run in dir.
  std::string output_of(const std::string& command) {
    thread_exec worker(console, command, dir.dir());
    EXPECT_EQ(run(worker).result, 1);
    std::string echo = "<end>\n\n" + dir.dir() + ">" + command + "\n";
    EXPECT_EQ(console.shown.substr(0, echo.size()), echo);
    return console.shown.size() >= echo.size() ? console.shown.substr(echo.size()) : "";
  }
};

TEST_F(thread_exec_test, nothing_printed_gives_the_echo_between_empty_lines) {
  EXPECT_EQ(output_of("true"), "\n");
}

TEST_F(thread_exec_test, line_ends_of_every_kind_and_a_missing_last_one) {
  EXPECT_EQ(output_of("printf 'a\\r\\nb\\nc\\rd'"), "a\nb\ncd\n");
}

TEST_F(thread_exec_test, standard_error_shares_the_pipe_and_the_command_runs_in_its_directory) {
  EXPECT_EQ(output_of("pwd; echo oops >&2"), dir.dir().substr(0, dir.dir().size() - 1) + "\noops\n\n");
}

TEST_F(thread_exec_test, a_double_byte_character_split_between_reads_stays_whole) {
  // 0x82 0xA0 is "あ"; its lead byte arrives 200 ms before the second.
  EXPECT_EQ(output_of("printf '\\202'; sleep 0.2; printf '\\240x\\n'"), "\x82\xA0x\n\n");
  for (const std::string& r : console.runs) {
    ASSERT_FALSE(r.empty());
    bool lead_open = false;
    for (std::size_t i = 0; i < r.size(); ++i) {
      if (is_lead_byte(static_cast<unsigned char>(r[i])) && i + 1 == r.size()) lead_open = true;
      if (is_lead_byte(static_cast<unsigned char>(r[i]))) ++i;
    }
    EXPECT_FALSE(lead_open) << r;
  }
  // A lead byte that never gets its second byte is dropped.
  console = recording_console();
  EXPECT_EQ(output_of("printf 'z\\202'"), "z\n");
}

TEST_F(thread_exec_test, a_child_reading_its_input_sees_the_end_at_once) {
  thread_exec worker(console, "cat; read x || echo ended", dir.dir());
  run_result r = run(worker);
  EXPECT_EQ(r.result, 1);
  EXPECT_LT(r.took, 5000ms);
  EXPECT_NE(console.shown.find("\nended\n"), std::string::npos);
}

TEST_F(thread_exec_test, a_mebibyte_of_output_arrives_whole_and_a_late_writer_is_waited_for) {
  std::string out = output_of("yes abcdefghijklmno | head -c 1048576; (sleep 0.3; echo late) &");
  EXPECT_EQ(out.size(), 1048576u + std::string("late\n\n").size());
  EXPECT_EQ(out.substr(0, 16), "abcdefghijklmno\n");
  EXPECT_EQ(out.substr(out.size() - 6), "late\n\n");
}

TEST_F(thread_exec_test, a_missing_interpreter_starts_nothing) {
  test_support::scoped_env comspec("ComSpec", "/nonexistent");
  thread_exec worker(console, "echo hi", dir.dir());
  EXPECT_EQ(run(worker).result, 0);
  EXPECT_EQ(console.shown, "");
  // Nor does a directory that cannot be entered.
  test_support::scoped_env none("ComSpec", nullptr);
  thread_exec elsewhere(console, "echo hi", dir.dir() + "missing/");
  EXPECT_EQ(run(elsewhere).result, 0);
}

TEST_F(thread_exec_test, stopping_reaches_the_whole_group_and_keeps_what_was_read) {
  thread_exec worker(console, "echo before; sleep 1000 & sleep 1000; echo after", dir.dir());
  EXPECT_FALSE(worker.stop(SIGTERM));  // nothing runs yet
  run_result r = run(worker, 300ms);
  EXPECT_EQ(r.result, 1);
  EXPECT_LT(r.took, 5000ms);
  EXPECT_NE(console.shown.find("\nbefore\n"), std::string::npos);
  // "after" only in the echo: the shell was stopped before it got there.
  EXPECT_EQ(console.shown.find("after"), console.shown.rfind("after"));
  EXPECT_FALSE(worker.stop(SIGTERM));  // reaped
}

TEST_F(thread_exec_test, a_child_that_ignores_sigterm_is_killed) {
  thread_exec worker(console, "trap '' TERM; echo ready; sleep 1000", dir.dir());
  run_result r = run(worker, 300ms, SIGKILL);
  EXPECT_EQ(r.result, 1);
  EXPECT_LT(r.took, 5000ms);
}

TEST(cut_to_bytes, never_cuts_a_character_in_half) {
  EXPECT_EQ(cut_to_bytes("abc", 255), "abc");
  EXPECT_EQ(cut_to_bytes("ab\x82\xA0", 3), "ab");
  EXPECT_EQ(cut_to_bytes(std::string(300, 'x'), 255).size(), 255u);
}

}  // namespace
}  // namespace vintorel
