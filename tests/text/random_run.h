// What the random command tests share: choices drawn from one seeded generator,
// a display that notes requests outside their pane, and the loop that runs the
// commands and checks the text, its block and its view after each one.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <random>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/write_text.h"
#include "scratch_dir.h"
#include "text/block.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/text_commands.h"
#include "text_fixture.h"

namespace vintorel::testing {

// Notes a request for a cell, line or row outside the pane it names.
class pane_bounds_display : public display_requests {
 public:
  std::string problem;

  void paint_line(const pane_view& pane, text_document& text, std::int32_t line) override {
    check(line >= text.top_line && line < text.top_line + pane.rows && line < text.line_count());
  }
  void erase_cursor(const pane_view& p, std::int32_t row, std::int32_t column) override { check(in(p, row, column)); }
  void draw_cursor(const pane_view& p, std::int32_t row, std::int32_t column) override { check(in(p, row, column)); }
  void clear_row(const pane_view& p, std::int32_t row) override { check(in(p, row, p.first_column)); }

 private:
  static bool in(const pane_view& p, std::int32_t row, std::int32_t column) {
    return row >= p.first_row && row < p.first_row + p.rows && column >= p.first_column &&
           column < p.first_column + p.columns;
  }
  void check(bool inside) {
    if (!inside) problem = "a request outside the pane";
  }
};

// Texts made of random pieces, commands drawn by weight. The seed comes from
// VINTOREL_RANDOM_SEED when it is set, so that a failed run can be repeated.
struct random_run {
  unsigned seed;
  std::mt19937 random;
  std::vector<const char*> parts;
  text_document document;
  pane_bounds_display screen;
  deleted_char_buffer deleted{8};
  edit_context context;
  test_support::scratch_dir scratch;
  std::vector<std::pair<std::string, std::function<void()>>> commands;

  random_run(unsigned fallback_seed, std::vector<const char*> pieces)
      : seed(std::getenv("VINTOREL_RANDOM_SEED") ? std::atoi(std::getenv("VINTOREL_RANDOM_SEED")) : fallback_seed),
        random(seed), parts(std::move(pieces)) {
    context.display = &screen;
    context.deleted = &deleted;
  }

  int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
  bool coin() { return below(2) == 0; }
  void add(const char* name, int weight, std::function<void()> f) {
    for (int i = 0; i < weight; ++i) commands.emplace_back(name, f);
  }
  byte_string piece() { return parts[static_cast<std::size_t>(below(static_cast<int>(parts.size())))]; }
  byte_string random_line() {
    byte_string line;
    for (int i = below(4) == 0 ? 0 : below(8); i > 0; --i) line += piece();
    if (below(40) == 0) line = "\x81\x40\x81\x40" + line;  // an indent of full-width spaces
    if (below(60) == 0) line += "\x81";                    // a stray lead byte at the end
    return line;
  }
  std::vector<byte_string> random_lines() {
    std::vector<byte_string> lines(static_cast<std::size_t>(1 + below(below(3) == 0 ? 40 : 8)));
    for (auto& line : lines) line = random_line();
    return lines;
  }
  // Makes `text` of `lines` in a pane of 2 to 8 rows and 3 to 30 columns with a
  // tab size of 1 to 8, the cursor on a random line at a random desired column.
  void open_text(text_document& text, edit_context& c, const std::vector<byte_string>& lines, std::int32_t row) {
    c.pane = {row, below(3), 2 + below(7), 3 + below(28), 1 + below(8), coin()};
    make_text(text, lines);
    text.current_line = below(static_cast<int>(lines.size()));
    text.desired_column = below(3) == 0 ? -1 : below(30);
    ASSERT_TRUE(reload_current_line(text, c));
    text.top_line = std::max(0, text.current_line - c.pane.visible_rows() + 1);
    scroll_to_cursor(text, c, is_on_double_byte(text));
  }

  // A command of the text model's table, run `weight` more times in a hundred.
  void add_text_command(const char* name, int weight) {
    const text_command* command = find_text_command(name);
    ASSERT_NE(command, nullptr) << name;
    add(name, weight, [this, run = command->run] { run(document, context, piece()); });
  }

  // Every command of the text model as dispatch runs it, and the operations
  // under the motions and edits with their flags drawn at random.
  void add_motions_and_edits() {
    auto& d = document;
    auto& c = context;
    for (const text_command& command : text_commands()) {
      std::string_view name = command.name;
      add_text_command(command.name, name == "insert_string" || name == "undo_char" || name == "delete_char" ? 2 : 1);
    }
    add("backward_char flags", 1, [&] { backward_char(d, c, coin()); });
    add("forward_char flags", 1, [&] { forward_char(d, c, coin()); });
    add("backward_head flags", 1, [&] { backward_head(d, c, coin()); });
    add("forward_tail flags", 1, [&] { forward_tail(d, c, coin()); });
    add("backward_line flags", 1, [&] { backward_line(d, c, coin(), coin(), coin()); });
    add("forward_line flags", 1, [&] { forward_line(d, c, coin(), coin(), coin()); });
    add("backward_line_head flags", 1, [&] { backward_line_head(d, c, coin()); });
    add("forward_line_tail flags", 1, [&] { forward_line_tail(d, c, coin()); });
    add("next_tab_stop", 1, [&] { next_tab_stop(d, c); });
    add("go_to_position", 1,
        [&] { go_to_position(d, c, below(d.line_count() + 3), below(5) - 1, below(d.line_count() + 3) - 1, coin()); });
    add("insert_string flags", 4, [&] { insert_string(d, c, piece(), coin(), below(4) != 0, below(4) == 0); });
    add("insert_linefeed flags", 2, [&] { insert_linefeed(d, c, coin(), coin(), coin(), coin()); });
    add("insert_line flags", 1, [&] { insert_line(d, c, coin()); });
    add("delete_char flags", 2, [&] { delete_char(d, c, coin(), coin(), coin()); });
    add("delete_tail flags", 1, [&] { delete_tail(d, c, coin(), coin()); });
    add("backspace_char flags", 2, [&] { backspace_char(d, c, coin(), coin()); });
    add("backspace_head flags", 1, [&] { backspace_head(d, c, coin(), coin()); });
    add("change_mode_insert", 1, [&] { c.overwrite_mode = !c.overwrite_mode; });
  }

  virtual void new_texts() = 0;
  // What is wrong with the text, the requests made of the display, or the
  // block's anchor and direction; empty when all is well.
  virtual std::string problem() {
    const text_document& d = document;
    std::string found = check_text(document, context);
    if (!found.empty() || !screen.problem.empty() || d.block_state == block_kind::none) return found.empty() ? screen.problem : found;
    if (d.current_line == d.anchor_line && d.block_state != block_kind::characters) return "line block on the anchor line";
    if (d.anchor_line < 0 || d.anchor_line >= d.line_count()) return "anchor beyond the text";
    bool before = d.current_line < d.anchor_line || (d.current_line == d.anchor_line && d.position < d.anchor_position);
    bool after = d.current_line > d.anchor_line || (d.current_line == d.anchor_line && d.position > d.anchor_position);
    return (before && !d.block_backward) || (after && d.block_backward) ? "block direction wrong" : "";
  }

  // Runs `texts` texts of `per_text` commands each; one text in
  // `read_only_one_in` is read-only and must never change, and every
  // `round_trip_every`th text must survive being written and loaded again.
  void run(int texts, int per_text, int read_only_one_in, int round_trip_every) {
    ASSERT_FALSE(scratch.dir().empty());
    for (int t = 0; t < texts; ++t) {
      new_texts();
      bool read_only = below(read_only_one_in) == 0;
      if (read_only) document.state = read_only_state;
      std::vector<byte_string> original = internal_lines(document);
      std::string history;
      for (int i = 0; i < per_text; ++i) {
        auto& [name, command] = commands[static_cast<std::size_t>(below(static_cast<int>(commands.size())))];
        history = (history.size() > 300 ? history.substr(history.size() - 300) : history) + " " + name;
        command();
        std::string found = problem();
        if (found.empty() && read_only && internal_lines(document) != original) found = "a read-only text changed";
        ASSERT_EQ(found, "") << "text \"" << (document.current ? document.current->text : "-") << "\" (seed " << seed
                             << ", text " << t << ", command " << i << "; last commands:" << history << ")";
      }
      if (read_only || t % round_trip_every != 0) continue;
      std::string path = scratch / "text.txt";
      original = internal_lines(document);
      ASSERT_TRUE(write_text(document, path, context.pane.tab_size));
      reload_current_line(document, context);
      text_document loaded;
      load_text_file(loaded, path, false, 0, 0, 0, 0, shift_jis, crlf);
      ASSERT_NE(loaded.state, failed_state);
      EXPECT_EQ(internal_lines(loaded), original) << "seed " << seed << ", text " << t;
      EXPECT_EQ(loaded.size, document.size) << "seed " << seed << ", text " << t;
    }
  }
};

}  // namespace vintorel::testing
