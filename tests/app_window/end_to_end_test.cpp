// Real vintorel processes side by side: the second hands its command line to
// the first, and second instances that must not hang.
#include <signal.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "platform/fake_instance.h"
#include "platform/private_directory.h"
#include "scratch_dir.h"

namespace vintorel {
namespace {

using test_support::scratch_dir;

// A copy of the editor and its font generator in a private directory, with a
// private runtime directory (for the instance socket) and temporary directory.
class editor_install {
 public:
  editor_install() {
    namespace fs = std::filesystem;
    for (const char* name : {"vintorel", "mkfontx2"})
      fs::copy_file(std::string(VINTOREL_BINARY_DIR) + "/" + name, dir.dir() + name);
    ::mkdir((dir.dir() + "rt").c_str(), 0700);
    ::mkdir((dir.dir() + "tmp").c_str(), 0700);
    ::mkdir((dir.dir() + "data").c_str(), 0700);
  }
  std::string instance_dir() const { return dir.dir() + "rt/vintorel/"; }
  std::string data() const { return dir.dir() + "data/"; }
  std::string response_file() const { return dir.dir() + "tmp/vintorel.rsp"; }

  // Starts the editor with arguments in `cwd`; standard error goes to `log`.
  pid_t run(std::vector<std::string> args, const std::string& cwd, const std::string& log,
            const std::string& wait_ms = "") {
    std::vector<std::string> env = {"XDG_RUNTIME_DIR=" + dir.dir() + "rt", "TMP=" + dir.dir() + "tmp/",
                                    "QT_QPA_PLATFORM=offscreen", "VINTOREL_UNATTENDED=1", "HOME=" + dir.dir(),
                                    "VINTOREL_WAIT_MS=" + wait_ms,
                                    // No display: the instance directory is the private one itself.
                                    "DISPLAY=", "WAYLAND_DISPLAY="};
    args.insert(args.begin(), dir.dir() + "vintorel");
    return test_support::spawn_child(std::move(args), env, cwd, -1, log);
  }
  static int wait_for(pid_t pid, std::chrono::milliseconds limit) { return test_support::wait_for_child(pid, limit); }

  // The running instance's description of its texts, once it answers.
  std::string list(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    std::string payload;
    while (std::chrono::steady_clock::now() < deadline) {
      if (send_request(instance_dir(), {request_kind::list_texts, false}, 5000, &payload) ==
          request_outcome::answered)
        return payload;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return "(no answer)";
  }

  scratch_dir dir;
};

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(end_to_end, a_second_instance_hands_over_files_and_commands_and_exits) {
  editor_install editor;
  pid_t first = editor.run({}, editor.dir.dir(), editor.dir.dir() + "first.log");
  ASSERT_GT(first, 0);
  std::string before = editor.list();
  ASSERT_TRUE(contains(before, "text 0 1 console/scratch\n")) << before;
  EXPECT_TRUE(contains(editor.dir.read("first.log"), "open file dialog cancelled"));

  editor.dir.write("data/a.txt", "alpha\r\n");
  editor.dir.write("data/b.txt", "beta\r\n");
  pid_t second = editor.run({"/R", "a.txt", "b.txt"}, editor.data(), editor.dir.dir() + "second.log");
  EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(30)), 0);
  std::string after = editor.list();
  EXPECT_TRUE(contains(after, "text 1 0 " + editor.data() + "a.txt\ntext 2 0 " + editor.data() + "b.txt\n"))
      << after;
  EXPECT_FALSE(std::filesystem::exists(editor.response_file()));

  second = editor.run({"/P", editor.data(), "make", "all"}, editor.dir.dir(), editor.dir.dir() + "third.log");
  EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(30)), 0);
  after = editor.list();
  EXPECT_TRUE(contains(after, "directory " + editor.data() + "\n")) << after;
  EXPECT_TRUE(contains(after, "command make all\n")) << after;

  // No arguments: the running window is only brought to the front.
  second = editor.run({}, editor.dir.dir(), editor.dir.dir() + "fourth.log");
  EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(30)), 0);
  EXPECT_EQ(editor.list(), after);

  ::kill(first, SIGKILL);
  editor_install::wait_for(first, std::chrono::seconds(5));
}

TEST(end_to_end, a_second_instance_ends_with_a_message_when_the_first_never_answers_or_dies) {
  editor_install editor;
  ASSERT_TRUE(prepare_private_directory(editor.instance_dir()));
  // Within the time limit (800 ms), or at once when the first dies while waited for.
  auto ends_with_message = [&](const char* log, const char* wait_ms) {
    auto started = std::chrono::steady_clock::now();
    pid_t second = editor.run({"a.txt"}, editor.dir.dir(), editor.dir.dir() + log, wait_ms);
    EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(20)), 0) << log;
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << log;
    EXPECT_TRUE(contains(editor.dir.read(log), "error 5 29")) << log << ": " << editor.dir.read(log);
  };
  {
    // Holds the lock and takes requests, but never answers.
    instance_test::fake_instance silent(editor.instance_dir(), false);
    silent.never_answer = true;
    silent.start();
    ends_with_message("silent.log", "800");
  }
  {
    instance_test::fake_instance windowless(editor.instance_dir(), false);  // never shows a window
    ends_with_message("windowless.log", "800");
  }
  {
    instance_test::fake_instance dying(editor.instance_dir(), false);
    std::thread death([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      dying.release_lock();
    });
    ends_with_message("dying.log", "60000");
    death.join();
  }
}

TEST(end_to_end, a_second_start_tells_of_a_stopped_first_and_hands_over_once_it_runs_again) {
  editor_install editor;
  pid_t first = editor.run({}, editor.dir.dir(), editor.dir.dir() + "first.log");
  ASSERT_GT(first, 0);
  ASSERT_TRUE(contains(editor.list(), "text 0 1 console/scratch\n"));
  editor.dir.write("data/late.txt", "late\r\n");
  ::kill(first, SIGSTOP);
  auto started = std::chrono::steady_clock::now();
  pid_t second = editor.run({"late.txt"}, editor.data(), editor.dir.dir() + "second.log");
  // The box (answered as Cancel: keep waiting) comes after two seconds.
  std::string log;
  while (!contains(log, "confirm 3 42") && std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    log = editor.dir.read("second.log");
  }
  auto noticed = std::chrono::steady_clock::now() - started;
  EXPECT_TRUE(contains(log, "confirm 3 42")) << log;
  EXPECT_LT(noticed, std::chrono::seconds(3));
  EXPECT_GE(noticed, std::chrono::milliseconds(1900));
  ::kill(first, SIGCONT);
  EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(30)), 0);
  std::string after = editor.list();
  EXPECT_TRUE(contains(after, editor.data() + "late.txt\n")) << after << editor.dir.read("second.log");
  ::kill(first, SIGKILL);
  editor_install::wait_for(first, std::chrono::seconds(5));
}

TEST(end_to_end, commands_of_the_p_switch_run_at_start_and_from_a_second_instance) {
  editor_install editor;
  auto appears = [&](const std::string& name) {
    for (int i = 0; i < 600 && editor.dir.read("data/" + name).empty(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return editor.dir.read("data/" + name);
  };
  // The directory is given without its "/"; the command runs in it.
  std::string data = editor.data().substr(0, editor.data().size() - 1);
  pid_t first = editor.run({"/P", data, "sh", "-c", "printf made > made.txt"}, editor.dir.dir(),
                           editor.dir.dir() + "first.log");
  ASSERT_GT(first, 0);
  EXPECT_EQ(appears("made.txt"), "made");
  // A command that runs long does not keep the second instance waiting.
  auto began = std::chrono::steady_clock::now();
  pid_t second = editor.run({"/P", data, "sh", "-c", "printf two > two.txt; sleep 3"}, editor.dir.dir(),
                            editor.dir.dir() + "second.log");
  EXPECT_EQ(editor_install::wait_for(second, std::chrono::seconds(30)), 0);
  EXPECT_EQ(appears("two.txt"), "two");
  EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(3));
  std::string after = editor.list();
  EXPECT_TRUE(contains(after, "directory " + editor.data() + "\n")) << after;
  EXPECT_TRUE(contains(after, "pane 0 0\n")) << after;
  EXPECT_EQ(editor.dir.read("second.log"), "");
  ::kill(first, SIGKILL);
  editor_install::wait_for(first, std::chrono::seconds(5));
}

}  // namespace
}  // namespace vintorel
