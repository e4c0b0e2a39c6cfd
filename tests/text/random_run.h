// What the random command tests share: choices drawn from one seeded generator,
// a display that notes requests outside their pane, and the checks made after
// the commands besides check_text.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/write_text.h"
#include "text/positions.h"
#include "text_fixture.h"

namespace vintorel::testing {

// VINTOREL_RANDOM_SEED when it is set, so that a failed run can be repeated;
// `fallback` otherwise.
inline unsigned random_seed(unsigned fallback) {
  const char* given = std::getenv("VINTOREL_RANDOM_SEED");
  return given ? static_cast<unsigned>(std::atoi(given)) : fallback;
}

struct random_choices {
  std::mt19937 random;

  explicit random_choices(unsigned seed) : random(seed) {}
  int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
  bool coin() { return below(2) == 0; }

  // A pane of 2 to 8 rows and 3 to 30 columns with a tab size of 1 to 8.
  pane_view random_pane(std::int32_t first_row) {
    return {first_row, below(3), 2 + below(7), 3 + below(28), 1 + below(8), coin()};
  }
  // Makes `text` of `lines` and puts its cursor on a random line at a random
  // desired column (now and then the line's end), shown in the pane of `c`.
  void open_text(text_document& text, const edit_context& c, const std::vector<byte_string>& lines) {
    make_text(text, lines);
    text.commit_current_line();
    text.current_line = below(static_cast<int>(lines.size()));
    text.desired_column = below(3) == 0 ? -1 : below(30);
    ASSERT_TRUE(reload_current_line(text, c));
    text.top_line = std::max(0, text.current_line - c.pane.visible_rows() + 1);
    scroll_to_cursor(text, c, is_on_double_byte(text));
  }
};

// Notes the first request for a cell, line or row outside the pane it names.
class pane_bounds_display : public display_requests {
 public:
  std::string problem;

  void paint_line(const pane_view& pane, text_document& text, std::int32_t line) override {
    if (line < text.top_line || line >= text.top_line + pane.rows || line >= text.line_count())
      note("paint of line " + std::to_string(line) + " outside the pane");
  }
  void erase_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) override {
    cell("erase", pane, row, column);
  }
  void draw_cursor(const pane_view& pane, std::int32_t row, std::int32_t column) override {
    cell("draw", pane, row, column);
  }
  void clear_row(const pane_view& pane, std::int32_t row) override {
    if (row < pane.first_row || row >= pane.first_row + pane.rows) note("clear outside the pane");
  }

 private:
  void cell(const char* what, const pane_view& pane, std::int32_t row, std::int32_t column) {
    if (row < pane.first_row || row >= pane.first_row + pane.rows || column < pane.first_column ||
        column >= pane.first_column + pane.columns)
      note(std::string(what) + " at " + std::to_string(row) + "," + std::to_string(column) +
           " outside the pane");
  }
  void note(const std::string& text) {
    if (problem.empty()) problem = text;
  }
};

// What is wrong with the block's anchor and direction; empty when all is well.
inline std::string block_problem(const text_document& d) {
  if (d.block_state == 0) return "";
  if (d.current_line == d.anchor_line && d.block_state != 2) return "line block on the anchor line";
  if (d.anchor_line < 0 || d.anchor_line >= d.line_count()) return "anchor beyond the text";
  bool before = d.current_line < d.anchor_line ||
                (d.current_line == d.anchor_line && d.position < d.anchor_position);
  bool after = d.current_line > d.anchor_line ||
               (d.current_line == d.anchor_line && d.position > d.anchor_position);
  if ((before && !d.block_backward) || (after && d.block_backward)) return "block direction wrong";
  return "";
}

// Writes the text to `path` and loads it again, which must give the same lines
// and size; empty when it does.
inline std::string round_trip_problem(text_document& document, const edit_context& context,
                                      const std::string& path) {
  std::vector<byte_string> before = internal_lines(document);
  if (!write_text(document, path, context.pane.tab_size)) return "write failed";
  reload_current_line(document, context);
  text_document loaded;
  load_text_file(loaded, path, false, 0, 0, 0, 0, shift_jis, crlf);
  if (loaded.state == failed_state) return "load failed";
  if (internal_lines(loaded) != before) return "lines differ after writing and loading";
  if (loaded.size != document.size) return "size differs after writing and loading";
  return "";
}

// The names of the last dozen commands, for the message of a failed run.
class recent_commands {
 public:
  void add(const std::string& name) {
    names_.push_back(name);
    if (names_.size() > 12) names_.erase(names_.begin());
  }
  void clear() { names_.clear(); }
  std::string text() const {
    std::string out;
    for (const auto& name : names_) out += name + " ";
    return out;
  }

 private:
  std::vector<std::string> names_;
};

// Where the cursor and the view of `d` stand, for the message of a failed run.
inline std::string cursor_report(const text_document& d) {
  return "line " + std::to_string(d.current_line) + " top " + std::to_string(d.top_line) +
         " position " + std::to_string(d.position) + " column " + std::to_string(d.column) +
         " left " + std::to_string(d.left_column);
}

}  // namespace vintorel::testing
