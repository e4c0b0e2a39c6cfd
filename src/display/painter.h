// The painter: cell geometry, colour rules and the operations that bring the
// screen image up to date (cells, glyphs, strings, row shifts, the cursor
// highlight, text lines, whole panes and the input-method composition).
#pragma once
#include <cstdint>
#include <string_view>

#include "display/display_context.h"
#include "display/fontx2.h"
#include "platform/byte_string.h"
#include "text/display_requests.h"

namespace vintorel {

struct text_document;

// Pixel rectangle of a block of `rows` × `columns` cells starting at (row, column).
pixel_rect cell_block_rect(const cell_metrics& m, int row, int column, int rows, int columns);

// The glyph colour actually drawn for `fg` on `bg`: a glyph never vanishes in
// its own background nor in "back normal" (the key colour of the images).
colour corrected_foreground(colour fg, colour bg, colour back_normal_colour);

// The three parts of the cursor highlight of one pane.
struct cursor_strips {
  pixel_rect line;    // the cursor row across the pane
  pixel_rect column;  // the cursor column down the pane, gaps above and below included
  pixel_rect cell;    // the cursor cell
};
cursor_strips cursor_strips_of(const cell_metrics& m, int first_row, int first_column, int rows, int columns,
                               int cursor_row, int cursor_column);

// Marks a rectangle of the screen image changed.
void invalidate(display_context& display, const pixel_rect& area);

// Where the glyph of a character lies in the font sheets: `sheet` 0 for the
// half-width sheet, 1 + n for full-width sheet n, -1 for a code with no place
// (drawn as an empty cell); `row` and `column` its place on the sheet, and
// `source` its rectangle there, one or two cells wide.
struct glyph_place {
  int sheet = -1;
  int row = 0;
  int column = 0;
  pixel_rect source;
};
// Inline, as it is asked for every character drawn.
inline glyph_place place_of_glyph(unsigned code, const cell_metrics& m) {
  glyph_place place;
  place.source = {0, 0, m.width, m.height};
  if (code < 256) {
    place.sheet = 0;
    place.row = static_cast<int>(code / 16);
    place.column = static_cast<int>(code % 16);
  } else {
    place.source.width = 2 * m.width;
    glyph_slot slot;
    if (!full_width_slot(code, slot)) return place;
    place.sheet = 1 + slot.sheet;
    place.row = slot.row;
    place.column = slot.column;
  }
  place.source.x = place.column * place.source.width;
  place.source.y = place.row * m.height;
  return place;
}

void fill_cells(display_context& display, int row, int column, int rows, int columns, colour c);
// One character (code < 256 half-width, else a Shift_JIS double-byte code on
// two cells) into the text and screen images. Does not invalidate.
// Written straight into the images when they can be locked, else by
// draw_glyph_with_copies.
void draw_glyph(display_context& display, int row, int column, unsigned code, colour fg, colour bg);
// The same by surface copies through the cell scratch, each copy retried after
// a rebuild when a surface was lost.
void draw_glyph_with_copies(display_context& display, int row, int column, unsigned code, colour fg, colour bg);
// A Shift_JIS string inside a band `width` cells wide, wrapping to the next row.
void draw_string(display_context& display, int row, int column, int width, std::string_view text, colour fg,
                 colour bg);
// Moves a block of cells one row up (to start at row − 1) or down.
void shift_rows(display_context& display, int row, int column, int rows, int columns, bool up);
void draw_cursor(display_context& display, int first_row, int first_column, int rows, int columns, int cursor_row,
                 int cursor_column);
void erase_cursor(display_context& display, int first_row, int first_column, int rows, int columns,
                  int cursor_row, int cursor_column);

// In the side-by-side layout, the two columns between the panes over every
// row in the system button-face colour; nothing in the other layouts.
void fill_pane_gap(display_context& display);

// The pane `index` of the layout as the text model sees it (tab size from the
// pane's style).
pane_view pane_of(const display_context& display, int index);
pane_view current_pane(const display_context& display);
// The keyword block of the pane's style (empty when none).
const byte_string& keywords_of(const display_context& display, const pane_view& pane);

// Paints text line `line` of `document` into its row of `pane`; nothing when
// the line lies outside the pane or cannot be read.
void paint_line(display_context& display, const pane_view& pane, text_document& document, std::int32_t line);
// Clears the pane, paints its visible lines and its status line.
void repaint_pane(display_context& display, const pane_view& pane, text_document& document);

// The input method's composition string at (row, column) of `pane`: attribute
// byte 1 or 3 marks the target clause; `cursor_offset` is the byte offset of
// the composition cursor. Wraps to the pane's first column on the same row.
void draw_composition(display_context& display, const pane_view& pane, int row, int column, std::string_view text,
                      std::string_view attributes, int cursor_offset);

}  // namespace vintorel
