// Runs many random commands of block selection, the string stack, the
// clipboard, search, replace and compare, mixed with motions and edits, over
// random texts, and checks after each one that the texts, their cursors and
// blocks and the string stack are still sound, that the display is only asked
// for cells of its pane, and that a text survives being written and loaded.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "random_run.h"
#include "scratch_dir.h"
#include "text/block.h"
#include "text/clipboard.h"
#include "text/compare.h"
#include "text/deleted_chars.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/replace.h"
#include "text/search.h"
#include "text/search_strings.h"
#include "text/string_stack.h"
#include "text/undo.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::internal_lines;

// A user who answers at random and whose clipboard holds random text.
class random_user : public user_interface {
 public:
  std::mt19937* random = nullptr;
  byte_string clipboard;
  bool has_clipboard = false;

  bool confirm(int, int) override { return (*random)() % 2 == 0; }
  bool get_clipboard_text(byte_string& text) override {
    if (!has_clipboard) return false;
    text = clipboard;
    return true;
  }
  bool set_clipboard_text(const byte_string& text) override {
    if ((*random)() % 8 == 0) return false;  // now and then it cannot be opened
    clipboard = text;
    has_clipboard = true;
    return true;
  }
};

struct block_search_run : testing::random_choices {
  text_document document, other;
  testing::pane_bounds_display screen;
  random_user user;
  deleted_char_buffer deleted{8};
  string_stack stack{4};
  search_strings strings;
  edit_context context, other_context;
  test_support::scratch_dir scratch;
  std::vector<std::pair<std::string, std::function<void()>>> commands;
  // How often the commands did something, so that the run is known to reach
  // past the early returns.
  int found = 0, replaced = 0, differences = 0, pushed = 0, popped = 0;

  explicit block_search_run(unsigned seed) : random_choices(seed) {
    user.random = &random;
    for (edit_context* c : {&context, &other_context}) {
      c->display = &screen;
      c->ui = &user;
      c->deleted = &deleted;
      c->stack = &stack;
      c->search = &strings;
    }
    define_commands();
  }

  byte_string piece() {
    static const char* const parts[] = {
        "a",    "int",  "foo_1", " ",    "  ",   ",",    "*",    "\t",   "9",  "\\",
        "\x82\xA0", "\x83\x41", "\x83\x61", "\x88\x9F", "\x81\x40", "\x95\x5C", "\xB1", "A", "aa",
    };
    return parts[below(static_cast<int>(std::size(parts)))];
  }
  byte_string random_line() {
    byte_string line;
    int pieces = below(5) == 0 ? 0 : below(7);
    for (int i = 0; i < pieces; ++i) line += piece();
    if (below(60) == 0) line += "\x81";  // a stray lead byte at the end
    return line;
  }
  std::vector<byte_string> random_lines() {
    std::vector<byte_string> lines;
    int count = 1 + below(below(3) == 0 ? 30 : 8);
    for (int i = 0; i < count; ++i) lines.push_back(random_line());
    return lines;
  }
  void new_texts() {
    context.pane = random_pane(1);
    other_context.pane = random_pane(20);
    context.overwrite_mode = other_context.overwrite_mode = below(4) == 0;
    context.settings.ignore_case = other_context.settings.ignore_case = coin();
    context.settings.word_search = other_context.settings.word_search = coin();
    std::vector<byte_string> lines = random_lines();
    open_text(document, context, lines);
    // The other text is often a copy with a change or two, so comparing runs far.
    if (below(3) != 0) {
      if (coin()) lines[static_cast<std::size_t>(below(static_cast<int>(lines.size())))] += piece();
      if (coin()) lines.push_back(random_line());
    } else {
      lines = random_lines();
    }
    open_text(other, other_context, lines);
  }
  // A search string often taken from the text, so that it is found.
  byte_string random_search_string() {
    if (coin() && document.current) {
      const byte_string& line = document.current->text;
      std::size_t from = static_cast<std::size_t>(below(static_cast<int>(line.size())));
      return line.substr(from, 1 + static_cast<std::size_t>(below(4)));
    }
    byte_string s = piece();
    if (below(4) == 0) s += piece();
    if (below(6) == 0) s = "*" + s;
    if (below(6) == 0) s += "*";
    return s;
  }
  byte_string random_replacement() {
    switch (below(6)) {
      case 0: return "";
      case 1: return strings.search_string + piece();  // holds the search string
      case 2: return "x\r\ny";                          // never goes in
      default: return piece();
    }
  }
  byte_string random_clipboard() {
    static const char* const ends[] = {"\r\n", "\n", "\r", "\x1A", byte_string(1, '\0').c_str()};
    byte_string text;
    for (int i = below(4); i >= 0; --i) {
      text += random_line();
      if (coin()) text += ends[below(4)];
    }
    if (below(10) == 0) text += byte_string(1, '\0') + "tail";
    return text;
  }

  void define_commands() {
    auto& d = document;
    auto& c = context;
    auto add = [&](const char* name, int weight, std::function<void()> f) {
      for (int i = 0; i < weight; ++i) commands.emplace_back(name, f);
    };
    add("backward_char", 2, [&] { backward_char(d, c, coin()); });
    add("forward_char", 2, [&] { forward_char(d, c, coin()); });
    add("forward_word", 1, [&] { forward_word(d, c); });
    add("backward_line", 2, [&] { backward_line(d, c, coin(), true, false); });
    add("forward_line", 2, [&] { forward_line(d, c, coin(), true, false); });
    add("forward_line_page", 1, [&] { forward_line_page(d, c); });
    add("backward_line_head", 1, [&] { backward_line_head(d, c, true); });
    add("forward_line_tail", 1, [&] { forward_line_tail(d, c, true); });
    add("forward_tail", 1, [&] { forward_tail(d, c, true); });
    add("go_to_position", 1, [&] {
      go_to_position(d, c, below(d.line_count() + 2), below(20), -1, coin());
    });
    add("insert_string", 3, [&] { insert_string(d, c, piece(), true, true, false); });
    add("insert_linefeed", 1, [&] { insert_linefeed(d, c, true, true, false, true); });
    add("delete_char", 1, [&] { delete_char(d, c, true, true, false); });
    add("backspace_char", 1, [&] { backspace_char(d, c, true, true); });
    add("undo_char", 1, [&] { undo_char(d, c); });
    add("change_mode_block", 4, [&] { toggle_block(d, c); });
    add("push_string", 2, [&] {
      std::size_t before = stack.size();
      push_string(d, c, false);
      if (stack.size() != before) ++pushed;
    });
    add("push_delete_string", 2, [&] {
      std::size_t before = stack.size();
      push_string(d, c, true);
      if (stack.size() != before) ++pushed;
    });
    add("pop_string", 2, [&] {
      std::int64_t before = d.size;
      pop_string(d, c, false);
      if (d.size != before) ++popped;
    });
    add("pop_delete_string", 1, [&] { pop_string(d, c, true); });
    add("delete_line", 1, [&] { delete_line(d, c, coin()); });
    add("delete_block", 1, [&] { delete_block(d, c); });
    add("insert_clipboard", 2, [&] {
      if (below(3) == 0) {
        user.clipboard = random_clipboard();
        user.has_clipboard = below(8) != 0;
      }
      insert_clipboard(d, c);
    });
    add("set_search_replace", 2, [&] {
      set_search_replace(d, c, random_search_string(), random_replacement());
    });
    add("get_searchstring", 2, [&] { get_search_string(d, c); });
    add("insert_searchstring", 1, [&] { insert_search_string(d, c); });
    add("search_forward", 3, [&] { found += search_forward(d, c, coin()); });
    add("search_backward", 3, [&] { found += search_backward(d, c, coin()); });
    add("replace", 3, [&] { replaced += replace_at_cursor(d, c, coin()); });
    add("replace_all", 2, [&] {
      if (d.block_state != 0)
        replaced += static_cast<int>(replace_in_block(d, c));
      else
        replaced += static_cast<int>(replace_all(d, c));
    });
    add("replace_forward", 1, [&] { replaced += static_cast<int>(replace_forward(d, c)); });
    add("replace_backward", 1, [&] { replaced += static_cast<int>(replace_backward(d, c)); });
    add("compare", 2, [&] { differences += !compare_texts(d, c, other, other_context); });
  }

  std::string stack_problem() {
    if (stack.size() > stack.limit) return "stack beyond its limit";
    for (const byte_string& entry : stack.entries) {
      if (entry.empty() || (entry[0] != 'C' && entry[0] != 'L')) return "stack entry without a type";
      if (entry.find('\x1A') != byte_string::npos) return "stack entry holds the end mark";
      if (entry[0] == 'L' && (entry.size() < 3 || entry.compare(entry.size() - 2, 2, "\r\n") != 0))
        return "line entry without its line end";
    }
    return "";
  }
};

TEST(random_block_search_commands, keep_every_text_sound) {
  unsigned seed = testing::random_seed(20240611);
  block_search_run run(seed);
  ASSERT_FALSE(run.scratch.dir().empty());
  const int texts = 250;
  const int per_text = 400;  // 100,000 commands in all
  testing::recent_commands history;
  for (int t = 0; t < texts; ++t) {
    run.new_texts();
    bool read_only = run.below(8) == 0;
    if (read_only) run.document.state = read_only_state;
    std::vector<byte_string> original = internal_lines(run.document);
    std::vector<byte_string> other_original = internal_lines(run.other);
    history.clear();
    for (int i = 0; i < per_text; ++i) {
      auto& [name, command] = run.commands[static_cast<std::size_t>(
          run.below(static_cast<int>(run.commands.size())))];
      history.add(name);
      command();
      std::string problem = check_text(run.document, run.context);
      if (problem.empty()) problem = run.screen.problem;
      if (problem.empty()) problem = testing::block_problem(run.document);
      if (problem.empty()) problem = run.stack_problem();
      if (problem.empty() && !check_text(run.other, run.other_context).empty())
        problem = "other text: " + check_text(run.other, run.other_context);
      if (problem.empty() && internal_lines(run.other) != other_original)
        problem = "compare changed the other text";
      if (problem.empty() && read_only && internal_lines(run.document) != original)
        problem = "a read-only text changed";
      if (!problem.empty()) {
        const text_document& d = run.document;
        FAIL() << problem << " [" << testing::cursor_report(d) << " block "
               << d.block_state << " anchor " << d.anchor_line << "," << d.anchor_position
               << " search \"" << run.strings.search_string << "\" replace \""
               << run.strings.replace_string << "\" text \""
               << (d.current ? d.current->text : std::string("-")) << "\"] (seed " << seed
               << ", text " << t << ", command " << i << "; last commands: " << history.text() << ")";
      }
    }
    if (!read_only && t % 5 == 0) {
      std::string problem =
          testing::round_trip_problem(run.document, run.context, run.scratch / "text.txt");
      ASSERT_EQ(problem, "") << "seed " << seed << ", text " << t;
    }
  }
  EXPECT_GT(run.found, 1000);
  EXPECT_GT(run.replaced, 1000);
  EXPECT_GT(run.differences, 500);
  EXPECT_GT(run.pushed, 1000);
  EXPECT_GT(run.popped, 500);
  std::printf("found %d, replaced %d, differences %d, pushed %d, popped %d\n", run.found,
              run.replaced, run.differences, run.pushed, run.popped);
}

}  // namespace
}  // namespace vintorel
