// Tests of the second instance's hand-over against a stand-in for the running
// instance: the order of the steps, the response file, and the time limits.
#include "shell/handover.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "shell/response_file.h"
#include "platform/fake_instance.h"

namespace vintorel {
namespace {

using instance_test::fake_instance;
using instance_test::scratch_directory;

handover_limits quick() {
  handover_limits l;
  l.find_window_ms = l.response_file_ms = l.answer_ms = 400;
  l.poll_ms = 10;
  return l;
}

handover_input files_input(const std::string& dir, std::vector<std::string> files, bool read_only) {
  handover_input in;
  in.instance_directory = dir;
  in.response_path = dir + "vintorel.rsp";
  in.command_line_empty = false;
  in.items.files = std::move(files);
  in.read_only = read_only;
  return in;
}

// The running instance: reads and deletes the response file when it is asked
// to open files or run a command.
struct running_instance {
  scratch_directory scratch;
  fake_instance first{scratch.dir()};
  std::vector<std::string> seen;
  running_instance() {
    first.on_request = [this](const instance_request& r) {
      if (r.kind != request_kind::raise) {
        read_response_file(scratch.dir() + "vintorel.rsp", seen);
        delete_response_file(scratch.dir() + "vintorel.rsp");
      }
      return std::string();
    };
  }
};

TEST(hand_over, files_a_command_or_nothing_reach_the_running_instance) {
  running_instance running;
  auto in = files_input(running.scratch.dir(), {"/w/a.txt", "/w/b.txt"}, true);
  EXPECT_EQ(hand_over(in, quick()), handover_result::done);
  EXPECT_EQ(running.seen, (std::vector<std::string>{"/w/a.txt", "/w/b.txt"}));
  auto requests = running.first.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].kind, request_kind::raise);
  EXPECT_EQ(requests[1].kind, request_kind::open_files);
  EXPECT_TRUE(requests[1].read_only);

  in.items.command_mode = true;
  in.items.directory = "/work/";
  in.items.command = "make all";
  EXPECT_EQ(hand_over(in, quick()), handover_result::done);
  EXPECT_EQ(running.seen, (std::vector<std::string>{"/work/", "make all"}));
  EXPECT_EQ(running.first.requests().back().kind, request_kind::run_command);
  EXPECT_FALSE(running.first.requests().back().read_only);

  in.command_line_empty = true;  // only raises the window
  EXPECT_EQ(hand_over(in, quick()), handover_result::done);
  ASSERT_EQ(running.first.requests().size(), 5u);
  EXPECT_EQ(running.first.requests().back().kind, request_kind::raise);
  EXPECT_FALSE(response_file_exists(in.response_path));
}

TEST(hand_over, ends_when_the_running_instance_is_gone_never_shows_its_window_or_never_answers) {
  scratch_directory scratch;
  auto in = files_input(scratch.dir(), {"/w/a.txt"}, false);
  EXPECT_EQ(hand_over(in, quick()), handover_result::instance_gone) << "nobody holds the lock";
  {
    fake_instance starting(scratch.dir(), false);  // holds the lock, never listens
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(hand_over(in, quick()), handover_result::no_window);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    starting.release_lock();  // it died while the second instance waited
    EXPECT_EQ(hand_over(in, quick()), handover_result::instance_gone);
  }
  fake_instance first(scratch.dir(), false);
  first.never_answer = true;
  first.start();
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(hand_over(in, quick()), handover_result::no_answer);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(hand_over, a_cancel_from_another_thread_ends_every_wait_at_once) {
  scratch_directory scratch;
  auto in = files_input(scratch.dir(), {"/w/a.txt"}, false);
  handover_limits patient = quick();
  patient.find_window_ms = patient.answer_ms = 60000;
  auto cancel_after = [&](std::atomic<bool>& cancel) {
    auto start = std::chrono::steady_clock::now();
    std::thread user([&] {
      ::usleep(200000);
      cancel = true;
    });
    EXPECT_EQ(hand_over(in, patient, &cancel), handover_result::cancelled);
    user.join();
    return std::chrono::steady_clock::now() - start;
  };
  {
    fake_instance starting(scratch.dir(), false);  // never shows its window
    std::atomic<bool> cancel{false};
    EXPECT_LT(cancel_after(cancel), std::chrono::seconds(2));
  }
  fake_instance stopped(scratch.dir(), false);  // takes requests, never answers
  stopped.never_answer = true;
  stopped.start();
  std::atomic<bool> cancel{false};
  EXPECT_LT(cancel_after(cancel), std::chrono::seconds(2));
  EXPECT_EQ(handover_message(handover_result::cancelled), 0) << "the user chose: no error box";
}

TEST(hand_over, waits_for_an_earlier_response_file_and_gives_up_when_it_stays) {
  running_instance running;
  auto in = files_input(running.scratch.dir(), {"/w/new.txt"}, false);
  ASSERT_TRUE(write_response_file(in.response_path, {"/w/earlier.txt"}));
  EXPECT_EQ(hand_over(in, quick()), handover_result::response_busy);
  std::vector<std::string> lines;
  ASSERT_TRUE(read_response_file(in.response_path, lines));
  EXPECT_EQ(lines, std::vector<std::string>{"/w/earlier.txt"}) << "the earlier hand-over is left alone";

  // Consumed in time: the new hand-over follows.
  std::thread consumer([&] {
    ::usleep(100000);
    delete_response_file(in.response_path);
  });
  EXPECT_EQ(hand_over(in, quick()), handover_result::done);
  consumer.join();
  EXPECT_EQ(running.seen, std::vector<std::string>{"/w/new.txt"});
}

}  // namespace
}  // namespace vintorel
