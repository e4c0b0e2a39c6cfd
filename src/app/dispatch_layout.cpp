// Dispatch of the commands that change what the panes show: the second pane,
// switching panes and texts, the console, and the character set and line end
// a text is saved in.
#include "app/menu_table.h"
#include "app/window_main.h"
#include "app/window_menus.h"
#include "display/painter.h"
#include "files/charset.h"

namespace vintorel {

void window_::dispatch_layout(int id) {
  text_document* d = current_text();
  switch (id) {
    case 218:
      open_console();
      break;
    case 222:
      open_dual_window();
      break;
    case 223:
      change_window();
      break;
    case 224:
    case 225:
      if (!d) break;
      if (id == 224) {
        d->save_charset = next_charset(d->save_charset);
      } else {
        d->save_linefeed = next_linefeed(d->save_linefeed);
      }
      painter_.draw_status_line(current_pane(display_), *d);
      menus_->set_charset_mark(d->save_charset);
      menus_->set_linefeed_mark(d->save_linefeed);
      break;
    default:
      // The menu items only set the code and move the mark; the status line
      // shows the change at its next redraw.
      if (!d) break;
      if (id >= first_charset_id && id <= last_charset_id) {
        d->save_charset = id - 326;
        menus_->set_charset_mark(d->save_charset);
      } else if (id >= first_linefeed_id && id <= last_linefeed_id) {
        d->save_linefeed = id - 331;
        menus_->set_linefeed_mark(d->save_linefeed);
      }
      break;
  }
}

void window_::open_dual_window() {
  pane_layout& layout = display_.layout;
  if (!layout.dual) {
    if (text_count() < 2) {
      refresh_menus();
      return;
    }
    set_pane_layout(layout, display_.lines, display_.columns, true, false);
    int last = text_count() - 1;
    pane_index_[1] = pane_index_[0] == last ? last - 1 : last;
    layout.current_pane = 0;
    for (int pane : {0, 1}) {
      text_document& t = text_at(pane_index_[static_cast<std::size_t>(pane)]);
      if (t.current_line - t.top_line >= layout.pane_rows) t.top_line = t.current_line - layout.pane_rows + 1;
      load_pane_style(pane);
    }
  } else if (!layout.side_by_side) {
    set_pane_layout(layout, display_.lines, display_.columns, true, true);
    for (int pane : {0, 1}) {
      int index = pane_text(pane);
      if (index >= 0) fit_top_line(text_at(index));
    }
    // The two cells between the panes, over every row.
    fill_cells(display_, 0, layout.pane_columns, display_.lines, 2, display_.button_face);
  } else {
    close_second_pane();
    return;
  }
  redraw_everything();
  rebuild_text_entries();
  refresh_menus();
}

void window_::change_window() {
  if (display_.layout.dual) {
    erase_current_cursor();
    display_.layout.current_pane = 1 - display_.layout.current_pane;
    draw_current_cursor();
    refresh_menus();
    return;
  }
  int index = current_text_index();
  int others = text_count() - 1;  // texts besides the console
  if (index == 0) {
    if (others >= 1) send_command(first_text_entry_id + 1);
  } else if (others >= 2) {
    int next = index + 1 < text_count() ? index + 1 : 1;
    send_command(first_text_entry_id + next);
  }
}

void window_::open_console() {
  text_document* d = current_text();
  bool dual = display_.layout.dual;
  if (!d || !is_console(*d)) {
    if (dual && pane_text(1 - current_pane_index()) == 0) {
      send_command(223);
    } else {
      send_command(first_text_entry_id);
    }
    return;
  }
  if (!dual) {
    post_command(223);
  } else if (text_count() == 2) {
    post_command(223);
    close_second_pane();
  } else {
    int last = text_count() - 1;
    show_text(pane_text(1 - current_pane_index()) == last ? last - 1 : last);
  }
}

}  // namespace vintorel
