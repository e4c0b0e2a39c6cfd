// Runs many random motion, editing and undo commands over random texts and
// checks after each one that the text and its cursor are still sound, that the
// display is only asked for cells of its pane, and that the text survives
// being written and loaded again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "files/charset.h"
#include "files/load_text.h"
#include "files/write_text.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/undo.h"
#include "text_fixture.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::internal_lines;
using testing::make_text;
using testing::place_cursor;

// A display that notes every request for a cell or line outside the pane.
class bounds_display : public display_requests {
 public:
  std::string problem;
  text_document* document = nullptr;

  void paint_line(const pane_view&, text_document& text, std::int32_t line) override {
    if (line < text.top_line || line >= text.top_line + rows_ || line >= text.line_count())
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
  std::int32_t rows_ = 1;

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

struct random_run {
  std::mt19937 random;
  text_document document;
  bounds_display screen;
  deleted_char_buffer deleted{8};
  edit_context context;
  std::string directory;
  std::vector<std::pair<std::string, std::function<void()>>> commands;

  explicit random_run(unsigned seed) : random(seed) {
    context.display = &screen;
    context.deleted = &deleted;
    char pattern[] = "/tmp/vintorel-random-XXXXXX";
    if (mkdtemp(pattern)) directory = pattern;
    define_commands();
  }
  ~random_run() {
    std::error_code ignored;
    if (!directory.empty()) std::filesystem::remove_all(directory, ignored);
  }

  int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }
  bool coin() { return below(2) == 0; }

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
    make_text(document, lines);
    context.pane = {1 + below(3), below(3), 2 + below(7), 3 + below(28), 1 + below(8), coin()};
    screen.rows_ = context.pane.rows;
    context.overwrite_mode = below(4) == 0;
    std::int32_t line = below(count);
    document.commit_current_line();
    document.current_line = line;
    document.desired_column = below(3) == 0 ? -1 : below(30);
    ASSERT_TRUE(reload_current_line(document, context));
    document.top_line = std::max(0, line - context.pane.rows + 1);
    scroll_to_cursor(document, context, is_on_double_byte(document));
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

  // Saving and loading again must give the same lines.
  std::string round_trip() {
    std::vector<byte_string> before = internal_lines(document);
    std::string path = directory + "/text.txt";
    if (!write_text(document, path, context.pane.tab_size)) return "write failed";
    reload_current_line(document, context);
    text_document loaded;
    load_text_file(loaded, path, false, 0, 0, 0, 0, shift_jis, crlf);
    if (loaded.state == failed_state) return "load failed";
    std::vector<byte_string> after = internal_lines(loaded);
    if (after != before) return "lines differ after writing and loading";
    if (loaded.size != document.size) return "size differs after writing and loading";
    return "";
  }

  bool block_direction_sound() {
    if (document.block_state == 0) return true;
    if (document.current_line == document.anchor_line && document.block_state != 2) return false;
    bool before = document.current_line < document.anchor_line ||
                  (document.current_line == document.anchor_line &&
                   document.position < document.anchor_position);
    bool after = document.current_line > document.anchor_line ||
                 (document.current_line == document.anchor_line &&
                  document.position > document.anchor_position);
    return !(before && !document.block_backward) && !(after && document.block_backward);
  }
};

TEST(random_commands, keep_every_text_sound) {
  unsigned seed = 20240601;
  if (const char* given = std::getenv("VINTOREL_RANDOM_SEED")) seed = static_cast<unsigned>(std::atoi(given));
  // VINTOREL_RANDOM_TRACE=n prints every command run on text n.
  int trace = -1;
  if (const char* given = std::getenv("VINTOREL_RANDOM_TRACE")) trace = std::atoi(given);
  random_run run(seed);
  ASSERT_FALSE(run.directory.empty());
  const int texts = 200;
  const int per_text = 500;  // 100,000 commands in all
  std::vector<std::string> history;
  for (int t = 0; t < texts; ++t) {
    run.new_text();
    bool read_only = run.below(10) == 0;
    if (read_only) run.document.state = read_only_state;
    std::vector<byte_string> original = internal_lines(run.document);
    history.clear();
    for (int i = 0; i < per_text; ++i) {
      auto& [name, command] = run.commands[static_cast<std::size_t>(run.below(static_cast<int>(run.commands.size())))];
      history.push_back(name);
      if (history.size() > 12) history.erase(history.begin());
      command();
      if (trace == t)
        std::printf("%-22s line %d pos %d col %d left %d top %d |%s|\n", name.c_str(),
                    run.document.current_line, run.document.position, run.document.column,
                    run.document.left_column, run.document.top_line,
                    testing::text_with_cursor(run.document).c_str());
      std::string problem = check_text(run.document, run.context);
      if (problem.empty()) problem = run.screen.problem;
      if (problem.empty() && !run.block_direction_sound()) problem = "block direction wrong";
      if (problem.empty() && read_only && internal_lines(run.document) != original)
        problem = "a read-only text changed";
      if (!problem.empty()) {
        std::string recent;
        for (const auto& h : history) recent += h + " ";
        const text_document& d = run.document;
        FAIL() << problem << " [line " << d.current_line << " top " << d.top_line << " position "
               << d.position << " column " << d.column << " left " << d.left_column << " end "
               << d.end_column << " rows " << run.context.pane.rows << " columns "
               << run.context.pane.columns << " tab " << run.context.pane.tab_size << " text \""
               << (d.current ? d.current->text : std::string("-")) << "\"]"
               << " (seed " << seed << ", text " << t << ", command " << i
               << "; last commands: " << recent << ")";
      }
    }
    if (!read_only && t % 4 == 0) {
      std::string problem = run.round_trip();
      ASSERT_EQ(problem, "") << "seed " << seed << ", text " << t;
    }
  }
}

}  // namespace
}  // namespace vintorel
