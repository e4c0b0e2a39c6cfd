// The drawing benchmark's dialog: its steps and the report line.
#include "app/dialog_benchmark.h"

#include <QGuiApplication>

#include "app/window_main.h"

namespace vintorel {

namespace {

dialog_template benchmark_template() {
  dialog_template t;
  t.name = "DIALOG_BENCHMARK";
  t.caption = "通知";
  t.width = 152;
  t.height = 24;
  t.system_menu = false;
  t.controls = {
      {no_id, control_kind::static_text, 4, 8, 144, 8, "ベンチマーク値を計測しています(Shiftで中止).", style_none},
  };
  return t;
}

}  // namespace

bool shift_held_now() { return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ShiftModifier); }

dialog_benchmark::dialog_benchmark(window_& main, std::function<bool()> shift_held)
    : main_(main), shift_held_(std::move(shift_held)) {}

int dialog_benchmark::run_modal(QWidget* parent) { return run(benchmark_template(), parent, false); }

void dialog_benchmark::on_init() {
  centre_on_parent();
  // A fresh line at the end of the text.
  send(main_, command_id::forward_line_tail);
  send(main_, command_id::forward_tail);
  send(main_, command_id::insert_linefeed);
  main_.paint_now();
  characters_ = benchmark_characters();
  post_command(to_int(command_id::benchmark));
  start_ = std::chrono::steady_clock::now();
}

void dialog_benchmark::on_command(int id, std::intptr_t) {
  if (id != to_int(command_id::benchmark)) return;
  if (shift_held_ && shift_held_()) {
    send(main_, command_id::insert_linefeed);
    end(2);
    return;
  }
  send(main_, command_id::append_output, reinterpret_cast<std::intptr_t>(characters_.bytes));
  switch (advance(characters_)) {
    case benchmark_next::finished: {
      const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start_);
      const byte_string report = benchmark_result_text(static_cast<std::uint64_t>(elapsed.count()));
      send(main_, command_id::insert_linefeed);
      send(main_, command_id::insert_linefeed);
      send(main_, command_id::append_output, reinterpret_cast<std::intptr_t>(report.c_str()));
      send(main_, command_id::insert_linefeed);
      end(1);
      return;
    }
    case benchmark_next::line_end:
      send(main_, command_id::insert_linefeed);
      main_.paint_now();
      break;
    case benchmark_next::character:
      break;
  }
  post_command(to_int(command_id::benchmark));
}

}  // namespace vintorel
