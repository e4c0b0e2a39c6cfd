// Starting, finishing and closing the worker thread.
#include "exec/thread.h"

#include <system_error>

namespace vintorel {

thread::~thread() {
  if (handle_.joinable()) handle_.join();
}

bool thread::start() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    state_ = running;
  }
  try {
    handle_ = std::thread([this] { run(); });
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> hold(lock_);
    state_ = finished;
    return false;
  }
  return true;
}

bool thread::is_finished() const {
  std::lock_guard<std::mutex> hold(lock_);
  return state_ == finished;
}

void thread::finish(int value) {
  std::lock_guard<std::mutex> hold(lock_);
  state_ = finished;
  result_ = value;
}

int thread::close() {
  if (handle_.joinable()) handle_.join();
  std::lock_guard<std::mutex> hold(lock_);
  return result_;
}

}  // namespace vintorel
