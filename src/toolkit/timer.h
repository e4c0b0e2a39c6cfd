// The timer object: a repeating timer whose ticks reach the on_timer of a
// window, dialog or edit, with ids from one program-wide counter.
#pragma once
#include <QPointer>
#include <QTimer>

namespace vintorel {

class control;

class timer {
 public:
  timer() = default;
  timer(const timer&) = delete;
  timer& operator=(const timer&) = delete;
  ~timer() { stop(); }

  // Starts ticking every `milliseconds` into owner.on_timer(id), with the next
  // id of the counter (the first start of the program gets 1). A running timer
  // is stopped first. False, and no id taken, when the owner has no widget.
  bool start(control& owner, int milliseconds);
  // Stops the timer when it runs.
  void stop();
  bool started() const { return timer_ != nullptr; }
  int id() const { return id_; }

 private:
  QPointer<QTimer> timer_;
  int id_ = 0;
};

}  // namespace vintorel
