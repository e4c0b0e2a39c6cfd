// Handlers of the commands that put a text back in step with its file: saving
// it, loading it again, and showing it a second time for reading (and taking
// that second view away again).
#include "app/window_main.h"
#include "shell/command_handlers.h"
#include "platform/string_table.h"

namespace vintorel {

namespace {

// Where a text stood and how it is written, to open its file again the same way.
struct text_place {
  std::string name;
  std::int32_t top_line = 0;
  std::int32_t left_column = 0;
  std::int32_t current_line = 0;
  std::int32_t desired_column = 0;
  charset charset_code = unknown_charset;
  linefeed_kind linefeed_code = unknown_linefeed;
};

text_place place_of(const text_document& d) {
  return {d.name, d.top_line, d.left_column, d.current_line, d.desired_column, d.save_charset, d.save_linefeed};
}

}  // namespace

void window_::close_and_reopen(close_mode mode) {
  int index = work_.current_text_index();
  text_place p = place_of(*work_.current_text());
  // The file just saved is opened from what its writer recorded.
  keep_written_ = true;
  bool closed = close_text(mode, true);
  keep_written_ = false;
  if (!closed) {
    written_.reset();
    return;
  }
  open_text(index, p.name, false, p.top_line, p.current_line, p.left_column, p.desired_column, p.charset_code,
            p.linefeed_code);
  written_.reset();  // when the text was only shown again, nothing took it
}

namespace handlers {

void reload_file(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d || w.work().is_console(*d)) return;
  w.before_dialog();
  if (!w.user().confirm(string_caption_confirm, string_reload_question)) return;
  w.close_and_reopen(close_mode::discard);
}

void save_file(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d || w.work().is_console(*d)) return;
  user_interface& ui = w.user();
  w.before_dialog();
  if (!ui.confirm(string_caption_confirm, string_save_question)) return;
  if ((d->save_charset != d->file_charset || d->save_linefeed != d->file_linefeed) &&
      !ui.confirm(string_caption_confirm, string_charset_changed))
    return;
  // A new text gets its name first, so that the file can be opened again
  // under it once saved.
  if (d->name == "???") {
    byte_string chosen;
    if (!ui.choose_file(true, chosen) || chosen.empty()) return;
    d->name = chosen;
  }
  w.close_and_reopen(close_mode::save);
}

void duplicate_file(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  text_document* d = work.current_text();
  if (!d || work.is_console(*d)) return;
  int other = work.dual() ? work.pane_text(work.other_pane()) : -1;
  if (other < 0 || work.text_at(other).name != d->name) {
    if (work.dual() && d->state == read_only_state) return;
    text_place p = place_of(*d);
    if (!work.dual()) {
      send(w, command_id::open_dual_window);
      if (!work.dual()) return;
    }
    send(w, command_id::change_window);
    w.open_text(work.text_count(), p.name, true, p.top_line, p.current_line, p.left_column, p.desired_column,
                p.charset_code, p.linefeed_code);
    send(w, command_id::change_window);
    return;
  }
  // Two views of one file: the read-only one goes.
  if (d->state == read_only_state) {
    if (!w.close_text(close_mode::discard, true)) return;
    send(w, command_id::change_window);
    w.close_second_pane();
  } else {
    send(w, command_id::change_window);
    if (!w.close_text(close_mode::discard, true)) return;
    send(w, command_id::change_window);
    w.close_second_pane();
  }
}

}  // namespace handlers
}  // namespace vintorel
