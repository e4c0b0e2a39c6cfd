// Runs many random motion, editing and undo commands over random texts and
// checks after each one that the text and its cursor are still sound, that the
// display is only asked for cells of its pane, and that the text survives
// being written and loaded again.
#include "random_run.h"

namespace vintorel {
namespace {

// ASCII words, blanks, punctuation, TABs, double-byte characters of several
// classes, half-width katakana.
struct commands_run : testing::random_run {
  commands_run()
      : random_run(20240601, {"a", "Zq", "foo_1", " ", "  ", ",", ";", "\t", "9", "\x82\xA0", "\x82\xA2\x82\xA4",
                              "\x83\x41", "\x88\x9F", "\x81\x40", "\x81\x5B", "\xB1", "\x82\x60", "x\t", "AbC", "("}) {
    add_motions_and_edits();
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
