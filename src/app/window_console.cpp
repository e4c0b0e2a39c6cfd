// Commands run in the console: showing the console, the execution dialog with
// the worker's hand-over of output as sent commands, the line limit after the
// run, and the program menus.
#include <QMainWindow>
#include <QSocketNotifier>

#include "app/dialog_exec.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "exec/console_trim.h"
#include "exec/program_entries.h"
#include "platform/string_table.h"

namespace vintorel {

namespace {

// The worker's console commands, each sent to the window and carried out on
// the user-interface thread before the worker goes on.
class console_by_commands : public console_commands {
 public:
  explicit console_by_commands(window_& w) : w_(w) {}
  void go_to_end() override {
    send(w_, command_id::forward_line_tail);
    send(w_, command_id::forward_tail);
    send(w_, command_id::insert_linefeed);
  }
  void append(const char* text) override { send(w_, command_id::append_output, reinterpret_cast<std::intptr_t>(text)); }
  void line_feed() override { send(w_, command_id::insert_linefeed); }

 private:
  window_& w_;
};

}  // namespace

bool window_::execute_command(const byte_string& command_line) {
  if (command_running_) return false;
  // The console in the current pane, so that the sent commands reach it.
  if (work_.current_text_index() != 0) {
    if (work_.dual() && work_.pane_text(work_.other_pane()) == 0) {
      send(*this, command_id::change_window);
      repaint_current();
    } else {
      send(*this, command_id::first_text_entry);
      draw_cursor(false);
    }
  }
  text_document* console = work_.current_text();
  if (!console || work_.current_text_index() != 0) return false;
  if (console->block_state != block_kind::none) {
    console->block_state = block_kind::none;
    repaint_current();
  }
  // Second instances wait until the command has ended: none of their
  // requests may change the current text while output arrives.
  command_running_ = true;
  if (notifier_) notifier_->setEnabled(false);
  console_by_commands commands(*this);
  int result = 3;
  {
    dialog_exec box(commands, command_line, work_.command_directory);
    result = box.run_modal(frame());
  }
  command_running_ = false;
  if (notifier_) notifier_->setEnabled(true);

  text_document* shown = work_.current_text();
  if (shown && work_.current_text_index() == 0) {
    edit_context c = context();
    if (trim_console(*shown, c, setup_.settings->buffer_console)) repaint_pane(display_, current_pane(display_), *shown);
  }
  if (result != 1) {
    before_dialog();
    ui_.error(string_caption_error, string_system_error);
  }
  draw_cursor();
  refresh_menus();
  return result == 1;
}

void run_command_in(window_& w, const byte_string& directory, const byte_string& command_line) {
  w.work().command_directory = directory;
  w.work().last_command = command_line;
  w.execute_command(command_line);
}

}  // namespace vintorel
