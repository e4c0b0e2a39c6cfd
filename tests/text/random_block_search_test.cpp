// Runs many random commands of block selection, the string stack, the
// clipboard, search, replace and compare, mixed with motions and edits, over
// random texts, and checks after each one that the texts, their cursors and
// blocks and the string stack are still sound, that the display is only asked
// for cells of its pane, and that a text survives being written and loaded.
#include "platform/scripted_user_interface.h"
#include "random_run.h"
#include "text/clipboard.h"
#include "text/compare.h"
#include "text/replace.h"
#include "text/search.h"
#include "text/search_strings.h"
#include "text/string_stack.h"

namespace vintorel {
namespace {

using testing::check_text;
using testing::internal_lines;

struct block_search_run : testing::random_run {
  text_document other;
  std::vector<byte_string> other_lines;
  scripted_user_interface user;
  string_stack stack{4};
  search_strings strings;
  edit_context other_context;
  // How often the commands did something, so that the run is known to reach
  // past the early returns.
  int found = 0, replaced = 0, differences = 0, pushed = 0, popped = 0;

  block_search_run()
      : random_run(20240611, {"a", "int", "foo_1", " ", "  ", ",", "*", "\t", "9", "\\", "\x82\xA0", "\x83\x41",
                              "\x83\x61", "\x88\x9F", "\x81\x40", "\x95\x5C", "\xB1", "A", "aa"}) {
    context.ui = &user;
    context.stack = &stack;
    context.search = &strings;
    other_context = context;
    auto& d = document;
    auto& c = context;
    add_motions_and_edits();
    add_text_command("change_mode_block", 2);
    add("push_string", 4, [&] {
      std::size_t before = stack.size();
      user.confirm_answers = {coin()};     // when the stack is full
      user.clipboard_fails = below(8) == 0;  // now and then it cannot be opened
      push_string(d, c, coin());
      pushed += stack.size() != before;
    });
    add("pop_string", 3, [&] {
      std::int64_t before = d.size;
      pop_string(d, c, coin());
      popped += d.size != before;
    });
    add("delete_line", 1, [&] { delete_line(d, c, coin()); });
    add("delete_block", 1, [&] { delete_block(d, c); });
    add("insert_clipboard", 2, [&] {
      if (below(3) == 0) user.clipboard = random_clipboard();
      user.has_clipboard = below(8) != 0;
      user.clipboard_fails = false;
      insert_clipboard(d, c);
    });
    add("set_search_replace", 2, [&] { set_search_replace(d, c, random_search_string(), random_replacement()); });
    add_text_command("get_searchstring", 2);
    add("search", 6, [&] { found += coin() ? search_forward(d, c, coin()) : search_backward(d, c, coin()); });
    add("replace", 3, [&] { replaced += replace_at_cursor(d, c, coin()); });
    add("replace_all", 2, [&] {
      replaced += static_cast<int>(d.block_state != block_kind::none ? replace_in_block(d, c) : replace_all(d, c));
    });
    add("replace_forward_backward", 2,
        [&] { replaced += static_cast<int>(coin() ? replace_forward(d, c) : replace_backward(d, c)); });
    add("compare", 2, [&] { differences += !compare_texts(d, c, other, other_context); });
  }

  // A search string often taken from the text, so that it is found.
  byte_string random_search_string() {
    if (coin() && document.current) {
      const byte_string& line = document.current->text;
      return line.substr(static_cast<std::size_t>(below(static_cast<int>(line.size()))), 1 + below(4));
    }
    byte_string s = piece() + (below(4) == 0 ? piece() : "");
    return (below(6) == 0 ? "*" : "") + s + (below(6) == 0 ? "*" : "");
  }
  // Now and then empty, holding the search string, or with a line end that never goes in.
  byte_string random_replacement() {
    int kind = below(6);
    return kind == 0 ? "" : kind == 1 ? strings.search_string + piece() : kind == 2 ? "x\r\ny" : piece();
  }
  byte_string random_clipboard() {
    const byte_string ends[] = {"\r\n", "\n", "\r", "\x1A", byte_string(1, '\0')};
    byte_string text;
    for (int i = below(4); i >= 0; --i) text += random_line() + (coin() ? ends[below(5)] : "");
    return below(10) == 0 ? text + byte_string(1, '\0') + "tail" : text;
  }

  void new_texts() override {
    context.overwrite_mode = other_context.overwrite_mode = below(4) == 0;
    context.settings.ignore_case = other_context.settings.ignore_case = coin();
    context.settings.word_search = other_context.settings.word_search = coin();
    std::vector<byte_string> lines = random_lines();
    open_text(document, context, lines, 1);
    // The other text is often a copy with a change or two, so comparing runs far.
    if (below(3) == 0) lines = random_lines();
    if (coin()) lines[static_cast<std::size_t>(below(static_cast<int>(lines.size())))] += piece();
    if (coin()) lines.push_back(random_line());
    open_text(other, other_context, lines, 20);
    other_lines = internal_lines(other);
  }
  std::string problem() override {
    std::string found = random_run::problem();
    if (!found.empty()) return found;
    if (stack.size() > stack.limit) return "stack beyond its limit";
    for (const byte_string& entry : stack.entries) {
      if (entry.empty() || (entry[0] != 'C' && entry[0] != 'L')) return "stack entry without a type";
      if (entry.find('\x1A') != byte_string::npos) return "stack entry holds the end mark";
      if (entry[0] == 'L' && (entry.size() < 3 || !entry.ends_with("\r\n"))) return "line entry without its line end";
    }
    found = check_text(other, other_context);
    if (!found.empty()) return "other text: " + found;
    return internal_lines(other) != other_lines ? "compare changed the other text" : "";
  }
};

TEST(random_block_search_commands, keep_every_text_sound) {
  block_search_run run;
  run.run(250, 400, 8, 5);  // 100,000 commands in all
  EXPECT_GT(run.found, 1000);
  EXPECT_GT(run.replaced, 1000);
  EXPECT_GT(run.differences, 500);
  EXPECT_GT(run.pushed, 1000);
  EXPECT_GT(run.popped, 500);
}

}  // namespace
}  // namespace vintorel
