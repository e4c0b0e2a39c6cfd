// `thread`: a worker thread that runs the object's `run` once and reports
// when it has finished and with what value. Only `state` and `result` are
// shared, under one lock.
#pragma once
#include <mutex>
#include <thread>

namespace vintorel {

class thread {
 public:
  static constexpr int running = 0;
  static constexpr int finished = 3;

  thread() = default;
  thread(const thread&) = delete;
  thread& operator=(const thread&) = delete;
  // Waits for a thread that was not closed.
  virtual ~thread();

  // Starts `run` in a new thread. False, with the state finished, when no
  // thread can be made.
  bool start();
  bool is_finished() const;
  // Waits for the thread to end and returns its result.
  int close();

 protected:
  // Runs in the new thread and ends with finish().
  virtual void run() = 0;
  void finish(int value);

 private:
  std::thread handle_;
  mutable std::mutex lock_;
  int state_ = running;
  int result_ = 0;
};

}  // namespace vintorel
