// Pane layouts and the small helpers of the display state.
#include "display/display_context.h"

namespace vintorel {

void set_pane_layout(pane_layout& layout, int lines, int columns, bool dual, bool side_by_side) {
  layout.dual = dual;
  layout.side_by_side = dual && side_by_side;
  if (!dual) {
    layout.pane_rows = lines - 2;
    layout.pane_columns = columns;
    layout.pane_first_row[0] = layout.pane_first_row[1] = 1;
    layout.pane_first_column[0] = layout.pane_first_column[1] = 0;
    layout.current_pane = 0;
  } else if (!side_by_side) {
    layout.pane_rows = (lines - 3) / 2;
    layout.pane_columns = columns;
    layout.pane_first_row[0] = 1;
    layout.pane_first_row[1] = (lines - 1) / 2 + 1;
    layout.pane_first_column[0] = layout.pane_first_column[1] = 0;
  } else {
    layout.pane_rows = lines - 3;
    layout.pane_columns = (columns - 2) / 2;
    layout.pane_first_row[0] = layout.pane_first_row[1] = 2;
    layout.pane_first_column[0] = 0;
    layout.pane_first_column[1] = (columns - 2) / 2 + 2;
  }
}

int display_context::client_pixel_width() const {
  return client_width > 0 ? client_width : columns * metrics.width;
}

int display_context::client_pixel_height() const {
  if (client_height > 0) return client_height;
  return lines * metrics.height + (lines - 1) * metrics.between;
}

palette palette_from(const settings_record& settings) {
  palette p;
  for (int i = 0; i < palette_size; ++i) {
    const settings_colour& c = settings.colours[i];
    p.entries[i] = colour{c.red, c.green, c.blue};
  }
  return p;
}

void apply_settings(display_context& display, const settings_record& settings) {
  display.columns = settings.columns;
  display.lines = settings.lines;
  if (settings.font_width > 0) display.metrics.width = settings.font_width;
  if (settings.font_height > 0) display.metrics.height = settings.font_height;
  display.metrics.between = settings.between_pixel < 0 ? 0 : settings.between_pixel;
  display.colours = palette_from(settings);
  display.half_width_font = settings.font_file;
  display.full_width_font = settings.font_file_mb;
  display.switches.safety_direct_draw = settings.safety_directdraw;
  apply_runtime_settings(display, settings);
}

void apply_runtime_settings(display_context& display, const settings_record& settings) {
  display_switches& sw = display.switches;
  sw.view_tab = settings.view_tab;
  sw.view_linefeed = settings.view_linefeed;
  sw.view_eof = settings.view_eof;
  sw.view_mb_space = settings.view_mb_space;
  sw.ignore_case = settings.ignore_case;
  sw.word_search = settings.word_search;
  display.bottom_line.function_labels = settings.function;
  display.bottom_line.function_shift_labels = settings.function_shift;
}

void report_error(display_context& display, int string_id) {
  if (display.show_error) display.show_error(string_id);
}

}  // namespace vintorel
