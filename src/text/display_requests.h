// The requests the text model makes of the display after it changed a text or
// moved its cursor, and the pane they are made for. The painter implements
// them; without a painter the empty defaults apply, and tests record them.
#pragma once
#include <cstdint>

#include "platform/byte_string.h"

namespace vintorel {

struct text_document;

// One pane as the text model sees it: where its text rows start on the screen,
// how many rows and columns of text it shows, and the style of the text shown in
// it. Rows and columns are screen cells.
struct pane_view {
  std::int32_t first_row = 1;     // screen row of the pane's first text row
  std::int32_t first_column = 0;  // screen column of the pane's first text column
  std::int32_t rows = 19;         // visible text rows
  std::int32_t columns = 80;      // visible text columns
  int tab_size = 8;               // never below 1
  bool auto_indent = false;       // the pane's automatic indent switch
  // The keyword block of the pane's style (NUL-terminated keywords ended by an
  // empty one), owned by the display; null: no keywords.
  const byte_string* keywords = nullptr;

  // Guarded values for arithmetic: a pane always has at least one row and column.
  std::int32_t visible_rows() const { return rows < 1 ? 1 : rows; }
  std::int32_t visible_columns() const { return columns < 1 ? 1 : columns; }
  int tab() const { return tab_size < 1 ? 1 : tab_size; }
};

// Every request names the pane it is for; cells are screen coordinates. The
// order in which operations make these requests is part of their behaviour.
class display_requests {
 public:
  virtual ~display_requests() = default;

  // Paint one line of `document` into its row of the pane (the current-line
  // buffer for the cursor line, the stored text otherwise).
  virtual void paint_line(const pane_view& pane, text_document& document, std::int32_t line) {
    (void)pane, (void)document, (void)line;
  }
  // Paint every visible row of the pane and its status line.
  virtual void repaint_pane(const pane_view& pane, text_document& document) {
    (void)pane, (void)document;
  }
  // Remove or show the cursor highlight at a screen cell of the pane.
  virtual void erase_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) {
    (void)pane, (void)row, (void)column;
  }
  virtual void draw_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) {
    (void)pane, (void)row, (void)column;
  }
  // Redraw the status line of the pane.
  virtual void draw_status_line(const pane_view& pane, text_document& document) {
    (void)pane, (void)document;
  }
  // Move the pane's text rows but one by one row: `up` moves rows 1.. of the
  // pane to start at row 0; otherwise rows 0.. move down to start at row 1.
  virtual void shift_rows(const pane_view& pane, bool up) { (void)pane, (void)up; }
  // Clear one screen row of the pane to the background.
  virtual void clear_row(const pane_view& pane, std::int32_t row) { (void)pane, (void)row; }
  // The window brings its menus and title up to date after a change.
  virtual void update_menus() {}
  // In the two-pane layout, repaint the pane that does not have the focus.
  virtual void repaint_other_pane() {}
};

class null_display final : public display_requests {};

}  // namespace vintorel
