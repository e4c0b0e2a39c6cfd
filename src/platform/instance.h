// The single running instance: a per-user lock file held with flock stands for
// the named mutex, and the running instance listens on a Unix socket from when its
// start-up begins (connections wait in the socket's queue until its window
// answers them). A second instance "finds the window" by connecting, and hands
// requests over on it (raise the window, open the files or run the command of
// the response file); a request is answered once the running instance has
// taken it: after a raise or list is carried out, before files are opened or
// a command runs.
//
// Both files live in a per-user directory of mode 0700, so no other user can
// take the lock, listen in the editor's place or send it requests. Within it
// each display has a directory of its own: an editor on another X server or
// Wayland display of the same user is another instance.
#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

namespace vintorel {

// The display a process shows its windows on, as a file name: the Wayland
// display when `wayland` is set and not empty, else the X display, with the
// screen number dropped (":0" and ":0.0" are one display): "x-0" for ":0",
// "x-host-10" for "host:10.0", "wayland-0" for "wayland-0". Characters other
// than letters, digits, "-", "_" and "." become "_"; a name longer than 40
// bytes becomes "h-" and a hash of it. "" when neither is set.
std::string display_key(const char* wayland, const char* x);

// `base` (ending in "/") for the key "", else base + key + "/".
std::string instance_directory_for(const std::string& base, const std::string& key);

// The instance directory of this process: the per-user private directory
// (platform/private_directory.h) and in it the directory of the display from
// $WAYLAND_DISPLAY or $DISPLAY, made with mode 0700, ending in "/"; false
// when none can be had.
bool instance_directory(std::string& out);

// The lock file "vintorel.lock" in the instance directory.
class instance_lock {
 public:
  enum class state { acquired, held_elsewhere, failed };

  instance_lock() = default;
  instance_lock(const instance_lock&) = delete;
  instance_lock& operator=(const instance_lock&) = delete;
  ~instance_lock() { release(); }

  // Takes the lock without waiting. It is held until release() or the end of
  // the process (the system drops it when the process dies, however it ends).
  state acquire(const std::string& directory);
  void release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Whether some process holds the lock of `directory` at this moment.
bool instance_running(const std::string& directory);

// What a second instance asks of the running one.
enum class request_kind {
  raise,        // restore the window if minimised and bring it to the front
  open_files,   // open the files listed in the response file (command 338)
  run_command,  // run the command in the response file (command 339)
  list_texts,   // describe the open texts (for tests and diagnosis)
  fail_for_test,  // throw from the event loop, when the editor runs with
                  // VINTOREL_TEST_FAULTS set (tests of the last resort)
};
struct instance_request {
  request_kind kind = request_kind::raise;
  bool read_only = false;  // open_files: open them read-only
};

// A request travels as one line: "raise", "open 0", "open 1", "command",
// "list" or "fail", followed by a line feed; the answer is any number of lines followed
// by "done" and a line feed.
constexpr std::size_t max_request_line = 64;
std::string format_request(const instance_request& request);
// Parses one request line (without its line feed); false for anything else.
bool parse_request(std::string_view line, instance_request& out);
// The first line of `bytes` when it is complete (a line feed within
// max_request_line bytes): 1 parsed, -1 malformed or too long, 0 incomplete.
int take_request(std::string_view bytes, instance_request& out);

// The running instance's listening socket "vintorel.sock".
class instance_server {
 public:
  instance_server() = default;
  instance_server(const instance_server&) = delete;
  instance_server& operator=(const instance_server&) = delete;
  ~instance_server() { close(); }

  // Replaces a socket left by an instance that died and listens; the caller
  // must hold the lock. Non-blocking; false on failure.
  bool listen(const std::string& directory);
  int fd() const { return fd_; }
  // Stops listening and removes the socket file.
  void close();
  // One waiting connection of this user (others are refused), non-blocking
  // and closed on exec; -1 when none is waiting.
  int accept_connection() const;

 private:
  int fd_ = -1;
  std::string path_;
};

// Reads one request from a connection within limit_ms; false when it does not
// arrive in time, the peer goes away, or the line is malformed.
bool read_request(int connection, instance_request& out, int limit_ms);
// Writes `payload` (complete lines) and the closing "done" line within limit_ms.
bool write_answer(int connection, std::string_view payload, int limit_ms);

// The second instance's side.
enum class request_outcome {
  answered,       // the request was carried out
  not_listening,  // no instance listens (yet, or any more)
  no_answer,      // connected, but no complete answer within the time limit
  cancelled,      // the cancel flag was set while waiting for the answer
};
// Connects, sends the request and waits at most limit_ms for the answer; the
// lines before "done" go to `payload` when it is given. Setting `cancel` (from
// another thread) ends the wait within a tenth of a second.
request_outcome send_request(const std::string& directory, const instance_request& request,
                             int limit_ms, std::string* payload = nullptr,
                             const std::atomic<bool>* cancel = nullptr);

}  // namespace vintorel
