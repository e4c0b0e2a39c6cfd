// The display requests of the text model, answered by the painter.
#include "display/painter_display.h"

#include "display/painter.h"
#include "display/status_line.h"

namespace vintorel {

void painter_display::paint_line(const pane_view& pane, text_document& document, std::int32_t line) {
  vintorel::paint_line(display_, pane, document, line);
}

void painter_display::repaint_pane(const pane_view& pane, text_document& document) {
  vintorel::repaint_pane(display_, pane, document);
}

void painter_display::erase_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) {
  vintorel::erase_cursor(display_, pane.first_row, pane.first_column, pane.rows, pane.columns, row, column);
}

void painter_display::draw_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) {
  vintorel::draw_cursor(display_, pane.first_row, pane.first_column, pane.rows, pane.columns, row, column);
}

void painter_display::draw_status_line(const pane_view& pane, text_document& document) {
  vintorel::draw_status_line(display_, pane, document);
}

void painter_display::shift_rows(const pane_view& pane, bool up) {
  // Scrolling forward moves the rows below the first one up; scrolling back
  // moves all but the last row down.
  const int from = up ? pane.first_row + 1 : pane.first_row;
  vintorel::shift_rows(display_, from, pane.first_column, pane.rows - 1, pane.columns, up);
}

void painter_display::clear_row(const pane_view& pane, std::int32_t row) {
  fill_cells(display_, row, pane.first_column, 1, pane.columns, display_.colours[back_normal]);
}

void painter_display::update_menus() {
  if (on_update_menus) on_update_menus();
}

void painter_display::repaint_other_pane() {
  if (on_repaint_other_pane) on_repaint_other_pane();
}

}  // namespace vintorel
