// A display that writes down every request it gets, for tests of the order in
// which operations ask for painting.
#pragma once
#include <string>
#include <vector>

#include "text/display_requests.h"

namespace vintorel {

using log_lines = std::vector<std::string>;

// Requests are logged as "paint 7" (line), "repaint", "erase 3,5" and
// "draw 3,5" (screen row, column), "status", "shift up" / "shift down",
// "clear 9" (row), "menus", "other pane".
class recording_display : public display_requests {
 public:
  std::vector<std::string> log;

  void paint_line(const pane_view&, text_document&, std::int32_t line) override {
    log.push_back("paint " + std::to_string(line));
  }
  void repaint_pane(const pane_view&, text_document&) override { log.push_back("repaint"); }
  void erase_cursor(const pane_view&, std::int32_t row, std::int32_t column) override {
    log.push_back("erase " + std::to_string(row) + "," + std::to_string(column));
  }
  void draw_cursor(const pane_view&, std::int32_t row, std::int32_t column) override {
    log.push_back("draw " + std::to_string(row) + "," + std::to_string(column));
  }
  void draw_status_line(const pane_view&, text_document&) override { log.push_back("status"); }
  void shift_rows(const pane_view&, bool up) override {
    log.push_back(up ? "shift up" : "shift down");
  }
  void clear_row(const pane_view&, std::int32_t row) override {
    log.push_back("clear " + std::to_string(row));
  }
  void update_menus() override { log.push_back("menus"); }
  void repaint_other_pane() override { log.push_back("other pane"); }

  // The log so far, emptied.
  std::vector<std::string> take() {
    std::vector<std::string> result;
    result.swap(log);
    return result;
  }
  // The log without "menus" entries, emptied; most order tests ignore menus.
  std::vector<std::string> take_screen() {
    std::vector<std::string> result;
    for (auto& entry : log)
      if (entry != "menus") result.push_back(entry);
    log.clear();
    return result;
  }
};

}  // namespace vintorel
