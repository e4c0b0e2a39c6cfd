// The state the painter works on: the back end and its surfaces, the cell
// metrics, the palette, the pane layout and the display switches.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "display/keyword_match.h"
#include "display/row_runs.h"
#include "display/surfaces.h"
#include "platform/byte_string.h"
#include "settings/main_settings.h"
#include "text/search_pattern.h"

namespace vintorel {

// Cell metrics in pixels: W and H come from the half-width font, B is the
// "between pixel" setting (empty rows between two text rows).
struct cell_metrics {
  int width = 8;
  int height = 16;
  int between = 3;
};

// Palette entries are indexed by colour_index (text_normal ... bar_console).
constexpr int palette_size = colour_count;

struct palette {
  std::array<colour, palette_size> entries = [] {
    std::array<colour, palette_size> built{};
    for (int i = 0; i < palette_size; ++i)
      built[i] = colour{default_colours[i].red, default_colours[i].green, default_colours[i].blue};
    return built;
  }();
  colour& operator[](int i) { return entries[i]; }
  const colour& operator[](int i) const { return entries[i]; }
};

// Geometry of the one or two panes, in cells.
struct pane_layout {
  std::int32_t pane_first_row[2] = {1, 1};
  std::int32_t pane_first_column[2] = {0, 0};
  std::int32_t pane_rows = 19;
  std::int32_t pane_columns = 80;
  int current_pane = 0;
  bool dual = false;
  bool side_by_side = false;
};

// The single layout, one pane above the other, or side by side, for a grid of
// `lines` rows (status and bottom lines included) and `columns` columns.
// `current_pane` is kept when the new layout has two panes, else it becomes 0.
void set_pane_layout(pane_layout& layout, int lines, int columns, bool dual, bool side_by_side);

// Switches of the settings file that change what is drawn.
struct display_switches {
  bool safety_direct_draw = true;
  bool view_tab = false;
  bool view_linefeed = true;
  bool view_eof = true;
  bool view_mb_space = true;
  bool ignore_case = false;
  bool word_search = true;
};

// The part of a text's extension style that painting needs.
struct pane_style_view {
  int tab_size = 8;
  // Keywords as NUL-terminated strings one after another, ended by an empty
  // string (or by the end of the block).
  byte_string keywords;
};

// What the bottom line shows besides the labels' choice by the Shift key.
struct bottom_line_state {
  bool escape_pending = false;
  bool overwrite = false;
  byte_string function_labels;        // "function" setting
  byte_string function_shift_labels;  // "function shift" setting
};

// Ink masks of the glyphs drawn so far (bit x of a row set where the sheet's
// pixel is ink), taken from the sheets when a glyph is first drawn. Emptied
// whenever the sheets are made or loaded again.
struct glyph_mask_cache {
  int cell_width = 0;   // W and H the masks were taken with
  int cell_height = 0;
  std::uint32_t ink = 0;  // the pixel values of "text normal" and "back normal"
  std::uint32_t blank = 0;
  std::vector<std::uint16_t> rows;  // cell_height rows of 2·W bits per glyph slot
  // Per glyph slot: 0 not taken yet, 1 taken, 2 the sheet holds other pixels
  // there (drawn from the sheet itself).
  std::vector<std::uint8_t> made;
};

// What painting prepares from the search string, from the keyword blocks and
// from the glyph sheets, kept until what it was made from changes.
struct paint_preparations {
  bool search_made = false;
  byte_string search_source;
  bool search_ignore_case = false;
  bool search_word = false;
  search_pattern search;
  // The two keyword blocks used last; `keywords_next` is the one to reuse.
  std::array<keyword_table, 2> keywords;
  std::array<bool, 2> keywords_made{};
  int keywords_next = 0;
  glyph_mask_cache glyph_masks;
  // Colours asked for lately and their pixel values (the pixel format is the
  // same until the surfaces are made again, which empties it).
  std::array<colour, 8> recent_colours{};
  std::array<std::uint32_t, 8> recent_values{};
  int recent_count = 0;
  int recent_next = 0;
  // Row stretches known to hold one value in the text and screen images.
  row_runs known_rows;
};

struct display_context {
  drawing_backend* backend = nullptr;
  screen_surfaces surfaces;
  cell_metrics metrics;
  int columns = 80;  // the window grid, status and bottom lines included
  int lines = 21;
  // Client area in pixels at creation; 0 means "the size of the grid".
  int client_width = 0;
  int client_height = 0;
  palette colours;
  // System colours of the bottom line and of the gap between side-by-side panes.
  colour window_text{0, 0, 0};
  colour button_face{192, 192, 192};
  pane_layout layout;
  display_switches switches;
  std::array<pane_style_view, 2> pane_styles;
  // The program-wide search string (Shift_JIS), or null when there is none.
  const byte_string* search_string = nullptr;
  bottom_line_state bottom_line;
  paint_preparations prepared;
  std::string half_width_font = default_half_width_font;
  std::string full_width_font = default_full_width_font;

  // Error box with a string-table id (caption "エラー"); returns when the user
  // has answered. Unset: the message is dropped.
  std::function<void(int string_id)> show_error;
  // Told about every pixel rectangle of the screen image that changed.
  std::function<void(const pixel_rect&)> on_invalidate;
  // Union of the rectangles invalidated since it was last cleared.
  pixel_rect invalid;
  // Rebuilds one operation may cause before it is given up (a display that
  // loses its surfaces again at once would otherwise hold the program forever).
  int rebuild_limit = 8;
  int rebuilds = 0;  // rebuilds done so far, for tests and diagnostics
  bool rebuilding = false;  // a rebuild is running (a loss inside it is not rebuilt again)

  int client_pixel_width() const;
  int client_pixel_height() const;
};

// The palette of the settings' colours.
palette palette_from(const settings_record& settings);
// Copies the display values of the settings record (grid, cell metrics,
// fonts, colours, and the run-time values below) into the context; at start-up.
void apply_settings(display_context& display, const settings_record& settings);
// Only the switches and labels that may change while the program runs.
void apply_runtime_settings(display_context& display, const settings_record& settings);

// Shows an error box through the context's callback.
void report_error(display_context& display, int string_id);

}  // namespace vintorel
