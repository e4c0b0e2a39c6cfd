// Dispatch of the commands that put a text back in step with its file: saving
// it, loading it again, and showing it a second time for reading (and taking
// that second view away again).
#include "app/window_main.h"
#include "toolkit/string_table.h"

namespace vintorel {

namespace {

constexpr int change_window_id = 223;
constexpr int open_dual_window_id = 222;

// Where a text stood and how it is written, to open its file again the same way.
struct text_place {
  std::string name;
  std::int32_t top_line = 0;
  std::int32_t left_column = 0;
  std::int32_t current_line = 0;
  std::int32_t desired_column = 0;
  int charset = 0;
  int linefeed = 0;
};

text_place place_of(const text_document& d) {
  return {d.name, d.top_line, d.left_column, d.current_line, d.desired_column, d.save_charset, d.save_linefeed};
}

}  // namespace

void window_::reload_file() {
  text_document* d = current_text();
  if (!d || is_console(*d)) return;
  before_dialog();
  if (!ui_.confirm(string_caption_confirm, string_reload_question)) return;
  close_and_reopen(0);
}

void window_::close_and_reopen(int mode) {
  int index = current_text_index();
  text_place p = place_of(*current_text());
  if (!close_text(mode, true)) return;
  open_text(index, p.name, false, p.top_line, p.current_line, p.left_column, p.desired_column, p.charset,
            p.linefeed);
}

void window_::save_file() {
  text_document* d = current_text();
  if (!d || is_console(*d)) return;
  before_dialog();
  if (!ui_.confirm(string_caption_confirm, string_save_question)) return;
  if ((d->save_charset != d->file_charset || d->save_linefeed != d->file_linefeed) &&
      !ui_.confirm(string_caption_confirm, string_charset_changed))
    return;
  // A new text gets its name first, so that the file can be opened again
  // under it once saved.
  if (d->name == "???") {
    byte_string chosen;
    if (!ui_.choose_file(true, chosen) || chosen.empty()) return;
    d->name = chosen;
  }
  close_and_reopen(1);
}

void window_::duplicate_file() {
  text_document* d = current_text();
  if (!d || is_console(*d)) return;
  int other = display_.layout.dual ? pane_text(1 - current_pane_index()) : -1;
  if (other < 0 || text_at(other).name != d->name) {
    if (display_.layout.dual && d->state == read_only_state) return;
    text_place p = place_of(*d);
    if (!display_.layout.dual) {
      send_command(open_dual_window_id);
      if (!display_.layout.dual) return;
    }
    send_command(change_window_id);
    open_text(text_count(), p.name, true, p.top_line, p.current_line, p.left_column, p.desired_column, p.charset,
              p.linefeed);
    send_command(change_window_id);
    return;
  }
  // Two views of one file: the read-only one goes.
  if (d->state == read_only_state) {
    if (!close_text(0, true)) return;
    send_command(change_window_id);
    close_second_pane();
  } else {
    send_command(change_window_id);
    if (!close_text(0, true)) return;
    send_command(change_window_id);
    close_second_pane();
  }
}

}  // namespace vintorel
