// Tests of the keyboard logic: key slots, the escape prefix, typed bytes and
// the Shift labels.
#include "display/keyboard.h"

#include <gtest/gtest.h>

namespace vintorel {
namespace {

constexpr int vk_shift = 16, vk_control = 17, vk_escape = 27;

// Plays a key as the window delivers it: key down, then its typed bytes.
struct player {
  keyboard_state state;
  std::vector<int> slots;
  byte_string inserted;
  int bottom_redraws = 0;

  void take(const key_action& a) {
    if (a.slot >= 0) slots.push_back(a.slot);
    inserted += a.insert;
    if (a.redraw_bottom_line) ++bottom_redraws;
  }
  void key(int vk, const char* typed = "", bool shift = false, bool ctrl = false) {
    take(keyboard_key_down(state, vk, shift, ctrl));
    for (const char* p = typed; *p; ++p) take(keyboard_char(state, static_cast<unsigned char>(*p), shift, ctrl));
  }
};

TEST(keyboard, escape_then_letter_runs_the_escape_slot_and_shows_the_mark_in_between) {
  player p;
  p.key(vk_escape, "\x1b");
  EXPECT_TRUE(p.state.escape_pending);
  EXPECT_EQ(p.bottom_redraws, 1);
  p.take(keyboard_key_down(p.state, 'X', false, false));
  EXPECT_TRUE(p.state.escape_pending) << "a letter keeps the prefix for its character";
  p.take(keyboard_char(p.state, 'x', false, false));
  EXPECT_EQ(p.slots, std::vector<int>{47});
  EXPECT_TRUE(p.inserted.empty());
  EXPECT_FALSE(p.state.escape_pending);
  EXPECT_EQ(p.bottom_redraws, 2);

  player q;  // Esc, then Shift+Q: the capital picks the same family
  q.key(vk_escape, "\x1b");
  q.key(vk_shift, "", true);
  q.key('Q', "Q", true);
  EXPECT_EQ(q.slots, std::vector<int>{24 + 16});
}

TEST(keyboard, shift_escape_posts_its_slot_and_leaves_the_prefix_alone) {
  player p;
  p.key(vk_escape, "\x1b");
  p.key(vk_shift, "", true);
  p.key(vk_escape, "\x1b", true);
  EXPECT_EQ(p.slots, std::vector<int>{91});
  EXPECT_TRUE(p.state.escape_pending);
}

TEST(keyboard, modifiers_and_keys_above_127_with_a_pending_prefix) {
  player p;
  p.key(vk_escape, "\x1b");
  p.key(vk_control, "", false, true);
  p.key(20);  // Caps Lock
  EXPECT_TRUE(p.state.escape_pending);
  p.key(0xBA);  // a punctuation key: clears the prefix and nothing else
  EXPECT_FALSE(p.state.escape_pending);
  EXPECT_TRUE(p.slots.empty());
  // Esc, then Ctrl+X: the Ctrl slot, and its control character clears the prefix.
  player q;
  q.key(vk_escape, "\x1b");
  q.key('X', "\x18", false, true);
  EXPECT_EQ(q.slots, std::vector<int>{50 + 23});
  EXPECT_FALSE(q.state.escape_pending);
}

TEST(keyboard, ctrl_letters_ignore_shift_and_type_nothing) {
  for (int letter = 0; letter < 26; ++letter) {
    for (bool shift : {false, true}) {
      player p;
      char control_character[2] = {static_cast<char>(letter + 1), 0};
      p.key('A' + letter, control_character, shift, true);
      ASSERT_EQ(p.slots, std::vector<int>{50 + letter}) << letter << " shift " << shift;
      EXPECT_TRUE(p.inserted.empty());
    }
  }
}

TEST(keyboard, typed_bytes) {
  player p;
  p.key('A', "A", true);
  p.key(0, "~");
  EXPECT_EQ(p.inserted, "A~");
  player kana;  // half-width katakana typed directly
  kana.key(0, "\xB1");
  EXPECT_TRUE(kana.inserted.empty());
  player wide;  // a double-byte character from character messages is dropped whole
  wide.key(0, "\x82\xA0" "b");
  EXPECT_EQ(wide.inserted, "b");
  EXPECT_EQ(wide.state.pending_lead_byte, 0);
  player del;
  del.key(0, "\x7f");
  EXPECT_TRUE(del.inserted.empty());
}

TEST(keyboard, letters_typed_while_composing_pick_escape_slots) {
  player p;
  p.state.composing = true;
  p.key('K', "k");
  EXPECT_EQ(p.slots, std::vector<int>{24 + 10});
  EXPECT_TRUE(p.inserted.empty());
}

}  // namespace
}  // namespace vintorel
