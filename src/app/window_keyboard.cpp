// Keys, typed characters, the input method's composition and dropped files
// of the main window.
#include <QMainWindow>

#include "app/window_main.h"
#include "display/painter.h"
#include "shell/key_bindings.h"
#include "toolkit/key_mapping.h"

namespace vintorel {

namespace {

void insert_bytes(window_& w, const byte_string& bytes) {
  // The commands of keys pressed before go first: a busy window may take
  // several keys from the window system before it runs what they posted.
  w.run_posted_commands();
  // The parameter points at a zero-terminated copy that lives until the
  // synchronous send has returned.
  byte_string copy = bytes;
  send(w, command_id::insert_string, reinterpret_cast<std::intptr_t>(copy.c_str()));
}

void apply_key_action(window_& w, const key_action& action) {
  if (action.slot >= 0) w.post_command(bound_command_id(action.slot));
  if (!action.insert.empty()) insert_bytes(w, action.insert);
  if (action.redraw_bottom_line) w.draw_bottom_line();
}

}  // namespace

void window_::on_key_down(int virtual_key) {
  apply_key_action(*this, keyboard_key_down(keys_, virtual_key, shift_down(), ctrl_down()));
}

void window_::on_key_up(int virtual_key) { apply_key_action(*this, keyboard_key_up(keys_, virtual_key)); }

void window_::on_char(unsigned char byte) {
  apply_key_action(*this, keyboard_char(keys_, byte, shift_down(), ctrl_down()));
}

void window_::on_composition_start() { keys_.composing = true; }

void window_::on_composition(unsigned change_flags) {
  composition_context& im = composition();
  if (change_flags & composition_all_changed) {
    // A clause committed on the way goes in first.
    if (im.result_length() > 0) insert_bytes(*this, im.result_string());
    text_document* d = work_.current_text();
    int cursor = im.cursor_offset();
    int length = im.composition_length();
    if (d && cursor >= 0 && cursor <= length) {
      pane_view pane = current_pane(display_);
      int row = pane.first_row + d->current_line - d->top_line;
      int column = pane.first_column + d->column - d->left_column;
      const cell_metrics& m = display_.metrics;
      if (change_flags & composition_cursor_changed) {
        // The candidate window goes below the composition cursor's cell.
        int x = (column + cursor) * m.width;
        set_input_rectangle(QRect(x, row * (m.height + m.between), m.width, m.height));
      }
      painter_.paint_line(pane, *d, d->current_line);
      painter_.draw_cursor(pane, row, column);
      if (length > 0) {
        byte_string shown = composition_display_text(im.composition_string(), cursor);
        draw_composition(display_, pane, row, column, shown, im.composition_attributes(), cursor);
      }
    }
  }
  if (change_flags & composition_result_ready) {
    // The full-width space is committed without a composition: it goes in
    // here, and the end of the composition leaves it out.
    byte_string result = im.result_string();
    if (is_full_width_space(result)) insert_bytes(*this, result);
  }
}

void window_::on_composition_end() {
  composition_context& im = composition();
  byte_string result = im.result_string();
  if (!result.empty()) {
    if (!is_full_width_space(result)) insert_bytes(*this, result);
  } else if (text_document* d = work_.current_text()) {
    // Cancelled: the composition disappears from the cursor line.
    pane_view pane = current_pane(display_);
    painter_.paint_line(pane, *d, d->current_line);
    draw_cursor();
  }
  keys_.composing = false;
}

void window_::on_drop_files(const dropped_files& drop) {
  bool read_only = ctrl_down();
  if (QMainWindow* f = frame()) {
    if (f->isMinimized()) f->showNormal();
    f->raise();
    f->activateWindow();
  }
  for (auto it = drop.paths.rbegin(); it != drop.paths.rend(); ++it) open_text(work_.text_count(), *it, read_only);
}

}  // namespace vintorel
