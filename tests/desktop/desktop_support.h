// Helpers of the tests that run the editor as a real X client: an Xvfb server
// of its own, tools run to their end, and the editor started on it and driven
// with xdotool.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"
#include "platform/instance.h"
#include "scratch_dir.h"

namespace vintorel::desktop_support {

using namespace std::chrono_literals;
using test_support::scratch_dir;
using clock_type = std::chrono::steady_clock;

using test_support::spawn_child;
using test_support::wait_for_child;

// Runs a tool to its end and returns its standard output ("" on failure).
inline std::string run_tool(std::vector<std::string> argv, const std::vector<std::string>& env,
                     std::chrono::milliseconds limit = 20s) {
  int pipe_fds[2];
  if (::pipe2(pipe_fds, O_CLOEXEC) != 0) return {};
  pid_t pid = spawn_child(std::move(argv), env, "", pipe_fds[1]);
  ::close(pipe_fds[1]);
  std::string out;
  if (pid > 0) {
    ::fcntl(pipe_fds[0], F_SETFL, O_NONBLOCK);
    auto deadline = clock_type::now() + limit;
    char buffer[4096];
    for (;;) {
      ssize_t got = ::read(pipe_fds[0], buffer, sizeof buffer);
      if (got > 0) {
        out.append(buffer, static_cast<std::size_t>(got));
        continue;
      }
      if (got == 0 || clock_type::now() > deadline) break;
      std::this_thread::sleep_for(10ms);
    }
    if (wait_for_child(pid, 2s) != 0) out.clear();
  }
  ::close(pipe_fds[0]);
  return out;
}

// Waits until `probe` holds, for at most `limit`.
template <class probe_type>
bool eventually(probe_type probe, std::chrono::milliseconds limit = 20s) {
  for (auto deadline = clock_type::now() + limit; clock_type::now() < deadline; std::this_thread::sleep_for(50ms))
    if (probe()) return true;
  return probe();
}

// An Xvfb server of its own; the display name is empty when it did not start.
class x_server {
 public:
  x_server() {
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0) return;
    // Without -noreset the server resets whenever its last client goes, and a
    // client connecting meanwhile is refused.
    pid_ = spawn_child({"Xvfb", "-displayfd", std::to_string(pipe_fds[1]), "-screen", "0", "1280x1024x24", "-nolisten",
                        "tcp", "-noreset"},
                       {});
    ::close(pipe_fds[1]);
    std::string number;
    char c;
    while (pid_ > 0 && ::read(pipe_fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(pipe_fds[0]);
    if (!number.empty()) display_ = ":" + number;
  }
  ~x_server() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      wait_for_child(pid_, 5s);
    }
  }
  const std::string& display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

// The editor copied into a private directory with a vintorel.ini that binds
// function keys to the commands the tests need, driven by xdotool. With
// `copy` false nothing is copied: the test sets `program` (and the settings)
// itself.
class desktop_editor {
 public:
  explicit desktop_editor(const x_server& x, bool copy = true) {
    if (copy) {
      for (const char* name : {"vintorel", "mkfontx2"})
        std::filesystem::copy_file(std::string(VINTOREL_BINARY_DIR) + "/" + name, dir.path(name));
      dir.write("vintorel.ini", key_settings);
    }
    for (const char* sub : {"rt", "tmp"}) ::mkdir(dir.path(sub).c_str(), 0700);
    program = dir.path("vintorel");
    // An empty WAYLAND_DISPLAY keeps a Wayland session of the test run from
    // deciding which instance the editor is.
    env = {"DISPLAY=" + x.display(),  "XDG_RUNTIME_DIR=" + dir.path("rt"),
           "TMP=" + dir.path("tmp/"), "HOME=" + dir.dir(),
           "WAYLAND_DISPLAY=",        "QT_QPA_PLATFORM=xcb",
           "LSAN_OPTIONS=suppressions=" + std::string(VINTOREL_TEST_DATA) + "/lsan.supp"};
  }
  static constexpr const char* key_settings = "[key]\nf2=save_file\nf3=push_string\nf4=insert_clipboard\nf5=quit\n";
  ~desktop_editor() {
    if (pid_ > 0) wait_for_child(pid_, 0ms);
  }

  // Starts the editor on `files` and waits for its window; false when none
  // shows.
  bool start(const std::vector<std::string>& files) {
    std::vector<std::string> argv = prefix;
    argv.push_back(program);
    argv.insert(argv.end(), files.begin(), files.end());
    pid_ = spawn_child(argv, env, cwd, -1, dir.path("editor.log"));
    main_window_ = pid_ > 0 ? wait_window("", "", 60s) : "";  // the first start makes the fonts
    if (main_window_.empty()) {
      int status = 0;
      bool ended = ::waitpid(pid_, &status, WNOHANG) == pid_;
      note_ = ended ? "the editor ended with status " + std::to_string(status) : "the editor shows no window";
      if (ended) pid_ = -1;
    }
    return !main_window_.empty();
  }
  // Sends keys (xdotool names) to the main window.
  void keys(std::vector<std::string> names) { keys_to(main_window_, std::move(names)); }
  // Waits for a box captioned `caption` other than `previous`, and answers it
  // with Return; the box's window id, or "" when none came.
  std::string answer_box(const std::string& caption, const std::string& previous = "",
                         std::chrono::milliseconds limit = 20s) {
    std::string box = wait_window(caption, previous, limit);
    // A key that reaches the box before it takes input is lost: press again.
    for (int tries = 0; !box.empty() && tries < 3; ++tries) {
      keys_to(box, {"Return"});
      if (eventually([&] { return !is_visible(box); }, 3s)) break;
    }
    return box;
  }
  // The exit status after the quit key, -1 when the editor did not end.
  int quit() {
    keys({"F5"});
    int status = wait_for_child(pid_, 20s);
    pid_ = -1;
    return status;
  }
  // The exit status once the editor ends by itself, -1 when it does not.
  int wait_end(std::chrono::milliseconds limit) {
    int status = wait_for_child(pid_, limit);
    if (status != -1) pid_ = -1;
    return status;
  }
  // Where the editor's lock and socket are: its runtime directory's private
  // directory and in it the one of its display.
  std::string instance_directory() const {
    std::string runtime, display;
    for (const std::string& e : env) {
      if (runtime.empty() && e.rfind("XDG_RUNTIME_DIR=", 0) == 0) runtime = e.substr(16);
      if (display.empty() && e.rfind("DISPLAY=", 0) == 0) display = e.substr(8);
    }
    return instance_directory_for(runtime + "/vintorel/", display_key(nullptr, display.c_str()));
  }
  // What the running editor says of its texts ("" when it does not answer).
  std::string list() const {
    std::string payload;
    send_request(instance_directory(), {request_kind::list_texts, false}, 5000, &payload);
    return payload;
  }
  // Starts the program once more with the same environment, as a second
  // instance does, and gives its exit status (-1 when it did not end in time).
  int start_again(const std::vector<std::string>& files) {
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), files.begin(), files.end());
    pid_t pid = spawn_child(argv, env, cwd, -1, dir.path("second.log"));
    return pid > 0 ? wait_for_child(pid, 30s) : -1;
  }
  std::string log() { return note_ + "\n" + dir.read("editor.log") + dir.read("second.log"); }

  scratch_dir dir;
  std::vector<std::string> env;  // the first of a name wins: insert at the front to override
  std::string program;           // the editor to start
  std::string cwd;               // where it starts ("" for the test's directory)
  std::vector<std::string> prefix;  // a program the editor runs under (prlimit)

 private:
  // The first visible window of the editor named `name` ("" for any) that is
  // not `other`.
  std::string wait_window(const std::string& name, const std::string& other, std::chrono::milliseconds limit = 20s) {
    std::string found;
    eventually(
        [&] {
          std::string list = run_tool({"xdotool", "search", "--all", "--onlyvisible", "--pid", std::to_string(pid_),
                                       "--name", name.empty() ? "." : name},
                                      env);
          for (std::size_t at = 0, end; (end = list.find('\n', at)) != std::string::npos; at = end + 1)
            if (list.substr(at, end - at) != other) return found = list.substr(at, end - at), true;
          return false;
        },
        limit);
    return found;
  }
  bool is_visible(const std::string& window) {
    std::string list = run_tool({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(pid_)}, env);
    return ("\n" + list).find("\n" + window + "\n") != std::string::npos;
  }
  void keys_to(const std::string& window, std::vector<std::string> names) {
    run_tool({"xdotool", "windowfocus", "--sync", window}, env);
    std::vector<std::string> argv = {"xdotool", "key", "--delay", "40"};
    argv.insert(argv.end(), names.begin(), names.end());
    run_tool(argv, env);
  }

  pid_t pid_ = -1;
  std::string main_window_;
  std::string note_;
};

}  // namespace vintorel::desktop_support
