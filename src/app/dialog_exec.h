// `dialog_exec`: the modal notice shown while a command runs. It starts the
// worker, polls it every 10 ms and closes itself when the worker has
// finished. Its one button (also Escape and the close button) stops the
// command: SIGTERM to the child's process group, SIGKILL 2 s later.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>

#include "exec/thread_exec.h"
#include "toolkit/dialog.h"
#include "toolkit/timer.h"

class QWidget;

namespace vintorel {

class dialog_exec : public dialog {
 public:
  dialog_exec(console_commands& console, const byte_string& command_line, const byte_string& directory);
  ~dialog_exec() override;

  // 1 when the command ran, 3 when it could not be started.
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_timer(int timer_id) override;
  void on_command(int id, std::intptr_t parameter) override;
  void on_destroy() override;

 private:
  console_commands& console_;
  byte_string command_line_;
  byte_string directory_;
  timer timer_;
  std::unique_ptr<thread_exec> worker_;
  bool stopping_ = false;
  bool killed_ = false;
  std::chrono::steady_clock::time_point stop_time_;
};

}  // namespace vintorel
