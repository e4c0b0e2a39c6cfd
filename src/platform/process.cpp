// Child processes through posix_spawn: the pipes, the process group, the
// working directory and the signal state a fresh program expects.
#include "platform/process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace vintorel {

std::string command_interpreter() {
  const char* value = std::getenv("ComSpec");
  return value && *value ? std::string(value) : std::string("/bin/sh");
}

bool start_child(const std::string& command_line, const std::string& directory, child_process& child) {
  child = child_process();
  int output[2];
  int input[2];
  if (::pipe2(output, O_CLOEXEC) != 0) return false;
  if (::pipe2(input, O_CLOEXEC) != 0) {
    ::close(output[0]);
    ::close(output[1]);
    return false;
  }
  // Nothing is ever written to the child: it sees the end of its input.
  ::close(input[1]);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawn_file_actions_adddup2(&actions, input[0], 0);
  posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  posix_spawn_file_actions_adddup2(&actions, output[1], 2);
  // Its own process group, so that stopping it reaches everything it started;
  // default signal handling and no blocked signals whatever the editor has.
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  for (int s : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGCHLD, SIGHUP}) sigaddset(&defaults, s);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  std::string interpreter = command_interpreter();
  std::string flag = "-c";
  std::string line = command_line;
  std::vector<char*> argv = {interpreter.data(), flag.data(), line.data(), nullptr};
  pid_t pid = -1;
  int failed = ::posix_spawn(&pid, interpreter.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  // Only the child keeps its ends, so reading ends when it and its own
  // children have closed theirs.
  ::close(input[0]);
  ::close(output[1]);
  if (failed != 0) {
    ::close(output[0]);
    return false;
  }
  child.pid = pid;
  child.output_fd = output[0];
  return true;
}

std::size_t read_child_output(child_process& child, char* buffer, std::size_t size) {
  if (child.output_fd < 0 || size == 0) return 0;
  for (;;) {
    ssize_t n = ::read(child.output_fd, buffer, size);
    if (n >= 0) return static_cast<std::size_t>(n);
    if (errno != EINTR) return 0;
  }
}

bool signal_child(const child_process& child, int signal_number) {
  if (child.pid <= 0) return false;
  return ::kill(-child.pid, signal_number) == 0;
}

void close_output(child_process& child) {
  if (child.output_fd >= 0) ::close(child.output_fd);
  child.output_fd = -1;
}

void wait_for_exit(const child_process& child) {
  if (child.pid <= 0) return;
  siginfo_t info;
  while (::waitid(P_PID, static_cast<id_t>(child.pid), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
  }
}

void reap_child(child_process& child) {
  if (child.pid > 0) {
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  child.pid = -1;
}

void close_child(child_process& child) {
  close_output(child);
  wait_for_exit(child);
  reap_child(child);
}

}  // namespace vintorel
