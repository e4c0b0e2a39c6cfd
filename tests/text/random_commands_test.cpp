// Runs many random motion, editing and undo commands over random texts and
// checks after each one that the text and its cursor are still sound, that the
// display is only asked for cells of its pane, and that the text survives
// being written and loaded again.
#include <gtest/gtest.h>

#include <functional>

#include "random_run.h"
#include "scratch_dir.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/undo.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::internal_lines;

struct random_run : testing::random_choices {
  text_document document;
  testing::pane_bounds_display screen;
  deleted_char_buffer deleted{8};
  edit_context context;
  test_support::scratch_dir scratch;
  std::vector<std::pair<std::string, std::function<void()>>> commands;

  explicit random_run(unsigned seed) : random_choices(seed) {
    context.display = &screen;
    context.deleted = &deleted;
    define_commands();
  }

  // A piece of text: ASCII words, blanks, punctuation, TABs, double-byte
  // characters of several classes, half-width katakana.
  byte_string piece() {
    static const char* const parts[] = {
        "a",    "Zq",   "foo_1", " ",    "  ",   ",",    ";",    "\t",   "9",
        "\x82\xA0", "\x82\xA2\x82\xA4", "\x83\x41", "\x88\x9F", "\x81\x40", "\x81\x5B",
        "\xB1", "\x82\x60", "x\t", "AbC", "(",
    };
    return parts[below(static_cast<int>(std::size(parts)))];
  }
  byte_string random_line() {
    byte_string line;
    int pieces = below(4) == 0 ? 0 : below(8);
    for (int i = 0; i < pieces; ++i) line += piece();
    if (below(40) == 0) line += "\x81\x40\x81\x40" + line;  // an indent of full-width spaces
    if (below(60) == 0) line += "\x81";                     // a stray lead byte at the end
    return line;
  }

  void new_text() {
    std::vector<byte_string> lines;
    int count = 1 + below(below(3) == 0 ? 40 : 8);
    for (int i = 0; i < count; ++i) lines.push_back(random_line());
    context.pane = random_pane(1 + below(3));
    context.overwrite_mode = below(4) == 0;
    open_text(document, context, lines);
  }

  void define_commands() {
    auto& d = document;
    auto& c = context;
    auto add = [&](const char* name, std::function<void()> f) { commands.emplace_back(name, f); };
    add("backward_char", [&] { backward_char(d, c, coin()); });
    add("forward_char", [&] { forward_char(d, c, coin()); });
    add("backward_word", [&] { backward_word(d, c); });
    add("forward_word", [&] { forward_word(d, c); });
    add("backward_page", [&] { backward_page(d, c); });
    add("forward_page", [&] { forward_page(d, c); });
    add("backward_head", [&] { backward_head(d, c, coin()); });
    add("forward_tail", [&] { forward_tail(d, c, coin()); });
    add("backward_line", [&] { backward_line(d, c, coin(), coin(), coin()); });
    add("forward_line", [&] { forward_line(d, c, coin(), coin(), coin()); });
    add("backward_line_screen", [&] { backward_line_screen(d, c); });
    add("forward_line_screen", [&] { forward_line_screen(d, c); });
    add("backward_line_page", [&] { backward_line_page(d, c); });
    add("forward_line_page", [&] { forward_line_page(d, c); });
    add("backward_line_head", [&] { backward_line_head(d, c, coin()); });
    add("forward_line_tail", [&] { forward_line_tail(d, c, coin()); });
    add("next_tab_stop", [&] { next_tab_stop(d, c); });
    add("go_to_position", [&] {
      go_to_position(d, c, below(d.line_count() + 3), below(5) - 1, below(4) == 0 ? -1 : below(d.line_count() + 3) - 1, coin());
    });
    add("mark", [&] { mark(d); });
    add("jump_mark", [&] { jump_mark(d, c); });
    add("jump_previousline", [&] { jump_previousline(d, c); });
    for (int i = 0; i < 4; ++i)
      add("insert_string", [&] { insert_string(d, c, piece(), coin(), below(4) != 0, below(4) == 0); });
    add("insert_linefeed", [&] { insert_linefeed(d, c, coin(), coin(), coin(), coin()); });
    add("insert_linefeed", [&] { insert_linefeed(d, c, true, true, false, true); });
    add("insert_line", [&] { insert_line(d, c, coin()); });
    add("delete_char", [&] { delete_char(d, c, coin(), coin(), coin()); });
    add("delete_char", [&] { delete_char(d, c, true, true, false); });
    add("delete_word", [&] { delete_word(d, c); });
    add("delete_tail", [&] { delete_tail(d, c, coin(), coin()); });
    add("backspace_char", [&] { backspace_char(d, c, coin(), coin()); });
    add("backspace_char", [&] { backspace_char(d, c, true, true); });
    add("backspace_word", [&] { backspace_word(d, c); });
    add("backspace_head", [&] { backspace_head(d, c, coin(), coin()); });
    add("change_wordcase", [&] { change_word_case(d, c); });
    add("change_mode_insert", [&] { c.overwrite_mode = !c.overwrite_mode; });
    add("undo_char", [&] { undo_char(d, c); });
    add("undo_char", [&] { undo_char(d, c); });
    add("undo_line", [&] { undo_line(d, c); });
    add("block", [&] {
      // As change_mode_block switches a character block on and off.
      if (d.block_state == 0) {
        d.anchor_line = d.current_line;
        d.anchor_position = d.position;
        d.block_state = 2;
        d.block_backward = false;
      } else {
        d.block_state = 0;
      }
    });
  }
};

TEST(random_commands, keep_every_text_sound) {
  unsigned seed = testing::random_seed(20240601);
  random_run run(seed);
  ASSERT_FALSE(run.scratch.dir().empty());
  const int texts = 200;
  const int per_text = 500;  // 100,000 commands in all
  testing::recent_commands history;
  for (int t = 0; t < texts; ++t) {
    run.new_text();
    bool read_only = run.below(10) == 0;
    if (read_only) run.document.state = read_only_state;
    std::vector<byte_string> original = internal_lines(run.document);
    history.clear();
    for (int i = 0; i < per_text; ++i) {
      auto& [name, command] = run.commands[static_cast<std::size_t>(run.below(static_cast<int>(run.commands.size())))];
      history.add(name);
      command();
      std::string problem = check_text(run.document, run.context);
      if (problem.empty()) problem = run.screen.problem;
      if (problem.empty()) problem = testing::block_problem(run.document);
      if (problem.empty() && read_only && internal_lines(run.document) != original)
        problem = "a read-only text changed";
      if (!problem.empty()) {
        const text_document& d = run.document;
        FAIL() << problem << " [" << testing::cursor_report(d) << " end " << d.end_column
               << " rows " << run.context.pane.rows << " columns " << run.context.pane.columns
               << " tab " << run.context.pane.tab_size << " text \""
               << (d.current ? d.current->text : std::string("-")) << "\"]"
               << " (seed " << seed << ", text " << t << ", command " << i
               << "; last commands: " << history.text() << ")";
      }
    }
    if (!read_only && t % 4 == 0) {
      std::string problem = testing::round_trip_problem(run.document, run.context, run.scratch / "text.txt");
      ASSERT_EQ(problem, "") << "seed " << seed << ", text " << t;
    }
  }
}

}  // namespace
}  // namespace vintorel
