// The display requests of the text model, answered by the painter on the
// display context's surfaces.
#pragma once
#include <functional>

#include "display/display_context.h"
#include "text/display_requests.h"

namespace vintorel {

class painter_display : public display_requests {
 public:
  explicit painter_display(display_context& display) : display_(display) {}

  // What the window does for the two requests that go beyond one pane.
  std::function<void()> on_update_menus;
  std::function<void()> on_repaint_other_pane;

  void paint_line(const pane_view& pane, text_document& document, std::int32_t line) override;
  void repaint_pane(const pane_view& pane, text_document& document) override;
  void erase_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) override;
  void draw_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) override;
  void draw_status_line(const pane_view& pane, text_document& document) override;
  void shift_rows(const pane_view& pane, bool up) override;
  void clear_row(const pane_view& pane, std::int32_t row) override;
  void update_menus() override;
  void repaint_other_pane() override;

  display_context& context() { return display_; }

 private:
  display_context& display_;
};

}  // namespace vintorel
