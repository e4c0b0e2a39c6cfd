// Child processes for tests of the whole program: started with posix_spawn,
// waited for with a time limit and killed when they overrun it.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vintorel::test_support {

// Starts `argv` (looked up on PATH) in `cwd` ("" for this directory) with `env`
// in front of the inherited environment, so its names win. Standard input is
// /dev/null, standard output `out_fd` (-1 to inherit), standard error is
// appended to `log`. The process id, or -1.
inline pid_t spawn_child(std::vector<std::string> argv, const std::vector<std::string>& env,
                         const std::string& cwd = "", int out_fd = -1, const std::string& log = "/dev/null") {
  std::vector<std::string> env_strings = env;
  for (char** e = environ; *e; ++e) env_strings.push_back(*e);
  std::vector<char*> envp, args;
  for (std::string& s : env_strings) envp.push_back(s.data());
  envp.push_back(nullptr);
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (out_fd != -1) posix_spawn_file_actions_adddup2(&actions, out_fd, 1);
  posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The exit status, -2 for a signal, or -1 when the process had to be killed
// after `limit`.
inline int wait_for_child(pid_t pid, std::chrono::milliseconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

}  // namespace vintorel::test_support
