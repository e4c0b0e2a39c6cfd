// Cell geometry and the cell-level painter operations: fills, glyphs, strings,
// row shifts and the cursor highlight.
#include <algorithm>

#include "display/fontx2.h"
#include "display/image_writer.h"
#include "display/painter.h"
#include "display/surface_ops.h"
#include "platform/cp932.h"

namespace vintorel {

namespace ops = surface_ops;

pixel_rect cell_block_rect(const cell_metrics& m, int row, int column, int rows, int columns) {
  return pixel_rect{column * m.width, row * (m.height + m.between), columns * m.width,
                    rows * m.height + (rows - 1) * m.between};
}

colour corrected_foreground(colour fg, colour bg, colour back_normal_colour) {
  if (fg == bg) {
    for (std::int32_t* c : {&fg.red, &fg.green, &fg.blue})
      *c = (*c >= 64 && *c <= 191) ? (*c + 128) % 256 : 255 - *c;
  }
  if (fg == back_normal_colour) {
    for (std::int32_t* c : {&fg.red, &fg.green, &fg.blue}) *c = *c < 128 ? *c + 16 : *c - 16;
  }
  return fg;
}

cursor_strips cursor_strips_of(const cell_metrics& m, int first_row, int first_column, int rows, int columns,
                               int cursor_row, int cursor_column) {
  const int pitch = m.height + m.between;
  cursor_strips s;
  s.line = pixel_rect{first_column * m.width, cursor_row * pitch, columns * m.width, m.height};
  s.column = pixel_rect{cursor_column * m.width, first_row * pitch - m.between, m.width, rows * pitch + m.between};
  s.cell = pixel_rect{cursor_column * m.width, cursor_row * pitch, m.width, m.height};
  return s;
}

void invalidate(display_context& display, const pixel_rect& area) {
  if (area.empty()) return;
  display.invalid = united(display.invalid, area);
  if (display.on_invalidate) display.on_invalidate(area);
}

void fill_pane_gap(display_context& display) {
  const pane_layout& l = display.layout;
  if (!l.dual || !l.side_by_side) return;
  const int first = l.pane_first_column[0] + l.pane_columns;
  fill_cells(display, 0, first, display.lines, l.pane_first_column[1] - first, display.button_face);
}

void fill_cells(display_context& display, int row, int column, int rows, int columns, colour c) {
  pixel_rect area = cell_block_rect(display.metrics, row, column, rows, columns);
  if (area.empty()) return;
  ops::fill(display, ops::cell_scratch, area, display.colours[back_normal]);
  ops::fill(display, ops::text_image, area, c);
  ops::fill(display, ops::screen_image, area, c);
  invalidate(display, area);
}

void draw_glyph(display_context& display, int row, int column, unsigned code, colour fg, colour bg) {
  {
    image_writer writer(display);
    if (writer.glyph(row, column, code, fg, bg)) return;
  }
  draw_glyph_with_copies(display, row, column, code, fg, bg);
}

void draw_glyph_with_copies(display_context& display, int row, int column, unsigned code, colour fg, colour bg) {
  const cell_metrics& m = display.metrics;
  const colour blank = display.colours[back_normal];
  const colour ink = display.colours[text_normal];

  // A code with no place in the sheets shows as an empty cell.
  const glyph_place place = place_of_glyph(code, m);
  const pixel_rect& source = place.source;
  const int sheet = place.sheet < 0 ? -1 : ops::half_width_sheet + place.sheet;
  const int x = column * m.width;
  const int y = row * (m.height + m.between);
  const pixel_rect cell{x, y, source.width, m.height};
  fg = corrected_foreground(fg, bg, blank);

  // Glyph in its colour on "back normal", in the scratch.
  if (sheet < 0) {
    ops::fill(display, ops::cell_scratch, cell, blank);
  } else if (fg == ink) {
    ops::copy(display, ops::cell_scratch, x, y, sheet, source, false);
  } else {
    // The sheet's ink pixels are keyed out, so the fill shows through them.
    ops::fill(display, ops::cell_scratch, cell, fg);
    ops::set_key(display, sheet, ink);
    ops::copy(display, ops::cell_scratch, x, y, sheet, source, true);
  }
  // Onto the background in the text image.
  if (bg == blank) {
    ops::copy(display, ops::text_image, x, y, ops::cell_scratch, cell, false);
  } else {
    ops::fill(display, ops::text_image, cell, bg);
    ops::copy(display, ops::text_image, x, y, ops::cell_scratch, cell, true);
  }
  ops::copy(display, ops::screen_image, x, y, ops::text_image, cell, false);
}

void draw_string(display_context& display, int row, int column, int width, std::string_view text, colour fg,
                 colour bg) {
  if (width <= 0) return;
  const int end = column + width;
  int r = row;
  int c = column;
  for (std::size_t i = 0; i < text.size() && text[i] != '\0';) {
    if (c >= end) {
      ++r;
      c = column;
    }
    unsigned char b = static_cast<unsigned char>(text[i]);
    if (is_lead_byte(b) && i + 1 < text.size() && pairs_with_lead(static_cast<unsigned char>(text[i + 1]))) {
      // A double-byte character never starts in the band's last column (unless
      // the band is one column wide, where it could never be placed).
      if (c == end - 1 && width > 1) {
        ++r;
        c = column;
      }
      draw_glyph(display, r, c, (b << 8) | static_cast<unsigned char>(text[i + 1]), fg, bg);
      c += 2;
      i += 2;
    } else {
      draw_glyph(display, r, c, b, fg, bg);
      c += 1;
      i += 1;
    }
  }
  pixel_rect area = cell_block_rect(display.metrics, row, column, r - row + 1, width);
  invalidate(display, area);
}

void shift_rows(display_context& display, int row, int column, int rows, int columns, bool up) {
  if (rows <= 0 || columns <= 0) return;
  const int to = up ? row - 1 : row + 1;
  const pixel_rect area = cell_block_rect(display.metrics, row, column, rows, columns);
  const int y = to * (display.metrics.height + display.metrics.between);
  ops::copy(display, ops::cell_scratch, area.x, y, ops::cell_scratch, area, false);
  ops::copy(display, ops::text_image, area.x, y, ops::text_image, area, false);
  ops::copy(display, ops::screen_image, area.x, y, ops::screen_image, area, false);
  invalidate(display, pixel_rect{area.x, y, area.width, area.height});
}

void draw_cursor(display_context& display, int first_row, int first_column, int rows, int columns, int cursor_row,
                 int cursor_column) {
  cursor_strips s =
      cursor_strips_of(display.metrics, first_row, first_column, rows, columns, cursor_row, cursor_column);
  ops::fill(display, ops::screen_image, s.line, display.colours[back_cursorline]);
  ops::fill(display, ops::screen_image, s.column, display.colours[back_cursorline]);
  ops::fill(display, ops::screen_image, s.cell, display.colours[back_cursor]);
  // The text shows over the highlight: the text image's background is its key.
  ops::copy(display, ops::screen_image, s.line.x, s.line.y, ops::text_image, s.line, true);
  ops::copy(display, ops::screen_image, s.column.x, s.column.y, ops::text_image, s.column, true);
  invalidate(display, s.line);
  invalidate(display, s.column);
}

void erase_cursor(display_context& display, int first_row, int first_column, int rows, int columns,
                  int cursor_row, int cursor_column) {
  cursor_strips s =
      cursor_strips_of(display.metrics, first_row, first_column, rows, columns, cursor_row, cursor_column);
  ops::copy(display, ops::screen_image, s.line.x, s.line.y, ops::text_image, s.line, false);
  invalidate(display, s.line);
  ops::copy(display, ops::screen_image, s.column.x, s.column.y, ops::text_image, s.column, false);
  invalidate(display, s.column);
}

}  // namespace vintorel
