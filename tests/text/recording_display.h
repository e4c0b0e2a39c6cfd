// A display that writes down every request it gets, for tests of the order in
// which operations ask for painting: "paint 7" (line), "repaint", "erase 3,5" and
// "draw 3,5" (screen row, column), "status", "shift up", "clear 9" (row),
// "menus", "other pane".
#pragma once
#include <string>
#include <utility>
#include <vector>

#include "text/display_requests.h"

namespace vintorel {

using log_lines = std::vector<std::string>;

class recording_display : public display_requests {
 public:
  log_lines log;

  void paint_line(const pane_view&, text_document&, std::int32_t line) override { add("paint", line); }
  void repaint_pane(const pane_view&, text_document&) override { log.push_back("repaint"); }
  void erase_cursor(const pane_view&, std::int32_t row, std::int32_t column) override { add("erase", row, column); }
  void draw_cursor(const pane_view&, std::int32_t row, std::int32_t column) override { add("draw", row, column); }
  void draw_status_line(const pane_view&, text_document&) override { log.push_back("status"); }
  void shift_rows(const pane_view&, bool up) override { log.push_back(up ? "shift up" : "shift down"); }
  void clear_row(const pane_view&, std::int32_t row) override { add("clear", row); }
  void update_menus() override { log.push_back("menus"); }
  void repaint_other_pane() override { log.push_back("other pane"); }
  // The log so far, emptied.
  log_lines take() { return std::exchange(log, {}); }

 private:
  void add(const char* what, std::int32_t a, std::int32_t b = -1) {
    log.push_back(what + (" " + std::to_string(a)) + (b < 0 ? "" : "," + std::to_string(b)));
  }
};

}  // namespace vintorel
