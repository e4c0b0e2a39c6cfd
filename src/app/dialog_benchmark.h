// `dialog_benchmark`: the modal notice shown while the drawing benchmark
// types every full-width character into the current text (the console) of
// the main window, one character per posted step so that the window paints
// between steps. Holding Shift stops it. It reaches the main window only by
// the commands it sends.
#pragma once
#include <chrono>
#include <cstdint>
#include <functional>

#include "display/benchmark_characters.h"
#include "toolkit/dialog.h"

namespace vintorel {

class window_;

class dialog_benchmark : public dialog {
 public:
  // `shift_held` tells whether Shift is down at the moment it is asked.
  dialog_benchmark(window_& main, std::function<bool()> shift_held);

  // 1 when every character went in and the time was written, 2 when Shift
  // stopped the run.
  int run_modal(QWidget* parent);

  void on_init() override;
  void on_command(int id, std::intptr_t parameter) override;

 private:
  window_& main_;
  std::function<bool()> shift_held_;
  benchmark_characters characters_;
  std::chrono::steady_clock::time_point start_;
};

// Whether Shift is down now, as the window system reports it.
bool shift_held_now();

}  // namespace vintorel
