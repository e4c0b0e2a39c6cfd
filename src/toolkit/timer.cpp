// Timer objects over QTimer, parented to the owner's widget so that they end
// with it.
#include "toolkit/timer.h"

#include "toolkit/control.h"

namespace vintorel {
namespace {
int next_timer_id = 1;
}

bool timer::start(control& owner, int milliseconds) {
  stop();
  QWidget* widget = owner.handle();
  if (!widget) return false;
  id_ = next_timer_id++;
  timer_ = new QTimer(widget);
  int id = id_;
  QWidget* target = widget;
  QObject::connect(timer_, &QTimer::timeout, widget, [target, id] {
    // The object is looked up at each tick: one that let go of its widget
    // gets no more ticks.
    if (control* c = object_of(target)) c->deliver_timer(id);
  });
  timer_->start(milliseconds < 0 ? 0 : milliseconds);
  return true;
}

void timer::stop() {
  if (timer_) {
    timer_->stop();
    delete timer_;
  }
  timer_ = nullptr;
}

}  // namespace vintorel
