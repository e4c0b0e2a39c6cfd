// The execution dialog: the worker's start, polling and stopping.
#include "app/dialog_exec.h"

#include <QPushButton>
#include <csignal>

namespace vintorel {

namespace {

constexpr int poll_milliseconds = 10;
// How long a stopped command has to end on SIGTERM before it is killed.
constexpr std::chrono::seconds kill_delay(2);

dialog_template exec_template() {
  dialog_template t;
  t.name = "DIALOG_EXEC";
  t.caption = "通知";
  t.width = 160;
  t.height = 30;
  t.controls = {
      {no_id, control_kind::static_text, 4, 2, 152, 8, "コンソールプログラムを実行しています.", style_none},
      {id_cancel, control_kind::button, 62, 14, 36, 13, "中止", style_none},
  };
  return t;
}

}  // namespace

dialog_exec::dialog_exec(console_commands& console, const byte_string& command_line, const byte_string& directory)
    : console_(console), command_line_(command_line), directory_(directory) {}

dialog_exec::~dialog_exec() {
  // Never left running: a worker still here is stopped and waited for.
  if (worker_ && !worker_->is_finished()) worker_->stop(SIGKILL);
  worker_.reset();
}

int dialog_exec::run_modal(QWidget* parent) { return run(exec_template(), parent, false); }

void dialog_exec::on_init() {
  worker_ = std::make_unique<thread_exec>(console_, command_line_, directory_);
  if (!worker_->start()) {
    worker_.reset();
    end(3);
    return;
  }
  timer_.start(*this, poll_milliseconds);
}

void dialog_exec::on_timer(int) {
  if (!worker_) return;
  if (!worker_->is_finished()) {
    if (stopping_ && !killed_ && std::chrono::steady_clock::now() - stop_time_ >= kill_delay) {
      worker_->stop(SIGKILL);
      killed_ = true;
    }
    return;
  }
  timer_.stop();
  int result = worker_->close();
  worker_.reset();
  end(result != 0 ? 1 : 3);
}

void dialog_exec::on_command(int id, std::intptr_t) {
  if (id != id_cancel || !worker_ || stopping_) return;
  // What was read so far stays in the console; the dialog closes when the
  // worker has read the rest and reaped the child.
  stopping_ = true;
  stop_time_ = std::chrono::steady_clock::now();
  worker_->stop(SIGTERM);
  if (QWidget* button = item(id_cancel)) button->setEnabled(false);
}

void dialog_exec::on_destroy() { timer_.stop(); }

}  // namespace vintorel
