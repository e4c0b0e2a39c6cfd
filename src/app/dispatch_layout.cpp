// Handlers of the commands that change what the panes show: the second pane,
// switching panes and texts, the console, and the character set and line end
// a text is saved in.
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "files/charset.h"
#include "shell/command_handlers.h"

namespace vintorel::handlers {

void open_dual_window(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  display_context& display = w.display();
  if (!work.dual()) {
    if (!work.open_second_pane()) {
      w.refresh_menus();
      return;
    }
  } else if (!display.layout.side_by_side) {
    work.place_panes_side_by_side();
    fill_pane_gap(display);
  } else {
    w.close_second_pane();
    return;
  }
  w.redraw_everything();
  w.rebuild_text_entries();
  w.refresh_menus();
}

void change_window(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  if (work.dual()) {
    w.draw_cursor(false);
    work.switch_pane();
    w.draw_cursor();
    w.refresh_menus();
    return;
  }
  int next = work.next_text();
  if (next >= 0) send(w, text_entry_id(next));
}

void open_console(window_& w, command_id, std::intptr_t) {
  workspace& work = w.work();
  text_document* d = work.current_text();
  bool dual = work.dual();
  if (!d || !work.is_console(*d)) {
    if (dual && work.pane_text(work.other_pane()) == 0) {
      send(w, command_id::change_window);
    } else {
      send(w, text_entry_id(0));
    }
    return;
  }
  if (!dual) {
    post(w, command_id::change_window);
  } else if (work.text_count() == 2) {
    post(w, command_id::change_window);
    w.close_second_pane();
  } else {
    int last = work.text_count() - 1;
    w.show_text(work.pane_text(work.other_pane()) == last ? last - 1 : last);
  }
}

void show_text_entry(window_& w, command_id id, std::intptr_t) {
  w.show_text(entry_index(command_id::first_text_entry, id));
}

namespace {

// The status line shows the new charset or line end at once.
// refresh_menus sets the radio marks and makes the text saveable as it is now
// written differently from its file.
void show_save_format(window_& w, text_document& d) {
  w.painter().draw_status_line(current_pane(w.display()), d);
  w.refresh_menus();
}

}  // namespace

void change_charset(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  d->save_charset = next_charset(d->save_charset);
  show_save_format(w, *d);
}

void change_linefeed(window_& w, command_id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  d->save_linefeed = next_linefeed(d->save_linefeed);
  show_save_format(w, *d);
}

// The menu items only set the code and move the mark; the status line shows
// the change at its next redraw.
void set_charset(window_& w, command_id id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  d->save_charset = static_cast<charset>(charset_of_item(id));
  w.refresh_menus();
}

void set_linefeed(window_& w, command_id id, std::intptr_t) {
  text_document* d = w.work().current_text();
  if (!d) return;
  d->save_linefeed = static_cast<linefeed_kind>(linefeed_of_item(id));
  w.refresh_menus();
}

}  // namespace vintorel::handlers
