// A stand-in for the running editor in tests of the single instance: it holds
// the lock, listens on the socket from a thread and answers each request
// through a callback (or, when told to, takes requests and never answers).
#pragma once
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/instance.h"
#include "scratch_dir.h"

namespace vintorel::instance_test {

// A private directory of mode 0700, removed afterwards.
using scratch_directory = test_support::scratch_dir;

class fake_instance {
 public:
  // Called for each request on the server thread; returns the answer's lines.
  std::function<std::string(const instance_request&)> on_request = [](const instance_request&) {
    return std::string();
  };
  bool never_answer = false;

  explicit fake_instance(const std::string& directory, bool listen = true) : directory_(directory) {
    lock_.acquire(directory);
    if (listen) start();
  }
  ~fake_instance() { stop(); }

  void start() {
    server_.listen(directory_);
    running_ = true;
    thread_ = std::thread([this] { serve(); });
  }
  void stop() {
    running_ = false;
    if (thread_.joinable()) thread_.join();
    for (int fd : held_) ::close(fd);
    held_.clear();
    server_.close();
  }
  void release_lock() { lock_.release(); }

  std::vector<instance_request> requests() {
    std::lock_guard<std::mutex> guard(mutex_);
    return requests_;
  }

 private:
  void serve() {
    while (running_) {
      pollfd p{server_.fd(), POLLIN, 0};
      if (::poll(&p, 1, 20) <= 0) continue;
      int connection = server_.accept_connection();
      if (connection < 0) continue;
      instance_request request;
      if (!read_request(connection, request, 1000)) {
        ::close(connection);
        continue;
      }
      {
        std::lock_guard<std::mutex> guard(mutex_);
        requests_.push_back(request);
      }
      if (never_answer) {
        held_.push_back(connection);  // kept open, never answered
        continue;
      }
      write_answer(connection, on_request(request), 1000);
      ::close(connection);
    }
  }

  std::string directory_;
  instance_lock lock_;
  instance_server server_;
  std::atomic<bool> running_{false};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<instance_request> requests_;
  std::vector<int> held_;
};

}  // namespace vintorel::instance_test
