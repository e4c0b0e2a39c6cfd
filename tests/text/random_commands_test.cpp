// Runs many random motion, editing and undo commands over random texts and
// checks after each one that the text and its cursor are still sound, that the
// display is only asked for cells of its pane, and that the text survives
// being written and loaded again.
#include "random_run.h"
#include "text/editing.h"
#include "text/motion.h"
#include "text/undo.h"

namespace vintorel {
namespace {

// ASCII words, blanks, punctuation, TABs, double-byte characters of several
// classes, half-width katakana.
struct commands_run : testing::random_run {
  commands_run()
      : random_run(20240601, {"a", "Zq", "foo_1", " ", "  ", ",", ";", "\t", "9", "\x82\xA0", "\x82\xA2\x82\xA4",
                              "\x83\x41", "\x88\x9F", "\x81\x40", "\x81\x5B", "\xB1", "\x82\x60", "x\t", "AbC", "("}) {
    auto& d = document;
    auto& c = context;
    add("backward_char", 1, [&] { backward_char(d, c, coin()); });
    add("forward_char", 1, [&] { forward_char(d, c, coin()); });
    add("backward_word", 1, [&] { backward_word(d, c); });
    add("forward_word", 1, [&] { forward_word(d, c); });
    add("backward_page", 1, [&] { backward_page(d, c); });
    add("forward_page", 1, [&] { forward_page(d, c); });
    add("backward_head", 1, [&] { backward_head(d, c, coin()); });
    add("forward_tail", 1, [&] { forward_tail(d, c, coin()); });
    add("backward_line", 1, [&] { backward_line(d, c, coin(), coin(), coin()); });
    add("forward_line", 1, [&] { forward_line(d, c, coin(), coin(), coin()); });
    add("backward_line_screen", 1, [&] { backward_line_screen(d, c); });
    add("forward_line_screen", 1, [&] { forward_line_screen(d, c); });
    add("backward_line_page", 1, [&] { backward_line_page(d, c); });
    add("forward_line_page", 1, [&] { forward_line_page(d, c); });
    add("backward_line_head", 1, [&] { backward_line_head(d, c, coin()); });
    add("forward_line_tail", 1, [&] { forward_line_tail(d, c, coin()); });
    add("next_tab_stop", 1, [&] { next_tab_stop(d, c); });
    add("go_to_position", 1, [&] {
      go_to_position(d, c, below(d.line_count() + 3), below(5) - 1,
                     below(4) == 0 ? -1 : below(d.line_count() + 3) - 1, coin());
    });
    add("mark", 1, [&] { mark(d); });
    add("jump_mark", 1, [&] { jump_mark(d, c); });
    add("jump_previousline", 1, [&] { jump_previousline(d, c); });
    add("insert_string", 4, [&] { insert_string(d, c, piece(), coin(), below(4) != 0, below(4) == 0); });
    add("insert_linefeed", 2, [&] { insert_linefeed(d, c, coin(), coin(), coin(), coin()); });
    add("insert_line", 1, [&] { insert_line(d, c, coin()); });
    add("delete_char", 2, [&] { delete_char(d, c, coin(), coin(), coin()); });
    add("delete_word", 1, [&] { delete_word(d, c); });
    add("delete_tail", 1, [&] { delete_tail(d, c, coin(), coin()); });
    add("backspace_char", 2, [&] { backspace_char(d, c, coin(), coin()); });
    add("backspace_word", 1, [&] { backspace_word(d, c); });
    add("backspace_head", 1, [&] { backspace_head(d, c, coin(), coin()); });
    add("change_wordcase", 1, [&] { change_word_case(d, c); });
    add("change_mode_insert", 1, [&] { c.overwrite_mode = !c.overwrite_mode; });
    add("undo_char", 2, [&] { undo_char(d, c); });
    add("undo_line", 1, [&] { undo_line(d, c); });
    add("block", 1, [&] {  // as change_mode_block switches a character block on and off
      d.block_state = d.block_state == 0 ? 2 : 0;
      d.anchor_line = d.current_line;
      d.anchor_position = d.position;
      d.block_backward = false;
    });
  }
  void new_texts() override {
    context.overwrite_mode = below(4) == 0;
    open_text(document, context, random_lines(), 1 + below(3));
  }
};

TEST(random_commands, keep_every_text_sound) {
  commands_run().run(200, 500, 10, 4);  // 100,000 commands in all
}

}  // namespace
}  // namespace vintorel
